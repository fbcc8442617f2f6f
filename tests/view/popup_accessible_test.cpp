#include "view/popup_accessible.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/harness.h"

namespace {

using namespace mw;

PopupAccessible* g_object = nullptr;
WNDPROC g_recording = nullptr;
std::vector<std::pair<DWORD, LONG>> g_events; // event, child id

LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        if (const LRESULT answer = AnswerGetObject(g_object, wParam, lParam))
            return answer;
    }
    return CallWindowProcW(g_recording, window, message, wParam, lParam);
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        g_events.emplace_back(event, child);
}

VARIANT Child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A popup of three rows, the second selected, read back through Active Accessibility the way a
// screen reader in the process reads it.
TEST(PopupAccessible, ScreenReadersReadTheEntriesAndHearTheSelectionMove) {
    CoInitialize(nullptr);
    HWND popup = test::CreateTestWindow(L"popup", WS_POPUP | WS_VISIBLE, 0, nullptr, 200, 150, 300, 200);
    ASSERT_TRUE(popup);
    g_recording = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnsweringProc)));

    ItemList windows, commands;
    LauncherList launchers;
    for (const wchar_t* title : {L"メモ帳", L"beta - Editor"}) {
        ListItem item;
        item.name = title;
        AppendListItem(windows, item);
    }
    ListItem cancel;
    cancel.name = L"Cancel";
    AppendListItem(commands, cancel);
    SelectionState state;
    state.windowCount = 2;
    state.commandCount = 1;
    state.index = 1;
    Design design;
    g_object = CreatePopupAccessible(
        DescribePopupList(popup, L"Mistlewick", state, design, false, windows, launchers, commands));
    ASSERT_TRUE(g_object);

    IAccessible* list = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(popup, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&list)),
              S_OK);
    long count = 0;
    EXPECT_EQ(list->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    VARIANT role;
    list->get_accRole(Child(CHILDID_SELF), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LIST);
    const wchar_t* names[] = {L"メモ帳", L"beta - Editor", L"Cancel"};
    for (long id = 1; id <= 3; ++id) {
        BSTR name = nullptr;
        ASSERT_EQ(list->get_accName(Child(id), &name), S_OK);
        EXPECT_STREQ(name, names[id - 1]);
        SysFreeString(name);
        list->get_accRole(Child(id), &role);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
        VARIANT flags;
        list->get_accState(Child(id), &flags);
        const long selected = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        EXPECT_EQ(flags.lVal & selected, id == 2 ? selected : 0) << id;
    }
    RECT row{};
    GetEntryRect(state, design, false, SectionWindows, 1, &row);
    long x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(list->accLocation(&x, &y, &w, &h, Child(2)), S_OK);
    POINT client{0, 0};
    ClientToScreen(popup, &client);
    EXPECT_EQ(x, client.x + row.left);
    EXPECT_EQ(y, client.y + row.top);
    EXPECT_EQ(h, row.bottom - row.top);
    VARIANT hit;
    EXPECT_EQ(list->accHitTest(x + 1, y + 1, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 2);

    // The selection moves to the cancel entry: the state says so and the events name it.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, OnWinEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    g_events.clear();
    state.section = SectionCommands;
    state.index = 0;
    UpdatePopupAccessible(g_object, DescribePopupList(popup, L"Mistlewick", state, design, false, windows,
                                                      launchers, commands));
    NotifyEntrySelected(popup, SelectedEntryIndex(state));
    EXPECT_TRUE(test::WaitFor([] { return g_events.size() >= 2; }));
    const std::vector<std::pair<DWORD, LONG>> expected = {{EVENT_OBJECT_FOCUS, 3},
                                                          {EVENT_OBJECT_SELECTION, 3}};
    EXPECT_EQ(g_events, expected);
    VARIANT focus;
    EXPECT_EQ(list->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 3);
    UnhookWinEvent(hook);

    // Closed: a reader still holding the object is told it is gone.
    DisconnectPopupAccessible(g_object);
    EXPECT_EQ(list->get_accChildCount(&count), RPC_E_DISCONNECTED);
    list->Release();
    ReleasePopupAccessible(g_object);
    g_object = nullptr;
    DestroyWindow(popup);
    CoUninitialize();
}

} // namespace

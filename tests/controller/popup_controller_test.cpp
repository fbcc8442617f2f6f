// The popup's state machine in-process: a real main window of the program's class in the test
// process, the window section filled from the test's own windows, messages dispatched for real.
#include "controller/popup_controller.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <vector>

#include "controller/application.h"
#include "controller/main_window.h"
#include "hook/hook.h"
#include "model/list_building.h"
#include "model/program_state.h"
#include "support/harness.h"
#include "support/icon_probe.h"
#include "view/design.h"
#include "view/theme.h"

namespace {

using namespace mw;

constexpr WPARAM kNext = static_cast<WPARAM>(static_cast<WORD>(-120)) << 16;
constexpr WPARAM kPrevious = static_cast<WPARAM>(120) << 16;

// The windows the next open lists, in this order.
std::vector<HWND>& Listed() {
    static std::vector<HWND> windows;
    return windows;
}

void ListTestWindows(ItemList& list, int) {
    for (HWND w : Listed()) {
        ListItem item;
        wchar_t title[260] = {};
        GetWindowTextW(w, title, 260);
        InitListItem(item, title, nullptr, w, KindWindow);
        item.order = list.count;
        item.showState = IsZoomed(w) ? StateMaximized : IsIconic(w) ? StateMinimized : StateNormal;
        AppendListItem(list, item);
    }
}

class PopupController : public ::testing::Test {
  protected:
    void SetUp() override {
        Listed().clear();
        ProgramState& p = app_.program;
        p.instance = GetModuleHandleW(nullptr);
        p.launcherList = CreateLauncherList();
        p.commandList = CreateItemList();
        p.savedWindowList = CreateItemList();
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = MainWindowProc;
            wc.hInstance = p.instance;
            wc.lpszClassName = L"MistlewickTestMain";
            RegisterClassExW(&wc);
            registered = true;
        }
        main_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"MistlewickTestMain", L"Mistlewick",
                                WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, p.instance, &app_);
        p.mainWindow = main_;
        app_.controller.windowSource = ListTestWindows;
    }
    void TearDown() override {
        ResetController(app_);
        // Destroying the main window posts a quit message; take it out of the queue again.
        DestroyWindow(main_);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        for (HWND w : windows_)
            DestroyWindow(w);
    }

    HWND AddWindow(const wchar_t* title) {
        HWND w = test::CreateTestWindow(title, WS_POPUP | WS_VISIBLE, 0, nullptr,
                                        50 + 10 * int(windows_.size()), 50, 200, 100);
        windows_.push_back(w);
        Listed().push_back(w);
        return w;
    }
    void AddLauncher(const wchar_t* name) {
        LauncherEntry e;
        InitListItem(e, name, nullptr, nullptr, KindLauncher);
        SetLauncherFields(e, nullptr, L"C:\\nothing-here.exe", nullptr, nullptr, 0);
        AppendLauncherEntry(*app_.program.launcherList, e);
    }
    void BuildCommands() {
        BuildCommandList(*app_.program.commandList, app_.program.preferences, app_.program.flags.LauncherOnly,
                         app_.program.design.iconSize, app_.program.instance);
    }
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        SendMessageW(main_, message, wParam, lParam);
        test::PumpFor(0);
    }
    const SelectionState& Sel() { return app_.controller.popup->selection; }

    Application app_; // a fresh application object for each test, handed to its main window
    HWND main_ = nullptr;
    std::vector<HWND> windows_;
};

TEST(PopupModes, StayOpenAndFramePreviewForEveryCombination) {
    Preferences p;
    for (int replace : {0, 1, 2, 5}) {
        for (int click : {0, 1}) {
            for (int altab7 : {0, 1}) {
                p.ReplaceAltTab = replace;
                p.ClickMode = click;
                p.Altab7 = altab7;
                EXPECT_EQ(StayOpenMode(false, p), click == 1);
                EXPECT_EQ(StayOpenMode(true, p), replace == 1);
                EXPECT_EQ(FramePreviewHolds(false, p), altab7 == 1 && click == 0);
                EXPECT_EQ(FramePreviewHolds(true, p), altab7 == 1 && replace == 2)
                    << "an Alt+Tab popup in standard mode previews even with the mouse's click mode on";
            }
        }
    }
}

TEST(PopupGeometry, CentringEdgesAndKeepingTheSelectionOnTheMonitor) {
    POINT at = CentreIn({0, 0, 1920, 1080}, {260, 233});
    EXPECT_EQ(at.x, 830);
    EXPECT_EQ(at.y, 424); // 540 - 116
    at = CentreIn({-1280, -200, 0, 824}, {101, 51});
    EXPECT_EQ(at.x, -1280 + 640 - 50);
    EXPECT_EQ(at.y, -200 + 512 - 25);

    int top = 0;
    // The selected row's bottom below the monitor: the window moves up so it sits on the edge.
    EXPECT_TRUE(KeepSelectionOnMonitor(100, 1000, 1040, 0, 1080, &top));
    EXPECT_EQ(top, 40);
    EXPECT_EQ(100 + 0 + (top - 100) + 1040, 1080);
    // Above the top: moved down.
    EXPECT_TRUE(KeepSelectionOnMonitor(-500, 100, 140, 0, 1080, &top));
    EXPECT_EQ(top, -100);
    EXPECT_FALSE(KeepSelectionOnMonitor(0, 100, 140, 0, 1080, &top));
    // A row taller than the monitor is top-aligned and stays there on the next paint, whether the
    // window starts above or below (it used to jump between both edges).
    for (int start : {-3000, 0, 500}) {
        ASSERT_TRUE(KeepSelectionOnMonitor(start, 200, 1400, 0, 1080, &top));
        EXPECT_EQ(top, -200);
        EXPECT_FALSE(KeepSelectionOnMonitor(top, 200, 1400, 0, 1080, &top));
    }
    // Exactly as tall as the monitor fits as before.
    EXPECT_TRUE(KeepSelectionOnMonitor(0, 200, 1280, 0, 1080, &top));
    EXPECT_EQ(top, -200);
    EXPECT_FALSE(KeepSelectionOnMonitor(-200, 200, 1280, 0, 1080, &top));

    const RECT monitor{0, 0, 1920, 1080};
    EXPECT_EQ(EdgeTimerFor(1041, monitor, 4, 32), kTimerStepForward);
    EXPECT_EQ(EdgeTimerFor(1040, monitor, 4, 32), 0u);
    EXPECT_EQ(EdgeTimerFor(39, monitor, 4, 32), kTimerStepBack);
    EXPECT_EQ(EdgeTimerFor(40, monitor, 4, 32), 0u);
    // The popup's own monitor left of the primary, 1024 high, at 144 DPI (is 6, ic 48).
    const RECT left{-1280, 0, 0, 1024};
    EXPECT_EQ(EdgeTimerFor(965, left, 6, 48), kTimerStepForward);
    EXPECT_EQ(EdgeTimerFor(964, left, 6, 48), 0u);
    EXPECT_EQ(EdgeTimerFor(59, left, 6, 48), kTimerStepBack);
}

TEST(PopupKeys, TheKeyTable) {
    EXPECT_EQ(KeyActionFor(VK_TAB, false), KeyAction::Next);
    EXPECT_EQ(KeyActionFor(VK_TAB, true), KeyAction::Previous);
    EXPECT_EQ(KeyActionFor(VK_LEFT, false), KeyAction::Previous);
    EXPECT_EQ(KeyActionFor(VK_UP, true), KeyAction::Previous);
    EXPECT_EQ(KeyActionFor(VK_RIGHT, false), KeyAction::Next);
    EXPECT_EQ(KeyActionFor(VK_DOWN, false), KeyAction::Next);
    EXPECT_EQ(KeyActionFor(VK_RETURN, false), KeyAction::Choose);
    EXPECT_EQ(KeyActionFor(VK_SPACE, false), KeyAction::Choose);
    EXPECT_EQ(KeyActionFor(VK_ESCAPE, false), KeyAction::Cancel);
    EXPECT_EQ(KeyActionFor('A', false), KeyAction::None);
}

HRESULT WINAPI MonitorOf144Dpi(HMONITOR, int, UINT* x, UINT* y) {
    *x = *y = 144;
    return S_OK;
}

// Wine gives every monitor the system's DPI, so a monitor of 144 DPI is reached through the seam.
// The popup opening there is laid out afresh: every size one and a half times, and the command
// icons, loaded for 96 DPI, taken again at 48 pixels; back at 96 DPI they return to 32.
TEST_F(PopupController, APopupOnAMonitorOfAnotherDpiIsLaidOutForIt) {
    app_.program.design.textWidth = 200; // a fixed column: the width depends on the design alone
    AddWindow(L"scaled one");
    AddWindow(L"scaled two");
    BuildCommands();
    auto sizeOfOpenPopup = [&] {
        Send(kMsgOpenPopup);
        RECT r{};
        GetWindowRect(main_, &r);
        Send(kMsgCancel);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE at96 = sizeOfOpenPopup();
    EXPECT_EQ(at96.cx, 260); // 2·12 + 32 + 4 + 200

    app_.program.services.dpi.getDpiForMonitor = MonitorOf144Dpi;
    const SIZE at144 = sizeOfOpenPopup();
    EXPECT_EQ(at144.cx, 390);
    EXPECT_NEAR(at144.cy, at96.cy * 3 / 2, 2);
    ASSERT_GT(app_.program.commandList->count, 0);
    for (int i = 0; i < app_.program.commandList->count; ++i)
        EXPECT_EQ(test::IconBitmapSize(app_.program.commandList->slots[i].icon.get()).width, 48) << i;
    EXPECT_EQ(app_.program.listIconSize, 48);

    app_.program.services.dpi = LookUpSystemDpiApi(app_.program.shcore);
    EXPECT_EQ(sizeOfOpenPopup().cx, 260);
    EXPECT_EQ(test::IconBitmapSize(app_.program.commandList->slots[0].icon.get()).width, 32);
    app_.program.listIconSize = 0;
}

TEST_F(PopupController, OneWindowOpensOnlyWithTheDesktopEntry) {
    AddWindow(L"only one");
    app_.program.preferences.ToggleDesktop = 0;
    BuildCommands();
    Send(kMsgOpenPopup);
    EXPECT_FALSE(PopupIsOpen(app_));
    EXPECT_FALSE(IsWindowVisible(main_));

    app_.program.preferences.ToggleDesktop = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    ASSERT_TRUE(PopupIsOpen(app_));
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(Sel().windowCount, 1);
    EXPECT_EQ(Sel().commandCount, 2);
    EXPECT_EQ(Sel().section, SectionWindows);
    Send(kMsgOpenPopup); // a second open while open builds nothing new
    EXPECT_EQ(Sel().windowCount, 1);
    Send(kMsgCancel);
    EXPECT_FALSE(PopupIsOpen(app_));
    EXPECT_FALSE(IsWindowVisible(main_));
}

TEST_F(PopupController, LauncherOnlyListsNoWindowsAndSelectsTheFirstLauncherEntry) {
    AddWindow(L"not listed");
    AddLauncher(L"first");
    AddLauncher(L"second");
    app_.program.flags.LauncherOnly = true;
    app_.program.preferences.CloseWnd = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    ASSERT_TRUE(PopupIsOpen(app_));
    EXPECT_EQ(Sel().windowCount, 0);
    EXPECT_EQ(Sel().launcherCount, 2);
    EXPECT_EQ(Sel().commandCount, 2) << "no close entry in launcher-only mode";
    EXPECT_EQ(Sel().section, SectionLauncher);
    EXPECT_EQ(Sel().index, 0);
}

TEST_F(PopupController, WheelWrapsBothWaysAndClickModeIgnoresTheWheel) {
    AddWindow(L"w0");
    AddWindow(L"w1");
    AddLauncher(L"l0");
    BuildCommands(); // desktop, cancel
    Send(kMsgOpenPopup);
    ASSERT_TRUE(PopupIsOpen(app_));
    Send(kMsgMoveSelection, kPrevious);
    EXPECT_EQ(Sel().section, SectionCommands);
    EXPECT_EQ(Sel().index, 1) << "back from the first window: the last command";
    Send(kMsgMoveSelection, kNext);
    EXPECT_EQ(Sel().section, SectionWindows);
    EXPECT_EQ(Sel().index, 0) << "on from the last command: the first window";
    Send(kMsgMoveSelection, 0); // a zero delta moves nothing
    EXPECT_EQ(Sel().index, 0);
    Send(kMsgCancel);

    // Resident click mode: the cursor selects, not the wheel.
    app_.program.preferences.ClickMode = 1;
    Send(kMsgOpenPopup);
    Send(kMsgMoveSelection, kNext);
    EXPECT_EQ(Sel().index, 0);
    // ... but a popup from the Alt+Tab replacement does move.
    Send(kMsgCancel);
    Send(kMsgOpenPopup, 0, 1);
    Send(kMsgMoveSelection, kNext);
    EXPECT_EQ(Sel().index, 1);
    Send(kMsgCancel);
}

TEST_F(PopupController, LosingActivationCancelsOnlyInStayOpenMode) {
    AddWindow(L"a");
    AddWindow(L"b");
    BuildCommands();
    Send(kMsgOpenPopup);
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_TRUE(PopupIsOpen(app_)) << "gesture mode ignores the loss of activation";
    Send(kMsgCancel);

    app_.program.preferences.ClickMode = 1;
    Send(kMsgOpenPopup);
    ASSERT_TRUE(PopupIsOpen(app_));
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_TRUE(test::WaitFor([this] { return !PopupIsOpen(app_); }, 1000));
}

TEST_F(PopupController, KeysActOnlyInStayOpenMode) {
    AddWindow(L"a");
    AddWindow(L"b");
    BuildCommands();
    Send(kMsgOpenPopup);
    Send(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Sel().index, 0) << "gesture mode leaves the keys to the hook";
    Send(kMsgCancel);

    app_.program.preferences.ReplaceAltTab = 1;
    Send(kMsgOpenPopup, 0, 1);
    Send(WM_KEYDOWN, VK_DOWN);
    Send(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(Sel().section, SectionCommands);
    EXPECT_EQ(Sel().index, 0);
    Send(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(Sel().section, SectionWindows);
    EXPECT_EQ(Sel().index, 1);
    Send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(test::WaitFor([this] { return !PopupIsOpen(app_); }, 1000));
}

TEST_F(PopupController, DesktopToggleSavesAndRestoresInOrder) {
    HWND a = AddWindow(L"normal");
    HWND b = AddWindow(L"maximised");
    HWND c = AddWindow(L"already minimised");
    ShowWindow(b, SW_MAXIMIZE);
    ShowWindow(c, SW_MINIMIZE);
    ASSERT_TRUE(test::WaitFor([&] { return IsZoomed(b) && IsIconic(c); }, 3000));
    BuildCommands();
    auto chooseDesktop = [&] {
        Send(kMsgOpenPopup);
        Send(kMsgMoveSelection, kPrevious);
        Send(kMsgMoveSelection, kPrevious);
        ASSERT_EQ(Sel().section, SectionCommands);
        ASSERT_EQ(Sel().index, 0);
        Send(kMsgChoose);
    };
    chooseDesktop();
    ASSERT_TRUE(test::WaitFor([&] { return IsIconic(a) && IsIconic(b) && IsIconic(c); }, 3000));
    const ItemList& saved = *app_.program.savedWindowList;
    ASSERT_EQ(saved.count, 3);
    EXPECT_EQ(saved.slots[1].window, b);
    EXPECT_EQ(saved.slots[1].showState, StateMaximized);
    EXPECT_EQ(saved.slots[2].showState, StateMinimized);
    EXPECT_TRUE(saved.slots[0].name.empty());

    chooseDesktop();
    EXPECT_TRUE(test::WaitFor([&] { return !IsIconic(a) && IsZoomed(b); }, 3000));
    EXPECT_TRUE(IsIconic(c)) << "a window that was minimised before stays minimised";
    EXPECT_EQ(GetForegroundWindow(), a) << "order 0 comes to the front last";

    // One restored by hand: the next use minimises again and replaces the records.
    ShowWindow(c, SW_RESTORE);
    chooseDesktop();
    EXPECT_TRUE(test::WaitFor([&] { return IsIconic(a) && IsIconic(b) && IsIconic(c); }, 3000));
    EXPECT_EQ(app_.program.savedWindowList->slots[2].showState, StateNormal);
}

TEST_F(PopupController, CloseEntryClosesTheActiveWindowButNotOneThatIsGone) {
    HWND a = AddWindow(L"to be closed");
    HWND b = AddWindow(L"other");
    app_.program.preferences.CloseWnd = 1;
    app_.program.preferences.ToggleDesktop = 0;
    BuildCommands(); // close, cancel
    SetForegroundWindow(a);
    SetActiveWindow(a);
    ASSERT_TRUE(test::WaitFor([&] { return GetForegroundWindow() == a; }, 2000));
    Send(kMsgOpenPopup);
    ASSERT_EQ(app_.controller.popup->closeTarget, a);
    EXPECT_EQ(app_.program.commandList->slots[0].name, L"「to be closed」を閉じる");
    Send(kMsgMoveSelection, kPrevious);
    Send(kMsgMoveSelection, kPrevious);
    ASSERT_EQ(Sel().section, SectionCommands);
    ASSERT_EQ(Sel().index, 0);
    Send(kMsgChoose);
    // The test window's default handling of WM_CLOSE destroys it.
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(a); }, 3000));
    windows_.erase(windows_.begin());

    // The target closed by itself meanwhile: nothing is sent, nothing breaks.
    SetForegroundWindow(b);
    SetActiveWindow(b);
    test::WaitFor([&] { return GetForegroundWindow() == b; }, 2000);
    Listed() = {b};
    Send(kMsgOpenPopup);
    ASSERT_EQ(app_.controller.popup->closeTarget, b);
    DestroyWindow(b);
    windows_.erase(windows_.begin());
    Send(kMsgMoveSelection, kPrevious);
    Send(kMsgMoveSelection, kPrevious);
    Send(kMsgChoose);
    EXPECT_FALSE(PopupIsOpen(app_));
}

TEST_F(PopupController, AListTallerThanTheScreenFollowsTheSelectionAndIgnoresTheMouseMeanwhile) {
    app_.program.design.iconSize = 96; // 104-pixel rows: 12 windows are taller than 1080 pixels
    for (int i = 0; i < 12; ++i)
        AddWindow(L"tall");
    BuildCommands();
    Send(kMsgOpenPopup);
    ASSERT_TRUE(PopupIsOpen(app_));
    RECT before{};
    GetWindowRect(main_, &before);
    for (int i = 0; i < 11; ++i)
        Send(kMsgMoveSelection, kNext);
    UpdateWindow(main_);
    test::PumpFor(50);
    RECT after{}, row{};
    GetWindowRect(main_, &after);
    ASSERT_TRUE(GetCursorRect(Sel(), app_.program.design, true, &row));
    EXPECT_LT(after.top, before.top);
    EXPECT_EQ(after.top + row.bottom, 1080) << "the selected row's bottom sits on the monitor's bottom";
    EXPECT_TRUE(app_.controller.popup->repositionGuard);
    // Click mode would select under the cursor; while the guard holds a move does nothing.
    app_.program.preferences.ClickMode = 1;
    const SelectionState held = Sel();
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(50, row.top - 50));
    EXPECT_EQ(Sel().index, held.index);
    EXPECT_TRUE(test::WaitFor([this] { return !app_.controller.popup->repositionGuard; }, 2000))
        << "timer 3 ends the guard";
}

// Typed letters narrow only a popup that stays open, and only with TypeToFilter on; the tilt sets
// the scope by direction, with its line above the list (one monitor here: nobody leaves).
TEST_F(PopupController, TypingNarrowsAStayOpenPopupAndTheTiltSetsTheScope) {
    AddWindow(L"alpha");
    AddWindow(L"beta");
    AddLauncher(L"Bee launcher");
    AddLauncher(L"Other");
    BuildCommands();
    const struct {
        int click, typeToFilter, windows, launchers;
    } cases[] = {{0, 1, 2, 2}, {1, 0, 2, 2}, {1, 1, 1, 1}};
    for (const auto& c : cases) {
        app_.program.preferences.ClickMode = c.click;
        app_.program.preferences.TypeToFilter = c.typeToFilter;
        Send(kMsgOpenPopup);
        ASSERT_TRUE(PopupIsOpen(app_));
        Send(WM_CHAR, L'b');
        Send(WM_CHAR, L'E');
        EXPECT_EQ(Sel().windowCount, c.windows) << c.click << c.typeToFilter;
        EXPECT_EQ(Sel().launcherCount, c.launchers) << c.click << c.typeToFilter;
        EXPECT_EQ(Sel().headerHeight > 0, c.windows == 1) << c.click << c.typeToFilter;
        Send(WM_KEYDOWN, VK_SPACE); // after a typed word it separates words, else it chooses
        EXPECT_EQ(PopupIsOpen(app_), !c.click || c.typeToFilter) << c.click << c.typeToFilter;
        Send(kMsgCancel);
    }

    // MonitorScope=1 opens narrowed; the tilt as WM_MOUSEHWHEEL, as it reaches a popup that stays
    // open, sets the scope by direction and keeps the selected window.
    app_.program.preferences.MonitorScope = 1;
    Send(kMsgOpenPopup);
    EXPECT_GT(Sel().headerHeight, 0);
    Send(WM_KEYDOWN, VK_DOWN);
    for (short delta : {-120, -120, 120}) {
        Send(WM_MOUSEHWHEEL, static_cast<WPARAM>(static_cast<WORD>(delta)) << 16);
        EXPECT_EQ(Sel().headerHeight > 0, delta > 0) << delta;
        EXPECT_EQ(Sel().index, 1) << "the selection stays on the same window";
    }
    Send(kMsgCancel);
}

// A window that answers WM_CLOSE with a question of its own (save?) and stays meanwhile.
WNDPROC g_recordingProc = nullptr;
LRESULT CALLBACK AsksBeforeClosing(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return msg == WM_CLOSE ? 0 : CallWindowProcW(g_recordingProc, hwnd, msg, wp, lp);
}

TEST_F(PopupController, MiddleButtonOverAStayOpenPopupTakesTheEntryOutOnceItsWindowIsGone) {
    HWND first = AddWindow(L"first");
    HWND asks = AddWindow(L"asks to save");
    HWND third = AddWindow(L"third");
    g_recordingProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(asks, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AsksBeforeClosing)));
    app_.program.preferences.ClickMode = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    const int height = app_.controller.popup->surface.height;
    auto middleUpOn = [&](int section, int index) {
        RECT r{};
        GetEntryRect(Sel(), app_.controller.popup->design, true, section, index, &r);
        Send(WM_MBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    };
    middleUpOn(SectionCommands, 0); // a command entry: nothing happens
    middleUpOn(SectionWindows, 1);
    test::PumpFor(300);
    EXPECT_EQ(app_.controller.popup->list.count, 3) << "listed while the window still asks";
    DestroyWindow(asks); // the user said yes
    ASSERT_TRUE(test::WaitFor([&] { return app_.controller.popup->list.count == 2; }, 2000));
    EXPECT_EQ(app_.controller.popup->list.slots[1].window, third);
    EXPECT_LT(app_.controller.popup->surface.height, height);
    EXPECT_TRUE(IsWindowVisible(main_)) << "the popup stays";
    app_.program.preferences.MiddleClose = 0;
    middleUpOn(SectionWindows, 0);
    test::PumpFor(300);
    EXPECT_TRUE(IsWindow(first)) << "MiddleClose off: the middle button does nothing";
}

// A window closed while a filter narrows the list is gone from the full list too: taking the
// filter back does not list it again.
TEST_F(PopupController, AWindowClosedFromANarrowedListStaysGoneWhenTheFilterIsTakenBack) {
    AddWindow(L"alpha");
    AddWindow(L"beta");
    app_.program.preferences.ClickMode = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    Send(WM_CHAR, L'b');
    ASSERT_EQ(Sel().windowCount, 1);
    RECT r{};
    GetEntryRect(Sel(), app_.controller.popup->design, true, SectionWindows, 0, &r);
    Send(WM_MBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    ASSERT_TRUE(test::WaitFor([&] { return app_.controller.popup->list.count == 0; }, 2000));
    EXPECT_TRUE(PopupIsOpen(app_)) << "the filter is shown with the command entries";
    Send(WM_CHAR, VK_BACK);
    ASSERT_EQ(app_.controller.popup->list.count, 1);
    EXPECT_STREQ(app_.controller.popup->list.slots[0].name.c_str(), L"alpha");
    Send(kMsgCancel);
}

TEST_F(PopupController, MiddleClickInTheFramePreviewShowsTheNextWindowAndTheLastWindowClosesThePopup) {
    HWND a = AddWindow(L"a");
    AddWindow(L"b");
    HWND c = AddWindow(L"c");
    app_.program.preferences.Altab7 = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    Send(kMsgMoveSelection, kNext);
    Send(kMsgMiddleClick);
    ASSERT_TRUE(test::WaitFor([&] { return app_.controller.popup->list.count == 2; }, 2000));
    EXPECT_FALSE(IsIconic(c)) << "the window now selected is shown in place of the closed one";
    EXPECT_TRUE(IsIconic(a));
    Send(kMsgCancel);

    Listed() = {c}; // with only command entries left, the popup has nothing to offer
    app_.program.preferences.Altab7 = 0;
    Send(kMsgOpenPopup);
    Send(kMsgMiddleClick);
    EXPECT_TRUE(test::WaitFor([&] { return !PopupIsOpen(app_); }, 2000));
}

// The popup that stays open goes when another window of the program takes the activation (the
// options dialog sends no WM_ACTIVATEAPP): its counts would point at entries the dialog changes.
TEST_F(PopupController, AStayOpenPopupIsCancelledByAnActivationAwayFromIt) {
    AddWindow(L"a");
    app_.program.preferences.ClickMode = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    ASSERT_TRUE(PopupIsOpen(app_));
    Send(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(windows_[0]));
    EXPECT_TRUE(test::WaitFor([this] { return !PopupIsOpen(app_); }, 1000));
}

// A popup opening on a monitor of another DPI keeps the close entry's label of the last opening.
TEST_F(PopupController, TheCloseEntryKeepsItsLabelWhenTheIconsAreReloaded) {
    app_.program.preferences.CloseWnd = 1;
    BuildCommands();
    SetCloseEntryLabels(*app_.program.commandList, L"「kept」を閉じる");
    PrepareListIcons(app_, 48);
    const ItemList& commands = *app_.program.commandList;
    int close = 0;
    while (close < commands.count && commands.slots[close].kind != KindCloseWindow)
        ++close;
    ASSERT_LT(close, commands.count);
    EXPECT_EQ(commands.slots[close].name, L"「kept」を閉じる");
    app_.program.listIconSize = 0;
}

// The popup shrinks and moves when a middle click took an entry out: the mouse move that the move
// causes must not select the row that now lies under the resting cursor.
TEST_F(PopupController, TheMoveAfterAMiddleClickRemovalSelectsNothing) {
    AddWindow(L"first");
    HWND second = AddWindow(L"second");
    AddWindow(L"third");
    app_.program.preferences.ClickMode = 1;
    BuildCommands();
    Send(kMsgOpenPopup);
    RECT r{};
    GetEntryRect(Sel(), app_.controller.popup->design, true, SectionWindows, 1, &r);
    Send(WM_MBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    ASSERT_TRUE(test::WaitFor([&] { return app_.controller.popup->list.count == 2; }, 2000));
    EXPECT_FALSE(IsWindow(second));
    const SelectionState before = Sel();
    const int other = before.section == SectionWindows && before.index == 0 ? 1 : 0;
    GetEntryRect(Sel(), app_.controller.popup->design, true, SectionWindows, other, &r);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(Sel().section, before.section);
    EXPECT_EQ(Sel().index, before.index);
    Send(kMsgCancel);
}

// The focus events of the test's own process, as a screen reader's out-of-context hook gets them.
std::vector<LONG> g_focused;
void CALLBACK RecordFocus(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        g_focused.push_back(child);
}

TEST_F(PopupController, ScreenReadersReadTheEntriesAndHearTheSelectionMoveWithTheWheel) {
    AddWindow(L"alpha");
    AddWindow(L"beta");
    g_focused.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, RecordFocus,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    Send(kMsgOpenPopup);
    EXPECT_TRUE(test::WaitFor([] { return !g_focused.empty() && g_focused.back() == 1; }, 2000));
    IAccessible* list = nullptr;
    ASSERT_EQ(
        AccessibleObjectFromWindow(main_, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&list)),
        S_OK);
    VARIANT child{}, answer{};
    child.vt = VT_I4;
    long count = 0;
    EXPECT_TRUE(list->get_accChildCount(&count) == S_OK && count == 2);
    BSTR name = nullptr;
    child.lVal = 2;
    EXPECT_EQ(list->get_accName(child, &name), S_OK);
    EXPECT_STREQ(name, L"beta");
    SysFreeString(name);
    Send(kMsgMoveSelection, kNext);
    EXPECT_TRUE(test::WaitFor([] { return g_focused.back() == 2; }, 2000)) << "the wheel moves the focus";
    list->get_accState(child, &answer);
    EXPECT_TRUE(answer.lVal & STATE_SYSTEM_SELECTED);
    Send(kMsgCancel);
    list->Release();
    UnhookWinEvent(hook);
}

COLORREF HighContrastColor(int index) {
    return index == COLOR_WINDOW ? RGB(0, 0, 0x40) : RGB(0xFF, 0xFF, 0);
}

TEST_F(PopupController, ThePopupFollowsTheDarkThemeOfThePrefixAndHighContrast) {
    AddWindow(L"alpha");
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    const DWORD dark = 0, light = 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, key, L"AppsUseLightTheme", REG_DWORD, &dark, sizeof dark);
    for (bool highContrast : {false, true}) { // Wine cannot turn high contrast on: through the readers
        app_.controller.themeReaders.highContrast = highContrast ? +[] { return true; } : nullptr;
        app_.controller.themeReaders.sysColor = HighContrastColor;
        Send(kMsgOpenPopup);
        // Inside the frame, in the margin left of the rows.
        EXPECT_EQ(GetPixel(app_.controller.popup->surface.dc(), 5, 5),
                  highContrast ? HighContrastColor(COLOR_WINDOW) : DarkColors::background);
        Send(kMsgCancel);
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, key, L"AppsUseLightTheme", REG_DWORD, &light, sizeof light);
}

} // namespace

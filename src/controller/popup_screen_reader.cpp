#include "controller/popup_screen_reader.h"

#include <string>

#include "controller/application.h"
#include "view/popup_accessible.h"

namespace mw {

namespace {

// The list's name: the program's, with the header line while the list is narrowed.
std::wstring ListName(HWND hwnd, const std::wstring& header) {
    wchar_t title[128] = {};
    GetWindowTextW(hwnd, title, 128);
    std::wstring name = title;
    if (!header.empty())
        name += (name.empty() ? L"" : L": ") + header;
    return name;
}

} // namespace

void TellScreenReaders(Application& app, HWND hwnd, bool always) {
    PopupSession* session = app.controller.popup ? &*app.controller.popup : nullptr;
    if (!session)
        return;
    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const ProgramState& program = app.program;
    AccessibleListState state = DescribePopupList(
        hwnd, ListName(hwnd, session->header), session->selection, session->design,
        program.preferences.ToggleDesktop != 0, session->list,
        ListedLaunchers(session->narrowing, program.launcherList ? *program.launcherList : emptyLaunchers),
        program.commandList ? *program.commandList : emptyCommands);
    const int selected = state.selected;
    if (session->accessible) {
        UpdatePopupAccessible(session->accessible.get(), std::move(state));
    } else {
        session->accessible.reset(CreatePopupAccessible(std::move(state)));
    }
    // Only a visible popup has a place a screen reader can go to.
    if (selected >= 0 && IsWindowVisible(hwnd) && (always || selected != session->toldSelection))
        NotifyEntrySelected(hwnd, selected);
    session->toldSelection = selected;
}

LRESULT OnGetObject(Application& app, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    PopupSession* session = app.controller.popup ? &*app.controller.popup : nullptr;
    if (session && session->accessible) {
        if (const LRESULT answer = AnswerGetObject(session->accessible.get(), wParam, lParam))
            return answer;
    }
    return DefWindowProcW(hwnd, WM_GETOBJECT, wParam, lParam);
}

} // namespace mw

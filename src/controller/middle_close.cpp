#include "controller/middle_close.h"

#include <windowsx.h>

#include <algorithm>

#include "controller/frame_preview.h"
#include "controller/popup_narrowing.h"
#include "controller/thumbnails.h"
#include "model/list_building.h"
#include "model/narrowing.h"
#include "platform/log.h"
#include "platform/resources_lang.h"
#include "resource.h"
#include "view/frame_window.h"
#include "view/icon_window.h"
#include "view/render.h"

namespace mw {

namespace {

bool MiddleCloseApplies(const ControllerState& c, const Preferences& prefs, bool stayOpen) {
    return c.popup && prefs.MiddleClose != 0 && StayOpenMode(c.popup->altTabOpened, prefs) == stayOpen;
}

} // namespace

bool WindowHasLeft(HWND window, bool previewHides) {
    if (!IsWindow(window))
        return true;
    return !previewHides && !IsWindowVisible(window);
}

void CloseWindowEntry(HWND popup, ControllerState& c, int index) {
    if (!c.popup || index < 0 || index >= c.popup->list.count)
        return;
    HWND window = c.popup->list.slots[index].window;
    const bool watched =
        std::find(c.popup->closing.begin(), c.popup->closing.end(), window) != c.popup->closing.end();
    // Asked before and showing its own question now (its window is disabled meanwhile): asking
    // again would only stack a second question on the first.
    if (watched && !IsWindowEnabled(window))
        return;
    if (!AskWindowToClose(window))
        return;
    Log(L"middle click: window entry %d asked to close", index);
    if (!watched)
        c.popup->closing.push_back(window);
    SetTimer(popup, kTimerCloseCheck, kCloseCheckMilliseconds, nullptr);
}

void RemoveWindowEntry(Application& app, HWND popup, int index) {
    ControllerState& c = app.controller;
    const ProgramState& program = app.program;
    if (!c.popup || index < 0 || index >= c.popup->list.count)
        return;
    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const LauncherList& allLaunchers = program.launcherList ? *program.launcherList : emptyLaunchers;
    const ItemList& commands = program.commandList ? *program.commandList : emptyCommands;
    const bool desktopRow = program.preferences.ToggleDesktop != 0;
    // A narrowed list may show nothing but the command entries; the popup has something to offer
    // as long as the full list does.
    if (!PopupHasSomethingToShow(AllWindows(c.popup->narrowing, c.popup->list).count - 1, allLaunchers.count,
                                 desktopRow)) {
        // Only command entries would be left, and such a popup never opens.
        Log(L"middle click: the last window went; the popup closes");
        OnCancel(app, popup);
        return;
    }
    const bool selectedWent =
        c.popup->selection.section == SectionWindows && c.popup->selection.index == index;
    ForgetNarrowedWindow(c.popup->narrowing, c.popup->list.slots[index].window);
    RemoveListItem(c.popup->list, index);
    c.popup->selection = SelectionAfterRemoval(c.popup->selection, index, CancelEntryIndex(commands));
    Present(app, popup, ListChange::Removed, -1, selectedWent);
}

LRESULT OnMiddleClick(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    if (!MiddleCloseApplies(c, app.program.preferences, false))
        return 0;
    if (c.popup->selection.section == SectionWindows)
        CloseWindowEntry(hwnd, c, c.popup->selection.index);
    return 0;
}

LRESULT OnMiddleButtonUp(Application& app, HWND hwnd, LPARAM clientPoint) {
    ControllerState& c = app.controller;
    if (!MiddleCloseApplies(c, app.program.preferences, true))
        return 0;
    int section = 0, index = 0;
    const POINT point = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    if (HitTest(c.popup->selection, c.popup->design, app.program.preferences.ToggleDesktop != 0, point,
                &section, &index) &&
        section == SectionWindows) {
        CloseWindowEntry(hwnd, c, index);
    }
    return 0;
}

bool OnCloseCheckTimer(Application& app, HWND hwnd, WPARAM id) {
    if (id != kTimerCloseCheck)
        return false;
    ControllerState& c = app.controller;
    const ProgramState& program = app.program;
    const Preferences& prefs = program.preferences;
    const bool previewHides =
        c.popup && FramePreviewHolds(c.popup->altTabOpened, prefs) && prefs.Altab7_Hide != 0;
    for (size_t i = 0; c.popup && i < c.popup->closing.size();) {
        HWND window = c.popup->closing[i];
        if (!WindowHasLeft(window, previewHides)) {
            ++i;
            continue;
        }
        c.popup->closing.erase(c.popup->closing.begin() + static_cast<std::ptrdiff_t>(i));
        bool listed = false;
        // A removal may close the popup (its last window went).
        for (int entry = 0; !listed && entry < c.popup->list.count; ++entry) {
            if (c.popup->list.slots[entry].window == window) {
                RemoveWindowEntry(app, hwnd, entry);
                listed = true;
            }
        }
        // Narrowed out of sight since it was asked to close: gone from the full list all the same.
        if (!listed)
            ForgetNarrowedWindow(c.popup->narrowing, window);
    }
    if (!c.popup || c.popup->closing.empty())
        KillTimer(hwnd, kTimerCloseCheck);
    return true;
}

} // namespace mw

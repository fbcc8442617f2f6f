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
    return c.popupList && prefs.MiddleClose != 0 && StayOpenMode(c.altTabOpened, prefs) == stayOpen;
}

} // namespace

SelectionState SelectionAfterRemoval(const SelectionState& state, int removed, int cancelIndex) {
    SelectionState s = state;
    if (removed < 0 || removed >= s.windowCount)
        return s;
    --s.windowCount;
    if (s.section != SectionWindows)
        return s;
    if (removed < s.index)
        --s.index;
    if (s.index < s.windowCount)
        return s;
    if (s.windowCount > 0) {
        s.index = s.windowCount - 1;
    } else if (s.launcherCount > 0) {
        s.index = 0;
        s.section = SectionLauncher;
    } else {
        // Only the command entries are left, as after a narrowing that matches nothing.
        s.index = cancelIndex;
        s.section = SectionCommands;
    }
    return s;
}

bool WindowHasLeft(HWND window, bool previewHides) {
    if (!IsWindow(window))
        return true;
    return !previewHides && !IsWindowVisible(window);
}

void CloseWindowEntry(HWND popup, ControllerState& c, int index) {
    if (!c.popupList || index < 0 || index >= c.popupList->count)
        return;
    HWND window = c.popupList->slots[index].window;
    const bool watched = std::find(c.closing.begin(), c.closing.end(), window) != c.closing.end();
    // Asked before and showing its own question now (its window is disabled meanwhile): asking
    // again would only stack a second question on the first.
    if (watched && !IsWindowEnabled(window))
        return;
    if (!AskWindowToClose(window))
        return;
    Log(L"middle click: window entry %d asked to close", index);
    if (!watched)
        c.closing.push_back(window);
    SetTimer(popup, kTimerCloseCheck, kCloseCheckMilliseconds, nullptr);
}

void RemoveWindowEntry(Application& app, HWND popup, int index) {
    ControllerState& c = app.controller;
    const ProgramState& program = app.program;
    if (!c.popupList || index < 0 || index >= c.popupList->count)
        return;
    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const LauncherList& allLaunchers = program.launcherList ? *program.launcherList : emptyLaunchers;
    const ItemList& commands = program.commandList ? *program.commandList : emptyCommands;
    const bool desktopRow = program.preferences.ToggleDesktop != 0;
    // A narrowed list may show nothing but the command entries; the popup has something to offer
    // as long as the full list does.
    if (!PopupHasSomethingToShow(AllWindows(c.narrowing, *c.popupList).count - 1, allLaunchers.count,
                                 desktopRow)) {
        // Only command entries would be left, and such a popup never opens.
        Log(L"middle click: the last window went; the popup closes");
        OnCancel(app, popup);
        return;
    }
    const bool selectedWent = c.selection.section == SectionWindows && c.selection.index == index;
    ForgetNarrowedWindow(c.narrowing, c.popupList->slots[index].window);
    RemoveListItem(*c.popupList, index);
    c.selection = SelectionAfterRemoval(c.selection, index, CancelEntryIndex(commands));
    Present(app, popup, ListChange::Removed, -1, selectedWent);
}

LRESULT OnMiddleClick(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    if (!MiddleCloseApplies(c, app.program.preferences, false))
        return 0;
    if (c.selection.section == SectionWindows)
        CloseWindowEntry(hwnd, c, c.selection.index);
    return 0;
}

LRESULT OnMiddleButtonUp(Application& app, HWND hwnd, LPARAM clientPoint) {
    ControllerState& c = app.controller;
    if (!MiddleCloseApplies(c, app.program.preferences, true))
        return 0;
    int section = 0, index = 0;
    const POINT point = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    if (HitTest(c.selection, c.design, app.program.preferences.ToggleDesktop != 0, point, &section, &index) &&
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
    const bool previewHides = FramePreviewHolds(c.altTabOpened, prefs) && prefs.Altab7_Hide != 0;
    for (size_t i = 0; c.popupList && i < c.closing.size();) {
        HWND window = c.closing[i];
        if (!WindowHasLeft(window, previewHides)) {
            ++i;
            continue;
        }
        c.closing.erase(c.closing.begin() + static_cast<std::ptrdiff_t>(i));
        bool listed = false;
        for (int entry = 0; entry < c.popupList->count && !listed; ++entry) {
            if (c.popupList->slots[entry].window == window) {
                RemoveWindowEntry(app, hwnd, entry);
                listed = true;
            }
        }
        // Narrowed out of sight since it was asked to close: gone from the full list all the same.
        if (!listed)
            ForgetNarrowedWindow(c.narrowing, window);
    }
    if (!c.popupList || c.closing.empty()) {
        c.closing.clear();
        KillTimer(hwnd, kTimerCloseCheck);
    }
    return true;
}

} // namespace mw

#include "controller/popup_controller.h"

#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "hook/hook.h"
#include "controller/activation.h"
#include "controller/launch.h"
#include "model/alt_tab_landing.h"
#include "model/list_building.h"
#include "controller/application.h"
#include "model/program_state.h"
#include "model/run_or_raise.h"
#include "model/wheel_steps.h"
#include "system/hook_client.h"
#include "system/window_list.h"
#include "system/window_show.h"
#include "controller/frame_preview.h"
#include "controller/popup_screen_reader.h"
#include "platform/log.h"
#include "platform/resources_lang.h"
#include "resource.h"
#include "view/design.h"
#include "view/frame_window.h"
#include "view/icon_window.h"

namespace mw {

namespace {

const Preferences& Prefs(const Application& app) {
    return app.program.preferences;
}
const StartupFlags& Flags(const Application& app) {
    return app.program.flags;
}

// The desktop entry is drawn as a thumbnail row only in thumbnail mode; the layout checks that.
bool DesktopRow(Application& app) {
    return Prefs(app).ToggleDesktop != 0;
}

int LauncherCount(Application& app) {
    const LauncherList* list = app.program.launcherList.get();
    return list ? list->count : 0;
}

bool StayOpen(Application& app) {
    return StayOpenMode(app.controller.popup->altTabOpened, Prefs(app));
}

RECT MonitorRectOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcMonitor;
}

// The popup's own monitor: edge scrolling and keeping the selection in sight work against it.
RECT MonitorOfPopup(HWND hwnd) {
    return MonitorRectOf(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY));
}

// Shows a change of the selection: only the rows of the selection last drawn and of the new one
// are drawn again (the rest of the picture on screen is still right). Before the first paint of
// an open, everything.
void KeepSelectionVisible(Application& app, HWND hwnd);

void Repaint(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    KeepSelectionVisible(app, hwnd);
    TellScreenReaders(app, hwnd, false);
    RECT before{}, after{};
    if (!c.popup->selectionPainted ||
        !GetCursorRect(c.popup->paintedSelection, c.popup->design, DesktopRow(app), &before) ||
        !GetCursorRect(c.popup->selection, c.popup->design, DesktopRow(app), &after)) {
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    // The highlight and the outline reach a little beyond the row's rectangle.
    const int margin = ScaleForDpi(4, c.popup->dpi);
    for (RECT* r : {&before, &after}) {
        InflateRect(r, margin, margin);
        InvalidateRect(hwnd, r, FALSE);
    }
}

void StopEdgeTimers(HWND hwnd) {
    KillTimer(hwnd, kTimerStepForward);
    KillTimer(hwnd, kTimerStepBack);
}

// A resident program is rarely the foreground process when the hook opens the popup; sharing the
// foreground thread's input for a moment lets it take the foreground.
void TakeForeground(HWND hwnd) {
    if (SetForegroundWindow(hwnd) && GetForegroundWindow() == hwnd)
        return;
    HWND front = GetForegroundWindow();
    // Sharing input with a thread that reads none would stall the foreground with it.
    if (front && IsHungAppWindow(front))
        return;
    const DWORD foregroundThread = GetWindowThreadProcessId(front, nullptr);
    if (foregroundThread)
        ForegroundSharingInput(hwnd, GetCurrentThreadId(), foregroundThread);
}

void FillWindowSection(Application& app, HWND hwnd, ItemList& list) {
    ControllerState& c = app.controller;
    // The design's size picks the icon's source; the popup's DPI the size it is taken at.
    const int iconSize = app.program.design.iconSize;
    // The enumeration and the arrangement ask each process for its program once.
    const ProgramPathPass pass(app.program.pathMemo);
    if (c.windowSource) {
        c.windowSource(list, iconSize);
    } else {
        EnumerateTopLevelWindows(app.program, list, iconSize, c.popup->design.iconSize, &c.iconCache);
    }
    if (list.count > 0) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        c.popup->closeTarget = GetGUIThreadInfo(0, &info) ? info.hwndActive : nullptr;
        if (c.popup->closeTarget == hwnd)
            c.popup->closeTarget = nullptr;
        if (app.program.commandList)
            SetCloseEntryLabels(*app.program.commandList,
                                CloseEntryLabel(ProgramLanguage(app.program), c.popup->closeTarget).c_str());
    } else {
        c.popup->closeTarget = nullptr;
    }
    c.popup->stacking.clear();
    for (int i = 0; i < list.count; ++i)
        c.popup->stacking.push_back(list.slots[i].window);
    if (Prefs(app).ArrangeWindow) {
        ListProgramPaths paths{&app.program.pathMemo, {}};
        ArrangeByProgram(list, ListProgramPathLookup(paths));
    }
}

// While an Alt+Tab list stays open the hook turns wheel notches anywhere into steps: the wheel
// would otherwise scroll whatever window lies under the cursor, wherever Alt+Tab left it.
void TellHookListOpen(Application& app, bool open) {
    PopupSession& popup = *app.controller.popup;
    if (open == popup.hookKnowsListOpen)
        return;
    popup.hookKnowsListOpen = open;
    TellHookAltTabListOpen(app.program, open);
}

void ReleasePopupList(Application& app) {
    ControllerState& c = app.controller;
    if (c.popup) {
        TellHookListOpen(app, false);
        EndNarrowing(c.popup->narrowing, c.popup->list);
        // The copies of windows that are still there are kept for the next open.
        ReturnLentIcons(c.iconCache, c.popup->list);
    }
    c.popup.reset();
}

void EndNotResident(Application& app, HWND hwnd) {
    if (Flags(app).NotResident)
        DestroyWindow(hwnd);
}

// A hidden popup must not keep the keyboard, and not every system passes the activation on when
// the active window hides: the foreground goes first to the window that is about to be
// activated, else to the one that was in front when the popup opened. Handing it to the old
// front window and then on to the chosen one would leave two activations on their way to two
// other programs, and the slower one could end in front.
void HandBackForeground(Application& app, HWND hwnd, HWND chosen) {
    const bool toChosen = chosen && chosen != hwnd && IsWindow(chosen);
    HWND previous = toChosen ? chosen : app.controller.popup->previousForeground;
    HWND now = GetForegroundWindow();
    const bool nobodyElse =
        now == hwnd || now == nullptr || now == GetDesktopWindow() || !IsWindowVisible(now);
    if (nobodyElse && toChosen) {
        // Its input is attached, if at all, by the activation, which first makes sure the
        // window's thread answers.
        SetForegroundWindow(chosen);
    } else if (nobodyElse && previous && previous != hwnd && IsWindow(previous)) {
        ForegroundSharingInput(previous, GetCurrentThreadId(), GetWindowThreadProcessId(previous, nullptr));
    }
}

// Hides the popup and gives back what it holds; shared by a choice and a cancel. `chosen` is the
// window a choice activates next (null for anything else). False when the message must be
// ignored.
bool CommonCloseStart(Application& app, HWND hwnd, HWND chosen) {
    ControllerState& c = app.controller;
    if (!c.popup)
        return false;
    if (AllWindows(c.popup->narrowing, c.popup->list).count == 0 && LauncherCount(app) == 0)
        return false;
    HandBackForeground(app, hwnd, chosen);
    ShowWindow(hwnd, SW_HIDE);
    HandBackForeground(app, hwnd, chosen);
    c.popup->surface.Release();
    StopEdgeTimers(hwnd);
    KillTimer(hwnd, kTimerRepositionGuard);
    c.popup->repositionGuard = false;
    if (app.program.design.thumbnail) {
        c.popup->iconWindow.reset();
        UnregisterThumbnails(app.program.services.thumbnails, c.popup->thumbnails);
    }
    return true;
}

// Ends the frame preview of `session`: the overlay goes and every put-away window comes back.
// Without `restoreWindows` (the desktop toggle has just set every window's state) only the windows
// the preview hid and nothing showed again come back, in the state they are in (a minimised one
// as minimised); their records go either way.
void EndPreview(PopupSession& session, bool restoreWindows, bool hide) {
    session.frameWindow.reset();
    const ItemList& all = AllWindows(session.narrowing, session.list);
    if (restoreWindows && all.count > 0)
        RestorePreviewedWindows(*session.services, all, hide);
    else
        RestoreWindowsLeftHidden(*session.services);
    session.previewPutAway = false;
}

void EndFramePreview(Application& app, bool restoreWindows) {
    if (app.controller.popup)
        EndPreview(*app.controller.popup, restoreWindows, Prefs(app).Altab7_Hide != 0);
    else
        RestoreWindowsLeftHidden(app.program.services);
}

bool SelectionInWindows(Application& app) {
    const ControllerState& c = app.controller;
    return c.popup && c.popup->selection.section == SectionWindows && c.popup->selection.index >= 0 &&
           c.popup->selection.index < c.popup->list.count;
}

bool SelectedCommandIs(Application& app, int kind) {
    const ControllerState& c = app.controller;
    const ItemList* commands = app.program.commandList.get();
    return c.popup && c.popup->selection.section == SectionCommands && commands &&
           c.popup->selection.index >= 0 && c.popup->selection.index < commands->count &&
           commands->slots[c.popup->selection.index].kind == kind;
}

// Minimises every listed window, or brings back what the last use minimised.
void ToggleDesktop(Application& app) {
    ItemList& popup = app.controller.popup->list;
    ItemList* saved = app.program.savedWindowList.get();
    if (!saved)
        return;
    bool allMinimized = true;
    for (int i = 0; i < popup.count; ++i)
        allMinimized &= popup.slots[i].showState == StateMinimized;
    if (allMinimized) {
        // Bottom of the stack first, so the top window comes to the front last.
        for (int p = saved->count - 1; p >= 0; --p) {
            const ListItem& item = saved->slots[p];
            if (item.showState == StateNormal) {
                RestoreWindowWithoutWaiting(item.window);
                SetForegroundWindow(item.window);
            } else if (item.showState == StateMaximized) {
                ShowWindowWithoutWaiting(item.window, SW_SHOWMAXIMIZED);
                SetForegroundWindow(item.window);
            }
        }
        return;
    }
    RecordDesktopWindows(popup, *saved);
    for (int i = 0; i < popup.count; ++i) {
        if (!IsIconic(popup.slots[i].window))
            MinimiseWindowWithoutWaiting(popup.slots[i].window);
    }
}

// The first Tab of Alt+Tab: the window that was behind the front one, wherever the grouping
// put it; without one the front window stays selected.
void LandFirstAltTabStep(Application& app) {
    PopupSession& popup = *app.controller.popup;
    std::vector<HWND> listed;
    for (int i = 0; i < popup.list.count; ++i)
        listed.push_back(popup.list.slots[i].window);
    const int index = SecondInStackingOrder(popup.stacking, listed);
    if (index >= 0) {
        popup.selection.section = SectionWindows;
        popup.selection.index = index;
    }
}

// The entry's start request; false when `index` names no entry.
bool LauncherRequest(Application& app, int index, LaunchRequest* request) {
    const LauncherList* list = app.program.launcherList.get();
    if (!list || index < 0 || index >= list->count)
        return false;
    const LauncherEntry& entry = list->slots[index];
    *request = LaunchRequest{entry.path, entry.commandLine, entry.workFolder};
    return true;
}

void CloseTargetWindow(Application& app) {
    AskWindowToClose(app.controller.popup->closeTarget);
}

// The running window that the selected run-or-raise launcher entry switches to, or null.
HWND SelectedEntryRunningWindow(Application& app) {
    const ControllerState& c = app.controller;
    const LauncherList* list = app.program.launcherList.get();
    if (!c.popup || c.popup->selection.section != SectionLauncher || !list)
        return nullptr;
    // While the list is narrowed the selection counts the entries still shown.
    const int index = ProgramLauncherIndex(c.popup->narrowing, c.popup->selection.index);
    if (index < 0 || index >= list->count)
        return nullptr;
    return RunningWindowOfEntry(app.program, list->slots[index], &c.popup->list);
}

// `chosen`: the window the choice brings forward (a window entry's, or a running launcher
// entry's), null for anything else.
void ActOnSelection(Application& app, HWND, HWND chosen) {
    const ControllerState& c = app.controller;
    switch (c.popup->selection.section) {
    case SectionWindows:
        if (c.popup->selection.index >= 0 && c.popup->selection.index < c.popup->list.count) {
            ActivateWindow(
                c.popup->list.slots[c.popup->selection.index].window,
                {Prefs(app).MoveWindow == 1, Prefs(app).AdjustCursor == 1, app.program.services.dpi});
        }
        break;
    case SectionLauncher:
        if (chosen) {
            Log(L"launcher entry %d: its program is running, its window comes forward",
                c.popup->selection.index);
            ActivateWindow(
                chosen, {Prefs(app).MoveWindow == 1, Prefs(app).AdjustCursor == 1, app.program.services.dpi});
        } // otherwise its program was started before the popup went
        break;
    case SectionCommands:
        if (SelectedCommandIs(app, KindCloseWindow))
            CloseTargetWindow(app);
        break;
    default:
        break;
    }
}

void MovePopupTo(Application& app, HWND hwnd, int left, int top) {
    ControllerState& c = app.controller;
    SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    c.popup->repositionGuard = true;
    if (c.popup->iconWindow && app.program.design.thumbnailOverlay)
        MoveIconWindow(c.popup->iconWindow.get(), hwnd);
    SetTimer(hwnd, kTimerRepositionGuard, kRepositionGuardMilliseconds, nullptr);
}

// Moves the popup so the selected row stays on its monitor (a list taller than the monitor).
void KeepSelectionVisible(Application& app, HWND hwnd) {
    const ControllerState& c = app.controller;
    RECT selection{};
    if (!c.popup || !GetCursorRect(c.popup->selection, c.popup->design, DesktopRow(app), &selection))
        return;
    RECT window{};
    GetWindowRect(hwnd, &window);
    const RECT monitor = MonitorOfPopup(hwnd);
    int top = 0;
    if (KeepSelectionOnMonitor(window.top, selection.top, selection.bottom, monitor.top, monitor.bottom,
                               &top)) {
        MovePopupTo(app, hwnd, window.left, top);
    }
}

} // namespace

PopupSession::~PopupSession() {
    iconWindow.reset();
    UnregisterThumbnails(services->thumbnails, thumbnails);
    if (previewPutAway)
        EndPreview(*this, true, previewHides);
    frameWindow.reset();
}

void RestoreWhatThePreviewHid(Application& app) {
    ControllerState& c = app.controller;
    if (c.popup && (c.popup->frameWindow || FramePreviewHolds(c.popup->altTabOpened, Prefs(app))))
        EndFramePreview(app, true);
}

void ResetController(Application& app) {
    ControllerState& c = app.controller;
    ReleasePopupList(app);
    ClearIconCache(c.iconCache);
}

bool AskWindowToClose(HWND window) {
    if (!window || !IsWindow(window))
        return false;
    wchar_t title[TextBufferLength] = {};
    GetWindowTextW(window, title, TextBufferLength);
    if (title[0] == L'\0')
        return false;
    return PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
}

bool PopupIsOpen(Application& app) {
    return app.controller.popup.has_value();
}

bool StayOpenMode(bool altTabOpened, const Preferences& prefs) {
    return altTabOpened ? prefs.ReplaceAltTab == 1 : prefs.ClickMode != 0;
}

bool FramePreviewHolds(bool altTabOpened, const Preferences& prefs) {
    if (!prefs.Altab7)
        return false;
    return (!altTabOpened && !prefs.ClickMode) || (altTabOpened && prefs.ReplaceAltTab == 2);
}

void PrepareListIcons(Application& app, int pixels) {
    ProgramState& program = app.program;
    if (ListIconPixels(program, app.program.design.iconSize) == pixels)
        return;
    if (program.commandList) {
        // The close entry's label names the window of the last opening until the next one sets it.
        std::wstring closeLabel;
        for (int i = 0; i < program.commandList->count; ++i) {
            if (program.commandList->slots[i].kind == KindCloseWindow)
                closeLabel = program.commandList->slots[i].name;
        }
        BuildCommandList(*program.commandList, Prefs(app), Flags(app).LauncherOnly, pixels, program.instance);
        if (!closeLabel.empty())
            SetCloseEntryLabels(*program.commandList, closeLabel.c_str());
    }
    if (program.launcherList)
        ReloadLauncherIcons(*program.launcherList, pixels);
    program.listIconSize = pixels;
}

bool KeepSelectionOnMonitor(int windowTop, int selectionTop, int selectionBottom, int monitorTop,
                            int monitorBottom, int* newTop) {
    if (selectionBottom - selectionTop > monitorBottom - monitorTop) {
        // Taller than the monitor: it can never fit, and aligning the bottom and then the top by
        // turns would make the popup jump on every paint. Its top goes to the monitor's top.
        *newTop = monitorTop - selectionTop;
        return windowTop != *newTop;
    }
    if (windowTop + selectionBottom > monitorBottom) {
        *newTop = monitorBottom - selectionBottom;
        return true;
    }
    if (windowTop + selectionTop < monitorTop) {
        *newTop = monitorTop - selectionTop;
        return true;
    }
    return false;
}

UINT_PTR EdgeTimerFor(int screenY, const RECT& monitor, int itemSpace, int iconSize) {
    if (screenY > monitor.bottom - 2 * itemSpace - iconSize)
        return kTimerStepForward;
    if (screenY < monitor.top + 2 * itemSpace + iconSize)
        return kTimerStepBack;
    return 0;
}

KeyAction KeyActionFor(WPARAM key, bool shiftDown) {
    switch (key) {
    case VK_TAB:
        return shiftDown ? KeyAction::Previous : KeyAction::Next;
    case VK_LEFT:
    case VK_UP:
        return KeyAction::Previous;
    case VK_RIGHT:
    case VK_DOWN:
        return KeyAction::Next;
    case VK_RETURN:
    case VK_SPACE:
        return KeyAction::Choose;
    case VK_ESCAPE:
        return KeyAction::Cancel;
    default:
        return KeyAction::None;
    }
}

namespace {

ScopeLabels PopupScopeLabels(const ProgramState& program) {
    const LANGID language = ProgramLanguage(program);
    return {LoadText(language, IDS_SCOPE_THIS_MONITOR), LoadText(language, IDS_SCOPE_THIS_PROGRAM)};
}

// The design as written, dressed in the user's theme as it is now: read at every open, so a
// change of theme shows at the next popup without anything to forget.
Design PopupDesign(Application& app) {
    const ProgramState& program = app.program;
    return ThemedDesign(program.design, ReadThemeFacts(app.controller.themeReaders),
                        program.preferences.FollowTheme != 0);
}

std::wstring ProgramOf(Application& app, HWND window) {
    wchar_t path[TextBufferLength] = {};
    if (!window || !ProgramPathOfWindow(&app.program.pathMemo, window, path))
        return std::wstring();
    return path;
}

// The list opened by Alt and the key above Tab: the windows of the program in front (the popup
// is not shown yet). A front window of no known program leaves every window listed.
void NarrowToFrontProgram(Application& app) {
    PopupSession& popup = *app.controller.popup;
    if (!ToggleProgramScope(popup.narrowing.narrowing, ProgramOf(app, GetForegroundWindow())))
        Log(L"the front window's program is not known: the list shows every window");
}

} // namespace

void Present(Application& app, HWND hwnd, ListChange change, int keptWindow, bool previewLostItsWindow) {
    ControllerState& c = app.controller;
    ProgramState& program = app.program;
    const Preferences& prefs = program.preferences;
    // The overlays and thumbnails draw from the rows as they were: they are made again.
    if (program.design.thumbnail) {
        c.popup->iconWindow.reset();
        UnregisterThumbnails(program.services.thumbnails, c.popup->thumbnails);
    }

    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const LauncherList& launchers =
        ListedLaunchers(c.popup->narrowing, program.launcherList ? *program.launcherList : emptyLaunchers);
    const ItemList& commands = program.commandList ? *program.commandList : emptyCommands;
    const std::wstring header = NarrowingHeader(c.popup->narrowing.narrowing, PopupScopeLabels(program));
    c.popup->header = header;
    c.popup->selection.textColumnWidth =
        RenderPopup(hwnd, c.popup->list, launchers, commands, c.popup->design, DesktopRow(app),
                    c.popup->surface, c.popup->dpi, program.services.dpi, header);
    c.popup->selection.windowCount = c.popup->list.count;
    c.popup->selection.launcherCount = launchers.count;
    c.popup->selection.commandCount = commands.count;
    c.popup->selection.headerHeight = header.empty() ? 0 : HeaderHeight(c.popup->design);
    if (change != ListChange::Removed)
        SelectAfterNarrowing(c.popup->selection, keptWindow, CancelEntryIndex(commands));
    c.popup->selectionPainted = false;

    if (program.design.thumbnail) {
        RegisterThumbnails(program.services.thumbnails, c.popup->thumbnails, hwnd, c.popup->list,
                           c.popup->selection, c.popup->design, DesktopRow(app),
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    if (FramePreviewHolds(c.popup->altTabOpened, prefs)) {
        // The overlay marks the listed windows: made anew for the new list.
        const bool hide = prefs.Altab7_Hide != 0;
        c.popup->frameWindow.reset();
        c.popup->frameWindow.reset(CreateFrameWindow(program.instance, &c.popup->list, c.popup->dpi));
        if (change != ListChange::Removed) {
            PutAwayOtherWindows(program.services, c.popup->list,
                                SelectionInWindows(app) ? c.popup->selection.index : -1, hide);
            c.popup->previewPutAway = true;
            c.popup->previewHides = hide;
        }
        if (change != ListChange::Opened)
            RestackPreview(c.popup->frameWindow.get(), hwnd);
        // The window the preview showed went, or the selection moved to another window.
        const bool showSelected = change == ListChange::Narrowed || previewLostItsWindow;
        if (showSelected && SelectionInWindows(app))
            ShowSelectedWindow(c.popup->list, c.popup->selection.index, hide);
    }

    // Centred on its own monitor, as it would have opened with this list.
    const POINT at = CentreIn(MonitorRectOf(c.popup->narrowing.monitor),
                              {c.popup->surface.width, c.popup->surface.height});
    if (change == ListChange::Opened) {
        SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, c.popup->surface.width, c.popup->surface.height,
                     SWP_SHOWWINDOW);
        TakeForeground(hwnd);
    } else {
        SetWindowPos(hwnd, nullptr, at.x, at.y, c.popup->surface.width, c.popup->surface.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // The rows moved under a resting cursor: the mouse moves that the move makes must not
        // select what now lies there. (At the open the cursor's row is the user's to take.)
        StopEdgeTimers(hwnd);
        c.popup->repositionGuard = true;
        SetTimer(hwnd, kTimerRepositionGuard, kRepositionGuardMilliseconds, nullptr);
    }
    if (program.design.thumbnail && program.design.thumbnailOverlay) {
        c.popup->iconWindow.reset(CreateIconWindow(program.instance, hwnd, &c.popup->list, c.popup->selection,
                                                   c.popup->design, DesktopRow(app), c.popup->dpi));
    }
    KeepSelectionVisible(app, hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
    TellScreenReaders(app, hwnd, true);
}

LRESULT OnOpenPopup(Application& app, HWND hwnd, LPARAM lParam) {
    ControllerState& c = app.controller;
    if (c.popup)
        return 0;
    c.popup.emplace(app.program.services);
    // 2: Alt with the key above Tab, an Alt+Tab list of the front program's windows.
    c.popup->altTabOpened = lParam == 1 || lParam == 2;
    // Everything is laid out for the DPI of the cursor's monitor, where the popup opens (not for
    // the monitor the hidden popup was last on).
    POINT cursor{};
    GetCursorPos(&cursor);
    const MonitorPlace place = MonitorAtPoint(app.program.services.dpi, cursor);
    const RECT monitor = place.monitor;
    c.popup->dpi = place.dpi;
    c.popup->design = DesignForDpi(PopupDesign(app), c.popup->dpi);
    PrepareListIcons(app, c.popup->design.iconSize);
    if (!Flags(app).LauncherOnly)
        FillWindowSection(app, hwnd, c.popup->list);

    if (!PopupHasSomethingToShow(c.popup->list.count, LauncherCount(app), Prefs(app).ToggleDesktop != 0)) {
        ReleasePopupList(app);
        EndNotResident(app, hwnd);
        return 0;
    }

    c.popup->narrowing.monitor = place.handle;
    if (Prefs(app).MonitorScope)
        c.popup->narrowing.narrowing.thisMonitorOnly = true;
    if (lParam == 2)
        NarrowToFrontProgram(app);
    if (IsNarrowed(c.popup->narrowing.narrowing)) {
        WindowFactsSource source;
        source.memo = &app.program.pathMemo;
        ApplyNarrowing(c.popup->narrowing, c.popup->list, app.program.launcherList.get(), nullptr, source);
    }
    c.popup->selectionTools = MakeSelectionTools(c.popup->design, c.popup->dpi, app.program.services.dpi);
    c.popup->previousForeground = GetForegroundWindow();
    c.popup->firstAltTabStep = c.popup->altTabOpened;
    // Before the popup shows: the first notch may come as soon as it is on the screen.
    if (c.popup->altTabOpened && StayOpen(app))
        TellHookListOpen(app, true);
    Present(app, hwnd, ListChange::Opened);
    Log(L"popup opened%ls: %d windows, %d launcher entries, %d commands, %u dpi",
        c.popup->altTabOpened ? L" (Alt+Tab)" : L"", c.popup->selection.windowCount,
        c.popup->selection.launcherCount, c.popup->selection.commandCount, c.popup->dpi);

    const bool centreCursor = Flags(app).NotResident
                                  ? Flags(app).CursorCentring
                                  : (Prefs(app).ToCenter != 0 && Prefs(app).ClickMode != 0);
    if (centreCursor) {
        SetCursorPos(monitor.left + (monitor.right - monitor.left) / 2,
                     monitor.top + (monitor.bottom - monitor.top) / 2);
    }
    return 0;
}

LRESULT OnMoveSelection(Application& app, HWND hwnd, WPARAM wParam) {
    ControllerState& c = app.controller;
    if (!c.popup)
        return 0;
    if (AllWindows(c.popup->narrowing, c.popup->list).count == 0 && LauncherCount(app) == 0)
        return 0;
    if (Prefs(app).ClickMode && !c.popup->altTabOpened && !Flags(app).NotResident)
        return 0;
    const bool framePreview = FramePreviewHolds(c.popup->altTabOpened, Prefs(app));
    const bool hide = Prefs(app).Altab7_Hide != 0;
    if (framePreview && SelectionInWindows(app))
        PutAwaySelectedWindow(app.program.services, c.popup->list, c.popup->selection.index, hide);
    const short delta = static_cast<short>(HIWORD(wParam));
    const bool firstAltTabStep = c.popup->firstAltTabStep;
    c.popup->firstAltTabStep = false;
    if (delta < 0 && firstAltTabStep) {
        LandFirstAltTabStep(app);
    } else if (delta < 0) {
        SelectNext(c.popup->selection);
    } else if (delta > 0) {
        SelectPrevious(c.popup->selection, true);
    }
    if (framePreview && SelectionInWindows(app)) {
        RestackPreview(c.popup->frameWindow.get(), hwnd);
        ShowSelectedWindow(c.popup->list, c.popup->selection.index, hide);
    }
    Repaint(app, hwnd);
    return 0;
}

LRESULT OnChoose(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    if (!c.popup)
        return 0;
    const bool framePreview = FramePreviewHolds(c.popup->altTabOpened, Prefs(app));
    HWND chosen = SelectionInWindows(app) ? c.popup->list.slots[c.popup->selection.index].window
                                          : SelectedEntryRunningWindow(app);
    // A launcher entry's program starts while the popup still holds the foreground, and takes it.
    LaunchRequest failedStart;
    bool startFailed = false;
    if (!chosen && c.popup->selection.section == SectionLauncher) {
        LaunchRequest request;
        if (LauncherRequest(app, ProgramLauncherIndex(c.popup->narrowing, c.popup->selection.index),
                            &request) &&
            LaunchProgram(hwnd, request) == LaunchRoute::Failed) {
            failedStart = request;
            startFailed = true;
        }
        c.popup->previousForeground = nullptr;
    }
    if (!CommonCloseStart(app, hwnd, chosen))
        return 0;
    Log(L"popup closed: entry %d of section %d chosen", c.popup->selection.index, c.popup->selection.section);
    const bool toggled = !Flags(app).NotResident && SelectedCommandIs(app, KindDesktopToggle);
    if (toggled)
        ToggleDesktop(app);
    if (framePreview || c.popup->frameWindow)
        EndFramePreview(app, !toggled);
    ActOnSelection(app, hwnd, chosen);
    ReleasePopupList(app);
    if (startFailed)
        LaunchShowingErrors(hwnd, failedStart);
    EndNotResident(app, hwnd);
    return 0;
}

LRESULT OnCancel(Application& app, HWND hwnd) {
    if (!CommonCloseStart(app, hwnd, nullptr))
        return 0;
    Log(L"popup closed without a choice");
    // The session's end brings back what the frame preview put away.
    ReleasePopupList(app);
    EndNotResident(app, hwnd);
    return 0;
}

LRESULT OnMouseMove(Application& app, HWND hwnd, LPARAM lParam) {
    ControllerState& c = app.controller;
    if (!c.popup || c.popup->repositionGuard)
        return 0;
    if (Flags(app).NotResident && !Flags(app).CursorCentring)
        return 0;
    if (!StayOpen(app))
        return 0;
    StopEdgeTimers(hwnd);
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int screenY = window.top + GET_Y_LPARAM(lParam);
    const UINT_PTR timer =
        EdgeTimerFor(screenY, MonitorOfPopup(hwnd), c.popup->design.itemSpace, c.popup->design.iconSize);
    if (timer) {
        SetTimer(hwnd, timer, kEdgeTimerMilliseconds, nullptr);
    } else if (SelectAtPoint(c.popup->selection, c.popup->design, DesktopRow(app), lParam)) {
        Repaint(app, hwnd);
    }
    return 0;
}

LRESULT OnLeftButtonUp(Application& app, HWND hwnd) {
    if (PopupIsOpen(app) && StayOpen(app))
        PostMessageW(hwnd, kMsgChoose, 0, 0);
    return 0;
}

LRESULT OnWheel(Application& app, HWND hwnd, WPARAM wParam, LPARAM) {
    // In click mode the wheel over the popup steps the selection (OnMoveSelection leaves it to the
    // cursor in resident click mode). The Alt+Tab popup that stays open takes the wheel whatever
    // the click mode: the hook only turns the wheel into steps while a button is held.
    const ControllerState& c = app.controller;
    const bool altTabStaysOpen = c.popup && c.popup->altTabOpened && StayOpen(app);
    // Moved at once, so a click that follows the wheel chooses what the wheel selected.
    if (Prefs(app).ClickMode || altTabStaysOpen)
        OnMoveSelection(app, hwnd, wParam);
    return 0;
}

LRESULT OnMouseWheel(Application& app, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    ControllerState& c = app.controller;
    if (!c.popup)
        return 0;
    const int notches = TakeWheelNotches(c.popup->wheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam));
    const WPARAM step =
        MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(notches < 0 ? -kWheelNotch : kWheelNotch)));
    for (int i = 0; i < (notches < 0 ? -notches : notches) && c.popup; ++i)
        OnWheel(app, hwnd, step, lParam);
    return 0;
}

LRESULT OnTimer(Application& app, HWND hwnd, WPARAM id) {
    ControllerState& c = app.controller;
    switch (id) {
    case kTimerStepForward:
        if (c.popup && StepForward(c.popup->selection))
            Repaint(app, hwnd);
        break;
    case kTimerStepBack:
        if (c.popup && SelectPrevious(c.popup->selection, false))
            Repaint(app, hwnd);
        break;
    case kTimerRepositionGuard:
        if (c.popup)
            c.popup->repositionGuard = false;
        KillTimer(hwnd, kTimerRepositionGuard);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnPaint(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    const PaintDc paint(hwnd);
    HDC dc = paint.get();
    if (c.popup && c.popup->surface) {
        // Only what was invalidated: a selection step asks for its two rows alone.
        const RECT& area = paint.area();
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, c.popup->surface.dc(),
               area.left, area.top, SRCCOPY);
        RECT selection{};
        if (GetCursorRect(c.popup->selection, c.popup->design, DesktopRow(app), &selection)) {
            static const LauncherList emptyLaunchers;
            static const ItemList emptyCommands;
            PaintSelection(dc, c.popup->selection, c.popup->design, DesktopRow(app), c.popup->list,
                           ListedLaunchers(c.popup->narrowing, app.program.launcherList
                                                                   ? *app.program.launcherList
                                                                   : emptyLaunchers),
                           app.program.commandList ? *app.program.commandList : emptyCommands, c.popup->dpi,
                           &c.popup->selectionTools);
            c.popup->paintedSelection = c.popup->selection;
            c.popup->selectionPainted = true;
        }
    }
    return 0;
}

LRESULT OnActivateApp(Application& app, HWND hwnd, WPARAM active) {
    if (!active && PopupIsOpen(app) && StayOpen(app) && IsWindowVisible(hwnd))
        PostMessageW(hwnd, kMsgCancel, 0, 0);
    return 0;
}

LRESULT OnActivate(Application& app, HWND hwnd, WPARAM state) {
    // Another window of this program taking the activation sends no WM_ACTIVATEAPP.
    if (LOWORD(state) == WA_INACTIVE && PopupIsOpen(app) && StayOpen(app) && IsWindowVisible(hwnd))
        PostMessageW(hwnd, kMsgCancel, 0, 0);
    return 0;
}

LRESULT OnKeyDown(Application& app, HWND hwnd, WPARAM key) {
    ControllerState& c = app.controller;
    if (!c.popup || !StayOpen(app))
        return 0;
    const bool shift =
        (GetAsyncKeyState(VK_SHIFT) | GetAsyncKeyState(VK_LSHIFT) | GetAsyncKeyState(VK_RSHIFT)) < 0;
    // Within a typed filter Space separates words (its character follows) and chooses nothing.
    if (key == VK_SPACE && Prefs(app).TypeToFilter && !c.popup->narrowing.narrowing.filter.empty())
        return 0;
    switch (KeyActionFor(key, shift)) {
    case KeyAction::Next:
        SelectNext(c.popup->selection);
        Repaint(app, hwnd);
        break;
    case KeyAction::Previous:
        SelectPrevious(c.popup->selection, true);
        Repaint(app, hwnd);
        break;
    case KeyAction::Choose:
        PostMessageW(hwnd, kMsgChoose, 0, 0);
        break;
    case KeyAction::Cancel:
        PostMessageW(hwnd, kMsgCancel, 0, 0);
        break;
    case KeyAction::None:
        break;
    }
    return 0;
}

namespace {

// Shows the list anew after its narrowing changed: drawn again, resized and centred on its own
// monitor, with the thumbnails, the icon window and the frame preview following the new rows.
// `keepSelectedWindow`: the selection stays on the window it was on when that is still listed.
void ShowNarrowedList(Application& app, HWND hwnd, bool keepSelectedWindow) {
    ControllerState& c = app.controller;
    ProgramState& program = app.program;
    const Preferences& prefs = program.preferences;
    const bool framePreview = FramePreviewHolds(c.popup->altTabOpened, prefs);
    const bool hide = prefs.Altab7_Hide != 0;
    HWND keep = keepSelectedWindow && SelectionInWindows(app)
                    ? c.popup->list.slots[c.popup->selection.index].window
                    : nullptr;
    if (framePreview && SelectionInWindows(app))
        PutAwaySelectedWindow(program.services, c.popup->list, c.popup->selection.index, hide);
    WindowFactsSource source;
    source.memo = &program.pathMemo;
    const int kept =
        ApplyNarrowing(c.popup->narrowing, c.popup->list, program.launcherList.get(), keep, source);
    Present(app, hwnd, ListChange::Narrowed, kept);
    Log(L"popup narrowed%ls%ls%ls: %d windows, %d launcher entries",
        c.popup->narrowing.narrowing.thisMonitorOnly ? L" to its monitor" : L"",
        c.popup->narrowing.narrowing.thisProgramOnly ? L" to one program" : L"",
        c.popup->narrowing.narrowing.filter.empty() ? L"" : L" by a filter", c.popup->selection.windowCount,
        c.popup->selection.launcherCount);
}

void SetScope(Application& app, HWND hwnd, bool thisMonitorOnly) {
    ControllerState& c = app.controller;
    // Set by direction: a tilt held down repeats, and must not flip the scope back and forth.
    if (!c.popup || c.popup->narrowing.narrowing.thisMonitorOnly == thisMonitorOnly)
        return;
    c.popup->narrowing.narrowing.thisMonitorOnly = thisMonitorOnly;
    ShowNarrowedList(app, hwnd, true);
}

// Narrows the list to the selected window's program, or lists every window again.
void ToggleProgramOnly(Application& app, HWND hwnd) {
    PopupSession& popup = *app.controller.popup;
    const std::wstring program =
        SelectionInWindows(app) ? ProgramOf(app, popup.list.slots[popup.selection.index].window) : L"";
    if (ToggleProgramScope(popup.narrowing.narrowing, program))
        ShowNarrowedList(app, hwnd, true);
}

} // namespace

LRESULT OnProgramScope(Application& app, HWND hwnd) {
    if (app.controller.popup)
        ToggleProgramOnly(app, hwnd);
    return 0;
}

bool IsProgramScopeKey(WPARAM virtualKey, LPARAM keyData) {
    return virtualKey == VK_OEM_3 || ((keyData >> 16) & 0xFF) == kScanCodeAboveTab;
}

bool OnProgramScopeKey(Application& app, HWND hwnd, WPARAM virtualKey, LPARAM keyData) {
    if (!app.controller.popup || !StayOpen(app) || !Prefs(app).ProgramScopeKey ||
        !IsProgramScopeKey(virtualKey, keyData))
        return false;
    // The key is a command here, not text for the filter: its character (or the dead key it
    // starts on some layouts) is already queued behind it.
    MSG typed;
    while (PeekMessageW(&typed, hwnd, WM_CHAR, WM_DEADCHAR, PM_REMOVE)) {
    }
    ToggleProgramOnly(app, hwnd);
    return true;
}

LRESULT OnChar(Application& app, HWND hwnd, WPARAM character) {
    ControllerState& c = app.controller;
    if (!c.popup || !StayOpen(app) || !Prefs(app).TypeToFilter)
        return 0;
    if (EditFilter(c.popup->narrowing.narrowing.filter, static_cast<wchar_t>(character)))
        ShowNarrowedList(app, hwnd, false);
    return 0;
}

LRESULT OnTilt(Application& app, HWND hwnd, WPARAM right) {
    SetScope(app, hwnd, right == 1);
    return 0;
}

LRESULT OnHorizontalWheel(Application& app, HWND hwnd, WPARAM wParam) {
    ControllerState& c = app.controller;
    if (!c.popup)
        return 0;
    // Whole notches only: a touchpad's small sideways drift while scrolling must not switch it.
    const int notches = TakeWheelNotches(c.popup->tiltRemainder, GET_WHEEL_DELTA_WPARAM(wParam));
    if (notches != 0)
        SetScope(app, hwnd, notches > 0);
    return 0;
}

} // namespace mw

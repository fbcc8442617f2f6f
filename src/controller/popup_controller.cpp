#include "controller/popup_controller.h"

#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "hook/hook.h"
#include "controller/activation.h"
#include "controller/launch.h"
#include "model/list_building.h"
#include "controller/application.h"
#include "model/program_state.h"
#include "model/run_or_raise.h"
#include "model/window_list.h"
#include "controller/frame_preview.h"
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
    return StayOpenMode(app.controller.altTabOpened, Prefs(app));
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
void Repaint(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    RECT before{}, after{};
    if (!c.selectionPainted || !GetCursorRect(c.paintedSelection, c.design, DesktopRow(app), &before) ||
        !GetCursorRect(c.selection, c.design, DesktopRow(app), &after)) {
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    // The highlight and the outline reach a little beyond the row's rectangle.
    const int margin = ScaleForDpi(4, c.dpi);
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
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (foregroundThread)
        ForegroundSharingInput(hwnd, GetCurrentThreadId(), foregroundThread);
}

void FillWindowSection(Application& app, HWND hwnd, ItemList& list) {
    ControllerState& c = app.controller;
    // The design's size picks the icon's source; the popup's DPI the size it is taken at.
    const int iconSize = app.program.design.iconSize;
    if (c.windowSource) {
        c.windowSource(list, iconSize);
    } else {
        EnumerateTopLevelWindows(app.program, list, iconSize, c.design.iconSize, &c.iconCache);
    }
    if (list.count > 0) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        c.closeTarget = GetGUIThreadInfo(0, &info) ? info.hwndActive : nullptr;
        if (c.closeTarget == hwnd)
            c.closeTarget = nullptr;
        if (app.program.commandList)
            SetCloseEntryLabels(*app.program.commandList,
                                CloseEntryLabel(ProgramLanguage(app.program), c.closeTarget).c_str());
    } else {
        c.closeTarget = nullptr;
    }
    if (Prefs(app).ArrangeWindow)
        ArrangeByProgram(list, app.program.pathMemo);
}

void ReleasePopupList(Application& app) {
    ControllerState& c = app.controller;
    if (c.popupList) {
        EndNarrowing(c.narrowing, *c.popupList);
        // The copies of windows that are still there are kept for the next open.
        ReturnLentIcons(c.iconCache, *c.popupList);
        ClearItemList(*c.popupList);
    }
    c.popupList.reset();
    c.closing.clear();
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
    HWND previous = toChosen ? chosen : app.controller.previousForeground;
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
    if (!c.popupList)
        return false;
    if (AllWindows(c.narrowing, *c.popupList).count == 0 && LauncherCount(app) == 0)
        return false;
    HandBackForeground(app, hwnd, chosen);
    ShowWindow(hwnd, SW_HIDE);
    HandBackForeground(app, hwnd, chosen);
    c.surface.Release();
    StopEdgeTimers(hwnd);
    KillTimer(hwnd, kTimerRepositionGuard);
    c.repositionGuard = false;
    if (app.program.design.thumbnail) {
        if (c.iconWindow && app.program.design.thumbnailOverlay)
            DestroyWindow(c.iconWindow);
        c.iconWindow = nullptr;
        UnregisterThumbnails(app.program.services.thumbnails, c.thumbnails);
    }
    return true;
}

// Ends the frame preview: the overlay goes and every put-away window comes back. Without
// `restoreWindows` (the desktop toggle has just set every window's state) only the windows the
// preview hid and nothing showed again come back, in the state they are in (a minimised one as
// minimised); their records go either way.
void EndFramePreview(Application& app, bool restoreWindows) {
    ControllerState& c = app.controller;
    if (c.frameWindow)
        DestroyWindow(c.frameWindow);
    c.frameWindow = nullptr;
    if (restoreWindows && c.popupList && AllWindows(c.narrowing, *c.popupList).count > 0) {
        RestorePreviewedWindows(app.program.services, AllWindows(c.narrowing, *c.popupList),
                                Prefs(app).Altab7_Hide != 0);
    } else {
        RestoreWindowsLeftHidden(app.program.services);
    }
}

bool SelectionInWindows(Application& app) {
    const ControllerState& c = app.controller;
    return c.selection.section == SectionWindows && c.popupList && c.selection.index >= 0 &&
           c.selection.index < c.popupList->count;
}

bool SelectedCommandIs(Application& app, int kind) {
    const ControllerState& c = app.controller;
    const ItemList* commands = app.program.commandList.get();
    return c.selection.section == SectionCommands && commands && c.selection.index >= 0 &&
           c.selection.index < commands->count && commands->slots[c.selection.index].kind == kind;
}

// Minimises every listed window, or brings back what the last use minimised.
void ToggleDesktop(Application& app) {
    ItemList& popup = *app.controller.popupList;
    ItemList* saved = app.program.savedWindowList.get();
    if (!saved)
        return;
    bool allMinimized = true;
    for (int i = 0; i < popup.count; ++i)
        allMinimized &= popup.slots[i].showState == StateMinimized;
    if (allMinimized) {
        for (int p = saved->count - 1; p >= 0; --p) {
            for (int i = 0; i < saved->count; ++i) {
                const ListItem& item = saved->slots[i];
                if (item.order != p)
                    continue;
                if (item.showState == StateNormal) {
                    OpenIcon(item.window);
                    SetForegroundWindow(item.window);
                } else if (item.showState == StateMaximized) {
                    ShowWindow(item.window, SW_SHOWMAXIMIZED);
                    SetForegroundWindow(item.window);
                }
            }
        }
        return;
    }
    ClearItemList(*saved);
    for (int i = 0; i < popup.count; ++i) {
        ListItem record;
        record.order = popup.slots[i].order;
        record.showState = popup.slots[i].showState;
        record.window = popup.slots[i].window;
        record.kind = KindWindow;
        AppendListItem(*saved, record);
    }
    for (int i = 0; i < popup.count; ++i) {
        if (!IsIconic(popup.slots[i].window))
            CloseWindow(popup.slots[i].window);
    }
}

void StartLauncherEntry(Application& app, HWND hwnd, int index) {
    const LauncherList* list = app.program.launcherList.get();
    if (!list || index < 0 || index >= list->count)
        return;
    const LauncherEntry& entry = list->slots[index];
    const std::wstring path = entry.path;
    const std::wstring parameters = entry.commandLine;
    const std::wstring folder = entry.workFolder;
    LaunchProgram(hwnd, LaunchRequest{path, parameters, folder});
}

void CloseTargetWindow(Application& app) {
    AskWindowToClose(app.controller.closeTarget);
}

// The running window that the selected run-or-raise launcher entry switches to, or null.
HWND SelectedEntryRunningWindow(Application& app) {
    const ControllerState& c = app.controller;
    const LauncherList* list = app.program.launcherList.get();
    if (!c.popupList || c.selection.section != SectionLauncher || !list)
        return nullptr;
    // While the list is narrowed the selection counts the entries still shown.
    const int index = ProgramLauncherIndex(c.narrowing, c.selection.index);
    if (index < 0 || index >= list->count)
        return nullptr;
    return RunningWindowOfEntry(app.program, list->slots[index], c.popupList.get());
}

// `chosen`: the window the choice brings forward (a window entry's, or a running launcher
// entry's), null for anything else.
void ActOnSelection(Application& app, HWND, HWND chosen) {
    const ControllerState& c = app.controller;
    switch (c.selection.section) {
    case SectionWindows:
        if (c.selection.index >= 0 && c.selection.index < c.popupList->count) {
            ActivateWindow(
                c.popupList->slots[c.selection.index].window,
                {Prefs(app).MoveWindow == 1, Prefs(app).AdjustCursor == 1, app.program.services.dpi});
        }
        break;
    case SectionLauncher:
        if (chosen) {
            Log(L"launcher entry %d: its program is running, its window comes forward", c.selection.index);
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
    c.repositionGuard = true;
    if (c.iconWindow && app.program.design.thumbnailOverlay)
        MoveIconWindow(c.iconWindow, hwnd);
    SetTimer(hwnd, kTimerRepositionGuard, kRepositionGuardMilliseconds, nullptr);
}

void KeepSelectionVisible(Application& app, HWND hwnd, const RECT& selection) {
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

void RestoreWhatThePreviewHid(Application& app) {
    ControllerState& c = app.controller;
    if (c.frameWindow || (c.popupList && FramePreviewHolds(c.altTabOpened, Prefs(app))))
        EndFramePreview(app, true);
}

void ResetController(Application& app) {
    ControllerState& c = app.controller;
    RestoreWhatThePreviewHid(app);
    if (c.iconWindow)
        DestroyWindow(c.iconWindow);
    UnregisterThumbnails(app.program.services.thumbnails, c.thumbnails);
    ReleasePopupList(app);
    ClearIconCache(c.iconCache);
    c.selectionTools = SelectionTools{};
    c.selectionPainted = false;
    c.surface.Release();
    c.selection = SelectionState{};
    c.altTabOpened = false;
    c.closeTarget = nullptr;
    c.previousForeground = nullptr;
    c.repositionGuard = false;
    c.frameWindow = nullptr;
    c.iconWindow = nullptr;
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
    return app.controller.popupList != nullptr;
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
        BuildCommandList(*program.commandList, Prefs(app), Flags(app).LauncherOnly, pixels, program.instance);
    }
    if (program.launcherList)
        ReloadLauncherIcons(*program.launcherList, pixels);
    program.listIconSize = pixels;
}

POINT CentredPopupPosition(const RECT& monitor, SIZE popup) {
    const int width = monitor.right - monitor.left;
    const int height = monitor.bottom - monitor.top;
    return {monitor.left + (width < 0 ? -width : width) / 2 - popup.cx / 2,
            monitor.top + (height < 0 ? -height : height) / 2 - popup.cy / 2};
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

LRESULT OnOpenPopup(Application& app, HWND hwnd, LPARAM lParam) {
    ControllerState& c = app.controller;
    if (c.popupList)
        return 0;
    if (lParam == 1)
        c.altTabOpened = true;
    // Everything is laid out for the DPI of the cursor's monitor, where the popup opens (not for
    // the monitor the hidden popup was last on).
    POINT cursor{};
    GetCursorPos(&cursor);
    const MonitorPlace place = MonitorAtPoint(app.program.services.dpi, cursor);
    const RECT monitor = place.monitor;
    c.dpi = place.dpi;
    c.design = DesignForDpi(app.program.design, c.dpi);
    PrepareListIcons(app, c.design.iconSize);
    c.popupList = CreateItemList();
    if (!Flags(app).LauncherOnly)
        FillWindowSection(app, hwnd, *c.popupList);

    if (!PopupHasSomethingToShow(c.popupList->count, LauncherCount(app), Prefs(app).ToggleDesktop != 0)) {
        ReleasePopupList(app);
        c.altTabOpened = false;
        EndNotResident(app, hwnd);
        return 0;
    }

    c.narrowing.monitor = place.handle;
    if (Prefs(app).MonitorScope) {
        c.narrowing.narrowing.thisMonitorOnly = true;
        ApplyNarrowing(c.narrowing, *c.popupList, app.program.launcherList.get(), nullptr);
    }
    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const LauncherList& launchers =
        ListedLaunchers(c.narrowing, app.program.launcherList ? *app.program.launcherList : emptyLaunchers);
    const ItemList& commands = app.program.commandList ? *app.program.commandList : emptyCommands;
    const std::wstring header = NarrowingHeader(
        c.narrowing.narrowing, LoadText(ProgramLanguage(app.program), IDS_SCOPE_THIS_MONITOR));
    const int textWidth = RenderPopup(hwnd, *c.popupList, launchers, commands, c.design, DesktopRow(app),
                                      c.surface, c.dpi, app.program.services.dpi, header);

    c.selection.windowCount = c.popupList->count;
    c.selection.launcherCount = launchers.count;
    c.selection.commandCount = commands.count;
    c.selection.textColumnWidth = textWidth;
    c.selection.headerHeight = header.empty() ? 0 : HeaderHeight(c.design);
    SelectAfterNarrowing(c.selection, -1, CancelEntryIndex(commands));
    c.selectionPainted = false;
    c.selectionTools = MakeSelectionTools(c.design, c.dpi, app.program.services.dpi);

    if (app.program.design.thumbnail) {
        RegisterThumbnails(app.program.services.thumbnails, c.thumbnails, hwnd, *c.popupList, c.selection,
                           c.design, Prefs(app).ToggleDesktop != 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN));
    }

    c.previousForeground = GetForegroundWindow();
    const POINT at = CentredPopupPosition(monitor, {c.surface.width, c.surface.height});

    if (FramePreviewHolds(c.altTabOpened, Prefs(app))) {
        c.frameWindow = CreateFrameWindow(app.program.instance, c.popupList.get(), c.dpi);
        PutAwayOtherWindows(app.program.services, *c.popupList,
                            SelectionInWindows(app) ? c.selection.index : -1, Prefs(app).Altab7_Hide != 0);
    }

    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, c.surface.width, c.surface.height, SWP_SHOWWINDOW);
    TakeForeground(hwnd);
    Log(L"popup opened%ls: %d windows, %d launcher entries, %d commands, %u dpi",
        c.altTabOpened ? L" (Alt+Tab)" : L"", c.selection.windowCount, c.selection.launcherCount,
        c.selection.commandCount, c.dpi);

    if (app.program.design.thumbnail && app.program.design.thumbnailOverlay) {
        c.iconWindow = CreateIconWindow(app.program.instance, hwnd, c.popupList.get(), c.selection, c.design,
                                        DesktopRow(app), c.dpi);
    }

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
    if (!c.popupList)
        return 0;
    if (AllWindows(c.narrowing, *c.popupList).count == 0 && LauncherCount(app) == 0)
        return 0;
    if (Prefs(app).ClickMode && !c.altTabOpened && !Flags(app).NotResident)
        return 0;
    const bool framePreview = FramePreviewHolds(c.altTabOpened, Prefs(app));
    const bool hide = Prefs(app).Altab7_Hide != 0;
    if (framePreview && SelectionInWindows(app))
        PutAwaySelectedWindow(app.program.services, *c.popupList, c.selection.index, hide);
    const short delta = static_cast<short>(HIWORD(wParam));
    if (delta < 0) {
        SelectNext(c.selection);
    } else if (delta > 0) {
        SelectPrevious(c.selection, true);
    }
    if (framePreview && SelectionInWindows(app)) {
        RestackPreview(c.frameWindow, hwnd);
        ShowSelectedWindow(*c.popupList, c.selection.index, hide);
    }
    Repaint(app, hwnd);
    return 0;
}

LRESULT OnChoose(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    const bool framePreview = FramePreviewHolds(c.altTabOpened, Prefs(app));
    HWND chosen = SelectionInWindows(app) ? c.popupList->slots[c.selection.index].window
                                          : SelectedEntryRunningWindow(app);
    // A launcher entry's program starts while the popup still holds the foreground, and takes it.
    if (!chosen && c.popupList && c.selection.section == SectionLauncher) {
        StartLauncherEntry(app, hwnd, ProgramLauncherIndex(c.narrowing, c.selection.index));
        c.previousForeground = nullptr;
    }
    if (!CommonCloseStart(app, hwnd, chosen))
        return 0;
    Log(L"popup closed: entry %d of section %d chosen", c.selection.index, c.selection.section);
    const bool toggled = !Flags(app).NotResident && SelectedCommandIs(app, KindDesktopToggle);
    if (toggled)
        ToggleDesktop(app);
    if (framePreview || c.frameWindow)
        EndFramePreview(app, !toggled);
    c.altTabOpened = false;
    ActOnSelection(app, hwnd, chosen);
    ReleasePopupList(app);
    EndNotResident(app, hwnd);
    return 0;
}

LRESULT OnCancel(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    const bool framePreview = FramePreviewHolds(c.altTabOpened, Prefs(app));
    if (!CommonCloseStart(app, hwnd, nullptr))
        return 0;
    Log(L"popup closed without a choice");
    if (framePreview || c.frameWindow)
        EndFramePreview(app, true);
    c.altTabOpened = false;
    ReleasePopupList(app);
    EndNotResident(app, hwnd);
    return 0;
}

LRESULT OnMouseMove(Application& app, HWND hwnd, LPARAM lParam) {
    ControllerState& c = app.controller;
    if (!c.popupList || c.repositionGuard)
        return 0;
    if (Flags(app).NotResident && !Flags(app).CursorCentring)
        return 0;
    if (!StayOpen(app))
        return 0;
    StopEdgeTimers(hwnd);
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int screenY = window.top + GET_Y_LPARAM(lParam);
    const UINT_PTR timer = EdgeTimerFor(screenY, MonitorOfPopup(hwnd), c.design.itemSpace, c.design.iconSize);
    if (timer) {
        SetTimer(hwnd, timer, kEdgeTimerMilliseconds, nullptr);
    } else if (SelectAtPoint(c.selection, c.design, DesktopRow(app), lParam)) {
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
    const bool altTabStaysOpen = c.popupList && c.altTabOpened && StayOpen(app);
    // Moved at once, so a click that follows the wheel chooses what the wheel selected.
    if (Prefs(app).ClickMode || altTabStaysOpen)
        OnMoveSelection(app, hwnd, wParam);
    return 0;
}

LRESULT OnTimer(Application& app, HWND hwnd, WPARAM id) {
    ControllerState& c = app.controller;
    switch (id) {
    case kTimerStepForward:
        if (c.popupList && StepForward(c.selection))
            Repaint(app, hwnd);
        break;
    case kTimerStepBack:
        if (c.popupList && SelectPrevious(c.selection, false))
            Repaint(app, hwnd);
        break;
    case kTimerRepositionGuard:
        c.repositionGuard = false;
        KillTimer(hwnd, kTimerRepositionGuard);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnPaint(Application& app, HWND hwnd) {
    ControllerState& c = app.controller;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (c.popupList && c.surface) {
        // Only what was invalidated: a selection step asks for its two rows alone.
        const RECT& area = ps.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, c.surface.dc(),
               area.left, area.top, SRCCOPY);
        RECT selection{};
        if (GetCursorRect(c.selection, c.design, DesktopRow(app), &selection)) {
            KeepSelectionVisible(app, hwnd, selection);
            static const LauncherList emptyLaunchers;
            static const ItemList emptyCommands;
            PaintSelection(dc, c.selection, c.design, DesktopRow(app), *c.popupList,
                           ListedLaunchers(c.narrowing, app.program.launcherList ? *app.program.launcherList
                                                                                 : emptyLaunchers),
                           app.program.commandList ? *app.program.commandList : emptyCommands, c.dpi,
                           &c.selectionTools);
            c.paintedSelection = c.selection;
            c.selectionPainted = true;
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnActivateApp(Application& app, HWND hwnd, WPARAM active) {
    if (!active && PopupIsOpen(app) && StayOpen(app) && IsWindowVisible(hwnd))
        PostMessageW(hwnd, kMsgCancel, 0, 0);
    return 0;
}

LRESULT OnKeyDown(Application& app, HWND hwnd, WPARAM key) {
    ControllerState& c = app.controller;
    if (!c.popupList || !StayOpen(app))
        return 0;
    const bool shift =
        (GetAsyncKeyState(VK_SHIFT) | GetAsyncKeyState(VK_LSHIFT) | GetAsyncKeyState(VK_RSHIFT)) < 0;
    switch (KeyActionFor(key, shift)) {
    case KeyAction::Next:
        SelectNext(c.selection);
        Repaint(app, hwnd);
        break;
    case KeyAction::Previous:
        SelectPrevious(c.selection, true);
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
    const bool framePreview = FramePreviewHolds(c.altTabOpened, prefs);
    const bool hide = prefs.Altab7_Hide != 0;
    HWND keep = keepSelectedWindow && SelectionInWindows(app) ? c.popupList->slots[c.selection.index].window
                                                              : nullptr;
    if (framePreview && SelectionInWindows(app))
        PutAwaySelectedWindow(program.services, *c.popupList, c.selection.index, hide);
    if (program.design.thumbnail) {
        if (c.iconWindow)
            DestroyWindow(c.iconWindow);
        c.iconWindow = nullptr;
        UnregisterThumbnails(program.services.thumbnails, c.thumbnails);
    }

    WindowFactsSource source;
    source.memo = &program.pathMemo;
    const int kept = ApplyNarrowing(c.narrowing, *c.popupList, program.launcherList.get(), keep, source);
    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const LauncherList& launchers =
        ListedLaunchers(c.narrowing, program.launcherList ? *program.launcherList : emptyLaunchers);
    const ItemList& commands = program.commandList ? *program.commandList : emptyCommands;
    const std::wstring header =
        NarrowingHeader(c.narrowing.narrowing, LoadText(ProgramLanguage(program), IDS_SCOPE_THIS_MONITOR));
    c.selection.textColumnWidth =
        RenderPopup(hwnd, *c.popupList, launchers, commands, c.design, DesktopRow(app), c.surface, c.dpi,
                    program.services.dpi, header);
    c.selection.windowCount = c.popupList->count;
    c.selection.launcherCount = launchers.count;
    c.selection.commandCount = commands.count;
    c.selection.headerHeight = header.empty() ? 0 : HeaderHeight(c.design);
    SelectAfterNarrowing(c.selection, kept, CancelEntryIndex(commands));
    Log(L"popup narrowed%ls%ls: %d windows, %d launcher entries",
        c.narrowing.narrowing.thisMonitorOnly ? L" to its monitor" : L"",
        c.narrowing.narrowing.filter.empty() ? L"" : L" by a filter", c.selection.windowCount,
        c.selection.launcherCount);

    if (program.design.thumbnail) {
        RegisterThumbnails(program.services.thumbnails, c.thumbnails, hwnd, *c.popupList, c.selection,
                           c.design, prefs.ToggleDesktop != 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN));
    }
    if (framePreview) {
        // The overlay marks the listed windows: made anew for the new list.
        if (c.frameWindow)
            DestroyWindow(c.frameWindow);
        c.frameWindow = CreateFrameWindow(program.instance, c.popupList.get(), c.dpi);
        PutAwayOtherWindows(program.services, *c.popupList, SelectionInWindows(app) ? c.selection.index : -1,
                            hide);
        if (SelectionInWindows(app)) {
            RestackPreview(c.frameWindow, hwnd);
            ShowSelectedWindow(*c.popupList, c.selection.index, hide);
        }
    }
    // Centred on its own monitor, like at the open. The rows move under a resting cursor: the
    // mouse moves that the move makes must not select what now lies there.
    const POINT at =
        CentredPopupPosition(MonitorRectOf(c.narrowing.monitor), {c.surface.width, c.surface.height});
    SetWindowPos(hwnd, nullptr, at.x, at.y, c.surface.width, c.surface.height, SWP_NOZORDER | SWP_NOACTIVATE);
    StopEdgeTimers(hwnd);
    c.repositionGuard = true;
    SetTimer(hwnd, kTimerRepositionGuard, kRepositionGuardMilliseconds, nullptr);
    if (program.design.thumbnail && program.design.thumbnailOverlay) {
        c.iconWindow = CreateIconWindow(program.instance, hwnd, c.popupList.get(), c.selection, c.design,
                                        DesktopRow(app), c.dpi);
    }
    c.selectionPainted = false;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void SetScope(Application& app, HWND hwnd, bool thisMonitorOnly) {
    ControllerState& c = app.controller;
    // Set by direction: a tilt held down repeats, and must not flip the scope back and forth.
    if (!c.popupList || c.narrowing.narrowing.thisMonitorOnly == thisMonitorOnly)
        return;
    c.narrowing.narrowing.thisMonitorOnly = thisMonitorOnly;
    ShowNarrowedList(app, hwnd, true);
}

} // namespace

LRESULT OnChar(Application& app, HWND hwnd, WPARAM character) {
    ControllerState& c = app.controller;
    if (!c.popupList || !StayOpen(app) || !Prefs(app).TypeToFilter)
        return 0;
    if (EditFilter(c.narrowing.narrowing.filter, static_cast<wchar_t>(character)))
        ShowNarrowedList(app, hwnd, false);
    return 0;
}

LRESULT OnTilt(Application& app, HWND hwnd, WPARAM right) {
    SetScope(app, hwnd, right == 1);
    return 0;
}

LRESULT OnHorizontalWheel(Application& app, HWND hwnd, WPARAM wParam) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (delta != 0)
        SetScope(app, hwnd, delta > 0);
    return 0;
}

} // namespace mw

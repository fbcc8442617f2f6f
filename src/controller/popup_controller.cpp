#include "controller/popup_controller.h"

#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "hook/hook.h"
#include "controller/activation.h"
#include "model/list_building.h"
#include "model/program_state.h"
#include "model/window_list.h"
#include "controller/frame_preview.h"
#include "platform/log.h"
#include "view/design.h"
#include "view/frame_window.h"
#include "view/icon_window.h"

namespace mw {

namespace {

const Preferences& Prefs() {
    return CurrentPreferences();
}
const StartupFlags& Flags() {
    return CurrentStartupFlags();
}

// The desktop entry is drawn as a thumbnail row only in thumbnail mode; the layout checks that.
bool DesktopRow() {
    return Prefs().ToggleDesktop != 0;
}

int LauncherCount() {
    const LauncherList* list = Program().launcherList.get();
    return list ? list->count : 0;
}

bool StayOpen() {
    return StayOpenMode(Controller().altTabOpened, Prefs());
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
void Repaint(HWND hwnd) {
    ControllerState& c = Controller();
    RECT before{}, after{};
    if (!c.selectionPainted || !GetCursorRect(c.paintedSelection, c.design, DesktopRow(), &before) ||
        !GetCursorRect(c.selection, c.design, DesktopRow(), &after)) {
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

void FillWindowSection(HWND hwnd, ItemList& list) {
    ControllerState& c = Controller();
    // The design's size picks the icon's source; the popup's DPI the size it is taken at.
    const int iconSize = CurrentDesign().iconSize;
    if (c.windowSource) {
        c.windowSource(list, iconSize);
    } else {
        EnumerateTopLevelWindows(list, iconSize, c.design.iconSize, &c.iconCache);
    }
    if (list.count > 0) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        c.closeTarget = GetGUIThreadInfo(0, &info) ? info.hwndActive : nullptr;
        if (c.closeTarget == hwnd)
            c.closeTarget = nullptr;
        if (Program().commandList)
            SetCloseEntryLabels(*Program().commandList, CloseEntryLabel(c.closeTarget).c_str());
    } else {
        c.closeTarget = nullptr;
    }
    if (Prefs().ArrangeWindow)
        ArrangeByProgram(list);
}

void ReleasePopupList() {
    ControllerState& c = Controller();
    if (c.popupList) {
        // The copies of windows that are still there are kept for the next open.
        ReturnLentIcons(c.iconCache, *c.popupList);
        ClearItemList(*c.popupList);
    }
    c.popupList.reset();
}

void EndNotResident(HWND hwnd) {
    if (Flags().NotResident)
        DestroyWindow(hwnd);
}

// A hidden popup must not keep the keyboard, and not every system passes the activation on when
// the active window hides: the foreground goes first to the window that is about to be
// activated, else to the one that was in front when the popup opened. Handing it to the old
// front window and then on to the chosen one would leave two activations on their way to two
// other programs, and the slower one could end in front.
void HandBackForeground(HWND hwnd, HWND chosen) {
    const bool toChosen = chosen && chosen != hwnd && IsWindow(chosen);
    HWND previous = toChosen ? chosen : Controller().previousForeground;
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
bool CommonCloseStart(HWND hwnd, HWND chosen) {
    ControllerState& c = Controller();
    if (!c.popupList)
        return false;
    if (c.popupList->count == 0 && LauncherCount() == 0)
        return false;
    HandBackForeground(hwnd, chosen);
    ShowWindow(hwnd, SW_HIDE);
    HandBackForeground(hwnd, chosen);
    c.surface.Release();
    StopEdgeTimers(hwnd);
    KillTimer(hwnd, kTimerRepositionGuard);
    c.repositionGuard = false;
    if (CurrentDesign().thumbnail) {
        if (c.iconWindow && CurrentDesign().thumbnailOverlay)
            DestroyWindow(c.iconWindow);
        c.iconWindow = nullptr;
        UnregisterThumbnails(c.thumbnails);
    }
    return true;
}

// Ends the frame preview: the overlay goes and every put-away window comes back. Without
// `restoreWindows` (the desktop toggle has just set every window's state) only the windows the
// preview hid and nothing showed again come back, in the state they are in (a minimised one as
// minimised); their records go either way.
void EndFramePreview(bool restoreWindows) {
    ControllerState& c = Controller();
    if (c.frameWindow)
        DestroyWindow(c.frameWindow);
    c.frameWindow = nullptr;
    if (restoreWindows && c.popupList && c.popupList->count > 0) {
        RestorePreviewedWindows(*c.popupList, Prefs().Altab7_Hide != 0);
    } else {
        RestoreWindowsLeftHidden();
    }
}

bool SelectionInWindows() {
    const ControllerState& c = Controller();
    return c.selection.section == SectionWindows && c.popupList && c.selection.index >= 0 &&
           c.selection.index < c.popupList->count;
}

bool SelectedCommandIs(int kind) {
    const ControllerState& c = Controller();
    const ItemList* commands = Program().commandList.get();
    return c.selection.section == SectionCommands && commands && c.selection.index >= 0 &&
           c.selection.index < commands->count && commands->slots[c.selection.index].kind == kind;
}

// Minimises every listed window, or brings back what the last use minimised.
void ToggleDesktop() {
    ItemList& popup = *Controller().popupList;
    ItemList* saved = Program().savedWindowList.get();
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

void StartLauncherEntry(HWND hwnd, int index) {
    const LauncherList* list = Program().launcherList.get();
    if (!list || index < 0 || index >= list->count)
        return;
    const LauncherEntry& entry = list->slots[index];
    const std::wstring path = entry.path;
    const std::wstring parameters = entry.commandLine;
    const std::wstring folder = entry.workFolder;
    ShellExecuteW(hwnd, L"open", path.c_str(), parameters.c_str(), folder.c_str(), SW_SHOWDEFAULT);
}

void CloseTargetWindow() {
    HWND target = Controller().closeTarget;
    if (!target || !IsWindow(target))
        return;
    wchar_t title[TextBufferLength] = {};
    GetWindowTextW(target, title, TextBufferLength);
    if (title[0] != L'\0')
        PostMessageW(target, WM_CLOSE, 0, 0);
}

void ActOnSelection(HWND hwnd) {
    const ControllerState& c = Controller();
    switch (c.selection.section) {
    case SectionWindows:
        if (c.selection.index >= 0 && c.selection.index < c.popupList->count) {
            ActivateWindow(c.popupList->slots[c.selection.index].window,
                           {Prefs().MoveWindow == 1, Prefs().AdjustCursor == 1});
        }
        break;
    case SectionLauncher:
        StartLauncherEntry(hwnd, c.selection.index);
        break;
    case SectionCommands:
        if (SelectedCommandIs(KindCloseWindow))
            CloseTargetWindow();
        break;
    default:
        break;
    }
}

void MovePopupTo(HWND hwnd, int left, int top) {
    ControllerState& c = Controller();
    SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    c.repositionGuard = true;
    if (c.iconWindow && CurrentDesign().thumbnailOverlay)
        MoveIconWindow(c.iconWindow, hwnd);
    SetTimer(hwnd, kTimerRepositionGuard, kRepositionGuardMilliseconds, nullptr);
}

void KeepSelectionVisible(HWND hwnd, const RECT& selection) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    const RECT monitor = MonitorOfPopup(hwnd);
    int top = 0;
    if (KeepSelectionOnMonitor(window.top, selection.top, selection.bottom, monitor.top, monitor.bottom,
                               &top)) {
        MovePopupTo(hwnd, window.left, top);
    }
}

} // namespace

ControllerState& Controller() {
    static ControllerState state;
    return state;
}

void RestoreWhatThePreviewHid() {
    ControllerState& c = Controller();
    if (c.frameWindow || (c.popupList && FramePreviewHolds(c.altTabOpened, Prefs())))
        EndFramePreview(true);
}

void ResetController() {
    ControllerState& c = Controller();
    RestoreWhatThePreviewHid();
    if (c.iconWindow)
        DestroyWindow(c.iconWindow);
    UnregisterThumbnails(c.thumbnails);
    ReleasePopupList();
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

bool PopupIsOpen() {
    return Controller().popupList != nullptr;
}

bool StayOpenMode(bool altTabOpened, const Preferences& prefs) {
    return altTabOpened ? prefs.ReplaceAltTab == 1 : prefs.ClickMode != 0;
}

bool FramePreviewHolds(bool altTabOpened, const Preferences& prefs) {
    if (!prefs.Altab7)
        return false;
    return (!altTabOpened && !prefs.ClickMode) || (altTabOpened && prefs.ReplaceAltTab == 2);
}

void PrepareListIcons(int pixels) {
    ProgramState& program = Program();
    if (ListIconPixels(program, CurrentDesign().iconSize) == pixels)
        return;
    if (program.commandList) {
        BuildCommandList(*program.commandList, Prefs(), Flags().LauncherOnly, pixels, program.instance);
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

LRESULT OnOpenPopup(HWND hwnd, LPARAM lParam) {
    ControllerState& c = Controller();
    if (c.popupList)
        return 0;
    if (lParam == 1)
        c.altTabOpened = true;
    // Everything is laid out for the DPI of the cursor's monitor, where the popup opens (not for
    // the monitor the hidden popup was last on).
    POINT cursor{};
    GetCursorPos(&cursor);
    const MonitorPlace place = MonitorAtPoint(cursor);
    const RECT monitor = place.monitor;
    c.dpi = place.dpi;
    c.design = DesignForDpi(CurrentDesign(), c.dpi);
    PrepareListIcons(c.design.iconSize);
    c.popupList = CreateItemList();
    if (!Flags().LauncherOnly)
        FillWindowSection(hwnd, *c.popupList);

    if (!PopupHasSomethingToShow(c.popupList->count, LauncherCount(), Prefs().ToggleDesktop != 0)) {
        ReleasePopupList();
        c.altTabOpened = false;
        EndNotResident(hwnd);
        return 0;
    }

    static const LauncherList emptyLaunchers;
    static const ItemList emptyCommands;
    const LauncherList& launchers = Program().launcherList ? *Program().launcherList : emptyLaunchers;
    const ItemList& commands = Program().commandList ? *Program().commandList : emptyCommands;
    const int textWidth =
        RenderPopup(hwnd, *c.popupList, launchers, commands, c.design, DesktopRow(), c.surface, c.dpi);

    c.selection.windowCount = c.popupList->count;
    c.selection.launcherCount = launchers.count;
    c.selection.commandCount = commands.count;
    c.selection.textColumnWidth = textWidth;
    c.selection.section = c.selection.windowCount > 0 ? SectionWindows : SectionLauncher;
    c.selection.index = 0;
    c.selectionPainted = false;
    c.selectionTools = MakeSelectionTools(c.design, c.dpi);

    if (CurrentDesign().thumbnail) {
        RegisterThumbnails(c.thumbnails, hwnd, *c.popupList, c.selection, c.design,
                           Prefs().ToggleDesktop != 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN));
    }

    c.previousForeground = GetForegroundWindow();
    const POINT at = CentredPopupPosition(monitor, {c.surface.width, c.surface.height});

    if (FramePreviewHolds(c.altTabOpened, Prefs())) {
        c.frameWindow = CreateFrameWindow(Program().instance, c.popupList.get(), c.dpi);
        PutAwayOtherWindows(*c.popupList, SelectionInWindows() ? c.selection.index : -1,
                            Prefs().Altab7_Hide != 0);
    }

    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, c.surface.width, c.surface.height, SWP_SHOWWINDOW);
    TakeForeground(hwnd);
    Log(L"popup opened%ls: %d windows, %d launcher entries, %d commands, %u dpi",
        c.altTabOpened ? L" (Alt+Tab)" : L"", c.selection.windowCount, c.selection.launcherCount,
        c.selection.commandCount, c.dpi);

    if (CurrentDesign().thumbnail && CurrentDesign().thumbnailOverlay) {
        c.iconWindow = CreateIconWindow(Program().instance, hwnd, c.popupList.get(), c.selection, c.design,
                                        DesktopRow(), c.dpi);
    }

    const bool centreCursor =
        Flags().NotResident ? Flags().CursorCentring : (Prefs().ToCenter != 0 && Prefs().ClickMode != 0);
    if (centreCursor) {
        SetCursorPos(monitor.left + (monitor.right - monitor.left) / 2,
                     monitor.top + (monitor.bottom - monitor.top) / 2);
    }
    return 0;
}

LRESULT OnMoveSelection(HWND hwnd, WPARAM wParam) {
    ControllerState& c = Controller();
    if (!c.popupList)
        return 0;
    if (c.popupList->count == 0 && LauncherCount() == 0)
        return 0;
    if (Prefs().ClickMode && !c.altTabOpened && !Flags().NotResident)
        return 0;
    const bool framePreview = FramePreviewHolds(c.altTabOpened, Prefs());
    const bool hide = Prefs().Altab7_Hide != 0;
    if (framePreview && SelectionInWindows())
        PutAwaySelectedWindow(*c.popupList, c.selection.index, hide);
    const short delta = static_cast<short>(HIWORD(wParam));
    if (delta < 0) {
        SelectNext(c.selection);
    } else if (delta > 0) {
        SelectPrevious(c.selection, true);
    }
    if (framePreview && SelectionInWindows()) {
        RestackPreview(c.frameWindow, hwnd);
        ShowSelectedWindow(*c.popupList, c.selection.index, hide);
    }
    Repaint(hwnd);
    return 0;
}

LRESULT OnChoose(HWND hwnd) {
    ControllerState& c = Controller();
    const bool framePreview = FramePreviewHolds(c.altTabOpened, Prefs());
    HWND chosen = SelectionInWindows() ? c.popupList->slots[c.selection.index].window : nullptr;
    if (!CommonCloseStart(hwnd, chosen))
        return 0;
    Log(L"popup closed: entry %d of section %d chosen", c.selection.index, c.selection.section);
    const bool toggled = !Flags().NotResident && SelectedCommandIs(KindDesktopToggle);
    if (toggled)
        ToggleDesktop();
    if (framePreview || c.frameWindow)
        EndFramePreview(!toggled);
    c.altTabOpened = false;
    ActOnSelection(hwnd);
    ReleasePopupList();
    EndNotResident(hwnd);
    return 0;
}

LRESULT OnCancel(HWND hwnd) {
    ControllerState& c = Controller();
    const bool framePreview = FramePreviewHolds(c.altTabOpened, Prefs());
    if (!CommonCloseStart(hwnd, nullptr))
        return 0;
    Log(L"popup closed without a choice");
    if (framePreview || c.frameWindow)
        EndFramePreview(true);
    c.altTabOpened = false;
    ReleasePopupList();
    EndNotResident(hwnd);
    return 0;
}

LRESULT OnMouseMove(HWND hwnd, LPARAM lParam) {
    ControllerState& c = Controller();
    if (!c.popupList || c.repositionGuard)
        return 0;
    if (Flags().NotResident && !Flags().CursorCentring)
        return 0;
    if (!StayOpen())
        return 0;
    StopEdgeTimers(hwnd);
    RECT window{};
    GetWindowRect(hwnd, &window);
    const int screenY = window.top + GET_Y_LPARAM(lParam);
    const UINT_PTR timer = EdgeTimerFor(screenY, MonitorOfPopup(hwnd), c.design.itemSpace, c.design.iconSize);
    if (timer) {
        SetTimer(hwnd, timer, kEdgeTimerMilliseconds, nullptr);
    } else if (SelectAtPoint(c.selection, c.design, DesktopRow(), lParam)) {
        Repaint(hwnd);
    }
    return 0;
}

LRESULT OnLeftButtonUp(HWND hwnd) {
    if (PopupIsOpen() && StayOpen())
        PostMessageW(hwnd, kMsgChoose, 0, 0);
    return 0;
}

LRESULT OnWheel(HWND hwnd, WPARAM wParam, LPARAM) {
    // In click mode the wheel over the popup steps the selection (OnMoveSelection leaves it to the
    // cursor in resident click mode). The Alt+Tab popup that stays open takes the wheel whatever
    // the click mode: the hook only turns the wheel into steps while a button is held.
    const ControllerState& c = Controller();
    const bool altTabStaysOpen = c.popupList && c.altTabOpened && StayOpen();
    // Moved at once, so a click that follows the wheel chooses what the wheel selected.
    if (Prefs().ClickMode || altTabStaysOpen)
        OnMoveSelection(hwnd, wParam);
    return 0;
}

LRESULT OnTimer(HWND hwnd, WPARAM id) {
    ControllerState& c = Controller();
    switch (id) {
    case kTimerStepForward:
        if (c.popupList && StepForward(c.selection))
            Repaint(hwnd);
        break;
    case kTimerStepBack:
        if (c.popupList && SelectPrevious(c.selection, false))
            Repaint(hwnd);
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

LRESULT OnPaint(HWND hwnd) {
    ControllerState& c = Controller();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (c.popupList && c.surface) {
        // Only what was invalidated: a selection step asks for its two rows alone.
        const RECT& area = ps.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, c.surface.dc(),
               area.left, area.top, SRCCOPY);
        RECT selection{};
        if (GetCursorRect(c.selection, c.design, DesktopRow(), &selection)) {
            KeepSelectionVisible(hwnd, selection);
            static const LauncherList emptyLaunchers;
            static const ItemList emptyCommands;
            PaintSelection(dc, c.selection, c.design, DesktopRow(), *c.popupList,
                           Program().launcherList ? *Program().launcherList : emptyLaunchers,
                           Program().commandList ? *Program().commandList : emptyCommands, c.dpi,
                           &c.selectionTools);
            c.paintedSelection = c.selection;
            c.selectionPainted = true;
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnActivateApp(HWND hwnd, WPARAM active) {
    if (!active && PopupIsOpen() && StayOpen() && IsWindowVisible(hwnd))
        PostMessageW(hwnd, kMsgCancel, 0, 0);
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, WPARAM key) {
    ControllerState& c = Controller();
    if (!c.popupList || !StayOpen())
        return 0;
    const bool shift =
        (GetAsyncKeyState(VK_SHIFT) | GetAsyncKeyState(VK_LSHIFT) | GetAsyncKeyState(VK_RSHIFT)) < 0;
    switch (KeyActionFor(key, shift)) {
    case KeyAction::Next:
        SelectNext(c.selection);
        Repaint(hwnd);
        break;
    case KeyAction::Previous:
        SelectPrevious(c.selection, true);
        Repaint(hwnd);
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

} // namespace mw

#include "controller/activation.h"

#include "platform/log.h"

namespace mw {

POINT MoveBetweenMonitors(POINT windowTopLeft, POINT fromMonitor, POINT toMonitor, UINT fromDpi, UINT toDpi) {
    return {toMonitor.x + ScaleBetweenDpis(windowTopLeft.x - fromMonitor.x, fromDpi, toDpi),
            toMonitor.y + ScaleBetweenDpis(windowTopLeft.y - fromMonitor.y, fromDpi, toDpi)};
}

POINT RectCentre(const RECT& r) {
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

namespace {

bool IsToolWindow(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

POINT TopLeft(const RECT& r) {
    return {r.left, r.top};
}

// The monitors the window is on and the cursor is on, each with its DPI; false when they are the
// same. For a minimised window its monitor is the one of its restored rectangle.
bool CursorOnAnotherMonitor(const DpiApi& dpi, HWND window, MonitorPlace* from, MonitorPlace* to) {
    *to = MonitorAtCursor(dpi);
    *from = MonitorOfWindow(dpi, window);
    return to->handle != from->handle;
}

// The window's top-left corner moved from one monitor to the other: the same offset from the
// corner as the user sees it.
POINT MovedCorner(const RECT& r, const MonitorPlace& from, const MonitorPlace& to) {
    return MoveBetweenMonitors(TopLeft(r), TopLeft(from.monitor), TopLeft(to.monitor), from.dpi, to.dpi);
}

// Where the window is on the screen, and for a minimised window where it will be once restored:
// its own rectangle then lies far off-screen (about -32000, -32000), and an asynchronous restore
// has not run yet when it is read. Reading the placement waits on nothing.
RECT RestoredRect(const DpiApi& dpi, HWND window) {
    RECT r{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!IsIconic(window) || !GetWindowPlacement(window, &placement)) {
        GetWindowRect(window, &r);
        return r;
    }
    const MonitorPlace monitor = MonitorOfWindow(dpi, window);
    if (placement.flags & WPF_RESTORETOMAXIMIZED)
        return monitor.work;
    if (IsToolWindow(window))
        return placement.rcNormalPosition;
    return WorkspaceToScreen(placement.rcNormalPosition, monitor.monitor, monitor.work);
}

// Moves a minimised or maximised window to another monitor through its placement, at the same
// offset from the corner: its restored rectangle goes along and a maximised window is maximised
// again on the new monitor (moving it as a rectangle would leave it maximised on the old one, or
// move only the minimised icon). `showCommand` is the state it shows in afterwards. With
// `withoutWaiting` the request is handed to the window's thread instead of waiting for it.
bool MovePlacement(HWND window, const MonitorPlace& from, const MonitorPlace& to, UINT showCommand,
                   bool withoutWaiting) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return false;
    const bool tool = IsToolWindow(window);
    RECT r = tool ? placement.rcNormalPosition
                  : WorkspaceToScreen(placement.rcNormalPosition, from.monitor, from.work);
    const POINT target = MovedCorner(r, from, to);
    OffsetRect(&r, target.x - r.left, target.y - r.top);
    placement.rcNormalPosition = tool ? r : ScreenToWorkspace(r, to.monitor, to.work);
    placement.showCmd = showCommand;
    placement.flags &= WPF_RESTORETOMAXIMIZED; // never move the minimised icon's position
    if (withoutWaiting)
        placement.flags |= WPF_ASYNCWINDOWPLACEMENT;
    return SetWindowPlacement(window, &placement) != FALSE;
}

// Moves the window to the cursor's monitor, when it is on another one, at the same offset from
// the corner. `r` is where the window is (for a minimised one where it will be once restored) and
// becomes where it goes. A minimised window, and a maximised one that is not waited for, moves
// through its placement and is restored or maximised again by it. With `withoutWaiting` every
// request is handed to the window's thread instead of waiting for it. True when the move also restores a
// minimised window.
bool MoveToCursorMonitor(const DpiApi& dpi, HWND window, RECT& r, bool withoutWaiting) {
    MonitorPlace from, to;
    if (!CursorOnAnotherMonitor(dpi, window, &from, &to))
        return false;
    const bool minimised = IsIconic(window) != FALSE;
    const bool maximised = IsZoomed(window) != FALSE;
    if (minimised || (maximised && withoutWaiting)) {
        const POINT target = MovedCorner(r, from, to);
        const bool moved =
            MovePlacement(window, from, to, minimised ? SW_RESTORE : SW_SHOWMAXIMIZED, withoutWaiting);
        if (moved)
            OffsetRect(&r, target.x - r.left, target.y - r.top);
        return moved && minimised;
    }
    // A maximised window that answers is restored, moved in its restored rectangle and maximised
    // again on its new monitor: a new placement alone leaves a window that is maximised already
    // where it is.
    if (maximised) {
        ShowWindow(window, SW_RESTORE);
        GetWindowRect(window, &r);
    }
    const POINT target = MovedCorner(r, from, to);
    const UINT flags = withoutWaiting ? SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS : 0;
    SetWindowPos(window, nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | flags);
    OffsetRect(&r, target.x - r.left, target.y - r.top);
    if (maximised) {
        ShowWindow(window, SW_MAXIMIZE);
        GetWindowRect(window, &r);
    }
    return false;
}

// Whether the window's thread takes a message within a short time. Restoring, moving and raising
// a window of another thread wait until that thread has handled the request; for a thread that
// stopped reading its messages they would wait for ever, and with them the whole program.
bool WindowAnswers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kAnswerTimeoutMilliseconds, &result) != 0;
}

// The same steps for a window that does not answer, each one handed over without waiting. Its
// input is not attached: sharing input with a thread that reads none would stall the foreground.
void ActivateWithoutWaiting(HWND window, const ActivationOptions& options) {
    const bool minimised = IsIconic(window) != FALSE;
    RECT r = RestoredRect(options.dpi, window);
    // For a minimised window a move through its placement is also its restore.
    const bool restoring = options.moveWindow && MoveToCursorMonitor(options.dpi, window, r, true);
    if (minimised && !restoring)
        ShowWindowAsync(window, SW_RESTORE);
    if (options.adjustCursor) {
        const POINT centre = RectCentre(r);
        SetCursorPos(centre.x, centre.y);
    }
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}

} // namespace

bool ForegroundSharingInput(HWND window, DWORD thread, DWORD otherThread, DWORD holdMilliseconds) {
    const bool attached =
        thread && otherThread && thread != otherThread && AttachThreadInput(thread, otherThread, TRUE);
    const bool done = SetForegroundWindow(window) != FALSE;
    if (holdMilliseconds)
        Sleep(holdMilliseconds);
    if (attached)
        AttachThreadInput(thread, otherThread, FALSE);
    return done;
}

void ActivateWindow(HWND window, const ActivationOptions& options) {
    if (!WindowAnswers(window)) {
        // Closed since the list was built (nothing to do), or hung.
        if (IsWindow(window)) {
            Log(L"window %p does not answer: brought forward without waiting for it",
                static_cast<void*>(window));
            ActivateWithoutWaiting(window, options);
        }
        return;
    }
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    if (options.moveWindow) {
        RECT r{};
        GetWindowRect(window, &r);
        MoveToCursorMonitor(options.dpi, window, r, false);
    }
    if (options.adjustCursor) {
        RECT r{};
        GetWindowRect(window, &r);
        const POINT centre = RectCentre(r);
        SetCursorPos(centre.x, centre.y);
    }
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD targetThread = GetWindowThreadProcessId(window, nullptr);
    ForegroundSharingInput(window, targetThread, foregroundThread, kForegroundAttachMilliseconds);
    BringWindowToTop(window);
    SetActiveWindow(window);
    if (GetForegroundWindow() != window)
        Log(L"window %p could not take the foreground (the front window is %p)", static_cast<void*>(window),
            static_cast<void*>(GetForegroundWindow()));
}

} // namespace mw

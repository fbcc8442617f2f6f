#include "model/activation.h"

namespace mw {

POINT MoveBetweenMonitors(POINT windowTopLeft, POINT fromMonitor, POINT toMonitor, UINT fromDpi, UINT toDpi) {
    return {toMonitor.x + ScaleBetweenDpis(windowTopLeft.x - fromMonitor.x, fromDpi, toDpi),
            toMonitor.y + ScaleBetweenDpis(windowTopLeft.y - fromMonitor.y, fromDpi, toDpi)};
}

POINT RectCentre(const RECT& r) {
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

bool RestoredWindowRect(HWND window, RECT* out) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return false;
    *out = placement.rcNormalPosition;
    // Workspace coordinates: relative to the work area of the window's monitor, except for tool
    // windows, which are placed in screen coordinates.
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromRect(out, MONITOR_DEFAULTTONEAREST), &monitor)) {
            OffsetRect(out, monitor.rcWork.left - monitor.rcMonitor.left,
                       monitor.rcWork.top - monitor.rcMonitor.top);
        }
    }
    return true;
}

namespace {

POINT TopLeft(const RECT& r) {
    return {r.left, r.top};
}

// The window's place on the cursor's monitor, from its restored rectangle `r` on its own
// monitor; false when it is on the cursor's monitor already.
bool PlaceOnCursorMonitor(HWND window, const RECT& r, POINT* target) {
    const MonitorPlace to = MonitorAtCursor();
    const MonitorPlace from = MonitorOfWindow(window);
    if (to.handle == from.handle)
        return false;
    *target = MoveBetweenMonitors(TopLeft(r), TopLeft(from.monitor), TopLeft(to.monitor), from.dpi, to.dpi);
    return true;
}

// A maximised window is moved in its restored rectangle and maximised again on its new monitor:
// moving it maximised would leave it with the old monitor's size, and restoring it later would
// take it back.
void MoveToCursorMonitor(HWND window) {
    if (MonitorAtCursor().handle == MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY))
        return;
    const bool maximised = IsZoomed(window) != FALSE;
    if (maximised)
        ShowWindow(window, SW_RESTORE);
    RECT r{};
    GetWindowRect(window, &r);
    POINT target{};
    if (PlaceOnCursorMonitor(window, r, &target))
        SetWindowPos(window, nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (maximised)
        ShowWindow(window, SW_MAXIMIZE);
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
    // Nothing here waits for the window, so its rectangle cannot be read after a restore: the
    // restored rectangle comes from its placement instead.
    const bool minimised = IsIconic(window) != FALSE;
    const bool maximised = IsZoomed(window) != FALSE;
    RECT r{};
    if (minimised || maximised) {
        if (!RestoredWindowRect(window, &r))
            GetWindowRect(window, &r);
    } else {
        GetWindowRect(window, &r);
    }
    if (minimised)
        ShowWindowAsync(window, SW_RESTORE);
    POINT target{};
    if (options.moveWindow && PlaceOnCursorMonitor(window, r, &target)) {
        if (maximised)
            ShowWindowAsync(window, SW_RESTORE);
        SetWindowPos(window, nullptr, target.x, target.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        OffsetRect(&r, target.x - r.left, target.y - r.top);
        if (maximised)
            ShowWindowAsync(window, SW_MAXIMIZE);
    }
    if (options.adjustCursor) {
        const POINT centre = RectCentre(r);
        SetCursorPos(centre.x, centre.y);
    }
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}

} // namespace

void ActivateWindow(HWND window, const ActivationOptions& options) {
    if (!WindowAnswers(window)) {
        // Closed since the list was built (nothing to do), or hung.
        if (IsWindow(window))
            ActivateWithoutWaiting(window, options);
        return;
    }
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    if (options.moveWindow)
        MoveToCursorMonitor(window);
    if (options.adjustCursor) {
        RECT r{};
        GetWindowRect(window, &r);
        const POINT centre = RectCentre(r);
        SetCursorPos(centre.x, centre.y);
    }
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD targetThread = GetWindowThreadProcessId(window, nullptr);
    // The system lets only the foreground's own input queue hand the foreground on; sharing it
    // for a moment lifts that restriction.
    AttachThreadInput(targetThread, foregroundThread, TRUE);
    SetForegroundWindow(window);
    Sleep(kForegroundAttachMilliseconds);
    AttachThreadInput(targetThread, foregroundThread, FALSE);
    BringWindowToTop(window);
    SetActiveWindow(window);
}

} // namespace mw

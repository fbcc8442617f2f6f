#include "model/activation.h"

namespace mw {

POINT MoveBetweenMonitors(POINT windowTopLeft, POINT fromMonitor, POINT toMonitor) {
    return {toMonitor.x + (windowTopLeft.x - fromMonitor.x), toMonitor.y + (windowTopLeft.y - fromMonitor.y)};
}

POINT RectCentre(const RECT& r) { return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2}; }

namespace {

void MoveToCursorMonitor(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    HMONITOR cursorMonitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
    HMONITOR windowMonitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (cursorMonitor == windowMonitor) return;
    MONITORINFO to{};
    to.cbSize = sizeof to;
    MONITORINFO from{};
    from.cbSize = sizeof from;
    GetMonitorInfoW(cursorMonitor, &to);
    GetMonitorInfoW(windowMonitor, &from);
    RECT r{};
    GetWindowRect(window, &r);
    const POINT target = MoveBetweenMonitors({r.left, r.top}, {from.rcMonitor.left, from.rcMonitor.top},
                                             {to.rcMonitor.left, to.rcMonitor.top});
    SetWindowPos(window, nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

void ActivateWindow(HWND window, const ActivationOptions& options) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    if (options.moveWindow) MoveToCursorMonitor(window);
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

}  // namespace mw

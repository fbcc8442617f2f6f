#include "model/activation.h"

namespace mw {

POINT MoveBetweenMonitors(POINT windowTopLeft, POINT fromMonitor, POINT toMonitor) {
    return {toMonitor.x + (windowTopLeft.x - fromMonitor.x), toMonitor.y + (windowTopLeft.y - fromMonitor.y)};
}

POINT RectCentre(const RECT& r) {
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

namespace {

void MoveToCursorMonitor(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    HMONITOR cursorMonitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
    HMONITOR windowMonitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (cursorMonitor == windowMonitor)
        return;
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
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    RECT r{};
    GetWindowRect(window, &r);
    if (options.moveWindow) {
        POINT cursor{};
        GetCursorPos(&cursor);
        HMONITOR cursorMonitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
        HMONITOR windowMonitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
        if (cursorMonitor != windowMonitor) {
            MONITORINFO to{}, from{};
            to.cbSize = from.cbSize = sizeof to;
            GetMonitorInfoW(cursorMonitor, &to);
            GetMonitorInfoW(windowMonitor, &from);
            const POINT target =
                MoveBetweenMonitors({r.left, r.top}, {from.rcMonitor.left, from.rcMonitor.top},
                                    {to.rcMonitor.left, to.rcMonitor.top});
            SetWindowPos(window, nullptr, target.x, target.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
            OffsetRect(&r, target.x - r.left, target.y - r.top);
        }
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

// Bringing the chosen window to the front: restore, optionally move it to the cursor's monitor
// and put the cursor on it, then win the foreground against the system's restrictions.
#pragma once

#include <windows.h>

#include "platform/dpi.h"

namespace mw {

// Where a window that starts at windowTopLeft on a monitor whose rectangle starts at fromMonitor
// lands on the monitor that starts at toMonitor: the same offset from the corner as the user sees
// it, that is the offset in pixels scaled by toDpi / fromDpi (kept exactly when they are equal).
// Only the position: the system, or a window that scales itself, sizes the window on arrival.
POINT MoveBetweenMonitors(POINT windowTopLeft, POINT fromMonitor, POINT toMonitor, UINT fromDpi = kDefaultDpi,
                          UINT toDpi = kDefaultDpi);

// The centre of a rectangle, halves truncated toward zero.
POINT RectCentre(const RECT& r);

// How long the input of the target's thread stays attached to the foreground thread.
constexpr DWORD kForegroundAttachMilliseconds = 400;

// How long the chosen window's thread may take to answer before the window is taken for hung
// and activated without waiting on it.
constexpr UINT kAnswerTimeoutMilliseconds = 250;

struct ActivationOptions {
    bool moveWindow = false;   // "MoveWindow" exactly 1
    bool adjustCursor = false; // "AdjustCursor" exactly 1
    DpiApi dpi = {};           // the monitors' DPIs for the move (the program's services)
};

void ActivateWindow(HWND window, const ActivationOptions& options);

// The system lets only the foreground's own input queue hand the foreground on; sharing it for a
// moment lifts that restriction. Attaches the input of `thread` to that of `otherThread` (when
// they differ), asks for `window` to come to the foreground, keeps the input shared for
// `holdMilliseconds` and detaches it again. True when the request was granted.
bool ForegroundSharingInput(HWND window, DWORD thread, DWORD otherThread, DWORD holdMilliseconds = 0);

} // namespace mw

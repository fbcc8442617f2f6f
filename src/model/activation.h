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

// The restored (normal) rectangle of a window in screen coordinates, also while it is minimised
// or maximised; false when its placement cannot be read.
bool RestoredWindowRect(HWND window, RECT* out);

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
};

void ActivateWindow(HWND window, const ActivationOptions& options);

} // namespace mw

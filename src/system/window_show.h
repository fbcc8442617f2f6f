// Changing how another program's window is shown without waiting for that program. ShowWindow,
// OpenIcon and CloseWindow on a window of another thread wait until that thread has handled the
// change; a program that stopped reading its messages would stall ours with it, and with ours the
// popup and every gesture. These hand the change to the window's thread and return at once.
#pragma once

#include <windows.h>

namespace mw {

// ShowWindow's `command` for `window`: done at once for a window of this thread, handed over
// (ShowWindowAsync) for any other. False when it could not even be handed over.
bool ShowWindowWithoutWaiting(HWND window, int command);

// OpenIcon's restore (the window is activated), handed over likewise.
bool RestoreWindowWithoutWaiting(HWND window);

// CloseWindow's minimise, handed over likewise.
bool MinimiseWindowWithoutWaiting(HWND window);

} // namespace mw

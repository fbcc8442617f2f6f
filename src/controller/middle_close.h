// The middle button over the open popup: it asks the window of an entry to close, as the close
// command entry does, and the popup stays. The entry leaves the list only once its window has
// really gone (a program may ask to save first, and the user may say no), found by a timer that
// looks at the windows asked to close.
#pragma once

#include <windows.h>

#include "controller/application.h"
#include "controller/popup_controller.h"
#include "model/program_state.h"
#include "view/layout.h"

namespace mw {

constexpr UINT kCloseCheckMilliseconds = 100;

// The window of window entry `index` is asked to close and watched until it is gone. Nothing for
// an index that names no window entry.
void CloseWindowEntry(HWND popup, ControllerState& c, int index);

// A window asked to close has left the list: it no longer exists, or it hid itself (a program
// that goes to the notification area). While the frame preview hides the other windows, hidden
// says nothing.
bool WindowHasLeft(HWND window, bool previewHides);

// Takes window entry `index` out of the open popup: the picture, the size and place, the
// thumbnails and overlays follow. When only command entries would be left the popup closes
// instead, as a cancel.
void RemoveWindowEntry(Application& app, HWND popup, int index);

// Message handlers of the main window. The hook's report of a middle click over a gesture
// popup (kMsgMiddleClick) acts on the selected entry; WM_MBUTTONUP over a stay-open popup on the
// entry under the cursor. Each answers 0.
LRESULT OnMiddleClick(Application& app, HWND hwnd);
LRESULT OnMiddleButtonUp(Application& app, HWND hwnd, LPARAM clientPoint);
// The close check's timer; false for any other timer.
bool OnCloseCheckTimer(Application& app, HWND hwnd, WPARAM id);

} // namespace mw

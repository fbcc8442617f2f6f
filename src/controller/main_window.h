// The main window: the receiver of the hook library's messages, the tray icon's owner, and the
// popup itself.
#pragma once

#include <windows.h>

namespace mw {

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace mw

// The main window: the receiver of the hook library's messages, the tray icon's owner, and the
// popup itself.
#pragma once

#include <windows.h>

namespace mw {

// The window is created with the application object as CreateWindowEx's lpParam; it keeps it in
// GWLP_USERDATA and hands it to every handler.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace mw

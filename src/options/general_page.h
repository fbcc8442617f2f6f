// The General page of the options dialog: the Alt+Tab replacement, the command entries of the
// popup, what happens on a switch, the frame display and the startup shortcut.
#pragma once

#include <windows.h>

namespace mw {

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace mw

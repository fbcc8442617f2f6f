// The Program launcher page of the options dialog.
#pragma once

#include <windows.h>

namespace mw {

INT_PTR CALLBACK LauncherPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mw

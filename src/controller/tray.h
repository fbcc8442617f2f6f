// The notification-area icon of the resident program.
#pragma once

#include <windows.h>

namespace mw {

constexpr UINT kMsgTrayCallback = 50209;

bool AddTrayIcon(HWND mainWindow, HINSTANCE instance, bool paused);
bool RemoveTrayIcon(HWND mainWindow);
bool SetTrayIconPaused(HWND mainWindow, HINSTANCE instance, bool paused);

} // namespace mw

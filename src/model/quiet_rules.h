// When gestures and the Alt+Tab replacement stay out of the way: a program the user excluded is
// in front, or the front window fills its monitor (a game, a video, a presentation). Pure rules;
// the hook library is handed their inputs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mw {

// Whether the program at `programPath` is one of `excludedNames` (file names such as
// "mstsc.exe"): its file name compared without regard to case. An unknown path is never excluded.
bool IsProgramExcluded(const std::vector<std::wstring>& excludedNames, const std::wstring& programPath);

// Whether a window's rectangle covers the whole of its monitor's rectangle (a borderless window
// that reaches past the edges does too). An empty monitor rectangle is covered by nothing.
bool CoversMonitor(const RECT& window, const RECT& monitor);

// Whether a window class is the desktop's or the shell's (the desktop and the taskbar cover a
// monitor too, and they are no game).
bool IsDesktopOrShellClass(const wchar_t* className);

// Whether SHQueryUserNotificationState's answer means a full-screen program or a presentation:
// QUNS_BUSY, QUNS_RUNNING_D3D_FULL_SCREEN, QUNS_PRESENTATION_MODE.
bool NotificationStateIsFullScreen(int state);

// The full-screen rule: the shell's answer where it has one that says so, otherwise a window that
// covers its monitor and is neither the desktop nor the shell.
bool ForegroundIsFullScreen(const RECT& window, const RECT& monitor, const wchar_t* className,
                            bool stateKnown, int notificationState);

} // namespace mw

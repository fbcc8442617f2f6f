// What the tray icon does: the right-click menu (exit, options, pause) and the left-click pause.
// The main window procedure calls these handlers:
//   case kMsgTrayCallback: return OnTrayCallback(program, hwnd, lParam);
//   case WM_COMMAND: if (OnTrayCommand(program, hwnd, LOWORD(wParam))) return 0; else DefWindowProc.
#pragma once

#include <windows.h>

#include "model/program_state.h"

namespace mw {

// Mouse messages the tray callback carries in lParam.
constexpr LPARAM kTrayRightButtonUp = WM_RBUTTONUP; // the menu
constexpr LPARAM kTrayLeftButtonUp = WM_LBUTTONUP;  // pause on/off

// A right-button release shows the menu, a left-button release toggles the pause, anything else does nothing.
// Answers 0.
LRESULT OnTrayCallback(ProgramState& program, HWND mainWindow, LPARAM mouseMessage);

// The menu's commands: exit destroys the main window, options opens the dialog with every page,
// pause posts the left-click callback. False for any other id (the caller passes it on).
bool OnTrayCommand(ProgramState& program, HWND mainWindow, WORD id);

// Removes the hook and shows the paused icon, or installs the hook with the current preferences
// and shows the running icon.
void TogglePause(ProgramState& program, HWND mainWindow);

// Shows the tray menu at the cursor and returns when it closes; the chosen command arrives later
// as WM_COMMAND.
void ShowTrayMenu(ProgramState& program, HWND mainWindow);
// The menu is tracked through the program's services (trackPopupMenu); tests put one there that
// inspects the menu and returns.

} // namespace mw

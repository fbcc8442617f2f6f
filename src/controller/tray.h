// The notification-area icon of the resident program.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "controller/timers.h"
#include "hook/messages.h"
#include "model/program_state.h"

namespace mw {

// A failed addition (Explorer not up yet, at log-on) is tried again this often until it works.
constexpr UINT kTrayRetryMilliseconds = 2000;

// What the icon shows: the running or the paused picture, and its tip.
struct TrayLook {
    bool pausedPicture = false;
    std::wstring tip = L"Mistlewick";
};
// The paused picture while paused or while the hook is missing; the tip says why it is missing.
TrayLook TrayLookFor(LANGID language, bool paused, const HookHealth& health);

// Adds the icon as the current state shows it; when that fails, tries again every two seconds
// (OnTrayRetryTimer). `paused` is the tray's pause.
// Lets Explorer's "TaskbarCreated" broadcast and the tray icon's callback reach the main window
// when this program runs at a higher integrity level than Explorer, which would otherwise have
// them dropped; false (logged) when the filter could not be changed.
bool LetTrayMessagesThrough(HWND mainWindow);

bool AddTrayIcon(ProgramState& program, HWND mainWindow, HINSTANCE instance, bool paused);
bool RemoveTrayIcon(ProgramState& program, HWND mainWindow);
// Shows the picture and tip of the current state.
bool UpdateTrayIcon(ProgramState& program, HWND mainWindow, HINSTANCE instance);
// The retry timer: the icon may exist already (an addition that timed out can still have
// added it), so it is modified first and added only when that fails. True when handled.
bool OnTrayRetryTimer(ProgramState& program, HWND mainWindow, UINT_PTR id);

// Every call to the notification area goes through the program's services (notifyIcon), where
// tests put a recorder.

} // namespace mw

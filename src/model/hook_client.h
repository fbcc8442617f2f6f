// The program's side of hook.dll: loading it, installing and removing the hook with the current
// preferences. The library is loaded at run time so a missing or broken hook.dll gives the user a
// message instead of a system loader error.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "settings/preferences.h"
#include "model/program_state.h"

namespace mw {

// The six values in the order StartMouseHook takes them after the window.
std::array<int, 6> HookArguments(const Preferences& prefs);

// The flags SetHookOptions takes for the current preferences (kHookOption...).
int HookOptionFlags(const Preferences& prefs);

// The functions in use; tests may substitute recorders.
HookApi& CurrentHookApi();

// Loads hook.dll from the given folder; false when it or one of its exports is missing.
bool LoadHookLibrary(const std::wstring& folder);
void UnloadHookLibrary();

// SetHookOptions (where the library has it) and StartMouseHook with the window and the current
// preferences; returns the result of StartMouseHook (0 on failure).
int InstallMouseHook(HWND window, const Preferences& prefs);
// EndHook; returns the window of the last installation (null when there is no library).
HWND RemoveMouseHook();
// EndHook followed by StartMouseHook with its result and the current preferences, as the option
// pages do after every change. While the tray's pause is on the hook stays off: the new values
// take effect when the pause ends. False when the library refused: that is noted and told
// (NoteHookRefused), never shown as success.
bool ReinstallMouseHook(const Preferences& prefs, bool paused);

// The hook is installed: every trouble is over.
void NoteHookInstalled();
// StartMouseHook refused after start-up: the tray shows it and the program retries; the user is
// told with a message box once per run. `mainWindow` gets a status message so the tray follows.
void NoteHookRefused(HWND mainWindow);

// The message box that tells of a refused hook; tests substitute a recorder.
HookMessageFn& HookFailureMessage();
std::wstring HookRefusedText();

} // namespace mw

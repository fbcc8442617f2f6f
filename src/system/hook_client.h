// The program's side of hook.dll: loading it, installing and removing the hook with the current
// preferences. The library is loaded at run time so a missing or broken hook.dll gives the user a
// message instead of a system loader error.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "settings/preferences.h"
#include "model/program_state.h"

namespace mw {

// The six values in the order StartMouseHook takes them after the window.
std::array<int, 6> HookArguments(const Preferences& prefs);

// The flags SetHookOptions takes for the current preferences (kHookOption...).
int HookOptionFlags(const Preferences& prefs);

// The excluded program names as SetQuietRules takes them: each ended by a null (the string's own
// terminator ends the list).
std::wstring QuietProgramList(const std::vector<std::wstring>& names);

// The functions in use are the program's services (services.hook), where tests may put recorders.

// Loads hook.dll from the given folder into program.hookLibrary; false when it or one of its
// exports is missing.
bool LoadHookLibrary(ProgramState& program, const std::wstring& folder);
void UnloadHookLibrary(ProgramState& program);

// SetHookOptions and SetQuietRules (where the library has them) and StartMouseHook with the window and the
// current preferences; returns the result of StartMouseHook (0 on failure).
int InstallMouseHook(const ProgramState& program, HWND window, const Preferences& prefs);
// EndHook; returns the window of the last installation (null when there is no library).
HWND RemoveMouseHook(const ProgramState& program);
// EndHook followed by StartMouseHook with its result and the program's preferences, as the
// option pages do after every change. While the tray's pause is on the hook stays off: the new
// values take effect when the pause ends. False when the library refused: that is noted and told
// (NoteHookRefused), never shown as success.
bool ReinstallMouseHook(ProgramState& program);

// Tells hook.dll (SetAltTabListOpen, where the library has it) that a list Alt+Tab opened stays
// open (`open`), so wheel notches anywhere step it, or that it closed. False when the library
// lacks the export.
bool TellHookAltTabListOpen(const ProgramState& program, bool open);

// The hook is installed: every trouble is over.
void NoteHookInstalled(ProgramState& program);
// StartMouseHook refused after start-up: the tray shows it and the program retries; the user is
// told with a message box (services.hookFailureMessage) once per run. `mainWindow` gets a status
// message so the tray follows.
void NoteHookRefused(ProgramState& program, HWND mainWindow);

std::wstring HookRefusedText(LANGID language);

} // namespace mw

// The program's side of hook.dll: loading it, installing and removing the hook with the current
// preferences. The library is loaded at run time so a missing or broken hook.dll gives the user a
// message instead of a system loader error.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "model/preferences.h"

namespace mw {

// The six values in the order StartMouseHook takes them after the window.
std::array<int, 6> HookArguments(const Preferences& prefs);

struct HookApi {
    int (*start)(HWND, int, int, int, int, int, int) = nullptr;
    HWND (*end)() = nullptr;
};

// The functions in use; tests may substitute recorders.
HookApi& CurrentHookApi();

// Loads hook.dll from the given folder; false when it or one of its exports is missing.
bool LoadHookLibrary(const std::wstring& folder);
void UnloadHookLibrary();

// StartMouseHook with the window and the current preferences; returns its result (0 on failure).
int InstallMouseHook(HWND window, const Preferences& prefs);
// EndHook; returns the window of the last installation (null when there is no library).
HWND RemoveMouseHook();
// EndHook followed by StartMouseHook with its result and the current preferences, as the option
// pages do after every change. While the tray's pause is on the hook stays off: the new values
// take effect when the pause ends.
void ReinstallMouseHook(const Preferences& prefs, bool paused);

} // namespace mw

// Starting a launcher entry's program. It is started while the popup still holds the foreground,
// and the new process is allowed to take it, so the program opens in front. When this program
// runs elevated, the entry is started through the shell's desktop instead, at the level of the
// user's desktop: what the user starts from the list must not inherit our rights.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

// What to start: the verb is always "open" and the show state SW_SHOWDEFAULT.
struct LaunchRequest {
    std::wstring path;
    std::wstring parameters;
    std::wstring folder;
};

// The system services the start uses; null members are the system's own (tests put recorders
// there: elevation and the shell's desktop do not exist everywhere).
struct LaunchApi {
    bool (*isElevated)() = nullptr;
    bool (*throughDesktop)(const LaunchRequest& request) = nullptr;
    bool (*direct)(HWND owner, const LaunchRequest& request) = nullptr;
};

enum class LaunchRoute { Direct, Desktop, Failed };

// Starts the request: through the desktop when elevated, and directly when not elevated or when
// the desktop cannot start it. `owner` owns any message the shell shows about a failure.
LaunchRoute LaunchProgram(HWND owner, const LaunchRequest& request, const LaunchApi& api = {});

// The plain shell start with the shell's own error boxes, for a start that failed while the popup
// was up and is tried again once it is gone.
void LaunchShowingErrors(HWND owner, const LaunchRequest& request);

// Whether this process runs with an elevated token while the desktop's shell does not: only then
// does a launcher entry start through the shell, at the normal level.
bool ProcessIsElevated();

// ShellExecuteExW from this process; the started process may take the foreground.
bool LaunchDirectly(HWND owner, const LaunchRequest& request);

// Asks the shell's desktop window (Explorer) to start the request, so it runs at the desktop's
// level; false when there is no shell desktop to ask or it refuses.
bool LaunchThroughDesktop(const LaunchRequest& request);

} // namespace mw

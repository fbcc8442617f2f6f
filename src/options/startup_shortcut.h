// The shortcut in the user's Startup folder that starts the program when the user logs on.
#pragma once

#include <string>

#include "model/program_state.h"

namespace mw {

constexpr wchar_t kShortcutFileName[] = L"Mistlewick.lnk";

// The folder the shortcut lives in: the user's Startup folder, or the services' startupFolder
// when one is set (tests point it at a temporary folder).
std::wstring StartupFolder(const SystemServices& services);
std::wstring StartupShortcutPath(const SystemServices& services);

// 1 when the folder holds a file named like the shortcut, compared without regard to case.
int StartupShortcutExists(const SystemServices& services);
// Creates the shortcut to the running executable unless one exists. Returns 1 when it created
// it, 0 when one was already there or the creation failed. An existing file is never replaced.
// Its description is in `language`.
int CreateStartupShortcut(const SystemServices& services, LANGID language);
// Deletes the shortcut when it exists.
void DeleteStartupShortcut(const SystemServices& services);

} // namespace mw

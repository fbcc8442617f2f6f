// What the program asks about processes and modules, each asked in one place: a module's file
// path, however long, and when a process started.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

// The path of `module`'s file (null: the running executable); "" when it cannot be had.
std::wstring ModuleFilePath(HMODULE module);

// The running executable's full path.
std::wstring ExecutablePath();

// When a process started, as a number (0 when it cannot be told).
ULONGLONG ProcessCreationTime(HANDLE process);

// The same for a process by its identifier. A limited query is enough and is granted even for
// processes of higher integrity.
ULONGLONG ProcessCreationTime(DWORD processId);

} // namespace mw

// Libraries of the system, loaded by their full path in the system folder: a bare name searches
// the program's folder first, where any copy would win.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

// The full path of a file in the system folder ("C:\Windows\System32\<name>"); empty when the
// folder cannot be told.
std::wstring SystemLibraryPath(const wchar_t* name);

// Loads the system folder's copy of a library; null (and logged) when it cannot.
HMODULE LoadSystemLibrary(const wchar_t* name);

} // namespace mw

// Start-up, message loop and shutdown of the program.
#pragma once

#include <windows.h>

namespace mw {

// Runs the program for the given command line; returns the process exit code (always 0).
int RunApplication(HINSTANCE instance, const wchar_t* commandLine);

} // namespace mw

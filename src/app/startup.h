// Start-up, message loop and shutdown of the program.
#pragma once

#include <windows.h>

namespace mw {

// Runs the program for the given command line; returns the process exit code (always 0).
int RunApplication(HINSTANCE instance, const wchar_t* commandLine);

// Whether creating the single-instance mutex found another resident instance: the mutex
// existed, or it could not be opened at all (an elevated instance's). Not-resident runs are
// never a second start.
bool IsSecondStart(bool mutexCreated, DWORD error, bool notResident);

} // namespace mw

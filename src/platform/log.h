// The program's log: every line goes to the debugger output (OutputDebugStringW, seen with
// DebugView or a debugger), and to a file when the user asked for one with "/Log". A user whose
// gestures stopped working or whose tray icon never appeared can send us that file.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

// The file log keeps at most this many bytes; the one before is kept as "<name>.1".
constexpr DWORD kLogFileLimit = 256 * 1024;
constexpr wchar_t kLogFileName[] = L"Mistlewick.log";

// Writes one line, printf-style ("%s" takes a wide string, as in swprintf).
void Log(const wchar_t* format, ...);

// Writes "<what> failed (error N: system text)" for a Win32 error code.
void LogError(const wchar_t* what, DWORD error);

// Starts the file log in `folder` (with a trailing backslash), or under
// %LOCALAPPDATA%\Mistlewick\ when that folder cannot be written. Returns the file's path, or ""
// when neither could be opened (the debugger output still works then).
std::wstring OpenFileLog(const std::wstring& folder);

// Ends the file log (the debugger output goes on).
void CloseFileLog();

// The file the log writes to now, or "" when there is none.
std::wstring FileLogPath();

} // namespace mw

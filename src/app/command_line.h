// The program's command line: start-up switches and the choice of preferences file.
#pragma once

#include <windows.h>

#include <string>

#include "platform/process_info.h"
#include "settings/preferences.h"

namespace mw {

struct CommandLineResult {
    bool launcherOptionsMode = false; // "/_NotReside": only the launcher page of the options
    bool pathTooLong = false;         // "/init," named a file whose full path does not fit
    bool logToFile = false;           // "/Log": write the log to a file as well
    std::wstring preferencesPath;     // from "/init,"; empty when the default applies
};

// The longest preferences path the profile functions accept, without the terminator.
constexpr size_t kMaxPreferencesPathLength = MAX_PATH - 1;

// Splits the command line the way the shell does and compares every argument, the first one
// included, exactly and case-sensitively against the switches:
//   "/NotReside"   flags.NotResident on
//   "/_NotReside"  result.launcherOptionsMode
//   "/DisableCur"  flags.CursorCentring off
//   "/Launch"      flags.LauncherOnly on
//   "/Log"         result.logToFile: the log goes to a file too
//   "/init,NAME"   the preferences file is NAME in the executable's folder (the last one wins);
//                  "/init," with no name is ignored
// Other arguments are ignored. When the resulting path would not fit MAX_PATH, pathTooLong is set
// and preferencesPath holds the path that was asked for, so the caller can name it in its
// message; such a path must never be used (nor cut to some other file name).
CommandLineResult ParseCommandLine(const wchar_t* commandLine, const std::wstring& exePath,
                                   StartupFlags& flags);

// The executable's folder: its path up to and including the last backslash ("" when none).
std::wstring ExecutableFolder(const std::wstring& exePath);

// Tells the user that the preferences file named on the command line has too long a path.
void ShowPathTooLongMessage(const std::wstring& name);

} // namespace mw

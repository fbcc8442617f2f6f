#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

namespace {

constexpr wchar_t kInitPrefix[] = L"/init,";
constexpr size_t kInitPrefixLength = 6;

} // namespace

std::wstring ExecutableFolder(const std::wstring& exePath) {
    const size_t slash = exePath.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1);
}

CommandLineResult ParseCommandLine(const wchar_t* commandLine, const std::wstring& exePath,
                                   StartupFlags& flags) {
    CommandLineResult result;
    if (!commandLine)
        return result;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
    if (!argv)
        return result;
    const UniqueLocal argvOwner(reinterpret_cast<HLOCAL>(argv));

    for (int i = 0; i < argc; ++i) {
        const wchar_t* arg = argv[i];
        if (std::wcscmp(arg, L"/NotReside") == 0) {
            flags.NotResident = true;
        } else if (std::wcscmp(arg, L"/_NotReside") == 0) {
            result.launcherOptionsMode = true;
        } else if (std::wcscmp(arg, L"/DisableCur") == 0) {
            flags.CursorCentring = false;
        } else if (std::wcscmp(arg, L"/Launch") == 0) {
            flags.LauncherOnly = true;
        } else if (std::wcscmp(arg, L"/Log") == 0) {
            result.logToFile = true;
        } else if (std::wcslen(arg) > kInitPrefixLength &&
                   std::wcsncmp(arg, kInitPrefix, kInitPrefixLength) == 0) {
            // "/init," with no name would make the program folder itself the preferences path
            // (every read gives defaults, every write fails): it counts as not given.
            result.preferencesPath = ExecutableFolder(exePath) + (arg + kInitPrefixLength);
            result.pathTooLong = result.preferencesPath.size() > kMaxPreferencesPathLength;
        }
    }
    return result;
}

void ShowPathTooLongMessage(const std::wstring& name) {
    // No preferences file can be read yet: the message follows the display language.
    const std::wstring text = FormatText(ResourceLanguage(kLanguageAuto), IDS_PATH_TOO_LONG,
                                         {std::to_wstring(kMaxPreferencesPathLength), name});
    ShowErrorBox(nullptr, text);
}

} // namespace mw

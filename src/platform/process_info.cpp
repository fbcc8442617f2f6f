#include "platform/process_info.h"

#include "platform/unique_handle.h"

namespace mw {

std::wstring ModuleFilePath(HMODULE module) {
    // Grow the buffer until the whole name fits; GetModuleFileNameW truncates silently.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ExecutablePath() {
    return ModuleFilePath(nullptr);
}

ULONGLONG ProcessCreationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

ULONGLONG ProcessCreationTime(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? ProcessCreationTime(process.get()) : 0;
}

} // namespace mw

#include "platform/log.h"

#include <shlobj.h>

#include <cstdarg>
#include <cwchar>

#include "platform/unique_handle.h"

namespace mw {

namespace {

// The log is the one piece of state every folder may reach: a failure deep in the model has no
// application object at hand, and a log that needs one would stay silent exactly when it matters.
// Only the user-interface thread writes to it.
struct FileLog {
    UniqueHandle file;
    std::wstring path;
    DWORD size = 0;
};
FileLog s_fileLog;

HANDLE OpenForAppend(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

bool StartFile(const std::wstring& path) {
    HANDLE h = OpenForAppend(path);
    if (!h)
        return false;
    s_fileLog.file.reset(h);
    s_fileLog.path = path;
    LARGE_INTEGER size{};
    s_fileLog.size = GetFileSizeEx(h, &size) ? static_cast<DWORD>(size.QuadPart) : 0;
    return true;
}

// Keeps the file under its limit: the full one becomes "<name>.1" (replacing an older one).
void RotateIfFull(DWORD incoming) {
    if (!s_fileLog.file || s_fileLog.size + incoming <= kLogFileLimit)
        return;
    s_fileLog.file.reset();
    const std::wstring older = s_fileLog.path + L".1";
    if (!MoveFileExW(s_fileLog.path.c_str(), older.c_str(), MOVEFILE_REPLACE_EXISTING))
        DeleteFileW(s_fileLog.path.c_str());
    if (!StartFile(s_fileLog.path))
        s_fileLog.path.clear();
}

void WriteLine(const wchar_t* text) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t line[1100];
    swprintf(line, sizeof line / sizeof line[0], L"%04u-%02u-%02u %02u:%02u:%02u.%03u %ls\r\n", t.wYear,
             t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, text);
    OutputDebugStringW((std::wstring(L"Mistlewick: ") + text + L"\n").c_str());
    if (!s_fileLog.file)
        return;
    char utf8[3300];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8, nullptr, nullptr) - 1;
    if (bytes <= 0)
        return;
    RotateIfFull(static_cast<DWORD>(bytes));
    DWORD written = 0;
    if (s_fileLog.file && WriteFile(s_fileLog.file.get(), utf8, static_cast<DWORD>(bytes), &written, nullptr))
        s_fileLog.size += written;
}

std::wstring LocalAppDataFolder() {
    wchar_t base[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                base)))
        return std::wstring();
    std::wstring folder = std::wstring(base) + L"\\Mistlewick\\";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return std::wstring();
    return folder;
}

} // namespace

void Log(const wchar_t* format, ...) {
    wchar_t text[1024];
    va_list args;
    va_start(args, format);
    const int n = vswprintf(text, sizeof text / sizeof text[0], format, args);
    va_end(args);
    if (n < 0) // cut short: vswprintf leaves the buffer unspecified, so say at least what it was
        swprintf(text, sizeof text / sizeof text[0], L"(line too long) %.900ls", format);
    WriteLine(text);
}

void LogError(const wchar_t* what, DWORD error) {
    wchar_t message[512] = L"";
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                   0, message, sizeof message / sizeof message[0], nullptr);
    // The system's text ends with a line break; the log's lines are one line each.
    for (DWORD i = n; i > 0 && (message[i - 1] == L'\r' || message[i - 1] == L'\n'); --i)
        message[i - 1] = L'\0';
    Log(L"%ls failed (error %lu: %ls)", what, static_cast<unsigned long>(error), message);
}

std::wstring OpenFileLog(const std::wstring& folder) {
    CloseFileLog();
    if (!folder.empty() && StartFile(folder + kLogFileName))
        return s_fileLog.path;
    const DWORD firstError = GetLastError();
    const std::wstring fallback = LocalAppDataFolder();
    if (!fallback.empty() && StartFile(fallback + kLogFileName)) {
        LogError((L"Writing the log in " + folder).c_str(), firstError);
        return s_fileLog.path;
    }
    LogError(L"Opening the log file", GetLastError());
    return std::wstring();
}

void CloseFileLog() {
    s_fileLog.file.reset();
    s_fileLog.path.clear();
    s_fileLog.size = 0;
}

std::wstring FileLogPath() {
    return s_fileLog.path;
}

} // namespace mw

// A stand-in for hook.dll used by end-to-end tests: it records every call with its arguments in
// hook-calls.txt beside itself, and refuses to install when hook-refuse.txt exists there.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HINSTANCE g_module = nullptr;
HWND g_window = nullptr;

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring s(path);
    return s.substr(0, s.find_last_of(L'\\') + 1) + name;
}

void Record(const char* line) {
    HANDLE f =
        CreateFileW(Beside(L"hook-calls.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    CloseHandle(f);
}

} // namespace

extern "C" __declspec(dllexport) int StartMouseHook(HWND window, int a, int b, int c, int d, int e, int f) {
    char line[160];
    std::snprintf(line, sizeof line, "start %d %d %d %d %d %d %d\n", window != nullptr, a, b, c, d, e, f);
    Record(line);
    if (GetFileAttributesW(Beside(L"hook-refuse.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
        return 0;
    g_window = window;
    return 1;
}

extern "C" __declspec(dllexport) HWND EndHook() {
    Record("end\n");
    return g_window;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

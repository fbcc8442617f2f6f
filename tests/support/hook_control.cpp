#include "support/hook_control.h"

#include <psapi.h>

#include <string>

#include "support/harness.h"

namespace mw::test {

namespace {

// Where the hook library lies in the other process.
BYTE* RemoteHookBase(HANDLE process) {
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed))
        return nullptr;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH) && lstrcmpiW(name, L"hook.dll") == 0)
            return reinterpret_cast<BYTE*>(modules[i]);
    }
    return nullptr;
}

// The export's distance from the start of the library: the same in every process.
ULONG_PTR ExportOffset() {
    HMODULE local =
        LoadLibraryExW((BinDir() + L"\\hook_testbench.dll").c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!local)
        return 0;
    FARPROC proc = GetProcAddress(local, kHookTestExport);
    const ULONG_PTR offset =
        proc ? reinterpret_cast<ULONG_PTR>(proc) - reinterpret_cast<ULONG_PTR>(local) : 0;
    FreeLibrary(local);
    return offset;
}

} // namespace

DWORD ControlHookIn(HANDLE process, DWORD command) {
    BYTE* base = RemoteHookBase(process);
    const ULONG_PTR offset = ExportOffset();
    if (!base || !offset)
        return kTestFailed;
    auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<ULONG_PTR>(base) + offset);
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, start,
                                       reinterpret_cast<LPVOID>(static_cast<ULONG_PTR>(command)), 0, nullptr);
    if (!thread)
        return kTestFailed;
    DWORD result = kTestFailed;
    if (WaitForSingleObject(thread, 10000) != WAIT_OBJECT_0 || !GetExitCodeThread(thread, &result))
        result = kTestFailed;
    CloseHandle(thread);
    return result;
}

} // namespace mw::test

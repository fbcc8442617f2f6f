#include "support/program.h"

#include <vector>

#include "support/harness.h"

namespace mw::test {

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Start(const std::wstring& exe, const std::wstring& arguments,
                         const std::wstring& workDir) {
    Kill();
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
        return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool ChildProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

long ChildProcess::WaitExit(DWORD timeoutMs) {
    if (!process_)
        return -1;
    if (!WaitFor([this] { return !Running(); }, timeoutMs))
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

void ChildProcess::Kill() {
    if (!process_)
        return;
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    pid_ = 0;
}

ProgramSandbox::ProgramSandbox(const wchar_t* subfolder) {
    folder_ = temp_.path();
    if (subfolder) {
        folder_ += L"\\";
        folder_ += subfolder;
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    const std::wstring bin = BinDir();
    CopyFileW((bin + L"\\Mistlewick.exe").c_str(), exe().c_str(), FALSE);
    CopyFileW((bin + L"\\hook.dll").c_str(), file(L"hook.dll").c_str(), FALSE);
}

ProgramSandbox::~ProgramSandbox() {
    if (process_.Running())
        Close(5000);
    process_.Kill();
}

bool ProgramSandbox::Start(const std::wstring& arguments, const std::wstring& workDir) {
    return process_.Start(exe(), arguments, workDir.empty() ? folder_ : workDir);
}

HWND ProgramSandbox::WaitMainWindow(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            auto windows = WindowsOfProcess(process_.pid(), L"Mistlewick");
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool ProgramSandbox::WaitResident(DWORD timeoutMs) {
    HWND main = WaitMainWindow(timeoutMs);
    return main && WaitFor([&] { return TrayIconExists(main); }, timeoutMs);
}

bool ProgramSandbox::WindowsOfMainClassEmpty() const {
    return WindowsOfProcess(process_.pid(), L"Mistlewick").empty();
}

long ProgramSandbox::Close(DWORD timeoutMs) {
    if (!process_.Running())
        return process_.WaitExit(0);
    for (HWND hwnd : WindowsOfProcess(process_.pid(), L"Mistlewick"))
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    long code = process_.WaitExit(timeoutMs);
    if (code == -1)
        process_.Kill();
    return code;
}

} // namespace mw::test

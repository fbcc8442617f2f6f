// Runs the real Mistlewick.exe as a child process from a folder of its own, with the ini files a
// test gives it, and ends it cleanly.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "support/temp_dir.h"

namespace mw::test {

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workDir);
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_; }
    bool Running() const;
    // Waits for the exit while pumping this thread's messages; returns the exit code or -1.
    long WaitExit(DWORD timeoutMs);
    void Kill();

  private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

class ProgramSandbox {
  public:
    // Copies Mistlewick.exe and hook.dll into a fresh folder; an optional folder name below the
    // temp folder lets a test use paths with spaces or non-ASCII characters.
    explicit ProgramSandbox(const wchar_t* subfolder = nullptr);
    ~ProgramSandbox();

    const std::wstring& folder() const { return folder_; }
    std::wstring file(const wchar_t* name) const { return folder_ + L"\\" + name; }
    std::wstring exe() const { return file(L"Mistlewick.exe"); }
    std::wstring preferencesPath() const { return exe() + L".ini"; }
    void WritePreferences(const std::wstring& text) const { WriteTextFile(preferencesPath(), text); }
    void WriteDesign(const std::wstring& text) const { WriteTextFile(file(L"design.ini"), text); }

    // Starts the program with the arguments; the working folder defaults to the sandbox.
    bool Start(const std::wstring& arguments = L"", const std::wstring& workDir = L"");
    ChildProcess& process() { return process_; }
    // Waits for the hidden main window (class "Mistlewick") of the running program.
    HWND WaitMainWindow(DWORD timeoutMs = 10000);
    // Waits until the resident program is fully up: its hook is installed once its tray icon is
    // there (start-up adds the icon right after the hook).
    bool WaitResident(DWORD timeoutMs = 10000);
    // True when the program has no window of class "Mistlewick" (right now).
    bool WindowsOfMainClassEmpty() const;
    // Ends the program the way the tray's exit does (the main window goes away) and returns its
    // exit code; kills it if it does not end.
    long Close(DWORD timeoutMs = 10000);

  private:
    TempDir temp_;
    std::wstring folder_;
    ChildProcess process_;
};

} // namespace mw::test

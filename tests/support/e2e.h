// Pieces the end-to-end scenarios share: other programs' windows, the program under test in its
// own folder, and the foreground checks.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/harness.h"
#include "support/program.h"

namespace mw::test {

// One wheel notch as WM_MOUSEWHEEL carries it: towards the user (next) and away (previous).
constexpr WPARAM kNext = static_cast<WPARAM>(static_cast<WORD>(-120)) << 16;
constexpr WPARAM kPrevious = static_cast<WPARAM>(120) << 16;

// A window of another process: the test build's target program, or the one that can be told to
// stop answering.
struct Target {
    ChildProcess process;
    HWND window = nullptr;
    bool Start(const std::wstring& title, bool hanging = false);
};

// Puts the recording stand-in in place of hook.dll.
void UseRecordingHook(const ProgramSandbox& sandbox);

// The program in a folder of its own, by default with the recording stand-in for hook.dll so
// that only the test drives it. Wine's own tray window is excluded from the list.
struct Resident {
    explicit Resident(const wchar_t* subfolder = nullptr) : sandbox(subfolder) {}
    ProgramSandbox sandbox;
    HWND main = nullptr;
    bool Start(const std::wstring& preferences = L"", const std::wstring& args = L"", bool realHook = false);
    bool Open();    // posts the open message and waits for the popup
    bool Visible(); // waits for the popup to show
    bool Closed();  // waits for the popup to hide
    // The program's thread takes a sent message within the time: it is not stuck.
    bool Answers(UINT timeoutMs = 3000) const;
    // With the real hook and a launcher-only list: holds the left button, turns the wheel once and
    // releases, which chooses the first launcher entry. False when the popup did not come and go.
    bool ChooseFirstLauncherEntry();
    // What the recording stand-in for hook.dll was called with.
    std::string HookCalls() const;
};

// The window's thread has not taken a sent message within 200 ms.
bool StopsAnswering(HWND window);
std::string Describe(HWND window);
void BringToFront(HWND window);
::testing::AssertionResult ForegroundBecomes(HWND window, DWORD timeoutMs = 5000);

} // namespace mw::test

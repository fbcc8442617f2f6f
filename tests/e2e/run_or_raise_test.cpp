// A run-or-raise launcher entry with real input: its program is running, so choosing the entry
// brings that program's window forward and starts nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

int StartRecords(const std::wstring& file) {
    const std::string bytes = ReadFileBytes(file);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    int records = 0;
    for (size_t at = text.find(L"args="); at != std::wstring::npos; at = text.find(L"args=", at + 1))
        ++records;
    return records;
}

TEST(RunOrRaise, ChoosingTheEntryOfARunningProgramRaisesItsWindowInsteadOfStartingIt) {
    Resident program;
    // The program of the entry runs from the sandbox, where it records every start it makes.
    const std::wstring target = program.sandbox.file(L"target_window.exe");
    ASSERT_TRUE(CopyFileW((BinDir() + L"\\target_window.exe").c_str(), target.c_str(), FALSE));
    ChildProcess running;
    ASSERT_TRUE(running.Start(target, L"\"Already running\"", program.sandbox.folder()));
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(running.pid(), L"MwTargetWindow")) {
                if (IsWindowVisible(w))
                    window = w;
            }
            return window != nullptr;
        },
        10000));
    const std::wstring starts = program.sandbox.file(L"started.txt");
    ASSERT_EQ(StartRecords(starts), 1);
    // In front: a window of the same file name in another folder, which is another program.
    Target front;
    ASSERT_TRUE(front.Start(L"In front"));
    BringToFront(front.window);
    ASSERT_EQ(GetForegroundWindow(), front.window);

    // The launcher-only popup lists no windows: the program's window is looked for all the same.
    // The path in capitals: the program is the same file, however its name is written.
    std::wstring entryPath = target;
    CharUpperBuffW(entryPath.data(), static_cast<DWORD>(entryPath.size()));
    ASSERT_TRUE(
        program.Start(L"[Launcher]\r\ncnt=1\r\npath1=" + entryPath + L"\r\nname1=Target\r\nraise1=1\r\n",
                      L"/Launch", true));
    EXPECT_TRUE(program.ChooseFirstLauncherEntry());
    EXPECT_TRUE(ForegroundBecomes(window));
    PumpFor(1500); // time for a second start to show, were there one
    EXPECT_EQ(StartRecords(starts), 1) << "no second process";
    EXPECT_EQ(FindWindowW(L"MwTargetWindow", L"Target"), nullptr);
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0) << "no button left pressed";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

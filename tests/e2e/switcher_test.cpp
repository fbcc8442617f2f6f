// The switcher end to end: the real program, other programs' windows, the popup driven by the
// messages the hook library posts, and the result read back from the desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "hook/hook.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

TEST(Switcher, WheelStepsChooseTheExpectedWindowAndWrapAround) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha window"));
    ASSERT_TRUE(beta.Start(L"Beta window"));
    ASSERT_TRUE(gamma.Start(L"Gamma window"));
    BringToFront(gamma.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\n"));

    // Z order from the top: Gamma, Beta, Alpha. Two notches on from Gamma select Alpha.
    ASSERT_TRUE(program.Open());
    RECT popup{};
    GetWindowRect(program.main, &popup);
    const int width = popup.right - popup.left, height = popup.bottom - popup.top;
    EXPECT_EQ(popup.left, 960 - width / 2) << "centred on the cursor's monitor";
    EXPECT_EQ(popup.top, 540 - height / 2);
    EXPECT_TRUE(GetWindowLongPtrW(program.main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    PumpFor(500);
    SaveScreenPng(popup, L"switcher-popup-default.png");
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(alpha.window));

    // One step back from the first window wraps to the last command entry (cancel): nothing changes.
    ASSERT_TRUE(program.Open());
    PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    PumpFor(300);
    EXPECT_EQ(GetForegroundWindow(), alpha.window) << Describe(GetForegroundWindow());

    // A minimised window comes back restored.
    ShowWindow(beta.window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(beta.window) != FALSE; }));
    BringToFront(alpha.window);
    ASSERT_TRUE(program.Open());
    // Alpha, Gamma, Beta (minimised windows sink to the bottom of the Z order) - find Beta by stepping.
    for (int step = 0; step < 2; ++step)
        PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(beta.window) && GetForegroundWindow() == beta.window; }));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Switcher, CancelLeavesTheForegroundAndForgedMessagesAreHarmless) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha cancel"));
    ASSERT_TRUE(beta.Start(L"Beta cancel"));
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start());
    // Nothing open: every message but the open one is ignored.
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0x7FFFFFFF);
    PostMessageW(program.main, kMsgChoose, 0xFFFFFFFF, -1);
    PostMessageW(program.main, kMsgCancel, 0, 0);
    PumpFor(300);
    EXPECT_FALSE(IsWindowVisible(program.main));
    EXPECT_EQ(GetForegroundWindow(), beta.window) << Describe(GetForegroundWindow());

    ASSERT_TRUE(program.Open());
    PostMessageW(program.main, kMsgOpenPopup, 0, 1); // a second open is ignored
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(program.Closed());
    PumpFor(300);
    EXPECT_EQ(GetForegroundWindow(), beta.window)
        << "a cancel activates nothing: " << Describe(GetForegroundWindow());
    EXPECT_TRUE(program.sandbox.process().Running());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Switcher, LauncherEntryStartsWithItsArgumentsAndFolder) {
    TempDir work;
    Resident program;
    const std::wstring target = program.sandbox.file(L"target_window.exe");
    ASSERT_TRUE(CopyFileW((BinDir() + L"\\target_window.exe").c_str(), target.c_str(), FALSE));
    ASSERT_TRUE(program.Start(L"[Launcher]\r\ncnt=1\r\npath1=" + target +
                                  L"\r\nname1=Launch me\r\ncmnd1=\"Launched window\" two\r\nwfol1=" +
                                  work.path() + L"\r\n",
                              L"/Launch"));
    ASSERT_TRUE(program.Open());
    // Launcher-only: the first launcher entry is selected at once.
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    const std::wstring record = program.sandbox.file(L"started.txt");
    std::wstring text;
    ASSERT_TRUE(WaitFor(
        [&] {
            HANDLE f = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            if (f == INVALID_HANDLE_VALUE)
                return false;
            wchar_t buffer[1024] = {};
            DWORD n = 0;
            ReadFile(f, buffer, sizeof buffer - 2, &n, nullptr);
            CloseHandle(f);
            text.assign(buffer, n / 2);
            return text.find(L"cwd=") != std::wstring::npos;
        },
        10000));
    EXPECT_NE(text.find(L"\"Launched window\" two"), std::wstring::npos)
        << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(L"cwd=" + work.path()), std::wstring::npos);
    HWND launched = nullptr;
    EXPECT_TRUE(
        WaitFor([&] { return (launched = FindWindowW(L"MwTargetWindow", L"Launched window")) != nullptr; }));
    if (launched)
        PostMessageW(launched, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Switcher, DesktopEntryMinimisesEverythingListedAndASecondUseRestores) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha desktop"));
    ASSERT_TRUE(beta.Start(L"Beta desktop"));
    ShowWindow(alpha.window, SW_MAXIMIZE);
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start());
    // Back from the first window: the last command (cancel); once more: the desktop entry.
    auto chooseDesktop = [&] {
        ASSERT_TRUE(program.Open());
        PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
        PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
        PostMessageW(program.main, kMsgChoose, 0, 0);
        EXPECT_TRUE(program.Closed());
    };
    chooseDesktop();
    EXPECT_TRUE(WaitFor([&] { return IsIconic(alpha.window) && IsIconic(beta.window); }));
    chooseDesktop();
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(alpha.window) && !IsIconic(beta.window); }));
    EXPECT_TRUE(IsZoomed(alpha.window)) << "a maximised window comes back maximised";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Switcher, NotResidentOpensAtOnceCentredAndEndsAfterTheChoice) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha once"));
    ASSERT_TRUE(beta.Start(L"Beta once"));
    BringToFront(beta.window);
    MouseMoveTo(10, 10);
    ProgramSandbox sandbox;
    ASSERT_TRUE(sandbox.Start(L"/NotReside"));
    HWND main = sandbox.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    POINT cursor{};
    EXPECT_TRUE(WaitFor([&] {
        GetCursorPos(&cursor);
        return cursor.x == 960 && cursor.y == 540;
    })) << "the cursor goes to the monitor's centre: "
        << cursor.x << "," << cursor.y;
    // Esc cancels: the program ends with exit code 0 and the foreground stays.
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(sandbox.process().WaitExit(10000), 0);
    EXPECT_EQ(GetForegroundWindow(), beta.window);

    // Without cursor centring the wheel (posted as the hook would) and Enter choose.
    ProgramSandbox again;
    ASSERT_TRUE(again.Start(L"/NotReside /DisableCur"));
    main = again.WaitMainWindow();
    ASSERT_TRUE(WaitFor([&] { return main && IsWindowVisible(main) != FALSE; }));
    PostMessageW(main, kMsgMoveSelection, kNext, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(again.process().WaitExit(10000), 0);
    EXPECT_TRUE(ForegroundBecomes(alpha.window));
}

TEST(Switcher, NothingToShowEndsNotResidentModeAtOnce) {
    ProgramSandbox sandbox;
    // Launcher-only with no launcher entries: nothing to show.
    ASSERT_TRUE(sandbox.Start(L"/NotReside /Launch"));
    EXPECT_EQ(sandbox.process().WaitExit(10000), 0);
}

} // namespace

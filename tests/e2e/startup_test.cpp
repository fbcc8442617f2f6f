// The real program as a child process: resident start, single instance, command line, preferences
// reaching the hook, orderly shutdown.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

std::string ReadAll(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return {};
    char buffer[4096];
    DWORD n = 0;
    ReadFile(f, buffer, sizeof buffer, &n, nullptr);
    CloseHandle(f);
    return std::string(buffer, n);
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

TEST(Startup, ResidentMainWindowIsHiddenTopmostToolPopupAndClosingEndsWithZero) {
    ProgramSandbox sandbox;
    UseRecordingHook(sandbox);
    ASSERT_TRUE(sandbox.Start());
    HWND main = sandbox.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(main, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    wchar_t title[64] = {};
    GetWindowTextW(main, title, 64);
    EXPECT_STREQ(title, L"Mistlewick");
    // No preferences file: the defaults reach the hook in their order.
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(sandbox.file(L"hook-calls.txt")).empty(); }));
    EXPECT_EQ(ReadAll(sandbox.file(L"hook-calls.txt")), "start 1 100 0 0 0 6 500\n");
    EXPECT_TRUE(WaitFor([&] { return TrayIconExists(main); })) << "the tray icon is added after the hook";
    EXPECT_EQ(sandbox.Close(), 0);
    EXPECT_FALSE(TrayIconExists(main)) << "the tray icon is removed at exit";
    EXPECT_EQ(ReadAll(sandbox.file(L"hook-calls.txt")), "start 1 100 0 0 0 6 500\nend\n")
        << "the hook is removed when the program ends";
}

// Starts a second resident instance and checks that it says so, with the program's caption, and
// ends with 0 without a main window or a hook.
void ExpectRefusedSecondStart() {
    ProgramSandbox second;
    UseRecordingHook(second);
    ASSERT_TRUE(second.Start());
    HWND box = WaitVisibleDialog(second.process().pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"既に起動しています.");
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    EXPECT_STREQ(caption, L"Mistlewick");
    EXPECT_TRUE(second.WindowsOfMainClassEmpty());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.process().WaitExit(10000), 0);
    EXPECT_EQ(ReadAll(second.file(L"hook-calls.txt")), "") << "the second instance installs no hook";
}

TEST(Startup, SecondInstanceSaysSoAndEndsWhileTheFirstRuns) {
    ProgramSandbox first;
    UseRecordingHook(first);
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitMainWindow(), nullptr);

    ExpectRefusedSecondStart();
    EXPECT_TRUE(first.process().Running());

    // Neither not-resident mode nor launcher options mode is blocked by a running instance.
    ProgramSandbox notResident;
    UseRecordingHook(notResident);
    ASSERT_TRUE(notResident.Start(L"/NotReside"));
    ASSERT_NE(notResident.WaitMainWindow(), nullptr);
    for (HWND w : WindowsOfProcess(notResident.process().pid(), L"#32770")) {
        EXPECT_NE(MessageBoxText(w), L"既に起動しています.");
    }
    EXPECT_EQ(ReadAll(notResident.file(L"hook-calls.txt")), "") << "not-resident mode installs no hook";
    EXPECT_EQ(notResident.Close(), 0);

    ProgramSandbox options;
    UseRecordingHook(options);
    ASSERT_TRUE(options.Start(L"/_NotReside"));
    HWND optionsWindow = WaitVisibleDialog(options.process().pid());
    ASSERT_NE(optionsWindow, nullptr);
    wchar_t optionsTitle[64] = {};
    GetWindowTextW(optionsWindow, optionsTitle, 64);
    EXPECT_STREQ(optionsTitle, L"オプション - Mistlewick");
    EXPECT_TRUE(options.WindowsOfMainClassEmpty()) << "launcher options mode has no main window";
    PostMessageW(optionsWindow, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0); // OK
    EXPECT_EQ(options.process().WaitExit(10000), 0);

    EXPECT_EQ(first.Close(), 0);
}

TEST(Startup, AnInstanceWhoseMutexCannotBeOpenedCountsAsRunning) {
    // What an elevated instance's mutex is to an unelevated start: there, but access denied.
    // An empty access list denies everybody; no instance of the program runs here.
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ACL acl;
    ASSERT_TRUE(InitializeAcl(&acl, sizeof acl, ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    HANDLE elevated = CreateMutexW(&attributes, FALSE, L"Mistlewick");
    ASSERT_NE(elevated, nullptr);
    ASSERT_EQ(GetLastError(), 0u) << "another instance is running";
    ASSERT_EQ(CreateMutexW(nullptr, FALSE, L"Mistlewick"), nullptr) << "Wine let the mutex be opened";
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    ExpectRefusedSecondStart();
    CloseHandle(elevated);
}

TEST(Startup, InitArgumentReadsThatFileFromTheProgramFolderWhateverTheCurrentFolder) {
    ProgramSandbox sandbox;
    UseRecordingHook(sandbox);
    WriteTextFile(sandbox.file(L"other.ini"),
                  L"[Preference]\r\nRightButton=1\r\nReplaceAltTab=5\r\nPermissibleRange=7\r\n"
                  L"TimeOutMilliSeconds=777\r\nMoveCanselPx=55\r\n");
    // The default file says something else; it must not be read.
    sandbox.WritePreferences(L"[Preference]\r\nPermissibleRange=30\r\n");
    TempDir elsewhere;
    WriteTextFile(elsewhere.file(L"other.ini"), L"[Preference]\r\nPermissibleRange=31\r\n");
    ASSERT_TRUE(sandbox.Start(L"/init,other.ini", elsewhere.path()));
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(sandbox.file(L"hook-calls.txt")).empty(); }));
    EXPECT_EQ(ReadAll(sandbox.file(L"hook-calls.txt")), "start 1 55 5 0 1 7 777\n");
    EXPECT_EQ(sandbox.Close(), 0);
}

TEST(Startup, ClickModeHandsZeroCancelDistanceToTheHook) {
    ProgramSandbox sandbox;
    UseRecordingHook(sandbox);
    sandbox.WritePreferences(L"[Preference]\r\nClickMode=1\r\nMoveCanselPx=55\r\nRightButton=2\r\n");
    ASSERT_TRUE(sandbox.Start());
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(sandbox.file(L"hook-calls.txt")).empty(); }));
    EXPECT_EQ(ReadAll(sandbox.file(L"hook-calls.txt")), "start 1 0 0 1 0 6 500\n")
        << "RightButton=2 is not exactly 1, so it reads as 0";
    EXPECT_EQ(sandbox.Close(), 0);
}

TEST(Startup, RefusedHookShowsTheMessageAndEndsCleanly) {
    ProgramSandbox sandbox;
    UseRecordingHook(sandbox);
    WriteTextFile(sandbox.file(L"hook-refuse.txt"), L"x");
    ASSERT_TRUE(sandbox.Start());
    HWND box = WaitVisibleDialog(sandbox.process().pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"マウスフックに失敗");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(sandbox.process().WaitExit(10000), 0);
}

TEST(Startup, MissingHookLibraryIsReportedNotASystemLoaderError) {
    ProgramSandbox sandbox;
    DeleteFileW(sandbox.file(L"hook.dll").c_str());
    ASSERT_TRUE(sandbox.Start());
    HWND box = WaitVisibleDialog(sandbox.process().pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"マウスフックに失敗");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(sandbox.process().WaitExit(10000), 0);
}

TEST(Startup, InitNameTooLongForThePathIsRefusedWithAMessage) {
    ProgramSandbox sandbox;
    UseRecordingHook(sandbox);
    ASSERT_TRUE(sandbox.Start(L"/init," + std::wstring(300, L'a') + L".ini"));
    HWND box = WaitVisibleDialog(sandbox.process().pid());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(L"長すぎ"), std::wstring::npos)
        << "the message says the path is too long";
    EXPECT_TRUE(sandbox.WindowsOfMainClassEmpty());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(sandbox.process().WaitExit(10000), 0);
    EXPECT_EQ(ReadAll(sandbox.file(L"hook-calls.txt")), "");
}

} // namespace

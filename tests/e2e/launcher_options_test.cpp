// Launcher options mode end to end: the real program shows the launcher page alone, the user adds
// through the system's file dialog, removes and reorders; a resident instance started afterwards
// lists the entries in the new order and starts the right one.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>

#include "hook/hook.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int Lines(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

std::wstring Line(HWND list, int index) {
    wchar_t text[256] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) >= 256)
        return L"<too long>";
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring Key(const std::wstring& file, const wchar_t* key) {
    wchar_t buffer[512];
    GetPrivateProfileStringW(L"Launcher", key, L"<none>", buffer, 512, file.c_str());
    return buffer;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Closes the programs the launcher started; a program left running would keep the test run's
// output open after the tests end.
void CloseTargets(int expected) {
    int closed = 0;
    WaitFor(
        [&] {
            while (HWND w = FindWindowW(L"MwTargetWindow", nullptr)) {
                PostMessageW(w, WM_CLOSE, 0, 0);
                WaitFor([&] { return !IsWindow(w); }, 3000);
                ++closed;
            }
            return closed >= expected;
        },
        10000);
}

TEST(LauncherOptions, EditedEntriesReachTheNextResidentPopupInTheirNewOrder) {
    ProgramSandbox sandbox;
    // Three programs in folders of their own: each records its start in started.txt beside it.
    std::wstring programs[3];
    const wchar_t* names[3] = {L"one", L"two", L"three"};
    for (int i = 0; i < 3; ++i) {
        const std::wstring folder = sandbox.file(names[i]);
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        programs[i] = folder + L"\\" + names[i] + L".exe";
        ASSERT_TRUE(CopyFileW((BinDir() + L"\\target_window.exe").c_str(), programs[i].c_str(), FALSE));
    }
    sandbox.WritePreferences(L"[Launcher]\r\ncnt=2\r\npath1=" + programs[0] + L"\r\nname1=One\r\npath2=" +
                             programs[1] + L"\r\nname2=Two\r\n");

    ASSERT_TRUE(sandbox.Start(L"/_NotReside"));
    const DWORD pid = sandbox.process().pid();
    HWND options = WaitVisibleDialog(pid, L"オプション - Mistlewick");
    ASSERT_NE(options, nullptr);
    HWND page = FindWindowExW(GetDlgItem(options, 1004), nullptr, L"#32770", nullptr);
    ASSERT_NE(page, nullptr);
    HWND list = GetDlgItem(page, 1028);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Lines(list), 2);

    // Add three.exe through the real file dialog.
    PressButton(page, 1008);
    HWND picker = WaitVisibleDialog(pid, L"アイテムの追加");
    ASSERT_NE(picker, nullptr) << "the file dialog did not open";
    const int nameBox = GetDlgItem(picker, cmb13) ? cmb13 : edt1;
    SendMessageW(GetDlgItem(picker, nameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(programs[2].c_str()));
    PressButton(picker, IDOK);
    ASSERT_TRUE(WaitFor([&] { return Lines(list) == 3; }));

    // Remove One, then move three above Two.
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    PressButton(page, 1009);
    ASSERT_TRUE(WaitFor([&] { return Lines(list) == 2; }));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    PressButton(page, 1019);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 0; }));
    EXPECT_EQ(Line(list, 0), L"three");
    EXPECT_EQ(Line(list, 1), L"Two");
    RedrawWindow(options, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(500);
    RECT r{};
    GetWindowRect(options, &r);
    SaveScreenPng(r, L"launcher-options-mode.png");

    PressButton(options, 1000);
    ASSERT_EQ(sandbox.process().WaitExit(10000), 0);

    const std::wstring ini = sandbox.preferencesPath();
    EXPECT_EQ(Key(ini, L"cnt"), L"2");
    EXPECT_EQ(_wcsicmp(Key(ini, L"path1").c_str(), programs[2].c_str()), 0);
    EXPECT_EQ(Key(ini, L"name1"), L"three");
    EXPECT_EQ(Key(ini, L"path2"), programs[1]);
    EXPECT_EQ(Key(ini, L"name2"), L"Two");
    EXPECT_EQ(Key(ini, L"path3"), L"<none>");
    EXPECT_EQ(Key(ini, L"icon_idx3"), L"0");

    // A resident instance with launcher entries only: the first entry is selected at once.
    CopyFileW((BinDir() + L"\\recording_hook.dll").c_str(), sandbox.file(L"hook.dll").c_str(), FALSE);
    ASSERT_TRUE(sandbox.Start(L"/Launch"));
    ASSERT_TRUE(sandbox.WaitResident());
    HWND main = sandbox.WaitMainWindow();
    ASSERT_NE(main, nullptr);

    PostMessageW(main, kMsgOpenPopup, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    PumpFor(300);
    GetWindowRect(main, &r);
    SaveScreenPng(r, L"launcher-options-popup.png");
    PostMessageW(main, kMsgChoose, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return Exists(sandbox.file(L"three\\started.txt")); }, 10000))
        << "entry 1 is three";

    PostMessageW(main, kMsgOpenPopup, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    PostMessageW(main, kMsgMoveSelection, kNext, 0);
    PostMessageW(main, kMsgChoose, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return Exists(sandbox.file(L"two\\started.txt")); }, 10000))
        << "entry 2 is Two";
    EXPECT_FALSE(Exists(sandbox.file(L"one\\started.txt"))) << "the removed entry never starts";

    CloseTargets(2);
    EXPECT_EQ(sandbox.Close(), 0);
}

} // namespace

// The tray icon of the real program: its menu, the pause toggle that
// takes the hook away and brings it back, exit from the menu, and the icon's return after
// Explorer restarts.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "hook/hook.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr UINT kTrayCallback = 50209;
constexpr UINT kPauseCommand = 32778;
constexpr UINT kExitCommand = 32775;

struct Resident {
    ~Resident() {
        if (listed)
            DestroyWindow(listed);
    }
    ProgramSandbox sandbox;
    HWND main = nullptr;
    HWND listed = nullptr; // something for the popup to list
    bool Start() {
        listed =
            CreateTestWindow(L"Listed by the popup", WS_POPUP | WS_VISIBLE, 0, nullptr, 100, 100, 200, 100);
        sandbox.WritePreferences(L"[Exclude]\r\ncnt=1\r\n1=Wine System Tray\r\n");
        if (!sandbox.Start() || !sandbox.WaitResident())
            return false;
        main = sandbox.WaitMainWindow();
        return main != nullptr;
    }
    // One gesture with real input; true when it opened the popup (which it then cancels).
    bool GestureOpensThePopup() {
        PlaceCursor(1500, 900);
        MouseButton(false, true);
        PumpFor(40);
        MouseWheel(-WHEEL_DELTA);
        const bool opened = WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 4000);
        MouseButton(false, false);
        PumpFor(200);
        if (opened) {
            PostMessageW(main, kMsgCancel, 0, 0);
            WaitFor([&] { return !IsWindowVisible(main); });
        }
        return opened;
    }
    // The right button on the icon shows the tray menu; Esc closes it again. (Its check mark is
    // read in-process elsewhere: under Wine a menu handle means nothing to another process.)
    bool MenuShows() {
        PostMessageW(main, kTrayCallback, 0, WM_RBUTTONUP);
        HWND menu = nullptr;
        WaitFor(
            [&] {
                for (HWND w : WindowsOfProcess(sandbox.process().pid(), L"#32768")) {
                    if (IsWindowVisible(w))
                        menu = w;
                }
                return menu != nullptr;
            },
            5000);
        if (!menu)
            return false;
        KeyTap(VK_ESCAPE);
        return WaitFor([&] { return !IsWindowVisible(menu); }, 3000);
    }
};

TEST(Tray, TwoLeftClicksTakeTheHookAwayAndBringItBackAndTheMenuShowsIt) {
    Resident program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(program.MenuShows()) << "the right button on the icon shows the menu, and Esc closes it";
    ASSERT_TRUE(program.GestureOpensThePopup());
    PostMessageW(program.main, kTrayCallback, 0, WM_LBUTTONUP); // pause
    PumpFor(300);
    EXPECT_FALSE(program.GestureOpensThePopup()) << "paused: no gesture reaches the program";
    EXPECT_TRUE(program.MenuShows()) << "the menu works while paused";
    PostMessageW(program.main, kTrayCallback, 0, WM_LBUTTONUP); // resume
    PumpFor(300);
    EXPECT_TRUE(program.GestureOpensThePopup()) << "the hook is back";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Tray, ExitFromTheMenuRemovesTheIconAndEndsWithZero) {
    Resident program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(TrayIconExists(program.main));
    // The pause command of the menu does what a left click does.
    PostMessageW(program.main, WM_COMMAND, kPauseCommand, 0);
    PumpFor(300);
    EXPECT_FALSE(program.GestureOpensThePopup());
    PostMessageW(program.main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.sandbox.process().WaitExit(10000), 0);
    EXPECT_FALSE(TrayIconExists(program.main));
}

TEST(Tray, TaskbarCreatedBringsTheIconBack) {
    Resident program;
    ASSERT_TRUE(program.Start());
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = program.main;
    data.uID = 0;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data)); // as if Explorer had restarted
    ASSERT_FALSE(TrayIconExists(program.main));
    PostMessageW(program.main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return TrayIconExists(program.main); }));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

// Keys and the wheel on the open popup, with the real program: what ends the popup must never
// end the program, and the Alt+Tab popup that stays open follows the wheel.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "hook/hook.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr LPARAM kOpenedByAltTab = 1;

bool OpenByAltTab(Resident& program) {
    PostMessageW(program.main, kMsgOpenPopup, 0, kOpenedByAltTab);
    return program.Visible() && ForegroundBecomes(program.main);
}

// Alt held (the Alt+Tab popup's own gesture), then F4: the popup is the foreground window, and
// the default handling closed the main window: tray icon and hook gone. Now it is a cancel; a
// plain WM_CLOSE from another program still ends the program cleanly.
TEST(PopupKeys, AltF4CancelsThePopupAndWmCloseStillEndsTheProgram) {
    Target alpha;
    ASSERT_TRUE(alpha.Start(L"Alpha Alt+F4"));
    BringToFront(alpha.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=1\r\n"));
    ASSERT_TRUE(OpenByAltTab(program));
    KeyPress(VK_MENU, true);
    KeyTap(VK_F4);
    KeyPress(VK_MENU, false);
    EXPECT_TRUE(program.Closed());
    PumpFor(300);
    ASSERT_TRUE(program.sandbox.process().Running()) << "Alt+F4 ended the program";
    EXPECT_TRUE(program.Answers());
    EXPECT_TRUE(TrayIconExists(program.main));
    EXPECT_TRUE(ForegroundBecomes(alpha.window)) << "a cancel hands the foreground back";

    PostMessageW(program.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.sandbox.process().WaitExit(10000), 0);
    EXPECT_FALSE(TrayIconExists(program.main));
}

// ReplaceAltTab=1 with ClickMode=0: the wheel over the open Alt+Tab popup moves the selection,
// which the window it chooses shows (one notch on from where it opened chooses another window).
TEST(PopupKeys, TheWheelMovesTheSelectionInTheAltTabPopupWithoutClickMode) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha wheel"));
    ASSERT_TRUE(beta.Start(L"Beta wheel"));
    ASSERT_TRUE(gamma.Start(L"Gamma wheel"));
    Resident program;
    // Windows only (no commands): every step lands on a window.
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=1\r\nClickMode=0\r\nArrangeWindow=0\r\n"
                              L"ToggleDesktop=0\r\nCansel=0\r\n"));
    auto choose = [&](bool turnTheWheel) -> HWND {
        BringToFront(gamma.window);
        if (!OpenByAltTab(program))
            return nullptr;
        if (turnTheWheel)
            PostMessageW(program.main, WM_MOUSEWHEEL, kNext, 0);
        PostMessageW(program.main, kMsgChoose, 0, 0);
        if (!program.Closed())
            return nullptr;
        HWND front = nullptr;
        WaitFor([&] {
            front = GetForegroundWindow();
            return front == alpha.window || front == beta.window || front == gamma.window;
        });
        return front;
    };
    HWND unmoved = choose(false);
    ASSERT_NE(unmoved, nullptr);
    HWND moved = choose(true);
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, unmoved) << "the wheel did not move the selection: " << Describe(moved);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

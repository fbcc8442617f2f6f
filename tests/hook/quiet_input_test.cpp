// With real input: where hook.dll keeps its hands off, the list kept open, swapped buttons.
#include "hook_harness.h"

#include "hook/hook_test_control.h"

namespace hooktest {
namespace {

class QuietHook : public HookFixture {
  protected:
    QuietHook() { library_ = L"hook_testbench.dll"; }
    static std::string Kinds(const std::vector<Seen>& seen) {
        std::string kinds;
        for (const Seen& s : seen)
            kinds += std::to_string(s.message) + " ";
        return kinds;
    }
    void ExpectGesturePassesThrough(const char* why) {
        ClearRecords();
        MoveTo(At(200, 200).x, At(200, 200).y);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseWheel(-WHEEL_DELTA);
        MouseButton(MOUSEEVENTF_LEFTUP);
        Settle();
        EXPECT_EQ(Kinds(TargetButtons()), "513 522 514 ") << why; // left down, wheel, left up
        EXPECT_TRUE(Received().empty()) << why << ": " << Describe(Received());
    }
};

TEST_F(QuietHook, BeforeAWindowOfHigherIntegrityAndWhileTheMainWindowHangsPressesPass) {
    ASSERT_NE(Start(), 0);
    ASSERT_EQ(Control(kTestForegroundAbove), 0u);
    ExpectGesturePassesThrough("higher integrity");
    Control(kTestForegroundAsIs);
    BlockReceiver(6500);
    ASSERT_TRUE(WaitFor([&] { return IsHungAppWindow(receiver_) != FALSE; }, 6000));
    ExpectGesturePassesThrough("main window hung");
}

TEST_F(QuietHook, AnExcludedOrFullScreenProgramInFrontGetsTheGestureAndAltTab) {
    ASSERT_NE(Start(100, 2), 0);
    const auto setRules = Export<SetQuietRulesFn>("SetQuietRules");
    for (bool fullScreen : {false, true}) {
        if (fullScreen)
            MoveWindow(target_, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), FALSE);
        FocusTarget();
        ASSERT_NE(setRules(fullScreen, fullScreen ? nullptr : L"other.exe\0HOOK_TESTS.EXE\0"), 0);
        ExpectGesturePassesThrough(fullScreen ? "full screen" : "excluded");
        KeyPress(VK_MENU, true);
        mw::test::KeyTap(VK_TAB);
        KeyPress(VK_MENU, false);
        Settle();
        EXPECT_EQ(TargetSeen({WM_SYSKEYDOWN}).size(), 2u) << "Alt and Tab reached the program";
        setRules(0, nullptr);
    }
}

TEST_F(QuietHook, TheListThatStaysOpenTakesTheWheelWhereverTheCursorIs) {
    ASSERT_NE(Start(100, 1), 0);
    const auto setOpen = Export<SetAltTabListOpenFn>("SetAltTabListOpen");
    ASSERT_NE(setOpen(1), 0);
    MoveTo(At(300, 300).x, At(300, 300).y);
    for (int i = 0; i < 8; ++i)
        MouseWheel(-15);
    const std::vector<Posted> r = ReceivedOnceSettled(1);
    setOpen(0);
    ASSERT_EQ(r.size(), 1u) << Describe(r);
    EXPECT_EQ(r[0].message, kMsgMoveSelection);
    EXPECT_EQ(r[0].delta, -WHEEL_DELTA);
    EXPECT_TRUE(TargetSeen({WM_MOUSEWHEEL}).empty()) << "the window beneath did not scroll";
}

TEST_F(QuietHook, WithSwappedButtonsAHeldBackClickIsReplayedWithThePhysicalFlags) {
    ASSERT_NE(Start(), 0);
    ASSERT_EQ(Control(kTestSwapButtons), 0u); // Wine's SwapMouseButton leaves what hooks see as it is
    MoveTo(At(200, 200).x, At(200, 200).y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    EXPECT_EQ(Kinds(TargetSeen({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP})), "516 517 ")
        << "right down, right up";
}

} // namespace
} // namespace hooktest

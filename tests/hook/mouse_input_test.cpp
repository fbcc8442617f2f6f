// The mouse gesture with real input through the installed hook: what the library posts and what
// reaches the window under the cursor.
#include "hook_harness.h"

namespace hooktest {
namespace {

using MouseGesture = HookFixture;

// Hold the left button at `p`, turn the wheel `notches` times by `delta`, release.
void Gesture(POINT p, int notches, int delta, DWORD down = MOUSEEVENTF_LEFTDOWN,
             DWORD up = MOUSEEVENTF_LEFTUP) {
    MoveTo(p.x, p.y);
    MouseButton(down);
    for (int i = 0; i < notches; ++i)
        MouseWheel(delta);
    MouseButton(up);
}

TEST_F(MouseGesture, NotchesInBothDirectionsPostOpenMovesAndChooseAndReachNoWindow) {
    ASSERT_NE(Start(), 0);
    for (int notches : {1, 2, 5}) {
        for (int delta : {WHEEL_DELTA, -WHEEL_DELTA}) {
            ClearRecords();
            Gesture(At(200, 200), notches, delta);
            ASSERT_TRUE(WaitForReceived(static_cast<size_t>(notches) + 1)) << Describe(Received());
            Settle();
            const std::vector<Posted> got = Received();
            ASSERT_EQ(got.size(), static_cast<size_t>(notches) + 1) << Describe(got);
            EXPECT_EQ(got.front().message, kMsgOpenPopup);
            EXPECT_EQ(got.front().lParam, 0);
            for (int i = 1; i < notches; ++i) {
                EXPECT_EQ(got[i].message, kMsgMoveSelection);
                EXPECT_EQ(got[i].delta, delta) << "notch " << i;
            }
            EXPECT_EQ(got.back().message, kMsgChoose);
            EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
        }
    }
}

TEST_F(MouseGesture, ClickReachesTheWindowAsWithoutTheHook) {
    const POINT p = At(300, 250);
    // Without the hook, for comparison.
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    const std::string without = Describe(TargetButtons());
    ASSERT_EQ(TargetButtons().size(), 2u) << without;

    ClearRecords();
    ASSERT_NE(Start(), 0);
    MoveTo(p.x + 1, p.y); // a new position so the two clicks are not a double click
    MoveTo(p.x, p.y);
    PumpFor(600); // beyond the double-click time as well
    ClearRecords();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    EXPECT_EQ(Describe(TargetButtons()), without);
    EXPECT_TRUE(Received().empty()) << Describe(Received());
}

TEST_F(MouseGesture, ClickWithAWobbleInsideTheToleranceIsStillAClick) {
    ASSERT_NE(Start(), 0);
    const POINT p = At(320, 260);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveTo(p.x + 3, p.y + 2);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    const std::vector<Seen> seen = TargetButtons();
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(seen[0].screen.x, p.x);
    EXPECT_EQ(seen[0].screen.y, p.y);
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(seen[1].screen.x, p.x + 3);
    EXPECT_EQ(seen[1].screen.y, p.y + 2);
}

// Wine passes over the hooks of a thread that fetched no message for five seconds. Both waits
// are longer than that: the gesture after a still mouse, and the release after a long hold, are
// the hook's, with no hook reported lost.
TEST_F(MouseGesture, GestureAfterAStillMouseAndReleaseAfterALongHoldAreSeen) {
    ASSERT_NE(Start(), 0);
    MoveTo(At(200, 200).x, At(200, 200).y);
    PumpFor(6000);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    ASSERT_TRUE(WaitForReceived(1)) << Describe(TargetButtons());
    PumpFor(6000);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitForReceived(2)) << Describe(Received());
    Settle();
    EXPECT_EQ(Describe(Received()), "open(0,0) choose(0,0) ");
    EXPECT_TRUE(Statuses().empty()) << "status " << Statuses().front().status;
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
}

TEST_F(MouseGesture, DragBeyondTheToleranceIsADragFromWhereThePressHappened) {
    ASSERT_NE(Start(), 0);
    const POINT p = At(200, 300);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveTo(p.x + 4, p.y);
    MoveTo(p.x + 40, p.y + 5);
    MoveTo(p.x + 80, p.y + 10);
    // A wheel turn during a drag belongs to the application too.
    MouseWheel(-WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    const std::vector<Seen> seen = TargetButtons();
    ASSERT_EQ(seen.size(), 3u) << Describe(seen);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(seen[0].screen.x, p.x);
    EXPECT_EQ(seen[0].screen.y, p.y);
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_TRUE(GET_KEYSTATE_WPARAM(seen[1].wParam) & MK_LBUTTON) << "the wheel came without the button";
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(seen[2].screen.x, p.x + 80);
    EXPECT_EQ(seen[2].screen.y, p.y + 10);
    EXPECT_TRUE(Received().empty()) << Describe(Received());
}

TEST_F(MouseGesture, LongPressReachesTheWindowWhenTheTimeOutPasses) {
    ASSERT_NE(Start(100, 0, 0, 0, 6, 150), 0);
    const POINT p = At(250, 250);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    // No further input: the press has to arrive by itself once the time-out has passed.
    ASSERT_TRUE(WaitFor([&] { return TargetGot(WM_LBUTTONDOWN); }, 2000));
    EXPECT_FALSE(TargetGot(WM_LBUTTONUP));
    EXPECT_NE(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0) << "the application should see the button held";
    // The wheel after the time-out is no gesture: it reaches the application with the button.
    MouseWheel(WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    const std::vector<Seen> seen = TargetButtons();
    ASSERT_EQ(seen.size(), 3u) << Describe(seen);
    EXPECT_EQ(seen[0].screen.x, p.x);
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_TRUE(Received().empty()) << Describe(Received());
}

TEST_F(MouseGesture, WheelOutsideTheToleranceIsNoGesture) {
    ASSERT_NE(Start(100, 0, 0, 0, 6, 500), 0);
    const POINT p = At(250, 250);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveTo(p.x + 10, p.y); // leaves the 6 px tolerance: now a drag
    MouseWheel(WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    EXPECT_EQ(TargetButtons().size(), 3u) << Describe(TargetButtons());
    EXPECT_TRUE(Received().empty()) << Describe(Received());
}

TEST_F(MouseGesture, CancelDistancePostsOneCancelThenSilence) {
    ASSERT_NE(Start(50), 0);
    const POINT p = At(200, 200);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    MoveTo(p.x + 30, p.y); // still inside
    MouseWheel(-WHEEL_DELTA);
    MoveTo(p.x + 100, p.y); // beyond 50 px
    MoveTo(p.x + 120, p.y);
    MouseWheel(-WHEEL_DELTA);
    MouseWheel(WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    const std::vector<Posted> got = ReceivedOnceSettled(3);
    ASSERT_EQ(got.size(), 3u) << Describe(got);
    EXPECT_EQ(got[0].message, kMsgOpenPopup);
    EXPECT_EQ(got[1].message, kMsgMoveSelection);
    EXPECT_EQ(got[2].message, kMsgCancel);
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
}

TEST_F(MouseGesture, CancelDistanceZeroNeverCancels) {
    ASSERT_NE(Start(0), 0);
    const POINT p = At(100, 100);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(WHEEL_DELTA);
    MoveTo(p.x + 500, p.y + 300);
    MouseWheel(WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    const std::vector<Posted> got = ReceivedOnceSettled(3);
    ASSERT_EQ(got.size(), 3u) << Describe(got);
    EXPECT_EQ(got[1].message, kMsgMoveSelection);
    EXPECT_EQ(got[2].message, kMsgChoose);
}

TEST_F(MouseGesture, ClickModeOnlyOpens) {
    ASSERT_NE(Start(0, 0, 1), 0);
    Gesture(At(200, 200), 3, -WHEEL_DELTA);
    const std::vector<Posted> got = ReceivedOnceSettled(1);
    ASSERT_EQ(got.size(), 1u) << Describe(got);
    EXPECT_EQ(got[0].message, kMsgOpenPopup);
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
}

// The tilt wheel during the gesture is reported by direction and reaches no window; without a
// gesture it reaches the window as before.
TEST_F(MouseGesture, TiltDuringTheGestureIsReportedAndOtherwiseUntouched) {
    ASSERT_NE(Start(), 0);
    FocusTarget();
    const POINT p = At(200, 200);
    MoveTo(p.x, p.y);
    MouseTilt(WHEEL_DELTA);
    Settle();
    EXPECT_EQ(TargetSeen({WM_MOUSEHWHEEL}).size(), 1u) << Describe(TargetButtons());
    EXPECT_TRUE(Received().empty()) << Describe(Received());

    ClearRecords();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    for (int delta : {WHEEL_DELTA, WHEEL_DELTA, -WHEEL_DELTA})
        MouseTilt(delta);
    MouseButton(MOUSEEVENTF_LEFTUP);
    const std::vector<Posted> got = ReceivedOnceSettled(5);
    ASSERT_EQ(got.size(), 5u) << Describe(got);
    const WPARAM expected[] = {1, 1, 0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(got[i + 1].message, kMsgTilt) << Describe(got);
        EXPECT_EQ(got[i + 1].wParam, expected[i]) << "tilt " << i;
    }
    EXPECT_EQ(got.back().message, kMsgChoose);
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
}

TEST_F(MouseGesture, RightButtonGestureOpensNoContextMenu) {
    ASSERT_NE(Start(100, 0, 0, 1), 0);
    // A plain right click still reaches the window with its context menu: the test can see one.
    MoveTo(At(300, 300).x, At(300, 300).y);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    Settle();
    ASSERT_TRUE(WaitFor([&] { return TargetGot(WM_CONTEXTMENU); }, 1000)) << Describe(TargetButtons());
    EXPECT_TRUE(TargetGot(WM_RBUTTONDOWN));
    EXPECT_TRUE(TargetGot(WM_RBUTTONUP));

    ClearRecords();
    Gesture(At(310, 300), 2, -WHEEL_DELTA, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    const std::vector<Posted> got = ReceivedOnceSettled(3);
    ASSERT_EQ(got.size(), 3u) << Describe(got);
    EXPECT_EQ(got[2].message, kMsgChoose);
    EXPECT_FALSE(TargetGot(WM_RBUTTONUP));
    EXPECT_FALSE(TargetGot(WM_CONTEXTMENU));
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());

    // The left button is left alone in this mode.
    ClearRecords();
    Gesture(At(320, 300), 1, -WHEEL_DELTA);
    Settle();
    EXPECT_TRUE(Received().empty()) << Describe(Received());
    EXPECT_EQ(TargetButtons().size(), 3u) << Describe(TargetButtons());
}

TEST_F(MouseGesture, ReinstallTakesTheNewValuesForTheNextGesture) {
    ASSERT_NE(Start(), 0);
    Gesture(At(200, 200), 1, WHEEL_DELTA);
    ASSERT_TRUE(WaitForReceived(2));
    Settle();

    // The options pages reinstall without ending first; now the right button is the one.
    ClearRecords();
    ASSERT_NE(Start(100, 0, 0, 1), 0);
    Gesture(At(210, 200), 1, WHEEL_DELTA);
    Settle();
    EXPECT_TRUE(Received().empty()) << Describe(Received());
    ClearRecords();
    Gesture(At(220, 200), 1, WHEEL_DELTA, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitForReceived(2)) << Describe(Received());
    Settle();
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());

    // The program's own way: EndHook, then StartMouseHook with what it returned.
    ClearRecords();
    EXPECT_EQ(End(), receiver_);
    ASSERT_NE(start_(receiver_, 100, 0, 1, 0, 6, 500), 0);
    Gesture(At(230, 200), 3, WHEEL_DELTA);
    const std::vector<Posted> got = ReceivedOnceSettled(1);
    ASSERT_EQ(got.size(), 1u) << Describe(got); // click mode now
}

TEST_F(MouseGesture, BlockedReceiverDelaysNeitherTheMouseNorTheHook) {
    ASSERT_NE(Start(), 0);
    BlockReceiver(2000);
    const ULONGLONG blockedUntil = GetTickCount64() + 2000;
    // Clicks go through the held-press replay; each must arrive promptly.
    for (int i = 0; i < 4; ++i) {
        const POINT p = At(150 + 40 * i, 400);
        MoveTo(p.x, p.y);
        const size_t before = TargetButtons().size();
        const ULONGLONG sent = GetTickCount64();
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(WaitFor([&] { return TargetButtons().size() >= before + 2; }, 1500));
        EXPECT_LT(GetTickCount64() - sent, 500u) << "click " << i << " was held up";
    }
    // A gesture while the receiver sleeps: posted, not lost.
    Gesture(At(400, 400), 2, -WHEEL_DELTA);
    Settle();
    EXPECT_LT(GetTickCount64(), blockedUntil) << "the test took too long to prove anything";
    ASSERT_TRUE(WaitForReceived(3, 4000)) << Describe(Received());
    // And the hook is still in place afterwards.
    ClearRecords();
    Gesture(At(420, 400), 1, WHEEL_DELTA);
    ASSERT_TRUE(WaitForReceived(2)) << Describe(Received());
    Settle();
}

} // namespace
} // namespace hooktest

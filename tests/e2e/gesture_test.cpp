// The whole road of a gesture with real input: SendInput through the real hook.dll of the real
// program, other programs' windows as targets, the result read back from the desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

// Three windows of another program, the last one in front: Z order Gamma, Beta, Alpha.
struct ThreeTargets {
    Target alpha, beta, gamma;
    bool Start(const wchar_t* tag) {
        const std::wstring t(tag);
        if (!alpha.Start(L"Alpha " + t) || !beta.Start(L"Beta " + t) || !gamma.Start(L"Gamma " + t))
            return false;
        SetForegroundWindow(gamma.window);
        return WaitFor([&] { return GetForegroundWindow() == gamma.window; }, 3000);
    }
};

// Input at a person's pace: Wine delivers a burst of injected events in one go, which no
// hand on a mouse produces.
void Notch(int delta = -120) {
    MouseWheel(delta);
    PumpFor(40);
}
void Press(bool right, bool down) {
    MouseButton(right, down);
    PumpFor(40);
}

constexpr bool kRealHook = true;

// Holds the button and turns the wheel once: true when the popup opened.
bool OpenByGesture(Resident& program, bool right = false) {
    Press(right, true);
    Notch(-120);
    return program.Visible();
}

bool KeysUp() {
    return GetAsyncKeyState(VK_MENU) >= 0 && GetAsyncKeyState(VK_SHIFT) >= 0 && GetAsyncKeyState(VK_TAB) >= 0;
}

TEST(Gesture, LeftButtonAndThreeNotchesChooseTheThirdWindow) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"left"));
    Resident program;
    ASSERT_TRUE(program.Start(L"", L"", kRealHook));
    PlaceCursor(1500, 900);
    ASSERT_TRUE(OpenByGesture(program)) << "the first notch opens the popup";
    RECT popup{};
    GetWindowRect(program.main, &popup);
    PumpFor(300);
    SaveScreenPng(popup, L"gesture-popup.png");
    Notch(-120);
    Notch(-120);
    PumpFor(200);
    Press(false, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.alpha.window));
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0) << "no button left pressed";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Gesture, OneNotchKeepsTheFrontWindowAndTheWheelWrapsPastTheLastCommand) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"wrap"));
    Resident program;
    ASSERT_TRUE(program.Start(L"", L"", kRealHook));
    PlaceCursor(1500, 900);
    // Open on Gamma, then 3 windows + desktop + cancel = 5 entries: five more notches come back
    // to Gamma, a sixth selects Beta.
    ASSERT_TRUE(OpenByGesture(program));
    for (int i = 0; i < 6; ++i)
        Notch(-120);
    PumpFor(200);
    Press(false, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.beta.window));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Gesture, MovingAwayCancelsAndTheForegroundStays) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"cancel"));
    Resident program;
    ASSERT_TRUE(program.Start(L"", L"", kRealHook));
    PlaceCursor(1500, 900);
    ASSERT_TRUE(OpenByGesture(program));
    Notch(-120);
    MouseMoveTo(1500, 700); // 200 px: beyond the default cancel distance of 100
    EXPECT_TRUE(program.Closed());
    Notch(-120);
    Press(false, false);
    PumpFor(500);
    EXPECT_FALSE(IsWindowVisible(program.main)) << "the rest of a cancelled gesture does nothing";
    EXPECT_EQ(GetForegroundWindow(), t.gamma.window);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Gesture, RightButtonModeChoosesWithoutAContextMenu) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"right"));
    // A window of the test process under the cursor records what reaches it.
    HWND recorder = CreateTestWindow(L"Recorder right", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, nullptr,
                                     1400, 800, 300, 200);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nRightButton=1\r\n", L"", kRealHook));
    MouseMoveTo(1500, 900);
    PumpFor(200);
    ClearRecordedMessages(recorder);
    ASSERT_TRUE(OpenByGesture(program, true));
    Notch(-120);
    PumpFor(200);
    Press(true, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.beta.window));
    PumpFor(300);
    EXPECT_EQ(CountRecorded(recorder, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(CountRecorded(recorder, WM_RBUTTONUP), 0);
    EXPECT_EQ(CountRecorded(recorder, WM_CONTEXTMENU), 0);
    EXPECT_EQ(program.sandbox.Close(), 0);
    DestroyWindow(recorder);
}

TEST(Gesture, ClickModePointAndClickAndEscCancels) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"click"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nClickMode=1\r\n", L"", kRealHook));
    PlaceCursor(1500, 900);
    ASSERT_TRUE(OpenByGesture(program));
    Press(false, false);
    PumpFor(300);
    EXPECT_TRUE(IsWindowVisible(program.main)) << "click mode: the popup stays after the release";
    RECT popup{};
    GetWindowRect(program.main, &popup);
    // Rows are 40 px high below a 12 px margin: the third row is Alpha.
    MouseMoveTo((popup.left + popup.right) / 2, popup.top + 12 + 2 * 40 + 20);
    PumpFor(300);
    Press(false, true);
    Press(false, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.alpha.window));

    // Esc cancels.
    PlaceCursor(1500, 900);
    ASSERT_TRUE(OpenByGesture(program));
    Press(false, false);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == program.main; }));
    KeyTap(VK_ESCAPE);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.alpha.window));

    // Another program activated cancels.
    ASSERT_TRUE(OpenByGesture(program));
    Press(false, false);
    PumpFor(200);
    SetForegroundWindow(t.beta.window);
    EXPECT_TRUE(program.Closed());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Gesture, AltTabStandardModeStepsWithTabAndChoosesOnAltRelease) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"alttab"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=2\r\n", L"", kRealHook));
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB); // opens on Beta, the window behind
    ASSERT_TRUE(program.Visible());
    KeyTap(VK_TAB); // Alpha
    KeyPress(VK_SHIFT, true);
    KeyTap(VK_TAB); // back one: Beta
    KeyPress(VK_SHIFT, false);
    PumpFor(200);
    KeyPress(VK_MENU, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.beta.window));
    EXPECT_TRUE(WaitFor(KeysUp, 2000)) << "no key left down";

    // Esc while Alt is held cancels.
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB);
    ASSERT_TRUE(program.Visible());
    KeyTap(VK_ESCAPE);
    EXPECT_TRUE(program.Closed());
    KeyPress(VK_MENU, false);
    PumpFor(300);
    EXPECT_EQ(GetForegroundWindow(), t.beta.window);
    EXPECT_TRUE(WaitFor(KeysUp, 2000));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Gesture, QuickAltTabSwitchesToTheWindowBehindAndBackAgain) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"quick"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=2\r\n", L"", kRealHook));
    // Pressed and released at once, as every Windows user does to flip between two windows.
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB);
    KeyPress(VK_MENU, false);
    EXPECT_TRUE(ForegroundBecomes(t.beta.window));
    EXPECT_TRUE(program.Closed());
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB);
    KeyPress(VK_MENU, false);
    EXPECT_TRUE(ForegroundBecomes(t.gamma.window)) << "the second quick Alt+Tab flips back";
    EXPECT_TRUE(WaitFor(KeysUp, 2000));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Gesture, AltTabClickModeStaysOpenForArrowsAndEnter) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"altclick"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=1\r\n", L"", kRealHook));
    // Away from the popup: in click mode the entry under the cursor would be selected.
    PlaceCursor(5, 5);
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB);
    ASSERT_TRUE(program.Visible());
    KeyPress(VK_MENU, false);
    PumpFor(300);
    EXPECT_TRUE(IsWindowVisible(program.main)) << "click mode: releasing Alt leaves the popup open";
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == program.main; }));
    // Opened on Beta already.
    KeyTap(VK_DOWN);
    KeyTap(VK_UP);
    KeyTap(VK_RETURN);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.beta.window));
    EXPECT_TRUE(WaitFor(KeysUp, 2000));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

// ReplaceAltTab=1: hook.dll is told the list stays open, so the wheel steps it with the cursor
// far from it, once per whole notch of a touchpad's small deltas.
TEST(Gesture, TheAltTabListThatStaysOpenFollowsTheWheelWhereverTheCursorIs) {
    ThreeTargets t;
    ASSERT_TRUE(t.Start(L"listwheel"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=1\r\n", L"", kRealHook));
    PlaceCursor(5, 5); // over the desktop, nowhere near the list
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB); // opens on Beta
    ASSERT_TRUE(program.Visible());
    KeyPress(VK_MENU, false);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == program.main; }));
    for (int i = 0; i < 8; ++i)
        Notch(-15); // one notch in all: Alpha
    PumpFor(200);
    KeyTap(VK_RETURN);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.alpha.window)) << "eight deltas of 15 are one step, not none nor eight";
    EXPECT_TRUE(WaitFor(KeysUp, 2000));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

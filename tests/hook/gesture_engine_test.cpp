// The gesture engine on its own: events in, decisions out, no real input.
#include <gtest/gtest.h>

#include "hook/gesture_engine.h"
#include "hook/hook.h"

#include <algorithm>
#include <array>
#include <vector>

namespace mw {
namespace {

struct Posted {
    uint32_t message;
    int delta;
    intptr_t lParam;
};

// Drives an engine and collects what it asks for, as the hook layer would.
class Driver {
  public:
    explicit Driver(GestureSettings s = GestureSettings{}) { ResetEngine(engine, s); }

    HookDecision Mouse(MouseAction a, int x, int y, int data = 0, bool ours = false) {
        MouseEvent ev;
        ev.action = a;
        ev.x = x;
        ev.y = y;
        ev.data = data;
        ev.time = now;
        ev.ours = ours;
        return Record(OnMouseEvent(engine, ev));
    }
    HookDecision KeyPress(uint32_t vk, bool down) {
        KeyEvent k;
        k.vk = vk;
        k.down = down;
        return Record(OnKeyEvent(engine, k));
    }
    HookDecision Timer() { return Record(OnTimeOut(engine, now)); }

    // Takes the waiting replay, "injects" it and feeds it back through the engine as the
    // system would.
    std::vector<ReplayInput> Flush() {
        ReplayInput items[kReplayCapacity];
        const int n = TakeReplay(engine, items, kReplayCapacity, now);
        ReplayInjected(engine, n, n);
        std::vector<ReplayInput> out(items, items + n);
        for (const ReplayInput& r : out)
            Mouse(r.action, r.x, r.y, r.data, true);
        return out;
    }

    HookDecision Record(const HookDecision& d) {
        for (int i = 0; i < d.postCount; ++i)
            for (int t = 0; t < d.posts[i].times; ++t)
                posted.push_back(Posted{d.posts[i].message, d.posts[i].wheelDelta, d.posts[i].lParam});
        if (d.flushReplay)
            ++flushRequests;
        if (d.injectMenuMask)
            ++masks;
        return d;
    }

    std::vector<uint32_t> Messages() const {
        std::vector<uint32_t> out;
        for (const Posted& p : posted)
            out.push_back(p.message);
        return out;
    }

    GestureEngine engine;
    uint32_t now = 1000;
    std::vector<Posted> posted;
    int flushRequests = 0;
    int masks = 0;
};

GestureSettings Settings(int cancel = 100, int altTab = 0, int click = 0, int right = 0, int range = 6,
                         int timeOut = 500) {
    return MakeGestureSettings(cancel, altTab, click, right, range, timeOut);
}

// ---- the gesture ---------------------------------------------------------------------------

TEST(GestureEngine, GestureSwallowsEverythingAndPostsOneMovePerNotch) {
    for (int notches : {1, 2, 5}) {
        for (int delta : {120, -120}) {
            Driver d;
            EXPECT_TRUE(d.Mouse(MouseAction::LeftDown, 50, 50).swallow);
            for (int i = 0; i < notches; ++i)
                EXPECT_TRUE(d.Mouse(MouseAction::Wheel, 50, 50, delta).swallow);
            EXPECT_TRUE(d.Mouse(MouseAction::LeftUp, 50, 50).swallow);
            ASSERT_EQ(d.posted.size(), static_cast<size_t>(notches) + 1);
            EXPECT_EQ(d.posted.front().message, kMsgOpenPopup);
            EXPECT_EQ(d.posted.front().lParam, 0);
            for (int i = 1; i < notches; ++i)
                EXPECT_EQ(d.posted[i].delta, delta);
            EXPECT_EQ(d.posted.back().message, kMsgChoose);
            EXPECT_EQ(d.flushRequests, 0) << "a gesture replays nothing";
            EXPECT_TRUE(IsEngineIdle(d.engine));
        }
    }
}

TEST(GestureEngine, HighResolutionWheelPostsOnePerWholeNotch) {
    Driver d;
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 0, 0, 30); // opens
    for (int i = 0; i < 7; ++i)
        d.Mouse(MouseAction::Wheel, 0, 0, 40); // 280 units: two notches
    EXPECT_EQ(d.posted.size(), 3u);
    d.Mouse(MouseAction::Wheel, 0, 0, -40); // turning back forgets the 40 left over
    d.Mouse(MouseAction::Wheel, 0, 0, -40);
    EXPECT_EQ(d.posted.size(), 3u);
    d.Mouse(MouseAction::Wheel, 0, 0, -40);
    ASSERT_EQ(d.posted.size(), 4u);
    EXPECT_EQ(d.posted.back().delta, -120);
    d.Mouse(MouseAction::Wheel, 0, 0, 360); // a fast wheel reporting three notches at once
    ASSERT_EQ(d.posted.size(), 7u);
    EXPECT_EQ(d.posted.back().delta, 120);
}

TEST(GestureEngine, ClickIsReplayedWhereItHappened) {
    Driver d;
    const HookDecision down = d.Mouse(MouseAction::LeftDown, 10, 20);
    EXPECT_TRUE(down.swallow);
    EXPECT_EQ(down.timer, TimerAction::Arm);
    EXPECT_EQ(down.timerMs, 500u);
    d.Mouse(MouseAction::Move, 13, 21); // a wobble passes: the cursor must not stick
    EXPECT_FALSE(d.Mouse(MouseAction::Move, 14, 22).swallow);
    const HookDecision up = d.Mouse(MouseAction::LeftUp, 14, 22);
    EXPECT_TRUE(up.swallow);
    EXPECT_EQ(up.timer, TimerAction::Kill);
    EXPECT_TRUE(up.flushReplay);
    const std::vector<ReplayInput> r = d.Flush();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].action, MouseAction::Move);
    EXPECT_EQ(r[0].x, 10);
    EXPECT_EQ(r[0].y, 20);
    EXPECT_EQ(r[1].action, MouseAction::LeftDown);
    EXPECT_EQ(r[2].action, MouseAction::Move);
    EXPECT_EQ(r[2].x, 14);
    EXPECT_EQ(r[3].action, MouseAction::LeftUp);
    EXPECT_TRUE(IsEngineIdle(d.engine));
    EXPECT_TRUE(d.posted.empty());
}

TEST(GestureEngine, ClickWithoutWobbleReplaysNoMoveThatGoesNowhere) {
    Driver d;
    d.Mouse(MouseAction::Move, 10, 20);
    d.Mouse(MouseAction::LeftDown, 10, 20);
    d.Mouse(MouseAction::LeftUp, 10, 20);
    const std::vector<ReplayInput> r = d.Flush();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].action, MouseAction::LeftDown);
    EXPECT_EQ(r[1].action, MouseAction::LeftUp);
}

TEST(GestureEngine, DragBeyondTheToleranceBecomesTheApplicationsDrag) {
    Driver d;
    d.Mouse(MouseAction::Move, 100, 100);
    d.Mouse(MouseAction::LeftDown, 100, 100);
    EXPECT_FALSE(d.Mouse(MouseAction::Move, 104, 104).swallow); // 5.7 px: inside 6
    EXPECT_TRUE(d.Mouse(MouseAction::Move, 105, 105).swallow);  // 7.1 px: a drag
    const std::vector<ReplayInput> r = d.Flush();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].x, 100);
    EXPECT_EQ(r[1].action, MouseAction::LeftDown);
    EXPECT_EQ(r[2].x, 105);
    // From now on the button belongs to the application: wheel and release pass.
    EXPECT_FALSE(d.Mouse(MouseAction::Wheel, 140, 100, 120).swallow);
    EXPECT_FALSE(d.Mouse(MouseAction::LeftUp, 140, 100).swallow);
    EXPECT_TRUE(d.posted.empty());
    EXPECT_TRUE(IsEngineIdle(d.engine));
}

TEST(GestureEngine, LongPressIsReplayedWhenTheTimeOutPasses) {
    Driver d(Settings(100, 0, 0, 0, 6, 300));
    d.Mouse(MouseAction::LeftDown, 5, 5);
    d.now += 100;
    const HookDecision early = d.Timer(); // a timer that fires early waits for the rest
    EXPECT_EQ(early.timer, TimerAction::Arm);
    EXPECT_EQ(early.timerMs, 200u);
    EXPECT_FALSE(early.flushReplay);
    d.now += 200;
    const HookDecision late = d.Timer();
    EXPECT_TRUE(late.flushReplay);
    EXPECT_EQ(d.Flush().size(), 1u); // the press, where the cursor already is
    EXPECT_FALSE(d.Mouse(MouseAction::Wheel, 5, 5, 120).swallow)
        << "a wheel after the time-out is no gesture";
    EXPECT_FALSE(d.Mouse(MouseAction::LeftUp, 5, 5).swallow);
    EXPECT_TRUE(d.posted.empty());
}

TEST(GestureEngine, WheelArrivingAfterTheTimeOutBeforeTheTimerIsStillALongPress) {
    Driver d(Settings(100, 0, 0, 0, 6, 300));
    d.Mouse(MouseAction::LeftDown, 5, 5);
    d.now += 301;
    EXPECT_TRUE(d.Mouse(MouseAction::Wheel, 5, 5, 120).swallow); // queued behind the press
    const std::vector<ReplayInput> r = d.Flush();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].action, MouseAction::LeftDown);
    EXPECT_EQ(r[1].action, MouseAction::Wheel);
    EXPECT_EQ(r[1].data, 120);
    EXPECT_TRUE(d.posted.empty());
}

TEST(GestureEngine, OtherButtonsDuringTheHoldEndItInOrder) {
    Driver d;
    d.Mouse(MouseAction::LeftDown, 5, 5);
    EXPECT_TRUE(d.Mouse(MouseAction::RightDown, 5, 5).swallow);
    const std::vector<ReplayInput> r = d.Flush();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].action, MouseAction::LeftDown);
    EXPECT_EQ(r[1].action, MouseAction::RightDown);
}

TEST(GestureEngine, InputDuringReplayWaitsBehindIt) {
    Driver d;
    d.Mouse(MouseAction::LeftDown, 10, 10);
    d.Mouse(MouseAction::LeftUp, 10, 10);
    ReplayInput items[kReplayCapacity];
    const int n = TakeReplay(d.engine, items, kReplayCapacity, d.now);
    ASSERT_EQ(n, 2);
    ReplayInjected(d.engine, n, n);
    d.flushRequests = 0;
    // The replay is on its way; a move and a second press come in before it is back.
    EXPECT_TRUE(d.Mouse(MouseAction::Move, 30, 30).swallow);
    EXPECT_TRUE(d.Mouse(MouseAction::LeftDown, 10, 10).swallow); // stale spot: really at 30,30
    EXPECT_EQ(d.flushRequests, 0);
    d.Mouse(items[0].action, 10, 10, 0, true);
    const HookDecision last = d.Mouse(items[1].action, 10, 10, 0, true);
    EXPECT_TRUE(last.flushReplay) << "the waiting move must follow once the replay is back";
    const std::vector<ReplayInput> r = d.Flush();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].action, MouseAction::Move);
    EXPECT_EQ(r[0].x, 30);
    // The second press is held like any other, at the place the user pressed it.
    EXPECT_EQ(d.engine.state, PressState::Holding);
    EXPECT_EQ(d.engine.downX, 30);
}

TEST(GestureEngine, ReplayThatNeverComesBackStopsHoldingInputBack) {
    Driver d;
    d.Mouse(MouseAction::LeftDown, 10, 10);
    d.Mouse(MouseAction::LeftUp, 10, 10);
    ReplayInput items[kReplayCapacity];
    const int n = TakeReplay(d.engine, items, kReplayCapacity, d.now);
    // Blocked by the system: nothing went in.
    EXPECT_FALSE(ReplayInjected(d.engine, n, 0));
    EXPECT_FALSE(d.Mouse(MouseAction::Move, 20, 20).swallow);
    // Went in, but the hook never sees it: a later event ends the wait...
    d.Mouse(MouseAction::LeftDown, 20, 20);
    d.Mouse(MouseAction::LeftUp, 20, 20);
    TakeReplay(d.engine, items, kReplayCapacity, d.now);
    EXPECT_TRUE(d.Mouse(MouseAction::Move, 25, 25).swallow); // waits behind the replay
    d.now += kReplayStallMs + 1;
    const HookDecision late = d.Mouse(MouseAction::Move, 26, 26);
    EXPECT_TRUE(late.flushReplay);
    ASSERT_EQ(d.Flush().size(), 1u);
    EXPECT_TRUE(IsEngineIdle(d.engine));
    // ... and so does the stall timer when no event comes.
    d.Mouse(MouseAction::LeftDown, 26, 26);
    d.Mouse(MouseAction::LeftUp, 26, 26);
    TakeReplay(d.engine, items, kReplayCapacity, d.now);
    d.Mouse(MouseAction::Move, 30, 30);
    EXPECT_TRUE(OnReplayStall(d.engine));
    d.Flush();
    EXPECT_TRUE(IsEngineIdle(d.engine));
}

TEST(GestureEngine, CancelDistancePostsOnceThenSwallowsTheRest) {
    Driver d(Settings(50));
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 2, 0, -120);                 // opens here
    EXPECT_FALSE(d.Mouse(MouseAction::Move, 52, 0).swallow); // exactly 50: still in
    EXPECT_FALSE(d.Mouse(MouseAction::Move, 53, 0).swallow); // the cursor itself moves on
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgCancel}));
    d.Mouse(MouseAction::Move, 200, 0);
    EXPECT_TRUE(d.Mouse(MouseAction::Wheel, 200, 0, -120).swallow);
    EXPECT_TRUE(d.Mouse(MouseAction::LeftUp, 2, 0).swallow); // even back inside
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgCancel}));
    EXPECT_EQ(d.flushRequests, 0);
}

TEST(GestureEngine, CancelDistanceZeroDisablesIt) {
    Driver d(Settings(0));
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 0, 0, -120);
    d.Mouse(MouseAction::Move, 5000, 3000);
    d.Mouse(MouseAction::Wheel, 5000, 3000, -120);
    d.Mouse(MouseAction::LeftUp, 5000, 3000);
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgMoveSelection, kMsgChoose}));
}

TEST(GestureEngine, ClickModeOnlyOpens) {
    Driver d(Settings(0, 0, 1));
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 0, 0, 120);
    EXPECT_TRUE(d.Mouse(MouseAction::Wheel, 0, 0, 120).swallow);
    EXPECT_TRUE(d.Mouse(MouseAction::LeftUp, 0, 0).swallow);
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup}));
    // Afterwards the program handles the mouse itself: clicks on the popup are the app's.
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::LeftUp, 0, 0);
    EXPECT_EQ(d.Flush().size(), 2u);
}

// The tilt wheel while the popup is open is swallowed and reported by its direction alone, so a
// held tilt repeats the same scope; outside a popup it is the application's.
TEST(GestureEngine, TiltDuringThePopupIsReportedByDirection) {
    for (int click : {0, 1}) {
        Driver d(Settings(100, 0, click));
        EXPECT_FALSE(d.Mouse(MouseAction::HWheel, 0, 0, 120).swallow);
        d.Mouse(MouseAction::LeftDown, 0, 0);
        d.Mouse(MouseAction::Wheel, 0, 0, -120);
        const struct { int delta, lowWord; } tilts[] = {{120, 1}, {120, 1}, {-120, 0}, {-30, 0}};
        for (const auto& t : tilts) {
            const HookDecision r = d.Mouse(MouseAction::HWheel, 0, 0, t.delta);
            EXPECT_TRUE(r.swallow);
            ASSERT_EQ(r.postCount, 1) << t.delta;
            EXPECT_EQ(r.posts[0].message, kMsgTilt);
            EXPECT_EQ(r.posts[0].lowWord, t.lowWord) << t.delta;
            EXPECT_EQ(r.posts[0].wheelDelta, 0);
        }
        d.Mouse(MouseAction::LeftUp, 0, 0);
        EXPECT_TRUE(IsEngineIdle(d.engine));
        EXPECT_FALSE(d.Mouse(MouseAction::HWheel, 0, 0, -120).swallow) << "after the release";
    }
}

TEST(GestureEngine, RightButtonModeLeavesTheLeftButtonAlone) {
    Driver d(Settings(100, 0, 0, 1));
    EXPECT_FALSE(d.Mouse(MouseAction::LeftDown, 0, 0).swallow);
    EXPECT_FALSE(d.Mouse(MouseAction::Wheel, 0, 0, 120).swallow);
    EXPECT_FALSE(d.Mouse(MouseAction::LeftUp, 0, 0).swallow);
    EXPECT_TRUE(d.Mouse(MouseAction::RightDown, 0, 0).swallow);
    d.Mouse(MouseAction::Wheel, 0, 0, 120);
    EXPECT_TRUE(d.Mouse(MouseAction::RightUp, 0, 0).swallow) << "a right release would open a context menu";
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgChoose}));
}

TEST(GestureEngine, OurOwnInputPassesUntouched) {
    Driver d;
    EXPECT_FALSE(d.Mouse(MouseAction::LeftDown, 0, 0, 0, true).swallow);
    EXPECT_FALSE(d.Mouse(MouseAction::Wheel, 0, 0, 120, true).swallow);
    EXPECT_TRUE(d.posted.empty());
    EXPECT_EQ(d.engine.state, PressState::Idle);
}

TEST(GestureEngine, NewSettingsKeepAGestureUnderWayAndApplyToTheNext) {
    Driver d;
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 0, 0, 120);
    ApplySettings(d.engine, Settings(100, 0, 0, 1));
    d.Mouse(MouseAction::Wheel, 0, 0, 120);
    EXPECT_TRUE(d.Mouse(MouseAction::LeftUp, 0, 0).swallow);
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgMoveSelection, kMsgChoose}));
    EXPECT_FALSE(d.Mouse(MouseAction::LeftDown, 0, 0).swallow);
}

TEST(GestureEngine, EndingDuringAHoldHandsThePressToTheApplication) {
    Driver d;
    d.Mouse(MouseAction::LeftDown, 7, 8);
    EXPECT_TRUE(ReleaseHeldPress(d.engine));
    ReplayInput items[kReplayCapacity];
    ASSERT_EQ(TakeReplay(d.engine, items, kReplayCapacity, d.now), 1);
    EXPECT_EQ(items[0].action, MouseAction::LeftDown);
    Driver idle;
    EXPECT_FALSE(ReleaseHeldPress(idle.engine));
}

TEST(GestureEngine, ValuesAreBounded) {
    const GestureSettings s = MakeGestureSettings(-5, 5, 2, 2, -3, -100);
    EXPECT_EQ(s.moveCancelPx, 0);
    EXPECT_EQ(s.replaceAltTab, 2) << "any non-zero value other than 1 is standard mode";
    EXPECT_FALSE(s.clickMode);
    EXPECT_FALSE(s.rightButton);
    EXPECT_EQ(s.permissibleRange, 0);
    EXPECT_EQ(s.timeOutMs, 50);
    EXPECT_EQ(MakeGestureSettings(0, -1, 1, 1, 100000, 100000).timeOutMs, 10000);
    EXPECT_EQ(MakeGestureSettings(0, -1, 1, 1, 100000, 100000).permissibleRange, 500);
}

// ---- the Alt+Tab keys ----------------------------------------------------------------------

TEST(AltTabEngine, StandardModeSequence) {
    Driver d(Settings(100, 2));
    EXPECT_FALSE(d.KeyPress(kVkLMenu, true).swallow);
    const HookDecision open = d.KeyPress(kVkTab, true);
    EXPECT_TRUE(open.swallow);
    EXPECT_TRUE(open.injectMenuMask);
    EXPECT_TRUE(d.KeyPress(kVkTab, false).swallow);
    d.KeyPress(kVkTab, true);
    d.KeyPress(kVkTab, false);
    d.KeyPress(kVkLShift, true);
    d.KeyPress(kVkTab, true);
    d.KeyPress(kVkTab, false);
    d.KeyPress(kVkLShift, false);
    EXPECT_FALSE(d.KeyPress(kVkLMenu, false).swallow) << "the Alt release must always reach the application";
    // The first Tab opens and steps on at once, so a quick Alt+Tab flips to the window behind.
    ASSERT_EQ(d.posted.size(), 5u);
    EXPECT_EQ(d.posted[0].message, kMsgOpenPopup);
    EXPECT_EQ(d.posted[0].lParam, 1);
    EXPECT_EQ(d.posted[1].delta, -120);
    EXPECT_EQ(d.posted[2].delta, -120);
    EXPECT_EQ(d.posted[3].delta, 120);
    EXPECT_EQ(d.posted[4].message, kMsgChoose);
    EXPECT_EQ(d.masks, 1);
}

TEST(AltTabEngine, QuickAltTabOpensAndChoosesTheNextEntry) {
    for (int mode : {1, 2}) {
        Driver d(Settings(100, mode));
        d.KeyPress(kVkLMenu, true);
        d.KeyPress(kVkTab, true);
        d.KeyPress(kVkTab, false);
        d.KeyPress(kVkLMenu, false);
        ASSERT_GE(d.posted.size(), 2u) << "mode " << mode;
        EXPECT_EQ(d.posted[0].message, kMsgOpenPopup);
        EXPECT_EQ(d.posted[1].message, kMsgMoveSelection);
        EXPECT_EQ(d.posted[1].delta, -120) << "mode " << mode;
    }
}

TEST(AltTabEngine, ShiftTabFirstOpensAndStepsBack) {
    Driver d(Settings(100, 2));
    d.KeyPress(kVkLMenu, true);
    d.KeyPress(kVkRShift, true);
    d.KeyPress(kVkTab, true);
    ASSERT_EQ(d.posted.size(), 2u);
    EXPECT_EQ(d.posted[0].message, kMsgOpenPopup);
    EXPECT_EQ(d.posted[1].delta, 120);
}

TEST(AltTabEngine, EscCancelsOnlyInStandardMode) {
    Driver standard(Settings(100, 2));
    standard.KeyPress(kVkLMenu, true);
    standard.KeyPress(kVkTab, true);
    EXPECT_TRUE(standard.KeyPress(kVkEscape, true).swallow);
    EXPECT_TRUE(standard.KeyPress(kVkEscape, false).swallow);
    standard.KeyPress(kVkLMenu, false);
    EXPECT_EQ(standard.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgMoveSelection, kMsgCancel}));
    EXPECT_FALSE(standard.KeyPress(kVkEscape, true).swallow) << "Esc on its own is the application's";

    Driver click(Settings(100, 1));
    click.KeyPress(kVkLMenu, true);
    click.KeyPress(kVkTab, true);
    EXPECT_FALSE(click.KeyPress(kVkEscape, true).swallow);
    click.KeyPress(kVkLMenu, false);
    EXPECT_EQ(click.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgMoveSelection}));
}

TEST(AltTabEngine, TabWithoutAltAndEverythingWhenOffPasses) {
    Driver on(Settings(100, 2));
    EXPECT_FALSE(on.KeyPress(kVkTab, true).swallow);
    EXPECT_FALSE(on.KeyPress(kVkTab, false).swallow);
    Driver off(Settings(100, 0));
    off.KeyPress(kVkLMenu, true);
    EXPECT_FALSE(off.KeyPress(kVkTab, true).swallow);
    EXPECT_TRUE(off.posted.empty());
}

TEST(AltTabEngine, EverySwallowedPressHasItsReleaseSwallowedInAnyOrder) {
    // Whatever order Shift, Tab and Alt come up in, the application sees every key it saw go
    // down come up again, and no Tab at all.
    const uint32_t keys[3] = {kVkLShift, kVkTab, kVkLMenu};
    int order[3] = {0, 1, 2};
    do {
        Driver d(Settings(100, 2));
        std::vector<int> passedDown(256, 0);
        auto press = [&](uint32_t vk, bool down) {
            if (!d.KeyPress(vk, down).swallow)
                passedDown[vk] += down ? 1 : -1;
        };
        press(kVkLMenu, true);
        press(kVkTab, true);
        press(kVkTab, false);
        press(kVkLShift, true);
        press(kVkTab, true);
        for (int i : order)
            press(keys[i], false);
        for (int vk = 0; vk < 256; ++vk)
            EXPECT_EQ(passedDown[vk], 0) << "key " << vk;
        EXPECT_EQ(d.posted.back().message, kMsgChoose);
        // The next Tab without Alt is an ordinary Tab again.
        EXPECT_FALSE(d.KeyPress(kVkTab, true).swallow);
    } while (std::next_permutation(order, order + 3));
}

// ---- a hook the system removed ---------------------------------------------------------------

TEST(LostHookEngine, EachDeviceIsJudgedByItsOwnRawInput) {
    // A live hook sees every event before raw input shows it, however far raw input lags
    // behind; typing says nothing about the mouse hook, nor moving the mouse about the keys.
    InputWatch live;
    ResetWatch(live, HookKind::Mouse, 1000);
    ResetWatch(live, HookKind::Keyboard, 1000);
    for (uint32_t t = 1000; t < 3000; t += 8) {
        NoteHookInput(live, HookKind::Mouse, t);
        NoteHookInput(live, HookKind::Mouse, t); // one raw report can be two hook events
    }
    for (uint32_t t = 1000; t < 3000; t += 8) // the raw reports of all that, late
        EXPECT_FALSE(NoteRawInput(live, HookKind::Mouse, t, false, 3000)) << t;
    for (uint32_t t = 3000; t < 5000; t += 100) { // typing while the mouse rests
        NoteHookInput(live, HookKind::Keyboard, t);
        EXPECT_FALSE(NoteRawInput(live, HookKind::Keyboard, t, false, t));
    }
    EXPECT_EQ(live.mouse.unseen, 0);

    struct Case {
        HookKind kind;
        int rawEventsToLoss;
    };
    for (const Case c :
         {Case{HookKind::Mouse, kUnseenMouseEvents}, Case{HookKind::Keyboard, kUnseenKeyEvents}}) {
        InputWatch w;
        ResetWatch(w, c.kind, 1000);
        NoteHookInput(w, c.kind, 1010);
        EXPECT_FALSE(NoteRawInput(w, c.kind, 1010 + kRawSlackMs, false, 2000)) << "within the slack";
        uint32_t t = 1100;
        for (int i = 1; i < c.rawEventsToLoss; ++i, t += 10)
            EXPECT_FALSE(NoteRawInput(w, c.kind, t, false, t)) << i;
        EXPECT_FALSE(NoteRawInput(w, c.kind, t, false, t)) << "enough events, but not a second of silence";
        EXPECT_FALSE(NoteRawInput(w, c.kind, 1010 + kHookSilenceMs, false, t, true)) << "a window above us";
        t = 1010 + 2 * kHookSilenceMs;
        for (int i = 1; i < c.rawEventsToLoss; ++i)
            NoteRawInput(w, c.kind, t, false, t);
        EXPECT_TRUE(NoteRawInput(w, c.kind, t, false, t));
        const HookKind other = c.kind == HookKind::Mouse ? HookKind::Keyboard : HookKind::Mouse;
        EXPECT_EQ(WatchOf(w, other).unseen, 0) << "the other device is not blamed";
    }
}

TEST(LostHookEngine, AReleaseOnlyRawInputShowedIsMissedAfterTheGrace) {
    InputWatch w;
    ResetWatch(w, HookKind::Mouse, 1000);
    NoteRawInput(w, HookKind::Mouse, 1000 + kRawSlackMs, true, 5000); // soon after the hook's last
    EXPECT_FALSE(ReleaseMissed(w, HookKind::Mouse, 5000 + kReleaseGraceMs - 1));
    EXPECT_TRUE(ReleaseMissed(w, HookKind::Mouse, 5000 + kReleaseGraceMs));
    EXPECT_FALSE(ReleaseMissed(w, HookKind::Keyboard, 9000));
    NoteHookInput(w, HookKind::Mouse, 5001); // the hook saw it after all
    EXPECT_FALSE(ReleaseMissed(w, HookKind::Mouse, 9000));
}

TEST(LostHookEngine, AtTheTimeOutARawReleaseAfterThePressMeansTheHookIsGone) {
    Driver d;
    InputWatch w;
    d.Mouse(MouseAction::LeftDown, 5, 5);              // at d.now = 1000
    NoteRawInput(w, HookKind::Mouse, 990, true, 1100); // the release of an earlier click, late
    EXPECT_FALSE(HeldPressAlreadyReleased(d.engine, w));
    NoteRawInput(w, HookKind::Mouse, 1030, true, 1100);
    EXPECT_TRUE(HeldPressAlreadyReleased(d.engine, w));
    d.Mouse(MouseAction::LeftUp, 5, 5);
    EXPECT_FALSE(HeldPressAlreadyReleased(d.engine, w)) << "the hook saw it: a click";
}

TEST(LostHookEngine, WhatTheEngineWaitsForAtTheRelease) {
    Driver d(Settings(100, 2, 0, 1));
    bool right = false;
    EXPECT_FALSE(WaitsForButtonRelease(d.engine, &right));
    d.Mouse(MouseAction::RightDown, 5, 5);
    EXPECT_TRUE(WaitsForButtonRelease(d.engine, &right));
    EXPECT_TRUE(right);
    d.Mouse(MouseAction::Wheel, 5, 5, -120);
    EXPECT_TRUE(WaitsForButtonRelease(d.engine, &right)) << "the gesture is open";
    EXPECT_FALSE(WaitsForAltRelease(d.engine));
    d.KeyPress(kVkLMenu, true);
    d.KeyPress(kVkTab, true);
    EXPECT_TRUE(WaitsForAltRelease(d.engine));
    Driver click(Settings(100, 1));
    click.KeyPress(kVkLMenu, true);
    click.KeyPress(kVkTab, true);
    EXPECT_FALSE(WaitsForAltRelease(click.engine)) << "the click-mode popup stays open by design";
}

// Brings a fresh engine into a state, then loses the mouse hook there.
struct LossCase {
    const char* state;
    void (*reach)(Driver&);
    std::vector<uint32_t> posts;          // what the loss posts
    std::vector<MouseAction> replayAfter; // what is still injected
};

TEST(LostHookEngine, TheMouseHookLostInEachStateLeavesNoButtonDownAndNoPopupOpen) {
    const LossCase cases[] = {
        {"idle", [](Driver&) {}, {}, {}},
        {"holding", [](Driver& d) { d.Mouse(MouseAction::LeftDown, 5, 5); }, {}, {}},
        {"gesture",
         [](Driver& d) {
             d.Mouse(MouseAction::LeftDown, 5, 5);
             d.Mouse(MouseAction::Wheel, 5, 5, -120);
         },
         {kMsgCancel},
         {}},
        {"cancelled gesture",
         [](Driver& d) {
             d.Mouse(MouseAction::LeftDown, 5, 5);
             d.Mouse(MouseAction::Wheel, 5, 5, -120);
             d.Mouse(MouseAction::Move, 500, 500);
         },
         {kMsgCancel},
         {}},
        {"click waiting for replay",
         [](Driver& d) {
             d.Mouse(MouseAction::LeftDown, 5, 5);
             d.Mouse(MouseAction::LeftUp, 5, 5);
         },
         {},
         {}},
        {"press replayed, release waiting",
         [](Driver& d) {
             d.Mouse(MouseAction::LeftDown, 5, 5);
             d.Mouse(MouseAction::Move, 50, 5); // a drag: the press goes out
             ReplayInput items[kReplayCapacity];
             const int n = TakeReplay(d.engine, items, kReplayCapacity, d.now);
             ReplayInjected(d.engine, n, n);
             d.Mouse(MouseAction::LeftUp, 50, 5); // waits behind the replay still on its way
         },
         {},
         {MouseAction::LeftUp}},
    };
    for (const LossCase& c : cases) {
        Driver d;
        c.reach(d);
        d.posted.clear();
        const HookDecision lost = d.Record(OnHookLost(d.engine, HookKind::Mouse));
        EXPECT_EQ(d.Messages(), c.posts) << c.state;
        EXPECT_EQ(d.engine.state, PressState::Idle) << c.state;
        std::vector<MouseAction> replay;
        if (lost.flushReplay) {
            for (const ReplayInput& r : d.Flush())
                replay.push_back(r.action);
        }
        EXPECT_EQ(replay, c.replayAfter) << c.state;
        EXPECT_TRUE(IsEngineIdle(d.engine)) << c.state;
        // The next gesture works as before.
        d.posted.clear();
        d.Mouse(MouseAction::LeftDown, 5, 5);
        d.Mouse(MouseAction::Wheel, 5, 5, -120);
        d.Mouse(MouseAction::LeftUp, 5, 5);
        EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgChoose})) << c.state;
    }
}

TEST(LostHookEngine, TheKeyboardHookLostCancelsAStandardAltTabPopupOnly) {
    for (int mode : {1, 2}) {
        Driver d(Settings(100, mode));
        d.KeyPress(kVkLMenu, true);
        d.KeyPress(kVkTab, true);
        d.posted.clear();
        d.Record(OnHookLost(d.engine, HookKind::Keyboard));
        EXPECT_EQ(d.Messages(), mode == 2 ? std::vector<uint32_t>{kMsgCancel} : std::vector<uint32_t>{})
            << "mode " << mode;
        EXPECT_FALSE(d.KeyPress(kVkTab, false).swallow) << "nothing waits for a release the hook never saw";
    }
}

TEST(LostHookEngine, RetriesWaitLongerEachTimeUpToAMinute) {
    const std::pair<int, UINT> table[] = {{0, 1000},  {1, 2000},  {2, 4000},
                                          {5, 32000}, {6, 60000}, {1000, 60000}};
    for (const auto& [failures, delay] : table)
        EXPECT_EQ(HookRetryDelayMs(failures), delay) << failures;
}

// ---- the middle button ----------------------------------------------------------------------

TEST(GestureEngine, MiddleClickIsTakenAndReportedOnlyOverAHeldPopupWithMiddleCloseOn) {
    struct Case {
        int altTab, click;
        bool middleClose, byGesture, byAltTab, taken;
    };
    const Case cases[] = {
        {0, 0, true, false, false, false}, // no popup
        {0, 0, true, true, false, true},   // the gesture popup
        {0, 0, false, true, false, false}, // MiddleClose off
        {0, 1, true, true, false, false},  // click mode: the popup window gets the button itself
        {2, 0, true, false, true, true},   // the Alt+Tab popup that Alt holds open
        {1, 0, true, false, true, false},  // the Alt+Tab popup of click mode stays open by itself
    };
    for (const Case& c : cases) {
        Driver d(Settings(100, c.altTab, c.click));
        d.engine.options = MakeHookOptions(c.middleClose ? kHookOptionMiddleClose : 0);
        if (c.byGesture) {
            d.Mouse(MouseAction::LeftDown, 30, 40);
            d.Mouse(MouseAction::Wheel, 30, 40, -120);
        }
        if (c.byAltTab) {
            d.KeyPress(kVkMenu, true);
            d.KeyPress(kVkTab, true);
        }
        d.posted.clear();
        const size_t i = &c - cases;
        EXPECT_EQ(d.Mouse(MouseAction::MiddleDown, -5, 40).swallow, c.taken) << i;
        EXPECT_EQ(d.Mouse(MouseAction::MiddleUp, -5, 40).swallow, c.taken) << i;
        ASSERT_EQ(d.posted.size(), c.taken ? 1u : 0u) << i;
        if (c.taken) {
            EXPECT_EQ(d.posted[0].message, kMsgMiddleClick);
            EXPECT_EQ(d.posted[0].lParam, (40 << 16) | 0xFFFB) << "x -5 and y 40 as in a mouse message";
        }
    }
}

TEST(GestureEngine, AMiddleReleaseGoesWhereItsPressWentWhateverHappenedInBetween) {
    Driver d;
    d.engine.options = MakeHookOptions(kHookOptionMiddleClose);
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 0, 0, -120);
    EXPECT_TRUE(d.Mouse(MouseAction::MiddleDown, 0, 0).swallow);
    d.Mouse(MouseAction::LeftUp, 0, 0); // the popup closes with the middle button still down
    EXPECT_TRUE(d.Mouse(MouseAction::MiddleUp, 0, 0).swallow) << "an orphan release";
    EXPECT_FALSE(d.Mouse(MouseAction::MiddleDown, 0, 0).swallow); // no popup: the application's
    d.Mouse(MouseAction::LeftDown, 0, 0);
    d.Mouse(MouseAction::Wheel, 0, 0, -120);
    EXPECT_FALSE(d.Mouse(MouseAction::MiddleUp, 0, 0).swallow) << "a press left down in the application";
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgChoose, kMsgOpenPopup}));
}

// ---- input the engine keeps its hands off, and states that went stale -------------------------

HookDecision Press(Driver& d, int dpi = 96, bool touch = false) {
    MouseEvent press;
    press.action = MouseAction::LeftDown;
    press.time = d.now;
    press.dpi = dpi;
    press.touch = touch;
    return d.Record(OnMouseEvent(d.engine, press));
}

TEST(GestureEngineGate, WhatIsHeldBackBeforeWhichFrontWindow) {
    const struct {
        const char* name;
        HookGate gate;
        bool touch, pressHeld, tabTaken; // the wheel in a list that stays open is taken as Tab is
    } rows[] = {
        {"an ordinary window", HookGate{}, false, true, true},
        {"a full-screen or excluded program", HookGate{true, false, false}, false, false, false},
        {"a window of higher integrity", HookGate{false, true, false}, false, false, true},
        {"the main window hung", HookGate{false, false, true}, false, false, false},
        {"touch or pen", HookGate{}, true, false, true},
    };
    for (const auto& r : rows) {
        Driver d(Settings(100, 2));
        d.engine.gate = r.gate;
        EXPECT_EQ(Press(d, 96, r.touch).swallow, r.pressHeld) << r.name;
        EXPECT_EQ(d.Mouse(MouseAction::Wheel, 0, 0, -120).swallow, r.pressHeld) << r.name;
        d.Mouse(MouseAction::LeftUp, 0, 0);
        d.KeyPress(kVkLMenu, true);
        EXPECT_EQ(d.KeyPress(kVkTab, true).swallow, r.tabTaken) << r.name;
        EXPECT_EQ(d.posted.size(), r.pressHeld ? 4u : (r.tabTaken ? 2u : 0u)) << r.name;
        d.engine.listOpen = true;
        EXPECT_EQ(d.Mouse(MouseAction::Wheel, 0, 0, -120).swallow, r.tabTaken) << r.name;
    }
}

TEST(GestureEngineGate, DistancesAre96DpiValuesOfThePressMonitor) {
    for (const auto& r :
         {std::array<int, 3>{6, 96, 6}, {6, 144, 9}, {6, 192, 12}, {100, 120, 125}, {100, 0, 100}})
        EXPECT_EQ(ScaleForDpi(r[0], r[1]), r[2]) << r[0] << " at " << r[1];
    Driver d;
    Press(d, 192);
    EXPECT_FALSE(d.Mouse(MouseAction::Move, 10, 0).swallow) << "a wobble within 12 px";
    d.Mouse(MouseAction::Wheel, 10, 0, -120);
    d.Mouse(MouseAction::Move, 150, 0); // inside 100 px at 200 %
    d.Mouse(MouseAction::Move, 211, 0);
    EXPECT_EQ(d.Messages(), (std::vector<uint32_t>{kMsgOpenPopup, kMsgCancel}));
    EXPECT_FALSE(CoversMonitor(-8, -8, 1928, 1040, 0, 0, 1920, 1080)) << "the taskbar shows";
}

TEST(StaleStateEngine, AButtonSeenDownThenUpEndsThePressOrGesture) {
    const struct {
        const char* name;
        bool gesture, first, second, ended;
    } rows[] = {
        {"up before ever down says nothing", true, false, false, false},
        {"released unseen during a gesture", true, true, false, true},
        {"released unseen during a hold", false, true, false, true},
    };
    for (const auto& r : rows) {
        Driver d;
        Press(d);
        if (r.gesture)
            d.Mouse(MouseAction::Wheel, 0, 0, -120);
        d.Record(OnPhysicalButton(d.engine, r.first));
        d.Record(OnPhysicalButton(d.engine, r.second));
        EXPECT_EQ(d.engine.state == PressState::Idle, r.ended) << r.name;
        EXPECT_EQ(!d.posted.empty() && d.posted.back().message == kMsgCancel, r.ended && r.gesture) << r.name;
        EXPECT_EQ(d.engine.queued, 0) << r.name << ": a press released long ago is never replayed";
    }
}

TEST(StaleStateEngine, AltWithTabOrTheKeyAboveItGoesByTheStateTheSystemHasNow) {
    const int scope = kHookOptionProgramScope;
    const std::vector<uint32_t> open = {kMsgOpenPopup, kMsgMoveSelection};
    const struct {
        const char* name;
        int options;
        bool shiftSeen, listByTab, altNow;
        uint32_t vk, scan, time; // the keys before went down at 0
        std::vector<uint32_t> posts;
    } rows[] = {
        {"Alt came up on the secure desktop", 0, false, false, false, kVkTab, 0, kKeyStateLagMs, {}},
        {"Alt just seen: the state lags", 0, false, false, false, kVkTab, 0, 10, open},
        {"an open list lost its Alt release", 0, false, true, false, kVkTab, 0, kKeyStateLagMs, {kMsgCancel}},
        {"Shift came up unseen: forward", 0, true, false, true, kVkTab, 0, kKeyStateLagMs, open},
        {"the key above Tab when it is off", 0, false, false, true, kVkOem3, 0, 0, {}},
        {"the front program's list", scope, false, false, true, kVkOem3, 0, 0, open},
        {"by scan code on any layout", scope, false, false, true, 0xDC, kScanAboveTab, 0, open},
        {"in a list Alt+Tab opened", scope, false, true, true, kVkOem3, 0, 0, {kMsgProgramScope}},
    };
    for (const auto& r : rows) {
        Driver d(Settings(100, 2));
        d.engine.options = MakeHookOptions(r.options);
        d.KeyPress(kVkLMenu, true);
        if (r.shiftSeen)
            d.KeyPress(kVkLShift, true);
        if (r.listByTab)
            d.KeyPress(kVkTab, true), d.KeyPress(kVkTab, false);
        d.posted.clear();
        KeyEvent k;
        k.vk = r.vk;
        k.scanCode = r.scan;
        k.down = k.haveState = true;
        k.altNow = r.altNow;
        k.time = r.time;
        EXPECT_EQ(d.Record(OnKeyEvent(d.engine, k)).swallow, !r.posts.empty() && r.posts[0] != kMsgCancel)
            << r.name;
        EXPECT_EQ(d.Messages(), r.posts) << r.name;
        EXPECT_TRUE(r.posts != open ||
                    (d.posted[0].lParam == (r.vk == kVkTab ? 1 : 2) && d.posted[1].delta < 0))
            << r.name;
    }
    Driver d(Settings(100, 2));
    d.KeyPress(kVkLMenu, true);
    d.KeyPress(kVkTab, true);
    d.Record(OnInputReset(d.engine));
    EXPECT_EQ(d.Messages().back(), kMsgCancel) << "a lock ends the open list";
    EXPECT_FALSE(d.KeyPress(kVkTab, true).swallow) << "and forgets the Alt it saw";
    d.engine.options = MakeHookOptions(scope);
    Press(d);
    d.Mouse(MouseAction::Wheel, 0, 0, -120);
    EXPECT_TRUE(d.Mouse(MouseAction::XDown, 0, 0, 1).swallow);
    EXPECT_TRUE(d.Mouse(MouseAction::XUp, 0, 0, 1).swallow);
    EXPECT_EQ(d.Messages().back(), kMsgProgramScope);
}

TEST(LostHookEngine, LossesInARowWaitLonger) {
    for (const auto& r : {std::array<uint32_t, 2>{0, 1000}, {1, 2000}, {5, 32000}, {9, 32000}})
        EXPECT_EQ(LossSilenceMs(static_cast<int>(r[0])), r[1]) << r[0];
    InputWatch w;
    NoteLoss(w, HookKind::Mouse, 1000);
    ResetWatch(w, HookKind::Mouse, 3000); // a reinstall keeps the count
    NoteLoss(w, HookKind::Mouse, 3000);
    EXPECT_EQ(w.mouse.losses, 2);
}

} // namespace
} // namespace mw

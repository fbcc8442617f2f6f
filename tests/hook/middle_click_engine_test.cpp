// The middle button in the gesture engine: kept from the application and reported only while a
// held popup is open and MiddleClose is on, and never half a click.
#include <gtest/gtest.h>

#include "hook/gesture_engine.h"
#include "hook/messages.h"

namespace mw {
namespace {

enum class Before { NoPopup, Gesture, ClickModePopup, CancelledGesture, StandardAltTab, ClickModeAltTab };

// Brings a fresh engine into the state `before` names, with MiddleClose as given.
GestureEngine EngineIn(Before before, bool middleClose) {
    const bool click = before == Before::ClickModePopup;
    const int altTab = before == Before::StandardAltTab ? 2 : (before == Before::ClickModeAltTab ? 1 : 0);
    GestureEngine e;
    ResetEngine(e, MakeGestureSettings(100, altTab, click ? 1 : 0, 0, 6, 500));
    e.options = MakeHookOptions(middleClose ? kHookOptionMiddleClose : 0);
    auto mouse = [&](MouseAction a, int x, int data = 0) {
        MouseEvent ev;
        ev.action = a;
        ev.x = x;
        ev.y = 40;
        ev.data = data;
        ev.time = 1000;
        OnMouseEvent(e, ev);
    };
    auto key = [&](uint32_t vk, bool down) {
        KeyEvent k;
        k.vk = vk;
        k.down = down;
        OnKeyEvent(e, k);
    };
    if (before == Before::Gesture || before == Before::ClickModePopup || before == Before::CancelledGesture) {
        mouse(MouseAction::LeftDown, 30);
        mouse(MouseAction::Wheel, 30, -120);
        if (before == Before::CancelledGesture)
            mouse(MouseAction::Move, 300); // beyond the cancel distance
    } else if (before != Before::NoPopup) {
        key(kVkMenu, true);
        key(kVkTab, true);
        key(kVkTab, false);
    }
    return e;
}

HookDecision Middle(GestureEngine& e, MouseAction a, int x = 30) {
    MouseEvent ev;
    ev.action = a;
    ev.x = x;
    ev.y = 40;
    ev.time = 1010;
    return OnMouseEvent(e, ev);
}

bool PostsMiddleClick(const HookDecision& d) {
    for (int i = 0; i < d.postCount; ++i)
        if (d.posts[i].message == kMsgMiddleClick)
            return true;
    return false;
}

TEST(MiddleClickEngine, OnlyAHeldPopupWithMiddleCloseOnTakesTheClick) {
    struct Case {
        Before before;
        bool middleClose;
        bool taken; // both halves swallowed and the click reported
    };
    const Case cases[] = {
        {Before::NoPopup, true, false},          {Before::Gesture, true, true},
        {Before::Gesture, false, false},         {Before::ClickModePopup, true, false},
        {Before::CancelledGesture, true, false}, {Before::StandardAltTab, true, true},
        {Before::ClickModeAltTab, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "state " << static_cast<int>(c.before) << ", MiddleClose " << c.middleClose);
        GestureEngine e = EngineIn(c.before, c.middleClose);
        const HookDecision down = Middle(e, MouseAction::MiddleDown);
        const HookDecision up = Middle(e, MouseAction::MiddleUp, -5);
        EXPECT_EQ(down.swallow, c.taken);
        EXPECT_EQ(up.swallow, c.taken);
        EXPECT_FALSE(PostsMiddleClick(down)) << "reported at the release";
        ASSERT_EQ(PostsMiddleClick(up), c.taken);
        if (c.taken) {
            // The cursor's position, x = -5 as a signed 16-bit low word, y = 40 in the high word.
            EXPECT_EQ(up.posts[0].lParam, static_cast<intptr_t>((40 << 16) | 0xFFFB));
        }
    }
}

TEST(MiddleClickEngine, AReleaseFollowsItsPressWhateverHappenedInBetween) {
    // Kept press, then the gesture ends (the popup closes) before the release: the release is
    // kept too, and nothing is reported to a popup that is gone.
    GestureEngine e = EngineIn(Before::Gesture, true);
    EXPECT_TRUE(Middle(e, MouseAction::MiddleDown).swallow);
    Middle(e, MouseAction::LeftUp);
    e.options = MakeHookOptions(0); // and MiddleClose went off meanwhile
    const HookDecision up = Middle(e, MouseAction::MiddleUp);
    EXPECT_TRUE(up.swallow);
    EXPECT_FALSE(PostsMiddleClick(up));
    EXPECT_TRUE(IsEngineIdle(e));

    // A press that went through, then a popup opens before the release: the application gets
    // its release.
    GestureEngine f = EngineIn(Before::NoPopup, true);
    EXPECT_FALSE(Middle(f, MouseAction::MiddleDown).swallow);
    Middle(f, MouseAction::LeftDown);
    Middle(f, MouseAction::Wheel);
    const HookDecision passed = Middle(f, MouseAction::MiddleUp);
    EXPECT_FALSE(passed.swallow);
    EXPECT_FALSE(PostsMiddleClick(passed));
}

} // namespace
} // namespace mw

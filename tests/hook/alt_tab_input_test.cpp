// The Alt+Tab keys with real keyboard input through the installed hook, and the library's
// life cycle (install, reinstall, end, unload).
#include "hook_harness.h"

#include <algorithm>

#include "hook/gesture_engine.h"

namespace hooktest {
namespace {

using HookLifeCycle = HookFixture;

// A key the tests use as a marker: once its release reached the target, every key sent before
// it has been delivered too.
constexpr WORD kSentinelKey = VK_F13;

bool KeysClean() {
    for (int vk : {VK_MENU, VK_LMENU, VK_SHIFT, VK_LSHIFT, VK_TAB, VK_ESCAPE})
        if (GetAsyncKeyState(vk) & 0x8000)
            return false;
    return true;
}

class AltTabFixture : public HookFixture {
  protected:
    void SettleKeys() {
        KeyPress(kSentinelKey, true);
        KeyPress(kSentinelKey, false);
        const bool arrived = WaitFor([&] {
            for (const Seen& s : TargetKeys())
                if (s.message == WM_KEYUP && s.wParam == kSentinelKey)
                    return true;
            return false;
        });
        EXPECT_TRUE(arrived) << "keys did not reach the target: " << Describe(TargetKeys());
        SyncReceiver();
    }
    // With Alt down, Tab opens the list; Alt comes up only once the mask that keeps the menu bar
    // shut is through, as with a person's hand (a burst overtakes it on a loaded machine).
    void OpenTheList() {
        KeyPress(VK_TAB, true);
        KeyPress(VK_TAB, false);
        EXPECT_TRUE(WaitFor([&] { return TargetSawKey(mw::kVkMenuMask); }))
            << "the mask never came: " << Describe(TargetKeys());
    }
    bool TargetSawKey(WPARAM vk) const {
        for (const Seen& s : TargetKeys())
            if (s.message != WM_SYSCOMMAND && s.wParam == vk)
                return true;
        return false;
    }
    bool TargetSawKeyMenu() const {
        for (const Seen& s : TargetKeys())
            if (s.message == WM_SYSCOMMAND)
                return true;
        return false;
    }
    std::vector<UINT> Messages() {
        std::vector<UINT> out;
        for (const Posted& p : Received())
            out.push_back(p.message);
        return out;
    }
};

using AltTab = AltTabFixture;

TEST_F(AltTab, OffLeavesEveryKeyToTheSystem) {
    ASSERT_NE(Start(100, 0), 0);
    // A lone Alt press and release asks the window for its menu: the test can see that.
    KeyPress(VK_MENU, true);
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_TRUE(TargetSawKeyMenu()) << Describe(TargetKeys());

    ClearRecords();
    KeyPress(VK_MENU, true);
    KeyPress(VK_TAB, true);
    KeyPress(VK_TAB, false);
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_TRUE(TargetSawKey(VK_TAB)) << Describe(TargetKeys());
    EXPECT_TRUE(Received().empty()) << Describe(Received());
    EXPECT_TRUE(KeysClean());
}

TEST_F(AltTab, StandardModeOpensMovesAndChoosesOnAltRelease) {
    ASSERT_NE(Start(100, 2), 0);
    KeyPress(VK_MENU, true);
    OpenTheList();          // opens and steps on
    KeyPress(VK_TAB, true); // next
    KeyPress(VK_TAB, false);
    KeyPress(VK_SHIFT, true);
    KeyPress(VK_TAB, true); // previous
    KeyPress(VK_TAB, false);
    KeyPress(VK_SHIFT, false);
    KeyPress(VK_MENU, false); // choose
    WaitForReceived(5);       // the reports may come after the keys SettleKeys waits for
    SettleKeys();
    const std::vector<Posted> got = Received();
    // The first Tab opens and steps on at once.
    ASSERT_EQ(got.size(), 5u) << Describe(got);
    EXPECT_EQ(got[0].message, kMsgOpenPopup);
    EXPECT_EQ(got[0].lParam, 1);
    EXPECT_EQ(got[1].message, kMsgMoveSelection);
    EXPECT_LT(got[1].delta, 0);
    EXPECT_EQ(got[2].message, kMsgMoveSelection);
    EXPECT_LT(got[2].delta, 0);
    EXPECT_EQ(got[3].message, kMsgMoveSelection);
    EXPECT_GT(got[3].delta, 0);
    EXPECT_EQ(got[4].message, kMsgChoose);
    EXPECT_FALSE(TargetSawKey(VK_TAB)) << Describe(TargetKeys());
    EXPECT_FALSE(TargetSawKeyMenu()) << "the Alt release opened the menu bar: " << Describe(TargetKeys());
    // The application saw Alt go down and come up again.
    EXPECT_TRUE(TargetSawKey(VK_MENU));
    EXPECT_TRUE(KeysClean());
}

TEST_F(AltTab, EscCancelsInStandardModeAndIsSwallowed) {
    ASSERT_NE(Start(100, 2), 0);
    KeyPress(VK_MENU, true);
    OpenTheList();
    KeyPress(VK_ESCAPE, true);
    KeyPress(VK_ESCAPE, false);
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_EQ(Messages(), (std::vector<UINT>{kMsgOpenPopup, kMsgMoveSelection, kMsgCancel}))
        << Describe(Received());
    EXPECT_FALSE(TargetSawKey(VK_ESCAPE)) << Describe(TargetKeys());
    EXPECT_FALSE(TargetSawKeyMenu()) << Describe(TargetKeys());
    EXPECT_TRUE(KeysClean());
}

TEST_F(AltTab, ClickModePostsNothingOnAltReleaseAndLeavesEscAlone) {
    ASSERT_NE(Start(100, 1), 0);
    KeyPress(VK_MENU, true);
    OpenTheList();
    KeyPress(VK_TAB, true);
    KeyPress(VK_TAB, false);
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_EQ(Messages(), (std::vector<UINT>{kMsgOpenPopup, kMsgMoveSelection, kMsgMoveSelection}))
        << Describe(Received());
    EXPECT_FALSE(TargetSawKeyMenu()) << Describe(TargetKeys());

    ClearRecords();
    KeyPress(VK_MENU, true);
    OpenTheList();
    KeyPress(VK_ESCAPE, true); // the popup takes this key itself in click mode
    KeyPress(VK_ESCAPE, false);
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_EQ(Messages(), (std::vector<UINT>{kMsgOpenPopup, kMsgMoveSelection})) << Describe(Received());
    EXPECT_TRUE(TargetSawKey(VK_ESCAPE));
    EXPECT_TRUE(KeysClean());
}

TEST_F(AltTab, AnyOtherValueIsStandardMode) {
    ASSERT_NE(Start(100, 5), 0);
    KeyPress(VK_MENU, true);
    OpenTheList();
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_EQ(Messages(), (std::vector<UINT>{kMsgOpenPopup, kMsgMoveSelection, kMsgChoose}))
        << Describe(Received());
    EXPECT_FALSE(TargetSawKeyMenu()) << "the Alt release opened the menu bar: " << Describe(TargetKeys());
}

TEST_F(AltTab, NoKeyIsLeftDownWhateverTheReleaseOrder) {
    ASSERT_NE(Start(100, 2), 0);
    std::vector<WORD> order = {VK_SHIFT, VK_TAB, VK_MENU};
    std::sort(order.begin(), order.end());
    do {
        ClearRecords();
        KeyPress(VK_MENU, true);
        OpenTheList();
        KeyPress(VK_SHIFT, true);
        KeyPress(VK_TAB, true);
        for (WORD vk : order)
            KeyPress(vk, false);
        SettleKeys();
        const std::string where = "release order " + std::to_string(order[0]) + "," +
                                  std::to_string(order[1]) + "," + std::to_string(order[2]);
        EXPECT_TRUE(KeysClean()) << where;
        EXPECT_FALSE(TargetSawKey(VK_TAB)) << where << ": " << Describe(TargetKeys());
        EXPECT_FALSE(TargetSawKeyMenu()) << where << ": " << Describe(TargetKeys());
        const std::vector<UINT> got = Messages();
        EXPECT_EQ(got, (std::vector<UINT>{kMsgOpenPopup, kMsgMoveSelection, kMsgMoveSelection, kMsgChoose}))
            << where << ": " << Describe(Received());
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(AltTab, ReinstallSwitchesTheKeysOnAndOff) {
    ASSERT_NE(Start(100, 0), 0);
    ASSERT_NE(Start(100, 2), 0);
    KeyPress(VK_MENU, true);
    OpenTheList();
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_EQ(Messages(), (std::vector<UINT>{kMsgOpenPopup, kMsgMoveSelection, kMsgChoose}))
        << Describe(Received());

    ClearRecords();
    ASSERT_NE(Start(100, 0), 0);
    KeyPress(VK_MENU, true);
    KeyPress(VK_TAB, true);
    KeyPress(VK_TAB, false);
    KeyPress(VK_MENU, false);
    SettleKeys();
    EXPECT_TRUE(Received().empty()) << Describe(Received());
    EXPECT_TRUE(TargetSawKey(VK_TAB));
}

TEST_F(HookLifeCycle, EndHookAnswersWithTheLastWindowAndUnloadingIsClean) {
    // This fixture holds the only reference: a fresh library knows no window yet.
    EXPECT_EQ(End(), nullptr);
    EXPECT_EQ(start_(nullptr, 100, 0, 0, 0, 6, 500), 0) << "a hook that posts nowhere is no hook";
    ASSERT_NE(Start(), 0);
    EXPECT_EQ(End(), receiver_);
    EXPECT_EQ(End(), receiver_) << "EndHook with nothing installed";

    FreeLibrary(module_);
    module_ = nullptr;
    EXPECT_EQ(GetModuleHandleW(L"hook.dll"), nullptr);
}

TEST_F(HookLifeCycle, FreeLibraryWhileInstalledUnloadsAndRemovesTheHook) {
    ASSERT_NE(Start(100, 2), 0);
    // The program forgot EndHook: unloading must neither hang nor crash, and nothing of the
    // library may stay behind.
    FreeLibrary(module_);
    module_ = nullptr;
    end_ = nullptr;
    EXPECT_EQ(GetModuleHandleW(L"hook.dll"), nullptr);
    const POINT p = At(200, 200);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    EXPECT_TRUE(Received().empty()) << Describe(Received());
    EXPECT_EQ(TargetButtons().size(), 3u) << Describe(TargetButtons());
}

TEST_F(HookLifeCycle, EndHookDuringAHeldPressGivesThePressToTheApplication) {
    ASSERT_NE(Start(), 0);
    MoveTo(At(250, 250).x, At(250, 250).y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(20);
    EXPECT_FALSE(TargetGot(WM_LBUTTONDOWN)) << "the press should be held back";
    EXPECT_EQ(End(), receiver_);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    const std::vector<Seen> seen = TargetButtons();
    ASSERT_EQ(seen.size(), 2u) << Describe(seen);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_LBUTTONUP));
}

} // namespace
} // namespace hooktest

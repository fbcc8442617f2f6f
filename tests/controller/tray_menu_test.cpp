#include "controller/tray.h"
#include "controller/tray_menu.h"
#include "options/option_test_fixture.h"
#include "resource.h"
#include "model/program_state.h"

namespace mw::test {
namespace {

struct TrackedMenu {
    int calls = 0;
    HMENU menu = nullptr;
    UINT pauseState = 0;
    std::wstring firstItem;
    UINT flags = 0;
    HWND owner = nullptr;
};

TrackedMenu g_tracked;

BOOL WINAPI RecordTrack(HMENU menu, UINT flags, int, int, int, HWND owner, const RECT*) {
    ++g_tracked.calls;
    g_tracked.menu = menu;
    g_tracked.pauseState = GetMenuState(menu, IDM_PAUSE, MF_BYCOMMAND);
    wchar_t text[64] = L"";
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    g_tracked.firstItem = text;
    g_tracked.flags = flags;
    g_tracked.owner = owner;
    return 0;
}

class TrayMenuTest : public OptionsTest {
  protected:
    void SetUp() override {
        OptionsTest::SetUp();
        program_.services.trackPopupMenu = RecordTrack;
        g_tracked = TrackedMenu{};
        main_ = CreateTestWindow(L"tray main", WS_OVERLAPPEDWINDOW);
        LastHookWindow() = main_;
    }
    void TearDown() override {
        if (IsWindow(main_))
            DestroyWindow(main_);
        OptionsTest::TearDown();
    }
    bool Posted(UINT message, LPARAM lParam) {
        MSG msg;
        while (PeekMessageW(&msg, main_, 0, 0, PM_REMOVE)) {
            if (msg.message == message && msg.lParam == lParam)
                return true;
        }
        return false;
    }
    HWND main_ = nullptr;
};

TEST_F(TrayMenuTest, RightClickShowsTheMenuWithThePauseCheck) {
    for (bool paused : {false, true}) {
        program_.paused = paused;
        g_tracked = TrackedMenu{};
        EXPECT_EQ(OnTrayCallback(program_, main_, 517), 0);
        ASSERT_EQ(g_tracked.calls, 1);
        EXPECT_EQ((g_tracked.pauseState & MF_CHECKED) != 0, paused);
        EXPECT_EQ(g_tracked.firstItem, L"終了(&X)");
        EXPECT_EQ(g_tracked.flags, static_cast<UINT>(TPM_RIGHTBUTTON | TPM_RIGHTALIGN | TPM_BOTTOMALIGN));
        EXPECT_EQ(g_tracked.owner, main_);
        EXPECT_FALSE(IsMenu(g_tracked.menu)) << "the menu is destroyed after tracking";
        EXPECT_TRUE(Posted(WM_NULL, 0));
    }
    EXPECT_TRUE(HookCalls().empty());
}

TEST_F(TrayMenuTest, OtherMouseMessagesDoNothing) {
    for (LPARAM message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        OnTrayCallback(program_, main_, message);
    }
    EXPECT_EQ(g_tracked.calls, 0);
    EXPECT_TRUE(HookCalls().empty());
    EXPECT_FALSE(program_.paused);
}

TEST_F(TrayMenuTest, TwoLeftClicksRestoreTheHookWithCurrentValues) {
    OnTrayCallback(program_, main_, 514);
    EXPECT_TRUE(program_.paused);
    ASSERT_EQ(HookCalls().size(), 1u);
    EXPECT_FALSE(HookCalls()[0].start);

    // Changed while paused, as the options pages may do.
    program_.preferences.RightButton = 1;
    program_.preferences.TimeOutMilliSeconds = 900;
    ReinstallMouseHook(program_);
    EXPECT_EQ(HookCalls().size(), 1u);

    OnTrayCallback(program_, main_, 514);
    EXPECT_FALSE(program_.paused);
    ASSERT_EQ(HookCalls().size(), 2u);
    EXPECT_EQ(HookCalls()[1].window, main_);
    EXPECT_EQ(HookCalls()[1].args, (std::array<int, 6>{100, 0, 0, 1, 6, 900}));
}

TEST_F(TrayMenuTest, MenuCommands) {
    EXPECT_TRUE(OnTrayCommand(program_, main_, IDM_PAUSE));
    EXPECT_TRUE(Posted(kMsgTrayCallback, 514));
    EXPECT_FALSE(program_.paused) << "the pause follows the posted click, not the command";
    EXPECT_FALSE(OnTrayCommand(program_, main_, 12345));
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_TRUE(OnTrayCommand(program_, main_, IDM_EXIT));
    EXPECT_FALSE(IsWindow(main_));
}

TEST_F(TrayMenuTest, OptionsCommandOpensEveryPage) {
    int tabs = 0;
    const INT_PTR result = RunOptionsDialogWith(
        program_, kOptionsAllPages,
        [&](HWND dialog) {
            tabs = static_cast<int>(SendDlgItemMessageW(dialog, IDC_OPTIONS_TAB, TCM_GETITEMCOUNT, 0, 0));
        },
        [this](int) -> INT_PTR { return OnTrayCommand(program_, nullptr, IDM_OPTIONS) ? 0 : -2; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tabs, 4);
}

} // namespace
} // namespace mw::test

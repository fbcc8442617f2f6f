// The program's side of a missing hook: what the tray icon shows, the library's status
// messages, a refused reinstall or resume told once per run and retried, and the tray icon
// retried until the notification area takes it.
#include "controller/hook_status.h"
#include "controller/tray.h"
#include "controller/tray_menu.h"
#include "hook/hook.h"
#include "options/option_test_fixture.h"
#include "model/program_state.h"

namespace mw::test {
namespace {

struct Notified {
    DWORD message;
    UINT flags;
    std::wstring tip;
};

std::vector<Notified> g_notified;
int g_notifyFailures = 0; // the next calls that fail, as while Explorer is not up
bool g_refuse = false;
std::vector<std::wstring> g_told;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAW data) {
    g_notified.push_back(Notified{message, data->uFlags, data->szTip});
    if (g_notifyFailures > 0) {
        --g_notifyFailures;
        return FALSE;
    }
    return TRUE;
}

int MaybeRefuse(HWND window, int a, int b, int c, int d, int e, int f) {
    RecordStart(window, a, b, c, d, e, f);
    return g_refuse ? 0 : 1;
}

void RecordTold(HWND, const wchar_t* text) {
    g_told.push_back(text);
}

class HookStatusTest : public OptionsTest {
  protected:
    void SetUp() override {
        OptionsTest::SetUp();
        program_.services.notifyIcon = RecordNotify;
        program_.services.hookFailureMessage = RecordTold;
        program_.services.hook.start = MaybeRefuse;
        g_notified.clear();
        g_told.clear();
        g_notifyFailures = 0;
        g_refuse = false;
        main_ = CreateTestWindow(L"hook status main", WS_OVERLAPPEDWINDOW);
        program_.mainWindow = main_;
        LastHookWindow() = main_;
    }
    void TearDown() override {
        DestroyWindow(main_);
        OptionsTest::TearDown();
    }
    std::wstring LastTip() const { return g_notified.empty() ? L"" : g_notified.back().tip; }
    HWND main_ = nullptr;
};

TEST(TrayLook, ThePausedPictureWhileAHookIsMissingAndTheTipSaysWhy) {
    struct Case {
        bool paused;
        HookHealth health;
        bool pausedPicture;
        const wchar_t* tipHas;
    };
    HookHealth lost, mouseFailing, keysFailing, refused;
    lost.mouse.lost = true;
    mouseFailing.mouse.failing = true;
    keysFailing.keyboard.failing = true;
    refused.refused = true;
    const Case cases[] = {
        {false, HookHealth{}, false, L"Mistlewick"}, {true, HookHealth{}, true, L"Mistlewick"},
        {false, lost, false, L"設定し直しています"}, {false, mouseFailing, true, L"マウスフック"},
        {false, keysFailing, true, L"Alt+Tab"},      {false, refused, true, L"クリックで今すぐ再試行"},
        {true, refused, true, L"Mistlewick"},
    };
    for (const Case& c : cases) {
        const TrayLook look = TrayLookFor(ResourceLanguage(kLanguageAuto), c.paused, c.health);
        EXPECT_EQ(look.pausedPicture, c.pausedPicture) << testing::PrintToString(std::wstring(c.tipHas));
        EXPECT_NE(look.tip.find(c.tipHas), std::wstring::npos) << testing::PrintToString(look.tip);
        EXPECT_LT(look.tip.size(), 128u) << "the tip fits the record";
    }
}

TEST_F(HookStatusTest, TheLibrarysReportsShowOnTheIconAndAClickRetries) {
    OnHookStatus(program_, main_, kHookStatusLost, kHookKeyboard);
    OnHookStatus(program_, main_, kHookStatusReinstallFailed, kHookKeyboard);
    EXPECT_TRUE(HookInTrouble(program_));
    EXPECT_NE(LastTip().find(L"Alt+Tab"), std::wstring::npos);
    OnHookStatus(program_, main_, 7, kHookKeyboard); // unknown values change nothing
    OnHookStatus(program_, main_, kHookStatusReinstalled, 3);
    EXPECT_TRUE(HookInTrouble(program_));

    // A left click on the icon while a hook is missing tries again at once, not a pause.
    OnTrayCallback(program_, main_, kTrayLeftButtonUp);
    EXPECT_FALSE(program_.paused);
    EXPECT_FALSE(HookInTrouble(program_));
    ASSERT_EQ(HookCalls().size(), 2u);
    EXPECT_FALSE(HookCalls()[0].start);
    EXPECT_TRUE(HookCalls()[1].start);
    EXPECT_EQ(LastTip(), L"Mistlewick");
    EXPECT_TRUE(g_told.empty());
}

TEST_F(HookStatusTest, ARefusedResumeOrReinstallIsToldOnceAndRetriedUntilItWorks) {
    g_refuse = true;
    OnTrayCallback(program_, main_, kTrayLeftButtonUp); // pause
    OnTrayCallback(program_, main_, kTrayLeftButtonUp); // resume: refused
    EXPECT_FALSE(program_.paused);
    EXPECT_TRUE(program_.hook.refused);
    EXPECT_NE(LastTip().find(L"マウスフック"), std::wstring::npos) << "not shown as running";
    ASSERT_EQ(g_told.size(), 1u);
    EXPECT_EQ(g_told[0], HookRefusedText(ProgramLanguage(program_)));

    // An options change that fails too is not told again in this run.
    MSG msg;
    while (PeekMessageW(&msg, main_, kMsgHookStatus, kMsgHookStatus, PM_REMOVE)) {
    }
    EXPECT_FALSE(ReinstallMouseHook(program_));
    EXPECT_EQ(g_told.size(), 1u);
    // The main window is asked to show it on the icon.
    EXPECT_TRUE(PeekMessageW(&msg, main_, kMsgHookStatus, kMsgHookStatus, PM_REMOVE));
    EXPECT_EQ(msg.wParam, kHookStatusReinstallFailed);

    // The retry timer tries again, with a longer wait each time, until the library takes it.
    const size_t before = HookCalls().size();
    EXPECT_TRUE(OnHookRetryTimer(program_, main_, kTimerHookRetry));
    EXPECT_GT(HookCalls().size(), before);
    EXPECT_EQ(program_.hook.attempts, 1);
    EXPECT_TRUE(HookInTrouble(program_));
    g_refuse = false;
    EXPECT_TRUE(OnHookRetryTimer(program_, main_, kTimerHookRetry));
    EXPECT_FALSE(HookInTrouble(program_));
    EXPECT_EQ(LastTip(), L"Mistlewick");
    EXPECT_FALSE(OnHookRetryTimer(program_, main_, 1)) << "the popup's own timers pass on";
}

TEST_F(HookStatusTest, ATrayIconThatCannotBeAddedIsRetriedModifyFirst) {
    g_notifyFailures = 3; // the addition, then one round of modify and add
    EXPECT_FALSE(AddTrayIcon(program_, main_, program_.instance, false));
    EXPECT_TRUE(OnTrayRetryTimer(program_, main_, kTimerTrayRetry));
    EXPECT_TRUE(OnTrayRetryTimer(program_, main_, kTimerTrayRetry));
    std::vector<DWORD> calls;
    for (const Notified& n : g_notified)
        calls.push_back(n.message);
    EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY}));
    // Once it is there, the timer is gone: a later tick would be the only way to see more calls.
    EXPECT_FALSE(KillTimer(main_, kTimerTrayRetry)) << "the retry timer is still running";
    EXPECT_EQ(g_notified.back().flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

} // namespace
} // namespace mw::test

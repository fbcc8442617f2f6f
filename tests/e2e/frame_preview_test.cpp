// The frame preview with the real program: only the selected window stays on screen while the
// popup is open, and every window comes back as it was, also after the program was killed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "hook/hook.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "platform/unique_handle.h"
#include "support/program.h"

namespace {

using namespace mw::test;

bool Shown(HWND w) {
    return IsWindowVisible(w) && !IsIconic(w);
}

TEST(FramePreview, OthersAreMinimisedTheSelectionFollowsAndCancelRestores) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha frame"));
    ASSERT_TRUE(beta.Start(L"Beta frame"));
    ASSERT_TRUE(gamma.Start(L"Gamma frame"));
    BringToFront(gamma.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nAltab7=1\r\nArrangeWindow=0\r\n"));
    ASSERT_TRUE(program.Open());
    // Gamma is selected; the others are put away; the overlay lies at the bottom.
    EXPECT_TRUE(
        WaitFor([&] { return Shown(gamma.window) && IsIconic(beta.window) && IsIconic(alpha.window); }));
    EXPECT_FALSE(WindowsOfProcess(program.sandbox.process().pid(), L"WndFrame").empty());
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    PumpFor(300);
    SaveScreenPng(screen, L"frame-preview-screen.png");
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
    EXPECT_TRUE(WaitFor([&] { return Shown(beta.window) && IsIconic(gamma.window); }));
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return Shown(alpha.window) && Shown(beta.window) && Shown(gamma.window); }));
    EXPECT_TRUE(
        WaitFor([&] { return WindowsOfProcess(program.sandbox.process().pid(), L"WndFrame").empty(); }));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(FramePreview, HiddenWindowsComeBackAfterTheProgramWasKilled) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha hidden"));
    ASSERT_TRUE(beta.Start(L"Beta hidden"));
    BringToFront(beta.window);
    {
        Resident program;
        ASSERT_TRUE(program.Start(L"[Preference]\r\nAltab7=1\r\nAltab7_Hide=1\r\nArrangeWindow=0\r\n"));
        ASSERT_TRUE(program.Open());
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(alpha.window) && Shown(beta.window); }));
        program.sandbox.process().Kill();
        PumpFor(300);
        EXPECT_FALSE(IsWindowVisible(alpha.window)) << "killed while the window was hidden";
    }
    // The next start of the program brings it back.
    Resident next;
    ASSERT_TRUE(next.Start(L""));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(alpha.window) != FALSE; }));
    EXPECT_EQ(next.sandbox.Close(), 0);
}

// Records of hidden windows that a running program keeps under the volatile key (the value
// names start with its process id).
int HiddenRecordsOf(DWORD pid) {
    mw::UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Mistlewick\\HiddenWindows", 0, KEY_QUERY_VALUE,
                      key.put()) != ERROR_SUCCESS) {
        return 0;
    }
    wchar_t prefix[16];
    std::swprintf(prefix, 16, L"%08X-", static_cast<unsigned>(pid));
    int count = 0;
    for (DWORD i = 0;; ++i) {
        wchar_t name[64];
        DWORD length = 64;
        if (RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        count += std::wstring(name).rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return count;
}

// Hide mode with the desktop entry: a window that was minimised when the popup opened is hidden
// by the preview, and neither the toggle (it is minimised already) nor the end of the preview
// (the toggle set every state) showed it again. It comes back minimised, its record gone.
TEST(FramePreview, TheDesktopEntryInHideModeLeavesNoWindowHidden) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha toggled"));
    ASSERT_TRUE(beta.Start(L"Beta toggled"));
    ShowWindow(alpha.window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(alpha.window) != FALSE; }));
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start(
        L"[Preference]\r\nAltab7=1\r\nAltab7_Hide=1\r\nToggleDesktop=1\r\nArrangeWindow=0\r\n"));
    ASSERT_TRUE(program.Open());
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(alpha.window) && Shown(beta.window); }));
    // Back from the first window: the last command (cancel); once more: the desktop entry.
    PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
    PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(beta.window) && IsWindowVisible(beta.window); }))
        << "the toggle minimises what was shown";
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(alpha.window) && IsIconic(alpha.window); }))
        << "the window minimised before the popup is back, minimised";
    // The records go once every window is back: wait for that, not just for the windows.
    EXPECT_TRUE(WaitFor([&] { return HiddenRecordsOf(program.sandbox.process().pid()) == 0; }))
        << HiddenRecordsOf(program.sandbox.process().pid()) << " records left";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(FramePreview, ChoosingBringsEveryWindowBackAndTheChosenOneToTheFront) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha choose"));
    ASSERT_TRUE(beta.Start(L"Beta choose"));
    ShowWindow(alpha.window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsZoomed(alpha.window) != FALSE; }));
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nAltab7=1\r\nAltab7_Hide=1\r\nArrangeWindow=0\r\n"));
    ASSERT_TRUE(program.Open());
    // Whichever is first in the list is selected and shown; the other is hidden.
    HWND first = nullptr, second = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const bool a = IsWindowVisible(alpha.window) != FALSE, b = IsWindowVisible(beta.window) != FALSE;
        if (a == b)
            return false;
        first = a ? alpha.window : beta.window;
        second = a ? beta.window : alpha.window;
        return true;
    }));
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(second) && !IsWindowVisible(first); }))
        << "the selection follows";
    EXPECT_TRUE(second != alpha.window || IsZoomed(alpha.window))
        << "the selected window is shown in its state";
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == second && IsWindowVisible(first); }));
    EXPECT_TRUE(IsZoomed(alpha.window));
    EXPECT_EQ(program.sandbox.Close(), 0);
}

// A listed window whose thread stopped reading its messages: minimising, restoring and showing it
// would wait for that thread, and the popup with it.
TEST(FramePreview, AHungWindowNeverStallsTheOpenTheStepsOrTheCancel) {
    Target front, hung;
    ASSERT_TRUE(hung.Start(L"Hung frame", true));
    ASSERT_TRUE(front.Start(L"Front frame"));
    BringToFront(front.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nAltab7=1\r\nArrangeWindow=0\r\n"));
    PostMessageW(hung.window, WM_APP, 0, 0); // sleeps until the process is ended
    ASSERT_TRUE(WaitFor([&] { return StopsAnswering(hung.window); }));

    ASSERT_TRUE(program.Open());
    for (UINT step : {kMsgMoveSelection, kMsgMoveSelection, kMsgMoveSelection, kMsgCancel}) {
        EXPECT_TRUE(program.Answers(1000)) << "waited on the hung window before message " << step;
        PostMessageW(program.main, step, kNext, 0);
    }
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(program.Answers(1000)) << "the cancel waited on the hung window";
    EXPECT_TRUE(WaitFor([&] { return Shown(front.window); })) << "the answering window came back";
    hung.process.Kill();
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

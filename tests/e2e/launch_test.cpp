// A launcher entry whose program opens a window: the window ends in front, not behind the window
// that had the foreground before the popup.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

TEST(Launch, AStartedProgramEndsInFront) {
    Resident program;
    const std::wstring target = program.sandbox.file(L"target_window.exe");
    ASSERT_TRUE(CopyFileW((BinDir() + L"\\target_window.exe").c_str(), target.c_str(), FALSE));
    Target front;
    ASSERT_TRUE(front.Start(L"In front before"));
    BringToFront(front.window);
    ASSERT_EQ(GetForegroundWindow(), front.window);
    ASSERT_TRUE(program.Start(L"[Launcher]\r\ncnt=1\r\npath1=" + target +
                                  L"\r\nname1=Target\r\ncmnd1=\"Launched\"\r\n",
                              L"/Launch", true));
    PlaceCursor(1500, 900);
    MouseButton(false, true);
    PumpFor(40);
    MouseWheel(-120);
    PumpFor(40);
    ASSERT_TRUE(program.Visible());
    PumpFor(200);
    MouseButton(false, false); // the launcher entry is selected: release starts it
    EXPECT_TRUE(program.Closed());
    HWND launched = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (launched = FindWindowW(L"MwTargetWindow", L"Launched")) != nullptr; }, 10000));
    EXPECT_TRUE(ForegroundBecomes(launched));
    PostMessageW(launched, WM_CLOSE, 0, 0);
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0) << "no button left pressed";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

// A launcher entry whose program opens a window: the window ends in front, not behind the window
// that had the foreground before the popup.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using namespace mw::test;

TEST(Launch, AStartedProgramEndsInFront) {
    Resident program;
    Target front;
    ASSERT_TRUE(front.Start(L"In front before"));
    BringToFront(front.window);
    ASSERT_TRUE(
        program.Start(L"[Launcher]\r\ncnt=1\r\npath1=C:\\windows\\system32\\notepad.exe\r\nname1=Notepad\r\n",
                      L"/Launch", true));
    EXPECT_TRUE(program.ChooseFirstLauncherEntry());
    HWND launched = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (launched = FindWindowW(L"Notepad", nullptr)) != nullptr; }, 10000));
    EXPECT_TRUE(ForegroundBecomes(launched));
    PostMessageW(launched, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

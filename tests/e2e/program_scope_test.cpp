// One program's windows with real input through the real hook: Alt and the key above Tab list the
// front program's windows, the back button during a gesture narrows the list to the selected
// window's program.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/harness.h"

namespace {

using namespace mw::test;

// Two windows of one program and one of another between them: Z order Alpha, Other, Beta. The
// step from Alpha goes to Other in the whole list and to Beta in Alpha's program's.
struct TwoPrograms {
    Target alpha, beta, other;
    bool Start(const wchar_t* tag) {
        const std::wstring t(tag);
        if (!beta.Start(L"Beta " + t) || !other.Start(L"Other " + t, true) || !alpha.Start(L"Alpha " + t))
            return false;
        BringToFront(alpha.window);
        return WaitFor([&] { return GetForegroundWindow() == alpha.window; }, 3000);
    }
};

bool KeysUp() {
    return GetAsyncKeyState(VK_MENU) >= 0 && GetAsyncKeyState(VK_OEM_3) >= 0 && GetAsyncKeyState(VK_XBUTTON1) >= 0 &&
           GetAsyncKeyState(VK_LBUTTON) >= 0;
}

TEST(ProgramScope, AltAndTheKeyAboveTabListTheFrontProgramsWindowsOnly) {
    TwoPrograms t;
    ASSERT_TRUE(t.Start(L"key"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=2\r\nArrangeWindow=0\r\n", L"", true));
    KeyPress(VK_MENU, true);
    PumpFor(40);
    KeyTap(VK_OEM_3); // opens on the program's window behind Alpha
    ASSERT_TRUE(program.Visible());
    PumpFor(200);
    KeyPress(VK_MENU, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.beta.window)) << Describe(GetForegroundWindow());
    EXPECT_TRUE(WaitFor(KeysUp, 2000)) << "no key left down";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(ProgramScope, TheBackButtonDuringAGestureNarrowsToTheSelectedWindowsProgram) {
    TwoPrograms t;
    ASSERT_TRUE(t.Start(L"x1"));
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\n", L"", true));
    PlaceCursor(1500, 900);
    MouseButton(false, true);
    PumpFor(40);
    MouseWheel(-120); // opens on Alpha
    ASSERT_TRUE(program.Visible());
    PumpFor(100);
    RECT whole{};
    GetWindowRect(program.main, &whole);
    MouseBackButton(true);
    PumpFor(40);
    MouseBackButton(false);
    EXPECT_TRUE(WaitFor([&] {
        RECT now{};
        GetWindowRect(program.main, &now);
        return now.bottom - now.top != whole.bottom - whole.top;
    })) << "the list is drawn again for its new rows";
    MouseWheel(-120);
    PumpFor(200);
    MouseButton(false, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(t.beta.window)) << Describe(GetForegroundWindow());
    EXPECT_TRUE(WaitFor(KeysUp, 2000)) << "no button left down";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

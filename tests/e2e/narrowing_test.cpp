// Typing narrows the click-mode popup, with real keys: the letters build the filter, Backspace
// takes one back, Enter chooses the first match.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/harness.h"

namespace {

using namespace mw::test;

int Height(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

TEST(TypeToFilter, TypingBeThenEnterChoosesBeta) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"alpha"));
    ASSERT_TRUE(beta.Start(L"beta"));
    ASSERT_TRUE(gamma.Start(L"gamma"));
    BringToFront(gamma.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nClickMode=1\r\nArrangeWindow=0\r\n"));
    PlaceCursor(5, 5); // away from the popup: only the keys select
    ASSERT_TRUE(program.Open());
    ASSERT_TRUE(ForegroundBecomes(program.main));
    const int unfiltered = Height(program.main);

    // "bex" matches nothing; Backspace makes it "be" again: beta alone, under the filter's line
    // (an icon row and a separator block: two rows of 40 go, 49 come).
    for (WORD key : {WORD('B'), WORD('E'), WORD('X'), WORD(VK_BACK)})
        KeyTap(key);
    int filtered = unfiltered;
    EXPECT_TRUE(WaitFor([&] { return (filtered = Height(program.main)) == unfiltered - 2 * 40 + 49; }))
        << "height " << unfiltered << " became " << filtered;
    PumpFor(300);
    RECT popup{};
    GetWindowRect(program.main, &popup);
    SaveScreenPng(popup, L"filtered-popup.png");

    KeyTap(VK_RETURN);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(beta.window)) << Describe(GetForegroundWindow());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(TypeToFilter, RomajiFindsAKatakanaTitle) {
    Target notes, alpha;
    ASSERT_TRUE(notes.Start(L"notes"));
    ASSERT_TRUE(alpha.Start(L"alpha"));
    // Set from here: a Japanese argument would not survive the child's command line under Wine.
    ASSERT_TRUE(SetWindowTextW(notes.window, L"メモ帳"));
    BringToFront(alpha.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nClickMode=1\r\nArrangeWindow=0\r\n"));
    PlaceCursor(5, 5);
    ASSERT_TRUE(program.Open());
    ASSERT_TRUE(ForegroundBecomes(program.main));
    const int unfiltered = Height(program.main);
    for (WORD key : {WORD('M'), WORD('E'), WORD('M'), WORD('O')})
        KeyTap(key);
    EXPECT_TRUE(WaitFor([&] { return Height(program.main) != unfiltered; }));
    KeyTap(VK_RETURN);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(notes.window)) << Describe(GetForegroundWindow());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

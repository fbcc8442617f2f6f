#include "view/layout.h"

#include <gtest/gtest.h>

#include "support/selection_counts.h"

namespace {

using namespace mw;

RECT Rect(int l, int t, int r, int b) {
    return RECT{l, t, r, b};
}

::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual) {
    if (EqualRect(&expected, &actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected (" << expected.left << "," << expected.top << "," << expected.right << ","
           << expected.bottom << ") got (" << actual.left << "," << actual.top << "," << actual.right << ","
           << actual.bottom << ")";
}

RECT Entry(const SelectionState& s, const Design& d, bool desktop, int section, int index) {
    RECT r{-1, -1, -1, -1};
    EXPECT_TRUE(GetEntryRect(s, d, desktop, section, index, &r)) << section << "/" << index;
    return r;
}

Design ThumbnailDesign() {
    Design d;
    d.thumbnail = 1;
    d.thumbnailSize = 100;
    return d;
}

// Default design, W = 200, three windows, two commands:
//
//   0,0 +--------------------------------------+ 260
//  12   | [icon] window 0          (12,12)-(248,52)
//  52   | [icon] window 1
//  92   | [icon] window 2          ... bottom 132
// 136   |   ------ separator x 12..247 ------
// 141   | [icon] command 0         (12,141)-(248,181)
// 181   | [icon] command 1         ... bottom 221
// 233   +--------------------------------------+
TEST(PopupLayout, DefaultDesignThreeWindowsTwoCommands) {
    const Design d;
    const SelectionState s = Counts(3, 0, 2);
    const SIZE size = PopupSize(s, d, false);
    EXPECT_EQ(size.cx, 260);
    EXPECT_EQ(size.cy, 233);
    EXPECT_TRUE(SameRect(Rect(12, 12, 248, 52), Entry(s, d, false, SectionWindows, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 52, 248, 92), Entry(s, d, false, SectionWindows, 1)));
    EXPECT_TRUE(SameRect(Rect(12, 92, 248, 132), Entry(s, d, false, SectionWindows, 2)));
    EXPECT_TRUE(SameRect(Rect(12, 141, 248, 181), Entry(s, d, false, SectionCommands, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 181, 248, 221), Entry(s, d, false, SectionCommands, 1)));

    int y = 0;
    EXPECT_FALSE(WindowLauncherSeparatorY(s, d, &y)) << "no launcher entries: no separator above them";
    ASSERT_TRUE(CommandSeparatorY(s, d, &y));
    EXPECT_EQ(y, 136);
    EXPECT_EQ(SeparatorEndX(s, d, false), 248) << "line ends before x = 248, last pixel 247";

    // Icon at (ws, top + is); text box from ws + is + ic to the right margin, padded vertically.
    const POINT icon = IconPosition(Entry(s, d, false, SectionWindows, 1), d);
    EXPECT_EQ(icon.x, 12);
    EXPECT_EQ(icon.y, 56);
    RECT box;
    ASSERT_TRUE(GetTextBox(s, d, false, SectionCommands, 1, &box));
    EXPECT_TRUE(SameRect(Rect(48, 185, 248, 217), box));
    // The desktop flag means nothing outside thumbnail mode.
    EXPECT_TRUE(SameRect(Rect(12, 141, 248, 181), Entry(s, d, true, SectionCommands, 0)));
    EXPECT_EQ(PopupSize(s, d, true).cy, 233);
}

// Thumbnail mode, ts 100, W = 200, two windows, one launcher entry, desktop + cancel:
//  12..120 window 0 (thumbnail 12,44 - 112,120)   120..228 window 1
//  232 separator   237..277 launcher   281 separator
//  286..394 desktop row (thumbnail 12,318 - 112,394)   394..434 cancel   446 bottom
TEST(PopupLayout, ThumbnailModeWithDesktopRow) {
    const Design d = ThumbnailDesign();
    const SelectionState s = Counts(2, 1, 2);
    const SIZE size = PopupSize(s, d, true);
    EXPECT_EQ(size.cx, 328);
    EXPECT_EQ(size.cy, 446);
    EXPECT_TRUE(SameRect(Rect(12, 12, 316, 120), Entry(s, d, true, SectionWindows, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 120, 316, 228), Entry(s, d, true, SectionWindows, 1)));
    EXPECT_TRUE(SameRect(Rect(12, 237, 316, 277), Entry(s, d, true, SectionLauncher, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 286, 316, 394), Entry(s, d, true, SectionCommands, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 394, 316, 434), Entry(s, d, true, SectionCommands, 1)));
    int y = 0;
    ASSERT_TRUE(WindowLauncherSeparatorY(s, d, &y));
    EXPECT_EQ(y, 232);
    ASSERT_TRUE(CommandSeparatorY(s, d, &y));
    EXPECT_EQ(y, 281);

    EXPECT_EQ(ThumbnailInset(d, 1920, 1080), 28);
    EXPECT_TRUE(SameRect(Rect(12, 44, 112, 120), GetThumbnailRect(0, s, d, true, 1920, 1080)));
    EXPECT_TRUE(SameRect(Rect(12, 152, 112, 228), GetThumbnailRect(1, s, d, true, 1920, 1080)));
    EXPECT_TRUE(SameRect(Rect(12, 318, 112, 394), GetThumbnailRect(-1, s, d, true, 1920, 1080)));

    // Text boxes: windows and the desktop row start after the thumbnail column, the others
    // after the icon.
    RECT box;
    ASSERT_TRUE(GetTextBox(s, d, true, SectionWindows, 0, &box));
    EXPECT_TRUE(SameRect(Rect(116, 16, 316, 116), box));
    ASSERT_TRUE(GetTextBox(s, d, true, SectionLauncher, 0, &box));
    EXPECT_TRUE(SameRect(Rect(48, 241, 316, 273), box));
    ASSERT_TRUE(GetTextBox(s, d, true, SectionCommands, 0, &box));
    EXPECT_TRUE(SameRect(Rect(116, 290, 316, 390), box));
    ASSERT_TRUE(GetTextBox(s, d, true, SectionCommands, 1, &box));
    EXPECT_TRUE(SameRect(Rect(48, 398, 316, 430), box));
}

TEST(PopupLayout, ThumbnailModeWithoutDesktopRow) {
    const Design d = ThumbnailDesign();
    const SelectionState s = Counts(2, 1, 2);
    EXPECT_EQ(PopupSize(s, d, false).cy, 446 - 68);
    EXPECT_TRUE(SameRect(Rect(12, 286, 316, 326), Entry(s, d, false, SectionCommands, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 326, 316, 366), Entry(s, d, false, SectionCommands, 1)));
    const RECT none = GetThumbnailRect(-1, s, d, false, 1920, 1080);
    EXPECT_TRUE(IsRectEmpty(&none)) << "no desktop row, no desktop thumbnail";
    // An icon larger than the thumbnail widens the picture column to the icon.
    Design big = d;
    big.iconSize = 120;
    EXPECT_EQ(PictureWidth(big), 120);
    EXPECT_EQ(PopupSize(s, big, false).cx, 24 + 120 + 4 + 200);
}

TEST(PopupLayout, ThumbnailInsetFollowsTheScreenShape) {
    Design d = ThumbnailDesign();
    EXPECT_EQ(ThumbnailInset(d, 1280, 1024), 40); // 0.8 · 100 / 2
    EXPECT_EQ(ThumbnailInset(d, 1024, 768), 37);  // 37.5 truncated
    EXPECT_EQ(ThumbnailInset(d, 1080, 1920), 88); // portrait: 88.88 truncated
    d.thumbnailSize = 150;
    EXPECT_EQ(ThumbnailInset(d, 1920, 1080), 42); // 42.1875
    const SelectionState s = Counts(2, 1, 2);
    RECT r = GetThumbnailRect(0, s, d, true, 1280, 1024);
    // Rows are 158 high now; the box starts is + D below the row top and ends with the row.
    EXPECT_TRUE(SameRect(Rect(12, 12 + 4 + 60, 162, 170), r));
    // No screen size: no inset instead of a division by zero.
    EXPECT_EQ(ThumbnailInset(d, 0, 1080), 0);
    r = GetThumbnailRect(5, s, d, true, 1920, 1080);
    EXPECT_TRUE(IsRectEmpty(&r)) << "a window index past the list has no thumbnail";
}

TEST(PopupLayout, SectionOffsetsWithMissingSections) {
    const Design d;
    // Only commands: they still start below a separator block.
    SelectionState s = Counts(0, 0, 3);
    EXPECT_EQ(CommandOffset(s, d), 9);
    EXPECT_TRUE(SameRect(Rect(12, 21, 248, 61), Entry(s, d, false, SectionCommands, 0)));
    int y = 0;
    ASSERT_TRUE(CommandSeparatorY(s, d, &y));
    EXPECT_EQ(y, 16);
    EXPECT_EQ(PopupSize(s, d, false).cy, 24 + 3 * 40 + 9);

    // Launcher entries first when there are no windows; no separator between them and windows.
    s = Counts(0, 2, 1);
    EXPECT_EQ(LauncherOffset(s, d), 0);
    EXPECT_TRUE(SameRect(Rect(12, 12, 248, 52), Entry(s, d, false, SectionLauncher, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 101, 248, 141), Entry(s, d, false, SectionCommands, 0)));
    EXPECT_FALSE(WindowLauncherSeparatorY(s, d, &y));
    EXPECT_EQ(PopupSize(s, d, false).cy, 24 + 3 * 40 + 9);

    // Windows and launcher entries but no commands: one separator, none at the bottom.
    s = Counts(1, 1, 0);
    EXPECT_TRUE(SameRect(Rect(12, 61, 248, 101), Entry(s, d, false, SectionLauncher, 0)));
    EXPECT_FALSE(CommandSeparatorY(s, d, &y));
    EXPECT_EQ(PopupSize(s, d, false).cy, 24 + 2 * 40 + 9);
}

TEST(PopupLayout, EntriesOutsideTheCountsHaveNoRectangle) {
    const Design d;
    SelectionState s = Counts(2, 0, 1);
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(GetEntryRect(s, d, false, SectionLauncher, 0, &r)) << "empty section";
    EXPECT_FALSE(GetEntryRect(s, d, false, SectionWindows, 2, &r));
    EXPECT_FALSE(GetEntryRect(s, d, false, SectionWindows, -1, &r));
    EXPECT_FALSE(GetEntryRect(s, d, false, 15, 0, &r)) << "unknown section";
    EXPECT_TRUE(SameRect(Rect(1, 2, 3, 4), r)) << "nothing written";
    s.section = SectionLauncher;
    EXPECT_FALSE(GetCursorRect(s, d, false, &r));
    s.section = 40;
    EXPECT_FALSE(GetCursorRect(s, d, false, &r));
    s.section = SectionCommands;
    EXPECT_TRUE(GetCursorRect(s, d, false, &r));
}

TEST(PopupHitTest, MarginsAndSeparatorsHitNothing) {
    const Design d;
    const SelectionState s = Counts(3, 0, 2);
    int section = 0, index = 0;
    auto hit = [&](int x, int y) { return HitTest(s, d, false, POINT{x, y}, &section, &index); };

    ASSERT_TRUE(hit(12, 12));
    EXPECT_EQ(section, SectionWindows);
    EXPECT_EQ(index, 0);
    ASSERT_TRUE(hit(247, 131));
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(hit(100, 52)) << "a row's top belongs to it, the bottom to the next";
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(hit(11, 30)) << "left margin";
    EXPECT_FALSE(hit(248, 30)) << "right margin";
    EXPECT_FALSE(hit(100, 11)) << "top margin";
    for (int y = 132; y < 141; ++y)
        EXPECT_FALSE(hit(100, y)) << "separator block at y " << y;
    ASSERT_TRUE(hit(100, 141));
    EXPECT_EQ(section, SectionCommands);
    EXPECT_EQ(index, 0);
    ASSERT_TRUE(hit(100, 220));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(hit(100, 221)) << "bottom margin";
    EXPECT_FALSE(hit(-5, -5));
    EXPECT_FALSE(hit(500, 100));
}

TEST(PopupHitTest, ThumbnailRowsAndDesktopRow) {
    const Design d = ThumbnailDesign();
    const SelectionState s = Counts(2, 1, 2);
    int section = 0, index = 0;
    ASSERT_TRUE(HitTest(s, d, true, POINT{50, 227}, &section, &index));
    EXPECT_EQ(section, SectionWindows);
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(HitTest(s, d, true, POINT{50, 232}, &section, &index));
    ASSERT_TRUE(HitTest(s, d, true, POINT{50, 393}, &section, &index));
    EXPECT_EQ(section, SectionCommands);
    EXPECT_EQ(index, 0);
    ASSERT_TRUE(HitTest(s, d, true, POINT{50, 394}, &section, &index));
    EXPECT_EQ(index, 1);
}

TEST(PopupHitTest, SelectAtPoint) {
    const Design d;
    SelectionState s = Counts(3, 0, 2);
    EXPECT_FALSE(SelectAtPoint(s, d, false, MAKELPARAM(30, 20))) << "already selected";
    EXPECT_EQ(s.section, SectionWindows);
    EXPECT_EQ(s.index, 0);
    EXPECT_TRUE(SelectAtPoint(s, d, false, MAKELPARAM(30, 190)));
    EXPECT_EQ(s.section, SectionCommands);
    EXPECT_EQ(s.index, 1);
    EXPECT_FALSE(SelectAtPoint(s, d, false, MAKELPARAM(30, 136))) << "separator";
    EXPECT_FALSE(SelectAtPoint(s, d, false, MAKELPARAM(5, 60))) << "margin";
    EXPECT_EQ(s.section, SectionCommands);
    EXPECT_EQ(s.index, 1);

    // Coordinates are signed: x = -1 is left of the popup, even when the column is so wide that
    // an unsigned 65535 would land inside a row.
    SelectionState wide = Counts(2, 0, 0, 70000);
    wide.index = 1;
    EXPECT_FALSE(SelectAtPoint(wide, d, false, MAKELPARAM(0xFFFF, 20)));
    EXPECT_EQ(wide.index, 1);
    EXPECT_TRUE(SelectAtPoint(wide, d, false, MAKELPARAM(30000, 20)));
    EXPECT_EQ(wide.index, 0);
}

// The same list narrowed: the header line (an icon row and a separator block, 40 + 9) pushes
// every row, separator and hit down by 49; without a header nothing changes.
//
//   12   | "This monitor"   text box (16,16)-(248,48)
//   56   |   ------ separator ------
//   61   | [icon] window 0  (12,61)-(248,101)
TEST(PopupLayout, HeaderLinePushesTheListDown) {
    const Design d;
    SelectionState s = Counts(3, 1, 2);
    RECT box{};
    int y = 0;
    EXPECT_FALSE(GetHeaderTextBox(s, d, false, &box));
    const SIZE plain = PopupSize(s, d, false);
    int plainCommandSeparator = 0;
    ASSERT_TRUE(CommandSeparatorY(s, d, &plainCommandSeparator));

    s.headerHeight = HeaderHeight(d);
    EXPECT_EQ(s.headerHeight, 49);
    EXPECT_EQ(PopupSize(s, d, false).cy, plain.cy + 49);
    ASSERT_TRUE(GetHeaderTextBox(s, d, false, &box));
    EXPECT_TRUE(SameRect(Rect(16, 16, 248, 48), box));
    ASSERT_TRUE(HeaderSeparatorY(s, d, &y));
    EXPECT_EQ(y, 56);
    EXPECT_TRUE(SameRect(Rect(12, 61, 248, 101), Entry(s, d, false, SectionWindows, 0)));
    EXPECT_TRUE(SameRect(Rect(12, 190, 248, 230), Entry(s, d, false, SectionLauncher, 0)));
    ASSERT_TRUE(CommandSeparatorY(s, d, &y));
    EXPECT_EQ(y, plainCommandSeparator + 49);
    int section = 0, index = 0;
    EXPECT_FALSE(HitTest(s, d, false, POINT{100, 30}, &section, &index)) << "the header is no entry";
    ASSERT_TRUE(HitTest(s, d, false, POINT{100, 62}, &section, &index));
    EXPECT_EQ(section, SectionWindows);
    EXPECT_EQ(index, 0);
}

} // namespace

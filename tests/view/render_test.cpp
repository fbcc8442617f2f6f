#include "view/render.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "support/png.h"

namespace {

using namespace mw;

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kOrange = RGB(0xFF, 0x81, 0x19);

// A square icon of one opaque colour, so its pixels can be recognised after drawing.
HICON SolidIcon(int size, COLORREF color) {
    std::vector<BYTE> andMask(static_cast<size_t>(size) * size / 8 + 64, 0x00);
    std::vector<BYTE> xorMask(static_cast<size_t>(size) * size * 4);
    for (size_t i = 0; i < xorMask.size(); i += 4) {
        xorMask[i] = GetBValue(color);
        xorMask[i + 1] = GetGValue(color);
        xorMask[i + 2] = GetRValue(color);
        xorMask[i + 3] = 0xFF;
    }
    return CreateIcon(GetModuleHandleW(nullptr), size, size, 1, 32, andMask.data(), xorMask.data());
}

void Add(ItemList& list, const wchar_t* name, HICON icon, int kind, HWND window = nullptr) {
    ListItem item;
    InitListItem(item, name, icon, window, kind);
    ASSERT_EQ(AppendListItem(list, item), 1);
}

void AddLauncher(LauncherList& list, const wchar_t* name, HICON icon) {
    LauncherEntry entry;
    InitListItem(entry, name, icon, nullptr, KindLauncher);
    SetLauncherFields(entry, nullptr, L"C:\\x.exe", nullptr, nullptr, 0);
    ASSERT_EQ(AppendLauncherEntry(list, entry), 1);
}

struct Lists {
    std::unique_ptr<ItemList> windows = CreateItemList();
    std::unique_ptr<LauncherList> launchers = CreateLauncherList();
    std::unique_ptr<ItemList> commands = CreateItemList();
};

// Three windows and two commands, every icon red: the popup of the default-design example.
Lists ThreeWindowsTwoCommands() {
    Lists l;
    Add(*l.windows, L"Notes - Editor", SolidIcon(32, kRed), KindWindow);
    Add(*l.windows, L"Inbox", SolidIcon(32, kRed), KindWindow);
    Add(*l.windows, L"Calculator", SolidIcon(32, kRed), KindWindow);
    Add(*l.commands, L"Close", SolidIcon(32, kRed), KindCloseWindow);
    Add(*l.commands, L"Cancel", SolidIcon(32, kRed), KindCancel);
    return l;
}

// Two windows, one launcher entry, desktop and cancel: the thumbnail-mode example.
Lists ThumbnailExample() {
    Lists l;
    Add(*l.windows, L"Window one", SolidIcon(32, kRed), KindWindow);
    Add(*l.windows, L"Window two", SolidIcon(32, kRed), KindWindow);
    AddLauncher(*l.launchers, L"Launcher", SolidIcon(32, kRed));
    Add(*l.commands, L"Desktop", SolidIcon(32, kRed), KindDesktopToggle);
    Add(*l.commands, L"Cancel", SolidIcon(32, kRed), KindCancel);
    return l;
}

SelectionState StateOf(const Lists& l, int width) {
    SelectionState s;
    s.windowCount = l.windows->count;
    s.launcherCount = l.launchers->count;
    s.commandCount = l.commands->count;
    s.textColumnWidth = width;
    return s;
}

int Render(const Lists& l, const Design& d, bool desktop, PopupSurface& surface) {
    return RenderPopup(nullptr, *l.windows, *l.launchers, *l.commands, d, desktop, surface);
}

// Pixels of a rectangle that differ from `color`.
int CountOther(HDC dc, const RECT& r, COLORREF color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetPixel(dc, x, y) != color)
                ++n;
    return n;
}

int CountColor(HDC dc, const RECT& r, COLORREF color) {
    return (r.right - r.left) * (r.bottom - r.top) - CountOther(dc, r, color);
}

// A second surface holding a copy of the popup, as the paint handler's target would.
struct Copy {
    PopupSurface target;
    explicit Copy(const PopupSurface& source) {
        target.Create(source.dc(), source.width, source.height);
        BitBlt(target.dc(), 0, 0, source.width, source.height, source.dc(), 0, 0, SRCCOPY);
    }
    HDC dc() const { return target.dc(); }
};

std::vector<COLORREF> Pixels(HDC dc, int w, int h) {
    std::vector<COLORREF> p;
    p.reserve(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.push_back(GetPixel(dc, x, y));
    return p;
}

TEST(PopupSurfaceOwner, ReleaseDeselectsAndDeletesBoth) {
    PopupSurface s;
    ASSERT_TRUE(s.Create(nullptr, 40, 30));
    HBITMAP bitmap = s.bitmap();
    HDC dc = s.dc();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    PopupSurface moved(std::move(s));
    EXPECT_FALSE(s);
    EXPECT_EQ(moved.width, 40);
    moved.Release();
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "bitmap deleted";
    EXPECT_EQ(GetObjectType(dc), 0u) << "DC deleted";
    EXPECT_FALSE(moved.Create(nullptr, 0, 10)) << "an empty popup has no surface";
    EXPECT_FALSE(moved);
}

TEST(RenderPopup, FrameBackgroundIconsAndSize) {
    Lists l = ThreeWindowsTwoCommands();
    Design d;
    d.textWidth = 200;
    d.frameColor = RGB(10, 20, 30);
    d.backgroundColor = RGB(250, 240, 230);
    PopupSurface surface;
    EXPECT_EQ(Render(l, d, false, surface), 200);
    ASSERT_TRUE(surface);
    ASSERT_EQ(surface.width, 260);
    ASSERT_EQ(surface.height, 233);
    HDC dc = surface.dc();
    BITMAP bm{};
    GetObjectW(surface.bitmap(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 260);
    EXPECT_EQ(bm.bmHeight, 233);

    // One-pixel frame all round, background right inside it.
    EXPECT_EQ(CountOther(dc, RECT{0, 0, 260, 1}, d.frameColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{0, 232, 260, 233}, d.frameColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{0, 0, 1, 233}, d.frameColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{259, 0, 260, 233}, d.frameColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{1, 1, 259, 12}, d.backgroundColor), 0) << "top margin";
    EXPECT_EQ(CountOther(dc, RECT{1, 1, 12, 232}, d.backgroundColor), 0) << "left margin";
    EXPECT_EQ(CountOther(dc, RECT{248, 1, 259, 232}, d.backgroundColor), 0) << "right margin";
    EXPECT_EQ(CountOther(dc, RECT{1, 221, 259, 232}, d.backgroundColor), 0) << "bottom margin";

    // Every row has its 32x32 icon at (12, top + 4) and text in its text box.
    const SelectionState s = StateOf(l, 200);
    for (int section : {SectionWindows, SectionCommands})
        for (int i = 0; i < SectionCount(s, section); ++i) {
            RECT row, box;
            ASSERT_TRUE(GetEntryRect(s, d, false, section, i, &row));
            ASSERT_TRUE(GetTextBox(s, d, false, section, i, &box));
            EXPECT_EQ(CountColor(dc, RECT{12, row.top + 4, 44, row.top + 36}, kRed), 32 * 32)
                << section << "/" << i;
            EXPECT_GT(CountColor(dc, box, d.textColor), 10) << "text of " << section << "/" << i;
            EXPECT_EQ(CountOther(dc, RECT{12, row.top, 248, row.top + 4}, d.backgroundColor), 0)
                << "padding above the picture";
        }
    // Between the third window and the first command: only the separator line.
    EXPECT_EQ(CountOther(dc, RECT{12, 132, 248, 136}, d.backgroundColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{12, 137, 248, 141}, d.backgroundColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{12, 136, 248, 137}, d.backgroundColor), 236);
}

TEST(RenderPopup, TextColumnIsMeasuredAndCapped) {
    Lists l = ThreeWindowsTwoCommands();
    Design d; // measured column
    int expected = 0;
    {
        HDC screen = GetDC(nullptr);
        UniqueFont font = CreateListFont(false);
        SelectGuard select(screen, font.get());
        for (const wchar_t* t : {L"Notes - Editor", L"Inbox", L"Calculator", L"Close", L"Cancel"}) {
            SIZE size{};
            GetTextExtentPoint32W(screen, t, lstrlenW(t), &size);
            expected = std::max<int>(expected, size.cx);
        }
        ReleaseDC(nullptr, screen);
    }
    ASSERT_GT(expected, 20);
    PopupSurface surface;
    EXPECT_EQ(Render(l, d, false, surface), expected);
    EXPECT_EQ(surface.width, 24 + 32 + 4 + expected);

    d.textMaxWidth = 20;
    EXPECT_EQ(Render(l, d, false, surface), 20) << "capped by text-maxwidth";
    d.textWidth = 300;
    EXPECT_EQ(Render(l, d, false, surface), 300) << "a fixed column wins over the cap";
    EXPECT_EQ(surface.width, 360);
}

TEST(RenderPopup, LongTitleStaysInsideTheTextBox) {
    Lists l;
    Add(*l.windows, L"An extremely long window title that cannot possibly fit into eighty pixels", nullptr,
        KindWindow);
    Add(*l.windows, L"x", nullptr, KindWindow);
    Design d;
    d.textWidth = 80;
    d.textAlign = DT_LEFT;
    PopupSurface surface;
    Render(l, d, false, surface);
    ASSERT_TRUE(surface);
    HDC dc = surface.dc();
    // Nothing past the right end of the text box (x 128) and nothing in the empty icon place.
    EXPECT_EQ(CountOther(dc, RECT{128, 1, surface.width - 1, surface.height - 1}, d.backgroundColor), 0);
    EXPECT_EQ(CountOther(dc, RECT{1, 1, 48, surface.height - 1}, d.backgroundColor), 0);
    EXPECT_GT(CountColor(dc, RECT{48, 16, 128, 48}, d.textColor), 20);
}

TEST(EntryTextFlags, EveryAlignmentDrawsAmpersandsAsText) {
    for (int align : {DT_LEFT, DT_CENTER, DT_RIGHT, 7}) {
        Design d;
        d.textAlign = align;
        EXPECT_EQ(EntryTextFlags(d), (align == 7 ? DT_CENTER : align) | DT_SINGLELINE | DT_VCENTER |
                                         DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

// The rightmost text pixel of a one-entry popup, left-aligned in a fixed column.
int RightmostTextPixel(const wchar_t* title) {
    Lists l;
    Add(*l.windows, title, nullptr, KindWindow);
    Design d;
    d.textWidth = 200;
    d.textAlign = DT_LEFT;
    PopupSurface surface;
    Render(l, d, false, surface);
    int rightmost = -1;
    for (int x = 48; x < surface.width - 1; ++x)
        if (CountColor(surface.dc(), RECT{x, 1, x + 1, surface.height - 1}, d.textColor) > 0)
            rightmost = x;
    return rightmost;
}

TEST(RenderPopup, AnAmpersandInATitleIsDrawn) {
    // Drawn as a mnemonic prefix, "A&B" would put "B" where "AB" has it (and underline it).
    const int plain = RightmostTextPixel(L"AB");
    ASSERT_GT(plain, 48);
    EXPECT_GE(RightmostTextPixel(L"A&B"), plain + 3);
}

TEST(RenderPopup, ThumbnailModeDrawsNoWindowOrDesktopIcons) {
    Lists l = ThumbnailExample();
    Design d;
    d.thumbnail = 1;
    d.textWidth = 200;
    d.textAlign = DT_LEFT;
    PopupSurface surface;
    Render(l, d, true, surface);
    ASSERT_TRUE(surface);
    ASSERT_EQ(surface.width, 328);
    ASSERT_EQ(surface.height, 446);
    HDC dc = surface.dc();
    const COLORREF bg = d.backgroundColor;
    // Window rows and the desktop row: the picture column stays empty (the thumbnail goes
    // there), text starts after it.
    for (RECT row : {RECT{12, 12, 316, 120}, RECT{12, 120, 316, 228}, RECT{12, 286, 316, 394}}) {
        EXPECT_EQ(CountOther(dc, RECT{12, row.top, 116, row.bottom}, bg), 0) << "row at " << row.top;
        EXPECT_GT(CountColor(dc, RECT{116, row.top + 4, 316, row.bottom - 4}, d.textColor), 10);
    }
    // Launcher and cancel rows keep their icons at (12, top + 4); the cancel row lies
    // ts - ic lower than it would without the desktop row.
    EXPECT_EQ(CountColor(dc, RECT{12, 241, 44, 273}, kRed), 32 * 32);
    EXPECT_EQ(CountColor(dc, RECT{12, 398, 44, 430}, kRed), 32 * 32);
    EXPECT_EQ(CountOther(dc, RECT{12, 434, 316, 445}, bg), 0);
    // The separators at 232 and 281.
    EXPECT_EQ(GetPixel(dc, 100, 232), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 100, 281), RGB(0, 0, 0));
    EXPECT_EQ(CountOther(dc, RECT{12, 228, 316, 232}, bg), 0);
    EXPECT_EQ(CountOther(dc, RECT{12, 233, 316, 237}, bg), 0);
}

TEST(DrawSeparatorLine, FadesInAndOutWithTheDefaults) {
    Lists l = ThreeWindowsTwoCommands();
    Design d;
    d.textWidth = 200;
    PopupSurface surface;
    Render(l, d, false, surface);
    ASSERT_TRUE(surface);
    HDC dc = surface.dc();
    auto grey = [](int v) { return RGB(v, v, v); };
    EXPECT_EQ(GetPixel(dc, 11, 136), grey(255)) << "starts at the margin";
    EXPECT_EQ(GetPixel(dc, 12, 136), grey(248));
    EXPECT_EQ(GetPixel(dc, 13, 136), grey(241));
    EXPECT_EQ(GetPixel(dc, 43, 136), grey(31)) << "32nd pixel";
    for (int x = 44; x <= 216; ++x)
        ASSERT_EQ(GetPixel(dc, x, 136), grey(0)) << x;
    EXPECT_EQ(GetPixel(dc, 217, 136), grey(38)) << "first of the last 31";
    EXPECT_EQ(GetPixel(dc, 246, 136), grey(241));
    EXPECT_EQ(GetPixel(dc, 247, 136), grey(248)) << "last pixel";
    EXPECT_EQ(GetPixel(dc, 248, 136), grey(255)) << "end is exclusive";
    for (int x = 12; x < 248; ++x)
        ASSERT_EQ(GetPixel(dc, x, 136), SeparatorPixelColor(d, 248, x)) << x;
}

TEST(DrawSeparatorLine, ShortLinesAndColouredChannels) {
    PopupSurface s;
    ASSERT_TRUE(s.Create(nullptr, 120, 10));
    HDC dc = s.dc();
    Design d;
    d.windowSpace = 10;
    UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    RECT all{0, 0, 120, 10};
    FillRect(dc, &all, white.get());

    // 20 pixels: fade in only.
    DrawSeparator(dc, d, 30, 1);
    EXPECT_EQ(GetPixel(dc, 10, 1), RGB(248, 248, 248));
    EXPECT_EQ(GetPixel(dc, 29, 1), RGB(115, 115, 115));
    EXPECT_EQ(GetPixel(dc, 30, 1), RGB(255, 255, 255));
    // 32 pixels: the whole fade-in and nothing else.
    DrawSeparator(dc, d, 42, 3);
    EXPECT_EQ(GetPixel(dc, 41, 3), RGB(31, 31, 31));
    // 40 pixels: 32 in, then 8 out, never the solid colour.
    DrawSeparator(dc, d, 50, 5);
    EXPECT_EQ(GetPixel(dc, 41, 5), RGB(31, 31, 31));
    EXPECT_EQ(GetPixel(dc, 42, 5), RGB(38, 38, 38));
    EXPECT_EQ(GetPixel(dc, 49, 5), RGB(87, 87, 87));
    for (int x = 10; x < 50; ++x)
        EXPECT_NE(GetPixel(dc, x, 5), RGB(0, 0, 0)) << x;
    // No room: nothing drawn.
    DrawSeparator(dc, d, 10, 7);
    EXPECT_EQ(CountOther(dc, RECT{0, 7, 120, 8}, RGB(255, 255, 255)), 0);

    // Channels fade on their own: white to (0, 128, 255) steps -7, -3, 0.
    d.separatorColor = RGB(0, 128, 255);
    DrawSeparator(dc, d, 110, 8);
    EXPECT_EQ(GetPixel(dc, 10, 8), RGB(248, 252, 255));
    EXPECT_EQ(GetPixel(dc, 41, 8), RGB(31, 159, 255));
    EXPECT_EQ(GetPixel(dc, 60, 8), RGB(0, 128, 255));
    EXPECT_EQ(GetPixel(dc, 109, 8), RGB(248, 252, 255));
}

TEST(PaintSelection, OutlineWithCutCornersAndUntouchedRow) {
    Lists l = ThreeWindowsTwoCommands();
    Design d;
    d.textWidth = 200;
    d.cursorTextBold = 1; // equal cursor colours: the text is not redrawn, so it cannot turn bold
    PopupSurface surface;
    Render(l, d, false, surface);
    ASSERT_TRUE(surface);
    Copy copy(surface);
    SelectionState s = StateOf(l, 200);
    s.index = 1; // row (12, 52, 248, 92)
    PaintSelection(copy.dc(), s, d, false, *l.windows, *l.launchers, *l.commands);
    HDC dc = copy.dc();

    // Inner frame (10, 53)-(250, 91), outer frame (9, 54)-(251, 90).
    for (int x = 10; x < 250; ++x) {
        ASSERT_EQ(GetPixel(dc, x, 53), kOrange) << x;
        ASSERT_EQ(GetPixel(dc, x, 90), kOrange) << x;
    }
    for (int x = 9; x < 251; ++x) {
        ASSERT_EQ(GetPixel(dc, x, 54), kOrange) << x;
        ASSERT_EQ(GetPixel(dc, x, 89), kOrange) << x;
    }
    for (int y = 53; y < 91; ++y) {
        ASSERT_EQ(GetPixel(dc, 10, y), kOrange) << y;
        ASSERT_EQ(GetPixel(dc, 249, y), kOrange) << y;
    }
    for (int y = 54; y < 90; ++y) {
        ASSERT_EQ(GetPixel(dc, 9, y), kOrange) << y;
        ASSERT_EQ(GetPixel(dc, 250, y), kOrange) << y;
    }
    // Cut corners and the pixels just outside.
    for (POINT p : {POINT{9, 53}, POINT{250, 53}, POINT{9, 90}, POINT{250, 90}, POINT{8, 60}, POINT{251, 60},
                    POINT{100, 52}, POINT{100, 91}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;

    // Everything that is not outline is exactly the surface.
    int changed = 0, outline = 0;
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x) {
            const bool inner = (x == 10 || x == 249) && y >= 53 && y < 91
                                   ? true
                                   : (y == 53 || y == 90) && x >= 10 && x < 250;
            const bool outer =
                (x == 9 || x == 250) && y >= 54 && y < 90 ? true : (y == 54 || y == 89) && x >= 9 && x < 251;
            if (inner || outer)
                ++outline;
            else if (GetPixel(dc, x, y) != GetPixel(surface.dc(), x, y))
                ++changed;
        }
    EXPECT_EQ(changed, 0) << "row not refilled, text not redrawn";
    EXPECT_GT(outline, 0);
}

TEST(PaintSelection, CursorColoursRefillAndRedrawTheEntry) {
    Lists l = ThreeWindowsTwoCommands();
    Design d;
    d.textWidth = 200;
    d.textAlign = DT_LEFT;
    d.cursorBackgroundColor = RGB(200, 220, 255);
    d.cursorTextColor = RGB(0, 0, 255);
    PopupSurface surface;
    Render(l, d, false, surface);
    ASSERT_TRUE(surface);
    SelectionState s = StateOf(l, 200);
    s.section = SectionCommands;
    s.index = 0; // row (12, 141, 248, 181)
    Copy copy(surface);
    PaintSelection(copy.dc(), s, d, false, *l.windows, *l.launchers, *l.commands);
    HDC dc = copy.dc();

    // Filled from x 11 to 248 and from y 142 to 179; the outline then covers the rows 142, 143,
    // 178 and 179 and the columns 9, 10, 249 and 250.
    EXPECT_EQ(GetPixel(dc, 11, 150), d.cursorBackgroundColor);
    EXPECT_EQ(GetPixel(dc, 248, 150), d.cursorBackgroundColor);
    EXPECT_EQ(GetPixel(dc, 100, 144), d.cursorBackgroundColor);
    EXPECT_EQ(GetPixel(dc, 100, 177), d.cursorBackgroundColor);
    EXPECT_EQ(GetPixel(dc, 100, 142), kOrange);
    EXPECT_EQ(GetPixel(dc, 100, 143), kOrange);
    EXPECT_EQ(GetPixel(dc, 100, 178), kOrange);
    EXPECT_EQ(GetPixel(dc, 100, 179), kOrange);
    EXPECT_EQ(GetPixel(dc, 100, 141), RGB(255, 255, 255)) << "the row's top line is not filled";
    EXPECT_EQ(GetPixel(dc, 100, 180), RGB(255, 255, 255)) << "nor its bottom line";
    EXPECT_EQ(GetPixel(dc, 10, 150), kOrange);
    // Icon drawn again at (12, 145), text in the cursor text colour, none in the list's.
    EXPECT_EQ(CountColor(dc, RECT{12, 145, 44, 177}, kRed), 32 * 32);
    const RECT box{48, 145, 248, 177};
    EXPECT_GT(CountColor(dc, box, d.cursorTextColor), 10);
    EXPECT_EQ(CountColor(dc, box, d.textColor), 0);

    // Bold is used when the entry is redrawn: it inks more pixels than the normal weight.
    auto inked = [&](int bold) {
        Design b = d;
        b.cursorTextBold = bold;
        Copy c(surface);
        PaintSelection(c.dc(), s, b, false, *l.windows, *l.launchers, *l.commands);
        return CountOther(c.dc(), box, b.cursorBackgroundColor);
    };
    EXPECT_GT(inked(1), inked(0));
    EXPECT_EQ(inked(2), inked(0)) << "only exactly 1 means bold";
}

TEST(PaintSelection, ThumbnailModeShiftsTheTextAndSkipsWindowIcons) {
    Lists l = ThumbnailExample();
    Design d;
    d.thumbnail = 1;
    d.textWidth = 200;
    d.textAlign = DT_LEFT;
    d.cursorBackgroundColor = RGB(200, 220, 255);
    PopupSurface surface;
    Render(l, d, true, surface);
    ASSERT_TRUE(surface);
    SelectionState s = StateOf(l, 200);
    struct Case {
        int section, index;
        RECT row;
        bool icon;
    } cases[] = {{SectionWindows, 1, {12, 120, 316, 228}, false},
                 {SectionCommands, 0, {12, 286, 316, 394}, false},
                 {SectionCommands, 1, {12, 394, 316, 434}, true},
                 {SectionLauncher, 0, {12, 237, 316, 277}, true}};
    for (const Case& c : cases) {
        s.section = c.section;
        s.index = c.index;
        Copy copy(surface);
        PaintSelection(copy.dc(), s, d, true, *l.windows, *l.launchers, *l.commands);
        HDC dc = copy.dc();
        const int textLeft = c.icon ? 48 : 116;
        const RECT picture{12, c.row.top + 4, textLeft, c.row.bottom - 4};
        if (c.icon)
            EXPECT_EQ(CountColor(dc, RECT{12, c.row.top + 4, 44, c.row.top + 36}, kRed), 32 * 32);
        else
            EXPECT_EQ(CountOther(dc, picture, d.cursorBackgroundColor), 0)
                << "no icon and no text left of x 116 in row " << c.row.top;
        EXPECT_GT(CountColor(dc, RECT{textLeft, c.row.top + 4, 316, c.row.bottom - 4}, d.cursorTextColor),
                  10);
    }
}

TEST(PaintSelection, NothingSelectedDrawsNothing) {
    Lists l = ThreeWindowsTwoCommands();
    Design d;
    d.textWidth = 200;
    d.cursorBackgroundColor = RGB(1, 2, 3);
    PopupSurface surface;
    Render(l, d, false, surface);
    ASSERT_TRUE(surface);
    const std::vector<COLORREF> before = Pixels(surface.dc(), surface.width, surface.height);
    SelectionState s = StateOf(l, 200);
    for (auto [section, index] :
         {std::pair{SectionLauncher, 0}, std::pair{SectionWindows, 3}, std::pair{0, 0}}) {
        s.section = section;
        s.index = index;
        Copy copy(surface);
        PaintSelection(copy.dc(), s, d, false, *l.windows, *l.launchers, *l.commands);
        EXPECT_EQ(Pixels(copy.dc(), surface.width, surface.height), before) << section << "/" << index;
    }
    // A selection record whose counts outrun the lists: fill and outline, but no slot past the
    // list is read, so no icon and no text.
    auto empty = CreateItemList();
    s.section = SectionWindows;
    s.index = 2; // row (12, 92, 248, 132)
    Copy copy(surface);
    PaintSelection(copy.dc(), s, d, false, *empty, *l.launchers, *l.commands);
    EXPECT_EQ(CountOther(copy.dc(), RECT{11, 95, 249, 129}, d.cursorBackgroundColor), 0);
    EXPECT_EQ(GetPixel(copy.dc(), 10, 100), kOrange);
}

TEST(RenderPopup, SavesAPictureWithRealIconsAndJapaneseText) {
    Lists l;
    Add(*l.windows, L"無題 - メモ帳", CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)), KindWindow);
    Add(*l.windows, L"受信トレイ - メール", CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)), KindWindow);
    Add(*l.windows, L"A window title that is far too long for the text column and ends in an ellipsis",
        CopyIcon(LoadIconW(nullptr, IDI_WARNING)), KindWindow);
    AddLauncher(*l.launchers, L"電卓", CopyIcon(LoadIconW(nullptr, IDI_QUESTION)));
    Add(*l.commands, L"デスクトップの表示 / 非表示", CopyIcon(LoadIconW(nullptr, IDI_SHIELD)),
        KindDesktopToggle);
    Add(*l.commands, L"「無題 - メモ帳」を閉じる", CopyIcon(LoadIconW(nullptr, IDI_ERROR)), KindCloseWindow);
    Add(*l.commands, L"キャンセル", CopyIcon(LoadIconW(nullptr, IDI_ERROR)), KindCancel);
    Design d;
    d.textMaxWidth = 260;
    PopupSurface surface;
    const int width = Render(l, d, false, surface);
    ASSERT_TRUE(surface);
    EXPECT_EQ(width, 260);
    SelectionState s = StateOf(l, width);
    s.index = 1;
    Copy copy(surface);
    PaintSelection(copy.dc(), s, d, false, *l.windows, *l.launchers, *l.commands);

    const std::wstring path = test::ArtifactPath(L"popup-default.png");
    DeleteFileW(path.c_str());
    ASSERT_TRUE(test::SaveDcPng(copy.dc(), surface.width, surface.height, path));
    FILE* f = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(f, nullptr);
    unsigned char header[8] = {};
    EXPECT_EQ(fread(header, 1, 8, f), 8u);
    fclose(f);
    EXPECT_EQ(std::vector<unsigned char>(header, header + 8),
              (std::vector<unsigned char>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
}

} // namespace

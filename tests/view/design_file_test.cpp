#include "view/design_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/unique_handle.h"
#include "support/temp_dir.h"

namespace {

using mw::test::TempDir;
using mw::test::WriteTextFile;

TEST(ColorFromText, CaseDoesNotMatter) {
    EXPECT_EQ(mw::ColorFromText(L"#ff8119"), RGB(255, 129, 25));
    EXPECT_EQ(mw::ColorFromText(L"#FF8119"), RGB(255, 129, 25));
    EXPECT_EQ(mw::ColorFromText(L"#3c3C3c"), RGB(0x3C, 0x3C, 0x3C));
}

TEST(ColorFromText, OnlyTheFirstSixDigitsCount) {
    EXPECT_EQ(mw::ColorFromText(L"#123456789ABC"), RGB(0x12, 0x34, 0x56));
}

TEST(ColorFromText, FirstCharacterIsSkippedEvenWithoutHash) {
    // "ff8119" loses its first digit: "F8", "11", "9" and a missing digit.
    EXPECT_EQ(mw::ColorFromText(L"ff8119"), RGB(0xF8, 0x11, 0x90));
    EXPECT_EQ(mw::ColorFromText(L"X000000"), RGB(0, 0, 0));
}

TEST(ColorFromText, ShortValuesCountMissingDigitsAsZero) {
    EXPECT_EQ(mw::ColorFromText(L"#FFF"), RGB(0xFF, 0xF0, 0x00));
    EXPECT_EQ(mw::ColorFromText(L"#"), RGB(0, 0, 0));
    EXPECT_EQ(mw::ColorFromText(L""), RGB(0, 0, 0));
    EXPECT_EQ(mw::ColorFromText(nullptr), RGB(0, 0, 0));
    // Whatever lies after the terminator is not part of the value.
    const wchar_t buffer[] = {L'#', L'F', L'\0', L'F', L'F', L'F', L'F', L'F', L'\0'};
    EXPECT_EQ(mw::ColorFromText(buffer), RGB(0xF0, 0, 0));
}

TEST(ColorFromText, GarbageIsTakenModulo256) {
    // Upper-cased to "#GZ!!ZZ": G is 23, Z is 42, '!' is -15 above '0'.
    //   23*16+42 = 410 -> 154;  -15*16-15 = -255 -> 1;  42*16+42 = 714 -> 202
    EXPECT_EQ(mw::ColorFromText(L"#gz!!zz"), RGB(154, 1, 202));
}

TEST(DesignPathForExe, DesignIniBesideTheExecutable) {
    EXPECT_EQ(mw::DesignPathForExe(L"C:\\Program Files\\Mistlewick\\Mistlewick.exe"),
              L"C:\\Program Files\\Mistlewick\\design.ini");
    EXPECT_EQ(mw::DesignPathForExe(L"D:tool.exe"), L"D:design.ini");
}

TEST(ParseDesignColor, ReadsTheKeyOrTheDefault) {
    TempDir dir;
    const std::wstring file = dir.file(L"design.ini");
    WriteTextFile(file,
                  L"[Window]\r\nbackground-color=#102030FFFF\r\nframe-color=\r\nseparator-color=#ABC\r\n");
    EXPECT_EQ(mw::ParseDesignColor(L"window", L"Background-Color", L"#FFFFFF", file), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(mw::ParseDesignColor(L"Window", L"frame-color", L"#3c3c3c", file),
              RGB(0, 0, 0)); // present, empty
    EXPECT_EQ(mw::ParseDesignColor(L"Window", L"separator-color", L"#000000", file), RGB(0xAB, 0xC0, 0));
    EXPECT_EQ(mw::ParseDesignColor(L"Window", L"missing", L"#3c3c3c", file), RGB(0x3C, 0x3C, 0x3C));
    EXPECT_EQ(mw::ParseDesignColor(L"Cursor", L"frame-color", L"#ff8119", dir.file(L"none.ini")),
              RGB(0xFF, 0x81, 0x19));
}

// A hidden popup of a class of its own, so changing the class style touches no other window.
class DesignWindow : public testing::Test {
  protected:
    void SetUp() override {
        className_ = L"MwDesignTest" + std::to_wstring(GetTickCount64()) + L"_" +
                     std::to_wstring(reinterpret_cast<uintptr_t>(this));
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className_.c_str();
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        ASSERT_NE(RegisterClassExW(&wc), 0);
        window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, className_.c_str(), L"Mistlewick",
                                      WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr));
        ASSERT_TRUE(window_);
    }
    void TearDown() override {
        window_.reset();
        UnregisterClassW(className_.c_str(), GetModuleHandleW(nullptr));
    }
    ULONG_PTR ClassStyle() const { return GetClassLongPtrW(window_.get(), GCL_STYLE); }
    bool Layered() const { return (GetWindowLongPtrW(window_.get(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

    TempDir dir;
    std::wstring file = dir.file(L"design.ini");
    std::wstring className_;
    mw::UniqueWindow window_;
};

TEST_F(DesignWindow, MissingFileGivesDefaultsAndClearsShadow) {
    SetClassLongPtrW(window_.get(), GCL_STYLE, static_cast<LONG_PTR>(ClassStyle() | CS_DROPSHADOW));
    mw::Design d;
    d.backgroundColor = d.textColor = d.separatorColor = d.cursorFrameColor = d.frameColor = RGB(1, 2, 3);
    d.cursorTextColor = d.cursorBackgroundColor = RGB(1, 2, 3);
    d.cursorTextBold = d.windowSpace = d.itemSpace = d.textMaxWidth = d.textWidth = 99;
    d.thumbnail = d.thumbnailSize = d.thumbnailOverlay = d.iconSize = d.textAlign = 99;
    mw::LoadDesign(window_.get(), file, d);

    EXPECT_EQ(d.backgroundColor, RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(d.textColor, RGB(0, 0, 0));
    EXPECT_EQ(d.separatorColor, RGB(0, 0, 0));
    EXPECT_EQ(d.cursorFrameColor, RGB(0xFF, 0x81, 0x19));
    EXPECT_EQ(d.frameColor, RGB(0x3C, 0x3C, 0x3C));
    EXPECT_EQ(d.cursorTextColor, d.textColor);
    EXPECT_EQ(d.cursorBackgroundColor, d.backgroundColor);
    EXPECT_EQ(d.cursorTextBold, 0);
    EXPECT_EQ(d.windowSpace, 12);
    EXPECT_EQ(d.itemSpace, 4);
    EXPECT_EQ(d.textMaxWidth, 500);
    EXPECT_EQ(d.textWidth, -1);
    EXPECT_EQ(d.thumbnail, 0);
    EXPECT_EQ(d.thumbnailSize, 100);
    EXPECT_EQ(d.thumbnailOverlay, 1);
    EXPECT_EQ(d.iconSize, 32);
    EXPECT_EQ(d.textAlign, DT_CENTER);
    EXPECT_EQ(ClassStyle() & CS_DROPSHADOW, 0u);
    EXPECT_EQ(ClassStyle() & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
              ULONG_PTR(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_FALSE(Layered());
}

TEST_F(DesignWindow, FullFileIsReadAndStylesTheWindow) {
    WriteTextFile(
        file,
        L"[Window]\r\nbackground-color=#202020\r\nframe-color=#0000FF\r\nseparator-color=#00ff00\r\n"
        L"drop_shadow=2\r\nalpha=255\r\nwindow-space=-3\r\n"
        L"[Item]\r\ntext-color=#EEEEEE\r\nitem-space=0\r\ntext-maxwidth=200\r\ntext-width=300\r\n"
        L"thumbnail=1\r\nthumbnail-size=160\r\nthumbnail-overlay=0\r\nicon-size=48\r\ntext-align=Right\r\n"
        L"[Cursor]\r\nframe-color=#123456\r\ntext-color=TRANSPARENT\r\nbackground-color=#ff0000\r\n"
        L"text-bold=1\r\n");
    SetClassLongPtrW(window_.get(), GCL_STYLE, static_cast<LONG_PTR>(ClassStyle() | CS_DROPSHADOW));
    mw::Design d;
    mw::LoadDesign(window_.get(), file, d);

    EXPECT_EQ(d.backgroundColor, RGB(0x20, 0x20, 0x20));
    EXPECT_EQ(d.frameColor, RGB(0, 0, 0xFF));
    EXPECT_EQ(d.separatorColor, RGB(0, 0xFF, 0));
    EXPECT_EQ(d.textColor, RGB(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(d.cursorFrameColor, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(d.cursorTextColor, RGB(0xEE, 0xEE, 0xEE)); // transparent in capitals: the list's
    EXPECT_EQ(d.cursorBackgroundColor, RGB(0xFF, 0, 0));
    EXPECT_EQ(d.cursorTextBold, 1);
    EXPECT_EQ(d.windowSpace, -3); // used as read
    EXPECT_EQ(d.itemSpace, 0);
    EXPECT_EQ(d.textMaxWidth, 200);
    EXPECT_EQ(d.textWidth, 300); // a positive width wins over a smaller maximum in the layout
    EXPECT_EQ(d.thumbnail, 1);
    EXPECT_EQ(d.thumbnailSize, 160);
    EXPECT_EQ(d.thumbnailOverlay, 0);
    EXPECT_EQ(d.iconSize, 48);
    EXPECT_EQ(d.textAlign, DT_RIGHT);

    EXPECT_EQ(ClassStyle() & CS_DROPSHADOW, 0u); // 2 is not exactly 1
    ASSERT_TRUE(Layered());
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_.get(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags & LWA_ALPHA, DWORD(LWA_ALPHA));
    EXPECT_EQ(flags & LWA_COLORKEY, 0u);
}

TEST_F(DesignWindow, ShadowExactlyOneAndPartialAlpha) {
    WriteTextFile(file, L"[Window]\r\ndrop_shadow=1\r\nalpha=128\r\n[Item]\r\ntext-align=LEFT\r\n", false);
    mw::Design d;
    mw::LoadDesign(window_.get(), file, d);
    EXPECT_NE(ClassStyle() & CS_DROPSHADOW, 0u);
    EXPECT_EQ(d.textAlign, DT_LEFT);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_.get(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);

    // Loading again with the shadow still asked for leaves it set.
    mw::LoadDesign(window_.get(), file, d);
    EXPECT_NE(ClassStyle() & CS_DROPSHADOW, 0u);
}

TEST_F(DesignWindow, AlignmentWordsAndCursorColours) {
    struct Case {
        const wchar_t* word;
        int align;
    } cases[] = {{L"left", DT_LEFT},     {L"rIGHT", DT_RIGHT}, {L"justify", DT_CENTER},
                 {L"center", DT_CENTER}, {L"", DT_CENTER},     {L"right now", DT_CENTER}};
    for (const Case& c : cases) {
        WriteTextFile(file, std::wstring(L"[Item]\r\ntext-color=#010203\r\ntext-align=") + c.word +
                                L"\r\n[Cursor]\r\ntext-color=#FF0000\r\nbackground-color=Transparent\r\n");
        mw::Design d;
        mw::LoadDesign(window_.get(), file, d);
        EXPECT_EQ(d.textAlign, c.align) << testing::PrintToString(std::wstring(c.word));
        EXPECT_EQ(d.textColor, RGB(1, 2, 3));
        EXPECT_EQ(d.cursorTextColor, RGB(0xFF, 0, 0));
        EXPECT_EQ(d.cursorBackgroundColor, d.backgroundColor);
    }
    EXPECT_FALSE(Layered()); // alpha 0 changes nothing
}

// Cut to its low byte, 256 gave an invisible popup that still held the keyboard: every value
// outside 0..255 leaves the popup opaque, as 0 does.
TEST_F(DesignWindow, AlphaOutsideTheByteRangeLeavesThePopupOpaque) {
    for (const wchar_t* value : {L"256", L"384", L"-1", L"-255", L"65536"}) {
        WriteTextFile(file, std::wstring(L"[Window]\r\nalpha=") + value + L"\r\n");
        mw::Design d;
        mw::LoadDesign(window_.get(), file, d);
        EXPECT_FALSE(Layered()) << testing::PrintToString(std::wstring(value));
    }
    EXPECT_EQ(mw::OpacityFromAlpha(1), 1);
    EXPECT_EQ(mw::OpacityFromAlpha(255), 255);
}

TEST(LoadDesign, WithoutWindowOnlyReadsValues) {
    TempDir dir;
    const std::wstring file = dir.file(L"design.ini");
    WriteTextFile(file, L"[Window]\r\nalpha=100\r\ndrop_shadow=1\r\n[Item]\r\nicon-size=16\r\n");
    mw::Design d;
    mw::LoadDesign(nullptr, file, d);
    EXPECT_EQ(d.iconSize, 16);
}

// An absurd icon size used to stall start-up for minutes inside the icon functions; it is cut to
// the largest icon the system makes, and a negative one to 0. Other sizes stay as read.
TEST(LoadDesign, IconSizeIsCutToTheRangeOfRealIcons) {
    TempDir dir;
    const std::wstring file = dir.file(L"design.ini");
    const struct {
        const wchar_t* text;
        int size;
    } cases[] = {{L"469762049", 256}, {L"257", 256}, {L"256", 256},
                 {L"0", 0},           {L"-5", 0},    {L"-2147483648", 0}};
    for (const auto& c : cases) {
        WriteTextFile(file,
                      std::wstring(L"[Item]\r\nicon-size=") + c.text + L"\r\nthumbnail-size=100000\r\n");
        mw::Design d;
        mw::LoadDesign(nullptr, file, d);
        EXPECT_EQ(d.iconSize, c.size) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(d.thumbnailSize, 100000);
    }
}

} // namespace

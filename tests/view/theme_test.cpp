#include "view/theme.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using namespace mw;

TEST(Theme, DarkFillsWhatTheFileLeavesOutHighContrastTakesAllAndFollowThemeOffKeepsTheFile) {
    test::TempDir dir;
    const std::wstring file = dir.file(L"design.ini");
    test::WriteTextFile(file, L"[Item]\r\ntext-color=#00FF00\r\n[Window]\r\ncorners=Square\r\n");
    Design written;
    ReadDesign(file, written);
    EXPECT_EQ(written.colorsSet, unsigned{kSetText});
    EXPECT_EQ(written.corners, kCornersSquare);

    ThemeFacts dark;
    dark.appsUseLightTheme = false;
    ThemeFacts contrast;
    contrast.highContrast = true;
    contrast.window = RGB(0, 0, 0);
    contrast.windowText = RGB(0xFF, 0xFF, 0);
    contrast.highlight = RGB(0, 0xFF, 0xFF);
    contrast.highlightText = RGB(1, 2, 3);
    const struct {
        const char* name;
        ThemeFacts facts;
        bool follow;
        COLORREF background, text, cursorBackground, cursorText, cursorFrame;
    } rows[] = {
        {"light", ThemeFacts{}, true, RGB(0xFF, 0xFF, 0xFF), RGB(0, 0xFF, 0), RGB(0xFF, 0xFF, 0xFF),
         RGB(0, 0xFF, 0), RGB(0xFF, 0x81, 0x19)},
        {"dark", dark, true, DarkColors::background, RGB(0, 0xFF, 0), DarkColors::background, RGB(0, 0xFF, 0),
         RGB(0xFF, 0x81, 0x19)},
        {"high contrast", contrast, true, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0), RGB(0, 0xFF, 0xFF), RGB(1, 2, 3),
         RGB(0, 0xFF, 0xFF)},
        {"dark, not followed", dark, false, RGB(0xFF, 0xFF, 0xFF), RGB(0, 0xFF, 0), RGB(0xFF, 0xFF, 0xFF),
         RGB(0, 0xFF, 0), RGB(0xFF, 0x81, 0x19)},
        {"contrast, not followed", contrast, false, RGB(0xFF, 0xFF, 0xFF), RGB(0, 0xFF, 0),
         RGB(0xFF, 0xFF, 0xFF), RGB(0, 0xFF, 0), RGB(0xFF, 0x81, 0x19)},
    };
    for (const auto& r : rows) {
        const Design d = ThemedDesign(written, r.facts, r.follow);
        EXPECT_EQ(d.backgroundColor, r.background) << r.name;
        EXPECT_EQ(d.textColor, r.text) << r.name;
        EXPECT_EQ(d.cursorBackgroundColor, r.cursorBackground) << r.name;
        EXPECT_EQ(d.cursorTextColor, r.cursorText) << r.name;
        EXPECT_EQ(d.cursorFrameColor, r.cursorFrame) << r.name;
    }
}

TEST(Theme, TheSystemIsReadThroughTheReadersAndCornersAreAskedForOnce) {
    ThemeReaders readers;
    readers.appsUseLightTheme = [] { return false; };
    readers.highContrast = [] { return true; };
    readers.sysColor = [](int index) { return static_cast<COLORREF>(index * 10); };
    const ThemeFacts facts = ReadThemeFacts(readers);
    EXPECT_FALSE(facts.appsUseLightTheme);
    EXPECT_TRUE(facts.highContrast);
    EXPECT_EQ(facts.highlightText, static_cast<COLORREF>(COLOR_HIGHLIGHTTEXT * 10));

    static DWORD attribute;
    static int value;
    attribute = 0;
    value = -1;
    auto recorder = [](HWND, DWORD a, LPCVOID v, DWORD size) -> HRESULT {
        attribute = a;
        value = size == sizeof(int) ? *static_cast<const int*>(v) : -2;
        return S_OK;
    };
    EXPECT_EQ(ApplyCornerPreference(GetDesktopWindow(), kCornersSmall, recorder), S_OK);
    EXPECT_EQ(attribute, 33u);
    EXPECT_EQ(value, kCornersSmall);
    // Wine's dwmapi may not know the attribute: asking must still be harmless.
    ApplyCornerPreference(GetDesktopWindow(), kCornersRound);

    const wchar_t area[] = L"ImmersiveColorSet";
    EXPECT_TRUE(IsThemeChange(WM_SETTINGCHANGE, reinterpret_cast<LPARAM>(area)));
    EXPECT_FALSE(IsThemeChange(WM_SETTINGCHANGE, 0));
}

} // namespace

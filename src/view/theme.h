// The popup dressed like Windows: the colours it uses under the user's theme (dark apps, high
// contrast) and the corners it asks Windows 11 for.
#pragma once

#include <windows.h>

#include "settings/design_file.h"

namespace mw {

// What the system says about the theme.
struct ThemeFacts {
    bool appsUseLightTheme = true;
    bool highContrast = false;
    // The high-contrast scheme's colours: COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
    // COLOR_HIGHLIGHTTEXT.
    COLORREF window = RGB(0xFF, 0xFF, 0xFF);
    COLORREF windowText = RGB(0, 0, 0);
    COLORREF highlight = RGB(0, 0x78, 0xD7);
    COLORREF highlightText = RGB(0xFF, 0xFF, 0xFF);
};

// The colours of the popup when Windows' apps use the dark theme and design.ini does not say.
struct DarkColors {
    static constexpr COLORREF background = RGB(0x20, 0x20, 0x20);
    static constexpr COLORREF text = RGB(0xF2, 0xF2, 0xF2);
    static constexpr COLORREF separator = RGB(0x5C, 0x5C, 0x5C);
    static constexpr COLORREF frame = RGB(0x4A, 0x4A, 0x4A);
};

// The design the popup is drawn with. Without followTheme: exactly the written design. With high
// contrast on: the system's colours whatever design.ini says (window and text for the list, the
// highlight pair for the selection). Under the dark apps theme: the dark colours for every colour
// design.ini leaves out (a selection colour left out follows the list's). Otherwise as written.
Design ThemedDesign(const Design& written, const ThemeFacts& facts, bool followTheme);

// How the theme is read from the system; tests hand in their own readers.
struct ThemeReaders {
    // AppsUseLightTheme of HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize;
    // true where it is missing (Windows before 10, or never changed).
    bool (*appsUseLightTheme)() = nullptr;
    bool (*highContrast)() = nullptr;          // SPI_GETHIGHCONTRAST's HCF_HIGHCONTRASTON
    COLORREF (*sysColor)(int index) = nullptr; // GetSysColor
};

// Reads the theme through `readers`; a null reader is the system's own.
ThemeFacts ReadThemeFacts(const ThemeReaders& readers = ThemeReaders{});

// Whether a WM_SETTINGCHANGE is the change of the colour theme ("ImmersiveColorSet" in lParam).
bool IsThemeChange(UINT message, LPARAM lParam);

// DwmSetWindowAttribute's shape, for the corner preference.
using SetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// Asks for the design's corners (DWMWA_WINDOW_CORNER_PREFERENCE) through `set`, or through
// dwmapi's DwmSetWindowAttribute looked up at run time when `set` is null. Where the system has
// no such attribute (before Windows 11, or no dwmapi at all) nothing happens. Returns what the
// call answered, S_FALSE when there was nothing to call.
HRESULT ApplyCornerPreference(HWND window, int corners, SetWindowAttributeFn set = nullptr);

} // namespace mw

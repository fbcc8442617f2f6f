#include "view/theme.h"

#include "platform/log.h"
#include "platform/system_library.h"

namespace mw {

namespace {

constexpr DWORD kWindowCornerPreference = 33; // DWMWA_WINDOW_CORNER_PREFERENCE, Windows 11

bool SystemAppsUseLightTheme() {
    DWORD value = 1;
    DWORD size = sizeof value;
    const LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return status != ERROR_SUCCESS || value != 0;
}

bool SystemHighContrast() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) {
        LogError(L"SystemParametersInfo(SPI_GETHIGHCONTRAST)", GetLastError());
        return false;
    }
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF SystemColor(int index) {
    return GetSysColor(index);
}

SetWindowAttributeFn LookUpSetWindowAttribute() {
    // Loaded once and kept: the popup is styled again whenever the design is applied.
    static HMODULE dwmapi = LoadSystemLibrary(L"dwmapi.dll");
    return dwmapi ? reinterpret_cast<SetWindowAttributeFn>(
                        reinterpret_cast<void*>(GetProcAddress(dwmapi, "DwmSetWindowAttribute")))
                  : nullptr;
}

} // namespace

Design ThemedDesign(const Design& written, const ThemeFacts& facts, bool followTheme) {
    Design d = written;
    if (!followTheme)
        return d;
    if (facts.highContrast) {
        d.backgroundColor = facts.window;
        d.textColor = d.separatorColor = d.frameColor = facts.windowText;
        d.cursorFrameColor = d.cursorBackgroundColor = facts.highlight;
        d.cursorTextColor = facts.highlightText;
        return d;
    }
    if (facts.appsUseLightTheme)
        return d;
    const unsigned set = written.colorsSet;
    if (!(set & kSetBackground))
        d.backgroundColor = DarkColors::background;
    if (!(set & kSetText))
        d.textColor = DarkColors::text;
    if (!(set & kSetSeparator))
        d.separatorColor = DarkColors::separator;
    if (!(set & kSetFrame))
        d.frameColor = DarkColors::frame;
    // The orange outline reads well on dark too; a selection without colours of its own keeps
    // following the list's.
    if (!(set & kSetCursorText))
        d.cursorTextColor = d.textColor;
    if (!(set & kSetCursorBackground))
        d.cursorBackgroundColor = d.backgroundColor;
    return d;
}

ThemeFacts ReadThemeFacts(const ThemeReaders& readers) {
    ThemeFacts facts;
    facts.appsUseLightTheme =
        (readers.appsUseLightTheme ? readers.appsUseLightTheme : SystemAppsUseLightTheme)();
    facts.highContrast = (readers.highContrast ? readers.highContrast : SystemHighContrast)();
    COLORREF (*color)(int) = readers.sysColor ? readers.sysColor : SystemColor;
    facts.window = color(COLOR_WINDOW);
    facts.windowText = color(COLOR_WINDOWTEXT);
    facts.highlight = color(COLOR_HIGHLIGHT);
    facts.highlightText = color(COLOR_HIGHLIGHTTEXT);
    return facts;
}

bool IsThemeChange(UINT message, LPARAM lParam) {
    const wchar_t* area = reinterpret_cast<const wchar_t*>(lParam);
    return message == WM_SETTINGCHANGE && area &&
           CompareStringOrdinal(area, -1, L"ImmersiveColorSet", -1, FALSE) == CSTR_EQUAL;
}

HRESULT ApplyCornerPreference(HWND window, int corners, SetWindowAttributeFn set) {
    if (!set)
        set = LookUpSetWindowAttribute();
    if (!set || !window)
        return S_FALSE;
    const int value = corners;
    const HRESULT result = set(window, kWindowCornerPreference, &value, sizeof value);
    // Windows 10 answers E_INVALIDARG for an attribute it does not know: nothing to tell.
    if (FAILED(result) && result != E_INVALIDARG)
        Log(L"DwmSetWindowAttribute(corner preference) failed: 0x%08lX", static_cast<unsigned long>(result));
    return result;
}

} // namespace mw

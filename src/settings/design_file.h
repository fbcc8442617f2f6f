// Reading design.ini: the popup's colours, spacing and sizes, and the main window's shadow and
// opacity.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

// The colours of the design, as bits of Design::colorsSet: which ones design.ini wrote itself.
enum DesignColorBit : unsigned {
    kSetBackground = 1u << 0,
    kSetText = 1u << 1,
    kSetSeparator = 1u << 2,
    kSetCursorFrame = 1u << 3,
    kSetFrame = 1u << 4,
    kSetCursorText = 1u << 5,       // a colour, not "transparent"
    kSetCursorBackground = 1u << 6, // likewise
};

// The corners the popup asks Windows 11 for (the values of DWM_WINDOW_CORNER_PREFERENCE).
enum CornerPreference : int { kCornersSystem = 0, kCornersSquare = 1, kCornersRound = 2, kCornersSmall = 3 };

// Fields in the order the file is read. Colours are COLORREF (red in the lowest byte).
struct Design {
    COLORREF backgroundColor = RGB(0xFF, 0xFF, 0xFF);
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF separatorColor = RGB(0, 0, 0);
    COLORREF cursorFrameColor = RGB(0xFF, 0x81, 0x19);
    COLORREF frameColor = RGB(0x3C, 0x3C, 0x3C);
    COLORREF cursorTextColor = RGB(0, 0, 0);
    COLORREF cursorBackgroundColor = RGB(0xFF, 0xFF, 0xFF);
    int cursorTextBold = 0;
    int windowSpace = 12;
    int itemSpace = 4;
    int textMaxWidth = 500;
    int textWidth = -1;
    int thumbnail = 0;
    int thumbnailSize = 100;
    int thumbnailOverlay = 1;
    int iconSize = 32;
    int textAlign = 1;           // DT_LEFT 0, DT_CENTER 1, DT_RIGHT 2
    unsigned colorsSet = 0;      // DesignColorBit of the colours design.ini gives
    int corners = kCornersRound; // "corners" of "Window"
};

// The word of "corners": "system", "square", "small"; anything else (and "round") round.
int CornersFromWord(const std::wstring& word);

// Converts a colour text "#RRGGBB". Only the first seven characters count; they are upper-cased;
// the first is skipped (by convention "#"); each following pair is two hexadecimal digits. A digit
// is its character code minus that of "0", "A" to "F" being 10 to 15, and every pair is taken
// modulo 256, so stray characters still give some colour rather than none. Digits missing from a
// short value count as 0; nothing past the value's end is read. Null reads as "".
COLORREF ColorFromText(const wchar_t* text);

// Reads section/key of the design file (defaultText when missing) and converts it.
COLORREF ParseDesignColor(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText,
                          const std::wstring& file);

// "design.ini" in the executable's folder.
std::wstring DesignPathForExe(const std::wstring& exePath);

// The largest icon the system makes. An "icon-size" above it (or below 0) is cut to the range:
// asking the icon functions for an icon of a million pixels square stalls start-up for minutes.
constexpr int kMaxIconSize = 256;

// The design's "alpha" as the window gets it: 1 to 255 is a constant opacity (255 opaque); 0 and
// every value outside 0..255 leave the window opaque (not layered).
int OpacityFromAlpha(int alpha);

// What design.ini says about the main window itself.
struct DesignWindowStyle {
    int dropShadow = 0; // 1: the window class gets a drop shadow
    int alpha = 0;      // see OpacityFromAlpha
};

// Fills `out` from the design file (every missing value gets its default) and returns what it
// says about the main window.
DesignWindowStyle ReadDesign(const std::wstring& designPath, Design& out);

} // namespace mw

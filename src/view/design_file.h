// Reading design.ini (the popup's colours, spacing and sizes) and styling the main window by it.
#pragma once

#include <windows.h>

#include <string>

#include "view/design.h"

namespace mw {

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

// Fills `out` from the design file (every missing value gets its default) and styles the main
// window: the drop shadow on its window class, the constant opacity on the window. With a null
// window only the values are read.
void LoadDesign(HWND mainWindow, const std::wstring& designPath, Design& out);

} // namespace mw

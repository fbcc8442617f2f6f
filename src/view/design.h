// The look of the popup, read once at start-up from design.ini beside the executable.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

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
    int textAlign = 1; // DT_LEFT 0, DT_CENTER 1, DT_RIGHT 2
};

// The process-wide design. Tests may assign a fresh Design{} to reset it.
Design& CurrentDesign();

// The design for a monitor of `dpi`: its sizes (window and item spaces, text widths, icon and
// thumbnail sizes), which design.ini gives for 96 DPI, in pixels of that DPI; colours and
// switches unchanged. A text width of 0 or less keeps its meaning (no fixed column). At 96 DPI the
// design itself, to the pixel.
Design DesignForDpi(const Design& design, UINT dpi);

} // namespace mw

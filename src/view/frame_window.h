// The full-screen frame overlay of the frame preview: while only the selected window is shown,
// every other listed window is marked by a translucent white veil with a bright edge and a dark
// shadow line, on a click-through layered window at the bottom of the window order.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/item_list.h"
#include "platform/dpi.h"
#include "platform/unique_handle.h"

namespace mw {

constexpr wchar_t FrameWindowClass[] = L"WndFrame";

// Marker colours drawn first and turned into opacity afterwards (keyed on the blue channel).
constexpr COLORREF FrameVeilColor = RGB(0xFF, 0xFF, 0xFF);  // opacity 51
constexpr COLORREF FrameRing1Color = RGB(0xFE, 0xFE, 0xFE); // opacity 221, one pixel outside
constexpr COLORREF FrameRing2Color = RGB(0x02, 0x02, 0x02); // opacity 119, two pixels outside
constexpr COLORREF FrameRing3Color = RGB(0x03, 0x03, 0x03); // opacity 51, three pixels outside

// A 32-bit top-down DIB section and its pixels (0xAARRGGBB words, row after row).
struct FramePicture {
    UniqueBitmap bitmap;
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A zeroed (fully transparent) 32-bit top-down DIB section; an empty picture on failure.
FramePicture CreateFramePicture(int width, int height);

// Hands a premultiplied picture to a layered window (per-pixel alpha, position unchanged).
void PresentLayeredPicture(HWND window, const FramePicture& picture, int width, int height);

// Turns the marker colours into opacity and premultiplies: black becomes fully transparent; blue
// 255 or 3 gives opacity 51, 254 gives 221, 2 gives 119; any other blue keeps its opacity byte.
// Every colour channel is then multiplied by the opacity and divided by 255, truncating.
void ConvertFrameOpacity(uint32_t* pixels, size_t count);

// Draws the veils of all rectangles, then the three rings around each one (so the rings of a
// later window cross an earlier window's veil), into `picture`, then converts the opacity.
// Each ring is one pixel wide at 96 DPI and scales with `dpi`. Works on any DIB; needs no screen.
void RenderFramePicture(FramePicture& picture, const std::vector<RECT>& frames, UINT dpi = kDefaultDpi);

// Screen rectangles in the coordinates of a picture whose top-left pixel lies at `origin` on the
// screen (the virtual screen's origin, negative when a monitor lies left of or above the primary).
std::vector<RECT> ToPictureCoordinates(std::vector<RECT> frames, POINT origin);

// The overlay rectangle of a window from its placement. `workArea` is the work area of the
// monitor the window sits on, in screen coordinates (a maximised window's rectangle is its
// maximised position inset by 5 pixels, reaching to 5 pixels short of the work area's right and
// bottom edges). `workspaceOffset` converts the placement's workspace coordinates to screen
// coordinates: the offset of the work area from that monitor's corner.
RECT FrameRectFromPlacement(const WINDOWPLACEMENT& placement, int showState, const RECT& workArea,
                            POINT workspaceOffset);

// The overlay rectangle of a window in `showState`: where the compositor draws its frame
// (`visibleFrame`, null when it did not tell) unless it is minimised; otherwise, and for a
// minimised window, FrameRectFromPlacement.
RECT FrameRectForState(const WINDOWPLACEMENT& placement, int showState, const RECT& workArea,
                       POINT workspaceOffset, const RECT* visibleFrame);

// The part of `screen` the overlay picture needs: the union of the frames, each grown by
// `margin` (its rings) and cut to the screen; empty when no frame shows.
RECT FramePictureBounds(const std::vector<RECT>& frames, int margin, const RECT& screen);

// The overlay rectangle of a listed window in screen coordinates; false when its placement
// cannot be read (for example because it was closed after the list was built).
bool FrameRectOfWindow(HWND window, int showState, RECT* out);

// What the overlay is drawn from: passed as its creation parameter and read only during
// WM_CREATE.
struct FrameWindowCreation {
    const ItemList* popupList = nullptr;
    UINT dpi = kDefaultDpi; // the DPI of the monitor the popup opens on
};

// Window procedure of class "WndFrame". WM_CREATE draws the picture once from the creation
// parameter (a FrameWindowCreation*) over the part of the virtual screen the frames cover and
// hands it to the layered window, placed there; WM_DPICHANGED is ignored (the picture is in
// physical pixels and placed by us); everything else is default.
LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the overlay over the virtual screen and puts it at the bottom of the window order.
// One window covers every monitor: a frame that straddles two monitors is drawn in one piece, and
// the selection step re-stacks one window. The class must be registered. Null when the window
// cannot be created.
HWND CreateFrameWindow(HINSTANCE instance, const ItemList* popupList, UINT dpi = kDefaultDpi);

} // namespace mw

// The icon window of thumbnail mode: a click-through, topmost layered window that covers the
// popup exactly and shows each listed window's 32x32 icon (at 96 DPI; scaled with the popup's
// DPI) over the bottom-right corner of its live thumbnail; transparent everywhere else.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/item_list.h"
#include "view/design.h"
#include "view/frame_window.h"
#include "view/layout.h"

namespace mw {

constexpr wchar_t IconWindowClass[] = L"IconWnd";
constexpr int OverlayIconSize = 32;

// What the icon window needs to place the icons: passed as its creation parameter. The window
// reads it only during WM_CREATE, so a record on the caller's stack will do.
struct IconWindowCreation {
    const ItemList* popupList = nullptr;
    SelectionState state;
    Design design;
    bool desktopRow = false;
    int screenWidth = 0; // primary screen, for the thumbnail boxes' inset
    int screenHeight = 0;
    int iconPixels = OverlayIconSize; // the icon size at the popup's DPI
};

// One icon to draw at a top-left corner of the picture.
struct PlacedIcon {
    POINT at;
    HICON icon;
};

// Top-left corner of window entry `index`'s icon: the bottom-right `iconPixels` square of its
// thumbnail box.
POINT OverlayIconPosition(int index, const SelectionState& state, const Design& design, bool desktopRow,
                          int screenWidth, int screenHeight, int iconPixels = OverlayIconSize);

// From the same pixels drawn once over black and once over white, the premultiplied pixel with
// its own opacity: over black a pixel is c·a, over white c·a + 255·(1 − a). Works alike for icons
// with an alpha channel and for old icons with a mask.
void AlphaFromBlackAndWhite(const uint32_t* overBlack, const uint32_t* overWhite, uint32_t* out,
                            size_t count);

// Draws each icon at `size` x `size` into `picture` (which the caller zeroed), premultiplied, with
// the icon's own opacity; the pixels it does not cover stay as they were. Needs no screen.
void RenderIconPicture(FramePicture& picture, const std::vector<PlacedIcon>& icons,
                       int size = OverlayIconSize);

// The whole picture of the icon window: `width` x `height`, transparent, with the icon of every
// window entry of the creation record's list found by the size-32 sources (the window's big
// icon, its class icon, the same of its owner, its program's file icon) at its thumbnail box.
FramePicture RenderIconWindowPicture(const IconWindowCreation& creation, int width, int height);

// Window procedure of class "IconWnd". WM_CREATE sizes the window to its owner (the popup),
// draws the icons once from the IconWindowCreation creation parameter and hands the picture to
// the layered window; WM_DPICHANGED is ignored (it follows the popup, which we size ourselves);
// everything else is default.
LRESULT CALLBACK IconWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the icon window over `popup` (its owner); the class must be registered. `design` is the
// popup's design at `dpi` (DesignForDpi). The screen size for the thumbnail boxes is read here.
// Null when it cannot be created.
HWND CreateIconWindow(HINSTANCE instance, HWND popup, const ItemList* popupList, const SelectionState& state,
                      const Design& design, bool desktopRow, UINT dpi = kDefaultDpi);

// Puts the icon window at the popup's current position (after the popup moved).
void MoveIconWindow(HWND iconWindow, HWND popup);

} // namespace mw

// Drawing of the popup: the whole list is rendered once per opening into an off-screen surface;
// every paint copies the surface and draws only the selection on top of the copy.
#pragma once

#include <windows.h>

#include "model/item_list.h"
#include "platform/unique_handle.h"
#include "view/design.h"
#include "view/layout.h"

namespace mw {

// The off-screen picture of the open popup: a memory DC with a bitmap of the popup's size
// selected into it. Release() deselects the bitmap, deletes the DC and then the bitmap; the
// destructor does the same.
struct PopupSurface {
    PopupSurface() = default;
    PopupSurface(const PopupSurface&) = delete;
    PopupSurface& operator=(const PopupSurface&) = delete;
    PopupSurface(PopupSurface&& other) noexcept;
    PopupSurface& operator=(PopupSurface&& other) noexcept;
    ~PopupSurface() { Release(); }

    void Release() noexcept;
    HDC dc() const noexcept { return dc_.get(); }
    HBITMAP bitmap() const noexcept { return bitmap_.get(); }
    explicit operator bool() const noexcept { return dc_ && bitmap_; }

    // Creates a DC and bitmap compatible with `reference` (the screen when null). False, and an
    // empty surface, when either cannot be made.
    bool Create(HDC reference, int w, int h);

    int width = 0;
    int height = 0;

  private:
    // Declared before the DC so that, even without Release(), the DC goes first.
    UniqueBitmap bitmap_;
    UniqueMemDc dc_;
    HGDIOBJ previousBitmap_ = nullptr;
};

// The list font: the system's message font, bold on request.
UniqueFont CreateListFont(bool bold);

// DrawText flags for every entry text.
UINT EntryTextFlags(const Design& design);

// Renders border, background, icons, texts and separators into `out`, sized to the popup.
// `window` lends its DC for measuring (the screen when null). Yields the text column width.
int RenderPopup(HWND window, const ItemList& windows, const LauncherList& launchers, const ItemList& commands,
                const Design& design, bool desktopRow, PopupSurface& out);

// The colour of the separator pixel at x for a line from design.windowSpace to endX (exclusive):
// fades in from the background over 32 pixels and back out over the last 31.
COLORREF SeparatorPixelColor(const Design& design, int endX, int x);
// Draws one separator line at y from design.windowSpace up to endX (exclusive).
void DrawSeparator(HDC dc, const Design& design, int endX, int y);

// Draws the selection on a copy of the surface: refill and redraw of the selected entry when the
// cursor colours differ from the list's, then the two-pixel outline with cut corners.
void PaintSelection(HDC dc, const SelectionState& state, const Design& design, bool desktopRow,
                    const ItemList& windows, const LauncherList& launchers, const ItemList& commands);

} // namespace mw

// Drawing of the popup: the whole list is rendered once per opening into an off-screen surface;
// every paint copies the surface and draws only the selection on top of the copy.
#pragma once

#include <windows.h>

#include <string>

#include "model/item_list.h"
#include "platform/dpi.h"
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

// The list font: the system's message font for a monitor of `dpi`, bold on request. A DPI of 0
// gives the font of the system DPI.
// `dpiApi` tells the system's font for another DPI than the system's; without its functions the
// system DPI's font is scaled (the same holds for the functions below that take it).
UniqueFont CreateListFont(bool bold, UINT dpi = 0, const DpiApi& dpiApi = {});

// DrawText flags for every entry text and the header line: one line, centred vertically, cut
// with an ellipsis, ampersands drawn as they are.
UINT EntryTextFlags(const Design& design);

// Renders border, background, icons, texts and separators into `out`, sized to the popup.
// `window` lends its DC for measuring (the screen when null). Yields the text column width.
// For a monitor of another DPI than 96, `design` is DesignForDpi of the file's design and `dpi`
// that DPI, which chooses the font; 0 draws with the font of the system DPI. A non-empty `header`
// (how a narrowed list is narrowed) is drawn on a line of its own above the list.
int RenderPopup(HWND window, const ItemList& windows, const LauncherList& launchers, const ItemList& commands,
                const Design& design, bool desktopRow, PopupSurface& out, UINT dpi = 0,
                const DpiApi& dpiApi = {}, const std::wstring& header = std::wstring());

// The colour of the separator pixel at x for a line from design.windowSpace to endX (exclusive):
// fades in from the background over 32 pixels and back out over the last 31.
COLORREF SeparatorPixelColor(const Design& design, int endX, int x);
// Draws one separator line at y from design.windowSpace up to endX (exclusive).
void DrawSeparator(HDC dc, const Design& design, int endX, int y);

// The frames of the selection outline around entry rectangle `r`, innermost first: at 96 DPI
// (and for dpi 0) two one-pixel frames, (left − 2, top + 1, right + 2, bottom − 1) and one pixel
// further out sideways and in vertically, which together draw a two-pixel outline with cut
// corners; at other DPIs the offsets and the thickness scale with the DPI. Yields the count.
int SelectionOutlineFrames(const RECT& r, UINT dpi, RECT* frames, int capacity);

// What drawing the selection needs, made once per open (for one design and DPI) rather than on
// every paint: the font of the selected entry and the two brushes.
struct SelectionTools {
    UniqueFont font;
    UniqueBrush background;
    UniqueBrush frame;
};
SelectionTools MakeSelectionTools(const Design& design, UINT dpi, const DpiApi& dpiApi = {});

// Draws the selection on a copy of the surface: refill and redraw of the selected entry when the
// cursor colours differ from the list's, then the two-pixel outline with cut corners. `design`
// and `dpi` as for RenderPopup. Without `tools` they are made for this call.
void PaintSelection(HDC dc, const SelectionState& state, const Design& design, bool desktopRow,
                    const ItemList& windows, const LauncherList& launchers, const ItemList& commands,
                    UINT dpi = 0, const SelectionTools* tools = nullptr, const DpiApi& dpiApi = {});

} // namespace mw

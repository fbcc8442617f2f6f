#include "view/render.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "platform/dpi.h"

namespace mw {

// ---- surface --------------------------------------------------------------------------------

PopupSurface::PopupSurface(PopupSurface&& other) noexcept
    : width(other.width), height(other.height), bitmap_(std::move(other.bitmap_)), dc_(std::move(other.dc_)),
      previousBitmap_(std::exchange(other.previousBitmap_, nullptr)) {
    other.width = other.height = 0;
}

PopupSurface& PopupSurface::operator=(PopupSurface&& other) noexcept {
    if (this != &other) {
        Release();
        width = std::exchange(other.width, 0);
        height = std::exchange(other.height, 0);
        bitmap_ = std::move(other.bitmap_);
        dc_ = std::move(other.dc_);
        previousBitmap_ = std::exchange(other.previousBitmap_, nullptr);
    }
    return *this;
}

void PopupSurface::Release() noexcept {
    // A bitmap still selected into a DC must not be deleted: put the DC's own one back first.
    if (dc_ && previousBitmap_)
        SelectObject(dc_.get(), previousBitmap_);
    previousBitmap_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    width = height = 0;
}

bool PopupSurface::Create(HDC reference, int w, int h) {
    Release();
    if (w <= 0 || h <= 0)
        return false;
    std::optional<WindowDc> screenDc;
    if (!reference)
        screenDc.emplace(nullptr);
    HDC screen = reference ? reference : screenDc->get();
    UniqueMemDc dc(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, w, h));
    screenDc.reset();
    if (!dc || !bitmap)
        return false;
    previousBitmap_ = SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    width = w;
    height = h;
    return true;
}

// ---- fonts and text ---------------------------------------------------------------------------

UniqueFont CreateListFont(bool bold, UINT dpi, const DpiApi& dpiApi) {
    LOGFONTW font = MessageFontForDpi(dpiApi, dpi ? dpi : SystemDpi());
    if (bold)
        font.lfWeight = FW_BOLD;
    return UniqueFont(CreateFontIndirectW(&font));
}

UINT EntryTextFlags(const Design& design) {
    // textAlign holds DT_LEFT, DT_CENTER or DT_RIGHT; anything else would smuggle other flags in.
    UINT align = design.textAlign == DT_LEFT || design.textAlign == DT_RIGHT
                     ? static_cast<UINT>(design.textAlign)
                     : DT_CENTER;
    // Titles are shown as they are: "AT&T" keeps its ampersand instead of underlining the "T",
    // and the text is drawn as wide as it was measured.
    return align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
}

namespace {

void DrawEntryText(HDC dc, const std::wstring& text, RECT box, UINT flags) {
    if (text.empty())
        return;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags);
}

void DrawEntryIcon(HDC dc, HICON icon, POINT at, int size) {
    if (icon)
        DrawIconEx(dc, at.x, at.y, icon, size, size, 0, nullptr, DI_NORMAL);
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.get());
}

int UsedCount(int count) {
    return std::clamp(count, 0, ListCapacity);
}

int TextWidth(HDC dc, const std::wstring& text) {
    if (text.empty())
        return 0;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

SelectionState StateFor(const ItemList& windows, const LauncherList& launchers, const ItemList& commands,
                        int textColumnWidth) {
    SelectionState state;
    state.windowCount = UsedCount(windows.count);
    state.launcherCount = UsedCount(launchers.count);
    state.commandCount = UsedCount(commands.count);
    state.textColumnWidth = textColumnWidth;
    return state;
}

} // namespace

// ---- the whole popup --------------------------------------------------------------------------

int RenderPopup(HWND window, const ItemList& windows, const LauncherList& launchers, const ItemList& commands,
                const Design& design, bool desktopRow, PopupSurface& out, UINT dpi, const DpiApi& dpiApi,
                const std::wstring& header) {
    SelectionState state = StateFor(windows, launchers, commands, 0);
    state.headerHeight = header.empty() ? 0 : HeaderHeight(design);

    // 1. Measure every text with the list font; the widest decides the column.
    int widest = 0;
    {
        WindowDc measureDc(window);
        UniqueFont font = CreateListFont(false, dpi, dpiApi);
        SelectGuard selectFont(measureDc.get(), font.get());
        for (int i = 0; i < state.windowCount; ++i)
            widest = std::max(widest, TextWidth(measureDc.get(), windows.slots[i].name));
        for (int i = 0; i < state.launcherCount; ++i)
            widest = std::max(widest, TextWidth(measureDc.get(), launchers.slots[i].name));
        for (int i = 0; i < state.commandCount; ++i)
            widest = std::max(widest, TextWidth(measureDc.get(), commands.slots[i].name));
        // The header's box spans the picture column too: it needs that much less of the text column.
        widest = std::max(widest, TextWidth(measureDc.get(), header) - PictureWidth(design));
    }
    // 2. A fixed column wins; otherwise the widest text, capped.
    const int column = design.textWidth > 0 ? design.textWidth : std::min(widest, design.textMaxWidth);
    state.textColumnWidth = column;

    // 3. Size, 4. surface.
    const SIZE size = PopupSize(state, design, desktopRow);
    if (!out.Create(nullptr, size.cx, size.cy)) {
        // Nothing to draw on (a design with negative spacing can make the popup empty); the size
        // is still reported so the caller sees what was asked for.
        out.width = size.cx;
        out.height = size.cy;
        return column;
    }
    HDC dc = out.dc();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, design.textColor);
    UniqueFont font = CreateListFont(false, dpi, dpiApi);
    SelectGuard selectFont(dc, font.get());

    // 5. Frame colour everywhere, background inside a one-pixel border.
    FillSolid(dc, RECT{0, 0, size.cx, size.cy}, design.frameColor);
    FillSolid(dc, RECT{1, 1, size.cx - 1, size.cy - 1}, design.backgroundColor);

    const UINT flags = EntryTextFlags(design);
    const int separatorEnd = size.cx - design.windowSpace;
    RECT row;
    RECT box;
    int y = 0;

    // How the list is narrowed, on a line of its own above it.
    if (GetHeaderTextBox(state, design, desktopRow, &box)) {
        DrawEntryText(dc, header, box, flags);
        if (HeaderSeparatorY(state, design, &y))
            DrawSeparator(dc, design, separatorEnd, y);
    }

    // 6. Window entries: in thumbnail mode the live thumbnail takes the icon's place.
    for (int i = 0; i < state.windowCount; ++i) {
        if (!GetEntryRect(state, design, desktopRow, SectionWindows, i, &row))
            continue;
        if (!design.thumbnail)
            DrawEntryIcon(dc, windows.slots[i].icon.get(), IconPosition(row, design), design.iconSize);
        GetTextBox(state, design, desktopRow, SectionWindows, i, &box);
        DrawEntryText(dc, windows.slots[i].name, box, flags);
    }
    // 7. Separator between windows and launcher entries.
    if (WindowLauncherSeparatorY(state, design, &y))
        DrawSeparator(dc, design, separatorEnd, y);
    // 8. Launcher entries always show their icon.
    for (int i = 0; i < state.launcherCount; ++i) {
        if (!GetEntryRect(state, design, desktopRow, SectionLauncher, i, &row))
            continue;
        DrawEntryIcon(dc, launchers.slots[i].icon.get(), IconPosition(row, design), design.iconSize);
        GetTextBox(state, design, desktopRow, SectionLauncher, i, &box);
        DrawEntryText(dc, launchers.slots[i].name, box, flags);
    }
    // 9. Separator before the commands, 10. the commands; the desktop row shows a thumbnail.
    if (CommandSeparatorY(state, design, &y))
        DrawSeparator(dc, design, separatorEnd, y);
    for (int i = 0; i < state.commandCount; ++i) {
        if (!GetEntryRect(state, design, desktopRow, SectionCommands, i, &row))
            continue;
        if (!IsDesktopRow(design, desktopRow, SectionCommands, i))
            DrawEntryIcon(dc, commands.slots[i].icon.get(), IconPosition(row, design), design.iconSize);
        GetTextBox(state, design, desktopRow, SectionCommands, i, &box);
        DrawEntryText(dc, commands.slots[i].name, box, flags);
    }
    // 11. The font guard and owner release here; the bitmap stays selected in the surface.
    return column;
}

// ---- separator --------------------------------------------------------------------------------

namespace {

int Channel(COLORREF c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

COLORREF FadeColor(const Design& design, int steps) {
    int channels[3];
    for (int k = 0; k < 3; ++k) {
        const int bg = Channel(design.backgroundColor, 8 * k);
        const int step = (Channel(design.separatorColor, 8 * k) - bg) / 32; // truncates toward zero
        channels[k] = (bg + step * steps) & 0xFF;
    }
    return RGB(channels[0], channels[1], channels[2]);
}

} // namespace

COLORREF SeparatorPixelColor(const Design& design, int endX, int x) {
    const int start = design.windowSpace;
    if (x < start + 32)
        return FadeColor(design, x - start + 1);
    // The fade-out runs over the pixels past endX − 32 and never before the fade-in has ended.
    const int fadeOutStart = std::max(start + 32, endX - 31);
    if (x >= fadeOutStart)
        return FadeColor(design, 32 - (x - fadeOutStart + 1));
    return design.separatorColor;
}

void DrawSeparator(HDC dc, const Design& design, int endX, int y) {
    if (design.windowSpace >= endX)
        return;
    UniquePen pen(CreatePen(PS_SOLID, 1, design.separatorColor));
    SelectGuard selectPen(dc, pen.get());
    const int start = design.windowSpace;
    for (int x = start; x < endX; ++x) {
        const bool fading = x < start + 32 || x > endX - 32;
        if (fading) {
            UniquePen fadePen(CreatePen(PS_SOLID, 1, SeparatorPixelColor(design, endX, x)));
            SelectGuard selectFade(dc, fadePen.get());
            MoveToEx(dc, x, y, nullptr);
            LineTo(dc, x, y + 1);
        } else {
            MoveToEx(dc, x, y, nullptr);
            LineTo(dc, x, y + 1);
        }
    }
}

// ---- selection --------------------------------------------------------------------------------

int SelectionOutlineFrames(const RECT& r, UINT dpi, RECT* frames, int capacity) {
    // ScaleForDpi takes a DPI of 0 as 96.
    const int thickness = ScaleForDpi(2, dpi);
    const int sideways = ScaleForDpi(2, dpi);
    const int inward = ScaleForDpi(1, dpi);
    int count = 0;
    for (int k = 0; k < thickness && count < capacity; ++k) {
        frames[count++] =
            RECT{r.left - sideways - k, r.top + inward + k, r.right + sideways + k, r.bottom - inward - k};
    }
    return count;
}

SelectionTools MakeSelectionTools(const Design& design, UINT dpi, const DpiApi& dpiApi) {
    SelectionTools tools;
    tools.font = CreateListFont(design.cursorTextBold == 1, dpi, dpiApi);
    tools.background.reset(CreateSolidBrush(design.cursorBackgroundColor));
    tools.frame.reset(CreateSolidBrush(design.cursorFrameColor));
    return tools;
}

void PaintSelection(HDC dc, const SelectionState& state, const Design& design, bool desktopRow,
                    const ItemList& windows, const LauncherList& launchers, const ItemList& commands,
                    UINT dpi, const SelectionTools* tools, const DpiApi& dpiApi) {
    RECT r;
    if (!GetCursorRect(state, design, desktopRow, &r))
        return; // no entry selected: nothing to show
    SelectionTools madeHere;
    if (!tools) {
        madeHere = MakeSelectionTools(design, dpi, dpiApi);
        tools = &madeHere;
    }

    if (design.cursorBackgroundColor != design.backgroundColor ||
        design.cursorTextColor != design.textColor) {
        const int one = ScaleForDpi(1, dpi);
        const RECT highlight{r.left - one, r.top + one, r.right + one, r.bottom - one};
        FillRect(dc, &highlight, tools->background.get());
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(dc, design.cursorTextColor);
        SelectGuard selectFont(dc, tools->font.get());

        // The same text box as the entry has unselected, so its text never moves when selected.
        RECT box{};
        GetTextBox(state, design, desktopRow, state.section, state.index, &box);
        const POINT iconAt = IconPosition(r, design);
        const ListItem* item = nullptr;
        const int i = state.index;
        switch (state.section) {
        case SectionWindows:
            if (i < UsedCount(windows.count))
                item = &windows.slots[i];
            if (item && !design.thumbnail)
                DrawEntryIcon(dc, item->icon.get(), iconAt, design.iconSize);
            break;
        case SectionLauncher:
            if (i < UsedCount(launchers.count))
                item = &launchers.slots[i];
            if (item)
                DrawEntryIcon(dc, item->icon.get(), iconAt, design.iconSize);
            break;
        case SectionCommands:
            if (i < UsedCount(commands.count))
                item = &commands.slots[i];
            if (item && !IsDesktopRow(design, desktopRow, SectionCommands, i))
                DrawEntryIcon(dc, item->icon.get(), iconAt, design.iconSize);
            break;
        }
        if (item)
            DrawEntryText(dc, item->name, box, EntryTextFlags(design));
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }

    // One-pixel frames, each one a pixel wider and shorter than the one inside it: an outline
    // whose corners are cut.
    RECT frames[16];
    const int count = SelectionOutlineFrames(r, dpi, frames, 16);
    for (int i = 0; i < count; ++i)
        FrameRect(dc, &frames[i], tools->frame.get());
}

} // namespace mw

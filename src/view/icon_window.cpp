#include "view/icon_window.h"

#include <algorithm>

#include "system/window_list.h"

namespace mw {

namespace {

// Draws the icon at the scratch picture's size over a uniform background into it.
bool DrawIconOver(HDC memory, FramePicture& scratch, HICON icon, uint32_t background) {
    const size_t count = static_cast<size_t>(scratch.width) * scratch.height;
    std::fill(scratch.pixels, scratch.pixels + count, background);
    SelectGuard select(memory, scratch.bitmap.get());
    BOOL drawn = DrawIconEx(memory, 0, 0, icon, scratch.width, scratch.height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    return drawn != FALSE;
}

// Lays a premultiplied pixel over another (source over).
uint32_t Over(uint32_t source, uint32_t destination) {
    uint32_t alpha = source >> 24;
    if (alpha == 255 || destination == 0)
        return source;
    uint32_t keep = 255 - alpha;
    uint32_t result = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        uint32_t s = (source >> shift) & 0xFF;
        uint32_t d = (destination >> shift) & 0xFF;
        result |= std::min<uint32_t>(255, s + d * keep / 255) << shift;
    }
    return result;
}

std::vector<PlacedIcon> CollectIcons(const IconWindowCreation& creation, std::vector<UniqueIcon>& owned) {
    std::vector<PlacedIcon> icons;
    const ItemList& list = *creation.popupList;
    for (int i = 0; i < list.count && i < ListCapacity; ++i) {
        const ListItem& item = list.slots[i];
        if (item.kind != KindWindow || !item.window)
            continue;
        // The size-32 sources in order: the window's big icon, its class icon, the same two of
        // its owner, and last the icon of its program's file, which we own and release. At
        // another DPI the icon is taken at the scaled size, so it stays sharp.
        bool ownedByCaller = false;
        HICON icon = WindowIcon(item.window, OverlayIconSize, &ownedByCaller, creation.iconPixels);
        if (!icon)
            continue;
        if (ownedByCaller)
            owned.emplace_back(icon);
        icons.push_back(
            {OverlayIconPosition(i, creation.state, creation.design, creation.desktopRow,
                                 creation.screenWidth, creation.screenHeight, creation.iconPixels),
             icon});
    }
    return icons;
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
    const auto* creation = static_cast<const IconWindowCreation*>(create->lpCreateParams);
    RECT popup{};
    if (!creation || !creation->popupList || !create->hwndParent ||
        !GetWindowRect(create->hwndParent, &popup)) {
        return 0;
    }
    int width = popup.right - popup.left;
    int height = popup.bottom - popup.top;
    SetWindowPos(hwnd, nullptr, popup.left, popup.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    FramePicture picture = RenderIconWindowPicture(*creation, width, height);
    if (!picture.pixels)
        return 0;
    PresentLayeredPicture(hwnd, picture, width, height);
    return 0;
}

} // namespace

POINT OverlayIconPosition(int index, const SelectionState& state, const Design& design, bool desktopRow,
                          int screenWidth, int screenHeight, int iconPixels) {
    RECT box = GetThumbnailRect(index, state, design, desktopRow, screenWidth, screenHeight);
    return POINT{box.right - iconPixels, box.bottom - iconPixels};
}

void AlphaFromBlackAndWhite(const uint32_t* overBlack, const uint32_t* overWhite, uint32_t* out,
                            size_t count) {
    for (size_t i = 0; i < count; ++i) {
        int difference = 0;
        int black[3];
        for (int c = 0; c < 3; ++c) {
            black[c] = static_cast<int>((overBlack[i] >> (8 * c)) & 0xFF);
            int white = static_cast<int>((overWhite[i] >> (8 * c)) & 0xFF);
            difference += std::max(0, white - black[c]);
        }
        // 255·(1 − a) in every channel; the mean evens out rounding in the drawing.
        int alpha = 255 - (difference + 1) / 3;
        alpha = std::clamp(alpha, 0, 255);
        uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
        for (int c = 0; c < 3; ++c)
            pixel |= static_cast<uint32_t>(std::min(black[c], alpha)) << (8 * c);
        out[i] = alpha == 0 ? 0 : pixel;
    }
}

void RenderIconPicture(FramePicture& picture, const std::vector<PlacedIcon>& icons, int size) {
    if (!picture.pixels || icons.empty() || size <= 0)
        return;
    FramePicture overBlack = CreateFramePicture(size, size);
    FramePicture overWhite = CreateFramePicture(size, size);
    UniqueMemDc memory(CreateCompatibleDC(nullptr));
    if (!overBlack.pixels || !overWhite.pixels || !memory)
        return;
    const size_t iconPixels = static_cast<size_t>(size) * size;
    std::vector<uint32_t> icon(iconPixels);

    for (const PlacedIcon& placed : icons) {
        if (!placed.icon)
            continue;
        if (!DrawIconOver(memory.get(), overBlack, placed.icon, 0x00000000) ||
            !DrawIconOver(memory.get(), overWhite, placed.icon, 0x00FFFFFF)) {
            continue;
        }
        AlphaFromBlackAndWhite(overBlack.pixels, overWhite.pixels, icon.data(), iconPixels);
        for (int y = 0; y < size; ++y) {
            int py = placed.at.y + y;
            if (py < 0 || py >= picture.height)
                continue;
            for (int x = 0; x < size; ++x) {
                int px = placed.at.x + x;
                if (px < 0 || px >= picture.width)
                    continue;
                uint32_t& target = picture.pixels[static_cast<size_t>(py) * picture.width + px];
                target = Over(icon[static_cast<size_t>(y) * size + x], target);
            }
        }
    }
}

FramePicture RenderIconWindowPicture(const IconWindowCreation& creation, int width, int height) {
    FramePicture picture = CreateFramePicture(width, height);
    if (!picture.pixels || !creation.popupList)
        return picture;
    std::vector<UniqueIcon> owned;
    RenderIconPicture(picture, CollectIcons(creation, owned), creation.iconPixels);
    return picture;
}

LRESULT CALLBACK IconWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DPICHANGED:
        return 0; // it covers the popup, which is placed and sized by the controller
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND CreateIconWindow(HINSTANCE instance, HWND popup, const ItemList* popupList, const SelectionState& state,
                      const Design& design, bool desktopRow, UINT dpi) {
    IconWindowCreation creation;
    creation.iconPixels = ScaleForDpi(OverlayIconSize, dpi);
    creation.popupList = popupList;
    creation.state = state;
    creation.design = design;
    creation.desktopRow = desktopRow;
    creation.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    creation.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Made visible without activation: the popup underneath must keep the keyboard in click mode.
    HWND icons =
        CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST, IconWindowClass,
                        L"", WS_POPUP, 0, 0, 0, 0, popup, nullptr, instance, &creation);
    if (icons)
        ShowWindow(icons, SW_SHOWNA);
    return icons;
}

void MoveIconWindow(HWND iconWindow, HWND popup) {
    RECT rect;
    if (!iconWindow || !popup || !GetWindowRect(popup, &rect))
        return;
    SetWindowPos(iconWindow, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace mw

#include "view/frame_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/log.h"
#include "platform/system_library.h"

namespace mw {

namespace {

uint8_t OpacityForBlue(uint32_t blue, uint8_t current) {
    switch (blue) {
    case 255:
        return 51;
    case 254:
        return 221;
    case 2:
        return 119;
    case 3:
        return 51;
    default:
        return current;
    }
}

void FillWith(HDC dc, const RECT& rect, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &rect, brush.get());
}

void FrameWith(HDC dc, const RECT& rect, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    FrameRect(dc, &rect, brush.get());
}

using WindowAttributeQuery = HRESULT(WINAPI*)(HWND window, DWORD attribute, void* value, DWORD size);
constexpr DWORD ExtendedFrameBoundsAttribute = 9; // DWMWA_EXTENDED_FRAME_BOUNDS

// Where the compositor draws a window's frame, without the invisible resize borders; false where
// there is no compositor to ask or it does not answer. dwmapi.dll stays loaded once looked up.
bool VisibleFrameOfWindow(HWND window, RECT* frame) {
    static const WindowAttributeQuery query = []() -> WindowAttributeQuery {
        HMODULE dwm = LoadSystemLibrary(L"dwmapi.dll");
        return dwm ? reinterpret_cast<WindowAttributeQuery>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    *frame = RECT{};
    if (!query || FAILED(query(window, ExtendedFrameBoundsAttribute, frame, sizeof *frame)))
        return false;
    return !IsRectEmpty(frame);
}

// The rectangles of every window entry that can still be read, in list order.
std::vector<RECT> FrameRectsOfList(const ItemList& list) {
    std::vector<RECT> frames;
    for (int i = 0; i < list.count && i < ListCapacity; ++i) {
        const ListItem& item = list.slots[i];
        if (item.kind != KindWindow)
            continue;
        RECT rect;
        if (FrameRectOfWindow(item.window, item.showState, &rect))
            frames.push_back(rect);
    }
    return frames;
}

void PlaceLayeredPicture(HWND window, const FramePicture& picture, const POINT* at, int width, int height) {
    WindowDc screen(nullptr);
    UniqueMemDc memory(CreateCompatibleDC(screen.get()));
    if (!memory)
        return;
    SelectGuard select(memory.get(), picture.bitmap.get());
    SIZE size{width, height};
    POINT source{0, 0};
    POINT destination = at ? *at : POINT{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, at ? &destination : nullptr, &size, memory.get(), &source, 0, &blend,
                        ULW_ALPHA);
}

int RingWidth(UINT dpi) {
    return std::max(1, ScaleForDpi(1, dpi));
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
    const auto* creation = static_cast<const FrameWindowCreation*>(create->lpCreateParams);
    const UINT dpi = creation ? creation->dpi : kDefaultDpi;
    std::vector<RECT> frames;
    if (creation && creation->popupList)
        frames = FrameRectsOfList(*creation->popupList);
    // The picture covers only what the frames and their rings need, in physical pixels, inside
    // the virtual screen (whose origin is negative when a monitor lies left of or above the
    // primary one): a picture of every monitor would be hundreds of megabytes on large screens.
    const RECT bounds = FramePictureBounds(frames, 3 * RingWidth(dpi), VirtualScreenRect());
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return 0; // nothing on screen to mark
    FramePicture picture = CreateFramePicture(width, height);
    if (!picture.pixels) {
        Log(L"The frame overlay picture of %d x %d pixels could not be made (error %lu)", width, height,
            GetLastError());
        return 0;
    }
    const POINT origin{bounds.left, bounds.top};
    RenderFramePicture(picture, ToPictureCoordinates(std::move(frames), origin), dpi);
    PlaceLayeredPicture(hwnd, picture, &origin, width, height);
    return 0;
}

} // namespace

void PresentLayeredPicture(HWND window, const FramePicture& picture, int width, int height) {
    PlaceLayeredPicture(window, picture, nullptr, width, height);
}

std::vector<RECT> ToPictureCoordinates(std::vector<RECT> frames, POINT origin) {
    for (RECT& frame : frames)
        OffsetRect(&frame, -origin.x, -origin.y);
    return frames;
}

FramePicture CreateFramePicture(int width, int height) {
    FramePicture picture;
    if (width <= 0 || height <= 0)
        return picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row y of the picture is row y in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    picture.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.bitmap || !bits) {
        picture.bitmap.reset();
        return picture;
    }
    picture.pixels = static_cast<uint32_t*>(bits);
    picture.width = width;
    picture.height = height;
    std::memset(picture.pixels, 0, static_cast<size_t>(width) * height * sizeof(uint32_t));
    return picture;
}

void ConvertFrameOpacity(uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = pixels[i];
        uint32_t red = (p >> 16) & 0xFF;
        uint32_t green = (p >> 8) & 0xFF;
        uint32_t blue = p & 0xFF;
        if (red == 0 && green == 0 && blue == 0) {
            pixels[i] = 0;
            continue;
        }
        uint32_t alpha = OpacityForBlue(blue, static_cast<uint8_t>(p >> 24));
        red = red * alpha / 255;
        green = green * alpha / 255;
        blue = blue * alpha / 255;
        pixels[i] = (alpha << 24) | (red << 16) | (green << 8) | blue;
    }
}

void RenderFramePicture(FramePicture& picture, const std::vector<RECT>& frames, UINT dpi) {
    if (!picture.pixels)
        return;
    UniqueMemDc memory(CreateCompatibleDC(nullptr));
    if (!memory)
        return;
    {
        SelectGuard select(memory.get(), picture.bitmap.get());
        // All veils first: where windows overlap, the veil stays one uniform fill.
        for (const RECT& frame : frames)
            FillWith(memory.get(), frame, FrameVeilColor);
        // Each ring is `width` one-pixel frames of its marker colour.
        const int width = RingWidth(dpi);
        for (const RECT& frame : frames) {
            RECT ring = frame;
            for (COLORREF color : {FrameRing1Color, FrameRing2Color, FrameRing3Color}) {
                for (int i = 0; i < width; ++i) {
                    InflateRect(&ring, 1, 1);
                    FrameWith(memory.get(), ring, color);
                }
            }
        }
        GdiFlush();
    }
    ConvertFrameOpacity(picture.pixels, static_cast<size_t>(picture.width) * picture.height);
}

RECT FramePictureBounds(const std::vector<RECT>& frames, int margin, const RECT& screen) {
    RECT bounds{};
    for (RECT frame : frames) {
        InflateRect(&frame, margin, margin);
        RECT visible;
        if (!IntersectRect(&visible, &frame, &screen))
            continue;
        if (IsRectEmpty(&bounds))
            bounds = visible;
        else
            UnionRect(&bounds, &bounds, &visible);
    }
    return bounds;
}

RECT FrameRectForState(const WINDOWPLACEMENT& placement, int showState, const RECT& workArea,
                       POINT workspaceOffset, const RECT* visibleFrame) {
    if (showState != StateMinimized && visibleFrame && !IsRectEmpty(visibleFrame))
        return *visibleFrame;
    return FrameRectFromPlacement(placement, showState, workArea, workspaceOffset);
}

RECT FrameRectFromPlacement(const WINDOWPLACEMENT& placement, int showState, const RECT& workArea,
                            POINT workspaceOffset) {
    RECT rect = placement.rcNormalPosition;
    OffsetRect(&rect, workspaceOffset.x, workspaceOffset.y);
    if (showState == StateMaximized) {
        // The maximised position is in workspace coordinates too; the work area is on the screen.
        rect.left = placement.ptMaxPosition.x + workspaceOffset.x + 5;
        rect.top = placement.ptMaxPosition.y + workspaceOffset.y + 5;
        rect.right = workArea.right - 5;
        rect.bottom = workArea.bottom - 5;
    }
    return rect;
}

bool FrameRectOfWindow(HWND window, int showState, RECT* out) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!window || !IsWindow(window) || !GetWindowPlacement(window, &placement))
        return false;

    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);

    // The placement is given in workspace coordinates: relative to the work area of the window's
    // monitor, so a taskbar at the top or left shifts them against the screen. The overlay draws
    // in screen coordinates, so add that monitor's work-area offset and the frames sit exactly
    // where the windows are. Tool windows are placed in screen coordinates already.
    POINT offset{0, 0};
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        HMONITOR handle = MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTONEAREST);
        if (handle && GetMonitorInfoW(handle, &monitor))
            offset = WorkspaceOffset(monitor.rcMonitor, monitor.rcWork);
    }
    // A maximised window fills the work area of its own monitor, which need not be the primary.
    if (showState == StateMaximized) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
            workArea = monitor.rcWork;
    }
    RECT visible{};
    const bool composed = VisibleFrameOfWindow(window, &visible);
    *out = FrameRectForState(placement, showState, workArea, offset, composed ? &visible : nullptr);
    return true;
}

LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DPICHANGED:
        return 0; // drawn in physical pixels over the virtual screen; nothing to resize
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND CreateFrameWindow(HINSTANCE instance, const ItemList* popupList, UINT dpi) {
    FrameWindowCreation creation{popupList, dpi};
    const RECT screen = VirtualScreenRect();
    // Shown without activation, so the window the user works in keeps the focus until the popup
    // takes it.
    HWND frame = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, FrameWindowClass, L"",
                                 WS_POPUP, screen.left, screen.top, screen.right - screen.left,
                                 screen.bottom - screen.top, nullptr, nullptr, instance, &creation);
    if (!frame)
        return nullptr;
    ShowWindow(frame, SW_SHOWNA);
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return frame;
}

} // namespace mw

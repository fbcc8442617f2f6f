#include "support/icon_probe.h"

namespace mw::test {

IconSize IconBitmapSize(HICON icon) {
    IconSize size;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return size;
    BITMAP bm{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        size = {bm.bmWidth, bm.bmHeight};
    } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
        size = {bm.bmWidth, bm.bmHeight / 2}; // monochrome: AND mask over XOR mask
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return size;
}

std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
    std::vector<std::uint32_t> pixels;
    if (!icon || size <= 0)
        return pixels;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (dc && bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        auto* p = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < size * size; ++i)
            p[i] = 0x00FF00FF; // magenta shows through transparency
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        pixels.assign(p, p + size * size);
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return pixels;
}

bool SameIconPixels(HICON a, HICON b, int size) {
    if (!a || !b)
        return false;
    return IconPixels(a, size) == IconPixels(b, size);
}

} // namespace mw::test

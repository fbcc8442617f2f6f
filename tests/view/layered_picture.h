// Test helpers for premultiplied 32-bit pictures: pixel words and saving a picture laid over a
// backdrop as a PNG for people to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/png.h"
#include "view/frame_window.h"

namespace mw::test {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}
inline uint32_t AlphaOf(uint32_t p) {
    return p >> 24;
}
inline uint32_t RedOf(uint32_t p) {
    return (p >> 16) & 0xFF;
}
inline uint32_t GreenOf(uint32_t p) {
    return (p >> 8) & 0xFF;
}
inline uint32_t BlueOf(uint32_t p) {
    return p & 0xFF;
}

// Lays the premultiplied picture over a checkerboard of two backdrop colours (as the layered
// window would appear over a desktop) and saves the result.
inline bool SaveOverBackdrop(const FramePicture& picture, const std::wstring& name, uint32_t dark = 0x204060,
                             uint32_t light = 0x305070) {
    FramePicture shown = CreateFramePicture(picture.width, picture.height);
    if (!shown.pixels)
        return false;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint32_t backdrop = ((x / 16 + y / 16) % 2) ? dark : light;
            uint32_t p = picture.At(x, y);
            uint32_t keep = 255 - AlphaOf(p);
            uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                uint32_t c = ((p >> shift) & 0xFF) + ((backdrop >> shift) & 0xFF) * keep / 255;
                out |= (c > 255 ? 255 : c) << shift;
            }
            shown.pixels[static_cast<size_t>(y) * picture.width + x] = out;
        }
    }
    return SaveBitmapPng(shown.bitmap.get(), ArtifactPath(name.c_str()));
}

} // namespace mw::test

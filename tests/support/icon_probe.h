// Looking at icons in tests: their real bitmap size and their pixels, so two icons can be told
// apart or found equal without trusting handles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace mw::test {

struct IconSize {
    int width = 0;
    int height = 0;
};

// The size of the icon's colour bitmap (or of its mask's upper half for a monochrome icon),
// read with GetIconInfo and GetObject; 0 x 0 for a null icon.
IconSize IconBitmapSize(HICON icon);

// The icon drawn at size x size over a fixed background, as 32-bit pixels.
std::vector<std::uint32_t> IconPixels(HICON icon, int size);

// True when both icons exist and draw the same pixels at that size.
bool SameIconPixels(HICON a, HICON b, int size);

} // namespace mw::test

// Saving pictures for people to look at: PNG files in the build's artefacts folder.
#pragma once

#include <windows.h>

#include <string>

namespace mw::test {

// Full path of `name` inside the artefacts folder; the folder is created when missing.
std::wstring ArtifactPath(const wchar_t* name);

// Writes `width` x `height` pixels from the top-left of `source` as an opaque PNG.
bool SaveDcPng(HDC source, int width, int height, const std::wstring& path);

// Writes a bitmap that is not selected into any DC as an opaque PNG.
bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path);

} // namespace mw::test

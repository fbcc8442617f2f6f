// Helpers for tests that work on real top-level windows: waiting while pumping messages, icons
// whose edge length identifies them, and the window classes the enumeration tests use.
#pragma once

#include <windows.h>

#include <vector>

#include "support/harness.h"

namespace mw_test {

// Waiting and pumping come from the shared harness.
using mw::test::Pump;
using mw::test::WaitFor;

// An icon of size x size pixels; the edge length tells icons apart after duplication.
inline HICON MakeTestIcon(int size) {
    std::vector<BYTE> andMask(size * size / 8 + 64, 0x00), xorMask(size * size * 4 + 64, 0x7F);
    return CreateIcon(GetModuleHandleW(nullptr), size, size, 1, 32, andMask.data(), xorMask.data());
}

inline int IconEdge(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

// A class without icons, and a class whose big icon is 32 and small icon 16 pixels wide.
inline const wchar_t* PlainClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"MwTestPlainWindow";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

struct ClassIcons {
    HICON big;
    HICON small;
};

inline const ClassIcons& IconClassIcons() {
    static const ClassIcons icons{MakeTestIcon(32), MakeTestIcon(16)};
    return icons;
}

inline const wchar_t* IconClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = IconClassIcons().big;
        wc.hIconSm = IconClassIcons().small;
        wc.lpszClassName = L"MwTestIconWindow";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

} // namespace mw_test

#include "view/icon_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "support/harness.h"
#include "view/layered_picture.h"
#include "view/render.h"

namespace {

using namespace mw;
using mw::test::AlphaOf;
using mw::test::Argb;
using mw::test::BlueOf;
using mw::test::GreenOf;
using mw::test::RedOf;

// A 32x32 icon with an alpha channel: the left half red at opacity 128, the right half opaque
// green.
HICON AlphaIcon() {
    std::vector<BYTE> andMask(32 * 32 / 8, 0x00);
    std::vector<BYTE> colour(32 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            BYTE* p = &colour[(static_cast<size_t>(y) * 32 + x) * 4];
            if (x < 16) {
                p[0] = 0, p[1] = 0, p[2] = 0xFF, p[3] = 0x80;
            } else {
                p[0] = 0, p[1] = 0xFF, p[2] = 0, p[3] = 0xFF;
            }
        }
    }
    return CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 32, andMask.data(), colour.data());
}

// An old-style icon without alpha: blue where the mask lets it through (the lower 16 rows), and
// transparent through the mask in the upper 16 rows.
HICON MaskIcon() {
    std::vector<BYTE> andMask(32 * 32 / 8, 0x00);
    for (int y = 0; y < 16; ++y)
        for (int b = 0; b < 4; ++b)
            andMask[static_cast<size_t>(y) * 4 + b] = 0xFF;
    std::vector<BYTE> colour(32 * 32 * 4, 0);
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            colour[(static_cast<size_t>(y) * 32 + x) * 4] = 0xFF; // blue, alpha 0
    return CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 32, andMask.data(), colour.data());
}

// The thumbnail-mode example: two windows, one launcher entry, desktop and cancel, W = 200.
SelectionState ExampleState() {
    SelectionState state;
    state.windowCount = 2;
    state.launcherCount = 1;
    state.commandCount = 2;
    state.textColumnWidth = 200;
    return state;
}

Design ThumbnailDesign() {
    Design design;
    design.thumbnail = 1;
    return design;
}

TEST(IconWindowLayout, IconsSitAtTheBottomRightOfEachThumbnailBox) {
    const Design design = ThumbnailDesign();
    SelectionState state = ExampleState();
    POINT first = OverlayIconPosition(0, state, design, true, 1920, 1080);
    EXPECT_EQ(first.x, 80);
    EXPECT_EQ(first.y, 88);
    POINT second = OverlayIconPosition(1, state, design, true, 1920, 1080);
    EXPECT_EQ(second.x, 80);
    EXPECT_EQ(second.y, 88 + 108);
    // More windows: each next icon 108 pixels lower.
    state.windowCount = 5;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(OverlayIconPosition(i, state, design, true, 1920, 1080).y, 88 + 108 * i);
}

TEST(IconAlpha, OpacityAndPremultipliedColourFromBlackAndWhiteDrawings) {
    const std::vector<uint32_t> black = {0x00FF0000, 0x00000000, 0x00800000, 0x00402010};
    const std::vector<uint32_t> white = {0x00FF0000, 0x00FFFFFF, 0x00FF7F7F, 0x00402010};
    std::vector<uint32_t> out(black.size());
    AlphaFromBlackAndWhite(black.data(), white.data(), out.data(), out.size());
    EXPECT_EQ(out[0], Argb(255, 255, 0, 0)); // opaque red
    EXPECT_EQ(out[1], 0u);                   // fully transparent
    EXPECT_EQ(out[2], Argb(128, 128, 0, 0)); // red at half opacity, premultiplied
    EXPECT_EQ(out[3], Argb(255, 0x40, 0x20, 0x10));
}

TEST(IconPicture, IconsWithTheirOwnOpacityAndTransparencyEverywhereElse) {
    const Design design = ThumbnailDesign();
    const SelectionState state = ExampleState();
    SIZE size = PopupSize(state, design, true);
    ASSERT_EQ(size.cx, 328);
    ASSERT_EQ(size.cy, 446);
    FramePicture picture = CreateFramePicture(size.cx, size.cy);
    ASSERT_NE(picture.pixels, nullptr);
    HICON alphaIcon = AlphaIcon();
    HICON maskIcon = MaskIcon();
    ASSERT_NE(alphaIcon, nullptr);
    ASSERT_NE(maskIcon, nullptr);
    const POINT first = OverlayIconPosition(0, state, design, true, 1920, 1080);
    const POINT second = OverlayIconPosition(1, state, design, true, 1920, 1080);
    RenderIconPicture(picture, {{first, alphaIcon}, {second, maskIcon}});

    int wrong = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.At(x, y);
            // Premultiplied: no colour channel above the opacity.
            if (RedOf(p) > AlphaOf(p) || GreenOf(p) > AlphaOf(p) || BlueOf(p) > AlphaOf(p))
                ++wrong;
            const bool inFirst = x >= 80 && x < 112 && y >= 88 && y < 120;
            const bool inSecond = x >= 80 && x < 112 && y >= 196 && y < 228;
            if (inFirst) {
                if (x < 96) {
                    // Red at half opacity.
                    if (std::abs(static_cast<int>(AlphaOf(p)) - 128) > 2 ||
                        std::abs(static_cast<int>(RedOf(p)) - 128) > 2 || GreenOf(p) != 0 || BlueOf(p) != 0)
                        ++wrong;
                } else if (p != Argb(255, 0, 255, 0)) {
                    ++wrong;
                }
            } else if (inSecond) {
                const uint32_t expected = y < 212 ? 0u : Argb(255, 0, 0, 255);
                if (p != expected)
                    ++wrong;
            } else if (p != 0) {
                ++wrong;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(picture.At(80, 88) >> 24, 128u);
    EXPECT_EQ(picture.At(111, 119), Argb(255, 0, 255, 0));
    EXPECT_EQ(picture.At(79, 119), 0u);
    EXPECT_EQ(picture.At(112, 119), 0u);
    EXPECT_EQ(picture.At(111, 120), 0u);

    EXPECT_TRUE(test::SaveOverBackdrop(picture, L"icon-window-picture.png", 0xC0C0C0, 0xFFFFFF));
    DestroyIcon(alphaIcon);
    DestroyIcon(maskIcon);
}

// The thumbnail-mode popup as a user sees it: the rendered list, grey stand-ins where the
// compositor would draw the live thumbnails, and the icon window's picture laid over it.
TEST(IconPicture, ThumbnailPopupWithIconsOverTheBoxes) {
    auto windows = CreateItemList();
    auto launchers = CreateLauncherList();
    auto commands = CreateItemList();
    auto add = [](ItemList& list, const wchar_t* name, int kind) {
        ListItem item;
        InitListItem(item, name, CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)), nullptr, kind);
        AppendListItem(list, item);
    };
    add(*windows, L"無題 - メモ帳", KindWindow);
    add(*windows, L"Window two", KindWindow);
    LauncherEntry launcher;
    InitListItem(launcher, L"電卓", CopyIcon(LoadIconW(nullptr, IDI_QUESTION)), nullptr, KindLauncher);
    AppendLauncherEntry(*launchers, launcher);
    add(*commands, L"デスクトップの表示 / 非表示", KindDesktopToggle);
    add(*commands, L"キャンセル", KindCancel);
    Design design = ThumbnailDesign();
    design.textWidth = 200;
    PopupSurface surface;
    const int width = RenderPopup(nullptr, *windows, *launchers, *commands, design, true, surface);
    ASSERT_TRUE(surface);
    SelectionState state = ExampleState();
    state.textColumnWidth = width;
    ASSERT_EQ(surface.width, 328);
    ASSERT_EQ(surface.height, 446);

    FramePicture shown = CreateFramePicture(surface.width, surface.height);
    ASSERT_NE(shown.pixels, nullptr);
    {
        UniqueMemDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), shown.bitmap.get());
        BitBlt(dc.get(), 0, 0, surface.width, surface.height, surface.dc(), 0, 0, SRCCOPY);
        UniqueBrush grey(CreateSolidBrush(RGB(0x90, 0x90, 0x90)));
        for (int i : {0, 1, -1}) {
            RECT box = GetThumbnailRect(i, state, design, true, 1920, 1080);
            FillRect(dc.get(), &box, grey.get());
        }
        GdiFlush();
    }
    FramePicture icons = CreateFramePicture(surface.width, surface.height);
    ASSERT_NE(icons.pixels, nullptr);
    HICON alphaIcon = AlphaIcon();
    HICON maskIcon = MaskIcon();
    RenderIconPicture(icons, {{OverlayIconPosition(0, state, design, true, 1920, 1080), alphaIcon},
                              {OverlayIconPosition(1, state, design, true, 1920, 1080), maskIcon}});
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            uint32_t over = icons.At(x, y);
            uint32_t& under = shown.pixels[static_cast<size_t>(y) * shown.width + x];
            uint32_t out = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8) {
                uint32_t c =
                    ((over >> shift) & 0xFF) + ((under >> shift) & 0xFF) * (255 - AlphaOf(over)) / 255;
                out |= (c > 255 ? 255 : c) << shift;
            }
            under = out;
        }
    }
    // The icons lie inside the grey thumbnail boxes, flush with their bottom-right corners.
    EXPECT_EQ(shown.At(111, 119) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(shown.At(112, 119) & 0xFFFFFF, 0xFFFFFFu); // the background right of the box
    EXPECT_EQ(shown.At(111, 227) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(shown.At(111, 200) & 0xFFFFFF, 0x909090u); // through the mask icon's clear half
    EXPECT_TRUE(test::SaveBitmapPng(shown.bitmap.get(), test::ArtifactPath(L"popup-thumbnails-icons.png")));
    DestroyIcon(alphaIcon);
    DestroyIcon(maskIcon);
}

void RegisterIconClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = IconWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = IconWindowClass;
    RegisterClassExW(&wc);
}

TEST(IconWindow, CoversThePopupStaysClickThroughAndFollowsIt) {
    RegisterIconClass();
    HICON alphaIcon = AlphaIcon();
    HICON maskIcon = MaskIcon();
    // One window with its own icon; one without, whose owner has one.
    // Captionless and never activated: cheap to destroy under Wine without a window manager.
    HWND withIcon = test::CreateTestWindow(L"With icon", WS_POPUP);
    HWND owner = test::CreateTestWindow(L"Owner", WS_POPUP);
    HWND owned = test::CreateTestWindow(L"Owned", WS_POPUP, 0, owner);
    SendMessageW(withIcon, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(alphaIcon));
    SendMessageW(owner, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(maskIcon));
    auto list = CreateItemList();
    for (HWND w : {withIcon, owned}) {
        ListItem item;
        InitListItem(item, L"", nullptr, w, KindWindow);
        AppendListItem(*list, item);
    }

    // The picture the window gets: the window's own icon over entry 0, the owner's over entry 1.
    IconWindowCreation creation;
    creation.popupList = list.get();
    creation.state = ExampleState();
    creation.design = ThumbnailDesign();
    creation.desktopRow = true;
    creation.screenWidth = 1920;
    creation.screenHeight = 1080;
    FramePicture picture = RenderIconWindowPicture(creation, 328, 446);
    ASSERT_NE(picture.pixels, nullptr);
    EXPECT_EQ(picture.At(111, 119), Argb(255, 0, 255, 0));
    EXPECT_NEAR(static_cast<int>(AlphaOf(picture.At(80, 88))), 128, 2);
    EXPECT_EQ(picture.At(80, 196), 0u);
    EXPECT_EQ(picture.At(80, 227), Argb(255, 0, 0, 255));
    EXPECT_EQ(picture.At(79, 227), 0u);
    EXPECT_EQ(picture.At(50, 50), 0u);

    HWND popup = test::CreateTestWindow(L"Popup", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                        nullptr, 300, 200, 328, 446);
    SetForegroundWindow(popup);
    ASSERT_TRUE(test::WaitFor([&] { return GetForegroundWindow() == popup; }, 2000));

    HWND icons = CreateIconWindow(GetModuleHandleW(nullptr), popup, list.get(), ExampleState(),
                                  ThumbnailDesign(), true);
    ASSERT_NE(icons, nullptr);
    RECT rect;
    GetWindowRect(icons, &rect);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.right, 628);
    EXPECT_EQ(rect.bottom, 646);
    const LONG_PTR ex = GetWindowLongPtrW(icons, GWL_EXSTYLE);
    const LONG_PTR wanted = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
    EXPECT_EQ(ex & wanted, wanted);
    EXPECT_TRUE(IsWindowVisible(icons));
    EXPECT_EQ(GetWindow(icons, GW_OWNER), popup);
    // The popup keeps the keyboard and the mouse.
    EXPECT_EQ(GetForegroundWindow(), popup);
    EXPECT_EQ(WindowFromPoint(POINT{400, 300}), popup);

    SetWindowPos(popup, nullptr, 500, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveIconWindow(icons, popup);
    GetWindowRect(icons, &rect);
    EXPECT_EQ(rect.left, 500);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 828);

    DestroyWindow(icons);
    DestroyWindow(popup);
    DestroyWindow(owned);
    DestroyWindow(owner);
    DestroyWindow(withIcon);
    DestroyIcon(alphaIcon);
    DestroyIcon(maskIcon);
}

} // namespace

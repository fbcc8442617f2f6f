#include "view/frame_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/harness.h"
#include "view/layered_picture.h"

namespace {

using namespace mw;
using mw::test::Argb;

constexpr uint32_t kVeil = Argb(51, 51, 51, 51);
constexpr uint32_t kRing1 = Argb(221, 220, 220, 220); // 254 · 221 / 255 = 220.1
constexpr uint32_t kRing2 = Argb(119, 0, 0, 0);       // 2 · 119 / 255 = 0.9
constexpr uint32_t kRing3 = Argb(51, 0, 0, 0);        // 3 · 51 / 255 = 0.6

TEST(FrameOpacity, MarkerColoursBecomeTheirOpacityPremultiplied) {
    std::vector<uint32_t> pixels = {
        0x00FFFFFF, // veil
        0x00FEFEFE, // ring one pixel outside
        0x00020202, // ring two pixels outside
        0x00030303, // ring three pixels outside
        0x00000000, // nothing drawn
        0x7F000000, // black with some opacity byte: black is always transparent
        0x7F102030, // another colour keeps its opacity byte, colours scaled by it
        0x00FF0000, // red without opacity: stays but contributes nothing
        0x00FF80FF, // blue 255 decides, whatever red and green are
    };
    ConvertFrameOpacity(pixels.data(), pixels.size());
    EXPECT_EQ(pixels[0], kVeil);
    EXPECT_EQ(pixels[1], kRing1);
    EXPECT_EQ(pixels[2], kRing2);
    EXPECT_EQ(pixels[3], kRing3);
    EXPECT_EQ(pixels[4], 0u);
    EXPECT_EQ(pixels[5], 0u);
    EXPECT_EQ(pixels[6], Argb(0x7F, 0x10 * 0x7F / 255, 0x20 * 0x7F / 255, 0x30 * 0x7F / 255));
    EXPECT_EQ(pixels[7], 0u);
    EXPECT_EQ(pixels[8], Argb(51, 51, 0x80 * 51 / 255, 51));
}

// Two overlapping windows, A first in the list, B second:
//
//    (100,100) +-----------+ A
//              |     (200,150) +-----------+ B
//              |           |   |           |
//              +-----------+ (300,250)     |
//                              +-----------+ (400,350)
TEST(FramePicture, VeilsThenRingsOneTwoThreePixelsOutside) {
    FramePicture picture = CreateFramePicture(500, 400);
    ASSERT_NE(picture.pixels, nullptr);
    const RECT a{100, 100, 300, 250};
    const RECT b{200, 150, 400, 350};
    RenderFramePicture(picture, {a, b});

    // The veil: inside A only, inside B only, and in the overlap one uniform fill.
    EXPECT_EQ(picture.At(150, 120), kVeil);
    EXPECT_EQ(picture.At(350, 300), kVeil);
    EXPECT_EQ(picture.At(250, 200), kVeil);
    EXPECT_EQ(picture.At(100, 100), kVeil); // left and top edges belong to the window
    EXPECT_EQ(picture.At(299, 249), kVeil); // right and bottom are exclusive

    // A's left side, all along its height, and its top-left corner.
    for (int y : {100, 175, 249}) {
        EXPECT_EQ(picture.At(99, y), kRing1) << y;
        EXPECT_EQ(picture.At(98, y), kRing2) << y;
        EXPECT_EQ(picture.At(97, y), kRing3) << y;
        EXPECT_EQ(picture.At(96, y), 0u) << y;
    }
    EXPECT_EQ(picture.At(99, 99), kRing1);
    EXPECT_EQ(picture.At(98, 98), kRing2);
    EXPECT_EQ(picture.At(97, 97), kRing3);
    EXPECT_EQ(picture.At(96, 96), 0u);
    // A's right and bottom sides lie just past the exclusive edges.
    EXPECT_EQ(picture.At(300, 120), kRing1);
    EXPECT_EQ(picture.At(301, 120), kRing2);
    EXPECT_EQ(picture.At(302, 120), kRing3);
    EXPECT_EQ(picture.At(150, 250), kRing1);
    EXPECT_EQ(picture.At(150, 252), kRing3);

    // B, later in the list, draws its rings across A's veil.
    EXPECT_EQ(picture.At(199, 200), kRing1);
    EXPECT_EQ(picture.At(198, 200), kRing2);
    EXPECT_EQ(picture.At(197, 200), kRing3);
    EXPECT_EQ(picture.At(250, 149), kRing1);
    EXPECT_EQ(picture.At(250, 147), kRing3);

    // Nothing anywhere else.
    int stray = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            bool nearA = x >= 97 && x < 303 && y >= 97 && y < 253;
            bool nearB = x >= 197 && x < 403 && y >= 147 && y < 353;
            if (!nearA && !nearB && picture.At(x, y) != 0)
                ++stray;
        }
    }
    EXPECT_EQ(stray, 0);

    EXPECT_TRUE(test::SaveOverBackdrop(picture, L"frame-overlay-picture.png"));
}

TEST(FramePicture, ClipsFramesAtThePictureEdges) {
    FramePicture picture = CreateFramePicture(200, 100);
    ASSERT_NE(picture.pixels, nullptr);
    RenderFramePicture(picture, {RECT{-50, -20, 100, 60}, RECT{150, 50, 400, 300}});
    EXPECT_EQ(picture.At(0, 0), kVeil);
    EXPECT_EQ(picture.At(100, 30), kRing1);
    EXPECT_EQ(picture.At(199, 99), kVeil);
    EXPECT_EQ(picture.At(149, 80), kRing1);
}

WINDOWPLACEMENT Placement(RECT normal, POINT maxPosition) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.rcNormalPosition = normal;
    placement.ptMaxPosition = maxPosition;
    return placement;
}

TEST(FrameRect, FromThePlacementInEachStateAndWorkArea) {
    struct Row {
        const char* name;
        WINDOWPLACEMENT placement;
        int state;
        RECT workArea, expected;
        POINT workspaceOrigin;
    };
    const WINDOWPLACEMENT placement = Placement(RECT{100, 50, 700, 450}, POINT{-8, -8});
    const RECT primary{0, 0, 1920, 1040};
    const RECT taskBarAtTop{0, 40, 1920, 1080}; // 40 pixels high
    const WINDOWPLACEMENT onTheLeft = Placement(RECT{-1000, 100, -400, 500}, POINT{-1288, -8});
    const RECT leftWorkArea{-1280, 0, 0, 984};
    const Row rows[] = {
        {"normal, workspace is screen", placement, StateNormal, primary, {100, 50, 700, 450}, {0, 0}},
        // Workspace y 50 is screen y 90.
        {"normal, task bar at top", placement, StateNormal, taskBarAtTop, {100, 90, 700, 490}, {0, 40}},
        // A minimised window is framed at its normal position.
        {"minimised", placement, StateMinimized, primary, {160, 50, 760, 450}, {60, 0}},
        // Maximised: inset five from the maximised position and the work area.
        {"maximised", placement, StateMaximized, primary, {-3, -3, 1915, 1035}, {0, 0}},
        // The whole rectangle moves down with the work area.
        {"maximised, bar at top", placement, StateMaximized, taskBarAtTop, {-3, 37, 1915, 1075}, {0, 40}},
        // On the monitor left of the primary, (-1280, 0)-(0, 1024), task bar 40 high at its bottom.
        {"maximised, left monitor", onTheLeft, StateMaximized, leftWorkArea, {-1283, -3, -5, 979}, {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RECT r = FrameRectFromPlacement(row.placement, row.state, row.workArea, row.workspaceOrigin);
        EXPECT_EQ(r.left, row.expected.left);
        EXPECT_EQ(r.top, row.expected.top);
        EXPECT_EQ(r.right, row.expected.right);
        EXPECT_EQ(r.bottom, row.expected.bottom);
    }
}

TEST(FrameRect, TheVisibleFrameInEveryStateButMinimised) {
    const WINDOWPLACEMENT placement = Placement(RECT{100, 50, 700, 450}, POINT{-8, -8});
    const RECT snapped{0, 0, 960, 1040}, restored{100, 50, 700, 450}, guessed{-3, -3, 1915, 1035};
    const struct {
        int state;
        const RECT* visible; // null: no compositor
        RECT expected;
    } rows[] = {{StateNormal, &snapped, snapped},     {StateNormal, nullptr, restored},
                {StateMaximized, &snapped, snapped},  {StateMaximized, nullptr, guessed},
                {StateMinimized, &snapped, restored}, {StateMinimized, nullptr, restored}};
    for (const auto& row : rows) {
        const RECT r =
            FrameRectForState(placement, row.state, RECT{0, 0, 1920, 1040}, POINT{0, 0}, row.visible);
        EXPECT_TRUE(EqualRect(&r, &row.expected)) << row.state << (row.visible ? " composed" : "");
    }
}

TEST(FramePicture, CoversOnlyTheFramesAndTheirRingsOnTheScreen) {
    const RECT screen{-1280, 0, 1920, 1080}, expected{-1280, 0, 703, 453};
    // Rings 3 wide; one frame cut at the screen's corner, one off every screen.
    const RECT r =
        FramePictureBounds({{100, 50, 700, 450}, {-1300, -20, 10, 10}, {3000, 0, 3100, 9}}, 3, screen);
    EXPECT_TRUE(EqualRect(&r, &expected));
    const RECT none = FramePictureBounds({}, 3, screen);
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST(FrameRect, MaximisedFrameRingsLieInsideTheScreen) {
    WINDOWPLACEMENT placement = Placement(RECT{100, 50, 700, 450}, POINT{-8, -8});
    FramePicture picture = CreateFramePicture(1920, 1080);
    ASSERT_NE(picture.pixels, nullptr);
    RenderFramePicture(
        picture, {FrameRectFromPlacement(placement, StateMaximized, RECT{0, 0, 1920, 1040}, POINT{0, 0})});
    EXPECT_EQ(picture.At(0, 0), kVeil);
    EXPECT_EQ(picture.At(1914, 1034), kVeil);
    EXPECT_EQ(picture.At(1915, 1034), kRing1);
    EXPECT_EQ(picture.At(1917, 1034), kRing3);
    EXPECT_EQ(picture.At(1918, 1034), 0u);
    EXPECT_EQ(picture.At(100, 1035), kRing1);
    EXPECT_EQ(picture.At(100, 1038), 0u);
}

// A second monitor left of the primary: the virtual screen starts at (-1280, 0), and so does the
// picture, whose pixel (0, 0) is screen point (-1280, 0).
TEST(FrameRect, MappedIntoAPictureWithNegativeOrigin) {
    const std::vector<RECT> mapped =
        ToPictureCoordinates({RECT{-1000, 100, -400, 500}, RECT{100, 50, 700, 450}}, POINT{-1280, 0});
    ASSERT_EQ(mapped.size(), 2u);
    EXPECT_EQ(mapped[0].left, 280);
    EXPECT_EQ(mapped[0].right, 880);
    EXPECT_EQ(mapped[1].left, 1380);
    EXPECT_EQ(mapped[1].top, 50);
    // Above the primary the origin's y is negative.
    EXPECT_EQ(ToPictureCoordinates({RECT{0, -500, 10, -400}}, POINT{0, -1080})[0].top, 580);
}

// At 192 DPI each of the three rings is two pixels wide; the veil is the window's rectangle.
TEST(FrameRect, RingsScaleWithTheDpi) {
    FramePicture picture = CreateFramePicture(64, 16);
    ASSERT_NE(picture.pixels, nullptr);
    RenderFramePicture(picture, {RECT{10, 4, 30, 12}}, 192);
    const uint32_t expected[] = {0, kRing3, kRing3, kRing2, kRing2, kRing1, kRing1, kVeil};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(picture.At(3 + i, 8), expected[i]) << "x " << 3 + i;
    EXPECT_EQ(picture.At(29, 8), kVeil);
    EXPECT_EQ(picture.At(30, 8), kRing1);
    EXPECT_EQ(picture.At(36, 8), 0u);
}

TEST(FrameRect, RealWindowFramesWhereItIsAndClosedWindowGetsNone) {
    // A captionless window that is never activated: cheap to destroy under Wine without a window
    // manager. Not a tool window, so its placement is in workspace coordinates.
    HWND window = test::CreateTestWindow(L"Framed", WS_POPUP, 0, nullptr, 130, 140, 320, 210);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNA);
    RECT actual, framed;
    GetWindowRect(window, &actual);
    ASSERT_TRUE(FrameRectOfWindow(window, StateNormal, &framed));
    EXPECT_EQ(framed.left, actual.left);
    EXPECT_EQ(framed.top, actual.top);
    EXPECT_EQ(framed.right, actual.right);
    EXPECT_EQ(framed.bottom, actual.bottom);
    DestroyWindow(window);
    EXPECT_FALSE(FrameRectOfWindow(window, StateNormal, &framed));
}

void RegisterFrameClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrameWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = FrameWindowClass;
    RegisterClassExW(&wc);
}

TEST(FrameWindow, ClickThroughLayeredOverlayAtTheBottomOfTheScreen) {
    RegisterFrameClass();
    HWND a = test::CreateTestWindow(L"Listed A", WS_POPUP, 0, nullptr, 200, 200, 300, 200);
    HWND b = test::CreateTestWindow(L"Listed B", WS_POPUP, 0, nullptr, 400, 300, 300, 200);
    ShowWindow(a, SW_SHOWNA);
    auto list = CreateItemList();
    for (HWND w : {a, b}) {
        ListItem item;
        InitListItem(item, L"", nullptr, w, KindWindow);
        AppendListItem(*list, item);
    }
    ShowWindow(b, SW_SHOW);
    SetForegroundWindow(b);
    test::WaitFor([&] { return GetForegroundWindow() == b; }, 2000);

    HWND frame = CreateFrameWindow(GetModuleHandleW(nullptr), list.get());
    ASSERT_NE(frame, nullptr);
    const LONG_PTR ex = GetWindowLongPtrW(frame, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT),
              WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT);
    const LONG_PTR style = GetWindowLongPtrW(frame, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE), WS_POPUP | WS_VISIBLE);
    // The picture sized the layered window to what the two frames and their rings cover.
    RECT rect, expected, frameA, frameB;
    GetWindowRect(frame, &rect);
    ASSERT_TRUE(FrameRectOfWindow(a, StateNormal, &frameA));
    ASSERT_TRUE(FrameRectOfWindow(b, StateNormal, &frameB));
    UnionRect(&expected, &frameA, &frameB);
    InflateRect(&expected, 3, 3);
    EXPECT_TRUE(EqualRect(&rect, &expected));
    // Below every other top-level window, and it took the focus from nobody.
    EXPECT_EQ(GetWindow(frame, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetForegroundWindow(), b);
    // The mouse passes through it: the point over window A finds A, not the overlay.
    EXPECT_EQ(WindowFromPoint(POINT{250, 250}), a);

    DestroyWindow(frame);
    DestroyWindow(a);
    DestroyWindow(b);
}

} // namespace

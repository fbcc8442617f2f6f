// Keys and the wheel on the open popup, with the real program: what ends the popup must never
// end the program, and the Alt+Tab popup that stays open follows the wheel.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "hook/hook.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "platform/unique_handle.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr LPARAM kOpenedByAltTab = 1;

bool OpenByAltTab(Resident& program) {
    PostMessageW(program.main, kMsgOpenPopup, 0, kOpenedByAltTab);
    return program.Visible() && ForegroundBecomes(program.main);
}

// Alt held (the Alt+Tab popup's own gesture), then F4: the popup is the foreground window, and
// the default handling closed the main window: tray icon and hook gone. Now it is a cancel; a
// plain WM_CLOSE from another program still ends the program cleanly.
TEST(PopupKeys, AltF4CancelsThePopupAndWmCloseStillEndsTheProgram) {
    Target alpha;
    ASSERT_TRUE(alpha.Start(L"Alpha Alt+F4"));
    BringToFront(alpha.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=1\r\n"));
    ASSERT_TRUE(OpenByAltTab(program));
    KeyPress(VK_MENU, true);
    KeyTap(VK_F4);
    KeyPress(VK_MENU, false);
    EXPECT_TRUE(program.Closed());
    PumpFor(300);
    ASSERT_TRUE(program.sandbox.process().Running()) << "Alt+F4 ended the program";
    EXPECT_TRUE(program.Answers());
    EXPECT_TRUE(TrayIconExists(program.main));
    EXPECT_TRUE(ForegroundBecomes(alpha.window)) << "a cancel hands the foreground back";

    PostMessageW(program.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.sandbox.process().WaitExit(10000), 0);
    EXPECT_FALSE(TrayIconExists(program.main));
}

// The top of the selection's frame in the popup as the screen shows it (the frame's colour is
// design.ini's default, #ff8119), or -1 when none is seen.
int SelectionFrameTop(HWND popup) {
    RECT r{};
    GetWindowRect(popup, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return -1;
    HDC screen = GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    mw::UniqueBitmap picture(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    mw::UniqueMemDc dc(CreateCompatibleDC(screen));
    int top = -1;
    if (picture && dc) {
        mw::SelectGuard select(dc.get(), picture.get());
        BitBlt(dc.get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        for (int i = 0; i < width * height && top < 0; ++i) {
            if ((pixels[i] & 0xFFFFFF) == 0xFF8119)
                top = i / width;
        }
    }
    ReleaseDC(nullptr, screen);
    return top;
}

// ReplaceAltTab=1 with ClickMode=0: the wheel over the open Alt+Tab popup did nothing. One notch
// towards the user now moves the selection down a row.
TEST(PopupKeys, TheWheelMovesTheSelectionInTheAltTabPopupWithoutClickMode) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha wheel"));
    ASSERT_TRUE(beta.Start(L"Beta wheel"));
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nReplaceAltTab=1\r\nClickMode=0\r\nArrangeWindow=0\r\n"));
    ASSERT_TRUE(OpenByAltTab(program));
    int before = -1;
    ASSERT_TRUE(WaitFor([&] { return (before = SelectionFrameTop(program.main)) >= 0; }));
    PostMessageW(program.main, WM_MOUSEWHEEL, kNext, 0);
    int after = before;
    EXPECT_TRUE(WaitFor([&] { return (after = SelectionFrameTop(program.main)) > before; }))
        << "the selection's frame stayed at " << before << " (now " << after << ")";
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace

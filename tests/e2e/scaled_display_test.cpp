// A scaled display: Wine takes the DPI from HKCU\Control Panel\Desktop "LogPixels" when a
// process starts, and the program started at 144 (150 %) must draw its popup for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "hook/hook.h"
#include "platform/unique_handle.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// Sets LogPixels for the programs started while it lives and puts back what was there. What was
// there is also kept in a value of its own until it is put back, so a run that was ended in the
// middle (the watchdog) leaves the prefix at 144 DPI only until the next run of this test.
class LogPixels {
  public:
    explicit LogPixels(DWORD dpi) {
        DWORD left = 0;
        if (Read(kSaved, &left))
            Restore(left); // an earlier run did not get to it
        had_ = Read(L"LogPixels", &old_);
        const DWORD saved = had_ ? old_ : kAbsent;
        ok_ = Write(kSaved, saved) && Write(L"LogPixels", dpi);
    }
    ~LogPixels() { Restore(had_ ? old_ : kAbsent); }
    bool ok() const { return ok_; }

  private:
    static constexpr wchar_t kSaved[] = L"MistlewickTestSavedLogPixels";
    static constexpr DWORD kAbsent = 0xFFFFFFFF;
    static bool Read(const wchar_t* name, DWORD* value) {
        DWORD size = sizeof *value;
        return RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_REG_DWORD, nullptr, value, &size) ==
               ERROR_SUCCESS;
    }
    static bool Write(const wchar_t* name, DWORD value) {
        return RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, name, REG_DWORD, &value, sizeof value) ==
               ERROR_SUCCESS;
    }
    static void Restore(DWORD saved) {
        if (saved == kAbsent)
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        else
            Write(L"LogPixels", saved);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kSaved);
    }
    DWORD old_ = 0;
    bool had_ = false;
    bool ok_ = false;
};

// Pixels of `size` x `size` at a point of the screen, or the icon drawn over white.
std::vector<uint32_t> Pixels(int size, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    mw::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    mw::UniqueMemDc dc(CreateCompatibleDC(nullptr));
    std::vector<uint32_t> pixels;
    if (!bitmap || !dc)
        return pixels;
    {
        mw::SelectGuard select(dc.get(), bitmap.get());
        draw(dc.get());
        GdiFlush();
    }
    const auto* p = static_cast<const uint32_t*>(bits);
    pixels.assign(p, p + static_cast<size_t>(size) * size);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// Share of pixels whose channels all lie within 24 of each other.
double Matching(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.empty() || a.size() != b.size())
        return 0;
    size_t same = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        bool close = true;
        for (int shift = 0; shift < 24; shift += 8)
            close &= std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                              static_cast<int>((b[i] >> shift) & 0xFF)) <= 24;
        same += close;
    }
    return static_cast<double>(same) / a.size();
}

struct Opened {
    RECT popup{};
    std::vector<uint32_t> cancelIcon; // the screen where the last row's icon is drawn
};

// Starts the program with a fixed text column, opens the popup, measures and grabs the icon of
// the last row (cancel), closes.
Opened OpenAndMeasure(int iconSize) {
    Opened o;
    Resident program;
    program.sandbox.WriteDesign(L"[Item]\r\ntext-width=300\r\n");
    if (!program.Start() || !program.Open())
        return o;
    PumpFor(300);
    GetWindowRect(program.main, &o.popup);
    SaveScreenPng(o.popup, iconSize == 48 ? L"popup-144dpi.png" : L"popup-96dpi.png");
    // ws and is at this DPI are 12 and 4 at 96, times 1.5 at 144; the row is is + icon + is.
    const int ws = iconSize == 48 ? 18 : 12;
    const int is = iconSize == 48 ? 6 : 4;
    const POINT at{o.popup.left + ws, o.popup.bottom - ws - is - iconSize};
    o.cancelIcon = Pixels(iconSize, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, iconSize, iconSize, screen, at.x, at.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    PostMessageW(program.main, kMsgCancel, 0, 0);
    program.Closed();
    program.sandbox.Close();
    return o;
}

// At LogPixels 144 the popup is one and a half times its 96-DPI size, and the icons of
// icon-size=32 are the 48-pixel images of their icons, not 32-pixel ones stretched.
TEST(ScaledDisplay, At144DpiThePopupIsOneAndAHalfTimesAndIconsAre48) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha scaled"));
    ASSERT_TRUE(beta.Start(L"Beta scaled"));
    const Opened at96 = OpenAndMeasure(32);
    ASSERT_GT(at96.popup.right, at96.popup.left) << "the popup opened at 96 DPI";
    Opened at144;
    {
        LogPixels dpi(144);
        ASSERT_TRUE(dpi.ok());
        at144 = OpenAndMeasure(48);
    }
    const int w96 = at96.popup.right - at96.popup.left, h96 = at96.popup.bottom - at96.popup.top;
    const int w144 = at144.popup.right - at144.popup.left, h144 = at144.popup.bottom - at144.popup.top;
    EXPECT_EQ(w96, 2 * 12 + 32 + 4 + 300);
    EXPECT_NEAR(w144, w96 * 3 / 2, 3) << w96 << " x " << h96 << " at 96 DPI";
    EXPECT_NEAR(h144, h96 * 3 / 2, 3) << w96 << " x " << h96 << " at 96 DPI";

    // The cancel entry's icon, from the program's own resources, as drawn at each size.
    mw::UniqueModule exe(LoadLibraryExW((BinDir() + L"\\Mistlewick.exe").c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(exe);
    auto drawn = [&](int loadSize, int drawSize) {
        HICON icon = static_cast<HICON>(
            LoadImageW(exe.get(), MAKEINTRESOURCEW(149), IMAGE_ICON, loadSize, loadSize, 0)); // IDI_CLOSE
        auto pixels = Pixels(drawSize, [&](HDC dc) {
            RECT all{0, 0, drawSize, drawSize};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawIconEx(dc, 0, 0, icon, drawSize, drawSize, 0, nullptr, DI_NORMAL);
        });
        DestroyIcon(icon);
        return pixels;
    };
    EXPECT_GT(Matching(at96.cancelIcon, drawn(32, 32)), 0.95) << "the 32-pixel image at 96 DPI";
    EXPECT_GT(Matching(at144.cancelIcon, drawn(48, 48)), 0.95) << "the 48-pixel image at 144 DPI";
    EXPECT_LT(Matching(at144.cancelIcon, drawn(32, 48)), Matching(at144.cancelIcon, drawn(48, 48)))
        << "not the 32-pixel image stretched";
}

} // namespace

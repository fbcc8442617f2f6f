// The idle warm-up in-process: the main window's timer message dispatched for real.
#include "controller/warm_up.h"

#include <gtest/gtest.h>

#include "controller/application.h"
#include "controller/main_window.h"
#include "controller/timers.h"
#include "support/harness.h"

namespace {

using namespace mw;

TEST(WarmUp, FillsTheIconCacheAndPathMemoOnceWithoutShowingAnything) {
    Application app;
    app.program.instance = GetModuleHandleW(nullptr);
    const WNDCLASSEXW wc{
        sizeof wc, 0,       MainWindowProc,  0,      0, app.program.instance, nullptr, nullptr,
        nullptr,   nullptr, L"MwWarmUpMain", nullptr};
    RegisterClassExW(&wc);
    HWND main = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, wc.hInstance, &app);
    HWND target = test::CreateTestWindow(L"Warm-up target");
    const HICON own = LoadIconW(nullptr, IDI_WARNING);
    SendMessageW(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own));

    const IconCache::WindowCopy* kept = nullptr;
    ScheduleWarmUp(main);
    ASSERT_TRUE(test::WaitFor([&] {
        for (const auto& c : app.controller.iconCache.windows)
            kept = c.window == target ? &c : kept;
        return kept != nullptr;
    }));
    EXPECT_EQ(kept->source, own);
    EXPECT_FALSE(app.controller.popup.has_value() || IsWindowVisible(main));
    bool remembered = false;
    for (const auto& e : app.program.pathMemo.entries)
        remembered |= e.processId == GetCurrentProcessId();
    EXPECT_TRUE(remembered);
    EXPECT_FALSE(KillTimer(main, kTimerWarmUp)) << "the warm-up runs once";

    ResetController(app);
    DestroyWindow(target);
    DestroyWindow(main);
    MSG quit; // DestroyWindow posted one
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

} // namespace

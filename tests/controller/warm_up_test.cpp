// The idle warm-up after start-up, in-process: a main window of the program's class, a window of
// the test with an icon of its own, the timer's message dispatched for real.
#include "controller/warm_up.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "controller/application.h"
#include "controller/main_window.h"
#include "controller/timers.h"
#include "system/window_list.h"
#include "support/harness.h"

namespace {

using namespace mw;

TEST(WarmUp, FillsTheIconCacheAndPathMemoOnceWithoutShowingAnything) {
    Application app;
    ProgramState& p = app.program;
    p.instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = p.instance;
    wc.lpszClassName = L"MistlewickWarmUpMain";
    RegisterClassExW(&wc);
    HWND main = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"Mistlewick", WS_POPUP,
                                0, 0, 0, 0, nullptr, nullptr, p.instance, &app);
    ASSERT_NE(main, nullptr);
    p.mainWindow = main;
    HWND target = test::CreateTestWindow(L"Warm-up target");
    const HICON own = LoadIconW(nullptr, IDI_WARNING);
    SendMessageW(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own));

    const IconCache& cache = app.controller.iconCache;
    auto keptFor = [&](HWND w) {
        return std::find_if(cache.windows.begin(), cache.windows.end(),
                            [&](const IconCache::WindowCopy& c) { return c.window == w; });
    };
    ScheduleWarmUp(main);
    ASSERT_TRUE(test::WaitFor([&] { return keptFor(target) != cache.windows.end(); }, 10000));
    EXPECT_EQ(keptFor(target)->source, own);
    EXPECT_NE(keptFor(target)->copy.get(), own) << "the cache owns a copy, not the window's icon";
    EXPECT_TRUE(cache.lent.empty());
    EXPECT_FALSE(app.controller.popup.has_value());
    EXPECT_FALSE(IsWindowVisible(main));
    wchar_t path[TextBufferLength];
    ASSERT_TRUE(ProgramPathOfWindow(nullptr, target, path));
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    const auto remembered = std::find_if(p.pathMemo.entries.begin(), p.pathMemo.entries.end(),
                                         [&](const ProgramPathMemo::Entry& e) { return e.processId == pid; });
    ASSERT_NE(remembered, p.pathMemo.entries.end());
    EXPECT_EQ(remembered->path, path);
    EXPECT_FALSE(KillTimer(main, kTimerWarmUp)) << "the warm-up runs once";

    ResetController(app);
    DestroyWindow(target);
    DestroyWindow(main);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace

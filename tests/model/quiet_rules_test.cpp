#include "model/quiet_rules.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace {

using namespace mw;

TEST(QuietRules, ExcludedProgramsByFileNameWithoutCase) {
    const std::vector<std::wstring> names = {L"mstsc.exe", L"VMConnect.exe", L""};
    const struct {
        const wchar_t* path;
        bool excluded;
    } rows[] = {
        {L"C:\\Windows\\System32\\MSTSC.EXE", true},
        {L"C:/Windows/vmconnect.exe", true},
        {L"mstsc.exe", true},
        {L"C:\\mstsc.exe\\other.exe", false},
        {L"C:\\Tools\\mstsc.exe.bak", false},
        {L"", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(IsProgramExcluded(names, r.path), r.excluded) << r.path;
}

TEST(QuietRules, AFullScreenWindowCoversItsMonitorAndIsNoShellWindow) {
    // monitor (0,0)-(1920,1080); a second one to the left, (-1280,0)-(0,1024)
    const RECT monitor{0, 0, 1920, 1080}, left{-1280, 0, 0, 1024};
    const struct {
        const char* name;
        RECT window;
        RECT monitor;
        const wchar_t* cls;
        bool stateKnown;
        int state;
        bool fullScreen;
    } rows[] = {
        {"exactly the monitor", {0, 0, 1920, 1080}, monitor, L"Game", false, 0, true},
        {"past the edges", {-8, -8, 1928, 1088}, monitor, L"Game", false, 0, true},
        {"a maximised window above the taskbar", {0, 0, 1920, 1040}, monitor, L"Notepad", false, 0, false},
        {"the left monitor", {-1280, 0, 0, 1024}, left, L"Video", false, 0, true},
        {"the desktop", {0, 0, 1920, 1080}, monitor, L"Progman", false, 0, false},
        {"the desktop's worker", {0, 0, 1920, 1080}, monitor, L"WorkerW", true, QUNS_BUSY, false},
        {"the shell says presentation",
         {0, 0, 800, 600},
         monitor,
         L"Slides",
         true,
         QUNS_PRESENTATION_MODE,
         true},
        {"the shell says nothing special",
         {0, 0, 1920, 1080},
         monitor,
         L"Game",
         true,
         QUNS_ACCEPTS_NOTIFICATIONS,
         true},
        {"no monitor", {0, 0, 10, 10}, RECT{}, L"Game", false, 0, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ForegroundIsFullScreen(r.window, r.monitor, r.cls, r.stateKnown, r.state), r.fullScreen)
            << r.name;
}

} // namespace

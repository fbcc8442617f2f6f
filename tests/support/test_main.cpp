// Test entry point with a watchdog: a Wine process that hangs in a test is reported by name and
// ended, so one stuck test never eats the whole CI budget.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::atomic<ULONGLONG> g_testStarted{0};
char g_testName[512] = "(start-up)";
DWORD g_limitMs = 120000;

class WatchdogListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& info) override {
        std::snprintf(g_testName, sizeof g_testName, "%s.%s", info.test_suite_name(), info.name());
        g_testStarted = GetTickCount64();
    }
    void OnTestEnd(const testing::TestInfo&) override { g_testStarted = GetTickCount64(); }
};

DWORD WINAPI Watchdog(LPVOID) {
    for (;;) {
        Sleep(1000);
        ULONGLONG started = g_testStarted.load();
        if (started != 0 && GetTickCount64() - started > g_limitMs) {
            std::fprintf(stderr, "\nWATCHDOG: test %s ran longer than %lu ms; ending the process.\n",
                         g_testName, static_cast<unsigned long>(g_limitMs));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (const char* limit = std::getenv("MW_TEST_TIMEOUT_MS"))
        g_limitMs = std::strtoul(limit, nullptr, 10);
    // No error dialogs that nobody on a virtual display can answer.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener);
    g_testStarted = GetTickCount64();
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    int rc = RUN_ALL_TESTS();
    std::fflush(stdout);
    return rc;
}

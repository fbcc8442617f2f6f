#include "controller/launch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace mw;

struct Calls {
    bool elevated = false;
    bool desktopWorks = true;
    std::string seen;
    LaunchRequest request;
};
Calls g_calls;

bool Elevated() { return g_calls.elevated; }
bool Desktop(const LaunchRequest& r) {
    g_calls.seen += "desktop ";
    g_calls.request = r;
    return g_calls.desktopWorks;
}
bool Direct(HWND, const LaunchRequest& r) {
    g_calls.seen += "direct ";
    g_calls.request = r;
    return true;
}

TEST(LaunchProgram, ElevatedStartsThroughTheDesktopAndFallsBackToItsOwnStart) {
    const struct {
        const char* name;
        bool elevated, desktopWorks;
        const char* seen;
        LaunchRoute route;
    } rows[] = {
        {"not elevated", false, true, "direct ", LaunchRoute::Direct},
        {"elevated", true, true, "desktop ", LaunchRoute::Desktop},
        {"elevated, no shell desktop", true, false, "desktop direct ", LaunchRoute::Direct},
    };
    const LaunchApi api{Elevated, Desktop, Direct};
    for (const auto& row : rows) {
        g_calls = Calls{row.elevated, row.desktopWorks};
        EXPECT_EQ(LaunchProgram(nullptr, {L"C:\\a.exe", L"-x", L"C:\\w"}, api), row.route) << row.name;
        EXPECT_EQ(g_calls.seen, row.seen) << row.name;
        EXPECT_EQ(g_calls.request.parameters, L"-x") << row.name;
        EXPECT_EQ(g_calls.request.folder, L"C:\\w") << row.name;
    }
}

} // namespace

#include "controller/launch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace mw;

bool g_elevated, g_desktopWorks;
std::string g_seen;
bool Elevated() {
    return g_elevated;
}
// Each start takes the request as it was given, or fails.
bool Desktop(const LaunchRequest& r) {
    g_seen += "desktop ";
    return g_desktopWorks && r.folder == L"C:\\w";
}
bool Direct(HWND, const LaunchRequest& r) {
    g_seen += "direct ";
    return r.parameters == L"-x";
}

TEST(LaunchProgram, ElevatedStartsThroughTheDesktopAndFallsBackToItsOwnStart) {
    const LaunchApi api{Elevated, Desktop, Direct};
    const LaunchRequest request{L"C:\\a.exe", L"-x", L"C:\\w"};
    g_elevated = false, g_desktopWorks = true;
    EXPECT_EQ(LaunchProgram(nullptr, request, api), LaunchRoute::Direct);
    g_elevated = true;
    EXPECT_EQ(LaunchProgram(nullptr, request, api), LaunchRoute::Desktop);
    g_desktopWorks = false; // no shell desktop to ask
    EXPECT_EQ(LaunchProgram(nullptr, request, api), LaunchRoute::Direct);
    EXPECT_EQ(g_seen, "direct desktop desktop direct ");
}

} // namespace

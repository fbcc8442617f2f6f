// The file log a user can send us: one resident run with "/Log".
#include <gtest/gtest.h>

#include <string>

#include "hook/hook.h"
#include "support/e2e.h"

namespace {

using namespace mw::test;

TEST(FileLog, OneRunTellsItsStepsInOrder) {
    Resident r;
    // Windows of the test's own to list, so the popup has something to show.
    Target a, b;
    ASSERT_TRUE(a.Start(L"Log alpha") && b.Start(L"Log beta"));
    ASSERT_TRUE(r.Start(L"", L"/Log"));
    ASSERT_TRUE(r.Open());
    PostMessageW(r.main, kMsgCancel, 0, 0);
    ASSERT_TRUE(r.Closed());
    EXPECT_EQ(r.sandbox.Close(), 0);

    const std::string log = ReadFileBytes(r.sandbox.file(L"Mistlewick.log"));
    size_t at = 0;
    for (const char* step : {"start: ", "mouse hook installed", "tray icon added", "popup opened",
                             "popup closed without a choice", "exit"}) {
        const size_t found = log.find(step, at);
        EXPECT_NE(found, std::string::npos) << "no \"" << step << "\" after the earlier steps in:\n" << log;
        if (found != std::string::npos)
            at = found;
    }
}

} // namespace

// Which results of creating the single-instance mutex mean another resident instance runs.
#include <gtest/gtest.h>

#include "app/startup.h"

namespace mw {
namespace {

TEST(SecondStart, AnExistingOrAnUnopenableMutexIsARunningInstance) {
    struct Case {
        bool created;
        DWORD error;
        bool notResident;
        bool second;
    };
    const Case cases[] = {
        {true, ERROR_SUCCESS, false, false},         {true, ERROR_ALREADY_EXISTS, false, true},
        {false, ERROR_ACCESS_DENIED, false, true}, // an elevated instance's mutex
        {false, ERROR_INVALID_HANDLE, false, false}, {true, ERROR_ALREADY_EXISTS, true, false},
        {false, ERROR_ACCESS_DENIED, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSecondStart(c.created, c.error, c.notResident), c.second)
            << c.created << " " << c.error << " " << c.notResident;
    }
}

} // namespace
} // namespace mw

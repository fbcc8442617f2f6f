// The list after a middle click closed a window: which entry is selected once its entry left.
#include <gtest/gtest.h>

#include "controller/middle_close.h"

namespace mw {
namespace {

TEST(MiddleClose, SelectionAfterAWindowEntryLeft) {
    const int W = SectionWindows, L = SectionLauncher, C = SectionCommands;
    const struct {
        int windows, launchers, section, index, removed, wantSection, wantIndex;
        int cancel = 0; // the cancel entry's index among the commands
    } cases[] = {
        {4, 1, W, 1, 1, W, 1},    // the selected one went: the next one takes its place
        {4, 1, W, 3, 3, W, 2},    // the last one went: the new last one
        {4, 1, W, 2, 0, W, 1},    // one above went: the same entry stays selected
        {4, 1, W, 1, 3, W, 1},    // one below went: nothing moves
        {1, 2, W, 0, 0, L, 0},    // no window left: the first launcher entry
        {1, 0, W, 0, 0, C, 0},    // nor a launcher entry: the first command
        {3, 1, L, 0, 1, L, 0},    // the selection is not on a window: it stays
        {1, 0, W, 0, 0, C, 1, 1}, // only commands left: the cancel entry, not the desktop entry
    };
    for (const auto& c : cases) {
        SelectionState s;
        s.windowCount = c.windows;
        s.launcherCount = c.launchers;
        s.commandCount = 2;
        s.section = c.section;
        s.index = c.index;
        const SelectionState after = SelectionAfterRemoval(s, c.removed, c.cancel);
        const size_t i = &c - cases;
        EXPECT_EQ(after.section, c.wantSection) << i;
        EXPECT_EQ(after.index, c.wantIndex) << i;
        EXPECT_EQ(after.windowCount, c.windows - 1) << i;
    }
}

} // namespace
} // namespace mw

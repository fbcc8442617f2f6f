#include "controller/popup_narrowing.h"

#include <gtest/gtest.h>

namespace {

using namespace mw;

// With no match left the cancel entry is selected (never the desktop or close entry), or nothing.
TEST(PopupNarrowing, SelectionGoesToTheKeptWindowElseTheFirstEntry) {
    const struct {
        int windows, launchers, kept, cancel, section, index;
    } cases[] = {
        {3, 1, 2, 1, SectionWindows, 2},     {3, 1, -1, 1, SectionWindows, 0},
        {0, 2, -1, 1, SectionLauncher, 0},   {0, 0, -1, 1, SectionCommands, 1},
        {0, 0, -1, -1, SectionCommands, -1}, {1, 0, 5, 1, SectionWindows, 0},
    };
    for (const auto& c : cases) {
        SelectionState s;
        s.windowCount = c.windows;
        s.launcherCount = c.launchers;
        s.commandCount = 2;
        s.section = SectionCommands;
        s.index = 1;
        SelectAfterNarrowing(s, c.kept, c.cancel);
        EXPECT_EQ(s.section, c.section) << c.windows << "/" << c.launchers << "/" << c.kept;
        EXPECT_EQ(s.index, c.index) << c.windows << "/" << c.launchers << "/" << c.kept;
    }
}

} // namespace

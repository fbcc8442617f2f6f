#include "model/selection.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/selection_counts.h"

namespace {

using namespace mw;

// ---- stepping -----------------------------------------------------------------------------------

using Pos = std::pair<int, int>;

Pos At(const SelectionState& s) {
    return {s.section, s.index};
}

SelectionState At(SelectionState s, int section, int index) {
    s.section = section;
    s.index = index;
    return s;
}

// One step back from a selection, with and without wrap: whether it moved, and where it is.
TEST(SelectionStepping, Backwards) {
    struct Row {
        SelectionState from;
        bool wrap, moves;
        Pos to;
    };
    const Row rows[] = {
        // With wrap the first window goes to the last command, or with only windows to the last window.
        {At(Counts(3, 2, 2), SectionWindows, 0), true, true, {SectionCommands, 1}},
        {At(Counts(3, 0, 0), SectionWindows, 0), true, true, {SectionWindows, 2}},
        {At(Counts(1, 0, 0), SectionWindows, 0), true, false, {SectionWindows, 0}}, // a single entry
        {At(Counts(0, 0, 3), SectionCommands, 0), true, true, {SectionCommands, 2}},
        // Commands step back to launcher entries, or windows, even without wrap.
        {At(Counts(2, 3, 1), SectionCommands, 0), false, true, {SectionLauncher, 2}},
        {At(Counts(2, 0, 1), SectionCommands, 0), false, true, {SectionWindows, 1}},
        {At(Counts(2, 3, 1), SectionLauncher, 2), false, true, {SectionLauncher, 1}},
        // Without wrap the first entry stays; launcher entries step back to windows.
        {At(Counts(3, 2, 2), SectionWindows, 0), false, false, {SectionWindows, 0}},
        {At(Counts(3, 2, 2), SectionLauncher, 0), false, true, {SectionWindows, 2}},
        // Without windows the launcher entries open the list.
        {At(Counts(0, 2, 2), SectionLauncher, 0), false, false, {SectionLauncher, 0}},
        {At(Counts(0, 2, 2), SectionLauncher, 0), true, true, {SectionCommands, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "from " << row.from.section << "/" << row.from.index << " of " << row.from.windowCount
                     << "+" << row.from.launcherCount << "+" << row.from.commandCount
                     << (row.wrap ? " with wrap" : " without wrap"));
        SelectionState s = row.from;
        EXPECT_EQ(SelectPrevious(s, row.wrap), row.moves);
        EXPECT_EQ(At(s), row.to);
    }
}

// Every combination of section sizes, empty ones included: Next visits every entry once in list
// order and returns to the start; Previous with wrap walks the same cycle backwards; neither
// ever lands on an entry that does not exist.
TEST(SelectionStepping, NextAndPreviousCycleThroughEverySectionCombination) {
    for (int nW = 0; nW <= 2; ++nW)
        for (int nL = 0; nL <= 2; ++nL)
            for (int nC = 0; nC <= 2; ++nC) {
                const int total = nW + nL + nC;
                if (total == 0)
                    continue;
                SCOPED_TRACE(testing::Message() << "nW " << nW << " nL " << nL << " nC " << nC);
                std::vector<Pos> order;
                for (int i = 0; i < nW; ++i)
                    order.emplace_back(SectionWindows, i);
                for (int i = 0; i < nL; ++i)
                    order.emplace_back(SectionLauncher, i);
                for (int i = 0; i < nC; ++i)
                    order.emplace_back(SectionCommands, i);

                SelectionState s = Counts(nW, nL, nC);
                ASSERT_EQ(At(s), order[0]);
                for (int step = 1; step <= total; ++step) {
                    EXPECT_EQ(SelectNext(s), total > 1);
                    ASSERT_EQ(At(s), order[step % total]) << "next step " << step;
                }
                for (int step = 1; step <= total; ++step) {
                    EXPECT_EQ(SelectPrevious(s, true), total > 1);
                    ASSERT_EQ(At(s), order[(total - step) % total]) << "previous step " << step;
                }
                // Step forward walks the same order and stays on the last entry.
                s = Counts(nW, nL, nC);
                for (int step = 1; step < total; ++step) {
                    EXPECT_TRUE(StepForward(s));
                    ASSERT_EQ(At(s), order[step]);
                }
                EXPECT_FALSE(StepForward(s));
                EXPECT_EQ(At(s), order[total - 1]);
                // And step back without wrap walks back and stays on the first.
                for (int step = total - 2; step >= 0; --step) {
                    EXPECT_TRUE(SelectPrevious(s, false));
                    ASSERT_EQ(At(s), order[step]);
                }
                if (nW == 0 && nL == 0) {
                    // Commands alone: the first command steps back to the last one, wrap or not.
                    EXPECT_EQ(SelectPrevious(s, false), total > 1);
                    EXPECT_EQ(At(s), order[total - 1]);
                } else {
                    EXPECT_FALSE(SelectPrevious(s, false));
                    EXPECT_EQ(At(s), order[0]);
                }
            }
}

TEST(SelectionStepping, OnlyCommandsNextStaysInCommands) {
    // Past the last command with neither windows nor launcher entries, the empty launcher
    // section is no place to go: wrap to the first command.
    SelectionState s = At(Counts(0, 0, 2), SectionCommands, 1);
    EXPECT_TRUE(SelectNext(s));
    EXPECT_EQ(At(s), Pos(SectionCommands, 0));
}

TEST(SelectionStepping, NoSelectionDoesNotMove) {
    std::vector<SelectionState> invalid = {
        At(Counts(2, 0, 1), SectionLauncher, 0),                             // empty section
        At(Counts(2, 0, 1), SectionWindows, 2),                              // index past the count
        At(Counts(2, 0, 1), SectionWindows, -1), At(Counts(2, 0, 1), 25, 0), // unknown section
        At(Counts(0, 0, 0), SectionWindows, 0),                              // nothing at all
    };
    for (SelectionState s : invalid) {
        const Pos before = At(s);
        SelectionState a = s, b = s, c = s, e = s;
        EXPECT_FALSE(SelectPrevious(a, true));
        EXPECT_FALSE(SelectPrevious(b, false));
        EXPECT_FALSE(SelectNext(c));
        EXPECT_FALSE(StepForward(e));
        EXPECT_EQ(At(a), before);
        EXPECT_EQ(At(b), before);
        EXPECT_EQ(At(c), before);
        EXPECT_EQ(At(e), before);
    }
}

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

// The list after a middle click closed a window: which entry is selected once its entry left.
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

// The list after a middle click closed a window: which entry is selected once its entry left.
#include <gtest/gtest.h>

#include "controller/middle_close.h"
#include "model/item_list.h"

namespace mw {
namespace {

SelectionState Selection(int windows, int launchers, int section, int index) {
    SelectionState s;
    s.windowCount = windows;
    s.launcherCount = launchers;
    s.commandCount = 2;
    s.section = section;
    s.index = index;
    return s;
}

TEST(MiddleClose, SelectionAfterAWindowEntryLeft) {
    struct Case {
        int windows, launchers, section, index, removed;
        int wantSection, wantIndex;
    };
    const int W = SectionWindows, L = SectionLauncher, C = SectionCommands;
    const Case cases[] = {
        {4, 1, W, 1, 1, W, 1}, // the selected one went: the next one moves into its place
        {4, 1, W, 3, 3, W, 2}, // the last one went: the new last one
        {4, 1, W, 2, 0, W, 1}, // one above went: the same entry stays selected
        {4, 1, W, 1, 3, W, 1}, // one below went: nothing moves
        {1, 2, W, 0, 0, L, 0}, // no window left: the first launcher entry
        {1, 0, W, 0, 0, C, 0}, // nor a launcher entry: the first command
        {3, 1, L, 0, 1, L, 0}, // the selection is not on a window: it stays
        {3, 1, W, 1, 5, W, 1}, // an index that names no window changes nothing
    };
    for (const Case& c : cases) {
        const SelectionState after =
            SelectionAfterRemoval(Selection(c.windows, c.launchers, c.section, c.index), c.removed);
        SCOPED_TRACE(testing::Message() << c.windows << " windows, selected " << c.section << "/" << c.index
                                        << ", removed " << c.removed);
        EXPECT_EQ(after.section, c.wantSection);
        EXPECT_EQ(after.index, c.wantIndex);
        EXPECT_EQ(after.windowCount, c.removed < c.windows ? c.windows - 1 : c.windows);
        EXPECT_EQ(after.launcherCount, c.launchers);
    }
}

TEST(MiddleClose, RemovingAnEntryMovesTheOnesAfterItUp) {
    ItemList list;
    for (const wchar_t* name : {L"a", L"b", L"c"}) {
        ListItem item;
        InitListItem(item, name, DuplicateOwnedIcon(LoadIconW(nullptr, IDI_APPLICATION)), nullptr,
                     KindWindow);
        AdoptListItem(list, std::move(item));
    }
    EXPECT_EQ(RemoveListItem(list, 3), 0);
    ASSERT_EQ(RemoveListItem(list, 1), 1);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.slots[0].name, L"a");
    EXPECT_EQ(list.slots[1].name, L"c");
    EXPECT_TRUE(list.slots[1].icon) << "the icon moves with its entry";
    EXPECT_EQ(list.slots[2].inUse, 0);
    EXPECT_FALSE(list.slots[2].icon);
    ClearItemList(list);
}

} // namespace
} // namespace mw

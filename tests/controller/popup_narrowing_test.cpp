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

// The popup list keeps no live record above its count once it is narrowed or handed back.
TEST(PopupNarrowing, SlotsAboveTheCountAreFreeWhenNarrowedAndHandedBack) {
    static const HMONITOR kHere = reinterpret_cast<HMONITOR>(1), kThere = reinterpret_cast<HMONITOR>(2);
    WindowFactsSource source;
    source.monitor = [](HWND w) { return w == reinterpret_cast<HWND>(2) ? kHere : kThere; };
    PopupNarrowing p;
    p.monitor = kHere;
    ItemList list;
    for (int i = 1; i <= 3; ++i) {
        ListItem item;
        InitListItem(item, L"w", nullptr, reinterpret_cast<HWND>(static_cast<INT_PTR>(i)), KindWindow);
        AppendListItem(list, item);
    }
    auto freeAboveCount = [&list] {
        for (int i = list.count; i < ListCapacity; ++i)
            if (list.slots[i].inUse != 0)
                return false;
        return true;
    };
    p.narrowing.thisMonitorOnly = true;
    ApplyNarrowing(p, list, nullptr, nullptr, source);
    ASSERT_EQ(list.count, 1);
    EXPECT_TRUE(freeAboveCount()) << "narrowed";
    EndNarrowing(p, list);
    ASSERT_EQ(list.count, 3);
    EXPECT_TRUE(freeAboveCount()) << "handed back";
    ClearItemList(list);
}

} // namespace

#include "controller/popup_narrowing.h"

#include <gtest/gtest.h>

namespace {

using namespace mw;

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

#include "controller/popup_narrowing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace mw;

// Windows 1..4 are made-up handles; the odd ones lie on the popup's monitor.
HWND Window(int n) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(n));
}
HMONITOR Here() {
    return reinterpret_cast<HMONITOR>(1);
}
HMONITOR MonitorOf(HWND w) {
    return reinterpret_cast<HMONITOR>(reinterpret_cast<uintptr_t>(w) % 2 ? 1 : 2);
}
bool PathOf(HWND w, wchar_t* buffer) {
    wcscpy(buffer, w == Window(2) ? L"C:\\b\\beta.exe" : L"C:\\x\\other.exe");
    return true;
}

std::wstring Names(const ItemList& list) {
    std::wstring out;
    for (int i = 0; i < list.count; ++i)
        out += (i ? L"," : L"") + list.slots[i].name;
    return out;
}

TEST(PopupNarrowing, NarrowsInPlaceKeepsTheWindowAndPutsTheFullListBack) {
    ItemList popup;
    const wchar_t* titles[] = {L"alpha", L"gamma", L"delta", L"beta"};
    for (int i = 0; i < 4; ++i) {
        ListItem item;
        item.name = titles[i];
        item.window = Window(i + 1);
        AppendListItem(popup, item);
    }
    const WindowFactsSource source{PathOf, MonitorOf};
    PopupNarrowing p;
    p.monitor = Here();

    p.narrowing.thisMonitorOnly = true;
    EXPECT_EQ(ApplyNarrowing(p, popup, nullptr, Window(3), source), 1);
    EXPECT_EQ(Names(popup), L"alpha,delta");
    EXPECT_EQ(AllWindows(p, popup).count, 4);

    // "be" matches beta's title and window 2's program file name; window 2 is on the other monitor.
    p.narrowing.filter = L"be";
    EXPECT_EQ(ApplyNarrowing(p, popup, nullptr, Window(3), source), -1);
    EXPECT_EQ(Names(popup), L"");
    p.narrowing.thisMonitorOnly = false;
    ApplyNarrowing(p, popup, nullptr, nullptr, source);
    EXPECT_EQ(Names(popup), L"gamma,beta");

    EndNarrowing(p, popup);
    EXPECT_EQ(Names(popup), L"alpha,gamma,delta,beta");
    EXPECT_EQ(&AllWindows(p, popup), &popup);
    EXPECT_FALSE(IsNarrowed(p.narrowing));
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

} // namespace

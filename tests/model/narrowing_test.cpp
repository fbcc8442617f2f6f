#include "model/narrowing.h"

#include <gtest/gtest.h>

namespace {

using namespace mw;

TEST(Narrowing, TypedCharactersEditTheFilter) {
    const struct {
        const wchar_t* before;
        wchar_t typed;
        const wchar_t* after;
        bool changed;
    } cases[] = {
        {L"", L'b', L"b", true},
        {L"b", L'e', L"be", true},
        {L"be", L'\b', L"b", true},
        {L"", L'\b', L"", false},
        {L"be", L'\t', L"be", false},
        {L"be", L'\r', L"be", false},
        {L"be", L' ', L"be ", true}, // words are separated by spaces
        {L"", L' ', L"", false},     // an empty filter leaves Space to choose
        {L"be", 0x1B, L"be", false},
        {L"", L'ベ', L"ベ", true},
        {L"a\xD83D\xDE00", L'\b', L"a", true}, // a surrogate pair goes as one character
    };
    for (const auto& c : cases) {
        std::wstring filter = c.before;
        EXPECT_EQ(EditFilter(filter, c.typed), c.changed) << static_cast<int>(c.typed);
        EXPECT_EQ(filter, c.after) << static_cast<int>(c.typed);
    }
}

TEST(Narrowing, AWindowIsListedByScopeAndByTitleOrProgramFileName) {
    HMONITOR here = reinterpret_cast<HMONITOR>(1), there = reinterpret_cast<HMONITOR>(2);
    ListItem window;
    window.name = L"beta - Editor";
    const struct {
        const wchar_t* filter;
        bool thisMonitorOnly;
        HMONITOR monitor;
        const wchar_t* path;
        bool listed;
    } cases[] = {
        {L"", false, there, L"", true},
        {L"", true, here, L"", true},
        {L"", true, there, L"", false},
        {L"BE", false, there, L"", true},
        {L"zed", false, here, L"C:\\Tools\\zed.exe", true},
        {L"tools", false, here, L"C:\\Tools\\zed.exe", false}, // the folder is not the file name
        {L"zed", true, there, L"C:\\Tools\\zed.exe", false},
    };
    for (const auto& c : cases) {
        Narrowing n{c.filter, c.thisMonitorOnly};
        EXPECT_EQ(WindowIsListed(window, WindowFacts{c.path, c.monitor}, n, here), c.listed)
            << "\"" << c.filter << "\" " << c.thisMonitorOnly << " " << c.path;
    }
}

TEST(Narrowing, LauncherEntriesMatchByNameOrTargetAndIgnoreTheScope) {
    LauncherList all;
    const wchar_t* names[] = {L"Browser", L"Notes", L"Calc"};
    const wchar_t* paths[] = {L"C:\\b\\web.exe", L"C:\\n\\notes.exe", L"C:\\c\\calc.exe"};
    for (int i = 0; i < 3; ++i) {
        LauncherEntry e;
        e.name = names[i];
        e.path = paths[i];
        e.kind = KindLauncher;
        AppendLauncherEntry(all, e);
    }
    LauncherList shown;
    std::vector<int> places;
    NarrowLaunchers(all, Narrowing{L"WEB", true}, shown, places);
    ASSERT_EQ(shown.count, 1);
    EXPECT_EQ(shown.slots[0].name, L"Browser");
    EXPECT_EQ(places, std::vector<int>{0});
    NarrowLaunchers(all, Narrowing{L"", true}, shown, places);
    EXPECT_EQ(shown.count, 3);
    EXPECT_EQ(places, (std::vector<int>{0, 1, 2}));
}

TEST(Narrowing, TheProgramScopeKeepsTheSelectedProgramsWindowsAndWordStartsComeFirst) {
    ItemList all;
    const wchar_t* titles[] = {L"Notepad", L"pad notes", L"Paint", L"ぱっど"};
    for (const wchar_t* title : titles) {
        ListItem item;
        item.name = title;
        AppendListItem(all, item);
    }
    const std::vector<WindowFacts> facts = {{L"C:\\W\\notepad.exe", nullptr},
                                            {L"c:\\w\\NOTEPAD.EXE", nullptr},
                                            {L"C:\\W\\mspaint.exe", nullptr},
                                            {}};
    ItemList shown;
    Narrowing n;
    EXPECT_TRUE(NeedsProgramPaths(Narrowing{L"x"}));
    EXPECT_FALSE(ToggleProgramScope(n, L"")); // no program known: nothing to narrow to
    ASSERT_TRUE(ToggleProgramScope(n, L"C:\\W\\notepad.exe"));
    EXPECT_TRUE(NeedsProgramPaths(n));
    NarrowWindows(all, facts, n, nullptr, shown);
    ASSERT_EQ(shown.count, 2);
    n.filter = L"pad";
    NarrowWindows(all, facts, n, nullptr, shown);
    ASSERT_EQ(shown.count, 2);
    EXPECT_EQ(shown.slots[0].name, L"pad notes"); // at a word's start, before "Notepad"
    EXPECT_EQ(shown.slots[1].name, L"Notepad");
    ASSERT_TRUE(ToggleProgramScope(n, L"C:\\W\\notepad.exe"));
    EXPECT_FALSE(n.thisProgramOnly);
    NarrowWindows(all, facts, n, nullptr, shown);
    ASSERT_EQ(shown.count, 3); // "ぱっど" spells "pad" too
    EXPECT_EQ(shown.slots[2].name, L"Notepad");
    EXPECT_FALSE(SameProgram(L"", L""));
}

TEST(Narrowing, TheHeaderSaysHowTheListIsNarrowed) {
    const ScopeLabels labels{L"This monitor", L"This program"};
    Narrowing both{L"be", true, true, L"C:\\a.exe"};
    EXPECT_EQ(NarrowingHeader(both, labels), L"This monitor / This program: be");
    both.thisMonitorOnly = false;
    EXPECT_EQ(NarrowingHeader(both, labels), L"This program: be");
    both.filter.clear();
    EXPECT_EQ(NarrowingHeader(both, labels), L"This program");
    EXPECT_EQ(NarrowingHeader(Narrowing{}, L"This monitor"), L"");
    EXPECT_EQ(NarrowingHeader(Narrowing{L"be", false}, L"This monitor"), L"be");
    EXPECT_EQ(NarrowingHeader(Narrowing{L"", true}, L"This monitor"), L"This monitor");
    EXPECT_EQ(NarrowingHeader(Narrowing{L"be", true}, L"This monitor"), L"This monitor: be");
}

} // namespace

#include "model/list_building.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/test_windows.h"
#include "support/harness.h"
#include "support/program.h"
#include "system/window_list.h"

namespace {

using namespace mw;
using namespace mw_test;

// --- grouping by program ----------------------------------------------------------------------

// Made-up windows and the program paths the lookup reports for them; a window that is not in
// the map has a path that cannot be read.
using FakePaths = std::map<HWND, std::wstring>;

bool FindFakePath(void* context, HWND window, wchar_t* buffer) {
    const FakePaths& paths = *static_cast<const FakePaths*>(context);
    auto it = paths.find(window);
    if (it == paths.end()) {
        buffer[0] = L'\0';
        return false;
    }
    lstrcpynW(buffer, it->second.c_str(), TextBufferLength);
    return true;
}

ProgramPathLookup FakeLookup(FakePaths& paths) {
    return ProgramPathLookup{FindFakePath, &paths};
}

HWND FakeWindow(int n) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + n));
}

struct WindowSpec {
    const wchar_t* name;
    const wchar_t* path; // null: unreadable
    int showState;
};

// A popup list in Z order, as the enumeration leaves it; icon edges 16, 20, 24, ... tell the
// entries apart.
std::unique_ptr<ItemList> PopupListOf(FakePaths& paths, std::initializer_list<WindowSpec> specs) {
    auto list = CreateItemList();
    int k = 0;
    for (const WindowSpec& s : specs) {
        ListItem item;
        InitListItem(item, s.name, MakeTestIcon(16 + 4 * k), FakeWindow(k), KindWindow);
        item.order = k;
        item.showState = s.showState;
        if (s.path)
            paths[FakeWindow(k)] = s.path;
        EXPECT_EQ(AppendListItem(*list, item), 1);
        ++k;
    }
    return list;
}

std::wstring Names(const ItemList& list) {
    std::wstring s;
    for (int i = 0; i < list.count; ++i)
        s += list.slots[i].name + L" ";
    return s;
}

TEST(ArrangeByProgram, GroupsWindowsOfOneProgramInZOrderOfTheirFirst) {
    FakePaths paths;
    auto list = PopupListOf(paths, {{L"P1", L"C:\\p.exe", 0},
                                    {L"Q1", L"C:\\q.exe", 0},
                                    {L"P2", L"C:\\p.exe", 0},
                                    {L"R1", L"C:\\r.exe", 0},
                                    {L"Q2", L"C:\\q.exe", 0}});
    ArrangeByProgram(*list, FakeLookup(paths));

    ASSERT_EQ(list->count, 5);
    EXPECT_EQ(Names(*list), L"P1 P2 Q1 Q2 R1 ");
    // Window handle and icon travel with the entry (original positions 0 2 1 4 3).
    const int from[] = {0, 2, 1, 4, 3};
    for (int i = 0; i < 5; ++i) {
        const ListItem& e = list->slots[i];
        EXPECT_EQ(e.order, i);
        EXPECT_EQ(e.window, FakeWindow(from[i]));
        EXPECT_EQ(IconEdge(e.icon.get()), 16 + 4 * from[i]);
        EXPECT_EQ(e.kind, KindWindow);
        EXPECT_EQ(e.inUse, 1);
    }
    for (int i = 5; i < ListCapacity; ++i)
        EXPECT_EQ(list->slots[i].inUse, 0);
}

TEST(ArrangeByProgram, PathsDifferingInCaseAreOneProgramAndUnknownPathsOneGroup) {
    FakePaths paths;
    auto list = PopupListOf(paths, {{L"A1", L"C:\\Apps\\Editor.EXE", 0},
                                    {L"U1", nullptr, 0},
                                    {L"B1", L"C:\\b.exe", 0},
                                    {L"A2", L"c:\\apps\\editor.exe", 0},
                                    {L"U2", nullptr, 0}});
    ArrangeByProgram(*list, FakeLookup(paths));
    EXPECT_EQ(Names(*list), L"A1 A2 U1 U2 B1 ");
}

TEST(ArrangeByProgram, ShowStateMovesWithItsWindow) {
    FakePaths paths;
    // Q1 is maximised; P2 (normal) takes its position, Q1 keeps its state in the new one.
    auto list = PopupListOf(paths, {{L"P1", L"C:\\p.exe", StateNormal},
                                    {L"Q1", L"C:\\q.exe", StateMaximized},
                                    {L"P2", L"C:\\p.exe", StateNormal},
                                    {L"Q2", L"C:\\q.exe", StateMinimized}});
    ArrangeByProgram(*list, FakeLookup(paths));
    EXPECT_EQ(Names(*list), L"P1 P2 Q1 Q2 ");
    EXPECT_EQ(list->slots[1].showState, StateNormal);
    EXPECT_EQ(list->slots[2].showState, StateMaximized);
    EXPECT_EQ(list->slots[3].showState, StateMinimized);
}

TEST(ArrangeByProgram, LeavesGroupedShortAndEmptyListsAlone) {
    FakePaths paths;
    auto grouped =
        PopupListOf(paths, {{L"P1", L"C:\\p.exe", 0}, {L"P2", L"C:\\p.exe", 0}, {L"Q1", L"C:\\q.exe", 2}});
    ArrangeByProgram(*grouped, FakeLookup(paths));
    EXPECT_EQ(Names(*grouped), L"P1 P2 Q1 ");
    EXPECT_EQ(grouped->slots[2].showState, StateMaximized);

    auto single = PopupListOf(paths, {{L"only", L"C:\\p.exe", StateMinimized}});
    ArrangeByProgram(*single, FakeLookup(paths));
    ASSERT_EQ(single->count, 1);
    EXPECT_EQ(single->slots[0].showState, StateMinimized);
    EXPECT_EQ(single->slots[0].order, 0);

    auto empty = CreateItemList();
    ArrangeByProgram(*empty, FakeLookup(paths));
    EXPECT_EQ(empty->count, 0);
}

TEST(ArrangeByProgram, FullListOfAlternatingPrograms) {
    auto list = CreateItemList();
    FakePaths paths;
    for (int k = 0; k < ListCapacity; ++k) {
        ListItem item;
        InitListItem(item, std::to_wstring(k).c_str(), nullptr, FakeWindow(k), KindWindow);
        item.order = k;
        paths[FakeWindow(k)] = k % 2 ? L"odd.exe" : L"even.exe";
        AppendListItem(*list, item);
    }
    ArrangeByProgram(*list, FakeLookup(paths));
    ASSERT_EQ(list->count, ListCapacity);
    for (int i = 0; i < ListCapacity; ++i) {
        int expected = i < ListCapacity / 2 ? 2 * i : 2 * (i - ListCapacity / 2) + 1;
        EXPECT_EQ(list->slots[i].window, FakeWindow(expected)) << "position " << i;
        EXPECT_EQ(list->slots[i].order, i);
    }
}

// The real lookup reads each process's path once and hands it to every window of that process:
// windows of this process around a window of another program still form one group.
TEST(ArrangeByProgram, RealPathsGroupTheWindowsOfOneProcess) {
    HWND first = test::CreateTestWindow(L"arrange own 1", WS_POPUP | WS_VISIBLE, 0, nullptr, 10, 10, 50, 40);
    HWND second = test::CreateTestWindow(L"arrange own 2", WS_POPUP | WS_VISIBLE, 0, nullptr, 70, 10, 50, 40);
    test::ChildProcess other;
    ASSERT_TRUE(other.Start(test::BinDir() + L"\\target_window.exe", L"\"arrange other\"", test::BinDir()));
    HWND foreign = nullptr;
    ASSERT_TRUE(test::WaitFor(
        [&] {
            auto windows = test::WindowsOfProcess(other.pid(), L"MwTargetWindow");
            foreign = windows.empty() ? nullptr : windows.front();
            return foreign != nullptr;
        },
        10000));

    auto list = CreateItemList();
    for (HWND w : {first, foreign, second}) {
        ListItem item;
        InitListItem(item, L"w", nullptr, w, KindWindow);
        item.showState = w == foreign ? StateMaximized : StateNormal;
        AppendListItem(*list, item);
    }
    ProgramPathMemo memo;
    ListProgramPaths paths{&memo, {}};
    ArrangeByProgram(*list, ListProgramPathLookup(paths));
    ASSERT_EQ(list->count, 3);
    EXPECT_EQ(list->slots[0].window, first);
    EXPECT_EQ(list->slots[1].window, second);
    EXPECT_EQ(list->slots[2].window, foreign);
    EXPECT_EQ(list->slots[2].showState, StateMaximized);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list->slots[i].order, i);
    DestroyWindow(first);
    DestroyWindow(second);
}

// What the desktop entry keeps of the windows it minimises: after a narrowing or a removal the
// listed windows carry gaps in their order numbers; each record's order is its position.
TEST(DesktopRecords, OneRecordPerListedWindowNumberedByPosition) {
    ItemList shown;
    const int orders[] = {0, 3, 7};
    for (int i = 0; i < 3; ++i) {
        ListItem item;
        InitListItem(item, L"listed", nullptr, reinterpret_cast<HWND>(static_cast<INT_PTR>(10 + i)),
                     KindWindow);
        item.order = orders[i];
        item.showState = i == 1 ? StateMaximized : StateNormal;
        AppendListItem(shown, item);
    }
    ItemList saved;
    RecordDesktopWindows(shown, saved);
    ASSERT_EQ(saved.count, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(saved.slots[i].order, i);
        EXPECT_EQ(saved.slots[i].window, shown.slots[i].window);
        EXPECT_TRUE(saved.slots[i].name.empty());
    }
    EXPECT_EQ(saved.slots[1].showState, StateMaximized);
    ClearItemList(shown);
    ClearItemList(saved);
}

// --- command entries ----------------------------------------------------------------------------

// The program's icons live in the executable beside the tests.
class CommandList : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dir(path);
        dir = dir.substr(0, dir.find_last_of(L"\\/") + 1);
        program_ = LoadLibraryExW((dir + L"Mistlewick.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program_, nullptr) << "Mistlewick.exe is built beside the tests";
    }
    void TearDown() override {
        if (program_)
            FreeLibrary(program_);
    }

    static std::wstring Kinds(const ItemList& list) {
        std::wstring s;
        for (int i = 0; i < list.count; ++i)
            s += std::to_wstring(list.slots[i].kind);
        return s;
    }

    HMODULE program_ = nullptr;
};

TEST_F(CommandList, DefaultsGiveDesktopToggleThenCancelWithIconsAtTheDesignSize) {
    auto list = CreateItemList();
    Preferences prefs;
    BuildCommandList(*list, prefs, false, 24, program_);
    ASSERT_EQ(Kinds(*list), L"34");
    EXPECT_EQ(list->slots[0].name, L"デスクトップの表示 / 非表示");
    EXPECT_EQ(list->slots[1].name, L"キャンセル");
    for (int i = 0; i < list->count; ++i) {
        const ListItem& e = list->slots[i];
        EXPECT_EQ(IconEdge(e.icon.get()), 24);
        EXPECT_EQ(e.window, nullptr);
        EXPECT_EQ(e.order, -1);
        EXPECT_EQ(e.showState, StateNormal);
        EXPECT_EQ(e.inUse, 1);
    }
}

TEST_F(CommandList, CombinationsOfPreferences) {
    auto list = CreateItemList();
    Preferences prefs;
    prefs.CloseWnd = 1;
    BuildCommandList(*list, prefs, false, 32, program_);
    ASSERT_EQ(Kinds(*list), L"354") << "the close entry stands between toggle and cancel";
    EXPECT_EQ(list->slots[1].name, L"だみぃ");
    EXPECT_EQ(IconEdge(list->slots[1].icon.get()), 32);

    BuildCommandList(*list, prefs, true, 32, program_);
    EXPECT_EQ(Kinds(*list), L"34") << "launcher-only mode has nothing to close";

    prefs.ToggleDesktop = 0;
    prefs.CloseWnd = 0;
    BuildCommandList(*list, prefs, false, 32, program_);
    EXPECT_EQ(Kinds(*list), L"4");
    EXPECT_EQ(list->slots[1].inUse, 0) << "a rebuild releases what the earlier build held";

    prefs.Cansel = 0;
    BuildCommandList(*list, prefs, false, 32, program_);
    EXPECT_EQ(list->count, 0);
}

TEST_F(CommandList, MissingIconResourcesStillGiveTheEntries) {
    auto list = CreateItemList();
    Preferences prefs;
    prefs.CloseWnd = 1;
    // hook.dll carries no icon resources.
    HMODULE noIcons = LoadLibraryExW(L"hook.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(noIcons, nullptr);
    BuildCommandList(*list, prefs, false, 32, noIcons);
    FreeLibrary(noIcons);
    ASSERT_EQ(Kinds(*list), L"354");
    for (int i = 0; i < list->count; ++i)
        EXPECT_EQ(list->slots[i].icon.get(), nullptr);
}

TEST_F(CommandList, CloseEntryLabelReplacesOnlyCloseEntries) {
    auto list = CreateItemList();
    Preferences prefs;
    prefs.CloseWnd = 1;
    BuildCommandList(*list, prefs, false, 16, program_);
    HICON closeIcon = list->slots[1].icon.get();

    SetCloseEntryLabels(*list, L"「メモ帳」を閉じる");
    EXPECT_EQ(list->slots[0].name, L"デスクトップの表示 / 非表示");
    EXPECT_EQ(list->slots[1].name, L"「メモ帳」を閉じる");
    EXPECT_EQ(list->slots[1].icon.get(), closeIcon);
    EXPECT_EQ(list->slots[2].name, L"キャンセル");

    SetCloseEntryLabels(*list, nullptr);
    EXPECT_EQ(list->slots[1].name, L"");
}

TEST(CloseEntryLabel, FramesTheTitleOfTheTarget) {
    HWND w = CreateWindowExW(0, PlainClass(), L"メモ帳 - 無題", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(CloseEntryLabel(ResourceLanguage(kLanguageAuto), w), L"「メモ帳 - 無題」を閉じる");
    SetWindowTextW(w, L"");
    EXPECT_EQ(CloseEntryLabel(ResourceLanguage(kLanguageAuto), w), L"「」を閉じる");
    std::wstring longTitle(400, L'z');
    SetWindowTextW(w, longTitle.c_str());
    EXPECT_EQ(CloseEntryLabel(ResourceLanguage(kLanguageAuto), w),
              L"「" + std::wstring(259, L'z') + L"」を閉じる");
    DestroyWindow(w);
    EXPECT_EQ(CloseEntryLabel(ResourceLanguage(kLanguageAuto), nullptr), L"「」を閉じる");
}

TEST(PopupHasSomethingToShow, OpensForLaunchersTwoWindowsOrOneWindowWithTheToggle) {
    EXPECT_FALSE(PopupHasSomethingToShow(0, 0, true));
    EXPECT_FALSE(PopupHasSomethingToShow(1, 0, false));
    EXPECT_TRUE(PopupHasSomethingToShow(1, 0, true));
    EXPECT_TRUE(PopupHasSomethingToShow(2, 0, false));
    EXPECT_TRUE(PopupHasSomethingToShow(0, 1, false));
}

} // namespace

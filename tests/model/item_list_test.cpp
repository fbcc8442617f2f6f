#include "model/item_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/test_windows.h"

namespace {

using namespace mw;
using mw_test::IconEdge;
using mw_test::MakeTestIcon;

LauncherEntry MakeEntry(const wchar_t* name, int iconSize, const wchar_t* path) {
    LauncherEntry e;
    InitListItem(e, name, MakeTestIcon(iconSize), nullptr, KindLauncher);
    SetLauncherFields(e, (std::wstring(L"cmd-") + name).c_str(), path, (std::wstring(L"dir-") + name).c_str(),
                      nullptr, iconSize);
    return e;
}

std::unique_ptr<LauncherList> ListOf(std::initializer_list<const wchar_t*> names) {
    auto list = CreateLauncherList();
    int size = 16;
    for (const wchar_t* n : names) {
        LauncherEntry e = MakeEntry(n, size, (std::wstring(L"C:\\") + n + L".exe").c_str());
        EXPECT_EQ(AppendLauncherEntry(*list, e), 1);
        EXPECT_EQ(DestroyLauncherEntry(e), 1);
        size += 8;
    }
    return list;
}

std::wstring Names(const LauncherList& list) {
    std::wstring s;
    for (int i = 0; i < list.count; ++i)
        s += list.slots[i].name + L";";
    return s;
}

TEST(ListItemRecords, InitTakesOverIconAndAbsentNameIsEmpty) {
    ListItem item;
    HICON icon = MakeTestIcon(16);
    EXPECT_EQ(InitListItem(item, nullptr, icon, nullptr, KindCancel), 1);
    EXPECT_EQ(item.inUse, 1);
    EXPECT_TRUE(item.name.empty());
    EXPECT_EQ(item.icon.get(), icon) << "InitListItem takes the handle over without duplicating it";
    EXPECT_EQ(item.order, -1);
    EXPECT_EQ(item.showState, StateNormal);
}

TEST(ListItemRecords, CopyDuplicatesEverythingAndSelfCopyIsHarmless) {
    LauncherEntry a = MakeEntry(L"a", 24, L"C:\\a.exe");
    a.order = 3;
    a.showState = StateMaximized;
    LauncherEntry b;
    CopyLauncherEntry(b, a);
    EXPECT_NE(b.icon.get(), a.icon.get());
    EXPECT_EQ(IconEdge(b.icon.get()), 24);
    EXPECT_EQ(b.path, L"C:\\a.exe");
    EXPECT_EQ(b.commandLine, L"cmd-a");
    EXPECT_EQ(b.order, -1);
    EXPECT_EQ(b.showState, StateNormal);
    EXPECT_EQ(b.window, nullptr);
    HICON before = a.icon.get();
    CopyLauncherEntry(a, a);
    EXPECT_EQ(a.icon.get(), before);
    EXPECT_EQ(a.name, L"a");
    DestroyLauncherEntry(a);
    EXPECT_EQ(IconEdge(b.icon.get()), 24) << "the copy lives on after the source is released";
    EXPECT_EQ(DestroyLauncherEntry(a), 0) << "releasing an empty slot is refused";
}

TEST(ListItemRecords, EntryFromWindowItemKeepsWindowAndPath) {
    ListItem w;
    InitListItem(w, L"title", MakeTestIcon(16), reinterpret_cast<HWND>(0x1234), KindWindow);
    LauncherEntry e;
    EntryFromWindowItem(e, w, L"C:\\p.exe");
    EXPECT_EQ(e.window, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(e.path, L"C:\\p.exe");
    EXPECT_EQ(e.kind, KindWindow);
    EXPECT_NE(e.icon.get(), w.icon.get());
    LauncherEntry copy;
    CopyLauncherEntry(copy, e);
    EXPECT_EQ(copy.window, e.window) << "window entries carry their window through a copy";
}

TEST(ItemLists, AppendCopiesClearReleasesAndCapacityIsHard) {
    auto list = CreateItemList();
    EXPECT_EQ(ClearItemList(*list), 0);
    ListItem item;
    InitListItem(item, L"x", MakeTestIcon(16), nullptr, KindWindow);
    item.order = 7;
    item.showState = StateMinimized;
    for (int i = 0; i < ListCapacity; ++i)
        ASSERT_EQ(AppendListItem(*list, item), 1);
    EXPECT_EQ(AppendListItem(*list, item), 0) << "never a 51st slot";
    EXPECT_EQ(list->count, ListCapacity);
    EXPECT_EQ(list->slots[49].order, 7);
    EXPECT_EQ(list->slots[49].showState, StateMinimized);
    EXPECT_NE(list->slots[0].icon.get(), item.icon.get());
    EXPECT_EQ(ItemNameLength(*list, 3), 1);
    wchar_t buffer[4] = {L'?', L'?', L'?', L'?'};
    CopyItemName(*list, 3, buffer);
    EXPECT_STREQ(buffer, L"x");
    EXPECT_EQ(ClearItemList(*list), 1);
    EXPECT_EQ(list->count, 0);
    for (const ListItem& slot : list->slots) {
        EXPECT_EQ(slot.inUse, 0);
        EXPECT_EQ(slot.icon.get(), nullptr);
    }
}

TEST(LauncherLists, RemoveShiftsDownAndKeepsSlotsBehindCountEmpty) {
    auto list = ListOf({L"a", L"b", L"c"});
    EXPECT_EQ(RemoveLauncherEntry(*list, 3), 0);
    EXPECT_EQ(RemoveLauncherEntry(*list, -1), 0);
    EXPECT_EQ(RemoveLauncherEntry(*list, 1), 1);
    EXPECT_EQ(Names(*list), L"a;c;");
    EXPECT_EQ(list->slots[1].path, L"C:\\c.exe");
    EXPECT_EQ(IconEdge(list->slots[1].icon.get()), 32);
    EXPECT_EQ(list->slots[2].inUse, 0);
    EXPECT_EQ(RemoveLauncherEntry(*list, 1), 1);
    EXPECT_EQ(RemoveLauncherEntry(*list, 0), 1);
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->slots[0].inUse, 0);
    EXPECT_EQ(ClearLauncherList(*list), 0);
}

TEST(LauncherLists, MovesSwapAllFieldsAndRefuseAtTheEnds) {
    auto list = ListOf({L"a", L"b", L"c"});
    EXPECT_EQ(MoveLauncherEntryUp(*list, 0), 0);
    EXPECT_EQ(MoveLauncherEntryDown(*list, 2), 0);
    EXPECT_EQ(MoveLauncherEntryDown(*list, -1), 0);
    EXPECT_EQ(Names(*list), L"a;b;c;");
    EXPECT_EQ(MoveLauncherEntryDown(*list, 0), 1);
    EXPECT_EQ(Names(*list), L"b;a;c;");
    EXPECT_EQ(list->slots[0].path, L"C:\\b.exe");
    EXPECT_EQ(list->slots[0].workFolder, L"dir-b");
    EXPECT_EQ(list->slots[0].iconIndex, 24);
    EXPECT_EQ(IconEdge(list->slots[0].icon.get()), 24);
    EXPECT_EQ(IconEdge(list->slots[1].icon.get()), 16);
    EXPECT_EQ(list->slots[1].order, -1);
    EXPECT_EQ(MoveLauncherEntryUp(*list, 2), 1);
    EXPECT_EQ(Names(*list), L"b;c;a;");
    auto single = ListOf({L"only"});
    EXPECT_EQ(MoveLauncherEntryUp(*single, 0), 0);
    EXPECT_EQ(MoveLauncherEntryDown(*single, 0), 0);
}

TEST(LauncherLists, FieldSelectorsAndUpdateKeepPathAndIcon) {
    auto list = ListOf({L"a", L"b"});
    EXPECT_EQ(LauncherFieldLength(*list, 1, FieldPath), 8);
    EXPECT_EQ(LauncherFieldLength(*list, 1, 5), 0);
    EXPECT_EQ(LauncherFieldLength(*list, 1, 15), 0);
    wchar_t buffer[16] = L"unchanged";
    CopyLauncherField(*list, 1, 15, buffer);
    EXPECT_STREQ(buffer, L"unchanged");
    CopyLauncherField(*list, 1, FieldWorkFolder, buffer);
    EXPECT_STREQ(buffer, L"dir-b");
    // The property dialog hands in strings that may point into the entry itself.
    LauncherEntry& b = list->slots[1];
    EXPECT_EQ(UpdateLauncherEntry(*list, 1, L"renamed", b.commandLine.c_str(), L"", L"C:\\icons.dll", 4), 1);
    EXPECT_EQ(b.name, L"renamed");
    EXPECT_EQ(b.commandLine, L"cmd-b");
    EXPECT_EQ(b.path, L"C:\\b.exe");
    EXPECT_EQ(b.iconFile, L"C:\\icons.dll");
    EXPECT_EQ(b.iconIndex, 4);
    EXPECT_EQ(b.kind, KindLauncher);
    EXPECT_EQ(IconEdge(b.icon.get()), 24);
    EXPECT_EQ(UpdateLauncherEntry(*list, 2, L"x", nullptr, nullptr, nullptr, 0), 0);
}

} // namespace

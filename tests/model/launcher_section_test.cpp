#include "model/launcher_section.h"

#include <gtest/gtest.h>

#include <string>

#include "system/file_icon.h"
#include "support/icon_probe.h"
#include "support/temp_dir.h"

namespace {

using namespace mw;
using mw::test::IconBitmapSize;
using mw::test::SameIconPixels;
using mw::test::TempDir;
using mw::test::WriteTextFile;

const wchar_t kNotepad[] = L"C:\\windows\\notepad.exe";
const wchar_t kRegedit[] = L"C:\\windows\\regedit.exe";
const wchar_t kShell32[] = L"C:\\windows\\system32\\shell32.dll";

// Launcher entries numbered `first` to `last`, each opening a file of a type nobody registered,
// so loading them asks for no real icon and stays fast.
std::wstring NumberedEntries(int first, int last) {
    std::wstring text;
    for (int n = first; n <= last; ++n) {
        const std::wstring k = std::to_wstring(n);
        text += L"path" + k + L"=C:\\nowhere\\entry" + k + L".mwnone\r\n";
        text += L"name" + k + L"=entry" + k + L"\r\n";
    }
    return text;
}

struct LoadedList {
    std::unique_ptr<LauncherList> list = CreateLauncherList();
    ~LoadedList() { ClearLauncherList(*list); }
};

TEST(LauncherSection, EntriesCarryTheirFieldsAndIcons) {
    TempDir dir;
    const std::wstring ini = dir.file(L"Mistlewick.exe.ini");
    WriteTextFile(
        ini, L"[Preference]\r\nClickMode=1\r\n"
             L"[Launcher]\r\ncnt=4\r\n"
             // 1: a program with everything set, no chosen icon
             L"path1=C:\\windows\\notepad.exe\r\nname1=メモ帳\r\nwfol1=C:\\Users\r\ncmnd1=/p notes.txt\r\n"
             // 2: a chosen icon file without an index key: the file's first icon
             L"path2=C:\\windows\\notepad.exe\r\nname2=Shell\r\nicon2=C:\\windows\\system32\\shell32.dll\r\n"
             // 3: an index but no icon file: the path's own icon, whatever the index says
             L"path3=C:\\windows\\regedit.exe\r\nname3=Registry\r\nicon_idx3=5\r\n"
             // 4: a chosen icon file with an index
             L"path4=C:\\windows\\notepad.exe\r\nname4=Fourth\r\nicon4=C:\\windows\\system32\\shell32.dll\r\n"
             L"icon_idx4=3\r\n");
    LoadedList loaded;
    ASSERT_EQ(LoadLauncherSection(ini, 48, *loaded.list), 4);
    const LauncherList& list = *loaded.list;
    ASSERT_EQ(list.count, 4);

    const LauncherEntry& first = list.slots[0];
    EXPECT_EQ(first.inUse, 1);
    EXPECT_EQ(first.kind, KindLauncher);
    EXPECT_EQ(first.window, nullptr);
    EXPECT_EQ(first.order, -1);
    EXPECT_EQ(first.name, L"メモ帳");
    EXPECT_EQ(first.path, kNotepad);
    EXPECT_EQ(first.workFolder, L"C:\\Users");
    EXPECT_EQ(first.commandLine, L"/p notes.txt");
    EXPECT_EQ(first.iconFile, L"");
    EXPECT_EQ(first.iconIndex, 0);
    UniqueIcon notepad(FileIcon(kNotepad, 48));
    EXPECT_EQ(IconBitmapSize(first.icon.get()).width, 48);
    EXPECT_EQ(IconBitmapSize(first.icon.get()).height, 48);
    EXPECT_TRUE(SameIconPixels(first.icon.get(), notepad.get(), 48));

    const LauncherEntry& second = list.slots[1];
    EXPECT_EQ(second.iconFile, kShell32);
    EXPECT_EQ(second.iconIndex, 0);
    UniqueIcon shellFirst(ExtractOneIcon(kShell32, 0, 48));
    EXPECT_TRUE(SameIconPixels(second.icon.get(), shellFirst.get(), 48));
    EXPECT_FALSE(SameIconPixels(second.icon.get(), notepad.get(), 48))
        << "the chosen icon wins over the path's";

    const LauncherEntry& third = list.slots[2];
    EXPECT_EQ(third.iconFile, L"");
    EXPECT_EQ(third.iconIndex, 5);
    UniqueIcon regedit(FileIcon(kRegedit, 48));
    EXPECT_TRUE(SameIconPixels(third.icon.get(), regedit.get(), 48));

    const LauncherEntry& fourth = list.slots[3];
    EXPECT_EQ(fourth.iconIndex, 3);
    UniqueIcon shellThird(ExtractOneIcon(kShell32, 3, 48));
    EXPECT_TRUE(SameIconPixels(fourth.icon.get(), shellThird.get(), 48));
    EXPECT_FALSE(SameIconPixels(fourth.icon.get(), shellFirst.get(), 48));
}

TEST(LauncherSection, IconsFollowTheRequestedSizeAndMissingIconsLeaveNone) {
    TempDir dir;
    const std::wstring ini = dir.file(L"prefs.ini");
    WriteTextFile(ini,
                  L"[Launcher]\r\ncnt=3\r\n"
                  L"path1=C:\\windows\\notepad.exe\r\nname1=Small\r\n"
                  L"path2=C:\\windows\\notepad.exe\r\nname2=No such icon\r\n"
                  L"icon2=C:\\windows\\system32\\shell32.dll\r\nicon_idx2=100000\r\n"
                  L"path3=C:\\nowhere\\gone.exe\r\nname3=Gone\r\n",
                  /*utf16=*/false);
    LoadedList loaded;
    ASSERT_EQ(LoadLauncherSection(ini, 16, *loaded.list), 3);
    EXPECT_EQ(IconBitmapSize(loaded.list->slots[0].icon.get()).width, 16);
    EXPECT_EQ(loaded.list->slots[1].icon.get(), nullptr) << "the entry stays, without an icon";
    EXPECT_EQ(loaded.list->slots[1].name, L"No such icon");
    EXPECT_EQ(loaded.list->slots[2].icon.get(), nullptr);
    EXPECT_EQ(loaded.list->slots[2].inUse, 1);
}

TEST(LauncherSection, CountAboveCapacityLoadsTheFirstFifty) {
    TempDir dir;
    const std::wstring ini = dir.file(L"prefs.ini");
    WriteTextFile(ini, L"[Launcher]\r\ncnt=60\r\n" + NumberedEntries(1, 60));
    EXPECT_EQ(StoredLauncherCount(ini), 60) << "the file's own count stays visible";
    LoadedList loaded;
    EXPECT_EQ(LoadLauncherSection(ini, 32, *loaded.list), ListCapacity);
    ASSERT_EQ(loaded.list->count, ListCapacity);
    EXPECT_EQ(loaded.list->slots[0].name, L"entry1");
    EXPECT_EQ(loaded.list->slots[ListCapacity - 1].name, L"entry50");
    EXPECT_EQ(loaded.list->slots[ListCapacity - 1].path, L"C:\\nowhere\\entry50.mwnone");
}

TEST(LauncherSection, LoadingStopsWhereTheListIsFull) {
    TempDir dir;
    const std::wstring ini = dir.file(L"prefs.ini");
    WriteTextFile(ini, L"[Launcher]\r\ncnt=5\r\n" + NumberedEntries(1, 5));
    LoadedList loaded;
    LauncherEntry filler;
    InitListItem(filler, L"already here", nullptr, nullptr, KindLauncher);
    for (int i = 0; i < ListCapacity - 2; ++i)
        ASSERT_EQ(AppendLauncherEntry(*loaded.list, filler), 1);
    DestroyLauncherEntry(filler);

    EXPECT_EQ(LoadLauncherSection(ini, 32, *loaded.list), 2);
    EXPECT_EQ(loaded.list->count, ListCapacity);
    EXPECT_EQ(loaded.list->slots[ListCapacity - 1].name, L"entry2");
}

TEST(LauncherSection, CountBeyondTheKeysGivesEmptyEntries) {
    TempDir dir;
    const std::wstring ini = dir.file(L"prefs.ini");
    WriteTextFile(ini, L"[Launcher]\r\ncnt=4\r\n" + NumberedEntries(1, 2));
    LoadedList loaded;
    EXPECT_EQ(LoadLauncherSection(ini, 32, *loaded.list), 4);
    ASSERT_EQ(loaded.list->count, 4);
    EXPECT_EQ(loaded.list->slots[1].name, L"entry2");
    for (int i : {2, 3}) {
        const LauncherEntry& empty = loaded.list->slots[i];
        EXPECT_EQ(empty.inUse, 1);
        EXPECT_EQ(empty.name, L"");
        EXPECT_EQ(empty.path, L"");
        EXPECT_EQ(empty.icon.get(), nullptr) << "an empty path has no icon";
    }
}

TEST(LauncherSection, NegativeOrMissingCountLoadsNothing) {
    TempDir dir;
    const std::wstring negative = dir.file(L"negative.ini");
    WriteTextFile(negative, L"[Launcher]\r\ncnt=-3\r\n" + NumberedEntries(1, 3));
    LoadedList loaded;
    EXPECT_EQ(StoredLauncherCount(negative), -3);
    EXPECT_EQ(LoadLauncherSection(negative, 32, *loaded.list), 0);
    EXPECT_EQ(loaded.list->count, 0);

    const std::wstring noCount = dir.file(L"nocount.ini");
    WriteTextFile(noCount, L"[Launcher]\r\n" + NumberedEntries(1, 3));
    EXPECT_EQ(LoadLauncherSection(noCount, 32, *loaded.list), 0);
    EXPECT_EQ(LoadLauncherSection(dir.file(L"missing.ini"), 32, *loaded.list), 0);
    EXPECT_EQ(StoredLauncherCount(dir.file(L"missing.ini")), 0);
    EXPECT_EQ(loaded.list->count, 0);
}

TEST(LauncherSection, OverlongValuesAreCutToTheBuffer) {
    TempDir dir;
    const std::wstring ini = dir.file(L"prefs.ini");
    const std::wstring longName(400, L'n');
    WriteTextFile(ini, L"[Launcher]\r\ncnt=1\r\npath1=C:\\nowhere\\x.mwnone\r\nname1=" + longName + L"\r\n");
    LoadedList loaded;
    ASSERT_EQ(LoadLauncherSection(ini, 32, *loaded.list), 1);
    EXPECT_EQ(loaded.list->slots[0].name, std::wstring(259, L'n'));
}

} // namespace

// The Program launcher page and the entry property dialog, in-process against a real preferences
// file: after every step the launcher list, the list box and the file's "Launcher" section must
// tell the same story, numbered from 1 without gaps.
#include <windows.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <vector>

#include "model/launcher_section.h"
#include "settings/preferences_file.h"
#include "model/item_list.h"
#include "options/launcher_page.h"
#include "options/option_test_fixture.h"
#include "platform/unique_handle.h"
#include "resource.h"
#include "support/png.h"
#include "view/design.h"
#include "model/program_state.h"

namespace mw::test {
namespace {

// --- pure pieces -------------------------------------------------------------------------------

TEST(LauncherPagePieces, NameIsTheFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(LauncherNameFromPath(L"C:\\bin\\app.exe"), L"app");
    EXPECT_EQ(LauncherNameFromPath(L"C:\\docs\\report.final.txt"), L"report.final");
    EXPECT_EQ(LauncherNameFromPath(L"C:\\Program Files\\Tools"), L"Tools");
    EXPECT_EQ(LauncherNameFromPath(L"C:/mixed/sep/x.lnk"), L"x");
    EXPECT_EQ(LauncherNameFromPath(L"C:\\dir.d\\noext"), L"noext") << "a dot in a folder is no extension";
    EXPECT_EQ(LauncherNameFromPath(L"plain"), L"plain");
    EXPECT_EQ(LauncherNameFromPath(nullptr), L"");
}

TEST(LauncherPagePieces, SelectionAfterRemovalAndIconOrigin) {
    EXPECT_EQ(LauncherLineAfterDelete(0, 2), 0);
    EXPECT_EQ(LauncherLineAfterDelete(0, 0), 0);
    EXPECT_EQ(LauncherLineAfterDelete(1, 2), 1) << "the next entry moves up into the line";
    EXPECT_EQ(LauncherLineAfterDelete(2, 2), 1) << "the last one went: select the new last";
    EXPECT_EQ(PropertyIconOrigin(32).x, 84);
    EXPECT_EQ(PropertyIconOrigin(32).y, 54);
    EXPECT_EQ(PropertyIconOrigin(15).x, 93);
    EXPECT_EQ(PropertyIconOrigin(15).y, 63);
    // A property dialog scaled to 144 DPI: the icon of icon-size 32 is 48 pixels, centred on the
    // same place of the dialog, (150, 105).
    EXPECT_EQ(PropertyIconOrigin(48, 144).x, 126);
    EXPECT_EQ(PropertyIconOrigin(48, 144).y, 81);
}

// Elevated, the program never got files dropped from Explorer (a process of lower integrity).
// Wine has no integrity levels, so the filter calls are recorded instead.
struct FilterCall {
    HWND window;
    UINT message;
    DWORD action;
};
std::vector<FilterCall> g_filterCalls;
BOOL WINAPI RecordFilter(HWND window, UINT message, DWORD action, void*) {
    g_filterCalls.push_back({window, message, action});
    return TRUE;
}

TEST(LauncherPagePieces, DropMessagesAreLetThroughToTheListWhileElevated) {
    EXPECT_NE(mw::SystemMessageFilter(), nullptr) << "present since Windows 7";
    const HWND list = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    g_filterCalls.clear();
    EXPECT_TRUE(mw::AllowDropsFromLowerIntegrity(list, RecordFilter));
    ASSERT_EQ(g_filterCalls.size(), 3u);
    const UINT expected[] = {WM_DROPFILES, WM_COPYDATA, 0x0049};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(g_filterCalls[i].window, list);
        EXPECT_EQ(g_filterCalls[i].message, expected[i]);
        EXPECT_EQ(g_filterCalls[i].action, 1u) << "MSGFLT_ALLOW";
    }
    EXPECT_FALSE(mw::AllowDropsFromLowerIntegrity(list, nullptr));
}

TEST(LauncherPagePieces, RefusalTextsSayHowManyAndWhy) {
    EXPECT_EQ(AddRefusalText(ResourceLanguage(kLanguageAuto), 0, 0), L"");
    EXPECT_NE(AddRefusalText(ResourceLanguage(kLanguageAuto), 1, 0).find(L"いっぱい"), std::wstring::npos);
    EXPECT_NE(AddRefusalText(ResourceLanguage(kLanguageAuto), 1, 0).find(L"50"), std::wstring::npos);
    EXPECT_NE(AddRefusalText(ResourceLanguage(kLanguageAuto), 3, 0).find(L"3個"), std::wstring::npos);
    const std::wstring both = AddRefusalText(ResourceLanguage(kLanguageAuto), 2, 1);
    EXPECT_NE(both.find(L"2個"), std::wstring::npos);
    EXPECT_NE(both.find(L"1個"), std::wstring::npos);
    EXPECT_NE(both.find(L"長すぎる"), std::wstring::npos);
    EXPECT_NE(HiddenEntriesText(ResourceLanguage(kLanguageAuto), 57).find(L"57"), std::wstring::npos);
}

// --- the page against a file -----------------------------------------------------------------

std::wstring Key(const std::wstring& path, const wchar_t* key) {
    wchar_t buffer[512];
    GetPrivateProfileStringW(L"Launcher", key, L"<none>", buffer, 512, path.c_str());
    return buffer;
}

std::wstring ListLine(HWND page, int index) {
    HWND list = GetDlgItem(page, IDC_LAUNCHER_LIST);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length < 0)
        return L"<no line>";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int LineCount(HWND page) {
    return static_cast<int>(SendDlgItemMessageW(page, IDC_LAUNCHER_LIST, LB_GETCOUNT, 0, 0));
}
int Selected(HWND page) {
    return static_cast<int>(SendDlgItemMessageW(page, IDC_LAUNCHER_LIST, LB_GETCURSEL, 0, 0));
}
void Select(HWND page, int index) {
    SendDlgItemMessageW(page, IDC_LAUNCHER_LIST, LB_SETCURSEL, index, 0);
}

// The file's text, for checks of the order in which keys were first written.
std::wstring FileText(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 2)
        return {};
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    return text;
}

// Scripted pickers: what the user would choose, and how often each was opened.
struct ScriptedPickers {
    static inline std::wstring file, iconFile, folder;
    static inline int iconIndex = 0;
    static inline bool confirm = true;
    static inline int fileCalls = 0, iconCalls = 0, folderCalls = 0;
    static bool ChooseFile(HWND, std::wstring& path) {
        ++fileCalls;
        if (!confirm)
            return false;
        path = file;
        return true;
    }
    static bool PickIcon(HWND, wchar_t* iconPath, int* index) {
        ++iconCalls;
        if (!confirm) {
            *index = 77; // a picker may scribble on the index even when cancelled
            return false;
        }
        wcsncpy(iconPath, iconFile.c_str(), MAX_PATH);
        *index = iconIndex;
        return true;
    }
    static bool ChooseFolder(HWND, std::wstring& chosen) {
        ++folderCalls;
        if (!confirm)
            return false;
        chosen = folder;
        return true;
    }
};

class LauncherPageTest : public OptionsTest {
  protected:
    void SetUp() override {
        OptionsTest::SetUp();
        program_.launcherList = CreateLauncherList();
        program_.design = Design{};
        savedPickers_ = program_.services.launcherPickers;
        program_.services.launcherPickers = {ScriptedPickers::ChooseFile, ScriptedPickers::PickIcon,
                                             ScriptedPickers::ChooseFolder};
        ScriptedPickers::confirm = true;
        ScriptedPickers::fileCalls = ScriptedPickers::iconCalls = ScriptedPickers::folderCalls = 0;
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        systemDir_ = system;
    }
    void TearDown() override {
        if (page_)
            DestroyWindow(page_);
        program_.services.launcherPickers = savedPickers_;
        ClearLauncherList(*program_.launcherList);
        program_.launcherList.reset();
        OptionsTest::TearDown();
    }

    // Writes a file of entries named by their paths, loads it the way start-up does and opens the
    // page on it.
    void StartWith(const std::wstring& launcherSection) {
        WriteTextFile(program_.preferencesPath, L"[Launcher]\r\n" + launcherSection);
        LoadLauncherSection(program_.preferencesPath, program_.design.iconSize, *program_.launcherList);
        page_ = CreatePage(IDD_PAGE_LAUNCHER, LauncherPageProc);
        ASSERT_TRUE(page_);
    }

    std::wstring MakeFile(const wchar_t* name) {
        const std::wstring path = temp_.file(name);
        WriteTextFile(path, L"x");
        return path;
    }

    // List box = list in memory = what a fresh start would load from the file.
    void ExpectAllAgree(const char* step) {
        SCOPED_TRACE(step);
        const LauncherList& list = *program_.launcherList;
        ASSERT_EQ(LineCount(page_), list.count);
        auto fromFile = CreateLauncherList();
        LoadLauncherSection(program_.preferencesPath, program_.design.iconSize, *fromFile);
        ASSERT_EQ(StoredLauncherCount(program_.preferencesPath), list.count);
        ASSERT_EQ(fromFile->count, list.count);
        for (int i = 0; i < list.count; ++i) {
            const LauncherEntry& m = list.slots[i];
            const LauncherEntry& f = fromFile->slots[i];
            EXPECT_EQ(ListLine(page_, i), m.name) << "line " << i;
            EXPECT_EQ(f.name, m.name) << "entry " << i;
            EXPECT_EQ(f.path, m.path) << "entry " << i;
            EXPECT_EQ(f.commandLine, m.commandLine) << "entry " << i;
            EXPECT_EQ(f.workFolder, m.workFolder) << "entry " << i;
            EXPECT_EQ(f.iconFile, m.iconFile) << "entry " << i;
            EXPECT_EQ(f.iconIndex, m.iconIndex) << "entry " << i;
            EXPECT_EQ(f.raise, m.raise) << "entry " << i;
            EXPECT_EQ(m.kind, KindLauncher);
            EXPECT_EQ(m.inUse, 1);
        }
        for (int i = list.count; i < ListCapacity; ++i)
            EXPECT_EQ(list.slots[i].inUse, 0) << "slot " << i;
        ClearLauncherList(*fromFile);
    }

    HWND page_ = nullptr;
    LauncherPickers savedPickers_{};
    std::wstring systemDir_;
};

const wchar_t kThree[] =
    L"cnt=3\r\npath1=C:\\a\\one.exe\r\nname1=One\r\ncmnd1=-x\r\nwfol1=C:\\a\r\nicon1=\r\nicon_idx1=0\r\n"
    L"path2=C:\\b\\two.exe\r\nname2=Two\r\ncmnd2=\r\nwfol2=\r\nicon_idx2=0\r\n"
    L"path3=C:\\c\\three.exe\r\nname3=Three\r\ncmnd3=--third\r\nwfol3=C:\\c\r\nicon_idx3=0\r\n";

TEST_F(LauncherPageTest, PageListsTheEntriesInOrderAndButtonsWithoutSelectionDoNothing) {
    StartWith(kThree);
    EXPECT_EQ(LineCount(page_), 3);
    EXPECT_EQ(ListLine(page_, 0), L"One");
    EXPECT_EQ(ListLine(page_, 2), L"Three");
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(page_, IDC_LAUNCHER_LIST), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(ItemText(page_, IDC_LAUNCHER_ADD), L"追加");
    const std::string before = ReadFileBytes(program_.preferencesPath);
    for (int id : {IDC_LAUNCHER_REMOVE, IDC_LAUNCHER_UP, IDC_LAUNCHER_DOWN, IDC_LAUNCHER_PROPERTIES})
        Click(page_, id);
    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_UP);
    Select(page_, 2);
    Click(page_, IDC_LAUNCHER_DOWN);
    EXPECT_EQ(ReadFileBytes(program_.preferencesPath), before) << "nothing may be written";
    ExpectAllAgree("untouched");
    // A double click on a line is a command from the list box itself: it opens nothing.
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_LAUNCHER_LIST, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(GetDlgItem(page_, IDC_LAUNCHER_LIST)));
    EXPECT_EQ(session_.property.PropertyIndex, -1);
}

TEST_F(LauncherPageTest, RemoveMiddleLastAndOnly) {
    StartWith(kThree);
    Select(page_, 1);
    Click(page_, IDC_LAUNCHER_REMOVE);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"2");
    EXPECT_EQ(Key(program_.preferencesPath, L"path2"), L"C:\\c\\three.exe")
        << "number 2 rewritten from the old third";
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd2"), L"--third");
    for (const wchar_t* key : {L"path3", L"name3", L"cmnd3", L"wfol3", L"icon3"})
        EXPECT_EQ(Key(program_.preferencesPath, key), L"<none>") << key;
    EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx3"), L"0");
    EXPECT_EQ(Selected(page_), 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(page_, IDC_LAUNCHER_LIST));
    ExpectAllAgree("removed 2 of 3");

    // The last of two: nothing else is rewritten.
    Select(page_, 1);
    Click(page_, IDC_LAUNCHER_REMOVE);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"1");
    EXPECT_EQ(Key(program_.preferencesPath, L"path2"), L"<none>");
    EXPECT_EQ(Key(program_.preferencesPath, L"name1"), L"One");
    EXPECT_EQ(Selected(page_), 0);
    ExpectAllAgree("removed the last");

    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_REMOVE);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"0");
    EXPECT_EQ(Key(program_.preferencesPath, L"path1"), L"<none>");
    EXPECT_EQ(LineCount(page_), 0);
    ExpectAllAgree("removed the only one");
}

TEST_F(LauncherPageTest, RemoveLastOfThreeRewritesNothingElse) {
    StartWith(kThree);
    Select(page_, 2);
    Click(page_, IDC_LAUNCHER_REMOVE);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"2");
    EXPECT_EQ(Key(program_.preferencesPath, L"path3"), L"<none>");
    EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx3"), L"0");
    EXPECT_EQ(Key(program_.preferencesPath, L"icon1"), L"")
        << "numbers before the removed one are not rewritten";
    EXPECT_EQ(Key(program_.preferencesPath, L"icon2"), L"<none>");
    EXPECT_EQ(Selected(page_), 1);
    ExpectAllAgree("removed the last of 3");
}

TEST_F(LauncherPageTest, MovesRewriteBothNumbersWithAllSixKeys) {
    StartWith(
        L"cnt=3\r\npath1=C:\\a\\one.exe\r\nname1=One\r\npath2=C:\\b\\two.exe\r\nname2=Two\r\ncmnd2=-2\r\n"
        L"path3=C:\\c\\three.exe\r\nname3=Three\r\n");
    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_DOWN);
    EXPECT_EQ(Key(program_.preferencesPath, L"name1"), L"Two");
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd1"), L"-2");
    EXPECT_EQ(Key(program_.preferencesPath, L"name2"), L"One");
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd2"), L"")
        << "an empty command line is written as an empty value";
    EXPECT_EQ(Key(program_.preferencesPath, L"wfol2"), L"");
    EXPECT_EQ(Key(program_.preferencesPath, L"icon2"), L"");
    EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx2"), L"0");
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd3"), L"<none>") << "number 3 is not touched";
    EXPECT_EQ(Selected(page_), 1);
    ExpectAllAgree("moved 1 down");

    Click(page_, IDC_LAUNCHER_DOWN); // the selection went along: now line 1 moves to 2
    EXPECT_EQ(ListLine(page_, 2), L"One");
    EXPECT_EQ(Selected(page_), 2);
    Click(page_, IDC_LAUNCHER_DOWN); // already last: refused
    EXPECT_EQ(Selected(page_), 2);
    ExpectAllAgree("moved to the end");

    Click(page_, IDC_LAUNCHER_UP);
    Click(page_, IDC_LAUNCHER_UP);
    EXPECT_EQ(ListLine(page_, 0), L"One");
    EXPECT_EQ(Selected(page_), 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(page_, IDC_LAUNCHER_LIST));
    ExpectAllAgree("moved back up");
}

// A real drop handle, as the shell hands it over: DROPFILES followed by the wide paths, each
// ended by a zero, and one more zero.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& p : paths)
        chars += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
    for (const auto& p : paths) {
        memcpy(text, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        text += p.size() + 1;
    }
    *text = L'\0';
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void Drop(HWND page, const std::vector<std::wstring>& paths) {
    SendMessageW(GetDlgItem(page, IDC_LAUNCHER_LIST), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)),
                 0);
}

TEST_F(LauncherPageTest, DroppedFilesAndFoldersAreAddedInOrderWithTheCountWrittenFirst) {
    // No file yet: the first drop creates it.
    page_ = CreatePage(IDD_PAGE_LAUNCHER, LauncherPageProc);
    ASSERT_TRUE(page_);
    const std::wstring notepad = systemDir_ + L"\\notepad.exe";
    const std::wstring doc = MakeFile(L"report.final.txt");
    const std::wstring folder = temp_.path();
    Drop(page_, {notepad, doc, folder});
    const LauncherList& list = *program_.launcherList;
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.slots[0].name, L"notepad");
    EXPECT_NE(list.slots[0].icon.get(), nullptr) << "a program brings its own icon";
    EXPECT_EQ(list.slots[1].name, L"report.final");
    EXPECT_EQ(list.slots[2].path, folder);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"3");
    EXPECT_EQ(Key(program_.preferencesPath, L"path2"), doc);
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd2"), L"<none>") << "absent strings are not written";
    EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx3"), L"0");
    EXPECT_TRUE(ErrorMessages().empty());
    // The count was written before the first entry's keys, so it stands first in the section.
    const std::wstring text = FileText(program_.preferencesPath);
    ASSERT_NE(text.find(L"cnt="), std::wstring::npos);
    EXPECT_LT(text.find(L"cnt="), text.find(L"path1=")) << std::string(text.begin(), text.end());
    EXPECT_LT(text.find(L"icon_idx1="), text.find(L"path2="));
    EXPECT_EQ(ReadFileBytes(program_.preferencesPath).substr(0, 2), std::string("\xFF\xFE"))
        << "created as UTF-16";
    ExpectAllAgree("dropped three");
}

TEST_F(LauncherPageTest, ADroppedPathTooLongIsSkippedAndReported) {
    StartWith(L"cnt=0\r\n");
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L".exe";
    const std::wstring ok = MakeFile(L"fine.txt");
    Drop(page_, {longPath, ok});
    ASSERT_EQ(program_.launcherList->count, 1);
    EXPECT_EQ(program_.launcherList->slots[0].path, ok);
    ASSERT_EQ(ErrorMessages().size(), 1u);
    EXPECT_NE(ErrorMessages()[0].find(L"長すぎる"), std::wstring::npos);
    EXPECT_EQ(Key(program_.preferencesPath, L"path2"), L"<none>");
    ExpectAllAgree("long path skipped");
}

TEST_F(LauncherPageTest, FiftyIsTheLimitForDropsAndAdd) {
    std::wstring section = L"cnt=48\r\n";
    for (int i = 1; i <= 48; ++i) {
        section += L"path" + std::to_wstring(i) + L"=C:\\none\\e" + std::to_wstring(i) + L"\r\nname" +
                   std::to_wstring(i) + L"=E" + std::to_wstring(i) + L"\r\n";
    }
    StartWith(section);
    ASSERT_EQ(program_.launcherList->count, 48);
    Drop(page_, {MakeFile(L"a.txt"), MakeFile(L"b.txt"), MakeFile(L"c.txt"), MakeFile(L"d.txt")});
    EXPECT_EQ(program_.launcherList->count, 50);
    EXPECT_EQ(program_.launcherList->slots[49].name, L"b");
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"50");
    EXPECT_EQ(Key(program_.preferencesPath, L"path51"), L"<none>");
    EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx51"), L"<none>") << "never a key for a 51st slot";
    ASSERT_EQ(ErrorMessages().size(), 1u);
    EXPECT_NE(ErrorMessages()[0].find(L"2個"), std::wstring::npos) << "two were left out";

    // Add refuses before asking for a file.
    ScriptedPickers::file = MakeFile(L"e.txt");
    Click(page_, IDC_LAUNCHER_ADD);
    EXPECT_EQ(ScriptedPickers::fileCalls, 0);
    ASSERT_EQ(ErrorMessages().size(), 2u);
    EXPECT_NE(ErrorMessages()[1].find(L"いっぱい"), std::wstring::npos);
    EXPECT_EQ(program_.launcherList->count, 50);
    ExpectAllAgree("full");

    // Removing one makes room again.
    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_REMOVE);
    Click(page_, IDC_LAUNCHER_ADD);
    EXPECT_EQ(ScriptedPickers::fileCalls, 1);
    EXPECT_EQ(program_.launcherList->slots[49].name, L"e");
    EXPECT_EQ(Key(program_.preferencesPath, L"path50"), ScriptedPickers::file);
    ExpectAllAgree("one out, one in");
}

TEST_F(LauncherPageTest, StoredEntriesBeyondFiftyAreNeverOverwrittenOrOrphaned) {
    std::wstring section = L"cnt=52\r\n";
    for (int i = 1; i <= 52; ++i) {
        section += L"path" + std::to_wstring(i) + L"=C:\\none\\e" + std::to_wstring(i) + L"\r\nname" +
                   std::to_wstring(i) + L"=E" + std::to_wstring(i) + L"\r\n";
    }
    StartWith(section);
    ASSERT_EQ(program_.launcherList->count, 50);
    Select(page_, 3);
    Click(page_, IDC_LAUNCHER_REMOVE);
    Drop(page_, {MakeFile(L"a.txt")});
    Click(page_, IDC_LAUNCHER_ADD);
    EXPECT_EQ(ScriptedPickers::fileCalls, 0);
    ASSERT_EQ(ErrorMessages().size(), 3u);
    for (const auto& message : ErrorMessages())
        EXPECT_NE(message.find(L"52"), std::wstring::npos);
    EXPECT_EQ(program_.launcherList->count, 50);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"52");
    EXPECT_EQ(Key(program_.preferencesPath, L"name4"), L"E4");
    EXPECT_EQ(Key(program_.preferencesPath, L"name51"), L"E51");
    EXPECT_EQ(Key(program_.preferencesPath, L"name52"), L"E52");
    // Reordering the visible entries touches only their own numbers.
    Select(page_, 48);
    Click(page_, IDC_LAUNCHER_DOWN);
    EXPECT_EQ(Key(program_.preferencesPath, L"name49"), L"E50");
    EXPECT_EQ(Key(program_.preferencesPath, L"name50"), L"E49");
    EXPECT_EQ(Key(program_.preferencesPath, L"name51"), L"E51");
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"52");
}

TEST_F(LauncherPageTest, AddWritesOnlyPathNameAndCountAndCancelWritesNothing) {
    StartWith(L"cnt=1\r\npath1=C:\\a\\one.exe\r\nname1=One\r\n"
              // Left over from a hand edit beyond the count: must not end up on the new entry.
              L"cmnd2=stale\r\nicon2=C:\\stale.dll\r\n");
    ScriptedPickers::confirm = false;
    const std::string before = ReadFileBytes(program_.preferencesPath);
    Click(page_, IDC_LAUNCHER_ADD);
    EXPECT_EQ(ScriptedPickers::fileCalls, 1);
    EXPECT_EQ(ReadFileBytes(program_.preferencesPath), before);
    EXPECT_EQ(program_.launcherList->count, 1);

    ScriptedPickers::confirm = true;
    ScriptedPickers::file = systemDir_ + L"\\notepad.exe";
    Click(page_, IDC_LAUNCHER_ADD);
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"2");
    EXPECT_EQ(Key(program_.preferencesPath, L"path2"), ScriptedPickers::file);
    EXPECT_EQ(Key(program_.preferencesPath, L"name2"), L"notepad");
    for (const wchar_t* key : {L"cmnd2", L"wfol2", L"icon2", L"icon_idx2"})
        EXPECT_EQ(Key(program_.preferencesPath, key), L"<none>") << key;
    EXPECT_EQ(ListLine(page_, 1), L"notepad");
    ExpectAllAgree("added");
}

TEST_F(LauncherPageTest, AFailedWriteIsReportedOnceAndTheChangeStays) {
    StartWith(kThree);
    const std::wstring loaded = program_.preferencesPath;
    // A file that cannot be written: its folder does not exist.
    program_.preferencesPath = temp_.file(L"missing folder\\Mistlewick.exe.ini");
    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_DOWN);
    Select(page_, 2);
    Click(page_, IDC_LAUNCHER_REMOVE);
    const std::wstring unwritable = program_.preferencesPath;
    program_.preferencesPath = loaded;
    ASSERT_EQ(ErrorMessages().size(), 1u) << "once per opening, not once per key";
    EXPECT_EQ(ErrorMessages()[0], WriteFailureText(ProgramLanguage(program_), unwritable));
    EXPECT_EQ(program_.launcherList->count, 2) << "the change stays in effect";
    EXPECT_EQ(LineCount(page_), 2);
    EXPECT_EQ(ListLine(page_, 0), L"Two");
    EXPECT_EQ(Key(program_.preferencesPath, L"name1"), L"One");
}

// --- the real open-file dialog ----------------------------------------------------------------

HWND FindThreadDialog(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        HWND found;
    } search{title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[32] = {}, text[128] = {};
            GetClassNameW(w, cls, 32);
            GetWindowTextW(w, text, 128);
            if (wcscmp(cls, L"#32770") == 0 && wcscmp(text, s->title) == 0 && IsWindowVisible(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs `script` on the first visible dialog of this thread with the given title, from a timer
// that the dialog's own modal loop dispatches.
struct ModalScript {
    static inline const wchar_t* title = nullptr;
    static inline std::function<void(HWND)> script;
    static inline bool ran = false;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = FindThreadDialog(title);
        if (!dialog)
            return;
        KillTimer(nullptr, id);
        ran = true;
        script(dialog);
    }
    // Arms the script, runs `open` (which returns when the dialog has closed) and disarms.
    static void Run(const wchar_t* dialogTitle, std::function<void(HWND)> body,
                    const std::function<void()>& open) {
        title = dialogTitle;
        script = std::move(body);
        ran = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, Tick);
        open();
        KillTimer(nullptr, timer);
        script = nullptr;
    }
};

TEST_F(LauncherPageTest, AddThroughTheSystemFileDialog) {
    program_.services.launcherPickers.chooseFile = ChooseFileToAdd;
    StartWith(L"cnt=0\r\n");
    const std::wstring notepad = systemDir_ + L"\\notepad.exe";
    ASSERT_NE(GetFileAttributesW(notepad.c_str()), INVALID_FILE_ATTRIBUTES);
    ModalScript::Run(
        L"アイテムの追加",
        [&](HWND dialog) {
            // The file-name box: a combo box on newer templates, a plain edit on older ones.
            const int id = GetDlgItem(dialog, cmb13) ? cmb13 : edt1;
            ASSERT_TRUE(GetDlgItem(dialog, id));
            SetDlgItemTextW(dialog, id, notepad.c_str());
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        },
        [&] { Click(page_, IDC_LAUNCHER_ADD); });
    ASSERT_TRUE(ModalScript::ran) << "the file dialog never showed";
    ASSERT_EQ(program_.launcherList->count, 1);
    EXPECT_EQ(_wcsicmp(program_.launcherList->slots[0].path.c_str(), notepad.c_str()), 0) << std::string(
        program_.launcherList->slots[0].path.begin(), program_.launcherList->slots[0].path.end());
    EXPECT_EQ(Key(program_.preferencesPath, L"name1"), L"notepad");
    EXPECT_EQ(Key(program_.preferencesPath, L"cnt"), L"1");
    for (const wchar_t* key : {L"cmnd1", L"wfol1", L"icon1", L"icon_idx1"})
        EXPECT_EQ(Key(program_.preferencesPath, key), L"<none>") << key;
    ExpectAllAgree("added through the dialog");

    // Cancelled: nothing changes.
    const std::string before = ReadFileBytes(program_.preferencesPath);
    ModalScript::Run(
        L"アイテムの追加", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); },
        [&] { Click(page_, IDC_LAUNCHER_ADD); });
    EXPECT_TRUE(ModalScript::ran);
    EXPECT_EQ(ReadFileBytes(program_.preferencesPath), before);
    EXPECT_EQ(program_.launcherList->count, 1);
}

// --- the property dialog -----------------------------------------------------------------------

void OpenProperties(HWND page, int line, std::function<void(HWND)> script) {
    Select(page, line);
    ModalScript::Run(L"プロパティ", std::move(script), [&] { Click(page, IDC_LAUNCHER_PROPERTIES); });
}

void CloseBox(HWND dialog) {
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST_F(LauncherPageTest, PropertiesShowTheEntryAndClosingSavesTheTexts) {
    StartWith(kThree);
    bool checked = false;
    OpenProperties(page_, 2, [&](HWND dialog) {
        checked = true;
        EXPECT_EQ(session_.property.PropertyIndex, 2);
        EXPECT_EQ(ItemText(dialog, IDC_PROPERTY_PATH), L"C:\\c\\three.exe");
        EXPECT_EQ(ItemText(dialog, IDC_PROPERTY_NAME), L"Three");
        EXPECT_EQ(ItemText(dialog, IDC_PROPERTY_COMMAND_LINE), L"--third");
        EXPECT_EQ(ItemText(dialog, IDC_PROPERTY_WORK_FOLDER), L"C:\\c");
        EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(dialog, IDC_PROPERTY_PATH), GWL_STYLE) & ES_READONLY);
        SetDlgItemTextW(dialog, IDC_PROPERTY_NAME, L""); // cleared: the key goes
        SetDlgItemTextW(dialog, IDC_PROPERTY_COMMAND_LINE, L"");
        ScriptedPickers::folder = L"D:\\chosen";
        Click(dialog, IDC_PROPERTY_CHOOSE_FOLDER);
        EXPECT_EQ(ItemText(dialog, IDC_PROPERTY_WORK_FOLDER), L"D:\\chosen");
        EXPECT_EQ(Key(program_.preferencesPath, L"wfol3"), L"C:\\c")
            << "a chosen folder is saved only on close";
        CloseBox(dialog);
    });
    ASSERT_TRUE(checked);
    EXPECT_EQ(Key(program_.preferencesPath, L"name3"), L"<none>");
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd3"), L"<none>");
    EXPECT_EQ(Key(program_.preferencesPath, L"wfol3"), L"D:\\chosen");
    EXPECT_EQ(Key(program_.preferencesPath, L"path3"), L"C:\\c\\three.exe");
    EXPECT_EQ(ListLine(page_, 2), L"") << "an empty name is an empty line";
    EXPECT_EQ(Selected(page_), 2);
    EXPECT_EQ(session_.property.PropertyIndex, -1);
    ExpectAllAgree("cleared name");
}

TEST_F(LauncherPageTest, EscapeSavesTheEditedTexts) {
    StartWith(kThree);
    OpenProperties(page_, 0, [&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_PROPERTY_NAME, L"Renamed");
        SetDlgItemTextW(dialog, IDC_PROPERTY_COMMAND_LINE, L"\"quoted arg\" 2");
        HWND edit = GetDlgItem(dialog, IDC_PROPERTY_NAME);
        SetFocus(edit);
        // Through the dialog's own loop, as a key press arrives.
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(Key(program_.preferencesPath, L"name1"), L"Renamed");
    EXPECT_EQ(Key(program_.preferencesPath, L"cmnd1"), L"\"quoted arg\" 2");
    EXPECT_EQ(ListLine(page_, 0), L"Renamed");
    EXPECT_EQ(program_.launcherList->slots[0].commandLine, L"\"quoted arg\" 2");
    ExpectAllAgree("escape");
}

TEST_F(LauncherPageTest, RunOrRaiseIsSetInThePropertiesAndTravelsWithItsEntry) {
    StartWith(L"cnt=3\r\npath1=C:\\a\\one.exe\r\nname1=One\r\nraise1=1\r\n"
              L"path2=C:\\b\\two.exe\r\nname2=Two\r\n"
              L"path3=C:\\c\\three.exe\r\nname3=Three\r\nraise3=1\r\n");
    OpenProperties(page_, 1, [&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_PROPERTY_RAISE), L"起動中なら切り替える");
        EXPECT_FALSE(Checked(dialog, IDC_PROPERTY_RAISE));
        Click(dialog, IDC_PROPERTY_RAISE);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpFor(100);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_TRUE(SaveScreenPng(r, L"launcher-properties.png"));
        CloseBox(dialog);
    });
    EXPECT_EQ(Key(program_.preferencesPath, L"raise2"), L"1");
    OpenProperties(page_, 0, [&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_PROPERTY_RAISE));
        Click(dialog, IDC_PROPERTY_RAISE);
        CloseBox(dialog);
    });
    EXPECT_EQ(Key(program_.preferencesPath, L"raise1"), L"<none>") << "off is no key";
    ExpectAllAgree("set in the properties"); // One off, Two on, Three on

    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_DOWN); // Two, One, Three
    EXPECT_EQ(Key(program_.preferencesPath, L"raise1"), L"1");
    EXPECT_EQ(Key(program_.preferencesPath, L"raise2"), L"<none>");
    ExpectAllAgree("moved");

    Select(page_, 1);
    Click(page_, IDC_LAUNCHER_REMOVE); // Two, Three
    EXPECT_EQ(Key(program_.preferencesPath, L"raise2"), L"1") << "number 2 rewritten from the old third";
    EXPECT_EQ(Key(program_.preferencesPath, L"raise3"), L"<none>");
    ExpectAllAgree("removed");
}

// Pixels of the icon square differ from the background beside it when an icon is painted there.
int PaintedPixels(HWND dialog, int size) {
    UpdateWindow(dialog);
    const POINT origin = PropertyIconOrigin(size);
    WindowDc dc(dialog);
    const COLORREF background = GetPixel(dc.get(), origin.x - 4, origin.y - 4);
    int painted = 0;
    for (int y = origin.y; y < origin.y + size; ++y) {
        for (int x = origin.x; x < origin.x + size; ++x)
            painted += GetPixel(dc.get(), x, y) != background;
    }
    return painted;
}

TEST_F(LauncherPageTest, ChosenIconIsStoredAtOnceKeptWhenUntouchedAndFollowsAMove) {
    StartWith(
        L"cnt=2\r\npath1=C:\\none\\missing.zzz\r\nname1=NoIcon\r\npath2=C:\\b\\two.exe\r\nname2=Two\r\n");
    const std::wstring shell32 = systemDir_ + L"\\shell32.dll";
    ASSERT_EQ(program_.launcherList->slots[0].icon.get(), nullptr);

    // Cancelled picker: nothing written, nothing changed.
    ScriptedPickers::confirm = false;
    OpenProperties(page_, 0, [&](HWND dialog) {
        Click(dialog, IDC_PROPERTY_CHANGE_ICON);
        EXPECT_EQ(Key(program_.preferencesPath, L"icon1"), L"<none>");
        EXPECT_EQ(session_.property.PendingIconIndex, 0) << "a cancelled pick leaves the index";
        CloseBox(dialog);
    });
    EXPECT_EQ(ScriptedPickers::iconCalls, 1);
    ExpectAllAgree("icon cancelled");

    ScriptedPickers::confirm = true;
    ScriptedPickers::iconFile = shell32;
    ScriptedPickers::iconIndex = 3;
    OpenProperties(page_, 0, [&](HWND dialog) {
        EXPECT_EQ(PaintedPixels(dialog, program_.design.iconSize), 0) << "no icon yet";
        Click(dialog, IDC_PROPERTY_CHANGE_ICON);
        EXPECT_EQ(Key(program_.preferencesPath, L"icon1"), shell32) << "written the moment it is chosen";
        EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx1"), L"3");
        ASSERT_NE(program_.launcherList->slots[0].icon.get(), nullptr);
        EXPECT_GT(PaintedPixels(dialog, program_.design.iconSize), 20);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_TRUE(SaveScreenPng(r, L"launcher-properties.png"));
        CloseBox(dialog);
    });
    EXPECT_EQ(program_.launcherList->slots[0].iconFile, shell32);
    EXPECT_EQ(program_.launcherList->slots[0].iconIndex, 3);
    ExpectAllAgree("icon chosen");

    // Opened and closed untouched: icon file and index stay, also through a later move.
    OpenProperties(page_, 0, [&](HWND dialog) {
        EXPECT_STREQ(session_.property.PendingIconFile, shell32.c_str());
        CloseBox(dialog);
    });
    Select(page_, 0);
    Click(page_, IDC_LAUNCHER_DOWN);
    EXPECT_EQ(Key(program_.preferencesPath, L"icon2"), shell32);
    EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx2"), L"3");
    EXPECT_EQ(Key(program_.preferencesPath, L"icon1"), L"");
    EXPECT_NE(program_.launcherList->slots[1].icon.get(), nullptr);
    ExpectAllAgree("moved with its icon");

    // Revert: the keys go, the entry shows its own icon again (none for this path).
    OpenProperties(page_, 1, [&](HWND dialog) {
        Click(dialog, IDC_PROPERTY_REVERT_ICON);
        EXPECT_EQ(Key(program_.preferencesPath, L"icon2"), L"<none>");
        EXPECT_EQ(Key(program_.preferencesPath, L"icon_idx2"), L"<none>");
        EXPECT_EQ(session_.property.PendingIconFile[0], L'\0');
        EXPECT_EQ(program_.launcherList->slots[1].icon.get(), nullptr);
        CloseBox(dialog);
    });
    EXPECT_EQ(program_.launcherList->slots[1].iconFile, L"");
    EXPECT_EQ(program_.launcherList->slots[1].iconIndex, 0);
    ExpectAllAgree("reverted");
}

TEST_F(LauncherPageTest, ScreenshotOfThePageInTheDialog) {
    StartWith(kThree);
    DestroyWindow(page_);
    page_ = nullptr;
    bool ran = false;
    RunOptionsDialogWith(program_, kOptionsLauncherOnly, [&](HWND dialog) {
        ran = true;
        HWND page = CurrentOptionsDialog(program_).OptionPages[kSlotLauncher];
        ASSERT_TRUE(page);
        EXPECT_EQ(LineCount(page), 3);
        Select(page, 1);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpFor(100);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_TRUE(SaveScreenPng(r, L"launcher-page.png"));
    });
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace mw::test

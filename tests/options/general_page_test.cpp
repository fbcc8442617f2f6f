#include <shlobj.h>
#include <shobjidl.h>

#include "options/general_page.h"
#include "options/option_test_fixture.h"
#include "platform/unique_handle.h"
#include "resource.h"
#include "model/program_state.h"
#include "settings/preferences_file.h"

namespace mw::test {
namespace {

class GeneralPageTest : public OptionsTest {};

bool HasKind(const ItemList& list, int kind) {
    for (int i = 0; i < list.count; ++i) {
        if (list.slots[i].kind == kind)
            return true;
    }
    return false;
}

TEST_F(GeneralPageTest, ReplaceAltTabOffThenOn) {
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_FALSE(Checked(page, IDC_GENERAL_REPLACE_ALTTAB));
    EXPECT_TRUE(Checked(page, IDC_GENERAL_STANDARD_MODE));
    EXPECT_FALSE(Enabled(page, IDC_GENERAL_STANDARD_MODE));
    EXPECT_FALSE(Enabled(page, IDC_GENERAL_CLICK_MODE));

    Click(page, IDC_GENERAL_REPLACE_ALTTAB);
    EXPECT_EQ(program_.preferences.ReplaceAltTab, 2);
    EXPECT_EQ(FileValue(L"ReplaceAltTab"), L"2");
    EXPECT_EQ(LastStart().args[1], 2);
    EXPECT_TRUE(Enabled(page, IDC_GENERAL_STANDARD_MODE));
    EXPECT_TRUE(Enabled(page, IDC_GENERAL_CLICK_MODE));

    Click(page, IDC_GENERAL_CLICK_MODE);
    EXPECT_EQ(FileValue(L"ReplaceAltTab"), L"1");
    EXPECT_EQ(LastStart().args[1], 1);
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, ReplaceAltTabClickModeThenOff) {
    program_.preferences.ReplaceAltTab = 1;
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Checked(page, IDC_GENERAL_REPLACE_ALTTAB));
    EXPECT_TRUE(Checked(page, IDC_GENERAL_CLICK_MODE));
    EXPECT_FALSE(Checked(page, IDC_GENERAL_STANDARD_MODE));
    Click(page, IDC_GENERAL_REPLACE_ALTTAB);
    EXPECT_EQ(program_.preferences.ReplaceAltTab, 0);
    EXPECT_EQ(FileValue(L"ReplaceAltTab"), L"0");
    EXPECT_EQ(LastStart().args[1], 0);
    EXPECT_FALSE(Enabled(page, IDC_GENERAL_STANDARD_MODE));
    EXPECT_FALSE(Enabled(page, IDC_GENERAL_CLICK_MODE));
    // Checking again brings back the mode that is still marked.
    Click(page, IDC_GENERAL_REPLACE_ALTTAB);
    EXPECT_EQ(FileValue(L"ReplaceAltTab"), L"1");
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, HandEditedReplaceAltTabShowsStandardMode) {
    program_.preferences.ReplaceAltTab = 5;
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Checked(page, IDC_GENERAL_REPLACE_ALTTAB));
    EXPECT_TRUE(Checked(page, IDC_GENERAL_STANDARD_MODE));
    EXPECT_TRUE(Enabled(page, IDC_GENERAL_CLICK_MODE));
    Click(page, IDC_GENERAL_CLICK_MODE);
    EXPECT_EQ(program_.preferences.ReplaceAltTab, 1);
    EXPECT_EQ(FileValue(L"ReplaceAltTab"), L"1");
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, FrameDisplayAndItsHideMode) {
    program_.preferences.Altab7_Hide = 1;
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    HWND combo = GetDlgItem(page, IDC_GENERAL_FRAMES_HIDE);
    EXPECT_FALSE(Checked(page, IDC_GENERAL_FRAMES));
    EXPECT_FALSE(IsWindowEnabled(combo));
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Text(combo), L"非表示");

    Click(page, IDC_GENERAL_FRAMES);
    EXPECT_EQ(program_.preferences.Altab7, 1);
    EXPECT_EQ(FileValue(L"Altab7"), L"1");
    EXPECT_TRUE(IsWindowEnabled(combo));

    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_FRAMES_HIDE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(program_.preferences.Altab7_Hide, 0);
    EXPECT_EQ(FileValue(L"Altab7_Hide"), L"0");

    Click(page, IDC_GENERAL_FRAMES);
    EXPECT_EQ(FileValue(L"Altab7"), L"0");
    EXPECT_FALSE(IsWindowEnabled(combo));
    EXPECT_TRUE(HookCalls().empty()) << "none of these reach the hook";
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, CommandEntriesRebuildTheCommandList) {
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Checked(page, IDC_GENERAL_TOGGLE_DESKTOP));
    EXPECT_TRUE(Checked(page, IDC_GENERAL_CANCEL));
    EXPECT_FALSE(Checked(page, IDC_GENERAL_CLOSE_WINDOW));

    Click(page, IDC_GENERAL_TOGGLE_DESKTOP);
    EXPECT_EQ(FileValue(L"ToggleDesktop"), L"0");
    EXPECT_FALSE(HasKind(*program_.commandList, KindDesktopToggle));
    EXPECT_TRUE(HasKind(*program_.commandList, KindCancel));

    Click(page, IDC_GENERAL_CLOSE_WINDOW);
    EXPECT_EQ(FileValue(L"CloseWnd"), L"1");
    EXPECT_TRUE(HasKind(*program_.commandList, KindCloseWindow));

    Click(page, IDC_GENERAL_CANCEL);
    EXPECT_EQ(FileValue(L"Cansel"), L"0");
    EXPECT_EQ(program_.commandList->count, 1);
    EXPECT_TRUE(HookCalls().empty());
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, SwitchBehaviourChecks) {
    program_.preferences.MoveWindow = 1;
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_FALSE(Checked(page, IDC_GENERAL_ADJUST_CURSOR));
    EXPECT_TRUE(Checked(page, IDC_GENERAL_MOVE_WINDOW));
    Click(page, IDC_GENERAL_ADJUST_CURSOR);
    Click(page, IDC_GENERAL_MOVE_WINDOW);
    EXPECT_EQ(FileValue(L"AdjustCursor"), L"1");
    EXPECT_EQ(FileValue(L"MoveWindow"), L"0");
    EXPECT_EQ(program_.preferences.AdjustCursor, 1);
    EXPECT_EQ(program_.preferences.MoveWindow, 0);
    DestroyWindow(page);
}

// The programs SetQuietRules was last given, after its full-screen switch.
std::wstring g_quietRules;
int RecordQuietRules(int quietInFullScreen, const wchar_t* programs) {
    g_quietRules = std::to_wstring(quietInFullScreen);
    for (const wchar_t* p = programs; *p; p += lstrlenW(p) + 1)
        g_quietRules += L" " + std::wstring(p);
    return 1;
}

TEST_F(GeneralPageTest, ThemeScopeKeyAndFullScreenStartOnAndTheExcludedProgramsAreWrittenAtOnce) {
    program_.services.hook.quietRules = RecordQuietRules;
    program_.excludedPrograms = {L"mstsc.exe"};
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    for (int id : {IDC_GENERAL_FOLLOW_THEME, IDC_GENERAL_PROGRAM_SCOPE_KEY, IDC_GENERAL_QUIET_FULL_SCREEN})
        EXPECT_TRUE(Checked(page, id)) << id;
    const size_t hookCalls = HookCalls().size();
    Click(page, IDC_GENERAL_QUIET_FULL_SCREEN);
    EXPECT_EQ(FileValue(L"QuietInFullScreen"), L"0");
    EXPECT_GT(HookCalls().size(), hookCalls); // the hook hears of it
    EXPECT_EQ(g_quietRules, L"0 mstsc.exe");

    HWND list = GetDlgItem(page, IDC_GENERAL_EXCLUDE_LIST);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    EXPECT_FALSE(Enabled(page, IDC_GENERAL_EXCLUDE_REMOVE));
    SetDlgItemTextW(page, IDC_GENERAL_EXCLUDE_NAME, L"\"C:\\Hyper-V\\VMConnect.exe\"");
    Click(page, IDC_GENERAL_EXCLUDE_ADD);
    SetDlgItemTextW(page, IDC_GENERAL_EXCLUDE_NAME, L"MSTSC.EXE"); // already there
    Click(page, IDC_GENERAL_EXCLUDE_ADD);
    EXPECT_EQ(ReadExcludeProgramSection(program_.preferencesPath),
              (std::vector<std::wstring>{L"mstsc.exe", L"VMConnect.exe"}));
    EXPECT_EQ(g_quietRules, L"0 mstsc.exe VMConnect.exe");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0); // the one already listed is selected
    Click(page, IDC_GENERAL_EXCLUDE_REMOVE);
    EXPECT_EQ(program_.excludedPrograms, std::vector<std::wstring>{L"VMConnect.exe"});
    EXPECT_EQ(ReadExcludeProgramSection(program_.preferencesPath), program_.excludedPrograms);
    wchar_t stale[8] = L"";
    GetPrivateProfileStringW(L"ExcludeProgram", L"2", L"<none>", stale, 8, program_.preferencesPath.c_str());
    EXPECT_STREQ(stale, L"<none>");
    DestroyWindow(page);
}

struct ShortcutContents {
    std::wstring target;
    std::wstring description;
};

ShortcutContents ReadShortcut(const std::wstring& path) {
    ComInit com;
    ComPtr<IShellLinkW> link;
    ShortcutContents contents;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void()))) {
        return contents;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) ||
        FAILED(file->Load(path.c_str(), STGM_READ))) {
        return contents;
    }
    wchar_t buffer[MAX_PATH] = L"";
    link->GetPath(buffer, MAX_PATH, nullptr, 0);
    contents.target = buffer;
    buffer[0] = L'\0';
    link->GetDescription(buffer, MAX_PATH);
    contents.description = buffer;
    return contents;
}

TEST_F(GeneralPageTest, StartupShortcutCreatedNeverOverwrittenDeleted) {
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_FALSE(Checked(page, IDC_GENERAL_STARTUP));
    Click(page, IDC_GENERAL_STARTUP);
    const std::wstring path = startupFolder_ + L"\\Mistlewick.lnk";
    ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(StartupShortcutExists(program_.services), 1);
    const ShortcutContents contents = ReadShortcut(path);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(CompareStringOrdinal(contents.target.c_str(), -1, exe, -1, TRUE), CSTR_EQUAL)
        << contents.target;
    EXPECT_EQ(contents.description, L"マウスによるウィンドウ切り替え");
    EXPECT_TRUE(ErrorMessages().empty());

    const std::string before = ReadFileBytes(path);
    EXPECT_EQ(CreateStartupShortcut(program_.services, ProgramLanguage(program_)), 0);
    EXPECT_EQ(ReadFileBytes(path), before);

    Click(page, IDC_GENERAL_STARTUP);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(StartupShortcutExists(program_.services), 0);
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, ShortcutNamedInCapitalsCountsAndIsDeleted) {
    const std::wstring upper = startupFolder_ + L"\\MISTLEWICK.LNK";
    WriteTextFile(upper, L"not a shell link, and not ours to replace");
    const std::string before = ReadFileBytes(upper);
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Checked(page, IDC_GENERAL_STARTUP));
    EXPECT_EQ(CreateStartupShortcut(program_.services, ProgramLanguage(program_)), 0);
    EXPECT_EQ(ReadFileBytes(upper), before);
    Click(page, IDC_GENERAL_STARTUP);
    EXPECT_EQ(StartupShortcutExists(program_.services), 0);
    EXPECT_TRUE(ErrorMessages().empty());
    DestroyWindow(page);
}

TEST_F(GeneralPageTest, ShortcutThatCannotBeMadeIsToldAndUnchecked) {
    program_.services.startupFolder = temp_.file(L"no such folder");
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    Click(page, IDC_GENERAL_STARTUP);
    EXPECT_FALSE(Checked(page, IDC_GENERAL_STARTUP));
    ASSERT_EQ(ErrorMessages().size(), 1u);
    EXPECT_NE(ErrorMessages()[0].find(L"no such folder"), std::wstring::npos);
    DestroyWindow(page);
}

} // namespace
} // namespace mw::test

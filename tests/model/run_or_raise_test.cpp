// Which running window a run-or-raise launcher entry switches to.
#include <gtest/gtest.h>

#include <map>

#include "model/run_or_raise.h"
#include "platform/process_info.h"
#include "support/harness.h"
#include "support/shortcut.h"
#include "support/temp_dir.h"

namespace mw {
namespace {

// The shortcuts of the table and where they point.
std::wstring ResolveFromTable(const wchar_t* shortcut) {
    static const std::map<std::wstring, std::wstring> targets = {
        {L"C:\\Links\\Editor.lnk", L"C:\\Apps\\Editor.exe"},
        {L"C:\\Links\\Letter.LNK", L"C:\\Docs\\Letter.txt"},
        {L"C:\\Links\\Docs.lnk", L"C:\\Docs"},
    };
    const auto found = targets.find(shortcut);
    return found == targets.end() ? std::wstring() : found->second;
}

TEST(RunOrRaise, TheEntrysProgramIsItsPathOrItsShortcutsTargetAndNeverADocumentOrFolder) {
    const struct {
        const wchar_t* entry;
        const wchar_t* program;
    } rows[] = {
        {L"C:\\Apps\\Editor.exe", L"C:\\Apps\\Editor.exe"},
        {L"C:\\Apps\\TOOL.COM", L"C:\\Apps\\TOOL.COM"},
        {L"C:\\Links\\Editor.lnk", L"C:\\Apps\\Editor.exe"},
        {L"C:\\Links\\Letter.LNK", L""}, // a shortcut to a document
        {L"C:\\Links\\Docs.lnk", L""},   // a shortcut to a folder
        {L"C:\\Links\\Broken.lnk", L""}, // a shortcut that points nowhere
        {L"C:\\Docs\\Letter.txt", L""},  // a document
        {L"C:\\Docs", L""},              // a folder
        {L"C:\\Apps.exe\\Readme", L""},  // ".exe" in a folder's name only
        {L"", L""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(EntryProgramPath(row.entry, ResolveFromTable), row.program) << row.entry;
}

HWND Fake(int n) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(n));
}

TEST(RunOrRaise, TheFrontMostWindowOfTheSameProgramLetterCaseAsideIsRaised) {
    // Listed as the popup may arrange them: order is the Z position, 0 in front.
    const std::vector<RunningWindow> windows = {
        {Fake(1), L"C:\\Apps\\Editor.exe", 3},
        {Fake(2), L"c:\\apps\\EDITOR.EXE", 1},
        {Fake(3), L"C:\\Apps\\Other.exe", 0},
        {Fake(4), L"", 2}, // a process whose path cannot be read
    };
    const struct {
        const wchar_t* program;
        HWND raised;
    } rows[] = {
        {L"C:\\Apps\\Editor.exe", Fake(2)}, // two windows: the front one, though listed second
        {L"C:\\APPS\\other.exe", Fake(3)},
        {L"C:\\Apps\\Edit.exe", nullptr}, // equal paths only, no prefix
        {L"C:\\Apps\\Editor.exe.old", nullptr},
        {L"D:\\Apps\\Editor.exe", nullptr}, // the same name elsewhere is another program
        {L"", nullptr},                     // no program: not even the unknown path matches
    };
    for (const auto& row : rows)
        EXPECT_EQ(WindowToRaise(row.program, windows), row.raised) << row.program;
    EXPECT_EQ(WindowToRaise(L"C:\\Apps\\Editor.exe", {}), nullptr);
}

// The real lookups: a shortcut to this test program, resolved and compared with the program
// paths of the open windows, finds a window of this process.
TEST(RunOrRaise, AShortcutToARunningProgramFindsItsWindowOnlyWhenTheEntryAsks) {
    HWND window = test::CreateTestWindow(L"Run or raise");
    ASSERT_NE(window, nullptr);
    test::TempDir dir;
    ProgramState program;
    LauncherEntry entry;
    entry.path = dir.file(L"These tests.lnk");
    ASSERT_TRUE(test::CreateShortcut(entry.path, ExecutablePath()));
    EXPECT_EQ(RunningWindowOfEntry(program, entry, nullptr), nullptr) << "run-or-raise is off";

    entry.raise = true;
    HWND found = RunningWindowOfEntry(program, entry, nullptr); // no list: every top-level window
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    EXPECT_EQ(process, GetCurrentProcessId());

    // A listed window of the program is taken before looking further.
    auto listed = CreateItemList();
    ListItem item;
    InitListItem(item, L"Run or raise", nullptr, window, KindWindow);
    item.order = 0;
    AppendListItem(*listed, item);
    EXPECT_EQ(RunningWindowOfEntry(program, entry, listed.get()), window);
    ClearItemList(*listed);
    DestroyWindow(window);
}

} // namespace
} // namespace mw

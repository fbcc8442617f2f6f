// The release zip, unpacked by scripts/test into a folder whose path has a space and non-ASCII
// characters: the program in it starts, shows no error box, becomes resident and ends cleanly.
// MW_RELEASE_ROOT names the folder that holds the one unpacked folder; without it the test is
// skipped (it runs only as the release step of scripts/test).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "hook/hook_test_control.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr WPARAM kExitCommand = 32775;

// The names in a module's export directory, sorted (the module mapped as an image).
std::vector<std::string> ExportNames(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    std::vector<std::string> names;
    if (!rva)
        return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + rva);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring OnlySubfolder(const std::wstring& root) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + L"\\*").c_str(), &data);
    std::wstring found;
    int count = 0;
    if (find == INVALID_HANDLE_VALUE)
        return {};
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        found = root + L"\\" + name;
        ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count == 1 ? found : std::wstring();
}

TEST(Release, TheUnpackedProgramComesUpResidentFromAPathWithSpacesAndNonAsciiCharacters) {
    const char* root = std::getenv("MW_RELEASE_ROOT");
    if (!root || !*root)
        GTEST_SKIP() << "MW_RELEASE_ROOT is not set";
    const std::string narrow(root);
    const std::wstring folder = OnlySubfolder(std::wstring(narrow.begin(), narrow.end()));
    ASSERT_FALSE(folder.empty()) << "exactly one unpacked folder expected below " << narrow;
    bool nonAscii = false;
    for (wchar_t c : folder)
        nonAscii = nonAscii || c > 0x7F;
    EXPECT_TRUE(nonAscii) << "the folder path must hold non-ASCII characters";
    EXPECT_NE(folder.find(L' '), std::wstring::npos);
    for (const wchar_t* name : {L"Mistlewick.exe", L"hook.dll", L"README.md", L"samples\\design.ini",
                                L"samples\\Mistlewick.exe.ini"}) {
        EXPECT_NE(GetFileAttributesW((folder + L"\\" + name).c_str()), INVALID_FILE_ATTRIBUTES)
            << testing::PrintToString(std::wstring(name));
    }

    // The shipped hook.dll is the product's: exactly its exports, and nothing a test could use to
    // make its hooks vanish.
    HMODULE hook = LoadLibraryExW((folder + L"\\hook.dll").c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(ExportNames(hook), (std::vector<std::string>{"EndHook", "SetAltTabListOpen", "SetHookOptions",
                                                           "SetQuietRules", "StartMouseHook"}));
    EXPECT_EQ(GetProcAddress(hook, kHookTestExport), nullptr)
        << "the release carries the test build of hook.dll";
    FreeLibrary(hook);
    EXPECT_EQ(GetFileAttributesW((folder + L"\\hook_testbench.dll").c_str()), INVALID_FILE_ATTRIBUTES);

    ChildProcess program;
    ASSERT_TRUE(program.Start(folder + L"\\Mistlewick.exe", L"", folder));
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(program.pid(), L"Mistlewick"))
                main = w;
            return main != nullptr && TrayIconExists(main);
        },
        15000))
        << "the program did not become resident";
    // Resident means still running a while later, with no error box of its own.
    PumpFor(2000);
    EXPECT_TRUE(program.Running());
    for (HWND w : WindowsOfProcess(program.pid(), L"#32770")) {
        EXPECT_FALSE(IsWindowVisible(w)) << "the program shows a message box";
    }
    PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.WaitExit(10000), 0);
}

} // namespace

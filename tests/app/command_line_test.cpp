#include "app/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const std::wstring kExe = L"C:\\Tools\\Mistle Wick\\Mistlewick.exe";

// Each row of the tables below names its instance of the test.
const auto kRowName = [](const auto& info) { return std::string(info.param.name); };

// What the switches turn on; a line without "/init," names no preferences file.
struct SwitchRow {
    const char* name;
    const wchar_t* line;
    bool launcherOptionsMode, logToFile, NotResident, CursorCentring, LauncherOnly;
    friend void PrintTo(const SwitchRow& row, std::ostream* out) { *out << row.name; }
};

const SwitchRow kSwitchRows[] = {
    {"PlainStartSetsNothing", L"\"C:\\Tools\\Mistle Wick\\Mistlewick.exe\"", false, false, false, true,
     false},
    {"EverySwitchTakesEffect", L"prog.exe /NotReside /_NotReside /DisableCur /Launch /Log", true, true, true,
     false, true},
    {"SwitchesCompareExactlyAndCaseSensitively",
     L"prog.exe /notreside /_NOTRESIDE /DisableCursor /Launch2 -Launch /launch /Init,a.ini /log", false,
     false, false, true, false},
    // The first argument is compared too.
    {"FirstArgumentOptionsMode", L"/_NotReside", true, false, false, true, false},
    {"FirstArgumentLauncherOnly", L"/Launch", false, false, false, true, true},
};

class ParseSwitches : public testing::TestWithParam<SwitchRow> {};

TEST_P(ParseSwitches, SetExactlyTheirFlags) {
    const SwitchRow& row = GetParam();
    mw::StartupFlags flags;
    const auto result = mw::ParseCommandLine(row.line, kExe, flags);
    EXPECT_EQ(result.launcherOptionsMode, row.launcherOptionsMode);
    EXPECT_EQ(result.logToFile, row.logToFile);
    EXPECT_FALSE(result.pathTooLong);
    EXPECT_TRUE(result.preferencesPath.empty());
    EXPECT_EQ(flags.NotResident, row.NotResident);
    EXPECT_EQ(flags.CursorCentring, row.CursorCentring);
    EXPECT_EQ(flags.LauncherOnly, row.LauncherOnly);
}

INSTANTIATE_TEST_SUITE_P(ParseCommandLine, ParseSwitches, testing::ValuesIn(kSwitchRows), kRowName);

// What "/init," makes of the preferences path.
struct InitRow {
    const char* name;
    std::wstring line;
    std::wstring path;
    bool pathTooLong;
    std::wstring exe = kExe;
    friend void PrintTo(const InitRow& row, std::ostream* out) { *out << row.name; }
};

const std::wstring kFolder = L"C:\\Tools\\Mistle Wick\\"; // 21 characters
// Exactly 259 characters fit with the terminator; one more does not.
const std::wstring kFits(259 - kFolder.size(), L'a');
const std::wstring kHuge(5000, L'z');

const InitRow kInitRows[] = {
    {"NamesAFileInTheExecutablesFolder", L"prog.exe /init,other.ini", kFolder + L"other.ini", false},
    // Quoted so the blank stays inside the one argument; the last "/init," wins.
    {"QuotedNameAndTheLastInitWins", L"prog.exe /init,first.ini \"/init,my prefs.ini\"",
     kFolder + L"my prefs.ini", false},
    // Without a backslash in the executable's path the name stands alone.
    {"ExecutableWithoutAFolder", L"prog.exe /init,x.ini", L"x.ini", false, L"prog.exe"},
    // With nothing after it the program folder itself became the preferences path: every read
    // gave defaults and every write failed. It counts as not given, also after a "/init," with a name.
    {"WithoutANameIsIgnored", L"prog.exe /init,", L"", false},
    {"WithoutANameAfterANamedOne", L"prog.exe /init,named.ini /init,", kFolder + L"named.ini", false},
    {"PathOf259CharactersFits", L"prog.exe /init," + kFits, kFolder + kFits, false},
    // The path asked for is kept whole for the message, never cut to another file name.
    {"PathOf260CharactersIsTooLongAndKeptWhole", L"prog.exe /init," + kFits + L"b", kFolder + kFits + L"b",
     true},
    {"HugePathIsTooLongAndKeptWhole", L"prog.exe /init," + kHuge, kFolder + kHuge, true},
};

class ParseInit : public testing::TestWithParam<InitRow> {};

TEST_P(ParseInit, GivesThePreferencesPath) {
    mw::StartupFlags flags;
    const auto result = mw::ParseCommandLine(GetParam().line.c_str(), GetParam().exe, flags);
    EXPECT_EQ(result.preferencesPath, GetParam().path);
    EXPECT_EQ(result.pathTooLong, GetParam().pathTooLong);
}

INSTANTIATE_TEST_SUITE_P(ParseCommandLine, ParseInit, testing::ValuesIn(kInitRows), kRowName);

TEST(ExecutablePath, NamesTheRunningProgram) {
    const std::wstring path = mw::ExecutablePath();
    ASSERT_GT(path.size(), 4u);
    EXPECT_EQ(path.substr(path.size() - 4), L".exe");
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace

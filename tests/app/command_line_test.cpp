#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kExe = L"C:\\Tools\\Mistle Wick\\Mistlewick.exe";

mw::CommandLineResult Parse(const wchar_t* line, mw::StartupFlags& flags) {
    return mw::ParseCommandLine(line, kExe, flags);
}

TEST(ParseCommandLine, PlainStartSetsNothing) {
    mw::StartupFlags flags;
    const auto result = Parse(L"\"C:\\Tools\\Mistle Wick\\Mistlewick.exe\"", flags);
    EXPECT_FALSE(result.launcherOptionsMode);
    EXPECT_FALSE(result.pathTooLong);
    EXPECT_FALSE(result.logToFile);
    EXPECT_TRUE(result.preferencesPath.empty());
    EXPECT_FALSE(flags.NotResident);
    EXPECT_TRUE(flags.CursorCentring);
    EXPECT_FALSE(flags.LauncherOnly);
}

TEST(ParseCommandLine, EverySwitchTakesEffect) {
    mw::StartupFlags flags;
    const auto result = Parse(L"prog.exe /NotReside /_NotReside /DisableCur /Launch /Log", flags);
    EXPECT_TRUE(result.launcherOptionsMode);
    EXPECT_TRUE(result.logToFile);
    EXPECT_TRUE(flags.NotResident);
    EXPECT_FALSE(flags.CursorCentring);
    EXPECT_TRUE(flags.LauncherOnly);
}

TEST(ParseCommandLine, SwitchesCompareExactlyAndCaseSensitively) {
    mw::StartupFlags flags;
    const auto result = Parse(
        L"prog.exe /notreside /_NOTRESIDE /DisableCursor /Launch2 -Launch /launch /Init,a.ini /log", flags);
    EXPECT_FALSE(result.launcherOptionsMode);
    EXPECT_FALSE(result.logToFile);
    EXPECT_TRUE(result.preferencesPath.empty());
    EXPECT_FALSE(flags.NotResident);
    EXPECT_TRUE(flags.CursorCentring);
    EXPECT_FALSE(flags.LauncherOnly);
}

TEST(ParseCommandLine, FirstArgumentIsComparedToo) {
    mw::StartupFlags flags;
    const auto result = Parse(L"/_NotReside", flags);
    EXPECT_TRUE(result.launcherOptionsMode);
    Parse(L"/Launch", flags);
    EXPECT_TRUE(flags.LauncherOnly);
}

TEST(ParseCommandLine, InitNamesAFileInTheExecutablesFolder) {
    mw::StartupFlags flags;
    auto result = Parse(L"prog.exe /init,other.ini", flags);
    EXPECT_EQ(result.preferencesPath, L"C:\\Tools\\Mistle Wick\\other.ini");
    EXPECT_FALSE(result.pathTooLong);

    // Quoted so the blank stays inside the one argument; the last "/init," wins.
    result = Parse(L"prog.exe /init,first.ini \"/init,my prefs.ini\"", flags);
    EXPECT_EQ(result.preferencesPath, L"C:\\Tools\\Mistle Wick\\my prefs.ini");

    // Without a backslash in the executable's path the name stands alone.
    result = mw::ParseCommandLine(L"prog.exe /init,x.ini", L"prog.exe", flags);
    EXPECT_EQ(result.preferencesPath, L"x.ini");
}

// With nothing after it the program folder itself became the preferences path: every read gave
// defaults and every write failed. It counts as not given, also after a "/init," with a name.
TEST(ParseCommandLine, InitWithoutANameIsIgnored) {
    mw::StartupFlags flags;
    auto result = Parse(L"prog.exe /init,", flags);
    EXPECT_TRUE(result.preferencesPath.empty());
    EXPECT_FALSE(result.pathTooLong);
    result = Parse(L"prog.exe /init,named.ini /init,", flags);
    EXPECT_EQ(result.preferencesPath, L"C:\\Tools\\Mistle Wick\\named.ini");
}

TEST(ParseCommandLine, InitPathMustFitMaxPath) {
    mw::StartupFlags flags;
    const std::wstring folder = L"C:\\Tools\\Mistle Wick\\"; // 21 characters
    // Exactly 259 characters fit with the terminator; one more does not.
    const std::wstring fits(259 - folder.size(), L'a');
    auto result = Parse((L"prog.exe /init," + fits).c_str(), flags);
    EXPECT_FALSE(result.pathTooLong);
    EXPECT_EQ(result.preferencesPath, folder + fits);

    const std::wstring tooLong = fits + L"b";
    result = Parse((L"prog.exe /init," + tooLong).c_str(), flags);
    EXPECT_TRUE(result.pathTooLong);
    // The path asked for is kept whole for the message, never cut to another file name.
    EXPECT_EQ(result.preferencesPath, folder + tooLong);

    const std::wstring huge(5000, L'z');
    result = Parse((L"prog.exe /init," + huge).c_str(), flags);
    EXPECT_TRUE(result.pathTooLong);
    EXPECT_EQ(result.preferencesPath.size(), folder.size() + huge.size());
}

TEST(ExecutablePath, NamesTheRunningProgram) {
    const std::wstring path = mw::ExecutablePath();
    ASSERT_GT(path.size(), 4u);
    EXPECT_EQ(path.substr(path.size() - 4), L".exe");
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace

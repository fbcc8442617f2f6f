#include "settings/launcher_file.h"
#include "settings/preferences_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <string>

#include "model/exclude_set.h"
#include "support/temp_dir.h"

namespace {

using mw::test::ReadFileBytes;
using mw::test::TempDir;
using mw::test::WriteTextFile;

std::wstring ReadString(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[512];
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 512, file.c_str());
    return buffer;
}

// Every field set to a value no default has, so a field the loader forgets shows up.
mw::Preferences Scrambled() {
    mw::Preferences p;
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i)
        p.*mw::PreferenceKeys()[i].field = -777;
    return p;
}

TEST(PreferenceTable, CoversEveryFieldOnceWithTheRecordsDefaults) {
    ASSERT_EQ(mw::PreferenceKeyCount(), 22u);
    const mw::Preferences defaults;
    mw::Preferences touched = Scrambled();
    std::set<std::wstring> keys;
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        const mw::PreferenceKey& entry = mw::PreferenceKeys()[i];
        EXPECT_TRUE(keys.insert(entry.key).second) << "duplicate key";
        EXPECT_EQ(entry.defaultValue, defaults.*entry.field);
        touched.*entry.field = defaults.*entry.field;
    }
    // Had two entries shared a field, one field would still hold -777.
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        EXPECT_EQ(touched.*mw::PreferenceKeys()[i].field, defaults.*mw::PreferenceKeys()[i].field);
    }
    EXPECT_EQ(mw::FindPreferenceKey(L"altab7_hide"), mw::FindPreferenceKey(L"Altab7_Hide"));
    ASSERT_NE(mw::FindPreferenceKey(L"MoveCanselPx"), nullptr);
    EXPECT_EQ(mw::FindPreferenceKey(L"MoveCanselPx")->field, &mw::Preferences::MoveCanselPx);
    EXPECT_EQ(mw::FindPreferenceKey(L"Altab7_"), nullptr);
    EXPECT_EQ(mw::FindPreferenceKey(nullptr), nullptr);
}

TEST(LoadPreferences, MissingFileGivesEveryDefault) {
    TempDir dir;
    mw::Preferences p = Scrambled();
    mw::LoadPreferences(dir.file(L"absent.ini"), false, p);
    const mw::Preferences defaults;
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        const mw::PreferenceKey& entry = mw::PreferenceKeys()[i];
        EXPECT_EQ(p.*entry.field, defaults.*entry.field)
            << "key " << testing::PrintToString(std::wstring(entry.key));
    }
}

TEST(LoadPreferences, ExactlyOneAgainstAsStored) {
    TempDir dir;
    const std::wstring file = dir.file(L"p.ini");
    WriteTextFile(file,
                  L"[preference]\r\n" // section and key names ignore case
                  L"RightButton=2\r\nclickmode=1\r\nAdjustCursor=-1\r\nMoveWindow=1\r\n"
                  L"ReplaceAltTab=5\r\nPermissibleRange=7\r\nTimeOutMilliSeconds=-3\r\n"
                  L"MoveCanselPx=0\r\nToCenter=2\r\nToggleDesktop=0\r\nCansel=9\r\n"
                  L"CloseWnd=1\r\nAltab7=3\r\nAltab7_Hide=1\r\nArrangeWindow=0\r\n");
    mw::Preferences p;
    mw::LoadPreferences(file, false, p);
    EXPECT_EQ(p.RightButton, 0); // only exactly 1 counts
    EXPECT_EQ(p.ClickMode, 1);
    EXPECT_EQ(p.AdjustCursor, 0);
    EXPECT_EQ(p.MoveWindow, 1);
    EXPECT_EQ(p.ReplaceAltTab, 5); // as stored, handed on unchanged
    EXPECT_EQ(p.PermissibleRange, 7);
    EXPECT_EQ(p.TimeOutMilliSeconds, -3);
    EXPECT_EQ(p.MoveCanselPx, 0);
    EXPECT_EQ(p.ToCenter, 2); // non-zero: on
    EXPECT_EQ(p.ToggleDesktop, 0);
    EXPECT_EQ(p.Cansel, 9);
    EXPECT_EQ(p.CloseWnd, 1);
    EXPECT_EQ(p.Altab7, 3);
    EXPECT_EQ(p.Altab7_Hide, 1);
    EXPECT_EQ(p.ArrangeWindow, 0);
}

TEST(LoadPreferences, NotResidentForcesClickModeInMemoryOnly) {
    TempDir dir;
    const std::wstring file = dir.file(L"p.ini");
    WriteTextFile(file, L"[Preference]\r\nClickMode=0\r\nRightButton=1\r\n", false);
    mw::Preferences p;
    mw::LoadPreferences(file, true, p);
    EXPECT_EQ(p.ClickMode, 1);
    EXPECT_EQ(p.RightButton, 1);
    EXPECT_EQ(ReadString(file, L"Preference", L"ClickMode"), L"0");

    mw::Preferences q;
    mw::LoadPreferences(dir.file(L"absent.ini"), true, q);
    EXPECT_EQ(q.ClickMode, 1);
}

class ExcludeSection : public testing::Test {
  protected:
    mw::ExcludeSet set_; // a fresh set for each test
    TempDir dir;
};

TEST_F(ExcludeSection, CountBeyondTheKeysAddsEmptyTitles) {
    const std::wstring file = dir.file(L"p.ini");
    WriteTextFile(file, L"[Exclude]\r\ncnt=2\r\n1=メモ帳 - 無題\r\n");
    mw::LoadExcludeSection(set_, file);
    EXPECT_EQ(mw::ExcludeCount(set_), 2u);
    EXPECT_TRUE(mw::IsExcluded(set_, L"メモ帳 - 無題"));
    EXPECT_TRUE(mw::IsExcluded(set_, L"")); // key 2 is missing: an empty title
}

TEST_F(ExcludeSection, KeysBeyondTheCountAndMissingSectionAreIgnored) {
    const std::wstring file = dir.file(L"p.ini");
    WriteTextFile(file, L"[Exclude]\r\ncnt=1\r\n1=A\r\n2=B\r\n");
    mw::LoadExcludeSection(set_, file);
    EXPECT_EQ(mw::ExcludeCount(set_), 1u);
    EXPECT_FALSE(mw::IsExcluded(set_, L"B"));

    mw::ClearExcludeSet(set_);
    mw::LoadExcludeSection(set_, dir.file(L"absent.ini"));
    EXPECT_EQ(mw::ExcludeCount(set_), 0u);
    EXPECT_FALSE(mw::IsExcluded(set_, L""));
}

TEST_F(ExcludeSection, LongTitlesAreCutTo258Characters) {
    const std::wstring file = dir.file(L"p.ini");
    const std::wstring title(300, L'x');
    WriteTextFile(file, L"[Exclude]\r\ncnt=1\r\n1=" + title + L"\r\n");
    mw::LoadExcludeSection(set_, file);
    EXPECT_TRUE(mw::IsExcluded(set_, title.substr(0, 258).c_str()));
    EXPECT_FALSE(mw::IsExcluded(set_, title.c_str()));
}

TEST_F(ExcludeSection, AbsurdOrNegativeCountsFinishPromptly) {
    const std::wstring file = dir.file(L"p.ini");
    WriteTextFile(file, L"[Exclude]\r\ncnt=-5\r\n1=A\r\n");
    mw::LoadExcludeSection(set_, file);
    EXPECT_EQ(mw::ExcludeCount(set_), 0u);

    // Read as an unsigned number this would be over four thousand million keys.
    WriteTextFile(file, L"[Exclude]\r\ncnt=-1\r\n1=A\r\n");
    mw::LoadExcludeSection(set_, file);
    EXPECT_EQ(mw::ExcludeCount(set_), 0u);

    WriteTextFile(file, L"[Exclude]\r\ncnt=2147483647\r\n1=A\r\n 5000 = B \r\n10000=C\r\n10001=D\r\n");
    mw::LoadExcludeSection(set_, file);
    EXPECT_EQ(mw::ExcludeCount(set_), static_cast<size_t>(mw::kMaxExcludeKeys));
    EXPECT_TRUE(mw::IsExcluded(set_, L"A"));
    EXPECT_TRUE(mw::IsExcluded(set_, L"B")); // blanks around key and value are the reader's to trim
    EXPECT_TRUE(mw::IsExcluded(set_, L"C"));
    EXPECT_FALSE(mw::IsExcluded(set_, L"D"));
    EXPECT_TRUE(mw::IsExcluded(set_, L""));
}

class WriteHelpers : public testing::Test {
  protected:
    TempDir dir;
    std::wstring file = dir.file(L"Mistlewick.exe.ini");
};

TEST_F(WriteHelpers, NewFileIsUnicodeAndJapaneseRoundTrips) {
    ASSERT_TRUE(mw::WriteLauncherEntry(file, 1, L"メモ帳", L"/a \"b\"", L"C:\\作業",
                                       L"C:\\Windows\\notepad.exe", nullptr, 0));
    const std::string bytes = ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
    EXPECT_EQ(ReadString(file, L"Launcher", L"name1"), L"メモ帳");
    EXPECT_EQ(ReadString(file, L"Launcher", L"wfol1"), L"C:\\作業");
    EXPECT_EQ(ReadString(file, L"Launcher", L"path1"), L"C:\\Windows\\notepad.exe");
    EXPECT_EQ(ReadString(file, L"Launcher", L"icon1"), L"<missing>");
    EXPECT_EQ(ReadString(file, L"Launcher", L"icon_idx1"), L"0");

    // Later writes keep the file Unicode.
    ASSERT_TRUE(mw::WritePreference(file, mw::PreferenceId::ClickMode, 1));
    EXPECT_EQ(ReadFileBytes(file).substr(0, 2), std::string("\xFF\xFE"));
    EXPECT_EQ(ReadString(file, L"Launcher", L"name1"), L"メモ帳");
}

TEST_F(WriteHelpers, ExistingAnsiFileKeepsItsEncoding) {
    WriteTextFile(file, L"[Preference]\r\nRightButton=1\r\n", false);
    ASSERT_TRUE(mw::WritePreference(file, mw::PreferenceId::TimeOutMilliSeconds, 1500));
    const std::string bytes = ReadFileBytes(file);
    EXPECT_EQ(bytes.substr(0, 12), "[Preference]");
    EXPECT_NE(bytes.find("TimeOutMilliSeconds=1500"), std::string::npos);
    EXPECT_NE(bytes.find("RightButton=1"), std::string::npos);
}

TEST_F(WriteHelpers, PreferenceWritesDecimalAndReadsBack) {
    ASSERT_TRUE(mw::WritePreference(file, mw::PreferenceId::MoveCanselPx, -20));
    ASSERT_TRUE(mw::WritePreference(file, mw::PreferenceId::PermissibleRange, 40));
    EXPECT_EQ(ReadString(file, L"Preference", L"MoveCanselPx"), L"-20");
    mw::Preferences p;
    mw::LoadPreferences(file, false, p);
    EXPECT_EQ(p.MoveCanselPx, -20);
    EXPECT_EQ(p.PermissibleRange, 40);
}

TEST_F(WriteHelpers, NullValueRemovesTheKey) {
    ASSERT_TRUE(mw::WriteLauncherEntry(file, 2, L"n", L"c", L"w", L"p", L"icons.dll", 7));
    ASSERT_TRUE(mw::WriteLauncherCount(file, 2));
    EXPECT_EQ(ReadString(file, L"Launcher", L"icon2"), L"icons.dll");
    EXPECT_EQ(ReadString(file, L"Launcher", L"icon_idx2"), L"7");
    EXPECT_EQ(ReadString(file, L"Launcher", L"cnt"), L"2");

    // Restoring the default icon: the icon file goes, the index stays a number.
    ASSERT_TRUE(mw::WriteLauncherEntry(file, 2, L"n", nullptr, nullptr, L"p", nullptr, 0));
    EXPECT_EQ(ReadString(file, L"Launcher", L"icon2"), L"<missing>");
    EXPECT_EQ(ReadString(file, L"Launcher", L"cmnd2"), L"<missing>");
    EXPECT_EQ(ReadString(file, L"Launcher", L"wfol2"), L"<missing>");
    EXPECT_EQ(ReadString(file, L"Launcher", L"icon_idx2"), L"0");
    EXPECT_EQ(ReadString(file, L"Launcher", L"name2"), L"n");

    ASSERT_TRUE(mw::WriteLauncherValue(file, mw::LauncherKey::Name, 2, nullptr));
    EXPECT_EQ(ReadString(file, L"Launcher", L"name2"), L"<missing>");

    ASSERT_TRUE(mw::RemoveLauncherEntry(file, 2));
    for (const wchar_t* key : {L"path2", L"name2", L"cmnd2", L"wfol2", L"icon2", L"icon_idx2"}) {
        EXPECT_EQ(ReadString(file, L"Launcher", key), L"<missing>");
    }
    EXPECT_EQ(ReadString(file, L"Launcher", L"cnt"), L"2");
}

// Written as 1 or removed by the launcher page (its tests); what else a hand may write is off.
TEST_F(WriteHelpers, RunOrRaiseIsOnOnlyAtOneAndGoesWithTheEntry) {
    ASSERT_TRUE(mw::WriteLauncherEntry(file, 3, L"n", nullptr, nullptr, L"p", nullptr, 0, true));
    EXPECT_TRUE(mw::ReadLauncherEntry(file, 3).raise);
    ASSERT_TRUE(mw::WriteLauncherValue(file, mw::LauncherKey::Raise, 3, L"2"));
    EXPECT_FALSE(mw::ReadLauncherEntry(file, 3).raise);
    ASSERT_TRUE(mw::RemoveLauncherEntry(file, 3));
    EXPECT_EQ(ReadString(file, L"Launcher", L"raise3"), L"<missing>");
}

TEST_F(WriteHelpers, RemovingFromAMissingFileCreatesNothing) {
    mw::WriteLauncherValue(file, mw::LauncherKey::Name, 1, nullptr);
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WriteHelpers, FailedWriteIsReported) {
    // A folder that does not exist cannot take the file.
    const std::wstring unreachable = dir.file(L"no such folder\\p.ini");
    EXPECT_FALSE(mw::WritePreference(unreachable, mw::PreferenceId::ClickMode, 1));
    EXPECT_FALSE(mw::WriteLauncherCount(unreachable, 1));
}

} // namespace

// The table the pages work through: each default is a value the pages can offer, and no control
// of a page stands for two preferences.
TEST(PreferencesTable, DefaultsLieWithinTheirBoundsAndControlsAreUnique) {
    std::set<std::pair<mw::OptionsPage, int>> controls;
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        const mw::PreferenceKey& entry = mw::PreferenceKeys()[i];
        EXPECT_EQ(&mw::PreferenceEntry(entry.id), &entry) << "entry " << i;
        EXPECT_LE(entry.minValue, entry.defaultValue) << "entry " << i;
        EXPECT_GE(entry.maxValue, entry.defaultValue) << "entry " << i;
        EXPECT_EQ(entry.control == 0, entry.page == mw::OptionsPage::None) << "entry " << i;
        if (entry.control != 0) {
            EXPECT_TRUE(controls.insert({entry.page, entry.control}).second) << "entry " << i;
        }
    }
}

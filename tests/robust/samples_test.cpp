// The sample files shipped in the release: they must say exactly what the program does without
// them, load cleanly through the real loaders, and keep the preferences file in UTF-16 so the
// options dialog can write names in any script into it without loss.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "model/launcher_section.h"
#include "settings/preferences_file.h"
#include "model/exclude_set.h"
#include "model/item_list.h"
#include "settings/preferences.h"
#include "support/harness.h"
#include "support/temp_dir.h"
#include "view/design.h"
#include "view/design_file.h"

namespace {

using namespace mw::test;

std::wstring Sample(const wchar_t* name) {
    return BinDir() + L"\\samples\\" + name;
}

TEST(Samples, PreferencesSampleHoldsEveryKeyWithItsDefault) {
    const std::wstring path = Sample(L"Mistlewick.exe.ini");
    const std::string bytes = ReadFileBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "the sample must be UTF-16LE with a byte-order mark";

    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        const mw::PreferenceKey& key = mw::PreferenceKeys()[i];
        wchar_t text[32] = {};
        GetPrivateProfileStringW(L"Preference", key.key, L"<missing>", text, 32, path.c_str());
        EXPECT_EQ(std::wstring(text), std::to_wstring(key.defaultValue))
            << testing::PrintToString(std::wstring(key.key));
    }
    mw::Preferences loaded;
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i)
        loaded.*mw::PreferenceKeys()[i].field = -1;
    mw::LoadPreferences(path, false, loaded);
    const mw::Preferences defaults;
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        EXPECT_EQ(loaded.*mw::PreferenceKeys()[i].field, defaults.*mw::PreferenceKeys()[i].field);
    }
    // The Exclude and Launcher examples are commented out.
    mw::ExcludeSet excluded;
    mw::LoadExcludeSection(excluded, path);
    EXPECT_EQ(mw::ExcludeCount(excluded), 0u);
    auto launchers = mw::CreateLauncherList();
    EXPECT_EQ(mw::LoadLauncherSection(path, 32, *launchers), 0);
    const std::string text(bytes.begin(), bytes.end());
    for (const wchar_t* example : {L";[Exclude]", L";[Launcher]", L";path1="}) {
        const std::wstring w(example);
        const std::string utf16(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
        EXPECT_NE(text.find(utf16), std::string::npos) << testing::PrintToString(w);
    }
}

TEST(Samples, ThePreferencesSampleTakesJapaneseNamesWithoutLoss) {
    TempDir dir;
    const std::wstring copy = dir.file(L"Mistlewick.exe.ini");
    ASSERT_TRUE(CopyFileW(Sample(L"Mistlewick.exe.ini").c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(
        mw::WriteLauncherEntry(copy, 1, L"メモ帳", L"", L"", L"C:\\windows\\notepad.exe", nullptr, 0));
    ASSERT_TRUE(mw::WriteLauncherCount(copy, 1));
    auto launchers = mw::CreateLauncherList();
    ASSERT_EQ(mw::LoadLauncherSection(copy, 32, *launchers), 1);
    EXPECT_EQ(launchers->slots[0].name, L"メモ帳");
    mw::ClearLauncherList(*launchers);
}

TEST(Samples, DesignSampleLoadsToTheDefaultDesign) {
    const std::wstring path = Sample(L"design.ini");
    mw::Design loaded;
    loaded.backgroundColor = loaded.textColor = loaded.frameColor = 0x123456;
    loaded.iconSize = loaded.windowSpace = loaded.itemSpace = loaded.textMaxWidth = -5;
    loaded.textAlign = -1;
    mw::LoadDesign(nullptr, path, loaded);
    const mw::Design defaults;
    EXPECT_EQ(loaded.backgroundColor, defaults.backgroundColor);
    EXPECT_EQ(loaded.textColor, defaults.textColor);
    EXPECT_EQ(loaded.separatorColor, defaults.separatorColor);
    EXPECT_EQ(loaded.cursorFrameColor, defaults.cursorFrameColor);
    EXPECT_EQ(loaded.frameColor, defaults.frameColor);
    EXPECT_EQ(loaded.cursorTextColor, defaults.cursorTextColor);
    EXPECT_EQ(loaded.cursorBackgroundColor, defaults.cursorBackgroundColor);
    EXPECT_EQ(loaded.cursorTextBold, defaults.cursorTextBold);
    EXPECT_EQ(loaded.windowSpace, defaults.windowSpace);
    EXPECT_EQ(loaded.itemSpace, defaults.itemSpace);
    EXPECT_EQ(loaded.textMaxWidth, defaults.textMaxWidth);
    EXPECT_EQ(loaded.textWidth, defaults.textWidth);
    EXPECT_EQ(loaded.thumbnail, defaults.thumbnail);
    EXPECT_EQ(loaded.thumbnailSize, defaults.thumbnailSize);
    EXPECT_EQ(loaded.thumbnailOverlay, defaults.thumbnailOverlay);
    EXPECT_EQ(loaded.iconSize, defaults.iconSize);
    EXPECT_EQ(loaded.textAlign, defaults.textAlign);
    // Every key of the file is present (the two styling keys are not kept in the record).
    for (const auto& [section, key] :
         {std::pair{L"Window", L"drop_shadow"}, std::pair{L"Window", L"alpha"},
          std::pair{L"Cursor", L"text-bold"}, std::pair{L"Item", L"text-align"}}) {
        wchar_t text[32] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", text, 32, path.c_str());
        EXPECT_NE(std::wstring(text), L"<missing>") << testing::PrintToString(std::wstring(key));
    }
}

} // namespace

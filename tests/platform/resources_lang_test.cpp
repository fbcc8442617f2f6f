#include "platform/resources_lang.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/unique_handle.h"
#include "resource.h"
#include "support/harness.h"

namespace mw::test {
namespace {

constexpr LANGID kBoth[] = {kLangIdJapanese, kLangIdEnglish};

// Restores the process-wide language setting a test changes.
struct LanguageSettingGuard {
    int saved = LanguageSetting();
    ~LanguageSettingGuard() { SetLanguageSetting(saved); }
};

TEST(ResourceLanguage, SettingAgainstDisplayLanguage) {
    struct Case {
        int setting;
        LANGID display;
        LANGID expected;
    } const cases[] = {
        {kLanguageAuto, 0x0411, kLangIdJapanese},
        {kLanguageAuto, 0x0409, kLangIdEnglish},
        {kLanguageAuto, 0x0809, kLangIdEnglish},
        {kLanguageAuto, 0x0804, kLangIdEnglish},
        {kLanguageJapanese, 0x0409, kLangIdJapanese},
        {kLanguageEnglish, 0x0411, kLangIdEnglish},
        {7, 0x0411, kLangIdJapanese},
        {-1, 0x0407, kLangIdEnglish},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResourceLanguageFor(c.setting, c.display), c.expected)
            << "setting " << c.setting << ", display 0x" << std::hex << c.display;
    }
    LanguageSettingGuard guard;
    SetLanguageSetting(kLanguageEnglish);
    EXPECT_EQ(ResourceLanguage(), kLangIdEnglish);
    EXPECT_EQ(LoadText(IDS_COMMAND_CANCEL), L"Cancel");
    SetLanguageSetting(kLanguageJapanese);
    EXPECT_EQ(LoadText(IDS_COMMAND_CANCEL), L"キャンセル");
}

TEST(ResourceLanguage, EveryTextInBothLanguagesOnceAndNotEmpty) {
    std::set<unsigned> seen;
    for (unsigned id : kAllTextIds) {
        EXPECT_TRUE(seen.insert(id).second) << "text number " << id << " is given twice";
        for (LANGID language : kBoth)
            EXPECT_FALSE(LoadTextExactly(id, language).empty()) << "text " << id << ", language " << language;
    }
    EXPECT_EQ(LoadTextExactly(IDS_COMMAND_CLOSE, kLangIdJapanese), L"「%1」を閉じる");
    EXPECT_EQ(LoadTextExactly(IDS_COMMAND_CLOSE, kLangIdEnglish), L"Close \"%1\"");
    // Neither language has text 1; a language without tables falls back to one that has them.
    EXPECT_EQ(LoadTextIn(1, kLangIdEnglish), L"");
    EXPECT_FALSE(LoadTextIn(IDS_APP_NAME, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)).empty());
}

TEST(ResourceLanguage, FormatFillsNumberedPlaceholdersOnce) {
    EXPECT_EQ(FormatPattern(L"%2 of %1", {L"a", L"b"}), L"b of a");
    EXPECT_EQ(FormatPattern(L"100%% %1", {L"%1%2"}), L"100% %1%2");
    EXPECT_EQ(FormatPattern(L"%3 and %", {L"x"}), L"%3 and %");
}

struct Control {
    int id;
    std::wstring className;
    std::wstring text;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM out) {
    wchar_t className[64] = L"", text[1024] = L"";
    GetClassNameW(child, className, 64);
    GetWindowTextW(child, text, 1024);
    reinterpret_cast<std::vector<Control>*>(out)->push_back(
        {static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), className, text});
    return TRUE;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The controls of a template in one language, in template order.
std::vector<Control> ControlsOf(int templateId, LANGID language, std::wstring& caption) {
    std::vector<Control> controls;
    HRSRC found = FindResourceExW(ResourceModule(), RT_DIALOG, MAKEINTRESOURCEW(templateId), language);
    if (!found)
        return controls;
    const auto* dialog = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(ResourceModule(), found)));
    UniqueWindow host(CreateTestWindow(L"template host", WS_OVERLAPPEDWINDOW));
    UniqueWindow window(CreateDialogIndirectParamW(ResourceModule(), dialog, host.get(), QuietDialog, 0));
    if (!window)
        return controls;
    wchar_t text[256] = L"";
    GetWindowTextW(window.get(), text, 256);
    caption = text;
    EnumChildWindows(window.get(), CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

TEST(ResourceLanguage, EveryDialogInBothLanguagesWithTheSameControls) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    for (int id : {IDD_OPTIONS, IDD_PAGE_MOUSE, IDD_PAGE_GENERAL, IDD_PAGE_LAUNCHER, IDD_PAGE_ABOUT,
                   IDD_LAUNCHER_PROPERTIES}) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        std::wstring japaneseCaption, englishCaption;
        const std::vector<Control> japanese = ControlsOf(id, kLangIdJapanese, japaneseCaption);
        const std::vector<Control> english = ControlsOf(id, kLangIdEnglish, englishCaption);
        ASSERT_FALSE(japanese.empty());
        ASSERT_EQ(english.size(), japanese.size());
        EXPECT_EQ(englishCaption.empty(), japaneseCaption.empty());
        for (size_t i = 0; i < japanese.size(); ++i) {
            EXPECT_EQ(english[i].id, japanese[i].id) << "control " << i;
            EXPECT_EQ(english[i].className, japanese[i].className) << "control " << i;
            if (!japanese[i].text.empty()) {
                EXPECT_FALSE(english[i].text.empty()) << "control " << japanese[i].id;
            }
        }
    }
}

TEST(ResourceLanguage, TrayMenuInBothLanguagesWithTheSameCommands) {
    LanguageSettingGuard guard;
    std::vector<std::vector<std::pair<UINT, std::wstring>>> items;
    for (int setting : {kLanguageJapanese, kLanguageEnglish}) {
        SetLanguageSetting(setting);
        UniqueMenu menu(LoadMenuInLanguage(ResourceModule(), IDR_TRAYMENU));
        ASSERT_TRUE(menu);
        HMENU popup = GetSubMenu(menu.get(), 0);
        items.emplace_back();
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            wchar_t text[64] = L"";
            GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
            items.back().emplace_back(GetMenuItemID(popup, i), text);
        }
    }
    ASSERT_EQ(items[0].size(), 4u);
    ASSERT_EQ(items[1].size(), items[0].size());
    const std::wstring english[] = {L"E&xit", L"", L"&Options", L"&Pause"};
    for (size_t i = 0; i < items[0].size(); ++i) {
        EXPECT_EQ(items[1][i].first, items[0][i].first);
        EXPECT_EQ(items[1][i].second, english[i]);
    }
    EXPECT_EQ(items[0][0].second, L"終了(&X)");
}

} // namespace
} // namespace mw::test

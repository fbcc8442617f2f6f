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

TEST(ResourceLanguage, SettingAgainstDisplayLanguage) {
    struct Case {
        int setting;
        LANGID display, expected;
    } const cases[] = {
        {kLanguageAuto, 0x0411, kLangIdJapanese},
        {kLanguageAuto, 0x0409, kLangIdEnglish},
        {kLanguageAuto, 0x0804, kLangIdEnglish},
        {kLanguageJapanese, 0x0409, kLangIdJapanese},
        {kLanguageEnglish, 0x0411, kLangIdEnglish},
        {7, 0x0411, kLangIdJapanese},
        {-1, 0x0407, kLangIdEnglish},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResourceLanguageFor(c.setting, c.display), c.expected) << c.setting << " " << c.display;
}

TEST(ResourceLanguage, EveryTextInBothLanguagesOnceAndNotEmpty) {
    std::set<unsigned> seen;
    for (unsigned id : kAllTextIds) {
        EXPECT_TRUE(seen.insert(id).second) << "text number " << id << " is given twice";
        EXPECT_FALSE(LoadTextExactly(id, kLangIdJapanese).empty()) << id;
        EXPECT_FALSE(LoadTextExactly(id, kLangIdEnglish).empty()) << id;
    }
    EXPECT_EQ(LoadTextExactly(IDS_COMMAND_CLOSE, kLangIdEnglish), L"Close \"%1\"");
    // A language without tables falls back to one that has them.
    EXPECT_EQ(LoadTextIn(IDS_COMMAND_CANCEL, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), L"キャンセル");
}

TEST(ResourceLanguage, FormatFillsNumberedPlaceholdersOnce) {
    EXPECT_EQ(FormatPattern(L"%2 of %1", {L"a", L"b"}), L"b of a");
    EXPECT_EQ(FormatPattern(L"100%% %1 %3 %", {L"%1%2"}), L"100% %1%2 %3 %");
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM out) {
    wchar_t className[64] = L"", text[1024] = L"";
    GetClassNameW(child, className, 64);
    GetWindowTextW(child, text, 1024);
    const int id = static_cast<short>(GetDlgCtrlID(child));
    reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(std::to_wstring(id) + L" " + className +
                                                                 (text[0] ? L" text" : L""));
    return TRUE;
}

// Id, class and whether it has a text, of every control of the template in one language, in
// template order; the caption first.
std::vector<std::wstring> ControlsOf(int templateId, LANGID language) {
    std::vector<std::wstring> controls;
    HRSRC found = FindResourceExW(ResourceModule(), RT_DIALOG, MAKEINTRESOURCEW(templateId), language);
    if (!found)
        return controls;
    const auto* dialog = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(ResourceModule(), found)));
    UniqueWindow host(CreateTestWindow(L"template host", WS_OVERLAPPEDWINDOW));
    UniqueWindow window(CreateDialogIndirectParamW(ResourceModule(), dialog, host.get(), QuietDialog, 0));
    controls.push_back(GetWindowTextLengthW(window.get()) > 0 ? L"caption" : L"no caption");
    EnumChildWindows(window.get(), CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

// The English templates are translations: the same controls with the same ids in the same
// order, and a text wherever the Japanese one has one.
TEST(ResourceLanguage, EveryDialogInBothLanguagesWithTheSameControls) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    for (int id : {IDD_OPTIONS, IDD_PAGE_MOUSE, IDD_PAGE_GENERAL, IDD_PAGE_LAUNCHER, IDD_PAGE_ABOUT,
                   IDD_LAUNCHER_PROPERTIES}) {
        const std::vector<std::wstring> japanese = ControlsOf(id, kLangIdJapanese);
        EXPECT_GT(japanese.size(), 1u) << id;
        EXPECT_EQ(ControlsOf(id, kLangIdEnglish), japanese) << id;
    }
}

} // namespace
} // namespace mw::test

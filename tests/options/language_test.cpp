// The language setting as the user meets it: the options dialog, the tray menu and the command
// entries in the chosen language, automatic following the display language, and the General
// page's choice taking effect at once. Runs under a Japanese and an English display language.
#include "controller/tray_menu.h"
#include "model/list_building.h"
#include "options/general_page.h"
#include "options/option_test_fixture.h"
#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"
#include "support/display_language.h"
#include "model/program_state.h"

namespace mw::test {
namespace {

std::wstring g_trayFirstItem;

BOOL WINAPI RecordFirstItem(HMENU menu, UINT, int, int, int, HWND, const RECT*) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    g_trayFirstItem = text;
    return 0;
}

// Title, tabs, first tray item, desktop entry, close entry for no window.
const wchar_t* const kJapanese[] = {L"オプション - Mistlewick",     L"マウス",         L"全般",
                                    L"プログラムランチャ",          L"バージョン情報", L"終了(&X)",
                                    L"デスクトップの表示 / 非表示", L"「」を閉じる"};
const wchar_t* const kEnglish[] = {L"Options - Mistlewick", L"Mouse",     L"General",
                                   L"Program launcher",     L"About",     L"E&xit",
                                   L"Show / hide desktop",  L"Close \"\""};

class DisplayLanguage : public OptionsTest, public ::testing::WithParamInterface<int> {
  protected:
    void UseSetting(int setting) { // as start-up takes it from the file
        program_.preferences.Language = setting;
    }
};

// Every page (and the Mouse page's details) of the open dialog into build/artifacts.
void ScreenshotEveryPage(const ProgramState& program, HWND dialog, const std::wstring& prefix) {
    HWND tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
    const wchar_t* names[] = {L"mouse", L"mouse-details", L"general", L"launcher", L"about"};
    for (int shot = 0; shot < 5; ++shot) {
        const int index = shot == 0 ? 0 : shot - 1;
        SendMessageW(tab, TCM_SETCURSEL, index, 0);
        NMHDR header{tab, IDC_OPTIONS_TAB, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(dialog, WM_NOTIFY, IDC_OPTIONS_TAB, reinterpret_cast<LPARAM>(&header));
        if (shot == 1)
            Click(CurrentOptionsDialog(program).OptionPages[kSlotMouse], IDC_MOUSE_DETAILS);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpFor(100);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_TRUE(SaveScreenPng(r, (prefix + names[shot] + L".png").c_str()));
    }
}

// 0 and an unknown value follow the display language; 1 and 2 hold whatever it is.
TEST_P(DisplayLanguage, DialogTrayMenuAndCommandsShowTheChosenLanguage) {
    ASSERT_TRUE(DisplayLanguageAsConfigured());
    UseSetting(GetParam());
    const bool japanese =
        GetParam() == kLanguageJapanese || (GetParam() != kLanguageEnglish && DisplayIsJapanese());
    const wchar_t* const* expected = japanese ? kJapanese : kEnglish;

    RunOptionsDialogWith(program_, kOptionsAllPages, [&](HWND dialog) {
        EXPECT_EQ(Text(dialog), expected[0]);
        for (int i = 0; i < 4; ++i) {
            wchar_t text[64] = L"";
            TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
            SendDlgItemMessageW(dialog, IDC_OPTIONS_TAB, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(text, expected[1 + i]);
        }
        ScreenshotEveryPage(program_, dialog,
                            std::wstring(L"options-") + (japanese ? L"ja" : L"en") + L"-on-" +
                                (DisplayIsJapanese() ? L"ja" : L"en") + L"-system-");
    });

    program_.services.trackPopupMenu = RecordFirstItem;
    UniqueWindow trayOwner(CreateTestWindow(L"tray owner", WS_OVERLAPPEDWINDOW));
    ShowTrayMenu(program_, trayOwner.get());
    EXPECT_EQ(g_trayFirstItem, expected[5]);

    BuildCommandList(*program_.commandList, program_.preferences, false, 16, GetModuleHandleW(nullptr));
    EXPECT_EQ(program_.commandList->slots[0].name, expected[6]);
    EXPECT_EQ(CloseEntryLabel(ProgramLanguage(program_), nullptr), expected[7]);
}

INSTANTIATE_TEST_SUITE_P(Settings, DisplayLanguage,
                         ::testing::Values(kLanguageAuto, kLanguageJapanese, kLanguageEnglish, 7));

TEST_F(DisplayLanguage, ChoosingOnTheGeneralPageSavesAndRebuildsTheCommandsAtOnce) {
    UseSetting(kLanguageJapanese);
    BuildCommandList(*program_.commandList, program_.preferences, false, 16, GetModuleHandleW(nullptr));
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    HWND combo = GetDlgItem(page, IDC_GENERAL_LANGUAGE);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), kLanguageJapanese);
    SendMessageW(combo, CB_SETCURSEL, kLanguageEnglish, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_LANGUAGE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(FileValue(L"Language"), L"2");
    EXPECT_EQ(ProgramLanguage(program_), kLangIdEnglish);
    EXPECT_EQ(program_.commandList->slots[0].name, L"Show / hide desktop") << "rebuilt for the next popup";
    DestroyWindow(page);

    UseSetting(9); // an unknown value shows as automatic
    page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_GENERAL_LANGUAGE, CB_GETCURSEL, 0, 0), kLanguageAuto);
    DestroyWindow(page);
}

} // namespace
} // namespace mw::test

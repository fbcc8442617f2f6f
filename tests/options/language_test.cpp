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

namespace mw::test {
namespace {

std::wstring g_trackedFirstItem;

BOOL WINAPI RecordFirstItem(HMENU menu, UINT, int, int, int, HWND, const RECT*) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    g_trackedFirstItem = text;
    return 0;
}

std::wstring TabText(HWND tab, int index) {
    wchar_t buffer[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

// What each language shows where the tests look.
struct Shown {
    const wchar_t* title;
    const wchar_t* tabs[4];
    const wchar_t* exit;
    const wchar_t* desktop;
    const wchar_t* closeUntitled;
};
const Shown kJapanese{L"オプション - Mistlewick",
                      {L"マウス", L"全般", L"プログラムランチャ", L"バージョン情報"},
                      L"終了(&X)",
                      L"デスクトップの表示 / 非表示",
                      L"「」を閉じる"};
const Shown kEnglish{L"Options - Mistlewick",
                     {L"Mouse", L"General", L"Program launcher", L"About"},
                     L"E&xit",
                     L"Show / hide desktop",
                     L"Close \"\""};

class DisplayLanguage : public OptionsTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        OptionsTest::SetUp();
        savedTracker_ = TrayMenuTracker();
        TrayMenuTracker() = RecordFirstItem;
        g_trackedFirstItem.clear();
    }
    void TearDown() override {
        TrayMenuTracker() = savedTracker_;
        SetLanguageSetting(kLanguageAuto);
        OptionsTest::TearDown();
    }
    // The setting as start-up takes it from the file.
    void UseSetting(int setting) {
        CurrentPreferences().Language = setting;
        SetLanguageSetting(setting);
    }
    TrackPopupMenuFn savedTracker_ = nullptr;
};

// Every page of the open dialog (and the Mouse page's details) into build/artifacts.
void ScreenshotEveryPage(HWND dialog, const std::wstring& prefix) {
    HWND tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
    const wchar_t* names[] = {L"mouse", L"general", L"launcher", L"about"};
    for (int index = 0; index < 4; ++index) {
        SendMessageW(tab, TCM_SETCURSEL, index, 0);
        NMHDR header{tab, IDC_OPTIONS_TAB, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(dialog, WM_NOTIFY, IDC_OPTIONS_TAB, reinterpret_cast<LPARAM>(&header));
        for (int pass = 0; pass < (index == 0 ? 2 : 1); ++pass) {
            if (pass == 1) {
                HWND mouse = CurrentOptionsDialog().OptionPages[kSlotMouse];
                SendMessageW(GetDlgItem(mouse, IDC_MOUSE_DETAILS), BM_CLICK, 0, 0);
            }
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            PumpFor(100);
            RECT r{};
            GetWindowRect(dialog, &r);
            const std::wstring name = prefix + names[index] + (pass == 1 ? L"-details" : L"") + L".png";
            EXPECT_TRUE(SaveScreenPng(r, name.c_str())) << "screenshot";
        }
    }
}

// 0 and an unknown value follow the display language; 1 and 2 hold whatever it is.
TEST_P(DisplayLanguage, DialogTrayMenuAndCommandsShowTheChosenLanguage) {
    ASSERT_TRUE(DisplayLanguageAsConfigured());
    const int setting = GetParam();
    UseSetting(setting);
    const bool japanese =
        setting == kLanguageJapanese || (setting != kLanguageEnglish && DisplayIsJapanese());
    const Shown& expected = japanese ? kJapanese : kEnglish;

    RunOptionsDialogWith(kOptionsAllPages, [&](HWND dialog) {
        EXPECT_EQ(Text(dialog), expected.title);
        HWND tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(TabText(tab, i), expected.tabs[i]);
        const std::wstring prefix = std::wstring(L"options-") + (japanese ? L"ja" : L"en") + L"-on-" +
                                    (DisplayIsJapanese() ? L"ja" : L"en") + L"-system-";
        ScreenshotEveryPage(dialog, prefix);
    });

    UniqueWindow trayOwner(CreateTestWindow(L"tray owner", WS_OVERLAPPEDWINDOW));
    ShowTrayMenu(trayOwner.get());
    EXPECT_EQ(g_trackedFirstItem, expected.exit);

    BuildCommandList(*Program().commandList, CurrentPreferences(), false, 16, GetModuleHandleW(nullptr));
    ASSERT_GE(Program().commandList->count, 1);
    EXPECT_EQ(Program().commandList->slots[0].name, expected.desktop);
    EXPECT_EQ(CloseEntryLabel(nullptr), expected.closeUntitled);
}

INSTANTIATE_TEST_SUITE_P(Settings, DisplayLanguage,
                         ::testing::Values(kLanguageAuto, kLanguageJapanese, kLanguageEnglish, 7));

TEST_F(DisplayLanguage, ChoosingOnTheGeneralPageSavesAndRebuildsTheCommandsAtOnce) {
    UseSetting(kLanguageJapanese);
    BuildCommandList(*Program().commandList, CurrentPreferences(), false, 16, GetModuleHandleW(nullptr));
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    HWND combo = GetDlgItem(page, IDC_GENERAL_LANGUAGE);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), kLanguageJapanese);

    SendMessageW(combo, CB_SETCURSEL, kLanguageEnglish, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_LANGUAGE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(FileValue(L"Language"), L"2");
    EXPECT_EQ(CurrentPreferences().Language, kLanguageEnglish);
    EXPECT_EQ(ResourceLanguage(), kLangIdEnglish);
    EXPECT_EQ(Program().commandList->slots[0].name, L"Show / hide desktop") << "rebuilt for the next popup";
    DestroyWindow(page);

    // An unknown value in the file shows as automatic.
    UseSetting(9);
    page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_GENERAL_LANGUAGE, CB_GETCURSEL, 0, 0), kLanguageAuto);
    DestroyWindow(page);
}

} // namespace
} // namespace mw::test

#include "options/about_page.h"
#include "options/option_test_fixture.h"
#include "resource.h"
#include "support/png.h"
#include "model/program_state.h"

namespace mw::test {
namespace {

class OptionsDialogTest : public OptionsTest {};

std::wstring TabText(HWND tab, int index) {
    wchar_t buffer[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void SelectTab(HWND dialog, int index) {
    HWND tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
    SendMessageW(tab, TCM_SETCURSEL, index, 0);
    NMHDR header{tab, IDC_OPTIONS_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, IDC_OPTIONS_TAB, reinterpret_cast<LPARAM>(&header));
}

// The dialog as it is on screen, for people to look at.
void Screenshot(HWND dialog, const wchar_t* name) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(100);
    RECT r{};
    GetWindowRect(dialog, &r);
    WindowDc screen(nullptr);
    UniqueMemDc memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top));
    {
        SelectGuard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
    }
    EXPECT_TRUE(SaveBitmapPng(bitmap.get(), ArtifactPath(name)));
}

TEST_F(OptionsDialogTest, AllPagesInTheirSlotsAndTabChanges) {
    bool ran = false;
    const INT_PTR result = RunOptionsDialogWith(program_, kOptionsAllPages, [&](HWND dialog) {
        ran = true;
        const OptionsDialogState& state = CurrentOptionsDialog(program_);
        HWND tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
        EXPECT_EQ(state.tab, tab);
        EXPECT_EQ(Text(dialog), L"オプション - Mistlewick");
        EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 4);
        EXPECT_EQ(TabText(tab, 0), L"マウス");
        EXPECT_EQ(TabText(tab, 1), L"全般");
        EXPECT_EQ(TabText(tab, 2), L"プログラムランチャ");
        EXPECT_EQ(TabText(tab, 3), L"バージョン情報");

        RECT area{};
        GetClientRect(tab, &area);
        SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        for (HWND page : state.OptionPages) {
            ASSERT_TRUE(page);
            EXPECT_EQ(GetParent(page), tab);
            RECT placed{};
            GetWindowRect(page, &placed);
            MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&placed), 2);
            EXPECT_EQ(placed.left, area.left);
            EXPECT_EQ(placed.top, area.top);
            EXPECT_EQ(placed.right, area.right);
            EXPECT_EQ(placed.bottom, area.bottom);
        }
        EXPECT_EQ(state.CurrentOptionPage, state.OptionPages[kSlotMouse]);
        EXPECT_TRUE(IsWindowVisible(state.OptionPages[kSlotMouse]));
        EXPECT_FALSE(IsWindowVisible(state.OptionPages[kSlotGeneral]));
        Screenshot(dialog, L"options-mouse.png");
        SendMessageW(GetDlgItem(state.OptionPages[kSlotMouse], IDC_MOUSE_DETAILS), BM_CLICK, 0, 0);
        Screenshot(dialog, L"options-mouse-details.png");

        const wchar_t* names[] = {L"options-mouse.png", L"options-general.png", L"options-launcher.png",
                                  L"options-about.png"};
        for (int index : {1, 2, 3}) {
            SelectTab(dialog, index);
            EXPECT_EQ(state.CurrentOptionPage, state.OptionPages[index]);
            for (int slot = 0; slot < 4; ++slot) {
                EXPECT_EQ(IsWindowVisible(state.OptionPages[slot]) != FALSE, slot == index) << index << slot;
            }
            Screenshot(dialog, names[index]);
        }
        // Escape does not close the dialog.
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindow(dialog));
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(CurrentOptionsDialog(program_).dialog, nullptr);
    EXPECT_EQ(CurrentOptionsDialog(program_).OptionPages[kSlotAbout], nullptr);
    // OK after looking around writes nothing and leaves the hook alone.
    EXPECT_EQ(GetFileAttributesW(program_.preferencesPath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(HookCalls().empty());
}

TEST_F(OptionsDialogTest, LauncherOnlyModeHasOneTab) {
    bool ran = false;
    RunOptionsDialogWith(program_, kOptionsLauncherOnly, [&](HWND dialog) {
        ran = true;
        const OptionsDialogState& state = CurrentOptionsDialog(program_);
        HWND tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
        ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 1);
        EXPECT_EQ(TabText(tab, 0), L"プログラムランチャ");
        EXPECT_EQ(state.OptionPages[kSlotMouse], nullptr);
        EXPECT_EQ(state.OptionPages[kSlotGeneral], nullptr);
        EXPECT_EQ(state.OptionPages[kSlotAbout], nullptr);
        ASSERT_TRUE(state.OptionPages[kSlotLauncher]);
        EXPECT_EQ(state.CurrentOptionPage, state.OptionPages[kSlotLauncher]);
        EXPECT_TRUE(IsWindowVisible(state.OptionPages[kSlotLauncher]));
        SelectTab(dialog, 0);
        EXPECT_EQ(state.CurrentOptionPage, state.OptionPages[kSlotLauncher]);
    });
    EXPECT_TRUE(ran);
}

TEST_F(OptionsDialogTest, SecondRequestBringsTheOpenDialogForward) {
    bool ran = false;
    RunOptionsDialogWith(program_, kOptionsAllPages, [&](HWND dialog) {
        ran = true;
        const HWND mousePage = CurrentOptionsDialog(program_).OptionPages[kSlotMouse];
        EXPECT_EQ(RunOptionsDialog(program_, nullptr, kOptionsAllPages), kOptionsAlreadyOpen);
        EXPECT_EQ(CurrentOptionsDialog(program_).dialog, dialog);
        EXPECT_EQ(CurrentOptionsDialog(program_).OptionPages[kSlotMouse], mousePage);
        EXPECT_EQ(WindowsOfProcess(GetCurrentProcessId(), L"#32770").size(), 1u);
    });
    EXPECT_TRUE(ran);
}

TEST_F(OptionsDialogTest, ChangesOnAPageAreSavedAtOnce) {
    RunOptionsDialogWith(program_, kOptionsAllPages, [&](HWND) {
        HWND mouse = CurrentOptionsDialog(program_).OptionPages[kSlotMouse];
        Click(mouse, IDC_MOUSE_RIGHT_BUTTON);
        EXPECT_EQ(FileValue(L"RightButton"), L"1");
    });
    EXPECT_EQ(program_.preferences.RightButton, 1);
    EXPECT_EQ(LastStart().args[3], 1);
}

TEST_F(OptionsDialogTest, AboutTextAndIconOverTwoOpenings) {
    std::wstring texts[2];
    HICON icons[2] = {};
    for (int opening = 0; opening < 2; ++opening) {
        RunOptionsDialogWith(program_, kOptionsAllPages, [&](HWND) {
            HWND about = CurrentOptionsDialog(program_).OptionPages[kSlotAbout];
            texts[opening] = ItemText(about, IDC_ABOUT_VERSION);
            EXPECT_EQ(ItemText(about, IDC_ABOUT_ADDRESS), kWebAddress);
            icons[opening] =
                reinterpret_cast<HICON>(SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icons[opening], &info));
            BITMAP mask{};
            GetObjectW(info.hbmMask ? info.hbmMask : info.hbmColor, sizeof mask, &mask);
            EXPECT_EQ(mask.bmWidth, 48);
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
        });
        ICONINFO info{};
        EXPECT_FALSE(GetIconInfo(icons[opening], &info)) << "the page destroys its icon";
    }
    EXPECT_EQ(texts[0], L"Mistlewick  1, 2, 0, 10\n\n(C) 2026 Mistlewick");
    EXPECT_EQ(texts[1], texts[0]);
}

TEST_F(OptionsDialogTest, VersionBlockOfTheExecutableAndOfAFileWithoutOne) {
    VersionInfo info;
    ReadVersionBlock(info);
    EXPECT_GT(info.blockSize, 0u);
    EXPECT_EQ(info.block.size(), info.blockSize + 1);
    EXPECT_EQ(info.hasTranslation, 1);
    EXPECT_STREQ(info.translationKey, L"041104b0");
    ASSERT_TRUE(VersionString(info, L"FileDescription"));
    EXPECT_STREQ(VersionString(info, L"FileDescription"), L"マウスによるウィンドウ切り替え");
    EXPECT_EQ(VersionString(info, L"NoSuchValue"), nullptr);

    const std::wstring plain = temp_.file(L"plain.txt");
    WriteTextFile(plain, L"no version here");
    VersionInfo none;
    ReadVersionBlock(none, plain);
    EXPECT_EQ(none.blockSize, 0u);
    EXPECT_EQ(none.hasTranslation, 0);
    EXPECT_EQ(VersionString(none, L"ProductName"), nullptr);
    EXPECT_EQ(AboutText(none), L"  \n\n");
}

} // namespace
} // namespace mw::test

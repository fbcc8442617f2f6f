#include <climits>

#include "options/mouse_page.h"
#include "options/option_test_fixture.h"
#include "resource.h"
#include "model/program_state.h"

namespace mw::test {
namespace {

TEST(SecondsTextTest, WholeSecondsAndTruncatedTenths) {
    EXPECT_EQ(SecondsText(500), L"0.5");
    EXPECT_EQ(SecondsText(100), L"0.1");
    EXPECT_EQ(SecondsText(1000), L"1.0");
    EXPECT_EQ(SecondsText(1500), L"1.5");
    EXPECT_EQ(SecondsText(2340), L"2.3");
    EXPECT_EQ(SecondsText(5000), L"5.0");
    EXPECT_EQ(SecondsText(999), L"0.9");
}

TEST(SecondsTextTest, HandEditedValuesOutsideThreeOrFourDigits) {
    EXPECT_EQ(SecondsText(0), L"0.0");
    EXPECT_EQ(SecondsText(50), L"0.0");
    EXPECT_EQ(SecondsText(12345), L"12.3");
    EXPECT_EQ(SecondsText(-500), L"-0.5");
    EXPECT_EQ(SecondsText(INT_MAX), L"2147483.6");
    EXPECT_EQ(SecondsText(INT_MIN), L"-2147483.6");
}

TEST(SteppedPositionTest, HeldWithinTheRange) {
    EXPECT_EQ(SteppedPosition(500, 100, 100, 5000), 600);
    EXPECT_EQ(SteppedPosition(5000, 100, 100, 5000), 5000);
    EXPECT_EQ(SteppedPosition(100, -100, 100, 5000), 100);
    EXPECT_EQ(SteppedPosition(INT_MAX, INT_MAX, 0, 500), 500);
}

class MousePageTest : public OptionsTest {};

TEST_F(MousePageTest, ShowsThePreferences) {
    program_.preferences.PermissibleRange = 7; // 7 / 2 = 3
    program_.preferences.TimeOutMilliSeconds = 2340;
    program_.preferences.MoveCanselPx = 120;
    program_.preferences.RightButton = 1;
    program_.preferences.ToCenter = 1;
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_MOUSE_RANGE_SLIDER, TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_MOUSE_RANGE_SLIDER, TBM_GETRANGEMAX, 0, 0), 20);
    EXPECT_EQ(ItemText(page, IDC_MOUSE_TIMEOUT_EDIT), L"2.3");
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_MOUSE_TIMEOUT_UPDOWN, UDM_GETPOS32, 0, 0), 2340);
    EXPECT_EQ(ItemText(page, IDC_MOUSE_CANCEL_EDIT), L"120");
    EXPECT_TRUE(Checked(page, IDC_MOUSE_RIGHT_BUTTON));
    EXPECT_FALSE(Checked(page, IDC_MOUSE_LEFT_BUTTON));
    EXPECT_TRUE(Checked(page, IDC_MOUSE_WHEEL_MODE));
    EXPECT_TRUE(Checked(page, IDC_MOUSE_TO_CENTER));
    // The explanation is shown, the details are not; the resource text survived the encoding.
    EXPECT_TRUE(VisibleStyle(page, IDC_MOUSE_EXPLANATION));
    EXPECT_FALSE(VisibleStyle(page, IDC_MOUSE_RANGE_SLIDER));
    EXPECT_EQ(
        ItemText(page, IDC_MOUSE_EXPLANATION),
        L"「マウス左／右ボタン　＋　ホイール回転」・・・\n"
        L"マウス左／右ボタンを押しながらマウスホイールを回転させるとウィンドウ一覧が表示されます。\n\n-----"
        L"\n\n"
        L"「ホイールの回転／ボタンを離す」・・・\n"
        L"一覧表示後、そのままマウスボタンを離さずにマウスホイールを回転させ項目を選択、ボタンを離して決定。"
        L"カーソルを大きく移動させると「キャンセル」。\n\n"
        L"「クリックモード」・・・\n"
        L"一覧表示後、マウスボタンを一度離してから、項目をクリックして決定。フォーカスを失った場合は「キャン"
        L"セル」。");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_LEFT_BUTTON), L"マウス左ボタン  ＋  ホイール回転");
    // Opening writes nothing and leaves the hook alone.
    EXPECT_EQ(GetFileAttributesW(program_.preferencesPath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(HookCalls().empty());
    DestroyWindow(page);
}

TEST_F(MousePageTest, ClickModeSwapsWhatIsEnabled) {
    program_.preferences.ClickMode = 1;
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Checked(page, IDC_MOUSE_CLICK_MODE));
    for (int id :
         {IDC_MOUSE_CANCEL_LABEL, IDC_MOUSE_CANCEL_EDIT, IDC_MOUSE_PX_LABEL, IDC_MOUSE_CANCEL_UPDOWN}) {
        EXPECT_FALSE(Enabled(page, id)) << id;
    }
    EXPECT_TRUE(Enabled(page, IDC_MOUSE_TO_CENTER));

    Click(page, IDC_MOUSE_WHEEL_MODE);
    EXPECT_EQ(program_.preferences.ClickMode, 0);
    EXPECT_EQ(FileValue(L"ClickMode"), L"0");
    for (int id :
         {IDC_MOUSE_CANCEL_LABEL, IDC_MOUSE_CANCEL_EDIT, IDC_MOUSE_PX_LABEL, IDC_MOUSE_CANCEL_UPDOWN}) {
        EXPECT_TRUE(Enabled(page, id)) << id;
    }
    EXPECT_FALSE(Enabled(page, IDC_MOUSE_TO_CENTER));
    // Reinstalled: EndHook, then StartMouseHook with the cancel distance now in use.
    ASSERT_EQ(HookCalls().size(), 2u);
    EXPECT_FALSE(HookCalls()[0].start);
    EXPECT_EQ(LastStart().args, (std::array<int, 6>{100, 0, 0, 0, 6, 500}));

    Click(page, IDC_MOUSE_CLICK_MODE);
    EXPECT_EQ(FileValue(L"ClickMode"), L"1");
    EXPECT_EQ(LastStart().args, (std::array<int, 6>{0, 0, 1, 0, 6, 500}));
    EXPECT_FALSE(Enabled(page, IDC_MOUSE_CANCEL_EDIT));
    DestroyWindow(page);
}

TEST_F(MousePageTest, ButtonAndCentringChanges) {
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    Click(page, IDC_MOUSE_RIGHT_BUTTON);
    EXPECT_EQ(program_.preferences.RightButton, 1);
    EXPECT_EQ(FileValue(L"RightButton"), L"1");
    EXPECT_EQ(LastStart().args[3], 1);

    Click(page, IDC_MOUSE_CLICK_MODE); // centring is only offered in click mode
    HookCalls().clear();
    Click(page, IDC_MOUSE_TO_CENTER);
    EXPECT_EQ(program_.preferences.ToCenter, 1);
    EXPECT_EQ(FileValue(L"ToCenter"), L"1");
    EXPECT_TRUE(HookCalls().empty()) << "the hook does not use ToCenter";
    DestroyWindow(page);
}

TEST_F(MousePageTest, SliderWritesTwiceItsPosition) {
    program_.preferences.PermissibleRange = 6;
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    HWND slider = GetDlgItem(page, IDC_MOUSE_RANGE_SLIDER);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 3);
    SendMessageW(slider, TBM_SETPOS, TRUE, 5);
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(program_.preferences.PermissibleRange, 10);
    EXPECT_EQ(FileValue(L"PermissibleRange"), L"10");
    EXPECT_EQ(LastStart().args[4], 10);
    DestroyWindow(page);
}

TEST_F(MousePageTest, UpDownStepsAreHeldInRange) {
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    EXPECT_EQ(SendDeltaPos(page, IDC_MOUSE_TIMEOUT_UPDOWN, 500, 100), 0);
    EXPECT_EQ(program_.preferences.TimeOutMilliSeconds, 600);
    EXPECT_EQ(FileValue(L"TimeOutMilliSeconds"), L"600");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_TIMEOUT_EDIT), L"0.6");
    EXPECT_EQ(LastStart().args[5], 600);

    SendDeltaPos(page, IDC_MOUSE_TIMEOUT_UPDOWN, 5000, 100);
    EXPECT_EQ(program_.preferences.TimeOutMilliSeconds, 5000);
    EXPECT_EQ(FileValue(L"TimeOutMilliSeconds"), L"5000");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_TIMEOUT_EDIT), L"5.0");

    SendDeltaPos(page, IDC_MOUSE_CANCEL_UPDOWN, 100, 10);
    EXPECT_EQ(program_.preferences.MoveCanselPx, 110);
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"110");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_CANCEL_EDIT), L"110");
    EXPECT_EQ(LastStart().args[0], 110);
    SendDeltaPos(page, IDC_MOUSE_CANCEL_UPDOWN, 0, -10);
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"0");
    DestroyWindow(page);
}

// A keyboard user could change neither value: the up-downs had no buddy and the typed cancel
// distance was never read. The arrow keys in each edit now step its value, and a typed distance
// is stored, bounded, when the edit loses focus; the edit always shows what is stored.
TEST_F(MousePageTest, TheKeyboardChangesTheTimeOutAndTheCancelDistance) {
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    Click(page, IDC_MOUSE_DETAILS);
    auto arrow = [&](int editId, WORD key) {
        HWND edit = GetDlgItem(page, editId);
        SetFocus(edit);
        SendMessageW(edit, WM_KEYDOWN, key, 1);
        SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
    };
    arrow(IDC_MOUSE_TIMEOUT_EDIT, VK_UP);
    EXPECT_EQ(program_.preferences.TimeOutMilliSeconds, 600);
    EXPECT_EQ(FileValue(L"TimeOutMilliSeconds"), L"600");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_TIMEOUT_EDIT), L"0.6");

    auto type = [&](const wchar_t* text) {
        HWND edit = GetDlgItem(page, IDC_MOUSE_CANCEL_EDIT);
        SetFocus(edit);
        SetWindowTextW(edit, text);
        SetFocus(GetDlgItem(page, IDC_MOUSE_DETAILS));
    };
    type(L"250");
    EXPECT_EQ(program_.preferences.MoveCanselPx, 250);
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"250");
    EXPECT_EQ(LastStart().args[0], 250);
    arrow(IDC_MOUSE_CANCEL_EDIT, VK_UP); // on from the typed value
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"260");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_CANCEL_EDIT), L"260");
    type(L"900"); // bounded as the arrows bound it
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"500");
    EXPECT_EQ(ItemText(page, IDC_MOUSE_CANCEL_EDIT), L"500");
    arrow(IDC_MOUSE_CANCEL_EDIT, VK_DOWN);
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"490");
    type(L"-5");
    EXPECT_EQ(FileValue(L"MoveCanselPx"), L"0");
    type(L"ten");
    EXPECT_EQ(program_.preferences.MoveCanselPx, 0);
    EXPECT_EQ(ItemText(page, IDC_MOUSE_CANCEL_EDIT), L"0") << "what is shown is what is stored";
    DestroyWindow(page);
}

TEST_F(MousePageTest, DetailsButtonSwapsExplanationAndDetails) {
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    Click(page, IDC_MOUSE_DETAILS);
    EXPECT_FALSE(VisibleStyle(page, IDC_MOUSE_EXPLANATION));
    for (int id :
         {IDC_MOUSE_DETAILS_GROUP, IDC_MOUSE_RANGE_SLIDER, IDC_MOUSE_TIMEOUT_EDIT, IDC_MOUSE_TIMEOUT_UPDOWN,
          IDC_MOUSE_CANCEL_EDIT, IDC_MOUSE_CANCEL_UPDOWN, IDC_MOUSE_TO_CENTER, IDC_MOUSE_TIMEOUT_NOTE}) {
        EXPECT_TRUE(VisibleStyle(page, id)) << id;
    }
    EXPECT_EQ(ItemText(page, IDC_MOUSE_DETAILS), L"<<");
    Click(page, IDC_MOUSE_DETAILS);
    EXPECT_TRUE(VisibleStyle(page, IDC_MOUSE_EXPLANATION));
    EXPECT_FALSE(VisibleStyle(page, IDC_MOUSE_RANGE_SLIDER));
    EXPECT_EQ(ItemText(page, IDC_MOUSE_DETAILS), L"詳細>>");
    EXPECT_TRUE(HookCalls().empty());
    DestroyWindow(page);
}

TEST_F(MousePageTest, ChangesDuringThePauseKeepTheHookOff) {
    program_.paused = true;
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    Click(page, IDC_MOUSE_RIGHT_BUTTON);
    SendDeltaPos(page, IDC_MOUSE_TIMEOUT_UPDOWN, 500, 100);
    EXPECT_TRUE(HookCalls().empty());
    EXPECT_EQ(program_.preferences.RightButton, 1);
    EXPECT_EQ(FileValue(L"RightButton"), L"1");
    EXPECT_EQ(FileValue(L"TimeOutMilliSeconds"), L"600");
    DestroyWindow(page);
}

TEST_F(MousePageTest, FailedWriteIsToldOncePerOpeningAndTheValueKept) {
    program_.preferencesPath = temp_.file(L"missing folder\\Mistlewick.exe.ini");
    HWND page = CreatePage(IDD_PAGE_MOUSE, MousePageProc);
    ASSERT_TRUE(page);
    HWND slider = GetDlgItem(page, IDC_MOUSE_RANGE_SLIDER);
    for (int position : {4, 5, 6}) {
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
    }
    EXPECT_EQ(program_.preferences.PermissibleRange, 12);
    EXPECT_EQ(LastStart().args[4], 12);
    ASSERT_EQ(ErrorMessages().size(), 1u);
    EXPECT_NE(ErrorMessages()[0].find(program_.preferencesPath), std::wstring::npos);

    session_.writeFailureReported = false; // as a new opening of the dialog starts
    Click(page, IDC_MOUSE_RIGHT_BUTTON);
    EXPECT_EQ(ErrorMessages().size(), 2u);
    EXPECT_EQ(program_.preferences.RightButton, 1);
    DestroyWindow(page);
}

} // namespace
} // namespace mw::test

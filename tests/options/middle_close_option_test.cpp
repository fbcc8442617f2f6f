// The middle click's check box reaches hook.dll through SetHookOptions, together with the
// reinstall every hook setting gets.
#include "hook/hook.h"
#include "options/general_page.h"
#include "options/option_test_fixture.h"
#include "resource.h"

namespace mw::test {
namespace {

std::vector<int>& OptionCalls() {
    static std::vector<int> calls;
    return calls;
}

int RecordOptions(int flags) {
    OptionCalls().push_back(flags);
    return 1;
}

class MiddleCloseOptionTest : public OptionsTest {};

TEST_F(MiddleCloseOptionTest, TheCheckBoxReachesTheHookOptionsWithTheReinstall) {
    CurrentHookApi().options = RecordOptions;
    OptionCalls().clear();
    HWND page = CreatePage(IDD_PAGE_GENERAL, GeneralPageProc);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Checked(page, IDC_GENERAL_MIDDLE_CLOSE)) << "on by default";

    Click(page, IDC_GENERAL_MIDDLE_CLOSE);
    EXPECT_EQ(FileValue(L"MiddleClose"), L"0");
    EXPECT_EQ(OptionCalls(), std::vector<int>{0});
    ASSERT_EQ(HookCalls().size(), 2u) << "EndHook, then StartMouseHook";
    EXPECT_TRUE(HookCalls()[1].start);

    Click(page, IDC_GENERAL_MIDDLE_CLOSE);
    EXPECT_EQ(OptionCalls(), (std::vector<int>{0, kHookOptionMiddleClose}));
    DestroyWindow(page);
}

} // namespace
} // namespace mw::test

// The middle button with real input through the installed hook: taken over the gesture popup
// when the program asked for it, left to the window under the cursor otherwise, and never half a
// click.
#include "hook_harness.h"

#include <algorithm>

#include "hook/hook_test_control.h"
#include "support/exports.h"

namespace hooktest {
namespace {

class MiddleClick : public HookFixture {
  protected:
    void SetOptions(int options) {
        auto set = reinterpret_cast<SetHookOptionsFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "SetHookOptions")));
        ASSERT_NE(set, nullptr);
        EXPECT_NE(set(options), 0);
    }
    std::vector<Seen> TargetMiddle() const { return TargetSeen({WM_MBUTTONDOWN, WM_MBUTTONUP}); }
};

TEST_F(MiddleClick, OverTheGesturePopupItIsReportedAndReachesNoWindow) {
    ASSERT_NE(Start(), 0);
    SetOptions(kHookOptionMiddleClose);
    const POINT p = At(240, 260);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_MIDDLEDOWN);
    MouseButton(MOUSEEVENTF_MIDDLEUP);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitForReceived(3)) << Describe(Received());
    Settle();
    const std::vector<Posted> got = Received();
    ASSERT_EQ(got.size(), 3u) << Describe(got);
    EXPECT_EQ(got[1].message, kMsgMiddleClick);
    EXPECT_EQ(got[1].lParam, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(got[2].message, kMsgChoose) << "the popup stays open until the gesture ends";
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
}

TEST_F(MiddleClick, WithoutAPopupOrWithTheOptionOffTheWindowGetsIt) {
    ASSERT_NE(Start(), 0);
    SetOptions(kHookOptionMiddleClose);
    const POINT p = At(260, 260);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_MIDDLEDOWN);
    MouseButton(MOUSEEVENTF_MIDDLEUP);
    Settle();
    EXPECT_EQ(TargetMiddle().size(), 2u) << Describe(TargetButtons());

    ClearRecords();
    SetOptions(0);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_MIDDLEDOWN);
    MouseButton(MOUSEEVENTF_MIDDLEUP);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitForReceived(2)) << Describe(Received());
    Settle();
    EXPECT_EQ(TargetMiddle().size(), 2u) << Describe(TargetButtons());
    for (const Posted& posted : Received())
        EXPECT_NE(posted.message, kMsgMiddleClick);
}

TEST_F(MiddleClick, APressTakenOverThePopupTakesItsReleaseAfterThePopupClosed) {
    ASSERT_NE(Start(), 0);
    SetOptions(kHookOptionMiddleClose);
    const POINT p = At(280, 260);
    MoveTo(p.x, p.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_MIDDLEDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP); // the popup closes with the middle button still down
    MouseButton(MOUSEEVENTF_MIDDLEUP);
    ASSERT_TRUE(WaitForReceived(2)) << Describe(Received());
    Settle();
    EXPECT_TRUE(TargetButtons().empty()) << Describe(TargetButtons());
    EXPECT_EQ(Describe(Received()), "open(0,0) choose(0,0) ");
    EXPECT_EQ(GetAsyncKeyState(VK_MBUTTON) & 0x8000, 0) << "the middle button is left down";
}

TEST(HookExports, TheLibraryHasExactlyItsThreeExportsAndTheTestBuildOneMore) {
    const std::vector<std::string> product = {"EndHook", "SetHookOptions", "StartMouseHook"};
    std::vector<std::string> testBuild = product;
    testBuild.push_back(kHookTestExport);
    std::sort(testBuild.begin(), testBuild.end());
    for (const auto& [file, expected] :
         {std::pair{L"hook.dll", product}, std::pair{L"hook_testbench.dll", testBuild}}) {
        HMODULE module = LoadLibraryExW(file, nullptr, DONT_RESOLVE_DLL_REFERENCES);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(mw::test::ExportNames(module), expected);
        FreeLibrary(module);
    }
}

} // namespace
} // namespace hooktest

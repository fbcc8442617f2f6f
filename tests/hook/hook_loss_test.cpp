// The test build of hook.dll, whose hooks a test makes vanish as Windows does: a reinstall that
// fails is told and retried until it works, the hook thread runs above normal priority, and an
// unload without EndHook never kills the thread while it holds a lock.
#include "hook_harness.h"

#include "hook/hook_test_control.h"

namespace hooktest {
namespace {

class HookLoss : public HookFixture {
  protected:
    HookLoss() { library_ = L"hook_testbench.dll"; }
    bool WaitForStatus(Status wanted) {
        return WaitFor(
            [&] {
                for (const Status& s : Statuses())
                    if (s == wanted)
                        return true;
                return false;
            },
            15000);
    }
};

TEST_F(HookLoss, AFailedReinstallIsToldAndRetriedUntilItWorks) {
    ASSERT_NE(Start(), 0);
    ASSERT_EQ(Control(kTestRefuseInstalls), 0u);
    ASSERT_EQ(Control(kTestDropMouse), 0u);
    // Moving the mouse is input the lost hook misses.
    const bool told = WaitFor(
        [&] {
            MoveTo(At(300, 300).x + static_cast<int>(GetTickCount() % 50), At(300, 300).y);
            for (const Status& s : Statuses())
                if (s == Status{kHookStatusReinstallFailed, kHookMouse})
                    return true;
            return false;
        },
        15000);
    ASSERT_TRUE(told);
    EXPECT_EQ(Statuses().front(), (Status{kHookStatusLost, kHookMouse}));
    EXPECT_TRUE(Received().empty()) << Describe(Received());

    ASSERT_EQ(Control(kTestAllowInstalls), 0u);
    EXPECT_TRUE(WaitForStatus(Status{kHookStatusReinstalled, kHookMouse})) << "retried by itself";
    ClearRecords();
    MoveTo(At(200, 200).x, At(200, 200).y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(-WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitForReceived(2)) << Describe(Received());
    EXPECT_EQ(Received()[0].message, kMsgOpenPopup);
    EXPECT_EQ(Received()[1].message, kMsgChoose);
}

TEST_F(HookLoss, TheHookThreadRunsAboveNormalPriority) {
    ASSERT_NE(Start(), 0);
    const DWORD answer = Control(kTestThreadPriority);
    ASSERT_NE(answer, kTestFailed);
    EXPECT_GT(static_cast<int>(answer) - 100, THREAD_PRIORITY_NORMAL);
}

TEST_F(HookLoss, UnloadingWithoutEndHookNeverKillsTheThreadWhileItHoldsALock) {
    // Held open here, so both outlive the thread that uses them.
    HANDLE lock = CreateMutexW(nullptr, FALSE, kTestLockName);
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, kTestLockTakenName);
    ASSERT_NE(lock, nullptr);
    ASSERT_NE(taken, nullptr);
    ASSERT_NE(Start(100, 2), 0);
    ASSERT_EQ(Control(kTestHoldLockWhenUnloaded), 0u);
    // The thread holds the lock longer than the old five-second fallback waited before killing it.
    FreeLibrary(module_);
    module_ = nullptr;
    end_ = nullptr;
    EXPECT_EQ(GetModuleHandleW(library_), nullptr) << "the library is unloaded";
    EXPECT_EQ(WaitForSingleObject(taken, 0), WAIT_OBJECT_0) << "the thread never took the lock";
    const DWORD state = WaitForSingleObject(lock, 0);
    EXPECT_NE(state, static_cast<DWORD>(WAIT_ABANDONED)) << "the thread was killed holding the lock";
    EXPECT_EQ(state, WAIT_OBJECT_0);
    if (state == WAIT_OBJECT_0 || state == WAIT_ABANDONED)
        ReleaseMutex(lock);
    CloseHandle(taken);
    CloseHandle(lock);
    // The hooks are gone with it: a gesture is an ordinary click and wheel.
    MoveTo(At(200, 200).x, At(200, 200).y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseWheel(WHEEL_DELTA);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle();
    EXPECT_TRUE(Received().empty()) << Describe(Received());
}

} // namespace
} // namespace hooktest

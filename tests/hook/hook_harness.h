// Test harness for hook.dll with real input: the library loaded into the test process, a hidden
// receiver window on a thread of its own that records what the library posts, and a visible
// target window on the test thread that records every mouse and key message reaching it.
// Input is driven with SendInput, so it goes through the real low-level hooks.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "hook/hook.h"
#include "support/harness.h"

namespace hooktest {

struct Posted {
    UINT message = 0;
    short delta = 0; // signed high word of wParam
    LPARAM lParam = 0;
    WPARAM wParam = 0;
};

// A status message of the library (50210).
struct Status {
    WPARAM status = 0;
    LPARAM which = 0;
    bool operator==(const Status& o) const { return status == o.status && which == o.which; }
};

struct Seen {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    POINT screen = {0, 0}; // for mouse messages: the position on the screen
};

// The target window covers this screen rectangle.
constexpr int kTargetLeft = 100;
constexpr int kTargetTop = 100;
constexpr int kTargetWidth = 800;
constexpr int kTargetHeight = 600;

// Waiting, pumping and key and wheel input come from the shared harness.
using mw::test::KeyPress;
using mw::test::MouseTilt;
using mw::test::MouseWheel;
using mw::test::PumpFor;
using mw::test::WaitFor;

// A move to a point of the virtual desktop (any monitor).
void MoveTo(int x, int y);
void MouseButton(DWORD flag); // MOUSEEVENTF_LEFTDOWN etc.

class HookFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // StartMouseHook with the receiver window; defaults as the program's preferences.
    int Start(int moveCancelPx = 100, int replaceAltTab = 0, int clickMode = 0, int rightButton = 0,
              int permissibleRange = 6, int timeOutMs = 500);
    HWND End();
    DWORD Control(DWORD command); // of the test build (hook_testbench.dll); kTestFailed without it
    template <class Fn> Fn Export(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    // Every input sent so far has been delivered (a move to a fresh spot reached the target) and
    // every report the library posted so far is recorded (SyncReceiver).
    void Settle();
    void SyncReceiver();
    // Brings the target to the front with the keyboard focus.
    void FocusTarget();

    std::vector<Posted> Received(); // what the library posted so far
    std::vector<Status> Statuses(); // the status messages it posted so far
    bool WaitForReceived(size_t count, DWORD timeoutMs = 2000);
    // The reports of a finished input sequence: waits until `count` arrived (a report may come
    // after the marker move Settle waits for), then settles so that any extra one shows too.
    std::vector<Posted> ReceivedOnceSettled(size_t count);
    void ClearRecords();

    // Messages of these kinds that reached the target, in order.
    std::vector<Seen> TargetSeen(std::initializer_list<UINT> kinds) const;
    std::vector<Seen> TargetButtons() const; // buttons, wheels and context menus
    std::vector<Seen> TargetKeys() const;    // key messages and SC_KEYMENU commands
    bool TargetGot(UINT message) const;

    // A point inside the target, in screen coordinates.
    static POINT At(int dx, int dy) { return POINT{kTargetLeft + dx, kTargetTop + dy}; }

    const wchar_t* library_ = L"hook.dll"; // the build under test
    HMODULE module_ = nullptr;
    StartMouseHookFn start_ = nullptr;
    EndHookFn end_ = nullptr;
    HWND receiver_ = nullptr;
    HWND target_ = nullptr;
    ULONGLONG receiverBlockedUntil_ = 0; // BlockReceiver's sleep: nothing to wait for until then

  public:
    // Blocks the receiver's thread for `ms` (posted, so the caller does not wait).
    void BlockReceiver(DWORD ms);
};

std::string Describe(const std::vector<Posted>& posted);
std::string Describe(const std::vector<Seen>& seen);

} // namespace hooktest

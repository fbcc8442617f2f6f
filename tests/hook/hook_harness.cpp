#include "hook_harness.h"

#include <windowsx.h>

#include "hook/hook_test_control.h"

#include <atomic>
#include <cstdio>

namespace hooktest {

namespace {

constexpr UINT kBlockReceiver = WM_APP + 40;
// Posted behind the library's reports: once the receiver handled it, they are recorded.
constexpr UINT kReceiverFence = WM_APP + 41;
std::atomic<WPARAM> g_fencePassed{0};

std::mutex g_receivedLock;
std::vector<Posted> g_received;
std::vector<Status> g_statuses;

std::vector<Seen> g_targetSeen;
POINT g_lastTargetMove = {-1, -1};

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgOpenPopup || msg == kMsgMoveSelection || msg == kMsgChoose || msg == kMsgCancel ||
        msg == kMsgTilt || msg == kMsgProgramScope) {
        std::lock_guard<std::mutex> lock(g_receivedLock);
        g_received.push_back(Posted{msg, static_cast<short>(HIWORD(wParam)), lParam, wParam});
        return 0;
    }
    if (msg == kMsgHookStatus) {
        std::lock_guard<std::mutex> lock(g_receivedLock);
        g_statuses.push_back(Status{wParam, lParam});
        return 0;
    }
    if (msg == kReceiverFence) {
        g_fencePassed = wParam;
        return 0;
    }
    if (msg == kBlockReceiver) {
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct ReceiverThread {
    HANDLE thread = nullptr;
    DWORD id = 0;
    HWND window = nullptr;
    HANDLE ready = nullptr;
};
ReceiverThread g_receiverThread;

DWORD WINAPI ReceiverMain(LPVOID) {
    g_receiverThread.window = CreateWindowExW(0, L"MwHookTestReceiver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, GetModuleHandleW(nullptr), nullptr);
    SetEvent(g_receiverThread.ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    DestroyWindow(g_receiverThread.window);
    return 0;
}

bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST;
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE) {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &pt);
        g_lastTargetMove = pt;
    }
    if (IsMouseMessage(msg) || msg == WM_CONTEXTMENU || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
        msg == WM_SYSCOMMAND) {
        Seen s{msg, wParam, lParam, {0, 0}};
        if (IsMouseMessage(msg) && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL) {
            s.screen = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd, &s.screen);
        } else if (msg == WM_MOUSEWHEEL || msg == WM_CONTEXTMENU) {
            s.screen = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        }
        if (msg != WM_MOUSEMOVE)
            g_targetSeen.push_back(s);
        // Record the menu command, but never enter the system's menu loop in a test.
        if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        if (msg == WM_CONTEXTMENU)
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSW rc = {};
    rc.lpfnWndProc = ReceiverProc;
    rc.hInstance = GetModuleHandleW(nullptr);
    rc.lpszClassName = L"MwHookTestReceiver";
    RegisterClassW(&rc);
    WNDCLASSW tc = {};
    tc.lpfnWndProc = TargetProc;
    tc.hInstance = GetModuleHandleW(nullptr);
    tc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    tc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    tc.lpszClassName = L"MwHookTestTarget";
    RegisterClassW(&tc);
}

LONG ToAbsolute(int value, int origin, int extent) {
    return static_cast<LONG>((static_cast<long long>(value - origin) * 65536 + extent - 1) / extent);
}

void Send(INPUT& in) {
    SendInput(1, &in, sizeof(INPUT));
}

const char* Name(UINT msg) {
    switch (msg) {
    case kMsgOpenPopup:
        return "open";
    case kMsgMoveSelection:
        return "move";
    case kMsgChoose:
        return "choose";
    case kMsgCancel:
        return "cancel";
    case kMsgTilt:
        return "tilt";
    case WM_LBUTTONDOWN:
        return "LDOWN";
    case WM_LBUTTONUP:
        return "LUP";
    case WM_RBUTTONDOWN:
        return "RDOWN";
    case WM_RBUTTONUP:
        return "RUP";
    case WM_MOUSEWHEEL:
        return "WHEEL";
    case WM_CONTEXTMENU:
        return "CONTEXTMENU";
    case WM_KEYDOWN:
        return "KEYDOWN";
    case WM_KEYUP:
        return "KEYUP";
    case WM_SYSKEYDOWN:
        return "SYSKEYDOWN";
    case WM_SYSKEYUP:
        return "SYSKEYUP";
    case WM_SYSCOMMAND:
        return "SYSCOMMAND";
    case WM_CHAR:
        return "CHAR";
    case WM_SYSCHAR:
        return "SYSCHAR";
    default:
        return "?";
    }
}

} // namespace

void MoveTo(int x, int y) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    in.mi.dx = ToAbsolute(x, vx, vw);
    in.mi.dy = ToAbsolute(y, vy, vh);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    Send(in);
}

void MouseButton(DWORD flag) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    Send(in);
}

void HookFixture::SetUp() {
    RegisterClasses();
    {
        std::lock_guard<std::mutex> lock(g_receivedLock);
        g_received.clear();
        g_statuses.clear();
    }
    g_targetSeen.clear();
    g_receiverThread.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_receiverThread.thread = CreateThread(nullptr, 0, ReceiverMain, nullptr, 0, &g_receiverThread.id);
    ASSERT_NE(g_receiverThread.thread, nullptr);
    WaitForSingleObject(g_receiverThread.ready, 5000);
    receiver_ = g_receiverThread.window;
    ASSERT_NE(receiver_, nullptr);

    // One target window for the whole run: destroying a visible window costs Wine seconds.
    static HWND target = CreateWindowExW(WS_EX_TOPMOST, L"MwHookTestTarget", L"hook test target",
                                         WS_POPUP | WS_VISIBLE, kTargetLeft, kTargetTop, kTargetWidth,
                                         kTargetHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    target_ = target;
    ASSERT_NE(target_, nullptr);
    FocusTarget();

    module_ = LoadLibraryW(library_);
    ASSERT_NE(module_, nullptr);
    start_ = reinterpret_cast<StartMouseHookFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "StartMouseHook")));
    end_ = reinterpret_cast<EndHookFn>(reinterpret_cast<void*>(GetProcAddress(module_, "EndHook")));
    ASSERT_NE(start_, nullptr);
    ASSERT_NE(end_, nullptr);
    Settle();
    ClearRecords();
}

void HookFixture::TearDown() {
    if (end_ && module_)
        end_();
    if (module_)
        FreeLibrary(module_);
    module_ = nullptr;
    // Nothing the test did may leave a button or a key down.
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MENU, VK_SHIFT, VK_TAB, VK_ESCAPE})
        EXPECT_EQ(GetAsyncKeyState(vk) & 0x8000, 0) << "virtual key " << vk << " left down";
    if (g_receiverThread.thread) {
        PostThreadMessageW(g_receiverThread.id, WM_QUIT, 0, 0);
        WaitForSingleObject(g_receiverThread.thread, 5000);
        CloseHandle(g_receiverThread.thread);
        CloseHandle(g_receiverThread.ready);
        g_receiverThread = ReceiverThread{};
    }
    PumpFor(0);
}

int HookFixture::Start(int moveCancelPx, int replaceAltTab, int clickMode, int rightButton,
                       int permissibleRange, int timeOutMs) {
    return start_(receiver_, moveCancelPx, replaceAltTab, clickMode, rightButton, permissibleRange,
                  timeOutMs);
}

HWND HookFixture::End() {
    return end_();
}

void HookFixture::Settle() {
    static int n = 0;
    ++n;
    const POINT p = At(600 + (n % 40) * 3, 500 + (n % 7));
    // Wine now and then loses an absolute move to a late pointer event from the X server; the
    // marker move is simply sent again (it is ours, not part of what a test checks).
    bool arrived = false;
    for (int attempt = 0; attempt < 10 && !arrived; ++attempt) {
        MoveTo(p.x, p.y);
        arrived = WaitFor([&] { return g_lastTargetMove.x == p.x && g_lastTargetMove.y == p.y; }, 200);
    }
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    EXPECT_TRUE(arrived) << "input did not reach the target window: wanted " << p.x << "," << p.y
                         << ", the target saw " << g_lastTargetMove.x << "," << g_lastTargetMove.y
                         << ", the cursor is at " << cursor.x << "," << cursor.y;
    SyncReceiver();
}

void HookFixture::SyncReceiver() {
    // The reports were posted before the marker input arrived; on a loaded machine the
    // receiver's thread may not have run since.
    if (GetTickCount64() < receiverBlockedUntil_)
        return; // the test keeps it busy on purpose
    static WPARAM fence = 0;
    const WPARAM mine = ++fence;
    PostMessageW(receiver_, kReceiverFence, mine, 0);
    EXPECT_TRUE(WaitFor([&] { return g_fencePassed == mine; }, 5000)) << "the receiver's thread is stuck";
}

void HookFixture::FocusTarget() {
    SetForegroundWindow(target_);
    SetActiveWindow(target_);
    SetFocus(target_);
    WaitFor([&] { return GetForegroundWindow() == target_ && GetFocus() == target_; }, 1000);
}

std::vector<Posted> HookFixture::Received() {
    PumpFor(0);
    std::lock_guard<std::mutex> lock(g_receivedLock);
    return g_received;
}

std::vector<Status> HookFixture::Statuses() {
    PumpFor(0);
    std::lock_guard<std::mutex> lock(g_receivedLock);
    return g_statuses;
}

std::vector<Posted> HookFixture::ReceivedOnceSettled(size_t count) {
    WaitForReceived(count);
    Settle();
    return Received();
}

bool HookFixture::WaitForReceived(size_t count, DWORD timeoutMs) {
    return WaitFor(
        [&] {
            std::lock_guard<std::mutex> lock(g_receivedLock);
            return g_received.size() >= count;
        },
        timeoutMs);
}

void HookFixture::ClearRecords() {
    std::lock_guard<std::mutex> lock(g_receivedLock);
    g_received.clear();
    g_targetSeen.clear();
}

DWORD HookFixture::Control(DWORD command) {
    auto control = reinterpret_cast<HookTestControlFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, kHookTestExport)));
    return control ? control(reinterpret_cast<LPVOID>(static_cast<ULONG_PTR>(command))) : kTestFailed;
}

void HookFixture::BlockReceiver(DWORD ms) {
    receiverBlockedUntil_ = GetTickCount64() + ms;
    PostMessageW(receiver_, kBlockReceiver, ms, 0);
}

std::vector<Seen> HookFixture::TargetSeen(std::initializer_list<UINT> kinds) const {
    std::vector<Seen> out;
    for (const Seen& s : g_targetSeen)
        for (UINT k : kinds)
            if (s.message == k)
                out.push_back(s);
    return out;
}

std::vector<Seen> HookFixture::TargetButtons() const {
    return TargetSeen({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
                       WM_MBUTTONUP, WM_MOUSEWHEEL, WM_MOUSEHWHEEL, WM_CONTEXTMENU, WM_LBUTTONDBLCLK,
                       WM_RBUTTONDBLCLK});
}

std::vector<Seen> HookFixture::TargetKeys() const {
    std::vector<Seen> out;
    for (const Seen& s : g_targetSeen) {
        if (s.message == WM_KEYDOWN || s.message == WM_KEYUP || s.message == WM_SYSKEYDOWN ||
            s.message == WM_SYSKEYUP || (s.message == WM_SYSCOMMAND && (s.wParam & 0xFFF0) == SC_KEYMENU))
            out.push_back(s);
    }
    return out;
}

bool HookFixture::TargetGot(UINT message) const {
    for (const Seen& s : g_targetSeen)
        if (s.message == message)
            return true;
    return false;
}

std::string Describe(const std::vector<Posted>& posted) {
    std::string out;
    char buf[64];
    for (const Posted& p : posted) {
        std::snprintf(buf, sizeof buf, "%s(%d,%ld) ", Name(p.message), p.delta, static_cast<long>(p.lParam));
        out += buf;
    }
    return out.empty() ? "(nothing)" : out;
}

std::string Describe(const std::vector<Seen>& seen) {
    std::string out;
    char buf[96];
    for (const Seen& s : seen) {
        std::snprintf(buf, sizeof buf, "%s[%llx]@%ld,%ld ", Name(s.message),
                      static_cast<unsigned long long>(s.wParam), static_cast<long>(s.screen.x),
                      static_cast<long>(s.screen.y));
        out += buf;
    }
    return out.empty() ? "(nothing)" : out;
}

} // namespace hooktest

// hook.dll: low-level mouse and keyboard hooks on a thread of the library's own, with its own
// message loop, so a busy or sleeping user-interface thread in the program never delays the
// system's input. The hook procedures only classify the event, ask the gesture engine and
// post; anything slower (replaying input, injecting the menu mask key) is posted to this same
// thread and done between hook calls.
#include "hook/hook.h"

#include "hook/gesture_engine.h"

namespace {

// Messages to the hook thread itself (posted with no window).
constexpr UINT kThreadFlushReplay = WM_APP + 1;
constexpr UINT kThreadInjectMask = WM_APP + 2;
constexpr UINT kThreadApplySettings = WM_APP + 3;

// How often the hook thread checks that the system still calls its hooks.
constexpr UINT kQuietCheckMs = 1000;

struct HookThreadState {
    mw::GestureEngine engine;
    HHOOK mouseHook = nullptr;
    HHOOK keyboardHook = nullptr;
    UINT_PTR timeOutTimer = 0;
    UINT_PTR stallTimer = 0;
    UINT_PTR quietTimer = 0;
    POINT lastHookPt = {0, 0};
    DWORD lastHookTime = 0;
};

// Shared between the callers of the exports and the hook thread. The callers take apiLock;
// the hook thread reads `target` and `pending` only after a post or an event that orders it.
struct HookLibrary {
    SRWLOCK apiLock = SRWLOCK_INIT;
    HWND target = nullptr; // window of the last StartMouseHook
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HANDLE reply = nullptr;      // set by the hook thread when it has (re)installed
    mw::GestureSettings pending; // settings for the thread to take
    volatile LONG installed = 0; // result of the last (re)install
    // Unloading with the hook still installed: the thread cleans up, signals `parked` and
    // waits on `never`, so it runs none of our code while the library is unmapped.
    volatile LONG unloading = 0;
    HANDLE parked = nullptr;
    HANDLE never = nullptr;
};

HookLibrary g_lib;
HINSTANCE g_module = nullptr;
HookThreadState* g_thread = nullptr; // lives on the hook thread's stack while it runs

void PostToTarget(const mw::HookPost& post) {
    HWND target = g_lib.target;
    if (!target)
        return;
    const WPARAM wParam = MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(post.wheelDelta)));
    for (int i = 0; i < post.times; ++i)
        PostMessageW(target, post.message, wParam, static_cast<LPARAM>(post.lParam));
}

void SetTimeOutTimer(HookThreadState& s, mw::TimerAction action, uint32_t ms) {
    if (action == mw::TimerAction::Keep)
        return;
    if (s.timeOutTimer) {
        KillTimer(nullptr, s.timeOutTimer);
        s.timeOutTimer = 0;
    }
    if (action == mw::TimerAction::Arm)
        s.timeOutTimer = SetTimer(nullptr, 0, ms ? ms : 1, nullptr);
}

void CarryOut(HookThreadState& s, const mw::HookDecision& d) {
    for (int i = 0; i < d.postCount; ++i)
        PostToTarget(d.posts[i]);
    SetTimeOutTimer(s, d.timer, d.timerMs);
    if (d.flushReplay)
        PostThreadMessageW(GetCurrentThreadId(), kThreadFlushReplay, 0, 0);
    if (d.injectMenuMask)
        PostThreadMessageW(GetCurrentThreadId(), kThreadInjectMask, 0, 0);
}

bool ClassifyMouse(WPARAM message, const MSLLHOOKSTRUCT& info, mw::MouseEvent& ev) {
    using mw::MouseAction;
    switch (message) {
    case WM_MOUSEMOVE:
        ev.action = MouseAction::Move;
        break;
    case WM_LBUTTONDOWN:
        ev.action = MouseAction::LeftDown;
        break;
    case WM_LBUTTONUP:
        ev.action = MouseAction::LeftUp;
        break;
    case WM_RBUTTONDOWN:
        ev.action = MouseAction::RightDown;
        break;
    case WM_RBUTTONUP:
        ev.action = MouseAction::RightUp;
        break;
    case WM_MBUTTONDOWN:
        ev.action = MouseAction::MiddleDown;
        break;
    case WM_MBUTTONUP:
        ev.action = MouseAction::MiddleUp;
        break;
    case WM_XBUTTONDOWN:
        ev.action = MouseAction::XDown;
        break;
    case WM_XBUTTONUP:
        ev.action = MouseAction::XUp;
        break;
    case WM_MOUSEWHEEL:
        ev.action = MouseAction::Wheel;
        break;
    case WM_MOUSEHWHEEL:
        ev.action = MouseAction::HWheel;
        break;
    default:
        return false;
    }
    ev.x = info.pt.x;
    ev.y = info.pt.y;
    // Wheels and X buttons keep their data in the high word.
    ev.data = static_cast<short>(HIWORD(info.mouseData));
    ev.time = info.time;
    ev.ours = info.dwExtraInfo == kHookReplayMarker;
    return true;
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    HookThreadState* s = g_thread;
    if (code == HC_ACTION && s) {
        const auto& info = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        mw::MouseEvent ev;
        if (ClassifyMouse(wParam, info, ev)) {
            s->lastHookPt = info.pt;
            s->lastHookTime = info.time;
            const mw::HookDecision d = mw::OnMouseEvent(s->engine, ev);
            CarryOut(*s, d);
            if (d.swallow)
                return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    HookThreadState* s = g_thread;
    if (code == HC_ACTION && s) {
        const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        mw::KeyEvent k;
        k.vk = info.vkCode;
        k.down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        k.altDown = (info.flags & LLKHF_ALTDOWN) != 0;
        k.ours = info.dwExtraInfo == kHookReplayMarker;
        const mw::HookDecision d = mw::OnKeyEvent(s->engine, k);
        CarryOut(*s, d);
        if (d.swallow)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Absolute coordinates of SendInput span the virtual screen as 0..65535; rounding up makes the
// system's mapping back land on exactly the pixel we mean.
LONG ToAbsolute(int value, int origin, int extent) {
    if (extent <= 1)
        return 0;
    const long long v = static_cast<long long>(value - origin) * 65536 + extent - 1;
    long long n = v / extent;
    if (n < 0)
        n = 0;
    if (n > 65535)
        n = 65535;
    return static_cast<LONG>(n);
}

INPUT ToInput(const mw::ReplayInput& r, int vx, int vy, int vw, int vh) {
    using mw::MouseAction;
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwExtraInfo = kHookReplayMarker;
    switch (r.action) {
    case MouseAction::Move:
        in.mi.dx = ToAbsolute(r.x, vx, vw);
        in.mi.dy = ToAbsolute(r.y, vy, vh);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        break;
    case MouseAction::LeftDown:
        in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        break;
    case MouseAction::LeftUp:
        in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        break;
    case MouseAction::RightDown:
        in.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        break;
    case MouseAction::RightUp:
        in.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        break;
    case MouseAction::MiddleDown:
        in.mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
        break;
    case MouseAction::MiddleUp:
        in.mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
        break;
    case MouseAction::XDown:
        in.mi.dwFlags = MOUSEEVENTF_XDOWN;
        in.mi.mouseData = static_cast<DWORD>(r.data);
        break;
    case MouseAction::XUp:
        in.mi.dwFlags = MOUSEEVENTF_XUP;
        in.mi.mouseData = static_cast<DWORD>(r.data);
        break;
    case MouseAction::Wheel:
        in.mi.dwFlags = MOUSEEVENTF_WHEEL;
        in.mi.mouseData = static_cast<DWORD>(r.data);
        break;
    case MouseAction::HWheel:
        in.mi.dwFlags = MOUSEEVENTF_HWHEEL;
        in.mi.mouseData = static_cast<DWORD>(r.data);
        break;
    }
    return in;
}

UINT InjectReplay(const mw::ReplayInput* items, int count) {
    INPUT inputs[mw::kReplayCapacity];
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    for (int i = 0; i < count; ++i)
        inputs[i] = ToInput(items[i], vx, vy, vw, vh);
    return count > 0 ? SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT)) : 0;
}

void FlushReplay(HookThreadState& s) {
    mw::ReplayInput items[mw::kReplayCapacity];
    const int taken = mw::TakeReplay(s.engine, items, mw::kReplayCapacity, GetTickCount());
    if (taken == 0)
        return;
    const UINT injected = InjectReplay(items, taken);
    if (mw::ReplayInjected(s.engine, taken, static_cast<int>(injected)))
        PostThreadMessageW(GetCurrentThreadId(), kThreadFlushReplay, 0, 0);
    // If the replay never shows up in our hook, stop holding input back for it.
    if (s.engine.inFlight > 0) {
        if (s.stallTimer)
            KillTimer(nullptr, s.stallTimer);
        s.stallTimer = SetTimer(nullptr, 0, mw::kReplayStallMs, nullptr);
    }
}

void InjectMenuMask() {
    INPUT keys[2] = {};
    for (INPUT& k : keys) {
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = static_cast<WORD>(mw::kVkMenuMask);
        k.ki.dwExtraInfo = kHookReplayMarker;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

void RemoveHooks(HookThreadState& s) {
    if (s.mouseHook)
        UnhookWindowsHookEx(s.mouseHook);
    if (s.keyboardHook)
        UnhookWindowsHookEx(s.keyboardHook);
    s.mouseHook = s.keyboardHook = nullptr;
}

bool InstallHooks(HookThreadState& s) {
    RemoveHooks(s);
    s.mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
    if (s.engine.settings.replaceAltTab != 0) {
        s.keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
        mw::SeedKeyState(s.engine, (GetAsyncKeyState(VK_MENU) & 0x8000) != 0,
                         (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
    }
    GetCursorPos(&s.lastHookPt);
    s.lastHookTime = GetTickCount();
    const bool ok = s.mouseHook && (s.engine.settings.replaceAltTab == 0 || s.keyboardHook);
    if (!ok)
        RemoveHooks(s);
    return ok;
}

// The system removes a low-level hook without notice when it once took too long (for example
// while the machine was swapping). If the cursor moved and the system saw input well after the
// last event our hook saw, install the hooks again. Done only between gestures.
void CheckHookStillCalled(HookThreadState& s) {
    if (!s.mouseHook || !mw::IsEngineIdle(s.engine))
        return;
    mw::QuietProbe probe;
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return;
    LASTINPUTINFO last = {sizeof(LASTINPUTINFO), 0};
    if (!GetLastInputInfo(&last))
        return;
    probe.cursorX = cursor.x;
    probe.cursorY = cursor.y;
    probe.hookX = s.lastHookPt.x;
    probe.hookY = s.lastHookPt.y;
    probe.lastInputTime = last.dwTime;
    probe.lastHookTime = s.lastHookTime;
    if (mw::HookLooksDropped(probe))
        InstallHooks(s);
}

void OnThreadTimer(HookThreadState& s, UINT_PTR id) {
    if (id == s.timeOutTimer) {
        KillTimer(nullptr, id);
        s.timeOutTimer = 0;
        CarryOut(s, mw::OnTimeOut(s.engine, GetTickCount()));
    } else if (id == s.stallTimer) {
        KillTimer(nullptr, id);
        s.stallTimer = 0;
        if (s.engine.inFlight > 0 && mw::OnReplayStall(s.engine))
            FlushReplay(s);
    } else if (id == s.quietTimer) {
        CheckHookStillCalled(s);
    }
}

void Reply(bool installed) {
    InterlockedExchange(&g_lib.installed, installed ? 1 : 0);
    SetEvent(g_lib.reply);
}

DWORD WINAPI HookThread(LPVOID) {
    HookThreadState state;
    MSG msg;
    // Make sure the thread has a message queue before anybody posts to it.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    mw::ResetEngine(state.engine, g_lib.pending);
    g_thread = &state;
    const bool ok = InstallHooks(state);
    Reply(ok);
    if (ok) {
        state.quietTimer = SetTimer(nullptr, 0, kQuietCheckMs, nullptr);
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.hwnd) {
                DispatchMessageW(&msg);
                continue;
            }
            switch (msg.message) {
            case WM_TIMER:
                OnThreadTimer(state, msg.wParam);
                break;
            case kThreadFlushReplay:
                FlushReplay(state);
                break;
            case kThreadInjectMask:
                InjectMenuMask();
                break;
            case kThreadApplySettings:
                mw::ApplySettings(state.engine, g_lib.pending);
                Reply(InstallHooks(state));
                break;
            default:
                break;
            }
        }
    }
    RemoveHooks(state);
    g_thread = nullptr;
    // A press still held back goes to the application, so it sees the press whose release
    // will reach it; with the hooks gone the replay passes straight through.
    if (mw::ReleaseHeldPress(state.engine)) {
        mw::ReplayInput items[mw::kReplayCapacity];
        const int taken = mw::TakeReplay(state.engine, items, mw::kReplayCapacity, GetTickCount());
        InjectReplay(items, taken);
    }
    if (state.timeOutTimer)
        KillTimer(nullptr, state.timeOutTimer);
    if (state.stallTimer)
        KillTimer(nullptr, state.stallTimer);
    if (state.quietTimer)
        KillTimer(nullptr, state.quietTimer);
    if (g_lib.unloading) {
        // The library is being unloaded under the loader lock: hand over atomically and never
        // come back into code that is about to go away.
        SignalObjectAndWait(g_lib.parked, g_lib.never, INFINITE, FALSE);
    }
    return 0;
}

void StopThread() {
    if (!g_lib.thread)
        return;
    PostThreadMessageW(g_lib.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_lib.thread, INFINITE);
    CloseHandle(g_lib.thread);
    g_lib.thread = nullptr;
    g_lib.threadId = 0;
    InterlockedExchange(&g_lib.installed, 0);
}

bool StartThread() {
    ResetEvent(g_lib.reply);
    g_lib.thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, &g_lib.threadId);
    if (!g_lib.thread)
        return false;
    WaitForSingleObject(g_lib.reply, INFINITE);
    if (!g_lib.installed) {
        // The thread has given up and is on its way out.
        WaitForSingleObject(g_lib.thread, INFINITE);
        CloseHandle(g_lib.thread);
        g_lib.thread = nullptr;
        g_lib.threadId = 0;
        return false;
    }
    return true;
}

} // namespace

extern "C" int StartMouseHook(HWND window, int moveCancelPx, int replaceAltTab, int clickMode,
                              int rightButton, int permissibleRange, int timeOutMilliSeconds) {
    AcquireSRWLockExclusive(&g_lib.apiLock);
    int result = 0;
    if (window && IsWindow(window)) {
        g_lib.target = window;
        g_lib.pending = mw::MakeGestureSettings(moveCancelPx, replaceAltTab, clickMode, rightButton,
                                                permissibleRange, timeOutMilliSeconds);
        if (!g_lib.reply)
            g_lib.reply = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (g_lib.reply) {
            if (g_lib.thread) {
                // Already installed: the thread swaps its hooks for ones with the new values
                // and keeps a gesture under way intact.
                ResetEvent(g_lib.reply);
                if (PostThreadMessageW(g_lib.threadId, kThreadApplySettings, 0, 0)) {
                    WaitForSingleObject(g_lib.reply, INFINITE);
                    result = g_lib.installed ? 1 : 0;
                }
                if (!result)
                    StopThread();
            } else {
                result = StartThread() ? 1 : 0;
            }
        }
    }
    ReleaseSRWLockExclusive(&g_lib.apiLock);
    return result;
}

extern "C" HWND EndHook() {
    AcquireSRWLockExclusive(&g_lib.apiLock);
    StopThread();
    HWND window = g_lib.target;
    ReleaseSRWLockExclusive(&g_lib.apiLock);
    return window;
}

namespace {

// FreeLibrary while the hook is still installed. Waiting for a thread to end is not possible
// under the loader lock (ending a thread needs that lock), so the thread is asked to clean up
// and park in a kernel wait, and is then terminated there, where it holds nothing.
void StopThreadForUnload() {
    if (!g_lib.thread)
        return;
    g_lib.parked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_lib.never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_lib.parked && g_lib.never) {
        InterlockedExchange(&g_lib.unloading, 1);
        PostThreadMessageW(g_lib.threadId, WM_QUIT, 0, 0);
        HANDLE either[2] = {g_lib.parked, g_lib.thread};
        WaitForMultipleObjects(2, either, FALSE, 5000);
    }
    TerminateThread(g_lib.thread, 0);
    WaitForSingleObject(g_lib.thread, 5000);
    CloseHandle(g_lib.thread);
    g_lib.thread = nullptr;
    if (g_lib.parked)
        CloseHandle(g_lib.parked);
    if (g_lib.never)
        CloseHandle(g_lib.never);
    g_lib.parked = g_lib.never = nullptr;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit (reserved set) the thread is already gone; nothing to do.
        if (!reserved)
            StopThreadForUnload();
        if (g_lib.reply)
            CloseHandle(g_lib.reply);
        g_lib.reply = nullptr;
    }
    return TRUE;
}

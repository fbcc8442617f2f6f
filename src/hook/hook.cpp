// hook.dll: low-level mouse and keyboard hooks on a thread of the library's own, with its own
// message loop, so a busy or sleeping user-interface thread in the program never delays the
// system's input. The hook procedures only classify the event, ask the gesture engine and
// post; anything slower (replaying input, injecting the menu mask key) is posted to this same
// thread and done between hook calls.
//
// Windows removes a low-level hook that once answered too slowly, without a word. Raw input on
// the same thread shows each device's input that the hooks should have seen; when a hook has
// missed its device's input, the thread tells the program, undoes what the engine was holding
// and installs the hook again, retrying with a growing delay while that fails.
#include "hook/hook.h"

#include <wtsapi32.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "hook/gesture_engine.h"
#ifdef MW_HOOK_TEST_EXPORTS
#include "hook/hook_test_control.h"
#endif

namespace {

// Messages to the hook thread itself (posted with no window).
constexpr UINT kThreadFlushReplay = WM_APP + 1;
constexpr UINT kThreadInjectMask = WM_APP + 2;
constexpr UINT kThreadApplySettings = WM_APP + 3;
constexpr UINT kThreadTestDrop = WM_APP + 4;        // test build: wParam which hooks, lParam event
constexpr UINT kThreadForegroundRules = WM_APP + 5; // the quiet rules changed: judge the front again

constexpr wchar_t kRawInputClass[] = L"MistlewickHookRawInput";

// Wine skips the low-level hooks of a thread that has fetched no message for five seconds, as
// if it were hung, even while the thread waits in GetMessage: a gesture held still that long
// lost its release, and the first gesture after a still mouse went to the application whole.
// A timer that makes the thread fetch a message now and then keeps it from looking hung.
constexpr UINT kKeepAliveMs = 2000;

struct HookThreadState {
    mw::GestureEngine engine;
    mw::InputWatch watch;
    HHOOK mouseHook = nullptr;
    HHOOK keyboardHook = nullptr;
    HWND rawWindow = nullptr; // receives the raw input that shows what the hooks should see
    bool rawKeyboard = false; // the keyboard's raw input is registered
    UINT_PTR timeOutTimer = 0;
    UINT_PTR stallTimer = 0;
    UINT_PTR graceTimer = 0; // a release shown by raw input waits for the hook to see it
    UINT_PTR retryTimer = 0; // the next attempt to install a hook that could not be
    UINT_PTR keepAliveTimer = 0;
    int failures[2] = {0, 0}; // failed installations in a row, mouse and keyboard
    HWINEVENTHOOK foregroundEvents = nullptr;
    HWINEVENTHOOK desktopEvents = nullptr;
    HMODULE wtsapi = nullptr;
    bool sessionNotices = false;
    // Looked up with the registration: at an unload GetProcAddress would wait for the loader lock.
    BOOL(WINAPI* unregisterSessionNotices)(HWND) = nullptr;
    // Looked up at run time: Windows 8.1 and later.
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
    HMODULE shcore = nullptr;
    int systemDpi = 96;
    DWORD ourIntegrity = 0;
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
    volatile LONG options = 0;   // the flags of the last SetHookOptions, read by the hook itself
    volatile LONG listOpen = 0;  // SetAltTabListOpen: the program shows a list that stays open
    // SetQuietRules, read by the hook thread when the front window changes.
    SRWLOCK rulesLock = SRWLOCK_INIT;
    bool quietInFullScreen = false;
    std::vector<std::wstring> excludedPrograms;
    // Unloading with the hook still installed: the thread cleans up, signals `parked` and
    // waits on `never`, so it runs none of our code while the library is unmapped.
    volatile LONG unloading = 0;
    HANDLE parked = nullptr;
    HANDLE never = nullptr;
#ifdef MW_HOOK_TEST_EXPORTS
    volatile LONG refuseInstalls = 0;
    volatile LONG holdLockWhenUnloaded = 0;
    volatile LONG swapOverride = -1;      // -1: what the system says
    volatile LONG integrityOverride = -1; // -1: what the front window's token says
#endif
};

HookLibrary g_lib;
HINSTANCE g_module = nullptr;
HookThreadState* g_thread = nullptr; // lives on the hook thread's stack while it runs

void PostToTarget(const mw::HookPost& post) {
    HWND target = g_lib.target;
    if (!target)
        return;
    const WPARAM wParam =
        MAKEWPARAM(static_cast<WORD>(post.lowWord), static_cast<WORD>(static_cast<short>(post.wheelDelta)));
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
    ev.touch = mw::IsTouchOrPen(info.dwExtraInfo);
    return true;
}

bool ButtonsSwapped() {
#ifdef MW_HOOK_TEST_EXPORTS
    if (g_lib.swapOverride >= 0)
        return g_lib.swapOverride != 0;
#endif
    return GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

// The DPI of the monitor at a point: the distances of the gesture are 96-DPI values.
int DpiAt(const HookThreadState& s, POINT pt) {
    if (!s.getDpiForMonitor)
        return s.systemDpi;
    UINT dx = 0, dy = 0;
    HMONITOR monitor = MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST);
    if (!monitor || FAILED(s.getDpiForMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &dx, &dy)) || dx == 0)
        return s.systemDpi;
    return static_cast<int>(dx);
}

bool IsPress(mw::MouseAction a) {
    return a == mw::MouseAction::LeftDown || a == mw::MouseAction::RightDown;
}

// The main window does not answer: swallowed input would reach nobody. IsHungAppWindow reads a
// flag the system keeps and does not wait for the window's thread.
bool OwnerHung() {
    HWND target = g_lib.target;
    return target && IsHungAppWindow(target);
}

// While a press of the gesture button is held back or drives the popup, the physical button
// tells whether it was released where the hook is not called (the secure desktop, an elevated
// window). The asynchronous state names physical buttons.
void CheckPhysicalButton(HookThreadState& s) {
    bool right = false;
    if (!mw::WaitsForButtonRelease(s.engine, &right))
        return;
    const bool physicalRight = right != ButtonsSwapped();
    const bool down = (GetAsyncKeyState(physicalRight ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
    const mw::HookDecision d = mw::OnPhysicalButton(s.engine, down);
    if (d.postCount > 0 || d.flushReplay)
        OutputDebugStringW(L"hook.dll: the gesture button came up unseen; the gesture is cancelled\n");
    CarryOut(s, d);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    HookThreadState* s = g_thread;
    if (code == HC_ACTION && s) {
        const auto& info = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        mw::MouseEvent ev;
        if (ClassifyMouse(wParam, info, ev)) {
            mw::NoteHookInput(s->watch, mw::HookKind::Mouse, info.time);
            s->engine.options = mw::MakeHookOptions(g_lib.options);
            const bool listOpen = g_lib.listOpen != 0;
            if (listOpen != s->engine.listOpen) {
                s->engine.listOpen = listOpen;
                s->engine.listWheelRemainder = 0;
            }
            if (!ev.ours && !ev.touch) {
                if (IsPress(ev.action)) {
                    ev.dpi = DpiAt(*s, info.pt);
                    s->engine.gate.ownerHung = OwnerHung();
                } else if (ev.action == mw::MouseAction::Wheel && listOpen) {
                    s->engine.gate.ownerHung = OwnerHung();
                }
                // Not at the press or release of the button itself: the system may count
                // those only after the hooks let them through.
                const bool ofButton =
                    ev.action == mw::MouseAction::LeftDown || ev.action == mw::MouseAction::LeftUp ||
                    ev.action == mw::MouseAction::RightDown || ev.action == mw::MouseAction::RightUp;
                if (!ofButton)
                    CheckPhysicalButton(*s);
            }
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
        mw::NoteHookInput(s->watch, mw::HookKind::Keyboard, info.time);
        mw::KeyEvent k;
        k.vk = info.vkCode;
        k.down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        k.altDown = (info.flags & LLKHF_ALTDOWN) != 0;
        k.ours = info.dwExtraInfo == kHookReplayMarker;
        k.scanCode = info.scanCode;
        k.time = info.time;
        if (!k.ours && k.down &&
            (k.vk == VK_TAB || k.vk == VK_ESCAPE || k.vk == VK_OEM_3 || k.scanCode == 0x29)) {
            // Alt and Shift as the system has them now: their releases may have happened where
            // this hook is not called.
            k.haveState = true;
            k.altNow = (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
            k.shiftNow = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
            s->engine.gate.ownerHung = OwnerHung();
        }
        s->engine.options = mw::MakeHookOptions(g_lib.options);
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
    switch (mw::PhysicalAction(r.action, ButtonsSwapped())) {
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

void KillThreadTimer(UINT_PTR& timer) {
    if (timer)
        KillTimer(nullptr, timer);
    timer = 0;
}

HHOOK& HookOf(HookThreadState& s, mw::HookKind kind) {
    return kind == mw::HookKind::Mouse ? s.mouseHook : s.keyboardHook;
}

int IndexOf(mw::HookKind kind) {
    return kind == mw::HookKind::Mouse ? 0 : 1;
}

bool Wanted(const HookThreadState& s, mw::HookKind kind) {
    return kind == mw::HookKind::Mouse || s.engine.settings.replaceAltTab != 0;
}

void PostStatus(WPARAM status, mw::HookKind kind) {
    HWND target = g_lib.target;
    if (target)
        PostMessageW(target, kMsgHookStatus, status, static_cast<LPARAM>(kind));
}

void RemoveHook(HookThreadState& s, mw::HookKind kind) {
    HHOOK& hook = HookOf(s, kind);
    // After the system removed it this fails, which is fine: it is gone either way.
    if (hook)
        UnhookWindowsHookEx(hook);
    hook = nullptr;
}

void RemoveHooks(HookThreadState& s) {
    RemoveHook(s, mw::HookKind::Mouse);
    RemoveHook(s, mw::HookKind::Keyboard);
}

bool InstallHook(HookThreadState& s, mw::HookKind kind) {
    RemoveHook(s, kind);
#ifdef MW_HOOK_TEST_EXPORTS
    if (g_lib.refuseInstalls)
        return false;
#endif
    const bool mouse = kind == mw::HookKind::Mouse;
    HHOOK hook = SetWindowsHookExW(mouse ? WH_MOUSE_LL : WH_KEYBOARD_LL, mouse ? MouseProc : KeyboardProc,
                                   g_module, 0);
    HookOf(s, kind) = hook;
    if (hook && !mouse) {
        mw::SeedKeyState(s.engine, (GetAsyncKeyState(VK_MENU) & 0x8000) != 0,
                         (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
    }
    mw::ResetWatch(s.watch, kind, GetTickCount());
    return hook != nullptr;
}

// Raw input for the devices whose hooks are wanted, delivered to this thread even while
// another program is in front.
void RegisterRawInput(HookThreadState& s) {
    if (!s.rawWindow)
        return;
    const bool keys = Wanted(s, mw::HookKind::Keyboard);
    RAWINPUTDEVICE devices[2] = {};
    devices[0] = RAWINPUTDEVICE{0x01, 0x02, RIDEV_INPUTSINK, s.rawWindow};
    UINT count = 1;
    if (keys)
        devices[count++] = RAWINPUTDEVICE{0x01, 0x06, RIDEV_INPUTSINK, s.rawWindow};
    else if (s.rawKeyboard)
        devices[count++] = RAWINPUTDEVICE{0x01, 0x06, RIDEV_REMOVE, nullptr};
    // Without raw input a lost hook goes unnoticed, but the hooks themselves still work.
    if (RegisterRawInputDevices(devices, count, sizeof(RAWINPUTDEVICE)))
        s.rawKeyboard = keys;
}

void UnregisterRawInput(HookThreadState& s) {
    RAWINPUTDEVICE devices[2] = {};
    devices[0] = RAWINPUTDEVICE{0x01, 0x02, RIDEV_REMOVE, nullptr};
    UINT count = 1;
    if (s.rawKeyboard)
        devices[count++] = RAWINPUTDEVICE{0x01, 0x06, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(devices, count, sizeof(RAWINPUTDEVICE));
    s.rawKeyboard = false;
}

bool InstallHooks(HookThreadState& s) {
    KillThreadTimer(s.retryTimer);
    s.failures[0] = s.failures[1] = 0;
    bool ok = InstallHook(s, mw::HookKind::Mouse);
    if (Wanted(s, mw::HookKind::Keyboard))
        ok = InstallHook(s, mw::HookKind::Keyboard) && ok;
    else
        RemoveHook(s, mw::HookKind::Keyboard);
    if (!ok)
        RemoveHooks(s);
    else
        RegisterRawInput(s);
    return ok;
}

void ArmRetry(HookThreadState& s) {
    const int failures = s.failures[0] > s.failures[1] ? s.failures[0] : s.failures[1];
    KillThreadTimer(s.retryTimer);
    s.retryTimer = SetTimer(nullptr, 0, HookRetryDelayMs(failures - 1), nullptr);
}

void Reinstall(HookThreadState& s, mw::HookKind kind) {
    int& failures = s.failures[IndexOf(kind)];
    if (InstallHook(s, kind)) {
        failures = 0;
        PostStatus(kHookStatusReinstalled, kind);
        return;
    }
    ++failures;
    PostStatus(kHookStatusReinstallFailed, kind);
    ArmRetry(s);
}

// The hook of `kind` is gone: tell the program, undo what the engine held, install it again.
void LoseHook(HookThreadState& s, mw::HookKind kind) {
    mw::NoteLoss(s.watch, kind, GetTickCount());
    if (kind == mw::HookKind::Mouse)
        KillThreadTimer(s.stallTimer);
    CarryOut(s, mw::OnHookLost(s.engine, kind));
    const bool mouse = kind == mw::HookKind::Mouse;
    if (InstallHook(s, kind)) {
        // Back at once: nothing the user needs to see, so the program is not bothered.
        s.failures[IndexOf(kind)] = 0;
        OutputDebugStringW(mouse ? L"hook.dll: the mouse hook was lost and is back\n"
                                 : L"hook.dll: the keyboard hook was lost and is back\n");
        return;
    }
    PostStatus(kHookStatusLost, kind);
    ++s.failures[IndexOf(kind)];
    PostStatus(kHookStatusReinstallFailed, kind);
    ArmRetry(s);
}

void OnRetryTimer(HookThreadState& s) {
    KillThreadTimer(s.retryTimer);
    for (mw::HookKind kind : {mw::HookKind::Mouse, mw::HookKind::Keyboard}) {
        if (Wanted(s, kind) && !HookOf(s, kind))
            Reinstall(s, kind);
    }
}

void ArmGraceTimer(HookThreadState& s) {
    if (!s.graceTimer)
        s.graceTimer = SetTimer(nullptr, 0, mw::kReleaseGraceMs, nullptr);
}

void OnGraceTimer(HookThreadState& s) {
    KillThreadTimer(s.graceTimer);
    const DWORD now = GetTickCount();
    bool waiting = false;
    for (mw::HookKind kind : {mw::HookKind::Mouse, mw::HookKind::Keyboard}) {
        if (!HookOf(s, kind))
            continue;
        if (mw::ReleaseMissed(s.watch, kind, now))
            LoseHook(s, kind);
        else
            waiting = waiting || mw::WatchOf(s.watch, kind).releasePending;
    }
    if (waiting)
        ArmGraceTimer(s);
}

// The mandatory integrity level of a process (its RID), or 0 when its token cannot be read.
DWORD IntegrityOfProcess(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return 0;
    alignas(8) BYTE buffer[128];
    DWORD size = 0;
    DWORD level = 0;
    if (GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
        const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
        const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
        if (count > 0)
            level = *GetSidSubAuthority(label->Label.Sid, count - 1u);
    }
    CloseHandle(token);
    return level;
}

// Whether the process of `window` runs at a higher integrity level than ours: the system then
// drops the input we inject into it and does not call our hooks for input that goes to it. A
// token we are not allowed to read belongs to such a process (an elevated one denies us).
bool RunsAboveUs(const HookThreadState& s, HWND window) {
    DWORD pid = 0;
    if (!window || !GetWindowThreadProcessId(window, &pid) || pid == GetCurrentProcessId() || pid == 0)
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED && s.ourIntegrity != 0;
    const DWORD level = IntegrityOfProcess(process);
    const bool denied = level == 0 && GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(process);
    return s.ourIntegrity != 0 && (denied || level > s.ourIntegrity);
}

bool ForegroundRunsAboveUs(const HookThreadState& s, HWND foreground) {
#ifdef MW_HOOK_TEST_EXPORTS
    if (g_lib.integrityOverride >= 0)
        return g_lib.integrityOverride != 0;
#endif
    return RunsAboveUs(s, foreground);
}

// The file name of the program that owns `window` ("mstsc.exe"), empty when it cannot be read.
std::wstring ProgramNameOf(HWND window) {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(window, &pid))
        return std::wstring();
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return std::wstring();
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    const bool ok = QueryFullProcessImageNameW(process, 0, path, &length) != 0;
    CloseHandle(process);
    if (!ok)
        return std::wstring();
    const std::wstring full(path, length);
    const size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

// A game, a video or a presentation in front: the shell says so where it can, otherwise the
// front window covers its whole monitor and is neither the desktop nor the shell.
bool IsFullScreen(HWND window) {
    using QueryFn = HRESULT(WINAPI*)(int*);
    static QueryFn query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHQueryUserNotificationState")));
    int state = 0;
    // QUNS_BUSY, QUNS_RUNNING_D3D_FULL_SCREEN, QUNS_PRESENTATION_MODE
    if (query && SUCCEEDED(query(&state)) && (state == 2 || state == 3 || state == 4))
        return true;
    if (!window || window == GetDesktopWindow() || window == GetShellWindow() || !IsWindowVisible(window))
        return false;
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (lstrcmpW(cls, L"Progman") == 0 || lstrcmpW(cls, L"WorkerW") == 0)
        return false;
    RECT r;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    if (!monitor || !GetWindowRect(window, &r) || !GetMonitorInfoW(monitor, &mi))
        return false;
    return mw::CoversMonitor(r.left, r.top, r.right, r.bottom, mi.rcMonitor.left, mi.rcMonitor.top,
                             mi.rcMonitor.right, mi.rcMonitor.bottom);
}

// Judges the front window once, so the hook procedures only read the result.
void JudgeForeground(HookThreadState& s) {
    HWND foreground = GetForegroundWindow();
    s.engine.gate.higherIntegrity = ForegroundRunsAboveUs(s, foreground);
    bool quiet = false;
    AcquireSRWLockShared(&g_lib.rulesLock);
    const bool fullScreenRule = g_lib.quietInFullScreen;
    const bool anyExcluded = !g_lib.excludedPrograms.empty();
    ReleaseSRWLockShared(&g_lib.rulesLock);
    if (foreground && fullScreenRule)
        quiet = IsFullScreen(foreground);
    if (foreground && !quiet && anyExcluded) {
        const std::wstring name = ProgramNameOf(foreground);
        AcquireSRWLockShared(&g_lib.rulesLock);
        for (const std::wstring& excluded : g_lib.excludedPrograms)
            quiet = quiet || (!name.empty() && CompareStringOrdinal(name.c_str(), -1, excluded.c_str(), -1,
                                                                    TRUE) == CSTR_EQUAL);
        ReleaseSRWLockShared(&g_lib.rulesLock);
    }
    s.engine.gate.quiet = quiet;
}

// A device's raw input goes on while its hook is silent. Before declaring the hook lost, rule out
// the window under the cursor (the mouse) running above us: the system skips our hooks there.
bool CursorOverHigherWindow(const HookThreadState& s) {
    POINT pt;
    return GetCursorPos(&pt) && RunsAboveUs(s, WindowFromPoint(pt));
}

void OnRawMouse(HookThreadState& s, const RAWMOUSE& m, DWORD time, DWORD now) {
    // Our own injected input says nothing about the user's devices: it is left out.
    if (!s.mouseHook || m.ulExtraInformation == kHookReplayMarker ||
        (m.lLastX == 0 && m.lLastY == 0 && m.usButtonFlags == 0))
        return;
    bool right = false;
    bool release = false;
    if (mw::WaitsForButtonRelease(s.engine, &right)) {
        // Raw input names the physical button; the hook, the logical one.
        const bool physicalRight = right != (GetSystemMetrics(SM_SWAPBUTTON) != 0);
        release =
            (m.usButtonFlags & (physicalRight ? RI_MOUSE_RIGHT_BUTTON_UP : RI_MOUSE_LEFT_BUTTON_UP)) != 0;
    }
    if (mw::NoteRawInput(s.watch, mw::HookKind::Mouse, time, release, now, s.engine.gate.higherIntegrity)) {
        if (CursorOverHigherWindow(s))
            mw::NoteHookInput(s.watch, mw::HookKind::Mouse, time);
        else
            LoseHook(s, mw::HookKind::Mouse);
    } else if (release)
        ArmGraceTimer(s);
}

void OnRawKeyboard(HookThreadState& s, const RAWKEYBOARD& k, DWORD time, DWORD now) {
    // 0xFF marks the extra codes some keys send (Print Screen, Pause), which no hook sees.
    if (!s.keyboardHook || k.ExtraInformation == kHookReplayMarker || k.VKey == 0 || k.VKey >= 0xFF)
        return;
    const bool release =
        (k.Flags & RI_KEY_BREAK) != 0 && k.VKey == VK_MENU && mw::WaitsForAltRelease(s.engine);
    if (mw::NoteRawInput(s.watch, mw::HookKind::Keyboard, time, release, now, s.engine.gate.higherIntegrity))
        LoseHook(s, mw::HookKind::Keyboard);
    else if (release)
        ArmGraceTimer(s);
}

// The session was locked or unlocked, or another desktop came up: keys and buttons may have been
// released there unseen by the hooks.
void ResetInput(HookThreadState& s, const wchar_t* why) {
    OutputDebugStringW(why);
    CarryOut(s, mw::OnInputReset(s.engine));
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    HookThreadState* s = g_thread;
    if (!s)
        return;
    if (event == EVENT_SYSTEM_FOREGROUND)
        JudgeForeground(*s);
    else if (event == EVENT_SYSTEM_DESKTOPSWITCH)
        ResetInput(*s, L"hook.dll: another desktop came up; held keys and buttons are forgotten\n");
}

LRESULT CALLBACK RawInputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HookThreadState* s = g_thread;
    if (message == WM_WTSSESSION_CHANGE && s &&
        (wParam == WTS_SESSION_LOCK || wParam == WTS_SESSION_UNLOCK)) {
        ResetInput(*s,
                   L"hook.dll: the session was locked or unlocked; held keys and buttons are forgotten\n");
        return 0;
    }
    if (message == WM_INPUT && s) {
        RAWINPUT raw;
        UINT size = sizeof raw;
        if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size,
                            sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1)) {
            // The message time is the time of the input, the same clock as the hooks' events.
            const DWORD time = static_cast<DWORD>(GetMessageTime());
            const DWORD now = GetTickCount();
            if (raw.header.dwType == RIM_TYPEMOUSE)
                OnRawMouse(*s, raw.data.mouse, time, now);
            else if (raw.header.dwType == RIM_TYPEKEYBOARD)
                OnRawKeyboard(*s, raw.data.keyboard, time, now);
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateRawInputWindow() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RawInputProc;
    wc.hInstance = g_module;
    wc.lpszClassName = kRawInputClass;
    RegisterClassExW(&wc);
    return CreateWindowExW(0, kRawInputClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_module, nullptr);
}

void DestroyRawInputWindow(HookThreadState& s) {
    UnregisterRawInput(s);
    if (s.rawWindow)
        DestroyWindow(s.rawWindow);
    s.rawWindow = nullptr;
    // The class names our window procedure: it must not outlive the library.
    UnregisterClassW(kRawInputClass, g_module);
}

void OnTimeOutTimer(HookThreadState& s) {
    KillThreadTimer(s.timeOutTimer);
    // Raw input showed the held button come up and the hook never saw it: the hook is gone,
    // and replaying the press now would leave the button down.
    if (s.mouseHook && mw::HeldPressAlreadyReleased(s.engine, s.watch)) {
        LoseHook(s, mw::HookKind::Mouse);
        return;
    }
    CarryOut(s, mw::OnTimeOut(s.engine, GetTickCount()));
}

void OnThreadTimer(HookThreadState& s, UINT_PTR id) {
    if (id == s.timeOutTimer) {
        OnTimeOutTimer(s);
    } else if (id == s.stallTimer) {
        KillThreadTimer(s.stallTimer);
        if (s.engine.inFlight > 0 && mw::OnReplayStall(s.engine))
            FlushReplay(s);
    } else if (id == s.graceTimer) {
        OnGraceTimer(s);
    } else if (id == s.retryTimer) {
        OnRetryTimer(s);
    } else if (id == s.keepAliveTimer) {
        // Fetching the tick keeps the hooks called; the front window may have changed size, and
        // the gesture button may have come up where the hook is not called.
        JudgeForeground(s);
        CheckPhysicalButton(s);
    } else {
        KillTimer(nullptr, id);
    }
}

#ifdef MW_HOOK_TEST_EXPORTS
// As Windows does it: the hook is removed and nobody is told.
void DropHooksForTest(HookThreadState& s, WPARAM which, HANDLE done) {
    if ((which & kTestDropMouse) && s.mouseHook)
        UnhookWindowsHookEx(s.mouseHook);
    if ((which & kTestDropKeyboard) && s.keyboardHook)
        UnhookWindowsHookEx(s.keyboardHook);
    SetEvent(done);
}

void HoldTestLock() {
    HANDLE lock = CreateMutexW(nullptr, FALSE, kTestLockName);
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, kTestLockTakenName);
    if (lock && WaitForSingleObject(lock, INFINITE) == WAIT_OBJECT_0) {
        if (taken)
            SetEvent(taken);
        Sleep(kTestLockHoldMs);
        ReleaseMutex(lock);
    }
    if (taken)
        CloseHandle(taken);
    if (lock)
        CloseHandle(lock);
}
#endif

// What the thread watches beside its hooks: the front window, desktop switches, the session's
// lock, and the means to know the DPI of a monitor and our own integrity.
void StartWatching(HookThreadState& s) {
    s.shcore = LoadLibraryW(L"shcore.dll");
    if (s.shcore)
        s.getDpiForMonitor = reinterpret_cast<decltype(s.getDpiForMonitor)>(
            reinterpret_cast<void*>(GetProcAddress(s.shcore, "GetDpiForMonitor")));
    using SystemDpiFn = UINT(WINAPI*)();
    if (auto systemDpi = reinterpret_cast<SystemDpiFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem"))))
        s.systemDpi = static_cast<int>(systemDpi());
    if (s.systemDpi <= 0)
        s.systemDpi = 96;
    s.ourIntegrity = IntegrityOfProcess(GetCurrentProcess());
    s.foregroundEvents = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                         OnWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    s.desktopEvents = SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr,
                                      OnWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (!s.foregroundEvents || !s.desktopEvents)
        OutputDebugStringW(L"hook.dll: no window events; the front window is judged every two seconds\n");
    s.wtsapi = LoadLibraryW(L"wtsapi32.dll");
    using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
    auto registerNotices = s.wtsapi ? reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(
                                          GetProcAddress(s.wtsapi, "WTSRegisterSessionNotification")))
                                    : nullptr;
    s.unregisterSessionNotices =
        s.wtsapi ? reinterpret_cast<decltype(s.unregisterSessionNotices)>(
                       reinterpret_cast<void*>(GetProcAddress(s.wtsapi, "WTSUnRegisterSessionNotification")))
                 : nullptr;
    s.sessionNotices = registerNotices && s.unregisterSessionNotices && s.rawWindow &&
                       registerNotices(s.rawWindow, NOTIFY_FOR_THIS_SESSION);
    if (!s.sessionNotices)
        OutputDebugStringW(L"hook.dll: no session notifications; a lock does not reset held keys\n");
    JudgeForeground(s);
}

void StopWatching(HookThreadState& s) {
    for (HWINEVENTHOOK* hook : {&s.foregroundEvents, &s.desktopEvents}) {
        if (*hook)
            UnhookWinEvent(*hook);
        *hook = nullptr;
    }
    if (s.sessionNotices)
        s.unregisterSessionNotices(s.rawWindow);
    s.sessionNotices = false;
    for (HMODULE* module : {&s.wtsapi, &s.shcore}) {
        // While our library is being unloaded the loader lock is held by the unloading thread:
        // freeing a library here would wait for it for ever. The process keeps them then.
        if (*module && !g_lib.unloading)
            FreeLibrary(*module);
        *module = nullptr;
    }
    s.getDpiForMonitor = nullptr;
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
    // A loaded machine is then less likely to keep the hooks waiting past the system's limit.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    mw::ResetEngine(state.engine, g_lib.pending);
    g_thread = &state;
    state.rawWindow = CreateRawInputWindow();
    StartWatching(state);
    const bool ok = InstallHooks(state);
    if (ok) {
        state.keepAliveTimer = SetTimer(nullptr, 0, kKeepAliveMs, nullptr);
        if (!state.keepAliveTimer)
            OutputDebugStringW(L"hook.dll: no keep-alive timer; under Wine the hooks miss input "
                               L"after five still seconds\n");
    }
    Reply(ok);
    if (ok) {
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
            case kThreadForegroundRules:
                JudgeForeground(state);
                SetEvent(reinterpret_cast<HANDLE>(msg.lParam));
                break;
#ifdef MW_HOOK_TEST_EXPORTS
            case kThreadTestDrop:
                DropHooksForTest(state, msg.wParam, reinterpret_cast<HANDLE>(msg.lParam));
                break;
#endif
            default:
                break;
            }
        }
    }
    RemoveHooks(state);
    StopWatching(state);
    DestroyRawInputWindow(state);
    g_thread = nullptr;
    // A press still held back goes to the application, so it sees the press whose release
    // will reach it; with the hooks gone the replay passes straight through.
    if (mw::ReleaseHeldPress(state.engine)) {
        mw::ReplayInput items[mw::kReplayCapacity];
        const int taken = mw::TakeReplay(state.engine, items, mw::kReplayCapacity, GetTickCount());
        InjectReplay(items, taken);
    }
    for (UINT_PTR* timer : {&state.timeOutTimer, &state.stallTimer, &state.graceTimer, &state.retryTimer,
                            &state.keepAliveTimer})
        KillThreadTimer(*timer);
    if (g_lib.unloading) {
#ifdef MW_HOOK_TEST_EXPORTS
        if (g_lib.holdLockWhenUnloaded)
            HoldTestLock();
#endif
        // The library is being unloaded under the loader lock: hand over atomically and never
        // come back into code that is about to go away. Parked here the thread holds no lock.
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
    // The events the thread parks with at an unload are made now: under the loader lock it is
    // too late to find that they cannot be.
    if (!g_lib.parked)
        g_lib.parked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_lib.never)
        g_lib.never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_lib.parked || !g_lib.never)
        return false;
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

extern "C" int SetHookOptions(int options) {
    // Read by the mouse hook at its next event: no waiting for the hook thread, and the options
    // outlast EndHook and the next StartMouseHook.
    InterlockedExchange(&g_lib.options, options);
    return 1;
}

namespace {

// Asks the hook thread to judge the front window again now, and waits a little for it, so the
// next event already meets the new rules.
void JudgeForegroundNow() {
    const DWORD threadId = g_lib.threadId;
    HANDLE done = threadId ? CreateEventW(nullptr, TRUE, FALSE, nullptr) : nullptr;
    if (done && PostThreadMessageW(threadId, kThreadForegroundRules, 0, reinterpret_cast<LPARAM>(done)))
        WaitForSingleObject(done, 2000);
    if (done)
        CloseHandle(done);
}

} // namespace

extern "C" int SetAltTabListOpen(int open) {
    InterlockedExchange(&g_lib.listOpen, open ? 1 : 0);
    return 1;
}

extern "C" int SetQuietRules(int quietInFullScreen, const wchar_t* programs) {
    std::vector<std::wstring> names;
    for (const wchar_t* p = programs; p && *p; p += lstrlenW(p) + 1)
        names.emplace_back(p);
    AcquireSRWLockExclusive(&g_lib.rulesLock);
    g_lib.quietInFullScreen = quietInFullScreen != 0;
    g_lib.excludedPrograms.swap(names);
    ReleaseSRWLockExclusive(&g_lib.rulesLock);
    AcquireSRWLockExclusive(&g_lib.apiLock);
    JudgeForegroundNow();
    ReleaseSRWLockExclusive(&g_lib.apiLock);
    return 1;
}

extern "C" HWND EndHook() {
    AcquireSRWLockExclusive(&g_lib.apiLock);
    StopThread();
    // A program that ends the hook shows no list: the wheel must not stay taken at the next start.
    InterlockedExchange(&g_lib.listOpen, 0);
    HWND window = g_lib.target;
    ReleaseSRWLockExclusive(&g_lib.apiLock);
    return window;
}

namespace {

// FreeLibrary while the hook is still installed. Waiting for a thread to end is not possible
// under the loader lock (ending a thread needs that lock), so the thread is asked to clean up and
// park in a kernel wait, and is terminated only there, where it holds no lock. It is never
// terminated anywhere else: on its way from the message loop to the park it needs nothing that
// the unloading thread holds, so it gets there; a thread killed elsewhere could leave a lock of
// the process (the heap's, the loader's) held for good.
void StopThreadForUnload() {
    if (!g_lib.thread)
        return;
    InterlockedExchange(&g_lib.unloading, 1);
    HANDLE either[2] = {g_lib.parked, g_lib.thread};
    DWORD woke = WAIT_TIMEOUT;
    while (woke == WAIT_TIMEOUT) {
        // Asked again now and then, in case the queue was full.
        PostThreadMessageW(g_lib.threadId, WM_QUIT, 0, 0);
        woke = WaitForMultipleObjects(2, either, FALSE, 1000);
    }
    if (woke == WAIT_OBJECT_0) {
        TerminateThread(g_lib.thread, 0);
        WaitForSingleObject(g_lib.thread, 5000);
    }
    CloseHandle(g_lib.thread);
    g_lib.thread = nullptr;
}

void CloseParkEvents() {
    for (HANDLE* event : {&g_lib.parked, &g_lib.never}) {
        if (*event)
            CloseHandle(*event);
        *event = nullptr;
    }
}

} // namespace

#ifdef MW_HOOK_TEST_EXPORTS
extern "C" __declspec(dllexport) DWORD WINAPI MwHookTestControl(LPVOID parameter) {
    const DWORD command = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(parameter));
    if (command & kTestRefuseInstalls)
        InterlockedExchange(&g_lib.refuseInstalls, 1);
    if (command & kTestAllowInstalls)
        InterlockedExchange(&g_lib.refuseInstalls, 0);
    if (command & kTestHoldLockWhenUnloaded)
        InterlockedExchange(&g_lib.holdLockWhenUnloaded, 1);
    if (command & kTestSwapButtons)
        InterlockedExchange(&g_lib.swapOverride, 1);
    if (command & (kTestForegroundAbove | kTestForegroundAsIs)) {
        InterlockedExchange(&g_lib.integrityOverride, (command & kTestForegroundAbove) ? 1 : -1);
        JudgeForegroundNow();
    }
    const DWORD threadId = g_lib.threadId;
    if (command & kTestThreadPriority) {
        HANDLE thread = threadId ? OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId) : nullptr;
        if (!thread)
            return kTestFailed;
        const int priority = GetThreadPriority(thread);
        CloseHandle(thread);
        return static_cast<DWORD>(priority + 100);
    }
    const DWORD drop = command & (kTestDropMouse | kTestDropKeyboard);
    if (drop) {
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const bool sent = done && threadId &&
                          PostThreadMessageW(threadId, kThreadTestDrop, drop, reinterpret_cast<LPARAM>(done));
        const bool dropped = sent && WaitForSingleObject(done, 5000) == WAIT_OBJECT_0;
        if (done)
            CloseHandle(done);
        return dropped ? 0 : kTestFailed;
    }
    return 0;
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit (reserved set) the thread is already gone; nothing to do.
        if (!reserved)
            StopThreadForUnload();
        CloseParkEvents();
        if (g_lib.reply)
            CloseHandle(g_lib.reply);
        g_lib.reply = nullptr;
    }
    return TRUE;
}

// The gesture engine of hook.dll: a pure state machine that decides, for every mouse and
// keyboard event the low-level hooks see, whether it passes or is swallowed, which messages go
// to the main window and which input has to be replayed later. It makes no system calls, holds
// only fixed-size arrays and never allocates, so the hook procedures stay cheap and every rule
// can be tested without real input.
#pragma once

#include <cstdint>

namespace mw {

// The values of StartMouseHook, bounded to what the engine can work with.
struct GestureSettings {
    int moveCancelPx = 100;   // cancel distance from where the popup opened; 0: none
    int replaceAltTab = 0;    // 0 off, 1 click mode, any other value standard mode
    bool clickMode = false;   // the gesture only opens the popup
    bool rightButton = false; // the gesture button is the right one instead of the left
    int permissibleRange = 6; // tolerance for the wobble of the cursor while the gesture button is held
    int timeOutMs = 500;      // how long a held press may wait for the wheel
};

// Bounds the raw values: negative distances mean 0, the time-out stays within 50 ms and 10 s,
// the tolerance within 0 and 500 px; ClickMode and RightButton count as on only when exactly 1.
GestureSettings MakeGestureSettings(int moveCancelPx, int replaceAltTab, int clickMode, int rightButton,
                                    int permissibleRange, int timeOutMilliSeconds);

// The switches of SetHookOptions. They live beside the StartMouseHook values and outlast its
// reinstalls; a library nobody gave options to leaves every button as it is.
struct HookOptions {
    bool middleClose = false;     // the middle button over a held popup closes the selected window
    bool programScopeKey = false; // Alt+` opens the front program's list; X1 in a gesture narrows
};

// From the flags of SetHookOptions (kHookOption...); unknown bits are ignored.
HookOptions MakeHookOptions(int flags);

constexpr int kWheelNotch = 120;
constexpr int kReplayCapacity = 64;
// How long replayed input may take to come back through the hook before the engine stops
// waiting for it (input blocked by the system, a hook that never sees its own injection).
constexpr uint32_t kReplayStallMs = 250;

constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkMenu = 0x12;
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkOem3 = 0xC0;       // the key above Tab on a US layout
constexpr uint32_t kScanAboveTab = 0x29; // the same key on every layout
constexpr uint32_t kVkLShift = 0xA0;
constexpr uint32_t kVkRShift = 0xA1;
constexpr uint32_t kVkLMenu = 0xA4;
constexpr uint32_t kVkRMenu = 0xA5;
// An unassigned virtual key: injected between Alt down and Alt up so that the application in
// front does not take the lone Alt release as "open the menu bar". (0x07 would open the Game
// Bar on current Windows.)
constexpr uint32_t kVkMenuMask = 0xE8;

enum class MouseAction : uint8_t {
    Move,
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
    XDown,
    XUp,
    Wheel,
    HWheel,
};

struct MouseEvent {
    MouseAction action = MouseAction::Move;
    int x = 0; // screen position of the event
    int y = 0;
    int data = 0;       // signed wheel delta, or the X button number (1, 2)
    uint32_t time = 0;  // event time in milliseconds (tick count)
    bool ours = false;  // carries the replay marker: our own replayed input
    bool touch = false; // synthesised by the system from touch or pen input
    int dpi = 96;       // with a press: the DPI of the monitor under it
};

struct KeyEvent {
    uint32_t vk = 0;
    bool down = false;
    bool altDown = false; // the system says Alt is held (the hook's ALTDOWN flag)
    bool ours = false;
    uint32_t scanCode = 0;
    // With Tab, Esc and the key above Tab: the keyboard's state as the system has it now. The
    // engine takes Alt and Shift from it rather than from releases it may never have seen.
    bool haveState = false;
    bool altNow = false;
    bool shiftNow = false;
    uint32_t time = 0; // event time in milliseconds (tick count)
};

// The system's key state may lag behind a press the hook has only just passed on: a press seen
// this recently stands even when the state does not show it yet.
constexpr uint32_t kKeyStateLagMs = 250;

// One piece of input to inject again; moves are absolute screen positions, buttons and wheels
// act where the cursor is.
struct ReplayInput {
    MouseAction action = MouseAction::Move;
    int x = 0;
    int y = 0;
    int data = 0;
};

// A message for the main window: wParam carries `wheelDelta` in its high word and `lowWord` in
// its low word.
struct HookPost {
    uint32_t message = 0;
    int wheelDelta = 0;
    intptr_t lParam = 0;
    int times = 1; // post it this many times (one per wheel notch)
    int lowWord = 0;
};

enum class TimerAction : uint8_t { Keep, Arm, Kill };

struct HookDecision {
    bool swallow = false;
    int postCount = 0;
    HookPost posts[2];
    bool flushReplay = false;    // replay is waiting: inject it soon, off the hook procedure
    bool injectMenuMask = false; // inject kVkMenuMask down and up, off the hook procedure
    TimerAction timer = TimerAction::Keep;
    uint32_t timerMs = 0; // with TimerAction::Arm: fire OnTimeOut after this long
};

enum class PressState : uint8_t {
    Idle,         // no press of the gesture button that concerns us
    Holding,      // the button went down and was held back; waiting for the wheel
    Gesture,      // button plus wheel: the popup is open and follows the wheel
    GestureMuted, // the gesture goes on but posts nothing more (cancelled, or click mode)
    AppPress,     // the press belongs to the application; wait for its release
};

// Why the engine must keep its hands off the input for now. The hook thread keeps these up to
// date (on a change of the foreground window, or just before a press), so the hook procedures
// read them for nothing.
struct HookGate {
    bool quiet = false;           // a full-screen or excluded program is in front: act on nothing
    bool higherIntegrity = false; // the front window runs above us: replayed input would be lost
    bool ownerHung = false;       // the main window does not answer: never keep input from anyone
};

// Mouse events the system makes of touch or pen input carry this in their extra information.
constexpr bool IsTouchOrPen(uintptr_t extraInfo) {
    return (extraInfo & 0xFFFFFF00u) == 0xFF515700u;
}

// A distance in 96-DPI pixels at the DPI of a monitor, rounded to the nearest pixel.
int ScaleForDpi(int pixels96, int dpi);

// The SendInput flag that presses or releases the button the hook named: the hook reports
// logical buttons, SendInput names physical ones, and with swapped buttons they differ.
MouseAction PhysicalAction(MouseAction logical, bool swapped);

// Whether the window of a full-screen program covers its monitor (the desktop and the shell are
// left out by the caller).
bool CoversMonitor(int left, int top, int right, int bottom, int monLeft, int monTop, int monRight,
                   int monBottom);

struct GestureEngine {
    GestureSettings settings;
    HookGate gate;

    PressState state = PressState::Idle;
    bool pressRight = false; // the button of the press under way, whatever settings come
    int downX = 0, downY = 0;
    uint32_t downTime = 0;
    int lastX = 0, lastY = 0; // where the cursor was at the last event during the hold
    int openX = 0, openY = 0; // where the popup opened
    int pressDpi = 96;        // of the monitor where the press began: scales the distances
    // The physical button of the press has been seen down by the asynchronous key state; seen
    // up after that, its release happened where the hook is not called.
    bool physicalSeenDown = false;
    int wheelRemainder = 0; // wheel units not yet worth a notch
    // Where the user's last real move put the cursor. While moves wait in the replay the real
    // cursor lags behind, and buttons and wheels report that stale spot; they are replayed here.
    int userX = 0, userY = 0;
    bool haveUser = false;

    // Replay: input waiting to be injected, kept in order behind the held press.
    ReplayInput queue[kReplayCapacity];
    int queued = 0;
    // Where the cursor will be once everything passed and queued so far has been applied.
    // Replay moves the cursor only where it is not already: the system reports no event for
    // a move that goes nowhere, and the engine would wait for it in vain.
    int predX = 0, predY = 0;
    bool havePred = false;
    int moveFromX = 0, moveFromY = 0; // where the last queued move started
    int inFlight = 0;                 // injected input not yet seen coming back through the hook
    uint32_t flushTime = 0;
    bool flushPending = false; // a flush has been asked for and not yet taken

    // Alt+Tab replacement.
    bool altHeld = false;
    bool shiftHeld = false;
    uint32_t altDownTime = 0; // when the hook last saw Alt, or Shift, go down
    uint32_t shiftDownTime = 0;
    bool altTabOpen = false;   // we opened the popup for this Alt press
    bool tabSwallowed = false; // the matching Tab release has to be swallowed too
    bool escSwallowed = false;
    intptr_t altTabKind = 1; // the lParam the open list was opened with (1 Tab, 2 the key above Tab)
    bool scopeKeySwallowed = false;
    // The program keeps an Alt+Tab list open after Alt came up: the wheel anywhere moves it.
    bool listOpen = false;
    int listWheelRemainder = 0;
    bool x1Swallowed = false;

    // The middle button.
    HookOptions options;
    bool middleSwallowed = false; // its press was kept from the application: so is its release
};

void ResetEngine(GestureEngine& engine, const GestureSettings& settings);
// New settings for the next gesture; a gesture or key sequence under way finishes as it began.
void ApplySettings(GestureEngine& engine, const GestureSettings& settings);
// What the keyboard state was when the keyboard hook went in.
void SeedKeyState(GestureEngine& engine, bool altHeld, bool shiftHeld);

HookDecision OnMouseEvent(GestureEngine& engine, const MouseEvent& event);
HookDecision OnKeyEvent(GestureEngine& engine, const KeyEvent& event);
// The time-out timer fired at `now`.
HookDecision OnTimeOut(GestureEngine& engine, uint32_t now);

// Hands the waiting replay to the hook layer (at most `capacity` inputs) and counts it as in
// flight. Returns the number taken.
int TakeReplay(GestureEngine& engine, ReplayInput* out, int capacity, uint32_t now);
// After the injection: `injected` of `taken` inputs went in. Returns true when more replay is
// waiting and another flush is needed now.
bool ReplayInjected(GestureEngine& engine, int taken, int injected);
// Injected input did not come back in time: stop waiting for it. Returns true when a flush is
// needed.
bool OnReplayStall(GestureEngine& engine);
// The hook goes away: a press still held back is queued for replay so the application gets
// the press whose release it will see. Returns true when replay is waiting.
bool ReleaseHeldPress(GestureEngine& engine);

bool IsEngineIdle(const GestureEngine& engine);

// The physical state of the button the engine waits for (true: down), read at an event or on the
// hook thread's timer. Once it was seen down and is now up, the press or gesture is cancelled.
HookDecision OnPhysicalButton(GestureEngine& engine, bool down);
// The session was locked or unlocked, or another desktop came to the front: everything the
// engine believed held down may have been released where the hooks are not called.
HookDecision OnInputReset(GestureEngine& engine);

// ---- a hook the system removed without telling ---------------------------------------------
// Windows removes a low-level hook that once answered too slowly, and says nothing. Raw input
// (registered with RIDEV_INPUTSINK on the hook thread) still shows every device's input, so a
// device whose raw input goes on while its hook sees nothing has lost its hook. Each device is
// judged on its own: typing never makes the mouse hook look lost, nor moving the mouse the
// keyboard hook.
enum class HookKind : uint8_t { Mouse = 1, Keyboard = 2 }; // as lParam of the status message

struct DeviceWatch {
    uint32_t lastHookTime = 0;   // event time of the last event the hook saw (or the install)
    int unseen = 0;              // raw events newer than anything the hook saw since
    bool releasePending = false; // raw input showed the held button (or Alt) come up
    uint32_t releaseTime = 0;    // when that was seen
    bool rawRelease = false;     // raw input showed the held button come up at rawReleaseTime
    uint32_t rawReleaseTime = 0;
    int losses = 0; // losses in a row, each within kLossMemoryMs of the last
    uint32_t lastLossTime = 0;
};

struct InputWatch {
    DeviceWatch mouse;
    DeviceWatch keyboard;
};

// The hook is called for an event before raw input is made of it, so a raw event newer than
// the newest event the hook saw is input the hook missed. Raw input may lag behind the hook by
// many events (it waits in the queue while the hook calls come first), so the comparison is by
// the events' own times, never by counting; a little slack absorbs clocks that differ.
constexpr uint32_t kRawSlackMs = 50;
constexpr int kUnseenMouseEvents = 12;
constexpr int kUnseenKeyEvents = 3;
// How long a release shown by raw input may wait for the hook to see it too.
constexpr uint32_t kReleaseGraceMs = 150;
// A hook counts as lost only when it has been silent this long while raw input went on (longer
// after each loss in a row), and only while no window of higher integrity takes the input: the
// system never calls our hooks for input that goes to such a window.
constexpr uint32_t kHookSilenceMs = 1000;
constexpr uint32_t kLossMemoryMs = 60000;
uint32_t LossSilenceMs(int lossesInARow);

DeviceWatch& WatchOf(InputWatch& watch, HookKind kind);
// The hook saw an event of the device at `eventTime`: it is alive.
void NoteHookInput(InputWatch& watch, HookKind kind, uint32_t eventTime);
// Raw input of the device (moves, buttons, wheels, keys) that happened at `eventTime`, seen at
// `now`. `releaseOfHeld`: it is the release the engine waits for. Returns true when the hook has
// missed so much of the device's input that it must be gone.
// `excused`: a window of higher integrity is in front or under the cursor.
bool NoteRawInput(InputWatch& watch, HookKind kind, uint32_t eventTime, bool releaseOfHeld, uint32_t now,
                  bool excused = false);
// The hook of `kind` was declared lost at `now`: the next loss soon after waits longer.
void NoteLoss(InputWatch& watch, HookKind kind, uint32_t now);
// A release shown by raw input that the hook has not seen within the grace time.
bool ReleaseMissed(const InputWatch& watch, HookKind kind, uint32_t now);
// At the time-out: raw input showed the held button come up after it went down, yet the engine
// still holds the press. A live hook would have seen that release first.
bool HeldPressAlreadyReleased(const GestureEngine& engine, const InputWatch& watch);
// The hook was (re)installed at `now`: only input after that counts (the losses in a row stay).
void ResetWatch(InputWatch& watch, HookKind kind, uint32_t now);

// What release the engine waits for: the gesture button while a press of it is held back or
// drives the popup (`right` tells which button), or Alt while a standard Alt+Tab popup is open.
bool WaitsForButtonRelease(const GestureEngine& engine, bool* right);
bool WaitsForAltRelease(const GestureEngine& engine);

// The hook of `kind` is gone and the engine was not told what happened meanwhile. A held-back
// press is dropped (replayed after its physical release it would stay down), an open gesture or
// standard Alt+Tab popup is cancelled, and of the waiting replay only the releases of buttons
// whose press already reached the application stay, so no button is left down.
HookDecision OnHookLost(GestureEngine& engine, HookKind kind);

} // namespace mw

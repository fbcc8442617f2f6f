// The gesture engine: every rule of the mouse gesture and of the Alt+Tab keys, as decisions.
#include "hook/gesture_engine.h"

#include "hook/messages.h"

namespace mw {

namespace {

int Clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

bool Within(int x, int y, int cx, int cy, int radius) {
    const int64_t dx = static_cast<int64_t>(x) - cx;
    const int64_t dy = static_cast<int64_t>(y) - cy;
    return dx * dx + dy * dy <= static_cast<int64_t>(radius) * radius;
}

void Post(HookDecision& d, uint32_t message, int wheelDelta, intptr_t lParam, int times = 1) {
    if (d.postCount >= 2 || times <= 0)
        return;
    d.posts[d.postCount++] = HookPost{message, wheelDelta, lParam, times};
}

// The gesture button: from the settings between presses, from the press while one is under way,
// so new settings never strand a press that is already held.
bool GestureButtonIsRight(const GestureEngine& e) {
    return e.state == PressState::Idle ? e.settings.rightButton : e.pressRight;
}
MouseAction DownOf(const GestureEngine& e) {
    return GestureButtonIsRight(e) ? MouseAction::RightDown : MouseAction::LeftDown;
}
MouseAction UpOf(const GestureEngine& e) {
    return GestureButtonIsRight(e) ? MouseAction::RightUp : MouseAction::LeftUp;
}

bool StandardAltTab(const GestureEngine& e) {
    return e.settings.replaceAltTab != 1;
}

// Appends one input to the replay, moving the cursor first when the input happened somewhere
// else than where the queued input leaves it. Consecutive moves collapse into the last one.
// Returns false when the queue is full.
bool Enqueue(GestureEngine& e, MouseAction action, int x, int y, int data) {
    if (action == MouseAction::Move) {
        const bool merge = e.queued > 0 && e.queue[e.queued - 1].action == MouseAction::Move;
        if (!merge) {
            if (e.havePred && e.predX == x && e.predY == y)
                return true; // goes nowhere
            if (e.queued >= kReplayCapacity)
                return false;
            e.moveFromX = e.predX;
            e.moveFromY = e.predY;
            e.queue[e.queued++] = ReplayInput{MouseAction::Move, x, y, 0};
        } else if (e.havePred && e.moveFromX == x && e.moveFromY == y) {
            --e.queued; // the cursor came back to where the queued move started
        } else {
            e.queue[e.queued - 1].x = x;
            e.queue[e.queued - 1].y = y;
        }
        e.predX = x;
        e.predY = y;
        e.havePred = true;
        return true;
    }
    const bool needMove = !e.havePred || e.predX != x || e.predY != y;
    if (e.queued + (needMove ? 2 : 1) > kReplayCapacity)
        return false;
    if (needMove)
        Enqueue(e, MouseAction::Move, x, y, 0);
    e.queue[e.queued++] = ReplayInput{action, x, y, data};
    return true;
}

bool Replaying(const GestureEngine& e) {
    return e.inFlight > 0 || e.queued > 0;
}

// The held press belongs to the application after all: queue it where it happened, followed
// by the cursor's way back to where it is now.
void ResolveHold(GestureEngine& e, HookDecision& d) {
    Enqueue(e, DownOf(e), e.downX, e.downY, 0);
    if (e.lastX != e.downX || e.lastY != e.downY)
        Enqueue(e, MouseAction::Move, e.lastX, e.lastY, 0);
    e.state = PressState::AppPress;
    d.timer = TimerAction::Kill;
}

// An event the application should get: straight through, unless replay is under way, in
// which case it waits in the queue behind the replay so the order stays right.
void PassOrQueue(GestureEngine& e, const MouseEvent& ev, HookDecision& d) {
    if (!Replaying(e))
        return;
    if (Enqueue(e, ev.action, ev.x, ev.y, ev.data))
        d.swallow = true;
    // A full queue lets the event through: out of order, but nothing is lost.
}

void RequestFlushIfNeeded(GestureEngine& e, HookDecision& d) {
    if (e.queued > 0 && e.inFlight == 0 && !e.flushPending) {
        e.flushPending = true;
        d.flushReplay = true;
    }
}

// Adds a wheel delta up and posts one move per whole notch.
void StepByWheel(int& remainder, int delta, HookDecision& d) {
    if (delta == 0)
        return;
    // A turn the other way starts afresh, so a half notch never eats a whole one.
    if ((delta > 0) != (remainder > 0) && remainder != 0)
        remainder = 0;
    remainder += delta;
    const int steps = remainder / kWheelNotch;
    if (steps == 0)
        return;
    remainder -= steps * kWheelNotch;
    Post(d, kMsgMoveSelection, steps > 0 ? kWheelNotch : -kWheelNotch, 0, steps > 0 ? steps : -steps);
}

void OnWheelInGesture(GestureEngine& e, const MouseEvent& ev, HookDecision& d) {
    d.swallow = true;
    if (e.state == PressState::Gesture)
        StepByWheel(e.wheelRemainder, ev.data, d);
}

// Nothing may be held back or swallowed for a new press or list: a full-screen or excluded
// program is in front, or the main window could not answer anyway.
bool Quiet(const GestureEngine& e) {
    return e.gate.quiet || e.gate.ownerHung;
}

// The tilt wheel during the popup: swallowed, and reported by its direction (right 1, left 0)
// in the low word, so a tilt that repeats while held sets the same scope again.
void OnTiltInGesture(const MouseEvent& ev, HookDecision& d) {
    d.swallow = true;
    if (ev.data == 0)
        return;
    Post(d, kMsgTilt, 0, 0);
    d.posts[d.postCount - 1].lowWord = ev.data > 0 ? 1 : 0;
}

void CheckCancelDistance(GestureEngine& e, const MouseEvent& ev, HookDecision& d) {
    if (e.state != PressState::Gesture || e.settings.moveCancelPx <= 0)
        return;
    if (Within(ev.x, ev.y, e.openX, e.openY, ScaleForDpi(e.settings.moveCancelPx, e.pressDpi)))
        return;
    Post(d, kMsgCancel, 0, 0);
    e.state = PressState::GestureMuted;
}

// A popup that the held gesture button or the held Alt keeps open. The program acts on its
// selected entry, so the middle button over it has nothing to do with the window underneath.
bool HeldPopupOpen(const GestureEngine& e) {
    return e.state == PressState::Gesture || WaitsForAltRelease(e);
}

// A screen position as a mouse message's lParam carries it: signed 16-bit x low, y high.
intptr_t PackPoint(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}

// With MiddleClose on, the middle click over a held popup closes the selected entry's window:
// press and release are both kept from the window under the cursor, and the click is reported
// at the release while the popup is still open. The release of a press that was kept is kept
// whatever happened in between (the popup closed, the option changed), and the release of a
// press that went through goes through, so no program ever sees half a click. True when the
// event was handled here.
bool HandleMiddleClose(GestureEngine& e, const MouseEvent& ev, HookDecision& d) {
    if (ev.action == MouseAction::MiddleDown) {
        e.middleSwallowed = e.options.middleClose && HeldPopupOpen(e);
        d.swallow = e.middleSwallowed;
        return e.middleSwallowed;
    }
    if (ev.action != MouseAction::MiddleUp || !e.middleSwallowed)
        return false;
    e.middleSwallowed = false;
    d.swallow = true;
    if (HeldPopupOpen(e))
        Post(d, kMsgMiddleClick, 0, PackPoint(ev.x, ev.y));
    return true;
}

// The back button during a gesture narrows the list (or widens it again); its release is kept
// too, whatever happened in between, like the middle click's.
bool HandleProgramScope(GestureEngine& e, const MouseEvent& ev, HookDecision& d) {
    if (ev.action == MouseAction::XDown && ev.data == 1 && e.options.programScopeKey &&
        e.state == PressState::Gesture) {
        e.x1Swallowed = true;
        d.swallow = true;
        Post(d, kMsgProgramScope, 0, 0);
        return true;
    }
    if (ev.action == MouseAction::XUp && ev.data == 1 && e.x1Swallowed) {
        e.x1Swallowed = false;
        d.swallow = true;
        return true;
    }
    return false;
}

void HandleMouse(GestureEngine& e, const MouseEvent& ev, HookDecision& d) {
    if (HandleMiddleClose(e, ev, d) || HandleProgramScope(e, ev, d))
        return;
    const MouseAction down = DownOf(e);
    const MouseAction up = UpOf(e);

    // A hold that outlived the time-out is a long press, whatever comes now.
    if (e.state == PressState::Holding &&
        static_cast<uint32_t>(ev.time - e.downTime) >= static_cast<uint32_t>(e.settings.timeOutMs)) {
        ResolveHold(e, d);
    }

    switch (e.state) {
    case PressState::Idle:
        if (ev.action == MouseAction::Wheel && e.listOpen && !Quiet(e)) {
            // The list Alt+Tab left open follows the wheel wherever the cursor is; the window
            // under the cursor would otherwise scroll.
            d.swallow = true;
            StepByWheel(e.listWheelRemainder, ev.data, d);
            return;
        }
        // Before the front window of higher integrity a held press could never be replayed:
        // the system drops input we inject into it.
        if (ev.action == down && !Quiet(e) && !e.gate.higherIntegrity) {
            e.state = PressState::Holding;
            e.pressRight = e.settings.rightButton;
            e.pressDpi = ev.dpi > 0 ? ev.dpi : 96;
            e.physicalSeenDown = false;
            e.downX = e.lastX = ev.x;
            e.downY = e.lastY = ev.y;
            e.downTime = ev.time;
            d.swallow = true;
            d.timer = TimerAction::Arm;
            d.timerMs = static_cast<uint32_t>(e.settings.timeOutMs);
            return;
        }
        break;

    case PressState::Holding: {
        const bool inRange =
            Within(ev.x, ev.y, e.downX, e.downY, ScaleForDpi(e.settings.permissibleRange, e.pressDpi));
        if (ev.action == MouseAction::Wheel && inRange) {
            e.state = e.settings.clickMode ? PressState::GestureMuted : PressState::Gesture;
            e.openX = ev.x;
            e.openY = ev.y;
            e.wheelRemainder = 0;
            d.swallow = true;
            d.timer = TimerAction::Kill;
            Post(d, kMsgOpenPopup, 0, 0);
            return;
        }
        if (ev.action == MouseAction::Move && inRange) {
            e.lastX = ev.x;
            e.lastY = ev.y;
            break; // a wobble: the cursor moves, the press keeps waiting
        }
        // A click, a drag or anything else: the press was the application's.
        ResolveHold(e, d);
        if (ev.action == up)
            e.state = PressState::Idle;
        break;
    }

    case PressState::Gesture:
    case PressState::GestureMuted:
        if (ev.action == MouseAction::Move) {
            CheckCancelDistance(e, ev, d);
            break;
        }
        if (ev.action == MouseAction::Wheel) {
            CheckCancelDistance(e, ev, d);
            OnWheelInGesture(e, ev, d);
            return;
        }
        if (ev.action == MouseAction::HWheel) {
            OnTiltInGesture(ev, d);
            return;
        }
        if (ev.action == down) {
            d.swallow = true;
            return;
        }
        if (ev.action == up) {
            d.swallow = true;
            if (e.state == PressState::Gesture) {
                CheckCancelDistance(e, ev, d);
                if (e.state == PressState::Gesture)
                    Post(d, kMsgChoose, 0, 0);
            }
            e.state = PressState::Idle;
            return;
        }
        break;

    case PressState::AppPress:
        if (ev.action == up)
            e.state = PressState::Idle;
        break;
    }
    PassOrQueue(e, ev, d);
}

bool IsAlt(uint32_t vk) {
    return vk == kVkMenu || vk == kVkLMenu || vk == kVkRMenu;
}
bool IsShift(uint32_t vk) {
    return vk == kVkShift || vk == kVkLShift || vk == kVkRShift;
}

bool IsKeyAboveTab(const KeyEvent& k) {
    return k.vk == kVkOem3 || k.scanCode == kScanAboveTab;
}

// Alt with Tab, or with the key above Tab: opens the list (of type `kind`) or steps it.
void StepAltList(GestureEngine& e, intptr_t kind, HookDecision& d) {
    if (!e.altTabOpen) {
        e.altTabOpen = true;
        e.altTabKind = kind;
        // The list opens on the front window and steps at once, so Alt+Tab tapped
        // quickly flips to the window behind (Shift+Tab: to the last entry).
        Post(d, kMsgOpenPopup, 0, kind);
        d.injectMenuMask = true;
    }
    Post(d, kMsgMoveSelection, e.shiftHeld ? kWheelNotch : -kWheelNotch, 0);
}

} // namespace

GestureSettings MakeGestureSettings(int moveCancelPx, int replaceAltTab, int clickMode, int rightButton,
                                    int permissibleRange, int timeOutMilliSeconds) {
    GestureSettings s;
    s.moveCancelPx = moveCancelPx < 0 ? 0 : moveCancelPx;
    s.replaceAltTab = replaceAltTab == 0 ? 0 : (replaceAltTab == 1 ? 1 : 2);
    s.clickMode = clickMode == 1;
    s.rightButton = rightButton == 1;
    s.permissibleRange = Clamp(permissibleRange, 0, 500);
    s.timeOutMs = Clamp(timeOutMilliSeconds, 50, 10000);
    return s;
}

HookOptions MakeHookOptions(int flags) {
    HookOptions o;
    o.middleClose = (flags & kHookOptionMiddleClose) != 0;
    o.programScopeKey = (flags & kHookOptionProgramScope) != 0;
    return o;
}

int ScaleForDpi(int pixels96, int dpi) {
    if (dpi <= 0)
        dpi = 96;
    const int64_t scaled = (static_cast<int64_t>(pixels96) * dpi + 48) / 96;
    return scaled > 1000000 ? 1000000 : static_cast<int>(scaled);
}

MouseAction PhysicalAction(MouseAction logical, bool swapped) {
    if (!swapped)
        return logical;
    switch (logical) {
    case MouseAction::LeftDown:
        return MouseAction::RightDown;
    case MouseAction::LeftUp:
        return MouseAction::RightUp;
    case MouseAction::RightDown:
        return MouseAction::LeftDown;
    case MouseAction::RightUp:
        return MouseAction::LeftUp;
    default:
        return logical;
    }
}

bool CoversMonitor(int left, int top, int right, int bottom, int monLeft, int monTop, int monRight,
                   int monBottom) {
    return monRight > monLeft && monBottom > monTop && left <= monLeft && top <= monTop &&
           right >= monRight && bottom >= monBottom;
}

uint32_t LossSilenceMs(int lossesInARow) {
    const int shift = lossesInARow < 0 ? 0 : (lossesInARow > 5 ? 5 : lossesInARow);
    return kHookSilenceMs << shift;
}

void ResetEngine(GestureEngine& engine, const GestureSettings& settings) {
    engine = GestureEngine{};
    engine.settings = settings;
}

void ApplySettings(GestureEngine& engine, const GestureSettings& settings) {
    const bool hadKeys = engine.settings.replaceAltTab != 0;
    engine.settings = settings;
    if (hadKeys && settings.replaceAltTab == 0) {
        // The keyboard hook goes away; the releases it would have swallowed reach the
        // application, which is harmless, and nothing waits for them any more.
        engine.altTabOpen = engine.tabSwallowed = engine.escSwallowed = false;
    }
}

void SeedKeyState(GestureEngine& engine, bool altHeld, bool shiftHeld) {
    engine.altHeld = altHeld;
    engine.shiftHeld = shiftHeld;
}

HookDecision OnMouseEvent(GestureEngine& e, const MouseEvent& ev) {
    HookDecision d;
    if (ev.ours) {
        // Our own replay coming back: let it through untouched.
        if (e.inFlight > 0)
            --e.inFlight;
        RequestFlushIfNeeded(e, d);
        return d;
    }
    if (e.inFlight > 0 && static_cast<uint32_t>(ev.time - e.flushTime) > kReplayStallMs &&
        static_cast<int32_t>(ev.time - e.flushTime) > 0) {
        e.inFlight = 0;
    }
    // Touch and pen come with their own timing; held back and replayed as plain mouse input
    // they would reach touch-aware programs twice.
    if (ev.touch)
        return d;
    MouseEvent real = ev;
    if (ev.action == MouseAction::Move) {
        e.userX = ev.x;
        e.userY = ev.y;
        e.haveUser = true;
    } else if (Replaying(e)) {
        if (e.haveUser) {
            real.x = e.userX;
            real.y = e.userY;
        }
    } else {
        // Nothing of ours is under way: the event tells where the cursor really is, even
        // when someone moved it without input.
        e.predX = ev.x;
        e.predY = ev.y;
        e.havePred = true;
    }
    HandleMouse(e, real, d);
    if (ev.action == MouseAction::Move && !d.swallow) {
        e.predX = ev.x; // the move goes through: the cursor will be there
        e.predY = ev.y;
        e.havePred = true;
    }
    RequestFlushIfNeeded(e, d);
    return d;
}

HookDecision OnTimeOut(GestureEngine& e, uint32_t now) {
    HookDecision d;
    if (e.state != PressState::Holding) {
        d.timer = TimerAction::Kill;
        return d;
    }
    const uint32_t elapsed = now - e.downTime;
    const uint32_t limit = static_cast<uint32_t>(e.settings.timeOutMs);
    if (static_cast<int32_t>(elapsed) >= 0 && elapsed < limit) {
        d.timer = TimerAction::Arm; // woke early: wait for the rest
        d.timerMs = limit - elapsed;
        return d;
    }
    ResolveHold(e, d);
    RequestFlushIfNeeded(e, d);
    return d;
}

HookDecision OnKeyEvent(GestureEngine& e, const KeyEvent& k) {
    HookDecision d;
    if (k.ours)
        return d;
    if (IsShift(k.vk)) {
        e.shiftHeld = k.down;
        e.shiftDownTime = k.time;
        return d;
    }
    if (IsAlt(k.vk)) {
        e.altHeld = k.down;
        e.altDownTime = k.time;
        if (!k.down && e.altTabOpen) {
            // The Alt release itself always passes, so the application never keeps Alt down.
            if (StandardAltTab(e))
                Post(d, kMsgChoose, 0, 0);
            e.altTabOpen = false;
        }
        return d;
    }
    if (e.settings.replaceAltTab == 0)
        return d;

    if (k.haveState) {
        // Alt or Shift may have come up where the hook is not called (the secure desktop, an
        // elevated window): what the system says now wins over the releases we saw.
        e.altHeld = k.altDown || k.altNow || (e.altHeld && k.time - e.altDownTime < kKeyStateLagMs);
        e.shiftHeld = k.shiftNow || (e.shiftHeld && k.time - e.shiftDownTime < kKeyStateLagMs);
    }
    const bool alt = k.altDown || e.altHeld;
    if (k.down && !alt && e.altTabOpen && (k.vk == kVkTab || k.vk == kVkEscape)) {
        // The Alt release that should have ended the list was never seen: end it now, and
        // let this key be the ordinary key it is.
        if (StandardAltTab(e))
            Post(d, kMsgCancel, 0, 0);
        e.altTabOpen = false;
    }
    if (IsKeyAboveTab(k) && k.vk != kVkTab && e.options.programScopeKey) {
        if (k.down && alt && (e.altTabOpen || !Quiet(e))) {
            d.swallow = true;
            e.scopeKeySwallowed = true;
            if (e.altTabOpen && e.altTabKind != 2)
                Post(d, kMsgProgramScope, 0, 0);
            else
                StepAltList(e, 2, d);
        } else if (!k.down && e.scopeKeySwallowed) {
            d.swallow = true;
            e.scopeKeySwallowed = false;
        }
        return d;
    }
    if (k.vk == kVkTab) {
        if (k.down) {
            if (!alt || (!e.altTabOpen && Quiet(e)))
                return d;
            d.swallow = true;
            e.tabSwallowed = true;
            StepAltList(e, 1, d);
        } else if (e.tabSwallowed) {
            d.swallow = true;
            e.tabSwallowed = false;
        }
        return d;
    }
    if (k.vk == kVkEscape) {
        if (k.down && e.altTabOpen && alt && StandardAltTab(e)) {
            d.swallow = true;
            e.escSwallowed = true;
            e.altTabOpen = false;
            Post(d, kMsgCancel, 0, 0);
        } else if (k.down && e.escSwallowed) {
            d.swallow = true; // auto-repeat of the Esc that cancelled
        } else if (!k.down && e.escSwallowed) {
            d.swallow = true;
            e.escSwallowed = false;
        }
    }
    return d;
}

int TakeReplay(GestureEngine& e, ReplayInput* out, int capacity, uint32_t now) {
    e.flushPending = false;
    int n = e.queued < capacity ? e.queued : capacity;
    for (int i = 0; i < n; ++i)
        out[i] = e.queue[i];
    for (int i = n; i < e.queued; ++i)
        e.queue[i - n] = e.queue[i];
    e.queued -= n;
    e.inFlight += n;
    e.flushTime = now;
    return n;
}

bool ReplayInjected(GestureEngine& e, int taken, int injected) {
    if (injected < taken) {
        e.inFlight -= taken - (injected < 0 ? 0 : injected);
        if (e.inFlight < 0)
            e.inFlight = 0;
    }
    HookDecision d;
    RequestFlushIfNeeded(e, d);
    return d.flushReplay;
}

bool OnReplayStall(GestureEngine& e) {
    e.inFlight = 0;
    HookDecision d;
    RequestFlushIfNeeded(e, d);
    return d.flushReplay;
}

bool ReleaseHeldPress(GestureEngine& e) {
    HookDecision d;
    if (e.state == PressState::Holding)
        ResolveHold(e, d);
    e.inFlight = 0;
    e.flushPending = false;
    return e.queued > 0;
}

bool IsEngineIdle(const GestureEngine& e) {
    return e.state == PressState::Idle && e.queued == 0 && e.inFlight == 0;
}

DeviceWatch& WatchOf(InputWatch& w, HookKind kind) {
    return kind == HookKind::Mouse ? w.mouse : w.keyboard;
}

void NoteHookInput(InputWatch& w, HookKind kind, uint32_t eventTime) {
    DeviceWatch& d = WatchOf(w, kind);
    if (static_cast<int32_t>(eventTime - d.lastHookTime) > 0)
        d.lastHookTime = eventTime;
    d.unseen = 0;
    d.releasePending = false;
}

bool NoteRawInput(InputWatch& w, HookKind kind, uint32_t eventTime, bool releaseOfHeld, uint32_t now,
                  bool excused) {
    DeviceWatch& d = WatchOf(w, kind);
    if (excused) {
        // The system does not call our hooks for this input: its silence proves nothing.
        NoteHookInput(w, kind, eventTime);
        return false;
    }
    if (releaseOfHeld) {
        d.rawRelease = true;
        d.rawReleaseTime = eventTime;
        // A live hook sees the release before raw input shows it, and the engine then waits for
        // it no more: a release still awaited that is newer than anything the hook saw was
        // missed, unless the hook sees an event within the grace time. The slack does not apply
        // here: it let a release that came soon after the hook's last event go unnoticed for
        // good. (An older one is the late report of an earlier click.)
        if (!d.releasePending && static_cast<int32_t>(eventTime - d.lastHookTime) > 0) {
            d.releasePending = true;
            d.releaseTime = now;
        }
    }
    if (static_cast<int32_t>(eventTime - d.lastHookTime) <= static_cast<int32_t>(kRawSlackMs))
        return false; // the hook has seen this event, or a later one
    if (d.unseen < 1000000)
        ++d.unseen;
    if (d.unseen < (kind == HookKind::Mouse ? kUnseenMouseEvents : kUnseenKeyEvents))
        return false;
    const int inARow = d.losses > 0 && now - d.lastLossTime < kLossMemoryMs ? d.losses : 0;
    return static_cast<int32_t>(eventTime - d.lastHookTime) >= static_cast<int32_t>(LossSilenceMs(inARow));
}

void NoteLoss(InputWatch& w, HookKind kind, uint32_t now) {
    DeviceWatch& d = WatchOf(w, kind);
    d.losses = d.losses > 0 && now - d.lastLossTime < kLossMemoryMs ? d.losses + 1 : 1;
    d.lastLossTime = now;
}

bool ReleaseMissed(const InputWatch& w, HookKind kind, uint32_t now) {
    const DeviceWatch& d = kind == HookKind::Mouse ? w.mouse : w.keyboard;
    return d.releasePending && now - d.releaseTime >= kReleaseGraceMs;
}

bool HeldPressAlreadyReleased(const GestureEngine& e, const InputWatch& w) {
    return e.state == PressState::Holding && w.mouse.rawRelease &&
           static_cast<int32_t>(w.mouse.rawReleaseTime - e.downTime) >= 0;
}

void ResetWatch(InputWatch& w, HookKind kind, uint32_t now) {
    DeviceWatch& d = WatchOf(w, kind);
    const int losses = d.losses;
    const uint32_t lastLoss = d.lastLossTime;
    d = DeviceWatch{};
    d.lastHookTime = now;
    d.losses = losses;
    d.lastLossTime = lastLoss;
}

bool WaitsForButtonRelease(const GestureEngine& e, bool* right) {
    if (e.state != PressState::Holding && e.state != PressState::Gesture &&
        e.state != PressState::GestureMuted)
        return false;
    if (right)
        *right = e.pressRight;
    return true;
}

bool WaitsForAltRelease(const GestureEngine& e) {
    return e.altTabOpen && e.settings.replaceAltTab != 0 && StandardAltTab(e);
}

namespace {

bool IsRelease(MouseAction a) {
    return a == MouseAction::LeftUp || a == MouseAction::RightUp || a == MouseAction::MiddleUp ||
           a == MouseAction::XUp;
}

MouseAction PressOf(MouseAction up) {
    switch (up) {
    case MouseAction::LeftUp:
        return MouseAction::LeftDown;
    case MouseAction::RightUp:
        return MouseAction::RightDown;
    case MouseAction::MiddleUp:
        return MouseAction::MiddleDown;
    default:
        return MouseAction::XDown;
    }
}

// Keeps of the waiting replay only the releases whose press is not waiting with them: those
// presses already reached the application, which must see them end.
void KeepOnlyOwedReleases(GestureEngine& e) {
    int kept = 0;
    for (int i = 0; i < e.queued; ++i) {
        const ReplayInput r = e.queue[i];
        if (!IsRelease(r.action))
            continue;
        bool pressWaiting = false;
        for (int j = 0; j < i && !pressWaiting; ++j)
            pressWaiting = e.queue[j].action == PressOf(r.action) && e.queue[j].data == r.data;
        if (!pressWaiting)
            e.queue[kept++] = r;
    }
    e.queued = kept;
}

} // namespace

HookDecision OnHookLost(GestureEngine& e, HookKind kind) {
    HookDecision d;
    if (kind == HookKind::Keyboard) {
        if (WaitsForAltRelease(e))
            Post(d, kMsgCancel, 0, 0);
        e.altTabOpen = e.tabSwallowed = e.escSwallowed = false;
        return d;
    }
    if (e.state == PressState::Gesture || e.state == PressState::GestureMuted)
        Post(d, kMsgCancel, 0, 0);
    e.state = PressState::Idle;
    e.wheelRemainder = 0;
    d.timer = TimerAction::Kill;
    KeepOnlyOwedReleases(e);
    // Where the cursor is, and what of ours is still on its way, is no longer known.
    e.inFlight = 0;
    e.flushPending = false;
    e.havePred = false;
    e.haveUser = false;
    RequestFlushIfNeeded(e, d);
    return d;
}

HookDecision OnPhysicalButton(GestureEngine& e, bool down) {
    if (!WaitsForButtonRelease(e, nullptr)) {
        e.physicalSeenDown = false;
        return HookDecision{};
    }
    if (down || !e.physicalSeenDown) {
        // Seen up before it was ever seen down says nothing: the state may not have caught up
        // with the press yet, or the system does not count a press the hook kept to itself.
        e.physicalSeenDown = e.physicalSeenDown || down;
        return HookDecision{};
    }
    e.physicalSeenDown = false;
    return OnHookLost(e, HookKind::Mouse);
}

HookDecision OnInputReset(GestureEngine& e) {
    HookDecision d = OnHookLost(e, HookKind::Mouse);
    const HookDecision keys = OnHookLost(e, HookKind::Keyboard);
    if (d.postCount == 0 && keys.postCount > 0)
        Post(d, kMsgCancel, 0, 0); // one popup at most is open: one cancel ends it
    e.altHeld = e.shiftHeld = false;
    e.middleSwallowed = e.x1Swallowed = e.scopeKeySwallowed = false;
    e.physicalSeenDown = false;
    return d;
}

} // namespace mw

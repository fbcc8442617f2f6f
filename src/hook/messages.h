// The numbers of the messages the hook library (and the main window itself) posts to the main
// window. Defined here once, without windows.h, so that the gesture engine can name them too.
#pragma once

constexpr unsigned int kMsgOpenPopup = 50177;     // lParam 1: opened by the Alt+Tab replacement
constexpr unsigned int kMsgMoveSelection = 50178; // signed high word of wParam: < 0 next, > 0 previous
constexpr unsigned int kMsgChoose = 50179;        // act on the selected entry
constexpr unsigned int kMsgCancel = 50183;        // close the popup without action
// The middle button was clicked over the open gesture popup (pressed and released; the hook kept
// both from the window under the cursor). lParam: the cursor's screen position (x low, y high).
constexpr unsigned int kMsgMiddleClick = 50184;
// The flags of SetHookOptions: the middle click over the gesture popup is reported as
// kMsgMiddleClick instead of reaching the window under the cursor.
constexpr int kHookOptionMiddleClose = 0x1;
// The wheel was tilted while the gesture popup is open: wParam 1 right (this monitor), 0 left (all).
constexpr unsigned int kMsgTilt = 50185;
// The notification-area icon's callback (Shell_NotifyIcon's uCallbackMessage).
constexpr unsigned int kMsgTrayCallback = 50209;

// The numbers of the messages the hook library (and the main window itself) posts to the main
// window. Defined here once, without windows.h, so that the gesture engine can name them too.
#pragma once

// lParam 0: the gesture; 1: Alt+Tab; 2: Alt and the key above Tab, a list of the front
// window's program only.
constexpr unsigned int kMsgOpenPopup = 50177;
constexpr unsigned int kMsgMoveSelection = 50178; // signed high word of wParam: < 0 next, > 0 previous
constexpr unsigned int kMsgChoose = 50179;        // act on the selected entry
constexpr unsigned int kMsgCancel = 50183;        // close the popup without action
// The middle button was clicked over the open gesture popup (pressed and released; the hook kept
// both from the window under the cursor). lParam: the cursor's screen position (x low, y high).
constexpr unsigned int kMsgMiddleClick = 50184;
// The flags of SetHookOptions: the middle click over the gesture popup is reported as
// kMsgMiddleClick instead of reaching the window under the cursor.
constexpr int kHookOptionMiddleClose = 0x1;
// Alt and the key above Tab open the list of the front program's windows (with the Alt+Tab
// replacement on), and the back button (X1) during a gesture posts kMsgProgramScope.
constexpr int kHookOptionProgramScope = 0x2;
// The wheel was tilted while the gesture popup is open: wParam 1 right (this monitor), 0 left (all).
constexpr unsigned int kMsgTilt = 50185;
// Narrow the open list to the selected window's program, or widen it again to all windows: the
// back button (X1) during a gesture, or the key above Tab in a list that Alt+Tab opened.
constexpr unsigned int kMsgProgramScope = 50186;
// The notification-area icon's callback (Shell_NotifyIcon's uCallbackMessage).
constexpr unsigned int kMsgTrayCallback = 50209;

// The numbers of the messages the hook library (and the main window itself) posts to the main
// window. Defined here once, without windows.h, so that the gesture engine can name them too.
#pragma once

constexpr unsigned int kMsgOpenPopup = 50177;     // lParam 1: opened by the Alt+Tab replacement
constexpr unsigned int kMsgMoveSelection = 50178; // signed high word of wParam: < 0 next, > 0 previous
constexpr unsigned int kMsgChoose = 50179;        // act on the selected entry
constexpr unsigned int kMsgCancel = 50183;        // close the popup without action

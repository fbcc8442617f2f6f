// The ids of the main window's timers, one list so that no two share a number.
#pragma once

#include <windows.h>

namespace mw {

enum TimerId : UINT_PTR {
    kTimerStepForward = 1, // the cursor rests near the popup's lower edge: the selection steps on
    kTimerStepBack,        // near the upper edge: back
    kTimerRepositionGuard, // the mouse moves after the popup moved itself are ignored meanwhile
    kTimerHookRetry,       // the program tries StartMouseHook again after it refused
    kTimerTrayRetry,       // the tray icon is added again after a failed addition
    kTimerCloseCheck,      // a window a middle click asked to close is looked for
    kTimerWarmUp,          // once, the first time the loop is idle: the icon cache is filled
};

} // namespace mw

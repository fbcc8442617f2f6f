// The hook's health as the program sees it: the library's status messages (kMsgHookStatus), the tray
// icon that shows a missing hook, and the retries after StartMouseHook refused.
#pragma once

#include <windows.h>

#include "controller/timers.h"
#include "model/program_state.h"

namespace mw {

// The program's own retry after StartMouseHook refused (kTimerHookRetry); the delay grows with
// each failure.

// kMsgHookStatus: wParam lost / reinstalled / reinstall failed, lParam mouse or keyboard. Other values
// are ignored. Answers 0.
LRESULT OnHookStatus(ProgramState& program, HWND mainWindow, WPARAM status, LPARAM which);
// Shows the state on the tray icon and arms or stops the retry timer accordingly.
void RefreshHookTrouble(ProgramState& program, HWND mainWindow);
// True when the hook is missing for another reason than the tray's pause.
bool HookInTrouble(const ProgramState& program);
// Installs the hook again now (a click on the tray icon, the retry timer). A refusal asked for
// by the user (`byUser`) is told once per run.
bool RetryHookNow(ProgramState& program, HWND mainWindow, bool byUser);
// The retry timer; true when `id` was it.
bool OnHookRetryTimer(ProgramState& program, HWND mainWindow, UINT_PTR id);

} // namespace mw

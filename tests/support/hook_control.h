// Drives the test build of hook.dll (hook_testbench.dll): its control export, called in this
// process or, through a thread started in it, in a program that loaded the build as hook.dll.
#pragma once

#include <windows.h>

#include "hook/hook_test_control.h"

namespace mw::test {

// Calls the control export of the hook library loaded in `process` (as "hook.dll"); returns its
// answer, or kTestFailed when the library or the export cannot be reached.
DWORD ControlHookIn(HANDLE process, DWORD command);

} // namespace mw::test

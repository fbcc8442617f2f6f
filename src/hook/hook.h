// Public interface of hook.dll: the three exports and the messages it posts to the main window.
#pragma once

#include <windows.h>

#include "hook/messages.h"

// The state of a hook: wParam one of the kHookStatus values, lParam kHookMouse or kHookKeyboard.
constexpr UINT kMsgHookStatus = 50210;
constexpr WPARAM kHookStatusLost = 0;            // the system removed the hook without telling
constexpr WPARAM kHookStatusReinstalled = 1;     // it is back
constexpr WPARAM kHookStatusReinstallFailed = 2; // it could not be installed again; retried later
constexpr LPARAM kHookMouse = 1;
constexpr LPARAM kHookKeyboard = 2;

// The delay before the next attempt to install a hook that could not be installed: it grows
// with every failure, from one second to a minute. The library and the program both use it.
constexpr UINT HookRetryDelayMs(int failures) {
    UINT delay = 1000;
    for (int i = 0; i < failures && delay < 60000; ++i)
        delay *= 2;
    return delay < 60000 ? delay : 60000;
}

// Marker in dwExtraInfo of the input the library replays itself, so its own hook lets it pass.
constexpr ULONG_PTR kHookReplayMarker = 0x4D57484B; // "MWHK"

#ifdef MW_BUILDING_HOOK
#define MW_HOOK_API __declspec(dllexport)
#else
#define MW_HOOK_API
#endif

extern "C" {
// Installs (or reinstalls with new values) the mouse hook, and the keyboard hook when
// replaceAltTab is not 0. Returns non-zero when installed.
MW_HOOK_API int StartMouseHook(HWND window, int moveCancelPx, int replaceAltTab, int clickMode,
                               int rightButton, int permissibleRange, int timeOutMilliSeconds);
// Removes the hooks; returns the window given to the last StartMouseHook (null if none).
MW_HOOK_API HWND EndHook();
// Switches beside the values of StartMouseHook (kHookOption... flags, 0 for none, which is also
// what a library nobody called this on does). They take effect at the next mouse event and are
// kept across EndHook and StartMouseHook. Returns non-zero.
MW_HOOK_API int SetHookOptions(int options);
// The program shows an Alt+Tab list that stays open after Alt came up (open 1) or no longer
// does (open 0). While it is open, wheel notches anywhere move its selection (kMsgMoveSelection,
// one per 120 units added up) and never reach the window under the cursor. Kept across
// StartMouseHook; EndHook clears it. Returns non-zero.
MW_HOOK_API int SetAltTabListOpen(int open);
// When the gesture and the Alt+Tab replacement keep out of the way: quietInFullScreen not 0
// while a full-screen window is in front, and while a program of one of `programs` is in front
// (file names such as L"mstsc.exe", each ended by a null, the list ended by an empty name; null
// for none; compared without case). The library copies the list and judges the front window
// again before it returns. Kept across EndHook and StartMouseHook. Returns non-zero.
MW_HOOK_API int SetQuietRules(int quietInFullScreen, const wchar_t* programs);
}

using StartMouseHookFn = int (*)(HWND, int, int, int, int, int, int);
using EndHookFn = HWND (*)();
using SetHookOptionsFn = int (*)(int);
using SetAltTabListOpenFn = int (*)(int);
using SetQuietRulesFn = int (*)(int, const wchar_t*);

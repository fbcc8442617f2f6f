// The one export that only the test build of hook.dll (hook_testbench.dll, never shipped) has:
// it makes the library's hooks vanish the way Windows removes a slow hook, without the engine
// being told, and lets tests refuse installations and watch the library's thread.
#pragma once

#include <windows.h>

constexpr char kHookTestExport[] = "MwHookTestControl";

// Commands, as the thread parameter of the export (so another process can call it with
// CreateRemoteThread). The result is the thread's exit code.
constexpr DWORD kTestDropMouse = 0x1;       // unhook the mouse hook behind the engine's back
constexpr DWORD kTestDropKeyboard = 0x2;    // likewise the keyboard hook
constexpr DWORD kTestRefuseInstalls = 0x10; // every installation fails until allowed again
constexpr DWORD kTestAllowInstalls = 0x20;
// On the way to its park after an unload without EndHook, the library's thread takes the mutex
// kTestLockName, signals kTestLockTakenName and holds the mutex for longer than any fallback.
constexpr DWORD kTestHoldLockWhenUnloaded = 0x40;
constexpr DWORD kTestThreadPriority = 0x80;   // answers the priority of the hook thread + 100
constexpr DWORD kTestSwapButtons = 0x100;     // the library believes the buttons are swapped
constexpr DWORD kTestForegroundAbove = 0x400; // the front window counts as of higher integrity
constexpr DWORD kTestForegroundAsIs = 0x800;  // ... or as its token says
constexpr DWORD kTestFailed = 0xFFFFFFFF;

constexpr wchar_t kTestLockName[] = L"Local\\MistlewickHookTestLock";
constexpr wchar_t kTestLockTakenName[] = L"Local\\MistlewickHookTestLockTaken";
constexpr DWORD kTestLockHoldMs = 6000;

using HookTestControlFn = DWORD(WINAPI*)(LPVOID command);

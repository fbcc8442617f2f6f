// Test support shared by every layer: waiting with a deadline while pumping messages, real
// windows of given styles, real input through SendInput, and where the test binaries live.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace mw::test {

// Dispatches whatever is queued for this thread.
void Pump();
// Pumps this thread's messages until cond() holds or the deadline passes; returns cond().
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 5000);
// Pumps messages for the given time (for "nothing must happen" checks).
void PumpFor(DWORD ms);

// The folder of the running test executable (Mistlewick.exe and hook.dll lie beside it).
std::wstring BinDir();

// A real top-level window of the test process. It records every message it receives.
struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
HWND CreateTestWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, DWORD exStyle = 0,
                      HWND owner = nullptr, int x = 100, int y = 100, int width = 300, int height = 200);
std::vector<RecordedMessage>& RecordedMessages(HWND window);
void ClearRecordedMessages(HWND window);
int CountRecorded(HWND window, UINT message);

// Real input.
void MouseMoveTo(int x, int y); // an injected move, through the hooks
void PlaceCursor(int x, int y); // puts the cursor somewhere without an input event
void MouseButton(bool right, bool down);
void MouseWheel(int delta);
void MouseTilt(int delta);       // the horizontal wheel: > 0 right
void MouseBackButton(bool down); // X1
void KeyPress(WORD vk, bool down);
void KeyTap(WORD vk);

// Top-level windows of a process, optionally of one class.
std::vector<HWND> WindowsOfProcess(DWORD pid, const wchar_t* className = nullptr);
// A visible dialog-class window (a dialog or a message box) of process `pid` titled `title` (empty:
// any), waiting up to `timeoutMs` while pumping messages; null when none came.
HWND WaitVisibleDialog(DWORD pid, const std::wstring& title = std::wstring(), DWORD timeoutMs = 10000);

} // namespace mw::test

namespace mw::test {
// Whether the notification area holds icon 0 of this window (a modification succeeds only for
// an icon that exists).
bool TrayIconExists(HWND window);
// Copies a rectangle of the screen into build/artifacts/<name> as PNG.
bool SaveScreenPng(const RECT& area, const wchar_t* name);
} // namespace mw::test

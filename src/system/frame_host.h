// Store apps draw inside a frame that another process owns: the top-level window belongs to the
// frame host, and the app's own process owns a child window of a known class. The program of
// such a window is the app, not the host: that is what groups, filters and run-or-raise entries
// compare.
#pragma once

#include <windows.h>

#include <string>

namespace mw {

// The file name of the frame host's executable and the class of the app's own child window.
constexpr wchar_t kFrameHostProgram[] = L"ApplicationFrameHost.exe";
constexpr wchar_t kAppContentClass[] = L"Windows.UI.Core.CoreWindow";

// Whether `path` (a full path or a bare file name) names the frame host, letter case aside.
bool IsFrameHostProgram(const wchar_t* path);

// The window whose process is a top-level window's program: the app's content window when the
// top-level window belongs to the frame host (`framePath`, process `frameProcess`) and `content`
// is a content child owned by another process (`contentProcess`); otherwise `frame` itself.
HWND ProgramWindowOfFrame(HWND frame, const wchar_t* framePath, DWORD frameProcess, HWND content,
                          DWORD contentProcess);

// The first content child of `frame` that another process owns, with that process; null when
// there is none (a frame whose app is suspended or closing has none).
HWND ForeignContentWindow(HWND frame, DWORD* contentProcess);

// The app's identity (its AppUserModelID) as the window's property store tells it; empty when it
// has none.
std::wstring AppUserModelIdOfWindow(HWND window);

// The app's own picture at `pixels` x `pixels`, from its item in the shell's Apps folder; a new
// icon the caller owns, or null.
HICON AppsFolderIcon(const std::wstring& appUserModelId, int pixels);

} // namespace mw

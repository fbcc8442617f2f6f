// What start-up creates and everything after it shares: the instance, the main window, the
// preferences with their path, the start-up flags, the design and the three lists that live for
// the whole run, in one object.
#pragma once

#include <windows.h>
#include <dwmapi.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "model/item_list.h"
#include "platform/dpi.h"
#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "settings/design_file.h"
#include "settings/preferences.h"

namespace mw {

// What the library reported of one of its two hooks.
struct OneHookHealth {
    bool lost = false;    // the library is putting it back
    bool failing = false; // the library could not put it back and keeps trying
};

// What is known about the hook besides the tray's pause.
struct HookHealth {
    OneHookHealth mouse;
    OneHookHealth keyboard;
    bool refused = false; // StartMouseHook said no: the program tries again
    int attempts = 0;     // the program's attempts since it was refused
    bool told = false;    // the user has been told once this run
};

// Program paths remembered by process. A process's executable never changes while it runs, and
// reading it (opening the process and listing its modules) is the dearest step of building the
// list: without the memo every open asks each process again, once for the icon and once more for
// the arrangement. A process is known by its id and its creation time, so an id the system hands
// on to a new process never finds the old answer. At most Capacity processes are kept; the one
// remembered longest ago goes first.
// Asking a process for its creation time costs as much as three window questions, so one listing
// of the windows (a pass: the enumeration and the arrangement of one open) asks each process once:
// the windows of a pass all existed when it began, and a window lives no longer than its process,
// so an id checked in the pass still names the same process for the rest of it.
struct ProgramPathMemo {
    struct Entry {
        DWORD processId = 0;
        ULONGLONG created = 0;
        std::wstring path;
        unsigned checkedInPass = 0;
    };
    static constexpr size_t Capacity = 64;
    std::vector<Entry> entries; // oldest first
    unsigned pass = 0;          // the pass under way; 0: none, every lookup checks
    unsigned passes = 0;        // passes begun so far
};

// One pass of the memo, for as long as it lives.
struct ProgramPathPass {
    explicit ProgramPathPass(ProgramPathMemo& m) : memo(m) {
        memo.pass = ++memo.passes;
        if (memo.pass == 0)
            memo.pass = ++memo.passes; // 0 means none
    }
    ~ProgramPathPass() { memo.pass = 0; }
    ProgramPathPass(const ProgramPathPass&) = delete;
    ProgramPathPass& operator=(const ProgramPathPass&) = delete;
    ProgramPathMemo& memo;
};

// hook.dll's exports, once the library is loaded. `options` may be missing (a library older
// than the middle click): the hook then works without the options.
struct HookApi {
    int (*start)(HWND, int, int, int, int, int, int) = nullptr;
    HWND (*end)() = nullptr;
    int (*options)(int) = nullptr;
    // Optional too: without it the wheel reaches an Alt+Tab list that stays open only over it.
    int (*altTabListOpen)(int) = nullptr;
    // SetQuietRules; missing in a library older than the quiet rules, which then never stays quiet.
    int (*quietRules)(int, const wchar_t*) = nullptr;
};

// dwmapi's thumbnail functions, once the library is loaded.
struct ThumbnailApi {
    HRESULT(WINAPI* registerThumbnail)(HWND destination, HWND source, PHTHUMBNAIL id) = nullptr;
    HRESULT(WINAPI* updateProperties)(HTHUMBNAIL id, const DWM_THUMBNAIL_PROPERTIES* properties) = nullptr;
    HRESULT(WINAPI* unregisterThumbnail)(HTHUMBNAIL id) = nullptr;
    // The size of a registered thumbnail's source; optional (null: each box is filled).
    HRESULT(WINAPI* querySourceSize)(HTHUMBNAIL id, PSIZE size) = nullptr;
};

using HookMessageFn = void (*)(HWND owner, const wchar_t* text);
using ErrorMessageFn = void (*)(HWND owner, const std::wstring& text);
using NotifyIconFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
using TrackPopupMenuFn = BOOL(WINAPI*)(HMENU, UINT, int, int, int, HWND, const RECT*);
using CloakQuery = HRESULT(WINAPI*)(HWND window, DWORD attribute, void* value, DWORD size);

// The system pickers the launcher page and the property dialog open. Tests put scripted ones in
// place of those the desktop cannot drive; null: the system's own.
struct LauncherPickers {
    // The open-file dialog; true with the chosen path.
    bool (*chooseFile)(HWND owner, std::wstring& path) = nullptr;
    // The icon picker on a MAX_PATH buffer holding the icon file and on the icon index; true when
    // the user confirmed.
    bool (*pickIcon)(HWND owner, wchar_t* iconFile, int* iconIndex) = nullptr;
    // The folder picker; true with the chosen folder.
    bool (*chooseFolder)(HWND owner, std::wstring& folder) = nullptr;
};

// The system services the program reaches through function pointers, as one set: the functions
// of the libraries it loads, the error boxes, the notification area, the tray menu's tracking and
// the compositor's cloak query. A test hands in its own set (or members of it) in place of these
// defaults.
struct SystemServices {
    HookApi hook;
    DpiApi dpi; // null functions: every monitor and window has the system DPI
    ThumbnailApi thumbnails;
    HookMessageFn hookFailureMessage = [](HWND owner, const wchar_t* text) { ShowErrorBox(owner, text); };
    ErrorMessageFn optionsErrorMessage = ShowErrorBox;
    NotifyIconFn notifyIcon = Shell_NotifyIconW;
    TrackPopupMenuFn trackPopupMenu = TrackPopupMenu;
    CloakQuery cloakQuery = nullptr; // null: the system's own, looked up from dwmapi.dll
    LauncherPickers launcherPickers;
    // Where the program keeps things in the system, which tests point elsewhere; empty for the
    // real places: the user's Startup folder, and the registry key under HKEY_CURRENT_USER of the
    // record of windows the frame preview hid.
    std::wstring startupFolder;
    std::wstring hiddenWindowRecordKey;
};

// Start-up creates one for the run (inside the application object) and hands it on; tests build
// a fresh one in their fixture.
struct ProgramState {
    // The system's DPI functions are looked up at once, so a fresh state scales as the program
    // does; a test replaces services.dpi where it needs another DPI.
    ProgramState() { services.dpi = LookUpSystemDpiApi(shcore); }
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND optionsDialog = nullptr; // the open options dialog, while one is open
    std::wstring preferencesPath;
    Preferences preferences;
    StartupFlags flags;
    Design design; // as design.ini gives it, for 96 DPI
    std::unique_ptr<LauncherList> launcherList;
    std::unique_ptr<ItemList> commandList;
    std::unique_ptr<ItemList> savedWindowList;
    bool paused = false; // the tray's pause: the hook is removed
    // The size in pixels the launcher and command icons were loaded at: the design's icon size
    // at the DPI of the monitor they were last shown on; 0 for the design's size itself.
    int listIconSize = 0;
    HookHealth hook;
    // The window titles the user asked the popup to leave out, in the file's order.
    std::vector<std::wstring> excluded;
    // The program file names ("mstsc.exe") in front of which gestures and Alt+Tab stay quiet
    // (section "ExcludeProgram"), in the file's order.
    std::vector<std::wstring> excludedPrograms;
    ProgramPathMemo pathMemo;
    // The libraries loaded for the run, and the functions in use (the libraries first, so they
    // outlive the functions).
    UniqueModule hookLibrary;
    UniqueModule dwmapi;
    UniqueModule shcore;
    SystemServices services;
};

// The language of the program's texts, dialogs and menus: its preference "Language" resolved
// against the display language.
inline LANGID ProgramLanguage(const ProgramState& program) {
    return ResourceLanguage(program.preferences.Language);
}

// The size in pixels of the launcher and command icons of the run (designIconSize when they
// were loaded at the design's size).
int ListIconPixels(const ProgramState& program, int designIconSize);

} // namespace mw

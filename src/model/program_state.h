// What start-up creates and everything after it shares: the instance, the main window, the
// preferences path and the three lists that live for the whole run.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "model/item_list.h"

namespace mw {

// What is known about the hook besides the tray's pause.
struct HookHealth {
    bool lost[2] = {false, false};    // mouse, keyboard: the library is putting it back
    bool failing[2] = {false, false}; // the library could not put it back and keeps trying
    bool refused = false;             // StartMouseHook said no: the program tries again
    int attempts = 0;                 // the program's attempts since it was refused
    bool told = false;                // the user has been told once this run
};

struct ProgramState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    std::wstring preferencesPath;
    std::unique_ptr<LauncherList> launcherList;
    std::unique_ptr<ItemList> commandList;
    std::unique_ptr<ItemList> savedWindowList;
    bool paused = false; // the tray's pause: the hook is removed
    // The size in pixels the launcher and command icons were loaded at: the design's icon size
    // at the DPI of the monitor they were last shown on; 0 for the design's size itself.
    int listIconSize = 0;
    HookHealth hook;
};

ProgramState& Program();

// The size in pixels of the launcher and command icons of the run (designIconSize when they
// were loaded at the design's size).
int ListIconPixels(int designIconSize);

} // namespace mw

// What start-up creates and everything after it shares: the instance, the main window, the
// preferences path and the three lists that live for the whole run.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "model/item_list.h"

namespace mw {

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
};

ProgramState& Program();

// The size in pixels of the launcher and command icons of the run (designIconSize when they
// were loaded at the design's size).
int ListIconPixels(int designIconSize);

} // namespace mw

// What start-up creates and everything after it shares: the instance, the main window, the
// preferences with their path, the start-up flags, the design and the three lists that live for
// the whole run, in one object.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "model/item_list.h"
#include "settings/design_file.h"
#include "settings/preferences.h"

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
};

// The run's one program state. Tests start from a fresh record by assigning one (or the parts
// they use).
ProgramState& Program();

// Its parts, named as the rest of the program uses them.
inline Preferences& CurrentPreferences() {
    return Program().preferences;
}
inline StartupFlags& CurrentStartupFlags() {
    return Program().flags;
}
inline Design& CurrentDesign() {
    return Program().design;
}

// The size in pixels of the launcher and command icons of the run (designIconSize when they
// were loaded at the design's size).
int ListIconPixels(int designIconSize);

} // namespace mw

// The in-memory settings of the running program: the integers of the preferences file's
// section "Preference", named like their keys, and the start-up flags from the command line.
// The run's own copies live in the program state (model/program_state.h).
#pragma once

namespace mw {

struct Preferences {
    int RightButton = 0;
    int ClickMode = 0;
    int AdjustCursor = 0;
    int MoveWindow = 0;
    int ReplaceAltTab = 0;
    int PermissibleRange = 6;
    int TimeOutMilliSeconds = 500;
    int MoveCanselPx = 100;
    int ToCenter = 0;
    int ToggleDesktop = 1;
    int Cansel = 1;
    int CloseWnd = 0;
    int Altab7 = 0;
    int Altab7_Hide = 0;
    int ArrangeWindow = 1;
    int Language = 0;          // 0 follows the display language, 1 Japanese, 2 English
    int TypeToFilter = 1;      // typed letters narrow a stay-open popup's list
    int MiddleClose = 1;       // the middle button closes an entry's window while the popup is open
    int MonitorScope = 0;      // 1: every popup opens with the windows of its own monitor only
    int FollowTheme = 1;       // the popup follows the dark theme and high contrast of Windows
    int ProgramScopeKey = 1;   // Alt+` (and the back button in a gesture) lists one program's windows
    int QuietInFullScreen = 1; // gestures and Alt+Tab leave a full-screen program alone
};

// Set from the command line at start-up.
struct StartupFlags {
    bool NotResident = false;
    bool CursorCentring = true;
    bool LauncherOnly = false;
};

} // namespace mw

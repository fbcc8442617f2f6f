// The options dialog: a tab control with the Mouse, General, Program launcher and About pages
// and an OK button that only closes (every page applies and saves each change at once).
#pragma once

#include <windows.h>

#include <array>

namespace mw {

constexpr int kOptionsAllPages = 0;
constexpr int kOptionsLauncherOnly = 1;

// RunOptionsDialog's result when a dialog was already open and was brought to the front.
constexpr INT_PTR kOptionsAlreadyOpen = 1;

// Process-wide values of the open dialog; all null while it is closed.
struct OptionsDialogState {
    HWND dialog = nullptr;
    HWND tab = nullptr;
    std::array<HWND, 4> OptionPages{}; // Mouse, General, Program launcher, About
    HWND CurrentOptionPage = nullptr;
};
const OptionsDialogState& CurrentOptionsDialog();

// Slots of OptionPages.
constexpr int kSlotMouse = 0;
constexpr int kSlotGeneral = 1;
constexpr int kSlotLauncher = 2;
constexpr int kSlotAbout = 3;

// Shows the dialog modally. initialValue 0 shows every page, 1 the launcher page alone. Returns 0
// when OK closes it and -1 when it could not be created (the user is told). While a dialog is
// open, a second call brings that one to the front and returns kOptionsAlreadyOpen: the pages
// are process-wide and a second dialog would take them over.
INT_PTR RunOptionsDialog(HWND parent, int initialValue);

} // namespace mw

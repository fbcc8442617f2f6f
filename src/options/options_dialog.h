// The options dialog: a tab control with the Mouse, General, Program launcher and About pages
// and an OK button that only closes (every page applies and saves each change at once).
#pragma once

#include <windows.h>

#include <array>

#include "model/program_state.h"

namespace mw {

constexpr int kOptionsAllPages = 0;
constexpr int kOptionsLauncherOnly = 1;

// RunOptionsDialog's result when a dialog was already open and was brought to the front.
constexpr INT_PTR kOptionsAlreadyOpen = 1;

// Values of the open dialog; all null while it is closed.
struct OptionsDialogState {
    HWND dialog = nullptr;
    HWND tab = nullptr;
    std::array<HWND, 4> OptionPages{}; // Mouse, General, Program launcher, About
    HWND CurrentOptionPage = nullptr;
};
// The program's open dialog (ProgramState::optionsDialog), or a closed one.
const OptionsDialogState& CurrentOptionsDialog(const ProgramState& program);

// Slots of OptionPages.
constexpr int kSlotMouse = 0;
constexpr int kSlotGeneral = 1;
constexpr int kSlotLauncher = 2;
constexpr int kSlotAbout = 3;

// Shows the dialog modally. initialValue 0 shows every page, 1 the launcher page alone. Returns 0
// when OK closes it and -1 when it could not be created (the user is told). While a dialog is
// open, a second call brings that one to the front and returns kOptionsAlreadyOpen: two dialogs
// would change the same preferences and launcher list behind each other's backs.
INT_PTR RunOptionsDialog(ProgramState& program, HWND parent, int initialValue);

} // namespace mw

// The one application object: what start-up creates and owns for the whole run (the program's
// state with its preferences, lists, loaded libraries and system services) and the popup's state
// machine. The main window keeps it in GWLP_USERDATA (handed in as CreateWindowEx's lpParam); the
// options dialog and its pages get the program's state from it through their own parameters.
#pragma once

#include <windows.h>

#include "controller/popup_controller.h"
#include "model/program_state.h"

namespace mw {

struct Application {
    ProgramState program;
    ControllerState controller;
};

// The application a window of the program's main class was created with; null before
// WM_NCCREATE stored it.
Application* ApplicationOf(HWND window);

} // namespace mw

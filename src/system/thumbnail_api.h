// The compositor's thumbnail functions, looked up at run time: dwmapi.dll is absent on some
// systems, and tests substitute recorders for them.
#pragma once

#include <windows.h>
#include <dwmapi.h>

#include "model/program_state.h"

namespace mw {

// Loads dwmapi.dll into program.dwmapi and the three functions into program.services.thumbnails.
// False when the library or any of the functions is missing; then nothing stays loaded and the
// caller runs without thumbnails.
bool LoadThumbnailApi(ProgramState& program);
void UnloadThumbnailApi(ProgramState& program);

} // namespace mw

// The design file applied: the popup's design read from design.ini and the main window styled by
// it (the drop shadow on its window class, the constant opacity on the window, the corners it asks
// Windows 11 for).
#pragma once

#include <windows.h>

#include <string>

#include "view/design.h"

namespace mw {

// Fills `out` from the design file (every missing value gets its default) and styles the main
// window. With a null window only the values are read.
void LoadDesign(HWND mainWindow, const std::wstring& designPath, Design& out);

} // namespace mw

// The options dialog: Mouse, General, Program launcher and About pages.
#pragma once

#include <windows.h>

namespace mw {

// Shows the dialog modally. initialValue 0 shows every page, 1 the launcher page alone.
// Returns 0 when it closes.
INT_PTR RunOptionsDialog(HWND parent, int initialValue);

}  // namespace mw

// The look of the popup, read once at start-up from design.ini beside the executable, and its
// sizes for a monitor's DPI.
#pragma once

#include <windows.h>

#include <string>

#include "settings/design_file.h"

namespace mw {

// The design for a monitor of `dpi`: its sizes (window and item spaces, text widths, icon and
// thumbnail sizes), which design.ini gives for 96 DPI, in pixels of that DPI; colours and
// switches unchanged. A text width of 0 or less keeps its meaning (no fixed column). At 96 DPI the
// design itself, to the pixel.
Design DesignForDpi(const Design& design, UINT dpi);

} // namespace mw

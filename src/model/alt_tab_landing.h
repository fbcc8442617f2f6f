// Where the first Tab of Alt+Tab lands. Alt+Tab tapped quickly must switch to the window that was
// behind the front one, however the list grouped the windows by program, and with no such window
// it must leave the front window selected rather than reach the desktop entry or a launcher entry.
#pragma once

#include <windows.h>

#include <vector>

namespace mw {

// The listed window second in stacking order. `stacking`: the windows front first, as they were
// before the list was grouped; `listed`: the windows the list shows, in its order. The answer is
// an index into `listed`, or -1 when fewer than two listed windows are in `stacking`.
int SecondInStackingOrder(const std::vector<HWND>& stacking, const std::vector<HWND>& listed);

} // namespace mw

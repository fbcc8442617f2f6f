// A selection record with the given counts, selecting the first entry there is.
#pragma once

#include "model/selection.h"

namespace mw {

inline SelectionState Counts(int nW, int nL, int nC, int width = 200) {
    SelectionState s;
    s.windowCount = nW;
    s.launcherCount = nL;
    s.commandCount = nC;
    s.textColumnWidth = width;
    s.section = nW > 0 ? SectionWindows : nL > 0 ? SectionLauncher : SectionCommands;
    s.index = 0;
    return s;
}

} // namespace mw

#include "model/program_state.h"

namespace mw {

int ListIconPixels(const ProgramState& program, int designIconSize) {
    const int loaded = program.listIconSize;
    return loaded > 0 ? loaded : designIconSize;
}

} // namespace mw

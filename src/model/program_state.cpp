#include "model/program_state.h"

namespace mw {

ProgramState& Program() {
    static ProgramState state;
    return state;
}

int ListIconPixels(const ProgramState& program, int designIconSize) {
    const int loaded = program.listIconSize;
    return loaded > 0 ? loaded : designIconSize;
}

} // namespace mw

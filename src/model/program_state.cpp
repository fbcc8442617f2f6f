#include "model/program_state.h"

namespace mw {

ProgramState& Program() {
    static ProgramState state;
    return state;
}

int ListIconPixels(int designIconSize) {
    const int loaded = Program().listIconSize;
    return loaded > 0 ? loaded : designIconSize;
}

} // namespace mw

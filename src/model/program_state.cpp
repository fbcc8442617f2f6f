#include "model/program_state.h"

namespace mw {

ProgramState& Program() {
    static ProgramState state;
    return state;
}

} // namespace mw

#include "view/design.h"

namespace mw {

Design& CurrentDesign() {
    static Design design;
    return design;
}

} // namespace mw

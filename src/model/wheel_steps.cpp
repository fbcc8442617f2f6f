#include "model/wheel_steps.h"

namespace mw {

int TakeWheelNotches(int& remainder, int delta) {
    if (delta == 0)
        return 0;
    if (remainder != 0 && (delta > 0) != (remainder > 0))
        remainder = 0;
    remainder += delta;
    const int notches = remainder / kWheelNotch;
    remainder -= notches * kWheelNotch;
    return notches;
}

} // namespace mw

#include "model/alt_tab_landing.h"

#include <algorithm>

namespace mw {

int SecondInStackingOrder(const std::vector<HWND>& stacking, const std::vector<HWND>& listed) {
    bool frontSeen = false;
    for (HWND window : stacking) {
        const auto at = std::find(listed.begin(), listed.end(), window);
        if (at == listed.end())
            continue; // narrowed away, or left out of the list
        if (frontSeen)
            return static_cast<int>(at - listed.begin());
        frontSeen = true;
    }
    return -1;
}

} // namespace mw

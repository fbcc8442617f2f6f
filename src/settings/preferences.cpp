#include "settings/preferences.h"

namespace mw {

Preferences& CurrentPreferences() {
    static Preferences preferences;
    return preferences;
}

StartupFlags& CurrentStartupFlags() {
    static StartupFlags flags;
    return flags;
}

} // namespace mw

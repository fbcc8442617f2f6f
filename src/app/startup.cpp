#include "app/startup.h"

namespace mw {

int RunApplication(HINSTANCE, const wchar_t*) { return 0; }

}  // namespace mw

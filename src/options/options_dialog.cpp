#include "options/options_dialog.h"

namespace mw {

INT_PTR RunOptionsDialog(HWND parent, int) {
    // Interim until the option pages land: say so instead of doing nothing.
    MessageBoxW(parent, L"この版にはオプション画面がまだありません。", L"Mistlewick", MB_OK | MB_ICONINFORMATION);
    return 0;
}

}  // namespace mw

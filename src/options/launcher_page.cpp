#include "options/launcher_page.h"

namespace mw {

// An empty page that holds the launcher tab's place until the page with the entry list, its
// buttons and the property dialog replaces this file and template 159.
INT_PTR CALLBACK LauncherPageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace mw

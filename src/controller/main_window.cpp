#include "controller/main_window.h"

#include "controller/tray.h"
#include "model/preferences.h"
#include "model/program_state.h"

namespace mw {

namespace {

// Explorer broadcasts this after it restarts; every tray icon has to be added again.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

LRESULT OnDestroy() {
    PostQuitMessage(0);
    return 0;
}

LRESULT OnTaskbarCreated(HWND hwnd) {
    if (!CurrentStartupFlags().NotResident) AddTrayIcon(hwnd, Program().instance, Program().paused);
    return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: return OnDestroy();
    default:
        if (message == TaskbarCreatedMessage() && message != 0) return OnTaskbarCreated(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace mw

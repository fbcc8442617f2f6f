#include "controller/main_window.h"

#include "controller/hook_status.h"
#include "controller/middle_close.h"
#include "controller/popup_controller.h"
#include "controller/tray.h"
#include "controller/tray_menu.h"
#include "hook/hook.h"
#include "settings/preferences.h"
#include "model/program_state.h"

namespace mw {

namespace {

// Explorer broadcasts this after it restarts; every tray icon has to be added again.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

LRESULT OnDestroy() {
    // Never leave another program's window hidden or minimised behind us.
    RestoreWhatThePreviewHid();
    PostQuitMessage(0);
    return 0;
}

// The popup is the foreground window while it is open, so Alt+F4 reaches it, and the default
// handling would close the main window and end the program: there it cancels the popup. A plain
// WM_CLOSE (how other programs end a tray program) still ends it.
LRESULT OnSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if ((wParam & 0xFFF0) == SC_CLOSE && PopupIsOpen()) {
        PostMessageW(hwnd, kMsgCancel, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT OnTaskbarCreated(HWND hwnd) {
    if (!CurrentStartupFlags().NotResident)
        AddTrayIcon(hwnd, Program().instance, Program().paused);
    return 0;
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgOpenPopup:
        return OnOpenPopup(hwnd, lParam);
    case kMsgMoveSelection:
        return OnMoveSelection(hwnd, wParam);
    case kMsgChoose:
        return OnChoose(hwnd);
    case kMsgCancel:
        return OnCancel(hwnd);
    case WM_PAINT:
        return OnPaint(hwnd);
    case WM_ACTIVATEAPP:
        return OnActivateApp(hwnd, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(hwnd, wParam);
    case WM_CHAR:
        return OnChar(hwnd, wParam);
    case kMsgTilt:
        return OnTilt(hwnd, wParam);
    case WM_MOUSEHWHEEL:
        return OnHorizontalWheel(hwnd, wParam);
    case WM_TIMER:
        if (OnHookRetryTimer(hwnd, wParam) || OnTrayRetryTimer(hwnd, wParam) ||
            OnCloseCheckTimer(hwnd, wParam))
            return 0;
        return OnTimer(hwnd, wParam);
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
        return OnWheel(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(hwnd, lParam);
    case WM_LBUTTONUP:
        return OnLeftButtonUp(hwnd);
    case kMsgMiddleClick:
        return OnMiddleClick(hwnd);
    case WM_MBUTTONUP:
        return OnMiddleButtonUp(hwnd, lParam);
    case kMsgTrayCallback:
        return OnTrayCallback(hwnd, lParam);
    case kMsgHookStatus:
        return OnHookStatus(hwnd, wParam, lParam);
    case WM_COMMAND:
        if (OnTrayCommand(hwnd, LOWORD(wParam)))
            return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_DPICHANGED:
        // The popup is laid out for its monitor's DPI each time it opens and never moves to
        // another monitor while open; the size the system suggests would only undo ours.
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(hwnd, wParam, lParam);
    case WM_ENDSESSION:
        if (wParam)
            RestoreWhatThePreviewHid();
        return 0;
    case WM_DESTROY:
        return OnDestroy();
    default:
        if (message == TaskbarCreatedMessage() && message != 0)
            return OnTaskbarCreated(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace mw

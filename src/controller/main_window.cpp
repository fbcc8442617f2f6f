#include "controller/main_window.h"

#include "controller/application.h"
#include "controller/hook_status.h"
#include "controller/middle_close.h"
#include "controller/popup_controller.h"
#include "controller/popup_screen_reader.h"
#include "controller/tray.h"
#include "controller/tray_menu.h"
#include "controller/warm_up.h"
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

LRESULT OnDestroy(Application& app) {
    // Never leave another program's window hidden or minimised behind us.
    RestoreWhatThePreviewHid(app);
    PostQuitMessage(0);
    return 0;
}

// The popup is the foreground window while it is open, so Alt+F4 reaches it, and the default
// handling would close the main window and end the program: there it cancels the popup. A plain
// WM_CLOSE (how other programs end a tray program) still ends it.
LRESULT OnSysCommand(Application& app, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if ((wParam & 0xFFF0) == SC_CLOSE && PopupIsOpen(app)) {
        PostMessageW(hwnd, kMsgCancel, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT OnTaskbarCreated(ProgramState& program, HWND hwnd) {
    if (!program.flags.NotResident)
        AddTrayIcon(program, hwnd, program.instance, program.paused);
    return 0;
}

} // namespace

Application* ApplicationOf(HWND window) {
    return window ? reinterpret_cast<Application*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The application object start-up created, handed in as CreateWindowEx's lpParam.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Application* found = ApplicationOf(hwnd);
    if (!found)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    Application& app = *found;
    ProgramState& program = app.program;
    switch (message) {
    case kMsgOpenPopup:
        return OnOpenPopup(app, hwnd, lParam);
    case kMsgMoveSelection:
        return OnMoveSelection(app, hwnd, wParam);
    case kMsgChoose:
        return OnChoose(app, hwnd);
    case kMsgCancel:
        return OnCancel(app, hwnd);
    case WM_PAINT:
        return OnPaint(app, hwnd);
    case WM_ACTIVATEAPP:
        return OnActivateApp(app, hwnd, wParam);
    case WM_ACTIVATE:
        OnActivate(app, hwnd, wParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
        if (OnProgramScopeKey(app, hwnd, wParam, lParam))
            return 0;
        return OnKeyDown(app, hwnd, wParam);
    case kMsgProgramScope:
        return OnProgramScope(app, hwnd);
    case WM_GETOBJECT:
        return OnGetObject(app, hwnd, wParam, lParam);
    case WM_CHAR:
        return OnChar(app, hwnd, wParam);
    case kMsgTilt:
        return OnTilt(app, hwnd, wParam);
    case WM_MOUSEHWHEEL:
        return OnHorizontalWheel(app, hwnd, wParam);
    case WM_TIMER:
        if (OnHookRetryTimer(program, hwnd, wParam) || OnTrayRetryTimer(program, hwnd, wParam) ||
            OnCloseCheckTimer(app, hwnd, wParam) || OnWarmUpTimer(app, hwnd, wParam))
            return 0;
        return OnTimer(app, hwnd, wParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(app, hwnd, wParam, lParam);
    case WM_VSCROLL:
        return OnWheel(app, hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(app, hwnd, lParam);
    case WM_LBUTTONUP:
        return OnLeftButtonUp(app, hwnd);
    case kMsgMiddleClick:
        return OnMiddleClick(app, hwnd);
    case WM_MBUTTONUP:
        return OnMiddleButtonUp(app, hwnd, lParam);
    case kMsgTrayCallback:
        return OnTrayCallback(program, hwnd, lParam);
    case kMsgHookStatus:
        return OnHookStatus(program, hwnd, wParam, lParam);
    case WM_COMMAND:
        if (OnTrayCommand(program, hwnd, LOWORD(wParam)))
            return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_DPICHANGED:
        // The popup is laid out for its monitor's DPI each time it opens and never moves to
        // another monitor while open; the size the system suggests would only undo ours.
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(app, hwnd, wParam, lParam);
    case WM_ENDSESSION:
        if (wParam)
            RestoreWhatThePreviewHid(app);
        return 0;
    case WM_DESTROY:
        return OnDestroy(app);
    default:
        if (message == TaskbarCreatedMessage() && message != 0)
            return OnTaskbarCreated(program, hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace mw

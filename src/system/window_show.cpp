#include "system/window_show.h"

#include "platform/log.h"

namespace mw {

bool ShowWindowWithoutWaiting(HWND window, int command) {
    if (!window)
        return false;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0)
        return false; // gone
    if (thread == GetCurrentThreadId()) {
        // Ours: nobody to wait for, and the change is done before the caller goes on.
        ShowWindow(window, command);
        return true;
    }
    if (!ShowWindowAsync(window, command)) {
        Log(L"window %p: show command %d could not be handed over (error %lu)", static_cast<void*>(window),
            command, GetLastError());
        return false;
    }
    return true;
}

bool RestoreWindowWithoutWaiting(HWND window) {
    return ShowWindowWithoutWaiting(window, SW_RESTORE);
}

bool MinimiseWindowWithoutWaiting(HWND window) {
    return ShowWindowWithoutWaiting(window, SW_MINIMIZE);
}

} // namespace mw

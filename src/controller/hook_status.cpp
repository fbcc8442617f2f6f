#include "controller/hook_status.h"

#include "controller/tray.h"
#include "hook/hook.h"
#include "model/hook_client.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "platform/log.h"

namespace mw {

bool HookInTrouble() {
    const HookHealth& h = Program().hook;
    return h.refused || h.failing[0] || h.failing[1];
}

void RefreshHookTrouble(HWND mainWindow) {
    const HookHealth& h = Program().hook;
    if (h.refused && !Program().paused)
        SetTimer(mainWindow, kTimerHookRetry, HookRetryDelayMs(h.attempts), nullptr);
    else
        KillTimer(mainWindow, kTimerHookRetry);
    UpdateTrayIcon(mainWindow, Program().instance);
}

LRESULT OnHookStatus(HWND mainWindow, WPARAM status, LPARAM which) {
    if ((which != kHookMouse && which != kHookKeyboard) || Program().paused)
        return 0;
    const int i = which == kHookMouse ? 0 : 1;
    HookHealth& h = Program().hook;
    static constexpr const wchar_t* kWhat[] = {L"lost (removed by the system)", L"reinstalled",
                                               L"could not be reinstalled; hook.dll retries"};
    if (status <= kHookStatusReinstallFailed)
        Log(L"%ls hook %ls", i == 0 ? L"mouse" : L"keyboard", kWhat[status]);
    switch (status) {
    case kHookStatusLost:
        h.lost[i] = true;
        break;
    case kHookStatusReinstalled:
        h.lost[i] = h.failing[i] = false;
        break;
    case kHookStatusReinstallFailed:
        h.lost[i] = false;
        if (!h.refused) // the library keeps trying by itself
            h.failing[i] = true;
        break;
    default:
        return 0;
    }
    RefreshHookTrouble(mainWindow);
    return 0;
}

bool RetryHookNow(HWND mainWindow, bool byUser) {
    RemoveMouseHook();
    const bool ok = InstallMouseHook(mainWindow, CurrentPreferences()) != 0;
    Log(L"hook retry%ls: %ls", byUser ? L" (tray click)" : L"", ok ? L"installed" : L"refused");
    if (ok) {
        NoteHookInstalled();
    } else {
        HookHealth& h = Program().hook;
        h.failing[0] = h.failing[1] = h.lost[0] = h.lost[1] = false;
        if (byUser)
            NoteHookRefused(mainWindow);
        else
            h.refused = true;
    }
    RefreshHookTrouble(mainWindow);
    return ok;
}

bool OnHookRetryTimer(HWND mainWindow, UINT_PTR id) {
    if (id != kTimerHookRetry)
        return false;
    KillTimer(mainWindow, kTimerHookRetry);
    if (Program().hook.refused && !Program().paused) {
        ++Program().hook.attempts;
        RetryHookNow(mainWindow, false);
    }
    return true;
}

} // namespace mw

#include "controller/hook_status.h"

#include "controller/tray.h"
#include "hook/hook.h"
#include "system/hook_client.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "platform/log.h"

namespace mw {

bool HookInTrouble(const ProgramState& program) {
    const HookHealth& h = program.hook;
    return h.refused || h.mouse.failing || h.keyboard.failing;
}

void RefreshHookTrouble(ProgramState& program, HWND mainWindow) {
    const HookHealth& h = program.hook;
    if (h.refused && !program.paused)
        SetTimer(mainWindow, kTimerHookRetry, HookRetryDelayMs(h.attempts), nullptr);
    else
        KillTimer(mainWindow, kTimerHookRetry);
    UpdateTrayIcon(program, mainWindow, program.instance);
}

LRESULT OnHookStatus(ProgramState& program, HWND mainWindow, WPARAM status, LPARAM which) {
    if ((which != kHookMouse && which != kHookKeyboard) || program.paused)
        return 0;
    HookHealth& h = program.hook;
    OneHookHealth& hook = which == kHookMouse ? h.mouse : h.keyboard;
    static constexpr const wchar_t* kWhat[] = {L"lost (removed by the system)", L"reinstalled",
                                               L"could not be reinstalled; hook.dll retries"};
    if (status <= kHookStatusReinstallFailed)
        Log(L"%ls hook %ls", which == kHookMouse ? L"mouse" : L"keyboard", kWhat[status]);
    switch (status) {
    case kHookStatusLost:
        hook.lost = true;
        break;
    case kHookStatusReinstalled:
        hook.lost = hook.failing = false;
        break;
    case kHookStatusReinstallFailed:
        hook.lost = false;
        if (!h.refused) // the library keeps trying by itself
            hook.failing = true;
        break;
    default:
        return 0;
    }
    RefreshHookTrouble(program, mainWindow);
    return 0;
}

bool RetryHookNow(ProgramState& program, HWND mainWindow, bool byUser) {
    RemoveMouseHook(program);
    const bool ok = InstallMouseHook(program, mainWindow, program.preferences) != 0;
    Log(L"hook retry%ls: %ls", byUser ? L" (tray click)" : L"", ok ? L"installed" : L"refused");
    if (ok) {
        NoteHookInstalled(program);
    } else {
        HookHealth& h = program.hook;
        h.mouse = h.keyboard = OneHookHealth{};
        if (byUser)
            NoteHookRefused(program, mainWindow);
        else
            h.refused = true;
    }
    RefreshHookTrouble(program, mainWindow);
    return ok;
}

bool OnHookRetryTimer(ProgramState& program, HWND mainWindow, UINT_PTR id) {
    if (id != kTimerHookRetry)
        return false;
    KillTimer(mainWindow, kTimerHookRetry);
    if (program.hook.refused && !program.paused) {
        ++program.hook.attempts;
        RetryHookNow(program, mainWindow, false);
    }
    return true;
}

} // namespace mw

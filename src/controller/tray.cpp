#include "controller/tray.h"

#include <shellapi.h>

#include "platform/log.h"
#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

namespace {

NOTIFYICONDATAW BaseRecord(HWND mainWindow) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow;
    data.uID = 0;
    return data;
}

HICON LoadTrayIcon(HINSTANCE instance, bool paused) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(paused ? IDI_PAUSED : IDI_APP),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), 0));
}

// The whole record of the icon as the state shows it.
bool Notify(const SystemServices& services, DWORD message, HWND mainWindow, HINSTANCE instance,
            const TrayLook& look, UINT flags) {
    NOTIFYICONDATAW data = BaseRecord(mainWindow);
    data.uFlags = flags;
    data.uCallbackMessage = kMsgTrayCallback;
    UniqueIcon icon(LoadTrayIcon(instance, look.pausedPicture));
    data.hIcon = icon.get();
    lstrcpynW(data.szTip, look.tip.c_str(), ARRAYSIZE(data.szTip));
    return services.notifyIcon(message, &data) != FALSE;
}

constexpr UINT kFullRecord = NIF_MESSAGE | NIF_ICON | NIF_TIP;

} // namespace

TrayLook TrayLookFor(LANGID language, bool paused, const HookHealth& health) {
    TrayLook look;
    look.tip = LoadText(language, IDS_TRAY_TIP);
    if (paused) {
        look.pausedPicture = true;
        return look;
    }
    const bool mouse = health.refused || health.mouse.failing;
    const bool keys = health.keyboard.failing;
    if (mouse || keys) {
        look.pausedPicture = true;
        look.tip = LoadText(language, mouse ? IDS_TIP_MOUSE_HOOK_MISSING : IDS_TIP_KEYBOARD_HOOK_MISSING);
    } else if (health.mouse.lost || health.keyboard.lost) {
        look.tip = LoadText(language, IDS_TIP_HOOK_REINSTALLING);
    }
    return look;
}

bool LetTrayMessagesThrough(HWND mainWindow) {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    bool allowed = true;
    for (UINT message : {taskbarCreated, kMsgTrayCallback}) {
        if (message != 0 && !ChangeWindowMessageFilterEx(mainWindow, message, MSGFLT_ALLOW, nullptr)) {
            LogError(L"Letting tray messages through to the main window", GetLastError());
            allowed = false;
        }
    }
    return allowed;
}

bool AddTrayIcon(ProgramState& program, HWND mainWindow, HINSTANCE instance, bool paused) {
    const bool added = Notify(program.services, NIM_ADD, mainWindow, instance,
                              TrayLookFor(ProgramLanguage(program), paused, program.hook), kFullRecord);
    if (added)
        KillTimer(mainWindow, kTimerTrayRetry);
    else
        SetTimer(mainWindow, kTimerTrayRetry, kTrayRetryMilliseconds, nullptr);
    return added;
}

bool RemoveTrayIcon(ProgramState& program, HWND mainWindow) {
    KillTimer(mainWindow, kTimerTrayRetry);
    NOTIFYICONDATAW data = BaseRecord(mainWindow);
    data.uFlags = NIF_ICON;
    return program.services.notifyIcon(NIM_DELETE, &data) != FALSE;
}

bool UpdateTrayIcon(ProgramState& program, HWND mainWindow, HINSTANCE instance) {
    return Notify(program.services, NIM_MODIFY, mainWindow, instance,
                  TrayLookFor(ProgramLanguage(program), program.paused, program.hook), NIF_ICON | NIF_TIP);
}

bool OnTrayRetryTimer(ProgramState& program, HWND mainWindow, UINT_PTR id) {
    if (id != kTimerTrayRetry)
        return false;
    const TrayLook look = TrayLookFor(ProgramLanguage(program), program.paused, program.hook);
    if (Notify(program.services, NIM_MODIFY, mainWindow, program.instance, look, kFullRecord) ||
        Notify(program.services, NIM_ADD, mainWindow, program.instance, look, kFullRecord)) {
        Log(L"tray icon added on a retry");
        KillTimer(mainWindow, kTimerTrayRetry);
    }
    return true;
}

} // namespace mw

#include "model/hook_client.h"

#include "hook/hook.h"
#include "platform/log.h"
#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

std::wstring HookRefusedText() {
    return LoadText(IDS_HOOK_REFUSED);
}

HookMessageFn& HookFailureMessage() {
    return Program().services.hookFailureMessage;
}

std::array<int, 6> HookArguments(const Preferences& p) {
    return {p.ClickMode ? 0 : p.MoveCanselPx,
            p.ReplaceAltTab,
            p.ClickMode,
            p.RightButton,
            p.PermissibleRange,
            p.TimeOutMilliSeconds};
}

int HookOptionFlags(const Preferences& p) {
    return p.MiddleClose ? kHookOptionMiddleClose : 0;
}

HookApi& CurrentHookApi() {
    return Program().services.hook;
}

bool LoadHookLibrary(const std::wstring& folder) {
    if (!Program().hookLibrary) {
        Program().hookLibrary.reset(
            LoadLibraryExW((folder + L"hook.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    }
    if (!Program().hookLibrary)
        return false;
    HookApi& api = CurrentHookApi();
    api.start = reinterpret_cast<decltype(api.start)>(
        reinterpret_cast<void*>(GetProcAddress(Program().hookLibrary.get(), "StartMouseHook")));
    api.end = reinterpret_cast<decltype(api.end)>(
        reinterpret_cast<void*>(GetProcAddress(Program().hookLibrary.get(), "EndHook")));
    if (!api.start || !api.end) {
        api = HookApi{};
        Program().hookLibrary.reset();
        return false;
    }
    api.options = reinterpret_cast<decltype(api.options)>(
        reinterpret_cast<void*>(GetProcAddress(Program().hookLibrary.get(), "SetHookOptions")));
    if (!api.options)
        Log(L"hook.dll has no SetHookOptions: the middle click over the popup stays the window's");
    return true;
}

void UnloadHookLibrary() {
    if (Program().hookLibrary) {
        CurrentHookApi() = HookApi{};
        Program().hookLibrary.reset();
    }
}

int InstallMouseHook(HWND window, const Preferences& prefs) {
    HookApi& api = CurrentHookApi();
    if (!api.start)
        return 0;
    // The options first, so the new hook never sees an event with the old ones.
    if (api.options)
        api.options(HookOptionFlags(prefs));
    const auto a = HookArguments(prefs);
    return api.start(window, a[0], a[1], a[2], a[3], a[4], a[5]);
}

HWND RemoveMouseHook() {
    HookApi& api = CurrentHookApi();
    return api.end ? api.end() : nullptr;
}

bool ReinstallMouseHook(const Preferences& prefs, bool paused) {
    if (paused)
        return true;
    HWND window = RemoveMouseHook();
    if (InstallMouseHook(window, prefs) != 0) {
        NoteHookInstalled();
        return true;
    }
    NoteHookRefused(window ? window : Program().mainWindow);
    return false;
}

void NoteHookInstalled() {
    HookHealth& health = Program().hook;
    const bool troubled = health.refused || health.failing[0] || health.failing[1];
    const bool told = health.told;
    health = HookHealth{};
    health.told = told;
    // The tray icon still shows the trouble: let the main window bring it up to date.
    if (troubled && Program().mainWindow)
        PostMessageW(Program().mainWindow, kMsgHookStatus, kHookStatusReinstalled, kHookMouse);
}

void NoteHookRefused(HWND mainWindow) {
    HookHealth& health = Program().hook;
    health.refused = true;
    if (mainWindow)
        PostMessageW(mainWindow, kMsgHookStatus, kHookStatusReinstallFailed, kHookMouse);
    if (health.told)
        return;
    health.told = true;
    // Over whatever window of ours is active (the options dialog), else free-standing.
    if (HookFailureMessage())
        HookFailureMessage()(GetActiveWindow(), HookRefusedText().c_str());
}

} // namespace mw

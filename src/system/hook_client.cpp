#include "system/hook_client.h"

#include "hook/hook.h"
#include "platform/log.h"
#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

std::wstring HookRefusedText(LANGID language) {
    return LoadText(language, IDS_HOOK_REFUSED);
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
    return (p.MiddleClose ? kHookOptionMiddleClose : 0) | (p.ProgramScopeKey ? kHookOptionProgramScope : 0);
}

std::wstring QuietProgramList(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names) {
        // An empty name would end the list early; one with a null in it would split in two.
        if (name.empty() || name.find(L'\0') != std::wstring::npos)
            continue;
        list += name;
        list.push_back(L'\0');
    }
    return list; // c_str() adds the empty name that ends it
}

bool LoadHookLibrary(ProgramState& program, const std::wstring& folder) {
    if (!program.hookLibrary) {
        program.hookLibrary.reset(
            LoadLibraryExW((folder + L"hook.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    }
    if (!program.hookLibrary)
        return false;
    HookApi& api = program.services.hook;
    api.start = reinterpret_cast<decltype(api.start)>(
        reinterpret_cast<void*>(GetProcAddress(program.hookLibrary.get(), "StartMouseHook")));
    api.end = reinterpret_cast<decltype(api.end)>(
        reinterpret_cast<void*>(GetProcAddress(program.hookLibrary.get(), "EndHook")));
    if (!api.start || !api.end) {
        api = HookApi{};
        program.hookLibrary.reset();
        return false;
    }
    api.options = reinterpret_cast<decltype(api.options)>(
        reinterpret_cast<void*>(GetProcAddress(program.hookLibrary.get(), "SetHookOptions")));
    if (!api.options)
        Log(L"hook.dll has no SetHookOptions: the middle click over the popup stays the window's");
    api.altTabListOpen = reinterpret_cast<decltype(api.altTabListOpen)>(
        reinterpret_cast<void*>(GetProcAddress(program.hookLibrary.get(), "SetAltTabListOpen")));
    if (!api.altTabListOpen)
        Log(L"hook.dll has no SetAltTabListOpen: the wheel steps an Alt+Tab list only over it");
    api.quietRules = reinterpret_cast<decltype(api.quietRules)>(
        reinterpret_cast<void*>(GetProcAddress(program.hookLibrary.get(), "SetQuietRules")));
    if (!api.quietRules)
        Log(L"hook.dll has no SetQuietRules: gestures and Alt+Tab act in front of every program");
    return true;
}

bool TellHookAltTabListOpen(const ProgramState& program, bool open) {
    const HookApi& api = program.services.hook;
    if (!api.altTabListOpen)
        return false;
    api.altTabListOpen(open ? 1 : 0);
    return true;
}

void UnloadHookLibrary(ProgramState& program) {
    if (program.hookLibrary) {
        program.services.hook = HookApi{};
        program.hookLibrary.reset();
    }
}

int InstallMouseHook(const ProgramState& program, HWND window, const Preferences& prefs) {
    const HookApi& api = program.services.hook;
    if (!api.start)
        return 0;
    // The options and the quiet rules first, so the new hook never sees an event with the old
    // ones. Every change of the rules reinstalls the hook, so this is also where they are handed
    // over after a change.
    if (api.options)
        api.options(HookOptionFlags(prefs));
    if (api.quietRules) {
        const std::wstring programs = QuietProgramList(program.excludedPrograms);
        api.quietRules(prefs.QuietInFullScreen, programs.c_str());
    }
    const auto a = HookArguments(prefs);
    return api.start(window, a[0], a[1], a[2], a[3], a[4], a[5]);
}

HWND RemoveMouseHook(const ProgramState& program) {
    const HookApi& api = program.services.hook;
    return api.end ? api.end() : nullptr;
}

bool ReinstallMouseHook(ProgramState& program) {
    if (program.paused)
        return true;
    HWND window = RemoveMouseHook(program);
    if (InstallMouseHook(program, window, program.preferences) != 0) {
        NoteHookInstalled(program);
        return true;
    }
    NoteHookRefused(program, window ? window : program.mainWindow);
    return false;
}

void NoteHookInstalled(ProgramState& program) {
    HookHealth& health = program.hook;
    const bool troubled = health.refused || health.mouse.failing || health.keyboard.failing;
    const bool told = health.told;
    health = HookHealth{};
    health.told = told;
    // The tray icon still shows the trouble: let the main window bring it up to date.
    if (troubled && program.mainWindow)
        PostMessageW(program.mainWindow, kMsgHookStatus, kHookStatusReinstalled, kHookMouse);
}

void NoteHookRefused(ProgramState& program, HWND mainWindow) {
    HookHealth& health = program.hook;
    health.refused = true;
    if (mainWindow)
        PostMessageW(mainWindow, kMsgHookStatus, kHookStatusReinstallFailed, kHookMouse);
    if (health.told)
        return;
    health.told = true;
    // Over whatever window of ours is active (the options dialog), else free-standing.
    if (program.services.hookFailureMessage)
        program.services.hookFailureMessage(GetActiveWindow(),
                                            HookRefusedText(ProgramLanguage(program)).c_str());
}

} // namespace mw

#include "options/option_settings.h"

#include "settings/preferences_file.h"
#include "system/hook_client.h"
#include "model/list_building.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "platform/resources_lang.h"
#include "resource.h"
#include "view/design.h"

namespace mw {

OptionsSession* SessionOf(HWND window) {
    return window ? reinterpret_cast<OptionsSession*>(GetWindowLongPtrW(window, DWLP_USER)) : nullptr;
}

OptionsSession* KeepSession(HWND window, LPARAM session) {
    SetWindowLongPtrW(window, DWLP_USER, session);
    return reinterpret_cast<OptionsSession*>(session);
}

void ShowOptionsError(const ProgramState& program, HWND owner, const std::wstring& text) {
    if (program.services.optionsErrorMessage)
        program.services.optionsErrorMessage(owner, text);
}

std::wstring WriteFailureText(LANGID language, const std::wstring& path) {
    return FormatText(language, IDS_WRITE_FAILED, {path});
}

int PreferenceValue(const Preferences& prefs, PreferenceId id) {
    return prefs.*PreferenceEntry(id).field;
}

void RefreshDependents(ProgramState& program, Refresh refresh) {
    switch (refresh) {
    case Refresh::Nothing:
        break;
    case Refresh::MouseHook:
        ReinstallMouseHook(program);
        break;
    case Refresh::Language: // every text loaded from now on follows the preference
        [[fallthrough]];
    case Refresh::CommandList:
        if (program.commandList) {
            BuildCommandList(*program.commandList, program.preferences, program.flags.LauncherOnly,
                             ListIconPixels(program, program.design.iconSize), program.instance);
        }
        break;
    }
}

void ApplyPreference(OptionsSession& session, HWND page, PreferenceId id, int value) {
    const PreferenceKey& entry = PreferenceEntry(id);
    session.program.preferences.*entry.field = value;
    const bool written = WritePreference(session.program.preferencesPath, id, value);
    RefreshDependents(session.program, entry.refresh);
    if (!written)
        ReportFailedWrite(session, page);
}

void ReportFailedWrite(OptionsSession& session, HWND page) {
    if (session.writeFailureReported)
        return;
    session.writeFailureReported = true;
    HWND owner = page ? GetAncestor(page, GA_ROOT) : nullptr;
    ShowOptionsError(session.program, owner,
                     WriteFailureText(ProgramLanguage(session.program), session.program.preferencesPath));
}

} // namespace mw

#include "options/option_settings.h"

#include "settings/preferences_file.h"
#include "model/hook_client.h"
#include "model/list_building.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "platform/resources_lang.h"
#include "resource.h"
#include "view/design.h"

namespace mw {

namespace {

bool g_writeFailureReported = false;

} // namespace

ErrorMessageFn& OptionsErrorMessage() {
    return Program().services.optionsErrorMessage;
}

void ShowOptionsError(HWND owner, const std::wstring& text) {
    if (OptionsErrorMessage())
        OptionsErrorMessage()(owner, text);
}

void BeginOptionsSession() {
    g_writeFailureReported = false;
}

std::wstring WriteFailureText(const std::wstring& path) {
    return FormatText(IDS_WRITE_FAILED, {path});
}

int PreferenceValue(PreferenceId id) {
    return CurrentPreferences().*PreferenceEntry(id).field;
}

void RefreshDependents(Refresh refresh) {
    switch (refresh) {
    case Refresh::Nothing:
        break;
    case Refresh::MouseHook:
        ReinstallMouseHook(CurrentPreferences(), Program().paused);
        break;
    case Refresh::Language:
        SetLanguageSetting(CurrentPreferences().Language);
        [[fallthrough]];
    case Refresh::CommandList:
        if (Program().commandList) {
            BuildCommandList(*Program().commandList, CurrentPreferences(), CurrentStartupFlags().LauncherOnly,
                             ListIconPixels(CurrentDesign().iconSize), Program().instance);
        }
        break;
    }
}

void ApplyPreference(HWND page, PreferenceId id, int value) {
    const PreferenceKey& entry = PreferenceEntry(id);
    CurrentPreferences().*entry.field = value;
    const bool written = WritePreference(Program().preferencesPath, id, value);
    RefreshDependents(entry.refresh);
    if (!written)
        ReportFailedWrite(page);
}

void ReportFailedWrite(HWND page) {
    if (g_writeFailureReported)
        return;
    g_writeFailureReported = true;
    HWND owner = page ? GetAncestor(page, GA_ROOT) : nullptr;
    ShowOptionsError(owner, WriteFailureText(Program().preferencesPath));
}

} // namespace mw

// What every options page does with a change: set the Preferences field, write its key to the
// preferences file and refresh what depends on it, in one step. A write that does not reach the
// file is told to the user once per opening of the options dialog; the new value stays in use.
#pragma once

#include <windows.h>

#include <string>

#include "model/program_state.h"
#include "settings/preferences_file.h"

namespace mw {

// Sets the preference's field to value, writes its key and refreshes what the table says depends
// on it. The hook is reinstalled only while the tray's pause is off; during a pause the new values
// are used when the pause ends. `page` owns any message box.
void ApplyPreference(HWND page, PreferenceId id, int value);

// The current value of a preference.
int PreferenceValue(PreferenceId id);

// Reinstalls the hook (respecting the pause) or rebuilds the command list.
void RefreshDependents(Refresh refresh);

// Starts a new opening of the options dialog: the next failed write is reported again.
void BeginOptionsSession();

// Tells the user that a write to the preferences file failed, once per opening of the dialog:
// a drag of the slider or a long list of rewrites must not raise a box for every step.
void ReportFailedWrite(HWND page);

// The text of the message about a failed write, naming the file.
std::wstring WriteFailureText(const std::wstring& path);

// Shows an error message box (caption "Mistlewick", error icon). Tests substitute a recorder.
ErrorMessageFn& OptionsErrorMessage();
void ShowOptionsError(HWND owner, const std::wstring& text);

} // namespace mw

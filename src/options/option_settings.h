// What every options page does with a change: set the Preferences field, write its key to the
// preferences file and refresh what depends on it, in one step. A write that does not reach the
// file is told to the user once per opening of the options dialog; the new value stays in use.
#pragma once

#include <windows.h>

#include <string>

#include "model/program_state.h"
#include "options/launcher_page.h"
#include "settings/preferences_file.h"

namespace mw {

// What one opening of the options dialog shares between the dialog, its pages and the property
// dialog: the program it changes and the state of the opening. Each of these windows keeps it in
// DWLP_USER (handed in as WM_INITDIALOG's lParam).
struct OptionsSession {
    explicit OptionsSession(ProgramState& state) : program(state) {}
    ProgramState& program;
    bool writeFailureReported = false; // a failed write has been told in this opening
    // The launcher page: the stored "cnt" and how many entries the file holds beyond the full
    // list, as seen when the page opened. While there are such entries, nothing may add or
    // remove: adding would overwrite number 51, and removing would lower "cnt" below them and cut
    // them off.
    int storedLauncherCount = 0;
    int hiddenStoredEntries = 0;
    PropertyDialogState property; // the open property dialog's values
};

// The session an options window keeps; null before WM_INITDIALOG stored it.
OptionsSession* SessionOf(HWND window);
// Stores WM_INITDIALOG's lParam as the window's session and returns it.
OptionsSession* KeepSession(HWND window, LPARAM session);

// Sets the preference's field to value, writes its key and refreshes what the table says depends
// on it. The hook is reinstalled only while the tray's pause is off; during a pause the new values
// are used when the pause ends. `page` owns any message box.
void ApplyPreference(OptionsSession& session, HWND page, PreferenceId id, int value);

// The current value of a preference.
int PreferenceValue(const Preferences& prefs, PreferenceId id);

// Reinstalls the hook (respecting the pause) or rebuilds the command list.
void RefreshDependents(ProgramState& program, Refresh refresh);

// Tells the user that a write to the preferences file failed, once per opening of the dialog:
// a drag of the slider or a long list of rewrites must not raise a box for every step.
void ReportFailedWrite(OptionsSession& session, HWND page);

// The text of the message about a failed write, naming the file.
std::wstring WriteFailureText(LANGID language, const std::wstring& path);

// Shows an error message box (caption "Mistlewick", error icon) through the program's services,
// where tests put a recorder.
void ShowOptionsError(const ProgramState& program, HWND owner, const std::wstring& text);

} // namespace mw

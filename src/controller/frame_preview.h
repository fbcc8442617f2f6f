// The frame preview: while the popup is open only the selected window is shown and the other
// listed windows are minimised or hidden (the frame overlay marks where they are); on choose and
// cancel every previewed window comes back as it was.
//
// Hidden windows belong to other programs and are invisible to their users, so no path may leave
// one hidden: every window is written to a record in the registry before we hide it, and the
// record is read back (and emptied) when the previewed windows are restored, when the session
// ends, at a normal exit, and at the next start after the program was killed or crashed. The key
// is volatile (HKCU\Software\Mistlewick\HiddenWindows, gone at log-off together with the windows
// it names), and each entry carries the window's process and thread, so a handle that was reused
// by another window in the meantime is left alone.
#pragma once

#include <windows.h>

#include <string>

#include "model/item_list.h"
#include "model/program_state.h"

namespace mw {

// Open step: the selected window entry (or none, -1, when the selection is not on a window) is
// restored when minimised; every other window entry is hidden (`hide`) or minimised.
void PutAwayOtherWindows(const SystemServices& services, const ItemList& popupList, int selectedIndexOrMinus1,
                         bool hide);

// Move step, before the selection moves: the selected window entry goes away like the others.
void PutAwaySelectedWindow(const SystemServices& services, const ItemList& popupList, int selectedIndex,
                           bool hide);

// Move step, after the selection landed on a window entry: the overlay back to the bottom of the
// window order and the popup to the top of the topmost band, neither moved nor sized.
void RestackPreview(HWND frameWindow, HWND popup);

// Move step, after RestackPreview: the newly selected window entry is shown by its state at
// opening: maximised when it was maximised, else shown (`hide`) or restored.
void ShowSelectedWindow(const ItemList& popupList, int selectedIndex, bool hide);

// Choose and cancel: every window entry, from the highest `order` down to 0, comes back to the
// state it had when the popup opened; normal and maximised ones are brought to the foreground,
// so the entry with order 0 ends in front. Windows that closed meanwhile are skipped. Empties
// the record of hidden windows afterwards.
void RestorePreviewedWindows(const SystemServices& services, const ItemList& popupList, bool hide);

// Shows every window in the record that still exists, belongs to the same thread as when it was
// hidden, and is still invisible, in the state it had, without activating it; then empties the
// record. For start-up, WM_ENDSESSION and the normal exit. The record lives under the services'
// hiddenWindowRecordKey (below HKEY_CURRENT_USER; tests point it elsewhere), or the program's own.
void RestoreWindowsLeftHidden(const SystemServices& services);

// Number of windows in the record (for tests and diagnostics).
int HiddenWindowRecordCount(const SystemServices& services);

} // namespace mw

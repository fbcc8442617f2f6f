// Putting the popup together: the command entries built from the preferences, the label of the
// close-window entry, the grouping of windows by program, and whether the popup opens at all.
#pragma once

#include <windows.h>

#include <string>

#include "model/item_list.h"
#include "model/program_state.h"
#include "settings/preferences.h"

namespace mw {

// Clears `commandList` and appends, in this order and when switched on: the desktop toggle, the
// close-window entry (never in launcher-only mode) and cancel, named in the current language.
// Icons come from the program's resources in `resources` at iconSize x iconSize; one that cannot
// be loaded leaves the entry without an icon.
void BuildCommandList(ItemList& commandList, const Preferences& prefs, bool launcherOnly, int iconSize,
                      HINSTANCE resources);

// Loads the icon of every launcher entry anew at iconSize x iconSize (for a monitor of another
// DPI); an entry whose icon cannot be loaded keeps the one it has.
void ReloadLauncherIcons(LauncherList& launchers, int iconSize);

// Every close-window entry gets a copy of `text` as its name; other entries are untouched.
void SetCloseEntryLabels(ItemList& commandList, const wchar_t* text);

// "「title」を閉じる" (in English: Close "title") for the window the close command will close (an
// empty title for none), in `language`.
std::wstring CloseEntryLabel(LANGID language, HWND target);

// The records the desktop entry keeps of the windows it minimises (`shown`, the windows the list
// shows): window and show state, in list order; a record's order is its position.
void RecordDesktopWindows(const ItemList& shown, ItemList& saved);

// Finds the program path of a window into a buffer of TextBufferLength units; false (and an
// empty buffer) when unknown. `context` is the lookup's own; the run's lookup is
// ProgramPathsOfList (system/window_list.h) over the program's path memo.
struct ProgramPathLookup {
    bool (*find)(void* context, HWND window, wchar_t* buffer) = nullptr;
    void* context = nullptr;
};

// Groups the windows of one program together: groups follow the Z order of their topmost window,
// windows inside a group keep their Z order, `showState` moves with its window and `order` is
// renumbered 0..n-1. Paths are compared without regard to letter case; unknown paths (empty)
// form one group.
void ArrangeByProgram(ItemList& popupList, const ProgramPathLookup& lookup);

// The popup opens when there is a launcher entry, two windows, or one window and the desktop
// toggle to offer beside it.
bool PopupHasSomethingToShow(int windowCount, int launcherCount, bool toggleDesktop);

} // namespace mw

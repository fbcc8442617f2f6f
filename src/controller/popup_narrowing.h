// The narrowed list of the open popup: while the user's filter or the monitor scope narrows it,
// the popup list holds copies of the listed windows and the full list waits aside, so everything
// that works on the popup list (layout, drawing, thumbnails, choosing) sees what is listed, and
// closing puts the full list back before its icons are returned.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "model/item_list.h"
#include "model/narrowing.h"
#include "model/program_state.h"
#include "view/layout.h"

namespace mw {

struct PopupNarrowing {
    Narrowing narrowing;
    HMONITOR monitor = nullptr;           // the popup's monitor
    std::unique_ptr<ItemList> allWindows; // while narrowed: every window the popup opened with
    std::vector<WindowFacts> facts;       // of allWindows, in its order (paths once a filter needs them)
    bool pathsKnown = false;
    std::unique_ptr<LauncherList> launchers; // while narrowed: the listed launcher entries
    std::vector<int> launcherPlaces;         // their indexes in the program's launcher list
};

// How the facts of a window are found; the real ones unless a test sets its own.
struct WindowFactsSource {
    bool (*programPath)(HWND window, wchar_t* buffer) = nullptr; // null: ProgramPathOfWindow
    HMONITOR (*monitor)(HWND window) = nullptr;                  // null: MonitorFromWindow, nearest
    ProgramPathMemo* memo = nullptr; // the run's remembered program paths, for ProgramPathOfWindow
};

// Applies `p.narrowing` to the popup list (in place, so pointers to it stay good) and to the
// program's launcher entries. Yields the new index of window `keep` in the popup list, or -1.
int ApplyNarrowing(PopupNarrowing& p, ItemList& popupList, const LauncherList* programLaunchers, HWND keep,
                   const WindowFactsSource& source = WindowFactsSource{});

// Puts the full list back into the popup list and forgets the narrowing (the popup closes).
void EndNarrowing(PopupNarrowing& p, ItemList& popupList);

// Takes a window that went away out of the full list kept aside (the popup list's copy is the
// caller's to remove).
void ForgetNarrowedWindow(PopupNarrowing& p, HWND window);

// Every window of the open popup, listed or not.
const ItemList& AllWindows(const PopupNarrowing& p, const ItemList& popupList);
// The launcher entries the popup lists.
const LauncherList& ListedLaunchers(const PopupNarrowing& p, const LauncherList& programLaunchers);
// The index in the program's launcher list of the listed launcher entry `listed`.
int ProgramLauncherIndex(const PopupNarrowing& p, int listed);

} // namespace mw

// Narrowing the open popup's list: the filter the user types and the monitor scope the tilt wheel
// sets. Pure rules over the lists and what is known about each window; the controller gathers
// the facts (program paths, monitors) and applies the result.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/item_list.h"

namespace mw {

struct Narrowing {
    std::wstring filter;          // what the user typed; empty: every entry
    bool thisMonitorOnly = false; // only the windows on the popup's monitor
};

bool IsNarrowed(const Narrowing& narrowing);

// One typed character (WM_CHAR) applied to the filter: Backspace takes away the last character
// (a surrogate pair as a whole); Tab, Enter, Space, Esc and other control characters are not
// text. True when the filter changed.
bool EditFilter(std::wstring& filter, wchar_t typed);

// Whether an entry with this title or display name and this program path stays under the filter:
// the name or the program's file name contains it.
bool EntryMatchesFilter(const std::wstring& name, const std::wstring& programPath,
                        const std::wstring& filter);

// What the scope and the filter need to know of a listed window.
struct WindowFacts {
    std::wstring programPath;
    HMONITOR monitor = nullptr; // MonitorFromWindow with MONITOR_DEFAULTTONEAREST
};

bool WindowIsListed(const ListItem& window, const WindowFacts& facts, const Narrowing& narrowing,
                    HMONITOR popupMonitor);

// Clears `shown` and fills it with copies of the windows of `all` that stay listed (`facts` in the
// order of `all`; a window without facts is listed only when nothing narrows).
void NarrowWindows(const ItemList& all, const std::vector<WindowFacts>& facts, const Narrowing& narrowing,
                   HMONITOR popupMonitor, ItemList& shown);

// Clears `shown` and fills it with copies of the launcher entries whose name or target matches the
// filter (the scope leaves launcher entries alone); `places` gets their indexes in `all`.
void NarrowLaunchers(const LauncherList& all, const Narrowing& narrowing, LauncherList& shown,
                     std::vector<int>& places);

// The line above the list while it is narrowed: the scope's label, the filter, or both; empty when
// nothing narrows.
std::wstring NarrowingHeader(const Narrowing& narrowing, const std::wstring& scopeLabel);

} // namespace mw

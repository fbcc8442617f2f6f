// Narrowing the open popup's list: the filter the user types, the monitor scope the tilt wheel
// sets and the program scope (the windows of the selected window's program). Pure rules over the
// lists and what is known about each window; the controller gathers the facts (program paths,
// monitors) and applies the result.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/filter.h"
#include "model/item_list.h"

namespace mw {

struct Narrowing {
    std::wstring filter;          // what the user typed; empty: every entry
    bool thisMonitorOnly = false; // only the windows on the popup's monitor
    bool thisProgramOnly = false; // only the windows of `program`
    std::wstring program{};       // the executable path of the selected window's process
};

// The texts the header line names the scopes with, in the program's language.
struct ScopeLabels {
    std::wstring thisMonitor;
    std::wstring thisProgram;
};

bool IsNarrowed(const Narrowing& narrowing);

// One typed character (WM_CHAR) applied to the filter: Backspace takes away the last character
// (a surrogate pair as a whole); Tab, Enter, Esc and other control characters are not text, nor
// is Space while the filter is empty (it chooses). True when the filter changed.
bool EditFilter(std::wstring& filter, wchar_t typed);

// Whether an entry with this title or display name and this program path stays under the filter:
// every word of the filter is in the name or in the program's file name.
bool EntryMatchesFilter(const std::wstring& name, const std::wstring& programPath,
                        const std::wstring& filter);

// How well the entry matches: the worst place of its words, each word at its best place in the
// name or the program's file name (None when a word is in neither). An empty filter: WordStart.
MatchPlace EntryFilterMatch(const std::wstring& name, const std::wstring& programPath,
                            const std::wstring& filter);

// Whether two executable paths name the same program (compared without regard to case). An
// unknown path (empty) is nobody's program.
bool SameProgram(const std::wstring& a, const std::wstring& b);

// Whether the narrowing needs the program paths of the windows: a filter matches program file
// names, the program scope compares programs.
bool NeedsProgramPaths(const Narrowing& narrowing);

// The program scope switched by its key: on with the program of the selected window, or off.
// A selection without a known program leaves the scope off. True when the narrowing changed.
bool ToggleProgramScope(Narrowing& narrowing, const std::wstring& selectedProgram);

// What the scope and the filter need to know of a listed window.
struct WindowFacts {
    std::wstring programPath;
    HMONITOR monitor = nullptr; // MonitorFromWindow with MONITOR_DEFAULTTONEAREST
};

bool WindowIsListed(const ListItem& window, const WindowFacts& facts, const Narrowing& narrowing,
                    HMONITOR popupMonitor);

// Clears `shown` and fills it with copies of the windows of `all` that stay listed (`facts` in the
// order of `all`; a window without facts is listed only when nothing narrows). Windows whose
// filter words all begin words come first, then those matched inside a word, each in the order
// of `all`.
void NarrowWindows(const ItemList& all, const std::vector<WindowFacts>& facts, const Narrowing& narrowing,
                   HMONITOR popupMonitor, ItemList& shown);

// Clears `shown` and fills it with copies of the launcher entries whose name or target matches the
// filter (the scopes leave launcher entries alone), in the order NarrowWindows gives windows;
// `places` gets their indexes in `all`.
void NarrowLaunchers(const LauncherList& all, const Narrowing& narrowing, LauncherList& shown,
                     std::vector<int>& places);

// The line above the list while it is narrowed: the scopes' labels (monitor, then program, joined
// by " / "), the filter after ": ", or only one of them; empty when nothing narrows.
std::wstring NarrowingHeader(const Narrowing& narrowing, const ScopeLabels& labels);
// The same, for callers that know only the monitor scope's label.
std::wstring NarrowingHeader(const Narrowing& narrowing, const std::wstring& scopeLabel);

} // namespace mw

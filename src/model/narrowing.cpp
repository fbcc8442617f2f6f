#include "model/narrowing.h"

#include "model/filter.h"

namespace mw {

bool IsNarrowed(const Narrowing& narrowing) {
    return !narrowing.filter.empty() || narrowing.thisMonitorOnly || narrowing.thisProgramOnly;
}

bool EditFilter(std::wstring& filter, wchar_t typed) {
    if (typed == L'\b') {
        if (filter.empty())
            return false;
        filter.pop_back();
        if (!filter.empty() && IS_HIGH_SURROGATE(filter.back()))
            filter.pop_back();
        return true;
    }
    // Enter, Tab and Esc keep their own meaning (and arrive here as characters too). Space
    // chooses until something is typed; after that it separates the words of the filter.
    if (typed < L' ' || (typed == L' ' && filter.empty()) || typed == 0x7F)
        return false;
    filter.push_back(typed);
    return true;
}

bool EntryMatchesFilter(const std::wstring& name, const std::wstring& programPath,
                        const std::wstring& filter) {
    return EntryFilterMatch(name, programPath, filter) != MatchPlace::None;
}

MatchPlace EntryFilterMatch(const std::wstring& name, const std::wstring& programPath,
                            const std::wstring& filter) {
    const std::wstring file = programPath.empty() ? std::wstring() : ProgramFileName(programPath);
    MatchPlace worst = MatchPlace::WordStart;
    for (const std::wstring& word : FilterWords(filter)) {
        MatchPlace place = FindFilterWord(name, word);
        if (place != MatchPlace::WordStart && !file.empty()) {
            const MatchPlace inFile = FindFilterWord(file, word);
            place = inFile > place ? inFile : place;
        }
        worst = place < worst ? place : worst;
        if (worst == MatchPlace::None)
            break;
    }
    return worst;
}

bool SameProgram(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && !b.empty() &&
           CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool NeedsProgramPaths(const Narrowing& narrowing) {
    return !narrowing.filter.empty() || narrowing.thisProgramOnly;
}

bool ToggleProgramScope(Narrowing& narrowing, const std::wstring& selectedProgram) {
    if (narrowing.thisProgramOnly) {
        narrowing.thisProgramOnly = false;
        narrowing.program.clear();
        return true;
    }
    if (selectedProgram.empty())
        return false;
    narrowing.thisProgramOnly = true;
    narrowing.program = selectedProgram;
    return true;
}

namespace {

MatchPlace WindowListedAt(const ListItem& window, const WindowFacts& facts, const Narrowing& narrowing,
                          HMONITOR popupMonitor) {
    if (narrowing.thisMonitorOnly && facts.monitor != popupMonitor)
        return MatchPlace::None;
    if (narrowing.thisProgramOnly && !SameProgram(facts.programPath, narrowing.program))
        return MatchPlace::None;
    return EntryFilterMatch(window.name, facts.programPath, narrowing.filter);
}

} // namespace

bool WindowIsListed(const ListItem& window, const WindowFacts& facts, const Narrowing& narrowing,
                    HMONITOR popupMonitor) {
    return WindowListedAt(window, facts, narrowing, popupMonitor) != MatchPlace::None;
}

void NarrowWindows(const ItemList& all, const std::vector<WindowFacts>& facts, const Narrowing& narrowing,
                   HMONITOR popupMonitor, ItemList& shown) {
    ClearItemList(shown);
    static const WindowFacts unknown;
    std::vector<int> inside; // listed after those matched at word starts
    for (int i = 0; i < all.count && i < ListCapacity; ++i) {
        const bool known = static_cast<size_t>(i) < facts.size();
        if (!known && IsNarrowed(narrowing))
            continue;
        const MatchPlace place =
            WindowListedAt(all.slots[i], known ? facts[i] : unknown, narrowing, popupMonitor);
        if (place == MatchPlace::WordStart)
            AppendListItem(shown, all.slots[i]);
        else if (place == MatchPlace::InsideWord)
            inside.push_back(i);
    }
    for (const int i : inside)
        AppendListItem(shown, all.slots[i]);
}

void NarrowLaunchers(const LauncherList& all, const Narrowing& narrowing, LauncherList& shown,
                     std::vector<int>& places) {
    ClearLauncherList(shown);
    places.clear();
    std::vector<int> inside;
    for (int i = 0; i < all.count && i < ListCapacity; ++i) {
        const LauncherEntry& entry = all.slots[i];
        const MatchPlace place = EntryFilterMatch(entry.name, entry.path, narrowing.filter);
        if (place == MatchPlace::WordStart && AppendLauncherEntry(shown, entry))
            places.push_back(i);
        else if (place == MatchPlace::InsideWord)
            inside.push_back(i);
    }
    for (const int i : inside) {
        if (AppendLauncherEntry(shown, all.slots[i]))
            places.push_back(i);
    }
}

std::wstring NarrowingHeader(const Narrowing& narrowing, const ScopeLabels& labels) {
    std::wstring scopes;
    if (narrowing.thisMonitorOnly)
        scopes = labels.thisMonitor;
    if (narrowing.thisProgramOnly)
        scopes += (scopes.empty() ? L"" : L" / ") + labels.thisProgram;
    if (scopes.empty() || narrowing.filter.empty())
        return scopes + narrowing.filter;
    return scopes + L": " + narrowing.filter;
}

std::wstring NarrowingHeader(const Narrowing& narrowing, const std::wstring& scopeLabel) {
    return NarrowingHeader(narrowing, ScopeLabels{scopeLabel, std::wstring()});
}

} // namespace mw

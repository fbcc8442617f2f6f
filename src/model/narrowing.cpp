#include "model/narrowing.h"

#include "model/filter.h"

namespace mw {

bool IsNarrowed(const Narrowing& narrowing) {
    return !narrowing.filter.empty() || narrowing.thisMonitorOnly;
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
    // Enter, Tab and Esc keep their own meaning (and arrive here as characters too); Space chooses.
    if (typed < L' ' || typed == L' ' || typed == 0x7F)
        return false;
    filter.push_back(typed);
    return true;
}

bool EntryMatchesFilter(const std::wstring& name, const std::wstring& programPath,
                        const std::wstring& filter) {
    return TextMatchesFilter(name, filter) ||
           (!programPath.empty() && TextMatchesFilter(ProgramFileName(programPath), filter));
}

bool WindowIsListed(const ListItem& window, const WindowFacts& facts, const Narrowing& narrowing,
                    HMONITOR popupMonitor) {
    if (narrowing.thisMonitorOnly && facts.monitor != popupMonitor)
        return false;
    return EntryMatchesFilter(window.name, facts.programPath, narrowing.filter);
}

void NarrowWindows(const ItemList& all, const std::vector<WindowFacts>& facts, const Narrowing& narrowing,
                   HMONITOR popupMonitor, ItemList& shown) {
    ClearItemList(shown);
    static const WindowFacts unknown;
    for (int i = 0; i < all.count && i < ListCapacity; ++i) {
        const bool known = static_cast<size_t>(i) < facts.size();
        if (!known && IsNarrowed(narrowing))
            continue;
        if (WindowIsListed(all.slots[i], known ? facts[i] : unknown, narrowing, popupMonitor))
            AppendListItem(shown, all.slots[i]);
    }
}

void NarrowLaunchers(const LauncherList& all, const Narrowing& narrowing, LauncherList& shown,
                     std::vector<int>& places) {
    ClearLauncherList(shown);
    places.clear();
    for (int i = 0; i < all.count && i < ListCapacity; ++i) {
        const LauncherEntry& entry = all.slots[i];
        if (EntryMatchesFilter(entry.name, entry.path, narrowing.filter) && AppendLauncherEntry(shown, entry))
            places.push_back(i);
    }
}

std::wstring NarrowingHeader(const Narrowing& narrowing, const std::wstring& scopeLabel) {
    if (!narrowing.thisMonitorOnly)
        return narrowing.filter;
    if (narrowing.filter.empty())
        return scopeLabel;
    return scopeLabel + L": " + narrowing.filter;
}

} // namespace mw

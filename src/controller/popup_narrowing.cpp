#include "controller/popup_narrowing.h"

#include <string>
#include <utility>

#include "system/window_list.h"

namespace mw {

namespace {

HMONITOR NearestMonitor(HWND window) {
    return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
}

// Monitors always (cheap); program paths only once a filter needs them, and then once per popup.
void GatherFacts(PopupNarrowing& p, const WindowFactsSource& source) {
    const ItemList& all = *p.allWindows;
    if (p.facts.size() != static_cast<size_t>(all.count)) {
        p.facts.assign(all.count, WindowFacts{});
        p.pathsKnown = false;
        for (int i = 0; i < all.count; ++i)
            p.facts[i].monitor = (source.monitor ? source.monitor : NearestMonitor)(all.slots[i].window);
    }
    if (!NeedsProgramPaths(p.narrowing) || p.pathsKnown)
        return;
    for (int i = 0; i < all.count; ++i) {
        wchar_t path[TextBufferLength] = {};
        const bool known = source.programPath ? source.programPath(all.slots[i].window, path)
                                              : ProgramPathOfWindow(source.memo, all.slots[i].window, path);
        if (known)
            p.facts[i].programPath = path;
    }
    p.pathsKnown = true;
}

} // namespace

int ApplyNarrowing(PopupNarrowing& p, ItemList& popupList, const LauncherList* programLaunchers, HWND keep,
                   const WindowFactsSource& source) {
    if (!IsNarrowed(p.narrowing)) {
        if (p.allWindows) {
            ClearItemList(popupList);
            popupList = std::move(*p.allWindows);
            p.allWindows.reset();
        }
        p.launchers.reset();
        p.launcherPlaces.clear();
    } else {
        if (!p.allWindows) {
            p.allWindows = CreateItemList();
            *p.allWindows = std::move(popupList);
            // Moved-from records still say they are in use: the narrowed list starts empty.
            popupList = ItemList{};
        }
        GatherFacts(p, source);
        NarrowWindows(*p.allWindows, p.facts, p.narrowing, p.monitor, popupList);
        if (!p.launchers)
            p.launchers = CreateLauncherList();
        static const LauncherList none;
        NarrowLaunchers(programLaunchers ? *programLaunchers : none, p.narrowing, *p.launchers,
                        p.launcherPlaces);
    }
    for (int i = 0; keep && i < popupList.count; ++i) {
        if (popupList.slots[i].window == keep)
            return i;
    }
    return -1;
}

void EndNarrowing(PopupNarrowing& p, ItemList& popupList) {
    p.narrowing = Narrowing{};
    ApplyNarrowing(p, popupList, nullptr, nullptr);
    p.facts.clear();
    p.pathsKnown = false;
    p.monitor = nullptr;
}

void ForgetNarrowedWindow(PopupNarrowing& p, HWND window) {
    if (!p.allWindows)
        return;
    for (int i = 0; i < p.allWindows->count; ++i) {
        if (p.allWindows->slots[i].window != window)
            continue;
        RemoveListItem(*p.allWindows, i);
        if (static_cast<size_t>(i) < p.facts.size())
            p.facts.erase(p.facts.begin() + i);
        return;
    }
}

const ItemList& AllWindows(const PopupNarrowing& p, const ItemList& popupList) {
    return p.allWindows ? *p.allWindows : popupList;
}

const LauncherList& ListedLaunchers(const PopupNarrowing& p, const LauncherList& programLaunchers) {
    return p.launchers ? *p.launchers : programLaunchers;
}

int ProgramLauncherIndex(const PopupNarrowing& p, int listed) {
    if (!p.launchers)
        return listed;
    return listed >= 0 && static_cast<size_t>(listed) < p.launcherPlaces.size() ? p.launcherPlaces[listed]
                                                                                : -1;
}

} // namespace mw

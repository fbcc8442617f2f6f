#include "model/list_building.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "system/file_icon.h"
#include "system/window_list.h"
#include "platform/resources_lang.h"
#include "resources/resource.h"

namespace mw {

namespace {

void AppendCommand(ItemList& commandList, UINT labelId, int iconId, int kind, int iconSize,
                   HINSTANCE resources, LANGID language) {
    const std::wstring label = LoadText(language, labelId);
    HICON icon = static_cast<HICON>(
        LoadImageW(resources, MAKEINTRESOURCEW(iconId), IMAGE_ICON, iconSize, iconSize, 0));
    ListItem temporary;
    InitListItem(temporary, label.c_str(), icon, nullptr, kind);
    AppendListItem(commandList, temporary); // copies the label, duplicates the icon
} // the temporary releases its label and icon here

} // namespace

void ReloadLauncherIcons(LauncherList& launchers, int iconSize) {
    for (int i = 0; i < launchers.count && i < ListCapacity; ++i) {
        LauncherEntry& entry = launchers.slots[i];
        if (HICON icon = LauncherEntryIcon(entry.path, entry.iconFile, entry.iconIndex, iconSize))
            entry.icon.reset(icon);
    }
}

void BuildCommandList(ItemList& commandList, const Preferences& prefs, bool launcherOnly, int iconSize,
                      HINSTANCE resources) {
    ClearItemList(commandList);
    // The labels in the language the preferences choose.
    const LANGID language = ResourceLanguage(prefs.Language);
    if (prefs.ToggleDesktop != 0) {
        AppendCommand(commandList, IDS_COMMAND_DESKTOP, IDI_DESKTOP, KindDesktopToggle, iconSize, resources,
                      language);
    }
    if (prefs.CloseWnd != 0 && !launcherOnly) {
        // The label is set from the active window's title each time the popup opens.
        AppendCommand(commandList, IDS_COMMAND_CLOSE_PLACEHOLDER, IDI_CLOSE, KindCloseWindow, iconSize,
                      resources, language);
    }
    if (prefs.Cansel != 0) {
        AppendCommand(commandList, IDS_COMMAND_CANCEL, IDI_CLOSE, KindCancel, iconSize, resources, language);
    }
}

void SetCloseEntryLabels(ItemList& commandList, const wchar_t* text) {
    for (int i = 0; i < commandList.count && i < ListCapacity; ++i) {
        ListItem& entry = commandList.slots[i];
        if (entry.kind == KindCloseWindow)
            entry.name = text ? text : L"";
    }
}

std::wstring CloseEntryLabel(LANGID language, HWND target) {
    wchar_t title[TextBufferLength] = L"";
    if (target)
        ReadWindowTitle(target, title);
    return FormatText(language, IDS_COMMAND_CLOSE, {title});
}

namespace {

using PathArray = std::array<std::wstring, ListCapacity>;

// Groups the first n entries by the program paths given for them. The entries themselves are
// moved, never copied: a copy would duplicate every icon, which costs a system call per icon.
void ArrangeByPaths(ItemList& popupList, int n, const PathArray& paths) {
    // The current order as original positions; pull each window up behind the nearest earlier
    // window of its program.
    std::array<int, ListCapacity> at{};
    for (int k = 0; k < n; ++k)
        at[k] = k;
    for (int i = 1; i < n; ++i) {
        int d = -1;
        for (int j = i - 1; j >= 0; --j) {
            if (lstrcmpiW(paths[at[j]].c_str(), paths[at[i]].c_str()) == 0) {
                d = j;
                break;
            }
        }
        if (d >= 0 && d != i - 1)
            std::rotate(at.begin() + d + 1, at.begin() + i, at.begin() + i + 1);
    }

    // Back into the popup list in the new order; showState moves with its window.
    std::array<ListItem, ListCapacity> arranged;
    for (int k = 0; k < n; ++k)
        arranged[k] = std::move(popupList.slots[at[k]]);
    for (int k = 0; k < n; ++k) {
        popupList.slots[k] = std::move(arranged[k]);
        popupList.slots[k].order = k;
        popupList.slots[k].inUse = 1;
    }
}

int ArrangedCount(const ItemList& popupList) {
    return popupList.count < ListCapacity ? popupList.count : ListCapacity;
}

} // namespace

void ArrangeByProgram(ItemList& popupList, const ProgramPathLookup& lookup) {
    const int n = ArrangedCount(popupList);
    if (n <= 0)
        return;
    PathArray paths;
    for (int k = 0; k < n; ++k) {
        wchar_t path[TextBufferLength] = L"";
        if (!lookup.find || !lookup.find(lookup.context, popupList.slots[k].window, path))
            path[0] = L'\0';
        path[TextBufferLength - 1] = L'\0';
        paths[k] = path;
    }
    ArrangeByPaths(popupList, n, paths);
}

bool PopupHasSomethingToShow(int windowCount, int launcherCount, bool toggleDesktop) {
    return launcherCount > 0 || windowCount >= 2 || (windowCount >= 1 && toggleDesktop);
}

void RecordDesktopWindows(const ItemList& shown, ItemList& saved) {
    ClearItemList(saved);
    for (int i = 0; i < shown.count; ++i) {
        ListItem record;
        record.order = i;
        record.showState = shown.slots[i].showState;
        record.window = shown.slots[i].window;
        record.kind = KindWindow;
        AppendListItem(saved, record);
    }
}

} // namespace mw

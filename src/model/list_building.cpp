#include "model/list_building.h"

#include <array>
#include <utility>

#include "model/window_list.h"
#include "resources/resource.h"

namespace mw {

namespace {

void AppendCommand(ItemList &commandList, const wchar_t *label, int iconId, int kind, int iconSize,
                   HINSTANCE resources) {
    HICON icon = static_cast<HICON>(
        LoadImageW(resources, MAKEINTRESOURCEW(iconId), IMAGE_ICON, iconSize, iconSize, 0));
    ListItem temporary;
    InitListItem(temporary, label, icon, nullptr, kind);
    AppendListItem(commandList, temporary); // copies the label, duplicates the icon
} // the temporary releases its label and icon here

} // namespace

void BuildCommandList(ItemList &commandList, const Preferences &prefs, bool launcherOnly, int iconSize,
                      HINSTANCE resources) {
    ClearItemList(commandList);
    if (prefs.ToggleDesktop != 0) {
        AppendCommand(commandList, L"デスクトップの表示 / 非表示", IDI_DESKTOP, KindDesktopToggle, iconSize,
                      resources);
    }
    if (prefs.CloseWnd != 0 && !launcherOnly) {
        AppendCommand(commandList, L"だみぃ", IDI_CLOSE, KindCloseWindow, iconSize, resources);
    }
    if (prefs.Cansel != 0) {
        AppendCommand(commandList, L"キャンセル", IDI_CLOSE, KindCancel, iconSize, resources);
    }
}

void SetCloseEntryLabels(ItemList &commandList, const wchar_t *text) {
    for (int i = 0; i < commandList.count && i < ListCapacity; ++i) {
        ListItem &entry = commandList.slots[i];
        if (entry.kind == KindCloseWindow)
            entry.name = text ? text : L"";
    }
}

std::wstring CloseEntryLabel(HWND target) {
    wchar_t title[TextBufferLength] = L"";
    if (target)
        ReadWindowTitle(target, title);
    // wsprintfW writes at most 1024 units; a title of 259 and the brackets fit with room to spare.
    wchar_t label[TextBufferLength + 16];
    wsprintfW(label, L"「%s」を閉じる", title);
    return label;
}

void ArrangeByProgram(ItemList &popupList, ProgramPathLookup lookup) {
    const int n = popupList.count < ListCapacity ? popupList.count : ListCapacity;
    if (n <= 0)
        return;

    // 1. A transient launcher entry per window, its program path in `path`; the show state
    //    travels beside it because the launcher records do not carry it.
    std::unique_ptr<LauncherList> transient = CreateLauncherList();
    std::array<int, ListCapacity> showStates{};
    for (int k = 0; k < n; ++k) {
        wchar_t path[TextBufferLength] = L"";
        if (!lookup || !lookup(popupList.slots[k].window, path))
            path[0] = L'\0';
        path[TextBufferLength - 1] = L'\0';
        EntryFromWindowItem(transient->slots[k], popupList.slots[k], path);
        transient->count = k + 1;
        showStates[k] = popupList.slots[k].showState;
    }

    // 2.
    ClearItemList(popupList);

    // 3. Pull each window up behind the nearest earlier window of its program.
    for (int i = 1; i < n; ++i) {
        int d = -1;
        for (int j = i - 1; j >= 0; --j) {
            if (lstrcmpiW(transient->slots[j].path.c_str(), transient->slots[i].path.c_str()) == 0) {
                d = j;
                break;
            }
        }
        if (d < 0 || d == i - 1)
            continue;
        for (int p = i; p > d + 1; --p) {
            MoveLauncherEntryUp(*transient, p);
            std::swap(showStates[p - 1], showStates[p]);
        }
    }

    // 4. Back into the popup list in the new order.
    for (int k = 0; k < n; ++k) {
        const LauncherEntry &entry = transient->slots[k];
        ListItem item;
        item.inUse = 1;
        item.name = entry.name;
        item.window = entry.window;
        item.kind = entry.kind;
        item.order = k;
        item.showState = showStates[k];
        item.icon.reset(entry.icon.get()); // borrowed: the append makes its own duplicate
        AppendListItem(popupList, item);
        item.icon.release();
    }

    // 5.
    ClearLauncherList(*transient);
}

void ArrangeByProgram(ItemList &popupList) {
    ArrangeByProgram(popupList, ProgramPathOfWindow);
}

bool PopupHasSomethingToShow(int windowCount, int launcherCount, bool toggleDesktop) {
    return launcherCount > 0 || windowCount >= 2 || (windowCount >= 1 && toggleDesktop);
}

} // namespace mw

#include "controller/frame_preview.h"

#include "model/program_state.h"
#include "platform/process_info.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/unique_handle.h"
#include "system/window_show.h"

namespace mw {

namespace {

constexpr wchar_t DefaultRecordKey[] = L"Software\\Mistlewick\\HiddenWindows";

// The services' key, which tests point elsewhere; empty for the program's own.
const wchar_t* RecordKeyPath(const SystemServices& services) {
    return services.hiddenWindowRecordKey.empty() ? DefaultRecordKey : services.hiddenWindowRecordKey.c_str();
}

// One hidden window as the record keeps it. The recorder's process id and start time tell a
// record of a running instance (left alone) from one of an instance that is gone.
struct HiddenWindowEntry {
    uint64_t window;
    uint32_t processId;
    uint32_t threadId;
    int32_t showState;
    uint32_t recorderProcessId;
    uint64_t recorderStartTime;
};

// True while the process that wrote an entry still runs (and is not this one).
bool RecorderStillRunning(const HiddenWindowEntry& entry) {
    if (entry.recorderProcessId == GetCurrentProcessId() &&
        entry.recorderStartTime == ProcessCreationTime(GetCurrentProcess())) {
        return false;
    }
    UniqueHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.recorderProcessId));
    if (!process)
        return false;
    if (WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT)
        return false;
    return ProcessCreationTime(process.get()) == entry.recorderStartTime;
}

UniqueKey OpenRecord(const SystemServices& services, bool create) {
    UniqueKey key;
    if (create) {
        // Volatile: the record goes at log-off, together with every window it could name.
        RegCreateKeyExW(HKEY_CURRENT_USER, RecordKeyPath(services), 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(), nullptr);
    } else {
        RegOpenKeyExW(HKEY_CURRENT_USER, RecordKeyPath(services), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      key.put());
    }
    return key;
}

std::wstring EntryName(uint32_t recorderProcessId, HWND window) {
    wchar_t name[40];
    std::swprintf(name, 40, L"%08X-%016llX", recorderProcessId,
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return name;
}

// Writes the window into the record; false when it could not be written.
bool RecordHiddenWindow(const SystemServices& services, HWND window, int showState) {
    HiddenWindowEntry entry{};
    entry.window = reinterpret_cast<uintptr_t>(window);
    entry.threadId = GetWindowThreadProcessId(window, reinterpret_cast<DWORD*>(&entry.processId));
    if (entry.threadId == 0)
        return false;
    entry.showState = showState;
    entry.recorderProcessId = GetCurrentProcessId();
    entry.recorderStartTime = ProcessCreationTime(GetCurrentProcess());
    UniqueKey key = OpenRecord(services, true);
    if (!key)
        return false;
    std::wstring name = EntryName(entry.recorderProcessId, window);
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(&entry),
                          sizeof entry) == ERROR_SUCCESS;
}

// Hides a listed window, but only once the record holds it; a window that cannot be recorded is
// minimised instead, so it stays within the user's reach whatever happens to us.
void HideOrMinimise(const SystemServices& services, const ListItem& item, bool hide) {
    if (!item.window || !IsWindow(item.window))
        return;
    if (hide && RecordHiddenWindow(services, item.window, item.showState)) {
        ShowWindowWithoutWaiting(item.window, SW_HIDE);
    } else {
        MinimiseWindowWithoutWaiting(item.window);
    }
}

bool IsListedWindow(const ItemList& list, int index) {
    return index >= 0 && index < list.count && index < ListCapacity && list.slots[index].kind == KindWindow &&
           list.slots[index].window;
}

// The same window as when it was recorded: the handle alone may have been reused since.
bool SameWindowAsRecorded(const HiddenWindowEntry& entry) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(entry.window));
    if (!IsWindow(window))
        return false;
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    return threadId == entry.threadId && processId == entry.processId;
}

} // namespace

void PutAwayOtherWindows(const SystemServices& services, const ItemList& popupList, int selectedIndexOrMinus1,
                         bool hide) {
    if (IsListedWindow(popupList, selectedIndexOrMinus1)) {
        HWND selected = popupList.slots[selectedIndexOrMinus1].window;
        if (IsIconic(selected))
            RestoreWindowWithoutWaiting(selected);
    }
    for (int i = 0; i < popupList.count && i < ListCapacity; ++i) {
        if (i == selectedIndexOrMinus1 || !IsListedWindow(popupList, i))
            continue;
        HideOrMinimise(services, popupList.slots[i], hide);
    }
}

void PutAwaySelectedWindow(const SystemServices& services, const ItemList& popupList, int selectedIndex,
                           bool hide) {
    if (IsListedWindow(popupList, selectedIndex))
        HideOrMinimise(services, popupList.slots[selectedIndex], hide);
}

void RestackPreview(HWND frameWindow, HWND popup) {
    if (frameWindow) {
        SetWindowPos(frameWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The popup is the active window already; this only lifts it in the order.
    if (popup)
        SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ShowSelectedWindow(const ItemList& popupList, int selectedIndex, bool hide) {
    if (!IsListedWindow(popupList, selectedIndex))
        return;
    const ListItem& item = popupList.slots[selectedIndex];
    if (item.showState == StateMaximized) {
        ShowWindowWithoutWaiting(item.window, SW_SHOWMAXIMIZED);
    } else if (hide) {
        ShowWindowWithoutWaiting(item.window, SW_SHOW);
    } else {
        RestoreWindowWithoutWaiting(item.window);
    }
}

void RestorePreviewedWindows(const SystemServices& services, const ItemList& popupList, bool hide) {
    std::vector<const ListItem*> windows;
    for (int i = 0; i < popupList.count && i < ListCapacity; ++i) {
        if (IsListedWindow(popupList, i))
            windows.push_back(&popupList.slots[i]);
    }
    // Highest order first, so the window that was in front (order 0) ends in front again.
    std::stable_sort(windows.begin(), windows.end(),
                     [](const ListItem* a, const ListItem* b) { return a->order > b->order; });

    for (const ListItem* item : windows) {
        HWND window = item->window;
        if (!IsWindow(window))
            continue; // closed while it was put away
        switch (item->showState) {
        case StateMaximized:
            ShowWindowWithoutWaiting(window, SW_SHOWMAXIMIZED);
            SetForegroundWindow(window);
            break;
        case StateMinimized:
            // It was minimised before the popup opened. The preview may have restored it (as the
            // selection) or hidden it: either way it goes back to the task bar, minimised and
            // visible, without taking the foreground.
            if (!IsIconic(window) || !IsWindowVisible(window))
                ShowWindowWithoutWaiting(window, SW_SHOWMINNOACTIVE);
            break;
        default:
            if (hide) {
                ShowWindowWithoutWaiting(window, SW_SHOW);
            } else {
                RestoreWindowWithoutWaiting(window);
            }
            SetForegroundWindow(window);
            break;
        }
    }
    RestoreWindowsLeftHidden(services);
}

void RestoreWindowsLeftHidden(const SystemServices& services) {
    UniqueKey key = OpenRecord(services, false);
    if (!key)
        return;
    std::vector<std::wstring> done;
    for (DWORD i = 0;; ++i) {
        wchar_t name[64];
        DWORD nameLength = 64;
        HiddenWindowEntry entry{};
        DWORD type = 0;
        DWORD size = sizeof entry;
        LONG result = RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(&entry), &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_BINARY || size != sizeof entry) {
            // Not ours to understand; drop it so it never stands in the way.
            if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)
                done.emplace_back(name, nameLength);
            continue;
        }
        // Another instance that is still running owns its hidden windows and restores them itself.
        if (RecorderStillRunning(entry))
            continue;
        done.emplace_back(name, nameLength);
        if (!SameWindowAsRecorded(entry))
            continue;
        HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(entry.window));
        if (IsWindowVisible(window))
            continue;
        // A hidden window keeps its maximised or normal state; SW_SHOWNA shows it in that state.
        ShowWindowWithoutWaiting(window, entry.showState == StateMinimized ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
    }
    for (const std::wstring& name : done)
        RegDeleteValueW(key.get(), name.c_str());
    DWORD remaining = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &remaining, nullptr,
                         nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        remaining == 0) {
        key.reset();
        RegDeleteKeyW(HKEY_CURRENT_USER, RecordKeyPath(services));
    }
}

int HiddenWindowRecordCount(const SystemServices& services) {
    UniqueKey key = OpenRecord(services, false);
    if (!key)
        return 0;
    DWORD count = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    return static_cast<int>(count);
}

} // namespace mw

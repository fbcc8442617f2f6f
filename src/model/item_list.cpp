#include "model/item_list.h"

#include <cstring>
#include <utility>

namespace mw {

namespace {

std::wstring CopyOrEmpty(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

// Releases the strings and icon of a plain slot.
void ReleaseItem(ListItem& item) {
    item.name.clear();
    item.name.shrink_to_fit();
    item.icon.reset();
    item.inUse = 0;
}

const std::wstring* LauncherField(const LauncherEntry& entry, int selector) {
    switch (selector) {
    case FieldName:
        return &entry.name;
    case FieldCommandLine:
        return &entry.commandLine;
    case FieldWorkFolder:
        return &entry.workFolder;
    case FieldPath:
        return &entry.path;
    default:
        return nullptr;
    }
}

bool ValidIndex(int count, int index) {
    return index >= 0 && index < count;
}

// Exchanges two slots the way every other operation would: copy into a temporary, release,
// copy back. Each ends as an independent copy with order -1 and showState 0.
void SwapLauncherSlots(LauncherList& list, int a, int b) {
    LauncherEntry temporary;
    CopyLauncherEntry(temporary, list.slots[a]);
    DestroyLauncherEntry(list.slots[a]);
    CopyLauncherEntry(list.slots[a], list.slots[b]);
    DestroyLauncherEntry(list.slots[b]);
    CopyLauncherEntry(list.slots[b], temporary);
    DestroyLauncherEntry(temporary);
}

} // namespace

HICON DuplicateOwnedIcon(HICON icon) {
    return icon ? CopyIcon(icon) : nullptr;
}

int InitListItem(ListItem& item, const wchar_t* name, HICON icon, HWND window, int kind) {
    item.inUse = 1;
    item.name = CopyOrEmpty(name);
    item.icon.reset(icon);
    item.window = window;
    item.kind = kind;
    item.order = -1;
    item.showState = StateNormal;
    return 1;
}

int SetLauncherFields(LauncherEntry& entry, const wchar_t* commandLine, const wchar_t* path,
                      const wchar_t* workFolder, const wchar_t* iconFile, int iconIndex) {
    entry.commandLine = CopyOrEmpty(commandLine);
    entry.path = CopyOrEmpty(path);
    entry.workFolder = CopyOrEmpty(workFolder);
    entry.iconFile = CopyOrEmpty(iconFile);
    entry.iconIndex = iconIndex;
    return 1;
}

int EntryFromWindowItem(LauncherEntry& destination, const ListItem& source, const wchar_t* programPath) {
    InitListItem(destination, source.name.c_str(), DuplicateOwnedIcon(source.icon.get()), source.window,
                 source.kind);
    SetLauncherFields(destination, nullptr, programPath, nullptr, nullptr, 0);
    return 1;
}

int DestroyLauncherEntry(LauncherEntry& entry) {
    if (entry.inUse != 1)
        return 0;
    ReleaseItem(entry);
    entry.commandLine.clear();
    entry.workFolder.clear();
    entry.path.clear();
    entry.iconFile.clear();
    entry.commandLine.shrink_to_fit();
    entry.workFolder.shrink_to_fit();
    entry.path.shrink_to_fit();
    entry.iconFile.shrink_to_fit();
    entry.raise = false;
    return 1;
}

int CopyLauncherEntry(LauncherEntry& destination, const LauncherEntry& source) {
    if (&destination == &source)
        return 1;
    InitListItem(destination, source.name.c_str(), DuplicateOwnedIcon(source.icon.get()), nullptr,
                 source.kind);
    SetLauncherFields(destination, source.commandLine.c_str(), source.path.c_str(), source.workFolder.c_str(),
                      source.iconFile.c_str(), source.iconIndex);
    destination.raise = source.raise;
    if (source.kind == KindWindow)
        destination.window = source.window;
    return 1;
}

std::unique_ptr<ItemList> CreateItemList() {
    return std::make_unique<ItemList>();
}

int AdoptListItem(ItemList& list, ListItem&& item) {
    if (list.count < 0 || list.count >= ListCapacity)
        return 0;
    ListItem& slot = list.slots[list.count];
    slot = std::move(item);
    slot.inUse = 1;
    ++list.count;
    return 1;
}

int AppendListItem(ItemList& list, const ListItem& item) {
    if (list.count < 0 || list.count >= ListCapacity)
        return 0;
    ListItem& slot = list.slots[list.count];
    slot.inUse = 1;
    slot.name = item.name;
    slot.icon.reset(DuplicateOwnedIcon(item.icon.get()));
    slot.window = item.window;
    slot.kind = item.kind;
    slot.order = item.order;
    slot.showState = item.showState;
    ++list.count;
    return 1;
}

int ClearItemList(ItemList& list) {
    if (list.count <= 0)
        return 0;
    for (int i = 0; i < list.count && i < ListCapacity; ++i) {
        if (list.slots[i].inUse == 1)
            ReleaseItem(list.slots[i]);
    }
    list.count = 0;
    return 1;
}

int RemoveListItem(ItemList& list, int index) {
    if (!ValidIndex(list.count, index) || list.count > ListCapacity)
        return 0;
    ReleaseItem(list.slots[index]);
    for (int j = index; j < list.count - 1; ++j)
        list.slots[j] = std::move(list.slots[j + 1]);
    list.slots[list.count - 1] = ListItem{};
    --list.count;
    return 1;
}

int ItemNameLength(const ItemList& list, int index) {
    if (!ValidIndex(list.count, index))
        return 0;
    return static_cast<int>(list.slots[index].name.size());
}

void CopyItemName(const ItemList& list, int index, wchar_t* buffer) {
    if (!buffer || !ValidIndex(list.count, index))
        return;
    const std::wstring& name = list.slots[index].name;
    std::memcpy(buffer, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
}

std::unique_ptr<LauncherList> CreateLauncherList() {
    return std::make_unique<LauncherList>();
}

int AppendLauncherEntry(LauncherList& list, const LauncherEntry& entry) {
    if (list.count < 0 || list.count >= ListCapacity)
        return 0;
    CopyLauncherEntry(list.slots[list.count], entry);
    ++list.count;
    return 1;
}

int RemoveLauncherEntry(LauncherList& list, int index) {
    if (!ValidIndex(list.count, index))
        return 0;
    for (int j = index; j <= list.count - 2; ++j) {
        DestroyLauncherEntry(list.slots[j]);
        CopyLauncherEntry(list.slots[j], list.slots[j + 1]);
    }
    DestroyLauncherEntry(list.slots[list.count - 1]);
    --list.count;
    return 1;
}

int MoveLauncherEntryUp(LauncherList& list, int index) {
    if (list.count < 2 || index < 1 || index >= list.count)
        return 0;
    SwapLauncherSlots(list, index - 1, index);
    return 1;
}

int MoveLauncherEntryDown(LauncherList& list, int index) {
    if (list.count < 2 || index < 0 || index >= list.count - 1)
        return 0;
    SwapLauncherSlots(list, index, index + 1);
    return 1;
}

int ClearLauncherList(LauncherList& list) {
    if (list.count <= 0)
        return 0;
    for (int i = 0; i < list.count && i < ListCapacity; ++i)
        DestroyLauncherEntry(list.slots[i]);
    list.count = 0;
    return 1;
}

int LauncherFieldLength(const LauncherList& list, int index, int selector) {
    if (!ValidIndex(list.count, index))
        return 0;
    const std::wstring* field = LauncherField(list.slots[index], selector);
    return field ? static_cast<int>(field->size()) : 0;
}

void CopyLauncherField(const LauncherList& list, int index, int selector, wchar_t* buffer) {
    if (!buffer || !ValidIndex(list.count, index))
        return;
    const std::wstring* field = LauncherField(list.slots[index], selector);
    if (!field)
        return;
    std::memcpy(buffer, field->c_str(), (field->size() + 1) * sizeof(wchar_t));
}

int UpdateLauncherEntry(LauncherList& list, int index, const wchar_t* name, const wchar_t* commandLine,
                        const wchar_t* workFolder, const wchar_t* iconFile, int iconIndex) {
    if (!ValidIndex(list.count, index))
        return 0;
    LauncherEntry& entry = list.slots[index];
    // The caller's strings may point into this very entry, so copy them before releasing it.
    const std::wstring savedPath = entry.path;
    const bool savedRaise = entry.raise;
    const std::wstring newName = CopyOrEmpty(name);
    const std::wstring newCommandLine = CopyOrEmpty(commandLine);
    const std::wstring newWorkFolder = CopyOrEmpty(workFolder);
    const std::wstring newIconFile = CopyOrEmpty(iconFile);
    HICON icon = DuplicateOwnedIcon(entry.icon.get());
    DestroyLauncherEntry(entry);
    InitListItem(entry, newName.c_str(), icon, nullptr, KindLauncher);
    SetLauncherFields(entry, newCommandLine.c_str(), savedPath.c_str(), newWorkFolder.c_str(),
                      newIconFile.c_str(), iconIndex);
    entry.raise = savedRaise;
    return 1;
}

} // namespace mw

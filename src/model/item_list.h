// The one record shape behind every line of the popup, and the fixed-capacity lists that hold
// those records: the open windows, the launcher entries, the command entries and the windows the
// desktop toggle minimised. Every record owns its strings and its icon; every copy duplicates
// the icon, so each copy is released on its own.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "platform/unique_handle.h"

namespace mw {

constexpr int ListCapacity = 50;

// Kind codes. 2 is not assigned; the codes are compared as numbers.
constexpr int KindWindow = 0;
constexpr int KindLauncher = 1;
constexpr int KindDesktopToggle = 3;
constexpr int KindCancel = 4;
constexpr int KindCloseWindow = 5;

// Window state when the list was built.
constexpr int StateNormal = 0;
constexpr int StateMinimized = 1;
constexpr int StateMaximized = 2;

// Field selectors of LauncherFieldLength and CopyLauncherField.
constexpr int FieldName = 0;
constexpr int FieldCommandLine = 10;
constexpr int FieldWorkFolder = 20;
constexpr int FieldPath = 30;

struct ListItem {
    int order = -1;
    int showState = StateNormal;
    int inUse = 0;
    std::wstring name;
    UniqueIcon icon;
    HWND window = nullptr;
    int kind = KindWindow;
};

// A launcher entry: a ListItem followed by what is needed to start it.
struct LauncherEntry : ListItem {
    std::wstring commandLine;
    std::wstring workFolder;
    std::wstring path;
    std::wstring iconFile;
    int iconIndex = 0;
    bool raise = false; // run or raise: switch to the program's window when it is running
};

struct ItemList {
    int count = 0;
    std::array<ListItem, ListCapacity> slots;
};

struct LauncherList {
    int count = 0;
    std::array<LauncherEntry, ListCapacity> slots;
};

// A copy of an icon that the copy owns; null when there is nothing to copy or the copy failed.
HICON DuplicateOwnedIcon(HICON icon);

// Record operations. All return 1 for success, 0 for refusal.
int InitListItem(ListItem& item, const wchar_t* name, HICON icon, HWND window, int kind);
int SetLauncherFields(LauncherEntry& entry, const wchar_t* commandLine, const wchar_t* path,
                      const wchar_t* workFolder, const wchar_t* iconFile, int iconIndex);
int EntryFromWindowItem(LauncherEntry& destination, const ListItem& source, const wchar_t* programPath);
int DestroyLauncherEntry(LauncherEntry& entry);
int CopyLauncherEntry(LauncherEntry& destination, const LauncherEntry& source);

// ItemList operations.
std::unique_ptr<ItemList> CreateItemList();
// Moves `item` into the next free slot as it is, its icon included (no duplicate); 0 when full.
int AdoptListItem(ItemList& list, ListItem&& item);
int AppendListItem(ItemList& list, const ListItem& item); // 0 when the list is full
int ClearItemList(ItemList& list);
// Takes the entry at `index` out, releasing it; the entries after it move up one slot.
int RemoveListItem(ItemList& list, int index);
int ItemNameLength(const ItemList& list, int index);
void CopyItemName(const ItemList& list, int index, wchar_t* buffer);

// LauncherList operations.
std::unique_ptr<LauncherList> CreateLauncherList();
int AppendLauncherEntry(LauncherList& list, const LauncherEntry& entry); // 0 when the list is full
int RemoveLauncherEntry(LauncherList& list, int index);
int MoveLauncherEntryUp(LauncherList& list, int index);
int MoveLauncherEntryDown(LauncherList& list, int index);
int ClearLauncherList(LauncherList& list);
int LauncherFieldLength(const LauncherList& list, int index, int selector);
void CopyLauncherField(const LauncherList& list, int index, int selector, wchar_t* buffer);
int UpdateLauncherEntry(LauncherList& list, int index, const wchar_t* name, const wchar_t* commandLine,
                        const wchar_t* workFolder, const wchar_t* iconFile, int iconIndex);

} // namespace mw

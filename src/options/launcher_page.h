// The Program launcher page of the options dialog and the property dialog of one launcher entry.
// Every step changes the launcher list in memory, the page's list box and the section "Launcher"
// of the preferences file together; the file's numbers follow the list order from 1 without gaps.
#pragma once

#include <windows.h>

#include <string>

#include "model/program_state.h"
#include "platform/dpi.h"

namespace mw {

INT_PTR CALLBACK LauncherPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The property dialog (IDD_LAUNCHER_PROPERTIES) for the entry at PropertyIndex; opened by the page.
INT_PTR CALLBACK LauncherPropertyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Longest path an entry takes, in characters, without the terminator.
constexpr int kMaxLauncherPath = MAX_PATH - 1;

// Values of the open property dialog (kept in the options session); meaningful only while it is
// open.
struct PropertyDialogState {
    int PropertyIndex = -1;
    wchar_t PendingIconFile[MAX_PATH] = {};
    int PendingIconIndex = 0;
};

// The system's own pickers, used where the services' LauncherPickers leave one null.
bool ChooseFileToAdd(HWND owner, std::wstring& path);
bool PickEntryIcon(HWND owner, wchar_t* iconFile, int* iconIndex);
bool ChooseWorkFolder(HWND owner, std::wstring& folder);

// ChangeWindowMessageFilterEx (Windows 7 and later), looked up at run time; null where the
// system lacks it.
using MessageFilterFunction = BOOL(WINAPI*)(HWND window, UINT message, DWORD action, void* status);
MessageFilterFunction SystemMessageFilter();

// Messages that carry a drop from Explorer: WM_DROPFILES, WM_COPYDATA and 0x0049 (the data the
// drop copies between processes).
constexpr UINT kDropMessages[] = {WM_DROPFILES, WM_COPYDATA, 0x0049};

// Lets drops reach `window` while the program runs elevated: they come from Explorer, a process
// of lower integrity, whose messages the system filters out otherwise. False (and logged) when
// the filter is missing or refused one of them.
bool AllowDropsFromLowerIntegrity(HWND window, MessageFilterFunction filter);

// The name a new entry gets: the file-name part of the path without its folder and extension
// ("C:\bin\app.exe" gives "app").
std::wstring LauncherNameFromPath(const wchar_t* path);

// The options page's launcher line selected once line `removed` was deleted and `newCount`
// lines are left (not the popup's selection, which model/selection.h keeps).
int LauncherLineAfterDelete(int removed, int newCount);

// Top-left corner of the entry's icon in the property dialog: centred on (100, 70).
POINT PropertyIconOrigin(int iconSize, UINT dpi = kDefaultDpi);

// What the user is told when entries cannot be added: `leftOutFull` for want of room,
// `leftOutLong` because their paths are longer than kMaxLauncherPath. Empty when both are 0.
std::wstring AddRefusalText(LANGID language, int leftOutFull, int leftOutLong);

// What the user is told when the file holds more entries (storedCount) than the list can show:
// adding or removing would renumber or overwrite the entries beyond the list.
std::wstring HiddenEntriesText(LANGID language, int storedCount);

} // namespace mw

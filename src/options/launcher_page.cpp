#include "options/launcher_page.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

#include "model/launcher_section.h"
#include "settings/preferences_file.h"
#include "system/file_icon.h"
#include "model/item_list.h"
#include "model/program_state.h"
#include "options/option_settings.h"
#include "platform/resources_lang.h"
#include "platform/dpi.h"
#include "platform/unique_handle.h"
#include "resource.h"
#include "view/design.h"

namespace mw {

namespace {

constexpr UINT_PTR kListSubclassId = 1;

LauncherList* Launchers(OptionsSession& session) {
    return session.program.launcherList.get();
}

const std::wstring& PrefsPath(OptionsSession& session) {
    return session.program.preferencesPath;
}

// The entries' icons are shared with the popup, which holds them at its monitor's DPI.
int IconSize(OptionsSession& session) {
    return ListIconPixels(session.program, session.program.design.iconSize);
}

// The language of the options window a system picker is opened over (its session's program).
LANGID LanguageOf(HWND owner) {
    const OptionsSession* session = SessionOf(owner);
    return session ? ProgramLanguage(session->program) : ResourceLanguage(kLanguageAuto);
}

// The services' pickers; those the services leave null are the system's own.
LauncherPickers Pickers(OptionsSession& session) {
    LauncherPickers pickers = session.program.services.launcherPickers;
    if (!pickers.chooseFile)
        pickers.chooseFile = ChooseFileToAdd;
    if (!pickers.pickIcon)
        pickers.pickIcon = PickEntryIcon;
    if (!pickers.chooseFolder)
        pickers.chooseFolder = ChooseWorkFolder;
    return pickers;
}

HWND ListBox(HWND page) {
    return GetDlgItem(page, IDC_LAUNCHER_LIST);
}

HWND Root(HWND window) {
    return GetAncestor(window, GA_ROOT);
}

void InsertLine(HWND page, int index, const std::wstring& text) {
    SendMessageW(ListBox(page), LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void DeleteLine(HWND page, int index) {
    SendMessageW(ListBox(page), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void FocusAndSelect(HWND page, int index) {
    SetFocus(ListBox(page));
    SendMessageW(ListBox(page), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// Rewrites the keys of number `number` from list entry `index`. Empty strings are written as
// empty values, so the text keys of every stored entry are all present.
bool WriteEntryFromList(OptionsSession& session, int number, int index) {
    const LauncherEntry& e = Launchers(session)->slots[index];
    return WriteLauncherEntry(PrefsPath(session), number, e.name.c_str(), e.commandLine.c_str(),
                              e.workFolder.c_str(), e.path.c_str(), e.iconFile.c_str(), e.iconIndex, e.raise);
}

// Appends the entry for a path with its default name and icon; false when the list is full.
bool AppendEntryForPath(OptionsSession& session, const wchar_t* path, std::wstring& name) {
    name = LauncherNameFromPath(path);
    LauncherEntry entry;
    InitListItem(entry, name.c_str(), FileIcon(path, IconSize(session)), nullptr, KindLauncher);
    SetLauncherFields(entry, L"", path, L"", L"", 0);
    const int appended = AppendLauncherEntry(*Launchers(session), entry);
    DestroyLauncherEntry(entry); // the list holds its own copy
    return appended != 0;
}

// Whether one more entry may be added; when not, the user is told why.
bool MayAdd(OptionsSession& session, HWND page) {
    if (session.hiddenStoredEntries > 0) {
        ShowOptionsError(session.program, Root(page),
                         HiddenEntriesText(ProgramLanguage(session.program), session.storedLauncherCount));
        return false;
    }
    if (Launchers(session)->count >= ListCapacity) {
        ShowOptionsError(session.program, Root(page), AddRefusalText(ProgramLanguage(session.program), 1, 0));
        return false;
    }
    return true;
}

void OnAdd(OptionsSession& session, HWND page) {
    if (!MayAdd(session, page))
        return;
    std::wstring path;
    if (!Pickers(session).chooseFile || !Pickers(session).chooseFile(page, path))
        return;
    if (path.empty())
        return;
    if (path.size() > static_cast<size_t>(kMaxLauncherPath)) {
        ShowOptionsError(session.program, Root(page), AddRefusalText(ProgramLanguage(session.program), 0, 1));
        return;
    }
    std::wstring name;
    if (!AppendEntryForPath(session, path.c_str(), name))
        return;
    const int n = Launchers(session)->count;
    InsertLine(page, n - 1, name);
    bool ok = WriteLauncherValue(PrefsPath(session), LauncherKey::Path, n, path.c_str());
    ok = WriteLauncherValue(PrefsPath(session), LauncherKey::Name, n, name.c_str()) && ok;
    // Keys of this number left over from a hand-edited file would otherwise give the new entry a
    // command line, folder, icon or run-or-raise that the list does not have.
    for (LauncherKey stale : {LauncherKey::CommandLine, LauncherKey::WorkFolder, LauncherKey::IconFile,
                              LauncherKey::IconIndex, LauncherKey::Raise}) {
        ok = WriteLauncherValue(PrefsPath(session), stale, n, nullptr) && ok;
    }
    ok = WriteLauncherCount(PrefsPath(session), n) && ok;
    if (!ok)
        ReportFailedWrite(session, page);
}

void OnDropFiles(OptionsSession& session, HWND page, HDROP drop) {
    const UINT dropped = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    int leftOutFull = 0, leftOutLong = 0;
    bool ok = true;
    for (UINT i = 0; i < dropped; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        // A path cut to fit would name another file; such a path is left out instead.
        if (length > static_cast<UINT>(kMaxLauncherPath)) {
            ++leftOutLong;
            continue;
        }
        if (session.hiddenStoredEntries > 0 || Launchers(session)->count >= ListCapacity) {
            ++leftOutFull;
            continue;
        }
        wchar_t path[MAX_PATH] = {};
        DragQueryFileW(drop, i, path, MAX_PATH);
        std::wstring name;
        if (!AppendEntryForPath(session, path, name)) {
            ++leftOutFull;
            continue;
        }
        const int n = Launchers(session)->count;
        ok = WriteLauncherCount(PrefsPath(session), n) && ok;
        ok =
            WriteLauncherEntry(PrefsPath(session), n, name.c_str(), nullptr, nullptr, path, nullptr, 0) && ok;
        InsertLine(page, n - 1, name);
    }
    DragFinish(drop);
    if (!ok)
        ReportFailedWrite(session, page);
    if (leftOutFull > 0 && session.hiddenStoredEntries > 0) {
        ShowOptionsError(session.program, Root(page),
                         HiddenEntriesText(ProgramLanguage(session.program), session.storedLauncherCount));
    } else if (leftOutFull > 0 || leftOutLong > 0) {
        ShowOptionsError(session.program, Root(page),
                         AddRefusalText(ProgramLanguage(session.program), leftOutFull, leftOutLong));
    }
}

void OnRemove(OptionsSession& session, HWND page, int s) {
    LauncherList& list = *Launchers(session);
    if (s < 0 || s >= list.count)
        return;
    if (session.hiddenStoredEntries > 0) {
        ShowOptionsError(session.program, Root(page),
                         HiddenEntriesText(ProgramLanguage(session.program), session.storedLauncherCount));
        return;
    }
    if (!RemoveLauncherEntry(list, s))
        return;
    const int count = list.count;
    bool ok = true;
    for (int i = s; i < count; ++i)
        ok = WriteEntryFromList(session, i + 1, i) && ok;
    // The old last number: its strings go, its index reads 0.
    ok = WriteLauncherEntry(PrefsPath(session), count + 1, nullptr, nullptr, nullptr, nullptr, nullptr, 0) &&
         ok;
    ok = WriteLauncherCount(PrefsPath(session), count) && ok;
    DeleteLine(page, s);
    FocusAndSelect(page, LauncherLineAfterDelete(s, count));
    if (!ok)
        ReportFailedWrite(session, page);
}

void OnUp(OptionsSession& session, HWND page, int s) {
    if (!MoveLauncherEntryUp(*Launchers(session), s))
        return;
    bool ok = WriteEntryFromList(session, s, s - 1);
    ok = WriteEntryFromList(session, s + 1, s) && ok;
    DeleteLine(page, s);
    InsertLine(page, s - 1, Launchers(session)->slots[s - 1].name);
    FocusAndSelect(page, s - 1);
    if (!ok)
        ReportFailedWrite(session, page);
}

void OnDown(OptionsSession& session, HWND page, int s) {
    if (!MoveLauncherEntryDown(*Launchers(session), s))
        return;
    bool ok = WriteEntryFromList(session, s + 1, s);
    ok = WriteEntryFromList(session, s + 2, s + 1) && ok;
    DeleteLine(page, s);
    InsertLine(page, s + 1, Launchers(session)->slots[s + 1].name);
    FocusAndSelect(page, s + 1);
    if (!ok)
        ReportFailedWrite(session, page);
}

void OnProperties(OptionsSession& session, HWND page, int s) {
    if (s < 0 || s >= Launchers(session)->count)
        return;
    session.property.PropertyIndex = s;
    DialogBoxInLanguage(ProgramLanguage(session.program), session.program.instance, IDD_LAUNCHER_PROPERTIES,
                        page, LauncherPropertyProc, reinterpret_cast<LPARAM>(&session));
    session.property = PropertyDialogState{};
    DeleteLine(page, s);
    InsertLine(page, s, Launchers(session)->slots[s].name);
    FocusAndSelect(page, s);
}

LRESULT CALLBACK ListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
    if (message == WM_DROPFILES) {
        OptionsSession* session = SessionOf(GetParent(list));
        if (session && Launchers(*session)) {
            OnDropFiles(*session, GetParent(list), reinterpret_cast<HDROP>(wParam));
        } else {
            DragFinish(reinterpret_cast<HDROP>(wParam));
        }
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(list, ListSubclassProc, kListSubclassId);
    return DefSubclassProc(list, message, wParam, lParam);
}

INT_PTR OnPageInitDialog(OptionsSession& session, HWND page) {
    const LauncherList* list = Launchers(session);
    const int count = list ? list->count : 0;
    for (int i = 0; i < count; ++i)
        InsertLine(page, i, list->slots[i].name);
    session.storedLauncherCount = StoredLauncherCount(PrefsPath(session));
    // Loading stops only when the list is full, so a larger stored count with room left in the
    // list comes from an earlier failed write (already reported), not from entries beyond 50.
    session.hiddenStoredEntries = count == ListCapacity && session.storedLauncherCount > count
                                      ? session.storedLauncherCount - count
                                      : 0;
    // Drops reach the list box; the page takes them from there.
    SetWindowSubclass(ListBox(page), ListSubclassProc, kListSubclassId, 0);
    AllowDropsFromLowerIntegrity(ListBox(page), SystemMessageFilter());
    return TRUE;
}

INT_PTR OnPageCommand(OptionsSession& session, HWND page, int id, HWND control) {
    if (!Launchers(session) || control == ListBox(page))
        return FALSE;
    const int s = static_cast<int>(SendMessageW(ListBox(page), LB_GETCURSEL, 0, 0));
    switch (id) {
    case IDC_LAUNCHER_ADD:
        OnAdd(session, page);
        return TRUE;
    case IDC_LAUNCHER_REMOVE:
        OnRemove(session, page, s);
        return TRUE;
    case IDC_LAUNCHER_UP:
        OnUp(session, page, s);
        return TRUE;
    case IDC_LAUNCHER_DOWN:
        OnDown(session, page, s);
        return TRUE;
    case IDC_LAUNCHER_PROPERTIES:
        OnProperties(session, page, s);
        return TRUE;
    default:
        return FALSE;
    }
}

// --- property dialog ---------------------------------------------------------------------------

LauncherEntry* PropertyEntry(OptionsSession& session) {
    LauncherList* list = Launchers(session);
    if (!list || session.property.PropertyIndex < 0 || session.property.PropertyIndex >= list->count)
        return nullptr;
    return &list->slots[session.property.PropertyIndex];
}

int PropertyNumber(OptionsSession& session) {
    return session.property.PropertyIndex + 1;
}

void SetPendingIconFile(OptionsSession& session, const wchar_t* text) {
    wcsncpy(session.property.PendingIconFile, text ? text : L"", MAX_PATH - 1);
    session.property.PendingIconFile[MAX_PATH - 1] = L'\0';
}

INT_PTR OnPropertyInitDialog(OptionsSession& session, HWND dialog) {
    const LauncherEntry* e = PropertyEntry(session);
    if (!e) {
        EndDialog(dialog, -1);
        return TRUE;
    }
    SetDlgItemTextW(dialog, IDC_PROPERTY_PATH, e->path.c_str());
    SetDlgItemTextW(dialog, IDC_PROPERTY_NAME, e->name.c_str());
    SetDlgItemTextW(dialog, IDC_PROPERTY_COMMAND_LINE, e->commandLine.c_str());
    SetDlgItemTextW(dialog, IDC_PROPERTY_WORK_FOLDER, e->workFolder.c_str());
    CheckDlgButton(dialog, IDC_PROPERTY_RAISE, e->raise ? BST_CHECKED : BST_UNCHECKED);
    // Closing reads at most this much; a longer text would be cut without the user seeing it.
    for (int id : {IDC_PROPERTY_NAME, IDC_PROPERTY_COMMAND_LINE, IDC_PROPERTY_WORK_FOLDER}) {
        SendDlgItemMessageW(dialog, id, EM_SETLIMITTEXT, kMaxLauncherPath, 0);
    }
    SetPendingIconFile(session, e->iconFile.c_str());
    session.property.PendingIconIndex = e->iconIndex;
    return TRUE;
}

INT_PTR OnPropertyPaint(OptionsSession& session, HWND dialog) {
    const PaintDc paint(dialog);
    HDC dc = paint.get();
    const LauncherEntry* e = PropertyEntry(session);
    if (e && e->icon) {
        // The dialog is scaled for its monitor's DPI, and so is the icon it shows.
        const UINT dpi = WindowDpi(session.program.services.dpi, dialog);
        const int size = ScaleForDpi(session.program.design.iconSize, dpi);
        const POINT origin = PropertyIconOrigin(size, dpi);
        DrawIconEx(dc, origin.x, origin.y, e->icon.get(), size, size, 0, nullptr, DI_NORMAL);
    }
    return TRUE;
}

void OnChangeIcon(OptionsSession& session, HWND dialog) {
    LauncherEntry* e = PropertyEntry(session);
    if (!e || !Pickers(session).pickIcon)
        return;
    const int n = PropertyNumber(session);
    const PropertyDialogState before = session.property;
    SetPendingIconFile(session, ReadLauncherValue(PrefsPath(session), LauncherKey::IconFile, n).c_str());
    if (!Pickers(session).pickIcon(dialog, session.property.PendingIconFile,
                                   &session.property.PendingIconIndex)) {
        session.property = before; // nothing chosen, nothing changes
        return;
    }
    session.property.PendingIconFile[MAX_PATH - 1] = L'\0';
    const std::wstring index = std::to_wstring(session.property.PendingIconIndex);
    bool ok =
        WriteLauncherValue(PrefsPath(session), LauncherKey::IconFile, n, session.property.PendingIconFile);
    ok = WriteLauncherValue(PrefsPath(session), LauncherKey::IconIndex, n, index.c_str()) && ok;
    e->icon.reset(ExtractOneIcon(session.property.PendingIconFile, session.property.PendingIconIndex,
                                 IconSize(session)));
    InvalidateRect(dialog, nullptr, TRUE);
    if (!ok)
        ReportFailedWrite(session, dialog);
}

void OnRevertIcon(OptionsSession& session, HWND dialog) {
    LauncherEntry* e = PropertyEntry(session);
    if (!e)
        return;
    const int n = PropertyNumber(session);
    bool ok = WriteLauncherValue(PrefsPath(session), LauncherKey::IconFile, n, nullptr);
    ok = WriteLauncherValue(PrefsPath(session), LauncherKey::IconIndex, n, nullptr) && ok;
    e->icon.reset(FileIcon(e->path.c_str(), IconSize(session)));
    InvalidateRect(dialog, nullptr, TRUE);
    SetPendingIconFile(session, L"");
    // The file no longer has an index either, and reads it as 0.
    session.property.PendingIconIndex = 0;
    if (!ok)
        ReportFailedWrite(session, dialog);
}

void OnChooseFolder(OptionsSession& session, HWND dialog) {
    std::wstring folder;
    if (!Pickers(session).chooseFolder || !Pickers(session).chooseFolder(dialog, folder))
        return;
    SetDlgItemTextW(dialog, IDC_PROPERTY_WORK_FOLDER, folder.c_str());
}

std::wstring EditText(HWND dialog, int id) {
    wchar_t buffer[MAX_PATH] = {};
    GetDlgItemTextW(dialog, id, buffer, MAX_PATH);
    return buffer;
}

// Closing saves: the three texts are written (or their keys removed when empty), then the entry
// takes them with the icon file and index the dialog shows.
void OnPropertyClose(OptionsSession& session, HWND dialog) {
    if (!PropertyEntry(session)) {
        EndDialog(dialog, 0);
        return;
    }
    const int n = PropertyNumber(session);
    const std::wstring name = EditText(dialog, IDC_PROPERTY_NAME);
    const std::wstring commandLine = EditText(dialog, IDC_PROPERTY_COMMAND_LINE);
    const std::wstring workFolder = EditText(dialog, IDC_PROPERTY_WORK_FOLDER);
    const bool raise = IsDlgButtonChecked(dialog, IDC_PROPERTY_RAISE) == BST_CHECKED;
    bool ok = WriteLauncherValue(PrefsPath(session), LauncherKey::Raise, n, raise ? L"1" : nullptr);
    const struct {
        LauncherKey key;
        const std::wstring& text;
    } fields[] = {{LauncherKey::Name, name},
                  {LauncherKey::CommandLine, commandLine},
                  {LauncherKey::WorkFolder, workFolder}};
    for (const auto& field : fields) {
        ok = WriteLauncherValue(PrefsPath(session), field.key, n,
                                field.text.empty() ? nullptr : field.text.c_str()) &&
             ok;
    }
    UpdateLauncherEntry(*Launchers(session), session.property.PropertyIndex, name.c_str(),
                        commandLine.c_str(), workFolder.c_str(), session.property.PendingIconFile,
                        session.property.PendingIconIndex);
    PropertyEntry(session)->raise = raise;
    if (!ok)
        ReportFailedWrite(session, dialog);
    EndDialog(dialog, 0);
}

INT_PTR OnPropertyCommand(OptionsSession& session, HWND dialog, int id) {
    switch (id) {
    case IDC_PROPERTY_CHANGE_ICON:
        OnChangeIcon(session, dialog);
        return TRUE;
    case IDC_PROPERTY_REVERT_ICON:
        OnRevertIcon(session, dialog);
        return TRUE;
    case IDC_PROPERTY_CHOOSE_FOLDER:
        OnChooseFolder(session, dialog);
        return TRUE;
    // The close box and Escape send IDCANCEL; Enter in an edit sends IDOK. Both close and save.
    case IDCANCEL:
    case IDOK:
        OnPropertyClose(session, dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool ChooseFileToAdd(HWND owner, std::wstring& path) {
    wchar_t file[MAX_PATH] = {};
    const LANGID language = LanguageOf(owner);
    const std::wstring title = LoadText(language, IDS_ADD_ITEM_TITLE);
    // Pairs of a name and a pattern, each ending in a null, and one more null after the last.
    std::wstring filter = LoadText(language, IDS_ALL_FILES);
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str(); // the string's own terminator is the final null
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title.c_str();
    // A chosen shortcut is added as the shortcut itself, not its target.
    ofn.Flags = OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
    if (!GetOpenFileNameW(&ofn)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            ShowErrorBox(Root(owner), AddRefusalText(language, 0, 1));
        return false;
    }
    path = file;
    return true;
}

bool PickEntryIcon(HWND owner, wchar_t* iconFile, int* iconIndex) {
    if (!PickIconDlg(owner, iconFile, MAX_PATH, iconIndex))
        return false;
    // The picker may hand back "%SystemRoot%\..."; the icon extraction here and at the next start
    // takes plain paths only, so the stored file is the expanded one (when it fits).
    if (std::wcschr(iconFile, L'%')) {
        wchar_t expanded[MAX_PATH] = {};
        const DWORD length = ExpandEnvironmentStringsW(iconFile, expanded, MAX_PATH);
        if (length > 0 && length <= MAX_PATH)
            wcsncpy(iconFile, expanded, MAX_PATH);
    }
    return true;
}

bool ChooseWorkFolder(HWND owner, std::wstring& folder) {
    ComInit com;
    LPITEMIDLIST desktop = nullptr;
    SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &desktop);
    const std::wstring title = LoadText(LanguageOf(owner), IDS_WORK_FOLDER_TITLE);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = desktop;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    bool picked = false;
    if (chosen) {
        wchar_t path[MAX_PATH] = {};
        picked = SHGetPathFromIDListW(chosen, path) != FALSE;
        if (picked)
            folder = path;
        CoTaskMemFree(chosen);
    }
    if (desktop)
        CoTaskMemFree(desktop);
    return picked;
}

std::wstring LauncherNameFromPath(const wchar_t* path) {
    if (!path)
        return std::wstring();
    std::wstring name(path);
    const size_t separator = name.find_last_of(L"\\/");
    if (separator != std::wstring::npos)
        name.erase(0, separator + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

int LauncherLineAfterDelete(int removed, int newCount) {
    if (removed == 0)
        return 0;
    if (removed == newCount)
        return removed - 1;
    return removed;
}

MessageFilterFunction SystemMessageFilter() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32)
        return nullptr;
    return reinterpret_cast<MessageFilterFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
}

bool AllowDropsFromLowerIntegrity(HWND window, MessageFilterFunction filter) {
    constexpr DWORD kAllow = 1; // MSGFLT_ALLOW
    if (!filter) {
        OutputDebugStringW(
            L"Mistlewick: no message filter; drops from Explorer may not reach an elevated list\n");
        return false;
    }
    bool allowed = true;
    for (UINT message : kDropMessages) {
        if (!filter(window, message, kAllow, nullptr)) {
            allowed = false;
            const std::wstring text = L"Mistlewick: message " + std::to_wstring(message) +
                                      L" cannot be let through to the launcher list (error " +
                                      std::to_wstring(GetLastError()) + L")\n";
            OutputDebugStringW(text.c_str());
        }
    }
    return allowed;
}

POINT PropertyIconOrigin(int iconSize, UINT dpi) {
    return POINT{ScaleForDpi(100, dpi) - iconSize / 2, ScaleForDpi(70, dpi) - iconSize / 2};
}

std::wstring AddRefusalText(LANGID language, int leftOutFull, int leftOutLong) {
    std::wstring text;
    if (leftOutFull > 0) {
        text = FormatText(language, IDS_LAUNCHER_FULL, {std::to_wstring(ListCapacity)});
        if (leftOutFull > 1 || leftOutLong > 0) {
            text += L"\n" + FormatText(language,
                                       leftOutFull == 1 ? IDS_LAUNCHER_LEFT_OUT_ONE : IDS_LAUNCHER_LEFT_OUT,
                                       {std::to_wstring(leftOutFull)});
        } else {
            text += L"\n" + LoadText(language, IDS_LAUNCHER_NO_MORE);
        }
    }
    if (leftOutLong > 0) {
        if (!text.empty())
            text += L"\n\n";
        text += FormatText(language, leftOutLong == 1 ? IDS_LAUNCHER_TOO_LONG_ONE : IDS_LAUNCHER_TOO_LONG,
                           {std::to_wstring(kMaxLauncherPath), std::to_wstring(leftOutLong)});
    }
    return text;
}

std::wstring HiddenEntriesText(LANGID language, int storedCount) {
    return FormatText(language, IDS_LAUNCHER_HIDDEN,
                      {std::to_wstring(storedCount), std::to_wstring(ListCapacity)});
}

INT_PTR CALLBACK LauncherPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnPageInitDialog(*KeepSession(page, lParam), page);
    OptionsSession* session = SessionOf(page);
    switch (message) {
    case WM_COMMAND:
        return session ? OnPageCommand(*session, page, LOWORD(wParam), reinterpret_cast<HWND>(lParam))
                       : FALSE;
    case WM_DROPFILES:
        if (session && Launchers(*session)) {
            OnDropFiles(*session, page, reinterpret_cast<HDROP>(wParam));
        } else {
            DragFinish(reinterpret_cast<HDROP>(wParam));
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK LauncherPropertyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnPropertyInitDialog(*KeepSession(dialog, lParam), dialog);
    OptionsSession* session = SessionOf(dialog);
    if (!session)
        return FALSE;
    switch (message) {
    case WM_PAINT:
        return OnPropertyPaint(*session, dialog);
    case WM_COMMAND:
        return OnPropertyCommand(*session, dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}

} // namespace mw

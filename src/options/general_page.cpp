#include "options/general_page.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "model/filter.h"
#include "settings/preferences.h"
#include "settings/preferences_file.h"
#include "options/option_settings.h"
#include "options/startup_shortcut.h"
#include "platform/resources_lang.h"
#include "resource.h"
#include "model/program_state.h"

namespace mw {

namespace {

// The check boxes of the page that stand for one preference each (those of the preferences table
// on this page): checked when the value is not 0, and 1 or 0 written when the user changes them.
bool IsCheckBoxOfPage(const PreferenceKey& entry) {
    return entry.page == OptionsPage::General && entry.kind == ControlKind::CheckBox;
}

constexpr int kReplaceOff = 0;
constexpr int kReplaceClickMode = 1;
constexpr int kReplaceStandard = 2;

// The choices of the language box, in the order of the values of "Language".
constexpr UINT kLanguageChoices[] = {IDS_LANGUAGE_AUTO, IDS_LANGUAGE_JAPANESE, IDS_LANGUAGE_ENGLISH};

bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void Check(HWND page, int id, bool checked) {
    CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND page, int id, bool enable) {
    EnableWindow(GetDlgItem(page, id), enable);
}

void EnableReplaceModes(HWND page, bool enable) {
    Enable(page, IDC_GENERAL_STANDARD_MODE, enable);
    Enable(page, IDC_GENERAL_CLICK_MODE, enable);
}

void FillCombo(LANGID language, HWND page, int id, const UINT* texts, int count, int selected) {
    HWND combo = GetDlgItem(page, id);
    for (int i = 0; i < count; ++i) {
        const std::wstring text = LoadText(language, texts[i]);
        SendMessageW(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, selected, 0);
}

void FillExcludedPrograms(HWND page, const std::vector<std::wstring>& names, int selected) {
    HWND list = GetDlgItem(page, IDC_GENERAL_EXCLUDE_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : names)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list, LB_SETCURSEL, selected, 0);
    Enable(page, IDC_GENERAL_EXCLUDE_REMOVE, selected >= 0);
}

// The list as the user left it goes to the file at once, and to the hook, which decides in front
// of which program it stays quiet.
void StoreExcludedPrograms(OptionsSession& session, HWND page, std::vector<std::wstring> names,
                           int selected) {
    ProgramState& program = session.program;
    const size_t previous = program.excludedPrograms.size();
    program.excludedPrograms = std::move(names);
    if (!WriteExcludeProgramSection(program.preferencesPath, program.excludedPrograms, previous))
        ReportFailedWrite(session, page);
    FillExcludedPrograms(page, program.excludedPrograms, selected);
    RefreshDependents(program, Refresh::MouseHook);
}

// The name typed (a full path is cut to its file name, which is what the rule compares); a name
// already listed is only selected.
void OnAddExcludedProgram(OptionsSession& session, HWND page) {
    wchar_t typed[MAX_PATH] = {};
    GetDlgItemTextW(page, IDC_GENERAL_EXCLUDE_NAME, typed, MAX_PATH);
    std::wstring name = ProgramFileName(typed);
    const size_t first = name.find_first_not_of(L" \t\"");
    const size_t last = name.find_last_not_of(L" \t\"");
    name = first == std::wstring::npos ? std::wstring() : name.substr(first, last - first + 1);
    if (name.empty()) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    std::vector<std::wstring> names = session.program.excludedPrograms;
    for (size_t i = 0; i < names.size(); ++i) {
        if (CompareStringOrdinal(names[i].c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) {
            FillExcludedPrograms(page, names, static_cast<int>(i));
            return;
        }
    }
    names.push_back(name);
    const int added = static_cast<int>(names.size()) - 1;
    SetDlgItemTextW(page, IDC_GENERAL_EXCLUDE_NAME, L"");
    StoreExcludedPrograms(session, page, std::move(names), added);
}

void OnRemoveExcludedProgram(OptionsSession& session, HWND page) {
    const LRESULT index = SendDlgItemMessageW(page, IDC_GENERAL_EXCLUDE_LIST, LB_GETCURSEL, 0, 0);
    std::vector<std::wstring> names = session.program.excludedPrograms;
    if (index < 0 || static_cast<size_t>(index) >= names.size())
        return;
    names.erase(names.begin() + index);
    // The entry that took its place is selected, or the new last one.
    const int next = static_cast<int>(index < static_cast<LRESULT>(names.size()) ? index : index - 1);
    StoreExcludedPrograms(session, page, std::move(names), next);
}

INT_PTR OnInitDialog(OptionsSession& session, HWND page) {
    const Preferences& p = session.program.preferences;
    Check(page, IDC_GENERAL_STARTUP, StartupShortcutExists(session.program.services) == 1);
    for (size_t i = 0; i < PreferenceKeyCount(); ++i) {
        const PreferenceKey& entry = PreferenceKeys()[i];
        if (IsCheckBoxOfPage(entry))
            Check(page, entry.control, PreferenceValue(p, entry.id) != 0);
    }

    Check(page, IDC_GENERAL_REPLACE_ALTTAB, p.ReplaceAltTab != kReplaceOff);
    EnableReplaceModes(page, p.ReplaceAltTab != kReplaceOff);
    // Shown even while both are disabled, so the user sees which mode checking "replace Alt+Tab" brings back.
    Check(page, p.ReplaceAltTab == kReplaceClickMode ? IDC_GENERAL_CLICK_MODE : IDC_GENERAL_STANDARD_MODE,
          true);

    Enable(page, IDC_GENERAL_FRAMES_HIDE, p.Altab7 != 0);
    const UINT hideChoices[] = {IDS_FRAMES_MINIMIZE, IDS_FRAMES_HIDE};
    FillCombo(ProgramLanguage(session.program), page, IDC_GENERAL_FRAMES_HIDE, hideChoices, 2,
              p.Altab7_Hide != 0 ? 1 : 0);
    // An unknown value counts as automatic, and the box says so.
    const bool knownLanguage = p.Language == kLanguageJapanese || p.Language == kLanguageEnglish;
    FillCombo(ProgramLanguage(session.program), page, IDC_GENERAL_LANGUAGE, kLanguageChoices, 3,
              knownLanguage ? p.Language : kLanguageAuto);
    FillExcludedPrograms(page, session.program.excludedPrograms, -1);
    return TRUE;
}

void OnStartupClicked(OptionsSession& session, HWND page) {
    const SystemServices& services = session.program.services;
    const bool wanted = IsChecked(page, IDC_GENERAL_STARTUP);
    if (wanted) {
        CreateStartupShortcut(services, ProgramLanguage(session.program));
    } else {
        DeleteStartupShortcut(services);
    }
    // A shortcut that could not be made (or removed) would otherwise look done to the user.
    const bool present = StartupShortcutExists(services) == 1;
    if (present != wanted) {
        Check(page, IDC_GENERAL_STARTUP, present);
        ShowOptionsError(session.program, GetAncestor(page, GA_ROOT),
                         FormatText(ProgramLanguage(session.program),
                                    wanted ? IDS_SHORTCUT_CREATE_FAILED : IDS_SHORTCUT_DELETE_FAILED,
                                    {StartupShortcutPath(services)}));
    }
}

void OnReplaceAltTabClicked(OptionsSession& session, HWND page) {
    const bool on = IsChecked(page, IDC_GENERAL_REPLACE_ALTTAB);
    EnableReplaceModes(page, on);
    const int value =
        !on ? kReplaceOff
            : (IsChecked(page, IDC_GENERAL_STANDARD_MODE) ? kReplaceStandard : kReplaceClickMode);
    ApplyPreference(session, page, PreferenceId::ReplaceAltTab, value);
}

INT_PTR OnCommand(OptionsSession& session, HWND page, int id, int code) {
    if (code == CBN_SELCHANGE && id == IDC_GENERAL_FRAMES_HIDE) {
        const LRESULT index = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
        ApplyPreference(session, page, PreferenceId::Altab7_Hide, index > 0 ? 1 : 0);
        return TRUE;
    }
    if (code == CBN_SELCHANGE && id == IDC_GENERAL_LANGUAGE) {
        const LRESULT index = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
        if (index >= 0)
            ApplyPreference(session, page, PreferenceId::Language, static_cast<int>(index));
        return TRUE;
    }
    if (code == LBN_SELCHANGE && id == IDC_GENERAL_EXCLUDE_LIST) {
        Enable(page, IDC_GENERAL_EXCLUDE_REMOVE, SendDlgItemMessageW(page, id, LB_GETCURSEL, 0, 0) >= 0);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_GENERAL_STARTUP:
        OnStartupClicked(session, page);
        return TRUE;
    case IDC_GENERAL_REPLACE_ALTTAB:
        OnReplaceAltTabClicked(session, page);
        return TRUE;
    case IDC_GENERAL_STANDARD_MODE:
        ApplyPreference(session, page, PreferenceId::ReplaceAltTab, kReplaceStandard);
        return TRUE;
    case IDC_GENERAL_CLICK_MODE:
        ApplyPreference(session, page, PreferenceId::ReplaceAltTab, kReplaceClickMode);
        return TRUE;
    case IDC_GENERAL_EXCLUDE_ADD:
        OnAddExcludedProgram(session, page);
        return TRUE;
    case IDC_GENERAL_EXCLUDE_REMOVE:
        OnRemoveExcludedProgram(session, page);
        return TRUE;
    default:
        break;
    }
    for (size_t i = 0; i < PreferenceKeyCount(); ++i) {
        const PreferenceKey& entry = PreferenceKeys()[i];
        if (!IsCheckBoxOfPage(entry) || entry.control != id)
            continue;
        ApplyPreference(session, page, entry.id, IsChecked(page, id) ? 1 : 0);
        if (id == IDC_GENERAL_FRAMES)
            Enable(page, IDC_GENERAL_FRAMES_HIDE, IsChecked(page, id));
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog(*KeepSession(page, lParam), page);
    OptionsSession* session = SessionOf(page);
    if (!session)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return OnCommand(*session, page, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

} // namespace mw

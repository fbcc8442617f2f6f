#include "options/options_dialog.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "model/program_state.h"
#include "options/about_page.h"
#include "options/general_page.h"
#include "options/launcher_page.h"
#include "options/mouse_page.h"
#include "options/option_settings.h"
#include "platform/resources_lang.h"
#include "platform/dpi.h"
#include "resource.h"

namespace mw {

namespace {

// One opening of the dialog, kept in the dialog's DWLP_USER; the pages keep its session.
struct OptionsDialog {
    OptionsDialog(ProgramState& program, int initial) : session(program), initialValue(initial) {}
    OptionsSession session;
    int initialValue;
    OptionsDialogState state;
    // Slot of each tab, in tab order (with one tab in launcher-only mode).
    std::array<int, 4> tabSlots{};
    int tabCount = 0;
};

struct PageDefinition {
    UINT tabText;
    int templateId;
    DLGPROC proc;
    bool inLauncherOnlyMode;
};

// In slot order, which is also the tab order.
const PageDefinition kPages[] = {
    {IDS_TAB_MOUSE, IDD_PAGE_MOUSE, MousePageProc, false},
    {IDS_TAB_GENERAL, IDD_PAGE_GENERAL, GeneralPageProc, false},
    {IDS_TAB_LAUNCHER, IDD_PAGE_LAUNCHER, LauncherPageProc, true},
    {IDS_TAB_ABOUT, IDD_PAGE_ABOUT, AboutPageProc, false},
};

void RegisterControlClasses() {
    INITCOMMONCONTROLSEX classes{sizeof classes,
                                 ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
}

INT_PTR OnInitDialog(HWND dialog, OptionsDialog& d) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
    d.session.program.optionsDialog = dialog;
    OptionsDialogState& state = d.state;
    const bool launcherOnly = d.initialValue == kOptionsLauncherOnly;
    state.dialog = dialog;
    state.tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
    // Tab and arrow keys reach the controls of the page inside the tab control.
    SetWindowLongPtrW(state.tab, GWL_EXSTYLE,
                      GetWindowLongPtrW(state.tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);

    d.tabCount = 0;
    for (int slot = 0; slot < 4; ++slot) {
        const PageDefinition& page = kPages[slot];
        if (launcherOnly && !page.inLauncherOnlyMode)
            continue;
        std::wstring text = LoadText(ProgramLanguage(d.session.program), page.tabText);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(state.tab, TCM_INSERTITEMW, slot, reinterpret_cast<LPARAM>(&item));
        d.tabSlots[d.tabCount++] = slot;
    }
    for (int slot = 0; slot < 4; ++slot) {
        const PageDefinition& page = kPages[slot];
        if (launcherOnly && !page.inLauncherOnlyMode)
            continue;
        state.OptionPages[slot] = CreateDialogInLanguage(
            ProgramLanguage(d.session.program), d.session.program.instance, page.templateId, state.tab,
            page.proc, reinterpret_cast<LPARAM>(&d.session));
    }

    RECT area{};
    GetClientRect(state.tab, &area);
    SendMessageW(state.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (HWND page : state.OptionPages) {
        if (!page)
            continue;
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    }

    state.CurrentOptionPage = state.OptionPages[launcherOnly ? kSlotLauncher : kSlotMouse];
    if (state.CurrentOptionPage)
        ShowWindow(state.CurrentOptionPage, SW_SHOW);
    // On the monitor the user is working on, wholly inside its work area where it fits.
    CentreOnCursorMonitor(d.session.program.services.dpi, dialog);
    return TRUE;
}

INT_PTR OnNotify(OptionsDialog& d, const NMHDR* header) {
    if (header->idFrom != IDC_OPTIONS_TAB || header->code != TCN_SELCHANGE)
        return FALSE;
    OptionsDialogState& state = d.state;
    const LRESULT index = SendMessageW(state.tab, TCM_GETCURSEL, 0, 0);
    if (index < 0 || index >= d.tabCount)
        return TRUE;
    HWND next = state.OptionPages[d.tabSlots[index]];
    if (!next)
        return TRUE;
    if (state.CurrentOptionPage)
        ShowWindow(state.CurrentOptionPage, SW_HIDE);
    ShowWindow(next, SW_SHOW);
    state.CurrentOptionPage = next;
    return TRUE;
}

void DestroyPages(OptionsDialogState& state) {
    for (HWND& page : state.OptionPages) {
        if (page)
            DestroyWindow(page);
        page = nullptr;
    }
    state.CurrentOptionPage = nullptr;
}

INT_PTR OnCommand(OptionsDialog& d, HWND dialog, int id) {
    // OK closes whatever the notification; nothing else does (Escape sends IDCANCEL, ignored).
    if (id != IDC_OPTIONS_OK)
        return id == IDCANCEL;
    DestroyPages(d.state);
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR OnDestroy(OptionsDialog& d) {
    DestroyPages(d.state);
    d.state = OptionsDialogState{};
    d.session.program.optionsDialog = nullptr;
    return FALSE;
}

OptionsDialog* DialogOf(HWND dialog) {
    return dialog ? reinterpret_cast<OptionsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER)) : nullptr;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog(dialog, *reinterpret_cast<OptionsDialog*>(lParam));
    OptionsDialog* d = DialogOf(dialog);
    if (!d)
        return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return OnNotify(*d, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return OnCommand(*d, dialog, LOWORD(wParam));
    case WM_DESTROY:
        return OnDestroy(*d);
    default:
        return FALSE;
    }
}

} // namespace

const OptionsDialogState& CurrentOptionsDialog(const ProgramState& program) {
    static const OptionsDialogState kClosed;
    const OptionsDialog* d = DialogOf(program.optionsDialog);
    return d ? d->state : kClosed;
}

INT_PTR RunOptionsDialog(ProgramState& program, HWND parent, int initialValue) {
    if (program.optionsDialog) {
        if (IsIconic(program.optionsDialog))
            ShowWindow(program.optionsDialog, SW_RESTORE);
        SetForegroundWindow(program.optionsDialog);
        return kOptionsAlreadyOpen;
    }
    // The template's tab control and the pages' slider and up-down controls need their classes
    // before the dialog is created, not only once it initialises.
    RegisterControlClasses();
    // A new opening: the next failed write is reported again.
    OptionsDialog dialog(program, initialValue);
    // The pages and the dialog are in the language chosen now; a change on the General page
    // shows at the next opening.
    const INT_PTR result = DialogBoxInLanguage(ProgramLanguage(program), program.instance, IDD_OPTIONS,
                                               parent, OptionsDialogProc, reinterpret_cast<LPARAM>(&dialog));
    program.optionsDialog = nullptr;
    if (result == -1)
        ShowOptionsError(program, parent, LoadText(ProgramLanguage(program), IDS_OPTIONS_OPEN_FAILED));
    return result;
}

} // namespace mw

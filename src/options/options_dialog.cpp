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

OptionsDialogState g_state;

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

// Slot of each tab, in tab order (with one tab in launcher-only mode).
std::array<int, 4> g_tabSlots{};
int g_tabCount = 0;

void RegisterControlClasses() {
    INITCOMMONCONTROLSEX classes{sizeof classes,
                                 ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
}

INT_PTR OnInitDialog(HWND dialog, int initialValue) {
    const bool launcherOnly = initialValue == kOptionsLauncherOnly;
    g_state.dialog = dialog;
    g_state.tab = GetDlgItem(dialog, IDC_OPTIONS_TAB);
    // Tab and arrow keys reach the controls of the page inside the tab control.
    SetWindowLongPtrW(g_state.tab, GWL_EXSTYLE,
                      GetWindowLongPtrW(g_state.tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);

    g_tabCount = 0;
    for (int slot = 0; slot < 4; ++slot) {
        const PageDefinition& page = kPages[slot];
        if (launcherOnly && !page.inLauncherOnlyMode)
            continue;
        std::wstring text = LoadText(page.tabText);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(g_state.tab, TCM_INSERTITEMW, slot, reinterpret_cast<LPARAM>(&item));
        g_tabSlots[g_tabCount++] = slot;
    }
    for (int slot = 0; slot < 4; ++slot) {
        const PageDefinition& page = kPages[slot];
        if (launcherOnly && !page.inLauncherOnlyMode)
            continue;
        g_state.OptionPages[slot] =
            CreateDialogInLanguage(Program().instance, page.templateId, g_state.tab, page.proc, 0);
    }

    RECT area{};
    GetClientRect(g_state.tab, &area);
    SendMessageW(g_state.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (HWND page : g_state.OptionPages) {
        if (!page)
            continue;
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    }

    g_state.CurrentOptionPage = g_state.OptionPages[launcherOnly ? kSlotLauncher : kSlotMouse];
    if (g_state.CurrentOptionPage)
        ShowWindow(g_state.CurrentOptionPage, SW_SHOW);
    // On the monitor the user is working on, wholly inside its work area where it fits.
    CentreOnCursorMonitor(dialog);
    return TRUE;
}

INT_PTR OnNotify(const NMHDR* header) {
    if (header->idFrom != IDC_OPTIONS_TAB || header->code != TCN_SELCHANGE)
        return FALSE;
    const LRESULT index = SendMessageW(g_state.tab, TCM_GETCURSEL, 0, 0);
    if (index < 0 || index >= g_tabCount)
        return TRUE;
    HWND next = g_state.OptionPages[g_tabSlots[index]];
    if (!next)
        return TRUE;
    if (g_state.CurrentOptionPage)
        ShowWindow(g_state.CurrentOptionPage, SW_HIDE);
    ShowWindow(next, SW_SHOW);
    g_state.CurrentOptionPage = next;
    return TRUE;
}

void DestroyPages() {
    for (HWND& page : g_state.OptionPages) {
        if (page)
            DestroyWindow(page);
        page = nullptr;
    }
    g_state.CurrentOptionPage = nullptr;
}

INT_PTR OnCommand(HWND dialog, int id) {
    // OK closes whatever the notification; nothing else does (Escape sends IDCANCEL, ignored).
    if (id != IDC_OPTIONS_OK)
        return id == IDCANCEL;
    DestroyPages();
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR OnDestroy() {
    DestroyPages();
    g_state = OptionsDialogState{};
    return FALSE;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, static_cast<int>(lParam));
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_DESTROY:
        return OnDestroy();
    default:
        return FALSE;
    }
}

} // namespace

const OptionsDialogState& CurrentOptionsDialog() {
    return g_state;
}

INT_PTR RunOptionsDialog(HWND parent, int initialValue) {
    if (g_state.dialog) {
        if (IsIconic(g_state.dialog))
            ShowWindow(g_state.dialog, SW_RESTORE);
        SetForegroundWindow(g_state.dialog);
        return kOptionsAlreadyOpen;
    }
    // The template's tab control and the pages' slider and up-down controls need their classes
    // before the dialog is created, not only once it initialises.
    RegisterControlClasses();
    BeginOptionsSession();
    // The pages and the dialog are in the language chosen now; a change on the General page
    // shows at the next opening.
    const INT_PTR result =
        DialogBoxInLanguage(Program().instance, IDD_OPTIONS, parent, OptionsDialogProc, initialValue);
    g_state = OptionsDialogState{};
    if (result == -1)
        ShowOptionsError(parent, LoadText(IDS_OPTIONS_OPEN_FAILED));
    return result;
}

} // namespace mw

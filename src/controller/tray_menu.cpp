#include "controller/tray_menu.h"

#include "controller/hook_status.h"
#include "controller/tray.h"
#include "system/hook_client.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "options/options_dialog.h"
#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

void ShowTrayMenu(ProgramState& program, HWND mainWindow) {
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(mainWindow);
    POINT cursor{};
    GetCursorPos(&cursor);
    // Loaded at every showing, so a change of language shows at the next right-click.
    UniqueMenu menu(LoadMenuInLanguage(ProgramLanguage(program), program.instance, IDR_TRAYMENU));
    if (menu) {
        HMENU popup = GetSubMenu(menu.get(), 0);
        CheckMenuItem(popup, IDM_PAUSE, MF_BYCOMMAND | (program.paused ? MF_CHECKED : MF_UNCHECKED));
        program.services.trackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, cursor.x,
                                        cursor.y, 0, mainWindow, nullptr);
    }
    menu.reset();
    // Lets the menu's modal state end properly before the next click on the icon.
    PostMessageW(mainWindow, WM_NULL, 0, 0);
}

void TogglePause(ProgramState& program, HWND mainWindow) {
    if (!program.paused && HookInTrouble(program)) {
        // The icon shows a hook that is missing, not a pause: a click tries again at once.
        RetryHookNow(program, mainWindow, true);
        return;
    }
    if (!program.paused) {
        RemoveMouseHook(program);
        program.paused = true;
        NoteHookInstalled(program); // nothing is missing while the user wants it off
    } else {
        program.paused = false;
        if (InstallMouseHook(program, mainWindow, program.preferences) != 0)
            NoteHookInstalled(program);
        else
            NoteHookRefused(program, mainWindow); // told, and the icon keeps the paused picture
    }
    RefreshHookTrouble(program, mainWindow);
}

LRESULT OnTrayCallback(ProgramState& program, HWND mainWindow, LPARAM mouseMessage) {
    if (mouseMessage == kTrayRightButtonUp) {
        ShowTrayMenu(program, mainWindow);
    } else if (mouseMessage == kTrayLeftButtonUp) {
        TogglePause(program, mainWindow);
    }
    return 0;
}

bool OnTrayCommand(ProgramState& program, HWND mainWindow, WORD id) {
    switch (id) {
    case IDM_EXIT:
        DestroyWindow(mainWindow);
        return true;
    case IDM_OPTIONS:
        RunOptionsDialog(program, nullptr, kOptionsAllPages);
        return true;
    case IDM_PAUSE:
        PostMessageW(mainWindow, kMsgTrayCallback, 0, kTrayLeftButtonUp);
        return true;
    default:
        return false;
    }
}

} // namespace mw

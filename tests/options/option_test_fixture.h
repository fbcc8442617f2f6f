// Shared by the options and tray tests: a fresh program state with a preferences file in a temp
// folder, the hook library replaced by recorders, error boxes recorded instead of shown, and a
// driver that runs the modal options dialog with a script inside its message loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "system/hook_client.h"
#include "model/item_list.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "options/option_settings.h"
#include "options/options_dialog.h"
#include "options/startup_shortcut.h"
#include "support/harness.h"
#include "support/temp_dir.h"

namespace mw::test {

struct HookCall {
    bool start; // false: EndHook
    HWND window;
    std::array<int, 6> args;
};

inline std::vector<HookCall>& HookCalls() {
    static std::vector<HookCall> calls;
    return calls;
}

inline HWND& LastHookWindow() {
    static HWND window = nullptr;
    return window;
}

inline int RecordStart(HWND window, int a, int b, int c, int d, int e, int f) {
    HookCalls().push_back({true, window, {a, b, c, d, e, f}});
    LastHookWindow() = window;
    return 1;
}

inline HWND RecordEnd() {
    HookCalls().push_back({false, nullptr, {}});
    return LastHookWindow();
}

inline std::vector<std::wstring>& ErrorMessages() {
    static std::vector<std::wstring> messages;
    return messages;
}

inline void RecordError(HWND, const std::wstring& text) {
    ErrorMessages().push_back(text);
}

class OptionsTest : public ::testing::Test {
  protected:
    // A fresh program for each test: a preferences file in a temp folder, the hook library
    // replaced by recorders, error boxes recorded, the Startup folder in the temp folder.
    void SetUp() override {
        program_.services.hook.start = RecordStart;
        program_.services.hook.end = RecordEnd;
        HookCalls().clear();
        LastHookWindow() = nullptr;
        ErrorMessages().clear();
        program_.services.optionsErrorMessage = RecordError;
        program_.instance = GetModuleHandleW(nullptr);
        program_.preferencesPath = temp_.file(L"Mistlewick.exe.ini");
        program_.commandList = CreateItemList();
        startupFolder_ = temp_.file(L"Startup");
        CreateDirectoryW(startupFolder_.c_str(), nullptr);
        program_.services.startupFolder = startupFolder_;
        host_ = CreateTestWindow(L"options host", WS_OVERLAPPEDWINDOW); // hidden: pages need no screen
    }
    void TearDown() override {
        if (host_)
            DestroyWindow(host_);
    }

    // The text of a key of "Preference" in the file, or "<none>".
    std::wstring FileValue(const wchar_t* key) const {
        wchar_t buffer[64];
        GetPrivateProfileStringW(L"Preference", key, L"<none>", buffer, 64, program_.preferencesPath.c_str());
        return buffer;
    }

    // A page of one opening of the dialog (session_), without the dialog around it.
    HWND CreatePage(int templateId, DLGPROC proc) {
        return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), host_, proc,
                                  reinterpret_cast<LPARAM>(&session_));
    }

    // The last StartMouseHook call, or a failure when none was made.
    const HookCall& LastStart() const {
        for (auto it = HookCalls().rbegin(); it != HookCalls().rend(); ++it) {
            if (it->start)
                return *it;
        }
        ADD_FAILURE() << "StartMouseHook was never called";
        static HookCall none{};
        return none;
    }

    TempDir temp_;
    ProgramState program_;
    OptionsSession session_{program_}; // one opening of the dialog, for pages made without it
    std::wstring startupFolder_;
    HWND host_ = nullptr;
};

// Helpers that drive controls the way the user's actions arrive.
inline void Click(HWND page, int id) {
    SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0);
}
inline bool Checked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}
inline bool Enabled(HWND page, int id) {
    return IsWindowEnabled(GetDlgItem(page, id)) != FALSE;
}
inline bool VisibleStyle(HWND page, int id) {
    return (GetWindowLongPtrW(GetDlgItem(page, id), GWL_STYLE) & WS_VISIBLE) != 0;
}
inline std::wstring Text(HWND window) {
    wchar_t buffer[1024] = L"";
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}
inline std::wstring ItemText(HWND page, int id) {
    return Text(GetDlgItem(page, id));
}

// UDN_DELTAPOS as the up-down control sends it to its parent; returns the parent's answer.
inline LRESULT SendDeltaPos(HWND page, int id, int position, int delta) {
    NMUPDOWN step{};
    step.hdr.hwndFrom = GetDlgItem(page, id);
    step.hdr.idFrom = static_cast<UINT_PTR>(id);
    step.hdr.code = UDN_DELTAPOS;
    step.iPos = position;
    step.iDelta = delta;
    SendMessageW(page, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&step));
    return GetWindowLongPtrW(page, DWLP_MSGRESULT);
}

// Runs the modal options dialog; `script` runs inside its message loop once the dialog exists,
// then the OK button is clicked. Returns what RunOptionsDialog returned.
inline std::function<void(HWND)>& DialogScript() {
    static std::function<void(HWND)> script;
    return script;
}

// The program whose dialog the script waits for.
inline ProgramState*& DialogProgram() {
    static ProgramState* program = nullptr;
    return program;
}

inline void CALLBACK DialogScriptTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = DialogProgram() ? CurrentOptionsDialog(*DialogProgram()).dialog : nullptr;
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, id);
    if (DialogScript())
        DialogScript()(dialog);
    if (IsWindow(dialog))
        SendMessageW(GetDlgItem(dialog, 1000), BM_CLICK, 0, 0);
}

inline INT_PTR RunOptionsDialogWith(ProgramState& program, int initialValue, std::function<void(HWND)> script,
                                    std::function<INT_PTR(int)> run = nullptr) {
    DialogScript() = std::move(script);
    DialogProgram() = &program;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, DialogScriptTimer);
    const INT_PTR result = run ? run(initialValue) : RunOptionsDialog(program, nullptr, initialValue);
    KillTimer(nullptr, timer);
    DialogScript() = nullptr;
    DialogProgram() = nullptr;
    return result;
}

} // namespace mw::test

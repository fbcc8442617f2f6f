#include "app/startup.h"

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/launcher_file.h"
#include "app/preferences_file.h"
#include "controller/frame_preview.h"
#include "controller/main_window.h"
#include "controller/popup_controller.h"
#include "controller/tray.h"
#include "hook/hook.h"
#include "model/hook_client.h"
#include "model/list_building.h"
#include "model/preferences.h"
#include "model/program_state.h"
#include "model/thumbnail_api.h"
#include "options/options_dialog.h"
#include "resource.h"
#include "view/design.h"
#include "view/design_file.h"
#include "view/frame_window.h"
#include "view/icon_window.h"

namespace mw {

namespace {

constexpr wchar_t kProgramName[] = L"Mistlewick";

// Every window class of the program shares these fields.
void RegisterProgramClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* className) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

void ShowError(HWND parent, const wchar_t* text) {
    MessageBoxW(parent, text, kProgramName, MB_OK | MB_ICONERROR);
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void LoadLauncherEntries(ProgramState& program) {
    program.launcherList = CreateLauncherList();
    LoadLauncherSection(program.preferencesPath, CurrentDesign().iconSize, *program.launcherList);
}

void ReleaseLists(ProgramState& program) {
    for (auto* list : {program.commandList.get(), program.savedWindowList.get()}) {
        if (list)
            ClearItemList(*list);
    }
    program.commandList.reset();
    program.savedWindowList.reset();
}

} // namespace

bool IsSecondStart(bool mutexCreated, DWORD error, bool notResident) {
    if (notResident)
        return false;
    // An instance running elevated owns a mutex that an unelevated start may not open: that
    // start fails with "access denied" instead of finding the mutex, and is a second start all
    // the same.
    return (mutexCreated && error == ERROR_ALREADY_EXISTS) || (!mutexCreated && error == ERROR_ACCESS_DENIED);
}

int RunApplication(HINSTANCE instance, const wchar_t* commandLine) {
    ProgramState& program = Program();
    StartupFlags& flags = CurrentStartupFlags();
    Preferences& prefs = CurrentPreferences();
    const std::wstring exePath = ExecutablePath();

    const CommandLineResult parsed = ParseCommandLine(commandLine, exePath, flags);
    if (parsed.pathTooLong) {
        // Never fall back to another file than the one asked for.
        ShowPathTooLongMessage(parsed.preferencesPath);
        return 0;
    }
    program.preferencesPath = parsed.preferencesPath;

    UniqueHandle mutex;
    if (!parsed.launcherOptionsMode) {
        HANDLE created = CreateMutexW(nullptr, FALSE, kProgramName);
        const DWORD mutexError = GetLastError();
        mutex.reset(created);
        if (IsSecondStart(created != nullptr, mutexError, flags.NotResident)) {
            ShowError(nullptr, L"既に起動しています.");
            return 0;
        }
        program.instance = instance;
        // Windows that an earlier run put away for its frame preview and could not bring back
        // (it was killed) come back now.
        RestoreWindowsLeftHidden();
        RegisterProgramClass(instance, MainWindowProc, kProgramName);
        program.mainWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kProgramName, kProgramName,
                                             WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    } else {
        program.instance = instance;
    }

    if (program.preferencesPath.empty())
        program.preferencesPath = DefaultPreferencesPath(exePath);
    LoadPreferences(program.preferencesPath, flags.NotResident, prefs);
    LoadExcludeSection(program.preferencesPath);
    LoadDesign(program.mainWindow, DesignPathForExe(exePath), CurrentDesign());
    LoadLauncherEntries(program);

    if (parsed.launcherOptionsMode) {
        RunOptionsDialog(nullptr, kOptionsLauncherOnly);
    } else {
        program.commandList = CreateItemList();
        program.savedWindowList = CreateItemList();
        BuildCommandList(*program.commandList, prefs, flags.LauncherOnly, CurrentDesign().iconSize, instance);

        RegisterProgramClass(instance, FrameWindowProc, FrameWindowClass);
        if (CurrentDesign().thumbnail && CurrentDesign().thumbnailOverlay) {
            RegisterProgramClass(instance, IconWindowProc, IconWindowClass);
        }
        bool thumbnailsLoaded = false;
        if (CurrentDesign().thumbnail) {
            thumbnailsLoaded = LoadThumbnailApi();
            if (!thumbnailsLoaded)
                CurrentDesign().thumbnail = 0;
        }

        bool loop = true;
        if (flags.NotResident) {
            PostMessageW(program.mainWindow, kMsgOpenPopup, 0, 0);
        } else {
            const bool hooked = LoadHookLibrary(ExecutableFolder(exePath)) &&
                                InstallMouseHook(program.mainWindow, prefs) != 0;
            if (!hooked) {
                ShowError(program.mainWindow, L"マウスフックに失敗");
                loop = false;
            } else {
                AddTrayIcon(program.mainWindow, instance, false);
            }
        }

        if (loop) {
            RunMessageLoop();
            ResetController();
            if (thumbnailsLoaded)
                UnloadThumbnailApi();
            if (!flags.NotResident) {
                RemoveTrayIcon(program.mainWindow);
                RemoveMouseHook();
            }
        }
        UnloadHookLibrary();
        if (program.mainWindow && IsWindow(program.mainWindow))
            DestroyWindow(program.mainWindow);
        mutex.reset();
        ReleaseLists(program);
    }

    program.preferencesPath.clear();
    if (program.launcherList)
        ClearLauncherList(*program.launcherList);
    program.launcherList.reset();
    return 0;
}

} // namespace mw

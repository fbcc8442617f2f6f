#include "app/startup.h"

#include <memory>
#include <string>

#include "app/command_line.h"
#include "model/exclude_set.h"
#include "model/launcher_section.h"
#include "settings/preferences_file.h"
#include "controller/application.h"
#include "controller/frame_preview.h"
#include "controller/main_window.h"
#include "controller/popup_controller.h"
#include "controller/tray.h"
#include "controller/warm_up.h"
#include "hook/hook.h"
#include "system/hook_client.h"
#include "model/list_building.h"
#include "settings/preferences.h"
#include "model/program_state.h"
#include "system/thumbnail_api.h"
#include "platform/log.h"
#include "options/options_dialog.h"
#include "platform/resources_lang.h"
#include "platform/dpi.h"
#include "platform/unique_handle.h"
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
    // The system's sizes for large and small icons, which follow its DPI.
    const int large = GetSystemMetrics(SM_CXICON);
    const int small = GetSystemMetrics(SM_CXSMICON);
    wc.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, large, large, 0));
    wc.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, small, small, 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc))
        LogError((std::wstring(L"Registering the window class ") + className).c_str(), GetLastError());
}

void ShowError(const ProgramState& program, HWND parent, UINT textId) {
    ShowErrorBox(parent, LoadText(ProgramLanguage(program), textId));
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The launcher and command icons are loaded at the size the first popup will need: the design's
// size at the DPI of the cursor's monitor. A popup on a monitor of another DPI reloads them.
void ChooseListIconSize(ProgramState& program) {
    program.listIconSize = ScaleForDpi(program.design.iconSize, MonitorAtCursor(program.services.dpi).dpi);
}

void LoadLauncherEntries(ProgramState& program) {
    program.launcherList = CreateLauncherList();
    LoadLauncherSection(program.preferencesPath, program.listIconSize, *program.launcherList);
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
    // The shell functions that start launcher entries and read file icons need the component
    // system on this thread; it stays initialised until the thread has nothing left to do.
    const ComInit com;
    if (!com.ok())
        OutputDebugStringW(L"Mistlewick: the component system could not be initialised\n");
    // The one application object of the run: everything after start-up reaches it through the
    // main window or gets it handed in.
    const auto app = std::make_unique<Application>();
    ProgramState& program = app->program;
    StartupFlags& flags = program.flags;
    Preferences& prefs = program.preferences;
    const std::wstring exePath = ExecutablePath();

    const CommandLineResult parsed = ParseCommandLine(commandLine, exePath, flags);
    if (parsed.pathTooLong) {
        // Never fall back to another file than the one asked for.
        ShowPathTooLongMessage(parsed.preferencesPath);
        return 0;
    }
    program.preferencesPath = parsed.preferencesPath;
    if (program.preferencesPath.empty())
        program.preferencesPath = DefaultPreferencesPath(exePath);
    if (parsed.logToFile)
        OpenFileLog(ExecutableFolder(program.preferencesPath));
    Log(L"start: %ls, preferences %ls%ls%ls%ls", exePath.c_str(), program.preferencesPath.c_str(),
        flags.NotResident ? L", not resident" : L"", parsed.launcherOptionsMode ? L", launcher options" : L"",
        flags.LauncherOnly ? L", launcher only" : L"");
    // Read before anything is shown, so even the first message box is in the user's language.
    LoadPreferences(program.preferencesPath, flags.NotResident, prefs);

    UniqueHandle mutex;
    if (!parsed.launcherOptionsMode) {
        HANDLE created = CreateMutexW(nullptr, FALSE, kProgramName);
        const DWORD mutexError = GetLastError();
        mutex.reset(created);
        if (IsSecondStart(created != nullptr, mutexError, flags.NotResident)) {
            ShowError(program, nullptr, IDS_ALREADY_RUNNING);
            return 0;
        }
        program.instance = instance;
        // Windows that an earlier run put away for its frame preview and could not bring back
        // (it was killed) come back now.
        RestoreWindowsLeftHidden(program.services);
        RegisterProgramClass(instance, MainWindowProc, kProgramName);
        program.mainWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kProgramName, kProgramName,
                                             WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, app.get());
        if (!program.mainWindow) {
            // Without its window the program can neither hook nor show anything: say so and end
            // before anything else is set up.
            LogError(L"Creating the main window", GetLastError());
            ShowError(program, nullptr, IDS_WINDOW_FAILED);
            program.preferencesPath.clear();
            return 0;
        }
        LetTrayMessagesThrough(program.mainWindow);
    } else {
        program.instance = instance;
    }

    LoadExcludeSection(program.excluded, program.preferencesPath);
    program.excludedPrograms = ReadExcludeProgramSection(program.preferencesPath);
    LoadDesign(program.mainWindow, DesignPathForExe(exePath), program.design);
    ChooseListIconSize(program);
    LoadLauncherEntries(program);

    if (parsed.launcherOptionsMode) {
        RunOptionsDialog(program, nullptr, kOptionsLauncherOnly);
    } else {
        program.commandList = CreateItemList();
        program.savedWindowList = CreateItemList();
        BuildCommandList(*program.commandList, prefs, flags.LauncherOnly, program.listIconSize, instance);

        RegisterProgramClass(instance, FrameWindowProc, FrameWindowClass);
        if (program.design.thumbnail && program.design.thumbnailOverlay) {
            RegisterProgramClass(instance, IconWindowProc, IconWindowClass);
        }
        bool thumbnailsLoaded = false;
        if (program.design.thumbnail) {
            thumbnailsLoaded = LoadThumbnailApi(program);
            if (!thumbnailsLoaded)
                program.design.thumbnail = 0;
        }

        bool loop = true;
        if (flags.NotResident) {
            PostMessageW(program.mainWindow, kMsgOpenPopup, 0, 0);
        } else {
            const bool hooked = LoadHookLibrary(program, ExecutableFolder(exePath)) &&
                                InstallMouseHook(program, program.mainWindow, prefs) != 0;
            if (!hooked) {
                Log(L"the mouse hook could not be installed");
                ShowError(program, program.mainWindow, IDS_HOOK_FAILED);
                loop = false;
            } else {
                Log(L"mouse hook installed");
                if (AddTrayIcon(program, program.mainWindow, instance, false))
                    Log(L"tray icon added");
                else
                    LogError(L"Adding the tray icon", GetLastError());
                ScheduleWarmUp(program.mainWindow);
            }
        }

        if (loop) {
            RunMessageLoop();
            ResetController(*app);
            if (thumbnailsLoaded)
                UnloadThumbnailApi(program);
            if (!flags.NotResident) {
                RemoveTrayIcon(program, program.mainWindow);
                RemoveMouseHook(program);
            }
        }
        UnloadHookLibrary(program);
        if (program.mainWindow && IsWindow(program.mainWindow))
            DestroyWindow(program.mainWindow);
        mutex.reset();
        ReleaseLists(program);
    }

    program.preferencesPath.clear();
    if (program.launcherList)
        ClearLauncherList(*program.launcherList);
    program.launcherList.reset();
    Log(L"exit");
    CloseFileLog();
    return 0;
}

} // namespace mw

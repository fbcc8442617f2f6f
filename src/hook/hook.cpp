// hook.dll: a low-level mouse hook that runs on a thread of its own, with its own message loop,
// so a busy user-interface thread in the program never delays the system's mouse.
#include "hook/hook.h"

namespace {

struct HookState {
    HWND target = nullptr;
    HHOOK mouseHook = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HANDLE ready = nullptr;
    bool installed = false;
};

HookState g_state;
HINSTANCE g_module = nullptr;

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI HookThread(LPVOID) {
    MSG msg;
    // Make sure the thread has a message queue before anybody posts to it.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    g_state.mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
    g_state.installed = g_state.mouseHook != nullptr;
    SetEvent(g_state.ready);
    if (!g_state.installed) return 1;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(g_state.mouseHook);
    g_state.mouseHook = nullptr;
    return 0;
}

void StopThread() {
    if (!g_state.thread) return;
    PostThreadMessageW(g_state.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_state.thread, 5000);
    CloseHandle(g_state.thread);
    g_state.thread = nullptr;
    g_state.threadId = 0;
    g_state.installed = false;
}

}  // namespace

extern "C" int StartMouseHook(HWND window, int, int, int, int, int, int) {
    StopThread();
    g_state.target = window;
    g_state.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_state.thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, &g_state.threadId);
    if (!g_state.thread) {
        CloseHandle(g_state.ready);
        return 0;
    }
    WaitForSingleObject(g_state.ready, 5000);
    CloseHandle(g_state.ready);
    g_state.ready = nullptr;
    if (!g_state.installed) {
        StopThread();
        return 0;
    }
    return 1;
}

extern "C" HWND EndHook() {
    StopThread();
    return g_state.target;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // FreeLibrary: end the hook thread cleanly. At process exit the thread is already gone.
        StopThread();
    }
    return TRUE;
}

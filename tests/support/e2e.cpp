#include "support/e2e.h"

#include "hook/hook.h"
#include "support/temp_dir.h"

namespace mw::test {

bool Target::Start(const std::wstring& title, bool hanging) {
    const wchar_t* exe = hanging ? L"\\hanging_window.exe" : L"\\target_window.exe";
    const wchar_t* cls = hanging ? L"MwHangingWindow" : L"MwTargetWindow";
    if (!process.Start(BinDir() + exe, L"\"" + title + L"\"", BinDir()))
        return false;
    return WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(process.pid(), cls)) {
                if (IsWindowVisible(w))
                    window = w;
            }
            return window != nullptr;
        },
        10000);
}

bool Resident::ChooseFirstLauncherEntry() {
    PlaceCursor(1500, 900);
    MouseButton(false, true);
    PumpFor(40);
    MouseWheel(-120);
    PumpFor(40);
    const bool shown = Visible();
    PumpFor(200);
    MouseButton(false, false);
    return shown && Closed();
}

void UseRecordingHook(const ProgramSandbox& sandbox) {
    CopyFileW((BinDir() + L"\\recording_hook.dll").c_str(), sandbox.file(L"hook.dll").c_str(), FALSE);
}

bool Resident::Start(const std::wstring& preferences, const std::wstring& args, bool realHook) {
    if (!realHook)
        UseRecordingHook(sandbox);
    sandbox.WritePreferences(L"[Exclude]\r\ncnt=1\r\n1=Wine System Tray\r\n" + preferences);
    if (!sandbox.Start(args) || !sandbox.WaitResident())
        return false;
    main = sandbox.WaitMainWindow();
    return main != nullptr;
}

bool Resident::Open() {
    PostMessageW(main, kMsgOpenPopup, 0, 0);
    return Visible();
}

bool Resident::Visible() {
    return WaitFor([&] { return IsWindowVisible(main) != FALSE; });
}

bool Resident::Closed() {
    return WaitFor([&] { return !IsWindowVisible(main); });
}

bool StopsAnswering(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result) == 0;
}

bool Resident::Answers(UINT timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

std::string Resident::HookCalls() const {
    return ReadFileBytes(sandbox.file(L"hook-calls.txt"));
}

std::string Describe(HWND window) {
    wchar_t cls[128] = {}, title[128] = {};
    GetClassNameW(window, cls, 128);
    GetWindowTextW(window, title, 128);
    const std::wstring s = std::wstring(cls) + L" \"" + title + L"\"";
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    WaitFor([&] { return GetForegroundWindow() == window; }, 3000);
}

::testing::AssertionResult ForegroundBecomes(HWND window, DWORD timeoutMs) {
    if (WaitFor([&] { return GetForegroundWindow() == window; }, timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the foreground is " << Describe(GetForegroundWindow());
}

} // namespace mw::test

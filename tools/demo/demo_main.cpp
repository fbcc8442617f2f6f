// A demonstration of Mistlewick on a desktop with nobody in front of it: opens a few of Wine's
// own programs, starts Mistlewick, performs one gesture with real input (hold the left button,
// turn the wheel twice), saves a screenshot of the open popup, releases the button and prints
// which window came to the front. Used by scripts/run when there is no display.
//
//   mw_demo.exe <Mistlewick.exe> <screenshot.png>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/harness.h"
#include "support/png.h"
#include "support/program.h"

using namespace mw::test;

namespace {

std::wstring Title(HWND w) {
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    return text;
}

std::string Utf8(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

HWND VisibleWindowOf(const ChildProcess& process) {
    for (HWND w : WindowsOfProcess(process.pid())) {
        if (IsWindowVisible(w) && GetWindowTextLengthW(w) > 0)
            return w;
    }
    return nullptr;
}

bool SaveWindowPng(HWND window, const std::wstring& path) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    const bool ok = SaveDcPng(memory, r.right - r.left, r.bottom - r.top, path);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mw_demo <Mistlewick.exe> <screenshot.png>\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring screenshot = argv[2];

    // Other people's windows.
    std::vector<std::wstring> others = {L"C:\\windows\\notepad.exe", L"C:\\windows\\regedit.exe",
                                        L"C:\\windows\\system32\\winemine.exe"};
    std::vector<ChildProcess> processes(others.size());
    for (size_t i = 0; i < others.size(); ++i) {
        if (processes[i].Start(others[i], L"", L"C:\\windows")) {
            WaitFor([&] { return VisibleWindowOf(processes[i]) != nullptr; }, 10000);
            std::printf("demo: opened %s\n", Utf8(Title(VisibleWindowOf(processes[i]))).c_str());
        }
    }
    HWND before = GetForegroundWindow();
    std::printf("demo: in front before the gesture: %s\n", Utf8(Title(before)).c_str());

    // Mistlewick with a preferences file of its own for the demo: Wine's tray window left out.
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    WriteTextFile(folder + L"demo.ini", L"[Exclude]\r\ncnt=1\r\n1=Wine System Tray\r\n");
    ChildProcess mistlewick;
    if (!mistlewick.Start(program, L"/init,demo.ini", folder)) {
        std::fprintf(stderr, "demo: could not start Mistlewick\n");
        return 1;
    }
    HWND main = nullptr;
    WaitFor(
        [&] {
            auto w = WindowsOfProcess(mistlewick.pid(), L"Mistlewick");
            main = w.empty() ? nullptr : w.front();
            return main && TrayIconExists(main);
        },
        15000);
    if (!main) {
        std::fprintf(stderr, "demo: Mistlewick did not come up\n");
        return 1;
    }
    std::printf("demo: Mistlewick is resident\n");

    // The gesture: hold the left button, two notches towards the user.
    PlaceCursor(1700, 950);
    MouseButton(false, true);
    PumpFor(50);
    MouseWheel(-WHEEL_DELTA);
    PumpFor(50);
    const bool shown = WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000);
    MouseWheel(-WHEEL_DELTA);
    PumpFor(500);
    int rc = 0;
    if (shown && SaveWindowPng(main, screenshot)) {
        std::printf("demo: popup open; screenshot saved\n");
    } else {
        std::fprintf(stderr, "demo: the popup did not open\n");
        rc = 1;
    }
    MouseButton(false, false);
    WaitFor([&] { return !IsWindowVisible(main); }, 5000);
    PumpFor(800);
    std::printf("demo: in front after the gesture: %s\n", Utf8(Title(GetForegroundWindow())).c_str());

    PostMessageW(main, WM_CLOSE, 0, 0);
    const long code = mistlewick.WaitExit(10000);
    std::printf("demo: Mistlewick ended with exit code %ld\n", code);
    for (ChildProcess& p : processes) {
        if (HWND w = VisibleWindowOf(p))
            PostMessageW(w, WM_CLOSE, 0, 0);
        if (p.WaitExit(3000) < 0)
            p.Kill();
    }
    DeleteFileW((folder + L"demo.ini").c_str());
    return code == 0 ? rc : 1;
}

#include "support/harness.h"

#include <map>

namespace mw::test {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        Pump();
        if (cond())
            return true;
        if (GetTickCount64() >= deadline)
            return cond();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    WaitFor([] { return false; }, ms);
}

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/"));
}

namespace {

std::map<HWND, std::vector<RecordedMessage>>& Records() {
    static std::map<HWND, std::vector<RecordedMessage>> records;
    return records;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto it = Records().find(hwnd);
    if (it != Records().end())
        it->second.push_back({msg, wp, lp});
    if (msg == WM_NCDESTROY)
        Records().erase(hwnd);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t* kTestClass = L"MwTestWindow";

} // namespace

HWND CreateTestWindow(const wchar_t* title, DWORD style, DWORD exStyle, HWND owner, int x, int y, int width,
                      int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kTestClass;
        RegisterClassExW(&wc);
        registered = true;
    }
    HWND hwnd = CreateWindowExW(exStyle, kTestClass, title, style, x, y, width, height, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd)
        Records()[hwnd];
    return hwnd;
}

std::vector<RecordedMessage>& RecordedMessages(HWND window) {
    return Records()[window];
}

void ClearRecordedMessages(HWND window) {
    Records()[window].clear();
}

int CountRecorded(HWND window, UINT message) {
    int n = 0;
    for (const RecordedMessage& m : Records()[window])
        n += m.message == message;
    return n;
}

namespace {
void SendOne(INPUT in) {
    SendInput(1, &in, sizeof in);
}
} // namespace

void SendAbsoluteMove(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Rounded up, so that the system's scaling back (which truncates) lands on the pixel itself.
    const LONGLONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((x * 65536LL + w - 1) / w);
    in.mi.dy = static_cast<LONG>((y * 65536LL + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendOne(in);
}

void PlaceCursor(int x, int y) {
    SetCursorPos(x, y);
    WaitFor(
        [&] {
            POINT p{};
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        },
        1000);
}

void MouseMoveTo(int x, int y) {
    // Wine now and then loses an injected absolute move to a late pointer event from the X
    // server; send it again until the cursor is really there.
    for (int attempt = 0; attempt < 10; ++attempt) {
        SendAbsoluteMove(x, y);
        if (WaitFor(
                [&] {
                    POINT p{};
                    GetCursorPos(&p);
                    return p.x == x && p.y == y;
                },
                150)) {
            return;
        }
    }
}

void MouseButton(bool right, bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                          : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendOne(in);
}

void MouseWheel(int delta) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(delta);
    SendOne(in);
}

void MouseTilt(int delta) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_HWHEEL;
    in.mi.mouseData = static_cast<DWORD>(delta);
    SendOne(in);
}

void MouseBackButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
    in.mi.mouseData = XBUTTON1;
    SendOne(in);
}

void KeyPress(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendOne(in);
}

void KeyTap(WORD vk) {
    KeyPress(vk, true);
    KeyPress(vk, false);
}

std::vector<HWND> WindowsOfProcess(DWORD pid, const wchar_t* className) {
    struct Ctx {
        DWORD pid;
        const wchar_t* cls;
        std::vector<HWND> found;
    } ctx{pid, className, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != c->pid)
                return TRUE;
            if (c->cls) {
                wchar_t name[256] = {};
                GetClassNameW(hwnd, name, 256);
                if (lstrcmpW(name, c->cls) != 0)
                    return TRUE;
            }
            c->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND WaitVisibleDialog(DWORD pid, const std::wstring& title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(pid, L"#32770")) {
                wchar_t text[256] = {};
                GetWindowTextW(w, text, 256);
                if (IsWindowVisible(w) && (title.empty() || title == text))
                    found = w;
            }
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

} // namespace mw::test

#include <shellapi.h>

#include "support/png.h"

namespace mw::test {

bool TrayIconExists(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = NIF_TIP;
    lstrcpyW(data.szTip, L"Mistlewick");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool SaveScreenPng(const RECT& area, const wchar_t* name) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    const bool ok = SaveDcPng(memory, w, h, ArtifactPath(name));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

} // namespace mw::test

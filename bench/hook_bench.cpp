// Per-event cost of hook.dll's mouse hook, measured beside an empty hook procedure that only
// calls CallNextHookEx, in the same run:
//   1. through the system: SendInput of one mouse event at a time with either hook installed
//      (on its own thread, as hook.dll does), on the pass-through path (moves, no button) and
//      during a gesture (moves and wheel notches while the button is held);
//   2. the gesture engine's decision alone, called directly, with allocations counted;
//   3. each system query the hook procedure makes beside the engine, alone.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "bench_util.h"
#include "hook/gesture_engine.h"
#include "hook/hook.h"

namespace {

std::atomic<long> g_allocations{0};

double g_qpcToUs = 0;
double NowUs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * g_qpcToUs;
}

struct Stats {
    double median = 0, p99 = 0;
};
Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    Stats s;
    if (v.empty())
        return s;
    s.median = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    return s;
}

LRESULT CALLBACK EmptyProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct EmptyHook {
    HANDLE thread = nullptr;
    DWORD id = 0;
    HANDLE ready = nullptr;
};

DWORD WINAPI EmptyHookThread(LPVOID param) {
    auto* h = static_cast<EmptyHook*>(param);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, EmptyProc, GetModuleHandleW(nullptr), 0);
    SetEvent(h->ready);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    if (hook)
        UnhookWindowsHookEx(hook);
    return 0;
}

void StartEmpty(EmptyHook& h) {
    h.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    h.thread = CreateThread(nullptr, 0, EmptyHookThread, &h, 0, &h.id);
    WaitForSingleObject(h.ready, INFINITE);
}
void StopEmpty(EmptyHook& h) {
    PostThreadMessageW(h.id, WM_QUIT, 0, 0);
    WaitForSingleObject(h.thread, INFINITE);
    CloseHandle(h.thread);
    CloseHandle(h.ready);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

LONG Abs(int v, int extent) {
    return static_cast<LONG>((static_cast<long long>(v) * 65536 + extent - 1) / extent);
}

INPUT MoveInput(int x, int y) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = Abs(x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = Abs(y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}
INPUT ButtonInput(DWORD flag, int data = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    in.mi.mouseData = static_cast<DWORD>(data);
    return in;
}
double TimedSend(INPUT in) {
    const double t0 = NowUs();
    SendInput(1, &in, sizeof(INPUT));
    return NowUs() - t0;
}

// One block of events; `gesture` holds the left button and opens the gesture first.
void RunBlock(int events, bool gesture, std::vector<double>& out) {
    const int cx = 700, cy = 400;
    SendInput(1, std::vector<INPUT>{MoveInput(cx, cy)}.data(), sizeof(INPUT));
    if (gesture) {
        INPUT down = ButtonInput(MOUSEEVENTF_LEFTDOWN), wheel = ButtonInput(MOUSEEVENTF_WHEEL, 120);
        SendInput(1, &down, sizeof(INPUT));
        SendInput(1, &wheel, sizeof(INPUT));
    }
    for (int i = 0; i < events; ++i) {
        if (gesture && i % 2 == 1)
            out.push_back(TimedSend(ButtonInput(MOUSEEVENTF_WHEEL, (i % 4 == 1) ? -120 : 120)));
        else
            out.push_back(TimedSend(MoveInput(cx + (i % 2) * 2, cy + (i % 3))));
        if (i % 256 == 255)
            Pump();
    }
    if (gesture) {
        INPUT up = ButtonInput(MOUSEEVENTF_LEFTUP);
        SendInput(1, &up, sizeof(INPUT));
    }
    Pump();
}

LRESULT CALLBACK SinkProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcW(h, m, w, l);
}

void SystemBenchmark(int rounds, int events) {
    HMODULE lib = LoadLibraryW(L"hook.dll");
    if (!lib) {
        std::printf("hook.dll not found beside the benchmark\n");
        return;
    }
    auto start =
        reinterpret_cast<StartMouseHookFn>(reinterpret_cast<void*>(GetProcAddress(lib, "StartMouseHook")));
    auto end = reinterpret_cast<EndHookFn>(reinterpret_cast<void*>(GetProcAddress(lib, "EndHook")));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MwHookBenchSink";
    RegisterClassW(&wc);
    // The receiver of the library's messages, and a window under the cursor that takes the
    // drag and the wheel when the empty hook lets them through.
    HWND receiver = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    wc.hInstance, nullptr);
    HWND sink = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 400, 200,
                                700, 500, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(sink);

    for (int pass = 0; pass < 2; ++pass) {
        const bool gesture = pass == 1;
        std::vector<double> none, empty, ours, ratios;
        RunBlock(200, gesture, none); // warm-up
        none.clear();
        for (int r = 0; r < rounds; ++r) {
            RunBlock(events, gesture, none);
            // The order alternates between rounds so neither hook always runs second.
            std::vector<double> roundEmpty, roundOurs;
            for (int k = 0; k < 2; ++k) {
                if ((k + r) % 2 == 0) {
                    EmptyHook h;
                    StartEmpty(h);
                    RunBlock(events, gesture, roundEmpty);
                    StopEmpty(h);
                } else {
                    // Cancel distance 0 so the gesture's moves never end it; a long time-out.
                    start(receiver, 0, 0, 0, 0, 6, 5000);
                    RunBlock(events, gesture, roundOurs);
                    end();
                }
            }
            ratios.push_back(Summarise(roundOurs).median / Summarise(roundEmpty).median);
            empty.insert(empty.end(), roundEmpty.begin(), roundEmpty.end());
            ours.insert(ours.end(), roundOurs.begin(), roundOurs.end());
        }
        const Stats n = Summarise(none), e = Summarise(empty), o = Summarise(ours);
        std::printf("%s, %d events per hook (microseconds per SendInput of one event):\n",
                    gesture ? "during a gesture (moves and wheel notches, button held)"
                            : "pass-through (moves, no button)",
                    static_cast<int>(ours.size()));
        std::printf("  no hook       median %8.2f  p99 %8.2f\n", n.median, n.p99);
        std::printf("  empty hook    median %8.2f  p99 %8.2f\n", e.median, e.p99);
        std::printf("  hook.dll      median %8.2f  p99 %8.2f\n", o.median, o.p99);
        std::printf("  ratio hook.dll / empty: median %.3f  p99 %.3f\n", o.median / e.median, o.p99 / e.p99);
        mw::bench::PrintRatio("ratio per round, hook.dll / empty", ratios, 1.2);
    }
    DestroyWindow(sink);
    DestroyWindow(receiver);
    FreeLibrary(lib);
}

// The decision alone: the work the hook procedure adds to an empty one.
void EngineBenchmark(int events) {
    mw::GestureEngine engine;
    mw::ResetEngine(engine, mw::MakeGestureSettings(0, 0, 0, 0, 6, 5000));
    for (int pass = 0; pass < 2; ++pass) {
        const bool gesture = pass == 1;
        mw::ResetEngine(engine, engine.settings);
        mw::MouseEvent ev;
        ev.time = 1000;
        if (gesture) {
            ev.action = mw::MouseAction::LeftDown;
            mw::OnMouseEvent(engine, ev);
            ev.action = mw::MouseAction::Wheel;
            ev.data = 120;
            mw::OnMouseEvent(engine, ev);
        }
        volatile int sink = 0;
        std::vector<double> perBlock;
        perBlock.reserve(events / 1000 + 1);
        const long allocationsBefore = g_allocations.load();
        for (int b = 0; b < events / 1000; ++b) {
            const double t0 = NowUs();
            for (int i = 0; i < 1000; ++i) {
                ev.action = (gesture && (i & 1)) ? mw::MouseAction::Wheel : mw::MouseAction::Move;
                ev.x = 700 + (i & 3);
                ev.y = 400;
                ev.data = (i & 2) ? 120 : -120;
                ++ev.time;
                const mw::HookDecision d = mw::OnMouseEvent(engine, ev);
                sink = sink + d.postCount + (d.swallow ? 1 : 0);
            }
            perBlock.push_back((NowUs() - t0) * 1000.0 / 1000.0); // ns per event
        }
        const long allocations = g_allocations.load() - allocationsBefore;
        const Stats s = Summarise(perBlock);
        std::printf("engine decision %s: median %.1f ns per event, p99 %.1f ns (blocks of 1000), "
                    "allocations %ld\n",
                    gesture ? "during a gesture" : "pass-through", s.median, s.p99, allocations);
    }
}

// The system queries the hook procedure makes beside the engine: at every press of a button the
// monitor's DPI and whether the main window hangs, during a gesture the physical button, at Tab
// the keyboard's state. Each is timed alone, beside GetTickCount as the floor of a system call.
void QueryBenchmark(HWND window, int calls) {
    using DpiFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    const auto getDpi =
        shcore ? reinterpret_cast<DpiFn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
               : nullptr;
    volatile unsigned sink = 0;
    const struct {
        const char* name;
        void (*call)(HWND, DpiFn, volatile unsigned&);
    } queries[] = {
        {"GetTickCount (floor)", [](HWND, DpiFn, volatile unsigned& s) { s = s + GetTickCount(); }},
        {"IsHungAppWindow", [](HWND w, DpiFn, volatile unsigned& s) { s = s + IsHungAppWindow(w); }},
        {"GetAsyncKeyState", [](HWND, DpiFn, volatile unsigned& s) { s = s + GetAsyncKeyState(VK_LBUTTON); }},
        {"MonitorFromPoint + GetDpiForMonitor",
         [](HWND, DpiFn dpi, volatile unsigned& s) {
             UINT x = 96, y = 96;
             HMONITOR m = MonitorFromPoint(POINT{700, 400}, MONITOR_DEFAULTTONEAREST);
             if (dpi)
                 dpi(m, 0, &x, &y);
             s = s + x;
         }},
    };
    for (const auto& q : queries) {
        std::vector<double> perBlock;
        for (int b = 0; b < calls / 1000; ++b) {
            const double t0 = NowUs();
            for (int i = 0; i < 1000; ++i)
                q.call(window, getDpi, sink);
            perBlock.push_back((NowUs() - t0) * 1000.0 / 1000.0); // ns per call
        }
        const Stats st = Summarise(perBlock);
        std::printf("query %-36s median %8.1f ns  p99 %8.1f ns\n", q.name, st.median, st.p99);
    }
    if (shcore)
        FreeLibrary(shcore);
}

} // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

int main(int argc, char** argv) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    g_qpcToUs = 1e6 / static_cast<double>(f.QuadPart);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 24;
    const int events = argc > 2 ? std::atoi(argv[2]) : 2000;
    std::printf("hook benchmark: %d rounds of %d events per hook, hooks alternating\n", rounds, events);
    SystemBenchmark(rounds, events);
    EngineBenchmark(2000000);
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    QueryBenchmark(window, 200000);
    if (window)
        DestroyWindow(window);
    return 0;
}

// Times one selection repaint (copy of the off-screen surface + PaintSelection) against one full
// RenderPopup of a 50-entry popup, and the bare copy as the floor of a repaint.
//   bench_render [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "model/item_list.h"
#include "view/render.h"

namespace {

using namespace mw;

struct Stats {
    double median, p10, p90, min;
};

Stats Measure(int runs, const std::function<void()>& op) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::vector<double> us;
    us.reserve(runs);
    op(); // warm-up: fonts, icon caches
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        op();
        GdiFlush();
        QueryPerformanceCounter(&b);
        us.push_back(static_cast<double>(b.QuadPart - a.QuadPart) * 1e6 / static_cast<double>(freq.QuadPart));
    }
    std::sort(us.begin(), us.end());
    auto at = [&](double q) { return us[static_cast<size_t>(q * (us.size() - 1))]; };
    return Stats{at(0.5), at(0.1), at(0.9), us.front()};
}

void Print(const char* name, const Stats& s) {
    std::printf("%-34s median %9.1f us   p10 %9.1f   p90 %9.1f   min %9.1f\n", name, s.median, s.p10, s.p90,
                s.min);
}

void Add(ItemList& list, const std::wstring& name, LPCWSTR icon, int kind) {
    ListItem item;
    InitListItem(item, name.c_str(), CopyIcon(LoadIconW(nullptr, icon)), nullptr, kind);
    AppendListItem(list, item);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    LPCWSTR icons[] = {IDI_APPLICATION, IDI_INFORMATION, IDI_WARNING, IDI_QUESTION, IDI_ERROR, IDI_SHIELD};

    // 45 windows, 2 launcher entries, 3 commands: 50 entries with icons and mixed-script titles.
    auto windows = CreateItemList();
    auto launchers = CreateLauncherList();
    auto commands = CreateItemList();
    for (int i = 0; i < 45; ++i)
        Add(*windows, L"文書 " + std::to_wstring(i) + L" - Editor with a reasonably long title", icons[i % 6],
            KindWindow);
    for (int i = 0; i < 2; ++i) {
        LauncherEntry e;
        InitListItem(e, (L"ランチャー " + std::to_wstring(i)).c_str(), CopyIcon(LoadIconW(nullptr, icons[i])),
                     nullptr, KindLauncher);
        SetLauncherFields(e, nullptr, L"C:\\Windows\\notepad.exe", nullptr, nullptr, 0);
        AppendLauncherEntry(*launchers, e);
    }
    Add(*commands, L"デスクトップの表示 / 非表示", IDI_SHIELD, KindDesktopToggle);
    Add(*commands, L"「文書 0」を閉じる", IDI_ERROR, KindCloseWindow);
    Add(*commands, L"キャンセル", IDI_ERROR, KindCancel);

    Design plain; // defaults: the selection is the outline only
    Design coloured;
    coloured.cursorBackgroundColor = RGB(200, 220, 255);
    coloured.cursorTextColor = RGB(0, 0, 160);
    coloured.cursorTextBold = 1; // refill, icon, bold text and outline

    PopupSurface surface;
    const Stats render =
        Measure(runs, [&] { RenderPopup(nullptr, *windows, *launchers, *commands, plain, false, surface); });
    const int column = RenderPopup(nullptr, *windows, *launchers, *commands, plain, false, surface);
    std::printf("popup %d x %d, text column %d, %d entries, %d runs each\n", surface.width, surface.height,
                column, windows->count + launchers->count + commands->count, runs);

    // The paint handler's target stands in as a second memory surface of the same size.
    PopupSurface target;
    target.Create(surface.dc(), surface.width, surface.height);
    SelectionState state;
    state.windowCount = windows->count;
    state.launcherCount = launchers->count;
    state.commandCount = commands->count;
    state.textColumnWidth = column;
    state.section = SectionWindows;
    int step = 0;
    auto copy = [&] {
        BitBlt(target.dc(), 0, 0, surface.width, surface.height, surface.dc(), 0, 0, SRCCOPY);
    };
    auto nextEntry = [&] { state.index = (step++ * 7) % state.windowCount; };

    const Stats floor = Measure(runs * 4, [&] { copy(); });
    const Stats repaintPlain = Measure(runs * 4, [&] {
        nextEntry();
        copy();
        PaintSelection(target.dc(), state, plain, false, *windows, *launchers, *commands);
    });
    const Stats repaintColoured = Measure(runs * 4, [&] {
        nextEntry();
        copy();
        PaintSelection(target.dc(), state, coloured, false, *windows, *launchers, *commands);
    });

    Design colouredNormal = coloured;
    colouredNormal.cursorTextBold = 0;
    const Stats repaintNormal = Measure(runs * 4, [&] {
        nextEntry();
        copy();
        PaintSelection(target.dc(), state, colouredNormal, false, *windows, *launchers, *commands);
    });
    // What a paint handler that invalidates only the old and new selection would copy: the two
    // rows with the outline's reach into the margins.
    auto copyRows = [&](int oldIndex) {
        for (int index : {oldIndex, state.index}) {
            SelectionState row = state;
            row.index = index;
            RECT r;
            if (!GetCursorRect(row, coloured, false, &r))
                continue;
            InflateRect(&r, 4, 4); // the margin the program's paint handler invalidates
            BitBlt(target.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, surface.dc(), r.left,
                   r.top, SRCCOPY);
        }
    };
    const Stats repaintRows = Measure(runs * 4, [&] {
        const int old = state.index;
        nextEntry();
        copyRows(old);
        PaintSelection(target.dc(), state, coloured, false, *windows, *launchers, *commands);
    });
    // The program's own step: the two rows, with the font and brushes made once per open.
    const SelectionTools tools = MakeSelectionTools(coloured, 0);
    const Stats repaintProgram = Measure(runs * 4, [&] {
        const int old = state.index;
        nextEntry();
        copyRows(old);
        PaintSelection(target.dc(), state, coloured, false, *windows, *launchers, *commands, 0, &tools);
    });
    const Stats fontOnly = Measure(runs * 4, [&] { UniqueFont f = CreateListFont(true); });

    Print("full RenderPopup", render);
    Print("copy only (floor of a repaint)", floor);
    Print("repaint, default design", repaintPlain);
    Print("repaint, cursor colours + bold", repaintColoured);
    Print("repaint, cursor colours, normal", repaintNormal);
    Print("list font creation alone", fontOnly);
    Print("two-row copy + colours + bold", repaintRows);
    std::printf("ratio repaint/render (median): default %.2f%%, cursor colours %.2f%%  (goal < 5%%)\n",
                100.0 * repaintPlain.median / render.median, 100.0 * repaintColoured.median / render.median);
    std::printf("ratio two-row repaint/render (median): %.2f%%\n",
                100.0 * repaintRows.median / render.median);
    Print("program's step: two rows, tools per open", repaintProgram);
    const double programShare = 100.0 * repaintProgram.median / render.median;
    std::printf("ratio of the program's selection step (colours + bold) / render (median): %.2f%%  "
                "(goal < 5%%: %s)   %s\n",
                programShare, programShare < 5.0 ? "met" : "MISSED", mw::bench::MachineLoad().c_str());
    std::printf("ratio repaint/copy floor (median): default %.2f, cursor colours %.2f\n",
                repaintPlain.median / floor.median, repaintColoured.median / floor.median);
    return 0;
}

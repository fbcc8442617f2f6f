#include "controller/warm_up.h"

#include "controller/application.h"
#include "controller/timers.h"
#include "model/icon_cache.h"
#include "model/item_list.h"
#include "platform/dpi.h"
#include "platform/log.h"
#include "system/window_list.h"
#include "view/design.h"

namespace mw {

void WarmUpOpenPath(ProgramState& program, IconCache& cache, int iconSize, int iconPixels) {
    auto list = CreateItemList();
    const ProgramPathPass pass(program.pathMemo);
    EnumerateTopLevelWindows(program, *list, iconSize, iconPixels, &cache);
    // The arrangement by program and the narrowing read the same paths at the open.
    wchar_t path[TextBufferLength];
    for (int i = 0; i < list->count; ++i)
        ProgramPathOfWindow(&program.pathMemo, list->slots[i].window, path);
    ReturnLentIcons(cache, *list);
    ClearItemList(*list);
}

void ScheduleWarmUp(HWND mainWindow) {
    if (!SetTimer(mainWindow, kTimerWarmUp, USER_TIMER_MINIMUM, nullptr))
        LogError(L"Setting the warm-up timer", GetLastError());
}

bool OnWarmUpTimer(Application& app, HWND hwnd, WPARAM id) {
    if (id != kTimerWarmUp)
        return false;
    KillTimer(hwnd, kTimerWarmUp); // once per run
    ProgramState& program = app.program;
    if (app.controller.popup || app.controller.windowSource || program.flags.LauncherOnly)
        return true;
    // The icons are taken at the size the next popup draws them: the design's size at the DPI of
    // the cursor's monitor, where it opens.
    const UINT dpi = MonitorAtCursor(program.services.dpi).dpi;
    const int pixels = DesignForDpi(program.design, dpi).iconSize;
    WarmUpOpenPath(program, app.controller.iconCache, program.design.iconSize, pixels);
    Log(L"icon cache filled: %d window copies, %d file icons, %d program paths",
        static_cast<int>(app.controller.iconCache.windows.size()),
        static_cast<int>(app.controller.iconCache.files.size()),
        static_cast<int>(program.pathMemo.entries.size()));
    return true;
}

} // namespace mw

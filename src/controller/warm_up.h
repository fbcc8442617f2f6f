// The first open after start-up costs as much as the following ones: once the tray icon and the
// hook are up, the first time the message loop has nothing else to do, the window icons are
// copied into the icon cache and the program paths read into the memo, exactly as an open would,
// without showing anything. A window that changes its icon later gets a new copy at the next open
// as it always does (the cache is keyed by the icon the window offers).
#pragma once

#include <windows.h>

namespace mw {

struct Application;
struct IconCache;
struct ProgramState;

// Lists the top-level windows as an open would (icons at `iconSize` by the design's rule, drawn at
// `iconPixels`), reads the program path of each into the memo and gives the icon copies to
// `cache`. The list itself is dropped. The cache must lend nothing (no popup open).
void WarmUpOpenPath(ProgramState& program, IconCache& cache, int iconSize, int iconPixels);

// Asks for the warm-up once the loop is idle: a timer's message comes only when no other message
// is waiting, so hook messages and the tray are never held up by it.
void ScheduleWarmUp(HWND mainWindow);

// The main window's WM_TIMER for the warm-up; false for any other timer. A popup already open
// (the first gesture came first) has done the work itself, and nothing is listed then.
bool OnWarmUpTimer(Application& app, HWND hwnd, WPARAM id);

} // namespace mw

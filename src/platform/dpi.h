// Scaled displays and several monitors: the DPI of a monitor or a window, sizes of 96-DPI designs
// in pixels of another DPI, the message font for a DPI, and where the monitors are.
//
// The program declares per-monitor awareness in its manifest, so every coordinate it sees is a
// physical pixel and nothing it draws is stretched by the system; what it draws must therefore
// be sized for the DPI of the monitor it appears on. The functions that tell that DPI are newer
// than Windows 7 and are looked up at run time; without them every monitor has the system DPI.
#pragma once

#include <windows.h>

#include "platform/unique_handle.h"

namespace mw {

// The DPI every size of design.ini and every fixed size in the code is written for.
constexpr UINT kDefaultDpi = 96;

// A 96-DPI size in pixels at `dpi`, rounded to the nearest pixel (halves away from zero). A DPI
// of 0 is taken as 96.
int ScaleForDpi(int value, UINT dpi);

// A size in pixels of `fromDpi` in pixels of `toDpi` (a font height of the system DPI for a
// monitor, an offset on one monitor for another), rounded as ScaleForDpi rounds.
int ScaleBetweenDpis(int value, UINT fromDpi, UINT toDpi);

// The functions of newer systems that tell or use a DPI; null where the system lacks one.
struct DpiApi {
    // shcore.dll, Windows 8.1: the effective DPI of a monitor (type 0).
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY) = nullptr;
    // user32.dll, Windows 10 1607.
    BOOL(WINAPI* systemParametersInfoForDpi)
    (UINT action, UINT param, void* data, UINT winIni, UINT dpi) = nullptr;
    UINT(WINAPI* getDpiForWindow)(HWND window) = nullptr;
};

// Looks the functions up in the system; shcore.dll is loaded into `shcore`, which keeps it for as
// long as the functions are used. The program keeps both in its state and services; tests hand in
// their own functions.
DpiApi LookUpSystemDpiApi(UniqueModule& shcore);

// The system DPI (the DPI of the primary monitor when the user logged on); 96 when unreadable.
UINT SystemDpi();
// The effective DPI of a monitor; the system DPI when the system cannot tell.
UINT MonitorDpi(const DpiApi& api, HMONITOR monitor);
// The DPI a window is drawn at; the system DPI when the system cannot tell.
UINT WindowDpi(const DpiApi& api, HWND window);

// The system's message font for a monitor of `dpi`, taken for that DPI where the system can do
// so, else the system DPI's font with its height scaled. Never scaled twice: at the system DPI it
// is exactly the system's font.
LOGFONTW MessageFontForDpi(const DpiApi& api, UINT dpi);

// One monitor: its rectangle, its work area and its DPI.
struct MonitorPlace {
    HMONITOR handle = nullptr;
    RECT monitor{};
    RECT work{};
    UINT dpi = kDefaultDpi;
};
// The monitor that holds the point (the primary one when none does).
MonitorPlace MonitorAtPoint(const DpiApi& api, POINT point);
// The monitor that holds the cursor.
MonitorPlace MonitorAtCursor(const DpiApi& api);
// The monitor that holds most of the window (the primary one when none does).
MonitorPlace MonitorOfWindow(const DpiApi& api, HWND window);

// The bounding rectangle of all monitors; its origin is negative when a monitor lies left of or
// above the primary one.
RECT VirtualScreenRect();

// A window placement's rectangles are in workspace coordinates (relative to the work area of the
// window's monitor, so a taskbar at the top or left shifts them) unless the window is a tool
// window. The offset from workspace to screen coordinates, given that monitor's full and work
// rectangles, and a rectangle converted either way.
POINT WorkspaceOffset(const RECT& monitor, const RECT& work);
RECT WorkspaceToScreen(const RECT& workspace, const RECT& monitor, const RECT& work);
RECT ScreenToWorkspace(const RECT& screen, const RECT& monitor, const RECT& work);

// The top-left corner that centres a rectangle of `size` in `area` (halves truncated toward zero).
POINT CentreIn(const RECT& area, SIZE size);

// Moves a top-level window, keeping its size, to the centre of the work area of the cursor's
// monitor.
void CentreOnCursorMonitor(const DpiApi& api, HWND window);

} // namespace mw

#include "platform/dpi.h"

#include "platform/unique_handle.h"

namespace mw {

namespace {

// Rounds value · numerator / denominator to the nearest integer, halves away from zero, in 64 bits.
long long MulDivRounded(long long value, long long numerator, long long denominator) {
    if (denominator <= 0)
        return value;
    const long long product = value * numerator;
    const long long half = denominator / 2;
    return product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
}

UINT DpiOrDefault(UINT dpi) {
    return dpi == 0 ? kDefaultDpi : dpi;
}

template <typename F> F Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

} // namespace

DpiApi LookUpSystemDpiApi(UniqueModule& shcore) {
    DpiApi api;
    HMODULE user = GetModuleHandleW(L"user32.dll");
    api.systemParametersInfoForDpi =
        Lookup<decltype(api.systemParametersInfoForDpi)>(user, "SystemParametersInfoForDpi");
    api.getDpiForWindow = Lookup<decltype(api.getDpiForWindow)>(user, "GetDpiForWindow");
    // shcore.dll stays loaded with its owner: the pointer is used at every popup.
    if (!shcore)
        shcore.reset(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    api.getDpiForMonitor = Lookup<decltype(api.getDpiForMonitor)>(shcore.get(), "GetDpiForMonitor");
    return api;
}

namespace {

MonitorPlace PlaceOf(const DpiApi& api, HMONITOR handle) {
    MonitorPlace place;
    place.handle = handle;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (handle && GetMonitorInfoW(handle, &info)) {
        place.monitor = info.rcMonitor;
        place.work = info.rcWork;
    } else {
        place.monitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &place.work, 0);
    }
    place.dpi = MonitorDpi(api, handle);
    return place;
}

} // namespace

int ScaleForDpi(int value, UINT dpi) {
    return static_cast<int>(MulDivRounded(value, DpiOrDefault(dpi), kDefaultDpi));
}

int ScaleBetweenDpis(int value, UINT fromDpi, UINT toDpi) {
    return static_cast<int>(MulDivRounded(value, DpiOrDefault(toDpi), DpiOrDefault(fromDpi)));
}

UINT SystemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT MonitorDpi(const DpiApi& api, HMONITOR monitor) {
    UINT x = 0;
    UINT y = 0;
    if (monitor && api.getDpiForMonitor && SUCCEEDED(api.getDpiForMonitor(monitor, 0, &x, &y)) && y > 0)
        return y;
    return SystemDpi();
}

UINT WindowDpi(const DpiApi& api, HWND window) {
    if (window && api.getDpiForWindow) {
        if (UINT dpi = api.getDpiForWindow(window))
            return dpi;
    }
    return SystemDpi();
}

LOGFONTW MessageFontForDpi(const DpiApi& api, UINT dpi) {
    dpi = DpiOrDefault(dpi);
    const UINT systemDpi = SystemDpi();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (dpi != systemDpi && api.systemParametersInfoForDpi &&
        api.systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return metrics.lfMessageFont;
    }
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = metrics.lfMessageFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    if (dpi != systemDpi)
        font.lfHeight = ScaleBetweenDpis(font.lfHeight, systemDpi, dpi);
    return font;
}

MonitorPlace MonitorAtPoint(const DpiApi& api, POINT point) {
    return PlaceOf(api, MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY));
}

MonitorPlace MonitorAtCursor(const DpiApi& api) {
    POINT cursor{};
    GetCursorPos(&cursor);
    return MonitorAtPoint(api, cursor);
}

MonitorPlace MonitorOfWindow(const DpiApi& api, HWND window) {
    return PlaceOf(api, MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

RECT VirtualScreenRect() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

POINT WorkspaceOffset(const RECT& monitor, const RECT& work) {
    return {work.left - monitor.left, work.top - monitor.top};
}

RECT WorkspaceToScreen(const RECT& workspace, const RECT& monitor, const RECT& work) {
    const POINT offset = WorkspaceOffset(monitor, work);
    RECT r = workspace;
    OffsetRect(&r, offset.x, offset.y);
    return r;
}

RECT ScreenToWorkspace(const RECT& screen, const RECT& monitor, const RECT& work) {
    const POINT offset = WorkspaceOffset(monitor, work);
    RECT r = screen;
    OffsetRect(&r, -offset.x, -offset.y);
    return r;
}

POINT CentreIn(const RECT& area, SIZE size) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    return {area.left + (width < 0 ? -width : width) / 2 - size.cx / 2,
            area.top + (height < 0 ? -height : height) / 2 - size.cy / 2};
}

void CentreOnCursorMonitor(const DpiApi& api, HWND window) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r))
        return;
    const POINT at = CentreIn(MonitorAtCursor(api).work, SIZE{r.right - r.left, r.bottom - r.top});
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace mw

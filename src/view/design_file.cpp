#include "view/design_file.h"

#include "view/theme.h"

namespace mw {

namespace {

// The shadow belongs to the window class, so it is set or cleared there.
void ApplyDropShadow(HWND window, int dropShadow) {
    const ULONG_PTR style = GetClassLongPtrW(window, GCL_STYLE);
    const bool has = (style & CS_DROPSHADOW) != 0;
    if (dropShadow == 1 && !has) {
        SetClassLongPtrW(window, GCL_STYLE, static_cast<LONG_PTR>(style | CS_DROPSHADOW));
    } else if (dropShadow != 1 && has) {
        SetClassLongPtrW(window, GCL_STYLE,
                         static_cast<LONG_PTR>(style & ~static_cast<ULONG_PTR>(CS_DROPSHADOW)));
    }
}

void ApplyAlpha(HWND window, int alpha) {
    if (OpacityFromAlpha(alpha) == 0)
        return;
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

} // namespace

void LoadDesign(HWND mainWindow, const std::wstring& designPath, Design& out) {
    const DesignWindowStyle style = ReadDesign(designPath, out);
    if (mainWindow) {
        ApplyDropShadow(mainWindow, style.dropShadow);
        ApplyAlpha(mainWindow, style.alpha);
        ApplyCornerPreference(mainWindow, out.corners);
    }
}

} // namespace mw

#include "options/mouse_page.h"

#include <commctrl.h>

#include <cstdint>

#include "model/preferences.h"
#include "options/option_settings.h"
#include "platform/resources_lang.h"
#include "resource.h"

namespace mw {

namespace {

// Controls that the details button shows and hides together (the explanation takes their place).
constexpr int kDetailControls[] = {
    IDC_MOUSE_DETAILS_GROUP, IDC_MOUSE_RANGE_LABEL,   IDC_MOUSE_RANGE_NONE,   IDC_MOUSE_RANGE_MAX,
    IDC_MOUSE_TIMEOUT_LABEL, IDC_MOUSE_SECONDS_LABEL, IDC_MOUSE_TIMEOUT_NOTE, IDC_MOUSE_PX_LABEL,
    IDC_MOUSE_CANCEL_LABEL,  IDC_MOUSE_RANGE_SLIDER,  IDC_MOUSE_TIMEOUT_EDIT, IDC_MOUSE_TIMEOUT_UPDOWN,
    IDC_MOUSE_CANCEL_EDIT,   IDC_MOUSE_CANCEL_UPDOWN, IDC_MOUSE_TO_CENTER,
};

// The cancel distance only matters when choosing by releasing the button.
constexpr int kWheelModeControls[] = {IDC_MOUSE_CANCEL_LABEL, IDC_MOUSE_CANCEL_EDIT, IDC_MOUSE_PX_LABEL,
                                      IDC_MOUSE_CANCEL_UPDOWN};

bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void Enable(HWND page, int id, bool enable) {
    EnableWindow(GetDlgItem(page, id), enable);
}

// Visibility of the control itself, whether or not its page is on screen.
bool HasVisibleStyle(HWND page, int id) {
    return (GetWindowLongPtrW(GetDlgItem(page, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void EnableForClickMode(HWND page, int clickMode) {
    for (int id : kWheelModeControls)
        Enable(page, id, clickMode == 0);
    Enable(page, IDC_MOUSE_TO_CENTER, clickMode == 1);
}

void SetUpDown(HWND page, int id, int low, int high, int value, int increment) {
    HWND upDown = GetDlgItem(page, id);
    SendMessageW(upDown, UDM_SETRANGE32, low, high);
    // The control keeps its own position (it has no buddy); a hand-edited value outside the
    // range starts at the nearest end instead of wrapping through 16 bits.
    SendMessageW(upDown, UDM_SETPOS32, 0, SteppedPosition(value, 0, low, high));
    UDACCEL accel{1, static_cast<UINT>(increment)};
    SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void ShowTimeOut(HWND page, int milliseconds) {
    SetDlgItemTextW(page, IDC_MOUSE_TIMEOUT_EDIT, SecondsText(milliseconds).c_str());
}

void ShowCancelPx(HWND page, int pixels) {
    SetDlgItemTextW(page, IDC_MOUSE_CANCEL_EDIT, std::to_wstring(pixels).c_str());
}

INT_PTR OnInitDialog(HWND page) {
    const Preferences& p = CurrentPreferences();
    CheckDlgButton(page, p.RightButton == 0 ? IDC_MOUSE_LEFT_BUTTON : IDC_MOUSE_RIGHT_BUTTON, BST_CHECKED);
    CheckDlgButton(page, p.ClickMode ? IDC_MOUSE_CLICK_MODE : IDC_MOUSE_WHEEL_MODE, BST_CHECKED);
    EnableForClickMode(page, p.ClickMode ? 1 : 0);
    CheckDlgButton(page, IDC_MOUSE_TO_CENTER, p.ToCenter != 0 ? BST_CHECKED : BST_UNCHECKED);

    HWND slider = GetDlgItem(page, IDC_MOUSE_RANGE_SLIDER);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kRangeSliderMax));
    SendMessageW(slider, TBM_SETPOS, TRUE, p.PermissibleRange / 2);

    SetUpDown(page, IDC_MOUSE_TIMEOUT_UPDOWN, kTimeOutMin, kTimeOutMax, p.TimeOutMilliSeconds, kTimeOutStep);
    ShowTimeOut(page, p.TimeOutMilliSeconds);
    SetUpDown(page, IDC_MOUSE_CANCEL_UPDOWN, kCancelPxMin, kCancelPxMax, p.MoveCanselPx, kCancelPxStep);
    ShowCancelPx(page, p.MoveCanselPx);
    return TRUE;
}

void ToggleDetails(HWND page) {
    const bool showDetails = HasVisibleStyle(page, IDC_MOUSE_EXPLANATION);
    ShowWindow(GetDlgItem(page, IDC_MOUSE_EXPLANATION), showDetails ? SW_HIDE : SW_SHOW);
    for (int id : kDetailControls)
        ShowWindow(GetDlgItem(page, id), showDetails ? SW_SHOW : SW_HIDE);
    SetDlgItemTextW(page, IDC_MOUSE_DETAILS,
                    LoadText(showDetails ? IDS_DETAILS_HIDE : IDS_DETAILS_SHOW).c_str());
}

INT_PTR OnCommand(HWND page, int id, int code) {
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_MOUSE_LEFT_BUTTON:
    case IDC_MOUSE_RIGHT_BUTTON:
        ApplyPreference(page, L"RightButton", IsChecked(page, IDC_MOUSE_RIGHT_BUTTON) ? 1 : 0,
                        Refresh::MouseHook);
        return TRUE;
    case IDC_MOUSE_CLICK_MODE:
    case IDC_MOUSE_WHEEL_MODE: {
        const int clickMode = IsChecked(page, IDC_MOUSE_CLICK_MODE) ? 1 : 0;
        ApplyPreference(page, L"ClickMode", clickMode, Refresh::MouseHook);
        EnableForClickMode(page, clickMode);
        return TRUE;
    }
    case IDC_MOUSE_TO_CENTER:
        // The main window reads ToCenter itself; the hook does not use it.
        ApplyPreference(page, L"ToCenter", IsChecked(page, IDC_MOUSE_TO_CENTER) ? 1 : 0, Refresh::Nothing);
        return TRUE;
    case IDC_MOUSE_DETAILS:
        ToggleDetails(page);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnNotify(HWND page, const NMHDR* header) {
    if (header->code != UDN_DELTAPOS)
        return FALSE;
    const NMUPDOWN* step = reinterpret_cast<const NMUPDOWN*>(header);
    if (header->idFrom == IDC_MOUSE_TIMEOUT_UPDOWN) {
        const int value = SteppedPosition(step->iPos, step->iDelta, kTimeOutMin, kTimeOutMax);
        ShowTimeOut(page, value);
        ApplyPreference(page, L"TimeOutMilliSeconds", value, Refresh::MouseHook);
    } else if (header->idFrom == IDC_MOUSE_CANCEL_UPDOWN) {
        const int value = SteppedPosition(step->iPos, step->iDelta, kCancelPxMin, kCancelPxMax);
        ShowCancelPx(page, value);
        ApplyPreference(page, L"MoveCanselPx", value, Refresh::MouseHook);
    } else {
        return FALSE;
    }
    // 0: let the control take the step.
    SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
    return TRUE;
}

INT_PTR OnHScroll(HWND page) {
    const int position =
        static_cast<int>(SendDlgItemMessageW(page, IDC_MOUSE_RANGE_SLIDER, TBM_GETPOS, 0, 0));
    ApplyPreference(page, L"PermissibleRange", position * 2, Refresh::MouseHook);
    return TRUE;
}

} // namespace

std::wstring SecondsText(int milliseconds) {
    int64_t t = milliseconds;
    std::wstring sign;
    if (t < 0) {
        sign = L"-";
        t = -t;
    }
    return sign + std::to_wstring(t / 1000) + L"." + std::to_wstring((t % 1000) / 100);
}

int SteppedPosition(int position, int delta, int low, int high) {
    const int64_t target = static_cast<int64_t>(position) + delta;
    if (target < low)
        return low;
    if (target > high)
        return high;
    return static_cast<int>(target);
}

INT_PTR CALLBACK MousePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page);
    case WM_COMMAND:
        return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HSCROLL:
        return OnHScroll(page);
    default:
        return FALSE;
    }
}

} // namespace mw

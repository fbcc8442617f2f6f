#include "options/mouse_page.h"

#include <commctrl.h>

#include <cstdint>

#include "settings/preferences.h"
#include "options/option_settings.h"
#include "platform/resources_lang.h"
#include "resource.h"
#include "model/program_state.h"

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

// The edit is the up-down's buddy, so the arrow keys in the edit step the value through
// UDN_DELTAPOS; the control has no UDS_SETBUDDYINT, so the page writes the edit's text itself
// (the time-out shows seconds) and the control keeps its own position.
void SetUpDown(HWND page, int id, int editId, int low, int high, int value, int increment) {
    HWND upDown = GetDlgItem(page, id);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(page, editId)), 0);
    SendMessageW(upDown, UDM_SETRANGE32, low, high);
    // A hand-edited value outside the range starts at the nearest end instead of wrapping
    // through 16 bits.
    SendMessageW(upDown, UDM_SETPOS32, 0, SteppedPosition(value, 0, low, high));
    UDACCEL accel{1, static_cast<UINT>(increment)};
    SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void ShowTimeOut(HWND page, int milliseconds) {
    SetDlgItemTextW(page, IDC_MOUSE_TIMEOUT_EDIT, SecondsText(milliseconds).c_str());
}

// A property of the page set while it writes the cancel distance's text, so that only the
// user's typing moves the up-down's position.
constexpr wchar_t kShowingCancelPx[] = L"Mistlewick.ShowingCancelPx";

void ShowCancelPx(HWND page, int pixels) {
    SetPropW(page, kShowingCancelPx, reinterpret_cast<HANDLE>(1));
    SetDlgItemTextW(page, IDC_MOUSE_CANCEL_EDIT, std::to_wstring(pixels).c_str());
    RemovePropW(page, kShowingCancelPx);
}

std::wstring CancelPxText(HWND page) {
    wchar_t text[32] = {};
    GetDlgItemTextW(page, IDC_MOUSE_CANCEL_EDIT, text, 32);
    return text;
}

// While the user types, the arrows step on from the typed distance.
void OnCancelPxTyped(HWND page) {
    int pixels = 0;
    if (!GetPropW(page, kShowingCancelPx) && ParseCancelPx(CancelPxText(page), &pixels))
        SendDlgItemMessageW(page, IDC_MOUSE_CANCEL_UPDOWN, UDM_SETPOS32, 0, pixels);
}

// Leaving the edit stores what was typed, bounded as the arrows bound it; text that is no
// distance gives way to the stored value. Either way the edit then shows what is stored.
void OnCancelPxLeft(OptionsSession& session, HWND page) {
    int pixels = session.program.preferences.MoveCanselPx;
    const bool typed = ParseCancelPx(CancelPxText(page), &pixels);
    ShowCancelPx(page, pixels);
    SendDlgItemMessageW(page, IDC_MOUSE_CANCEL_UPDOWN, UDM_SETPOS32, 0,
                        SteppedPosition(pixels, 0, kCancelPxMin, kCancelPxMax));
    if (typed && pixels != session.program.preferences.MoveCanselPx)
        ApplyPreference(session, page, PreferenceId::MoveCanselPx, pixels);
}

INT_PTR OnInitDialog(OptionsSession& session, HWND page) {
    const Preferences& p = session.program.preferences;
    CheckDlgButton(page, p.RightButton == 0 ? IDC_MOUSE_LEFT_BUTTON : IDC_MOUSE_RIGHT_BUTTON, BST_CHECKED);
    CheckDlgButton(page, p.ClickMode ? IDC_MOUSE_CLICK_MODE : IDC_MOUSE_WHEEL_MODE, BST_CHECKED);
    EnableForClickMode(page, p.ClickMode ? 1 : 0);
    CheckDlgButton(page, IDC_MOUSE_TO_CENTER, p.ToCenter != 0 ? BST_CHECKED : BST_UNCHECKED);

    HWND slider = GetDlgItem(page, IDC_MOUSE_RANGE_SLIDER);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kRangeSliderMax));
    SendMessageW(slider, TBM_SETPOS, TRUE, p.PermissibleRange / 2);

    SetUpDown(page, IDC_MOUSE_TIMEOUT_UPDOWN, IDC_MOUSE_TIMEOUT_EDIT, kTimeOutMin, kTimeOutMax,
              p.TimeOutMilliSeconds, kTimeOutStep);
    ShowTimeOut(page, p.TimeOutMilliSeconds);
    SetUpDown(page, IDC_MOUSE_CANCEL_UPDOWN, IDC_MOUSE_CANCEL_EDIT, kCancelPxMin, kCancelPxMax,
              p.MoveCanselPx, kCancelPxStep);
    ShowCancelPx(page, p.MoveCanselPx);
    return TRUE;
}

void ToggleDetails(OptionsSession& session, HWND page) {
    const bool showDetails = HasVisibleStyle(page, IDC_MOUSE_EXPLANATION);
    ShowWindow(GetDlgItem(page, IDC_MOUSE_EXPLANATION), showDetails ? SW_HIDE : SW_SHOW);
    for (int id : kDetailControls)
        ShowWindow(GetDlgItem(page, id), showDetails ? SW_SHOW : SW_HIDE);
    SetDlgItemTextW(
        page, IDC_MOUSE_DETAILS,
        LoadText(ProgramLanguage(session.program), showDetails ? IDS_DETAILS_HIDE : IDS_DETAILS_SHOW)
            .c_str());
}

INT_PTR OnCommand(OptionsSession& session, HWND page, int id, int code) {
    if (id == IDC_MOUSE_CANCEL_EDIT && code == EN_CHANGE) {
        OnCancelPxTyped(page);
        return TRUE;
    }
    if (id == IDC_MOUSE_CANCEL_EDIT && code == EN_KILLFOCUS) {
        OnCancelPxLeft(session, page);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_MOUSE_LEFT_BUTTON:
    case IDC_MOUSE_RIGHT_BUTTON:
        ApplyPreference(session, page, PreferenceId::RightButton,
                        IsChecked(page, IDC_MOUSE_RIGHT_BUTTON) ? 1 : 0);
        return TRUE;
    case IDC_MOUSE_CLICK_MODE:
    case IDC_MOUSE_WHEEL_MODE: {
        const int clickMode = IsChecked(page, IDC_MOUSE_CLICK_MODE) ? 1 : 0;
        ApplyPreference(session, page, PreferenceId::ClickMode, clickMode);
        EnableForClickMode(page, clickMode);
        return TRUE;
    }
    case IDC_MOUSE_TO_CENTER:
        // The main window reads ToCenter itself; the hook does not use it.
        ApplyPreference(session, page, PreferenceId::ToCenter, IsChecked(page, IDC_MOUSE_TO_CENTER) ? 1 : 0);
        return TRUE;
    case IDC_MOUSE_DETAILS:
        ToggleDetails(session, page);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnNotify(OptionsSession& session, HWND page, const NMHDR* header) {
    if (header->code != UDN_DELTAPOS)
        return FALSE;
    const NMUPDOWN* step = reinterpret_cast<const NMUPDOWN*>(header);
    if (header->idFrom == IDC_MOUSE_TIMEOUT_UPDOWN) {
        const int value = SteppedPosition(step->iPos, step->iDelta, kTimeOutMin, kTimeOutMax);
        ShowTimeOut(page, value);
        ApplyPreference(session, page, PreferenceId::TimeOutMilliSeconds, value);
    } else if (header->idFrom == IDC_MOUSE_CANCEL_UPDOWN) {
        const int value = SteppedPosition(step->iPos, step->iDelta, kCancelPxMin, kCancelPxMax);
        ShowCancelPx(page, value);
        ApplyPreference(session, page, PreferenceId::MoveCanselPx, value);
    } else {
        return FALSE;
    }
    // 0: let the control take the step.
    SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
    return TRUE;
}

INT_PTR OnHScroll(OptionsSession& session, HWND page) {
    const int position =
        static_cast<int>(SendDlgItemMessageW(page, IDC_MOUSE_RANGE_SLIDER, TBM_GETPOS, 0, 0));
    ApplyPreference(session, page, PreferenceId::PermissibleRange, position * 2);
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

bool ParseCancelPx(const std::wstring& text, int* pixels) {
    size_t i = text.find_first_not_of(L' ');
    if (i == std::wstring::npos)
        return false;
    const bool negative = text[i] == L'-';
    if (negative || text[i] == L'+')
        ++i;
    int64_t value = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
        if (value <= kCancelPxMax)
            value = value * 10 + (text[i] - L'0');
    }
    if (digits == 0 || text.find_first_not_of(L' ', i) != std::wstring::npos)
        return false;
    *pixels = SteppedPosition(0, static_cast<int>(negative ? -value : value), kCancelPxMin, kCancelPxMax);
    return true;
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
    if (message == WM_INITDIALOG)
        return OnInitDialog(*KeepSession(page, lParam), page);
    OptionsSession* session = SessionOf(page);
    if (!session)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return OnCommand(*session, page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(*session, page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HSCROLL:
        return OnHScroll(*session, page);
    default:
        return FALSE;
    }
}

} // namespace mw

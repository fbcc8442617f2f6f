#include "controller/tray.h"

#include <shellapi.h>

#include "platform/resources_lang.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

namespace {

NOTIFYICONDATAW BaseRecord(HWND mainWindow) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow;
    data.uID = 0;
    return data;
}

HICON LoadTrayIcon(HINSTANCE instance, bool paused) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(paused ? IDI_PAUSED : IDI_APP),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), 0));
}

} // namespace

bool AddTrayIcon(HWND mainWindow, HINSTANCE instance, bool paused) {
    NOTIFYICONDATAW data = BaseRecord(mainWindow);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayCallback;
    UniqueIcon icon(LoadTrayIcon(instance, paused));
    data.hIcon = icon.get();
    lstrcpynW(data.szTip, LoadText(IDS_TRAY_TIP).c_str(), ARRAYSIZE(data.szTip));
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool RemoveTrayIcon(HWND mainWindow) {
    NOTIFYICONDATAW data = BaseRecord(mainWindow);
    data.uFlags = NIF_ICON;
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

bool SetTrayIconPaused(HWND mainWindow, HINSTANCE instance, bool paused) {
    NOTIFYICONDATAW data = BaseRecord(mainWindow);
    data.uFlags = NIF_ICON;
    UniqueIcon icon(LoadTrayIcon(instance, paused));
    data.hIcon = icon.get();
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

} // namespace mw

#include "model/quiet_rules.h"

#include <shellapi.h>

#include "model/filter.h"

namespace mw {

bool IsProgramExcluded(const std::vector<std::wstring>& excludedNames, const std::wstring& programPath) {
    if (programPath.empty())
        return false;
    const std::wstring file = ProgramFileName(programPath);
    for (const std::wstring& name : excludedNames) {
        if (!name.empty() && CompareStringOrdinal(file.c_str(), static_cast<int>(file.size()), name.c_str(),
                                                  static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

bool CoversMonitor(const RECT& window, const RECT& monitor) {
    if (monitor.right <= monitor.left || monitor.bottom <= monitor.top)
        return false;
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}

bool IsDesktopOrShellClass(const wchar_t* className) {
    if (!className)
        return false;
    for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"}) {
        if (CompareStringOrdinal(className, -1, shell, -1, FALSE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

bool NotificationStateIsFullScreen(int state) {
    return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}

bool ForegroundIsFullScreen(const RECT& window, const RECT& monitor, const wchar_t* className,
                            bool stateKnown, int notificationState) {
    if (IsDesktopOrShellClass(className))
        return false;
    if (stateKnown && NotificationStateIsFullScreen(notificationState))
        return true;
    return CoversMonitor(window, monitor);
}

} // namespace mw

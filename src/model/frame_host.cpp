#include "model/frame_host.h"

namespace mw {

bool IsFrameHostProgram(const wchar_t* path) {
    if (!path)
        return false;
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    return lstrcmpiW(name, kFrameHostProgram) == 0;
}

HWND ProgramWindowOfFrame(HWND frame, const wchar_t* framePath, DWORD frameProcess, HWND content,
                          DWORD contentProcess) {
    if (!content || contentProcess == 0 || contentProcess == frameProcess || !IsFrameHostProgram(framePath))
        return frame;
    return content;
}

HWND ForeignContentWindow(HWND frame, DWORD* contentProcess) {
    *contentProcess = 0;
    DWORD frameProcess = 0;
    if (!frame || GetWindowThreadProcessId(frame, &frameProcess) == 0)
        return nullptr;
    // Direct children only: the app's window sits right under the frame.
    for (HWND child = FindWindowExW(frame, nullptr, kAppContentClass, nullptr); child;
         child = FindWindowExW(frame, child, kAppContentClass, nullptr)) {
        DWORD process = 0;
        if (GetWindowThreadProcessId(child, &process) != 0 && process != 0 && process != frameProcess) {
            *contentProcess = process;
            return child;
        }
    }
    return nullptr;
}

} // namespace mw

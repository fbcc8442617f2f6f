// The open popup as screen readers hear it: the accessible object the popup session owns, kept
// up to date with the list and the selection, and the answer to WM_GETOBJECT.
#pragma once

#include <windows.h>

namespace mw {

struct Application;

// Makes the session's accessible object (or brings it up to date) from the list as it stands,
// and tells screen readers where the selection is when it moved or `always` (the list opened or
// changed).
void TellScreenReaders(Application& app, HWND hwnd, bool always);

// WM_GETOBJECT: the open popup's object for OBJID_CLIENT, else what DefWindowProc answers.
LRESULT OnGetObject(Application& app, HWND hwnd, WPARAM wParam, LPARAM lParam);

} // namespace mw

// The open popup as screen readers see it: an Active Accessibility object (IAccessible) whose role
// is a list and whose children are the popup's entries (list items named by the text shown, the
// selection selected and focused, each located at its row on the screen), and the events that
// tell a screen reader where the selection went.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "model/item_list.h"
#include "settings/design_file.h"
#include "view/layout.h"

namespace mw {

// One entry of the list as it is shown: its text and its row in the popup's client area.
struct AccessibleEntry {
    std::wstring name;
    RECT row{};
};

// What the object tells: the popup window, the list's own name, the entries in the order shown
// (windows, launcher entries, command entries) and the index of the selection among them (-1:
// none).
struct AccessibleListState {
    HWND popup = nullptr;
    std::wstring name;
    std::vector<AccessibleEntry> entries;
    int selected = -1;
};

// The entries of the popup as the layout places them (`design` at the popup's DPI).
AccessibleListState DescribePopupList(HWND popup, const std::wstring& name, const SelectionState& state,
                                      const Design& design, bool desktopRow, const ItemList& windows,
                                      const LauncherList& launchers, const ItemList& commands);

// The index of the selection among all entries, -1 when it is on no entry.
int SelectedEntryIndex(const SelectionState& state);

// The accessible object of one open popup. Made with one reference, which its owner gives back
// with ReleasePopupAccessible; screen readers may hold theirs longer, and after Disconnect the
// object answers them that it is gone (RPC_E_DISCONNECTED) instead of telling a stale list.
struct PopupAccessible;
PopupAccessible* CreatePopupAccessible(AccessibleListState state);
void UpdatePopupAccessible(PopupAccessible* object, AccessibleListState state);
void DisconnectPopupAccessible(PopupAccessible* object);
void ReleasePopupAccessible(PopupAccessible* object);
IAccessible* AccessibleOf(PopupAccessible* object);

// The owner's reference: disconnected and given back when the owner ends.
struct PopupAccessibleRelease {
    void operator()(PopupAccessible* object) const {
        DisconnectPopupAccessible(object);
        ReleasePopupAccessible(object);
    }
};
using UniquePopupAccessible = std::unique_ptr<PopupAccessible, PopupAccessibleRelease>;

// The answer to WM_GETOBJECT: the object for OBJID_CLIENT (LresultFromObject), and for any other
// object id 0, after which the window procedure hands the message to DefWindowProc.
LRESULT AnswerGetObject(PopupAccessible* object, WPARAM wParam, LPARAM lParam);

// Tells screen readers that entry `index` (an index into the entries) is now focused and
// selected: EVENT_OBJECT_FOCUS and EVENT_OBJECT_SELECTION for its child id on the popup's client
// object.
void NotifyEntrySelected(HWND popup, int index);

} // namespace mw

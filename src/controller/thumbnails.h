// Live thumbnails of the listed windows and of the desktop, drawn by the desktop compositor into
// the popup at the boxes the layout reserves for them. They exist exactly while the popup is open.
#pragma once

#include <dwmapi.h>
#include <windows.h>

#include <vector>

#include "model/item_list.h"
#include "model/program_state.h"
#include "view/design.h"
#include "view/layout.h"

namespace mw {

// The thumbnail handles of one open popup: one place per window entry in list order and one
// more at the end for the desktop entry. A place holds 0 when nothing was registered there, so
// a failed registration is never unregistered.
struct ThumbnailSet {
    std::vector<HTHUMBNAIL> ThumbnailIds;
};

// Registers a thumbnail of every window entry, and with `toggleDesktop` one of the desktop
// ("Progman"), with the main window as destination, each placed at GetThumbnailRect. Failures
// (no compositor, composition off, a window that went away) leave that place empty; the popup
// keeps its boxes and stays usable.
void RegisterThumbnails(const ThumbnailApi& api, ThumbnailSet& set, HWND mainWindow,
                        const ItemList& popupList, const SelectionState& state, const Design& design,
                        bool toggleDesktop, int screenWidth, int screenHeight);

// What the compositor is told about one thumbnail: shown, in `box`, with the aspect ratio of its
// `source` (the window's size), as large as fits and centred; a source of unknown size fills the
// whole box.
DWM_THUMBNAIL_PROPERTIES ThumbnailProperties(const RECT& box, SIZE source);

// Unregisters every handle that was registered and empties the set. What was registered is
// remembered by the set, so a preference changed while the popup was open does no harm.
void UnregisterThumbnails(const ThumbnailApi& api, ThumbnailSet& set);

} // namespace mw

// Where every row, picture, text box, separator line and thumbnail of the popup lies, and which
// entry lies under a point. Pure computations over the design and the selection record: no
// window, no drawing context.
//
// Coordinates are pixels of the popup's client area, origin at its top-left corner; rectangles
// are left, top, right, bottom with right and bottom exclusive.
//
// `desktopRow` is true when the popup's first command entry is the desktop toggle shown as a
// thumbnail row (thumbnail mode on and the ToggleDesktop preference on). It only takes effect in
// thumbnail mode, so callers may pass the bare preference as well.
#pragma once

#include <windows.h>

#include "model/selection.h"
#include "view/design.h"

namespace mw {

// Row heights and column widths derived from the design.
int IconRowHeight(const Design& design);      // the icon with the item space above and below
int ThumbnailRowHeight(const Design& design); // the thumbnail with the item space above and below
int WindowRowHeight(const Design& design);    // thumbnail row in thumbnail mode, else icon row
int PictureWidth(const Design& design);       // the icon's, or the wider of icon and thumbnail
int SeparatorBlock(const Design& design);     // item space, a one-pixel line, item space
bool HasDesktopRow(const Design& design, bool desktopRow);
// The line above a narrowed list: an icon row for the text, then a separator block.
int HeaderHeight(const Design& design);
// The text box of that line (inside the icon row, like an entry's text box without a picture);
// false when the state has no header.
bool GetHeaderTextBox(const SelectionState& state, const Design& design, bool desktopRow, RECT* out);
// The y of the separator below the header; false when the state has no header.
bool HeaderSeparatorY(const SelectionState& state, const Design& design, int* y);

// Popup width and height for the counts and text column width of `state`.
SIZE PopupSize(const SelectionState& state, const Design& design, bool desktopRow);

// Vertical offsets of the launcher and command sections, measured from the top margin.
int LauncherOffset(const SelectionState& state, const Design& design);
int CommandOffset(const SelectionState& state, const Design& design);

// Entry rectangle of (section, index); false and nothing written for an entry that does not exist.
bool GetEntryRect(const SelectionState& state, const Design& design, bool desktopRow, int section, int index,
                  RECT* out);
// Width of the picture column of a row: PictureWidth for window rows, the thumbnail size for the
// desktop row, the icon size otherwise.
int RowPictureWidth(const Design& design, bool desktopRow, int section, int index);
// True for the command row that shows the desktop toggle as a thumbnail row.
bool IsDesktopRow(const Design& design, bool desktopRow, int section, int index);
// Top-left corner of the icon of a row whose entry rectangle is `entry`.
POINT IconPosition(const RECT& entry, const Design& design);
// Text box of (section, index); false for an entry that does not exist.
bool GetTextBox(const SelectionState& state, const Design& design, bool desktopRow, int section, int index,
                RECT* out);

// Separator lines. Each yields false when that separator is not drawn.
bool WindowLauncherSeparatorY(const SelectionState& state, const Design& design, int* y);
bool CommandSeparatorY(const SelectionState& state, const Design& design, int* y);
// Exclusive end x of every separator line (popup width minus the window space).
int SeparatorEndX(const SelectionState& state, const Design& design, bool desktopRow);

// Entry rectangle of the selected entry; false when the selection names no existing entry.
bool GetCursorRect(const SelectionState& state, const Design& design, bool desktopRow, RECT* out);

// The entry under `point`: windows first, then launcher entries, then commands.
bool HitTest(const SelectionState& state, const Design& design, bool desktopRow, POINT point, int* section,
             int* index);

// Selects the entry under a mouse message's point (signed 16-bit x low, y high). True only when
// the selection changed; otherwise the record is left as it was.
bool SelectAtPoint(SelectionState& state, const Design& design, bool desktopRow, LPARAM point);

// Live-thumbnail box of window entry `index`, or of the desktop row for index −1. The vertical
// inset depends on the primary screen's aspect ratio, passed in as its size in pixels. An empty
// rectangle for an entry that has no thumbnail.
RECT GetThumbnailRect(int index, const SelectionState& state, const Design& design, bool desktopRow,
                      int screenWidth, int screenHeight);
// The inset D of the thumbnail box below the row's top padding.
int ThumbnailInset(const Design& design, int screenWidth, int screenHeight);

} // namespace mw

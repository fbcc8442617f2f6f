// Where every row, picture, text box, separator line and thumbnail of the popup lies, which
// entry lies under a point, and how the selection steps. Pure computations over the design and
// the selection record: no window, no drawing context.
//
// Coordinates are pixels of the popup's client area, origin at its top-left corner; rectangles
// are left, top, right, bottom with right and bottom exclusive.
//
// `desktopRow` is true when the popup's first command entry is the desktop toggle shown as a
// thumbnail row (thumbnail mode on and the ToggleDesktop preference on). It only takes effect in
// thumbnail mode, so callers may pass the bare preference as well.
#pragma once

#include <windows.h>

#include "view/design.h"

namespace mw {

constexpr int SectionWindows = 10;
constexpr int SectionLauncher = 20;
constexpr int SectionCommands = 30;

// The selection inside the open popup, with the counts it moves across.
struct SelectionState {
    int windowCount = 0;
    int launcherCount = 0;
    int commandCount = 0;
    int textColumnWidth = 0;
    int section = SectionWindows;
    int index = 0;
    // Above the first section while the list is narrowed: the line that says how (HeaderHeight),
    // else 0. Every row, separator and the popup's height move down by it.
    int headerHeight = 0;
};

// Row heights and column widths derived from the design.
int IconRowHeight(const Design& design);      // the icon with the item space above and below
int ThumbnailRowHeight(const Design& design); // the thumbnail with the item space above and below
int WindowRowHeight(const Design& design);    // thumbnail row in thumbnail mode, else icon row
int PictureWidth(const Design& design);       // the icon's, or the wider of icon and thumbnail
int SeparatorBlock(const Design& design);     // is, a one-pixel line, is
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

// Number of entries in a section; 0 for an unknown section value.
int SectionCount(const SelectionState& state, int section);
// True when (section, index) names an existing entry.
bool IsValidEntry(const SelectionState& state, int section, int index);

// Entry rectangle of (section, index); false and nothing written for an entry that does not exist.
bool GetEntryRect(const SelectionState& state, const Design& design, bool desktopRow, int section, int index,
                  RECT* out);
// Width of the picture column of a row: P for window rows, ts for the desktop row, ic otherwise.
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
// Exclusive end x of every separator line (popup width − ws).
int SeparatorEndX(const SelectionState& state, const Design& design, bool desktopRow);

// Entry rectangle of the selected entry; false when the selection names no existing entry.
bool GetCursorRect(const SelectionState& state, const Design& design, bool desktopRow, RECT* out);

// The entry under `point`: windows first, then launcher entries, then commands.
bool HitTest(const SelectionState& state, const Design& design, bool desktopRow, POINT point, int* section,
             int* index);

// Selects the entry under a mouse message's point (signed 16-bit x low, y high). True only when
// the selection changed; otherwise the record is left as it was.
bool SelectAtPoint(SelectionState& state, const Design& design, bool desktopRow, LPARAM point);

// One entry up across sections; with `wrap` it wraps around the list, without it it stops at
// the first entry. True when the selection changed.
bool SelectPrevious(SelectionState& state, bool wrap);
// One entry down across sections, wrapping from the last entry to the first.
bool SelectNext(SelectionState& state);
// One entry down across sections, staying on the last entry.
bool StepForward(SelectionState& state);

// Live-thumbnail box of window entry `index`, or of the desktop row for index −1. The vertical
// inset depends on the primary screen's aspect ratio, passed in as its size in pixels. An empty
// rectangle for an entry that has no thumbnail.
RECT GetThumbnailRect(int index, const SelectionState& state, const Design& design, bool desktopRow,
                      int screenWidth, int screenHeight);
// The inset D of the thumbnail box below the row's top padding.
int ThumbnailInset(const Design& design, int screenWidth, int screenHeight);

} // namespace mw

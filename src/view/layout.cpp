#include "view/layout.h"

#include <windowsx.h>

#include <algorithm>

namespace mw {

int IconRowHeight(const Design& design) {
    return design.iconSize + 2 * design.itemSpace;
}

int ThumbnailRowHeight(const Design& design) {
    return design.thumbnailSize + 2 * design.itemSpace;
}

int WindowRowHeight(const Design& design) {
    return design.thumbnail ? ThumbnailRowHeight(design) : IconRowHeight(design);
}

int PictureWidth(const Design& design) {
    return design.thumbnail ? std::max(design.iconSize, design.thumbnailSize) : design.iconSize;
}

int SeparatorBlock(const Design& design) {
    return 2 * design.itemSpace + 1;
}

bool HasDesktopRow(const Design& design, bool desktopRow) {
    return desktopRow && design.thumbnail != 0;
}

int HeaderHeight(const Design& design) {
    return IconRowHeight(design) + SeparatorBlock(design);
}

bool GetHeaderTextBox(const SelectionState& state, const Design& design, bool desktopRow, RECT* out) {
    if (state.headerHeight <= 0)
        return false;
    const int ws = design.windowSpace;
    out->left = ws + design.itemSpace;
    out->top = ws + design.itemSpace;
    out->right = PopupSize(state, design, desktopRow).cx - ws;
    out->bottom = ws + IconRowHeight(design) - design.itemSpace;
    return true;
}

bool HeaderSeparatorY(const SelectionState& state, const Design& design, int* y) {
    if (state.headerHeight <= 0)
        return false;
    *y = design.windowSpace + IconRowHeight(design) + design.itemSpace;
    return true;
}

SIZE PopupSize(const SelectionState& state, const Design& design, bool desktopRow) {
    const int ws = design.windowSpace;
    SIZE size;
    size.cx = 2 * ws + PictureWidth(design) + design.itemSpace + state.textColumnWidth;
    int height = 2 * ws + state.headerHeight + state.windowCount * WindowRowHeight(design) +
                 (state.launcherCount + state.commandCount) * IconRowHeight(design);
    if (HasDesktopRow(design, desktopRow) && state.commandCount > 0)
        height += design.thumbnailSize - design.iconSize;
    if (state.commandCount > 0)
        height += SeparatorBlock(design);
    if (state.windowCount > 0 && state.launcherCount > 0)
        height += SeparatorBlock(design);
    size.cy = height;
    return size;
}

int LauncherOffset(const SelectionState& state, const Design& design) {
    return state.windowCount * WindowRowHeight(design) + (state.windowCount > 0 ? SeparatorBlock(design) : 0);
}

int CommandOffset(const SelectionState& state, const Design& design) {
    // The separator above the commands is there even when they open the list.
    return state.windowCount * WindowRowHeight(design) + state.launcherCount * IconRowHeight(design) +
           (state.windowCount > 0 && state.launcherCount > 0 ? SeparatorBlock(design) : 0) +
           SeparatorBlock(design);
}

bool IsDesktopRow(const Design& design, bool desktopRow, int section, int index) {
    return section == SectionCommands && index == 0 && HasDesktopRow(design, desktopRow);
}

bool GetEntryRect(const SelectionState& state, const Design& design, bool desktopRow, int section, int index,
                  RECT* out) {
    if (!IsValidEntry(state, section, index))
        return false;
    const int ws = design.windowSpace + state.headerHeight;
    const int rowIcon = IconRowHeight(design);
    int top = 0;
    int height = rowIcon;
    switch (section) {
    case SectionWindows:
        height = WindowRowHeight(design);
        top = ws + index * height;
        break;
    case SectionLauncher:
        top = ws + LauncherOffset(state, design) + index * rowIcon;
        break;
    default: // SectionCommands
        top = ws + CommandOffset(state, design);
        if (HasDesktopRow(design, desktopRow)) {
            if (index == 0)
                height = ThumbnailRowHeight(design);
            else
                top += design.thumbnailSize - design.iconSize + index * rowIcon;
        } else {
            top += index * rowIcon;
        }
        break;
    }
    out->left = design.windowSpace;
    out->top = top;
    out->right = design.windowSpace + PictureWidth(design) + design.itemSpace + state.textColumnWidth;
    out->bottom = top + height;
    return true;
}

int RowPictureWidth(const Design& design, bool desktopRow, int section, int index) {
    if (section == SectionWindows)
        return PictureWidth(design);
    if (IsDesktopRow(design, desktopRow, section, index))
        return design.thumbnailSize;
    return design.iconSize;
}

POINT IconPosition(const RECT& entry, const Design& design) {
    return POINT{entry.left, entry.top + design.itemSpace};
}

bool GetTextBox(const SelectionState& state, const Design& design, bool desktopRow, int section, int index,
                RECT* out) {
    RECT row;
    if (!GetEntryRect(state, design, desktopRow, section, index, &row))
        return false;
    out->left = design.windowSpace + design.itemSpace + RowPictureWidth(design, desktopRow, section, index);
    out->top = row.top + design.itemSpace;
    out->right = row.right;
    out->bottom = row.bottom - design.itemSpace;
    return true;
}

bool WindowLauncherSeparatorY(const SelectionState& state, const Design& design, int* y) {
    if (state.windowCount <= 0 || state.launcherCount <= 0)
        return false;
    *y = design.windowSpace + state.headerHeight + state.windowCount * WindowRowHeight(design) +
         design.itemSpace;
    return true;
}

bool CommandSeparatorY(const SelectionState& state, const Design& design, int* y) {
    if (state.commandCount <= 0)
        return false;
    *y = design.windowSpace + state.headerHeight + state.windowCount * WindowRowHeight(design) +
         (state.windowCount > 0 && state.launcherCount > 0 ? SeparatorBlock(design) : 0) +
         state.launcherCount * IconRowHeight(design) + design.itemSpace;
    return true;
}

int SeparatorEndX(const SelectionState& state, const Design& design, bool desktopRow) {
    return PopupSize(state, design, desktopRow).cx - design.windowSpace;
}

bool GetCursorRect(const SelectionState& state, const Design& design, bool desktopRow, RECT* out) {
    return GetEntryRect(state, design, desktopRow, state.section, state.index, out);
}

bool HitTest(const SelectionState& state, const Design& design, bool desktopRow, POINT point, int* section,
             int* index) {
    static const int kSections[] = {SectionWindows, SectionLauncher, SectionCommands};
    for (int s : kSections) {
        const int count = SectionCount(state, s);
        for (int i = 0; i < count; ++i) {
            RECT r;
            if (!GetEntryRect(state, design, desktopRow, s, i, &r))
                continue;
            if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) {
                *section = s;
                *index = i;
                return true;
            }
        }
    }
    return false;
}

bool SelectAtPoint(SelectionState& state, const Design& design, bool desktopRow, LPARAM point) {
    POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    int section = 0;
    int index = 0;
    if (!HitTest(state, design, desktopRow, p, &section, &index))
        return false;
    if (section == state.section && index == state.index)
        return false;
    state.section = section;
    state.index = index;
    return true;
}

int ThumbnailInset(const Design& design, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0)
        return 0; // no screen size: no inset, no division by 0
    // The quotient times the box size, kept in single precision, halved in single precision, then
    // truncated toward zero.
    const float scaled =
        static_cast<float>(static_cast<double>(screenHeight) / screenWidth * design.thumbnailSize);
    const float half = scaled / 2.0f;
    return static_cast<int>(half);
}

RECT GetThumbnailRect(int index, const SelectionState& state, const Design& design, bool desktopRow,
                      int screenWidth, int screenHeight) {
    RECT row{};
    bool found = false;
    if (index == -1)
        found = HasDesktopRow(design, desktopRow) &&
                GetEntryRect(state, design, desktopRow, SectionCommands, 0, &row);
    else
        found = GetEntryRect(state, design, desktopRow, SectionWindows, index, &row);
    if (!found)
        return RECT{0, 0, 0, 0};
    RECT box;
    box.left = design.windowSpace;
    box.right = design.windowSpace + design.thumbnailSize;
    box.top = row.top + design.itemSpace + ThumbnailInset(design, screenWidth, screenHeight);
    box.bottom = row.bottom;
    return box;
}

} // namespace mw

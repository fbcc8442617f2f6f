// The selection inside the open popup and every rule that moves it: one step either way, the
// steps of the gesture, and where it lands after the list was narrowed or lost a window entry.
// Pure rules over counts and places: no window, no layout.
#pragma once

#include "model/item_list.h"

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

// Number of entries in a section; 0 for an unknown section value.
int SectionCount(const SelectionState& state, int section);
// True when (section, index) names an existing entry.
bool IsValidEntry(const SelectionState& state, int section, int index);

// One entry up across sections; with `wrap` it wraps around the list, without it it stops at
// the first entry. True when the selection changed.
bool SelectPrevious(SelectionState& state, bool wrap);
// One entry down across sections, wrapping from the last entry to the first.
bool SelectNext(SelectionState& state);
// One entry down across sections, staying on the last entry.
bool StepForward(SelectionState& state);

// The selection after the list changed: window `keptWindow` when it is still listed (>= 0), else
// the first window or launcher entry. When nothing matches, only the command entries are left and
// Enter must not close a window or minimise them all by reflex: the cancel entry (`cancelIndex`)
// is selected, or no entry when there is none (-1).
void SelectAfterNarrowing(SelectionState& state, int keptWindow, int cancelIndex);
// The index of the cancel entry among the command entries, or -1.
int CancelEntryIndex(const ItemList& commands);

// The selection after window entry `removed` left the list: the same entry when another one
// went, else the entry now at the same place, or the new last window; with no window left, the
// first launcher entry, else the cancel entry (`cancelIndex`, -1: none), so a reflexive Enter
// does nothing harmful. The window count goes down by one.
SelectionState SelectionAfterRemoval(const SelectionState& state, int removed, int cancelIndex);

} // namespace mw

// The launcher entries of the preferences file (section "Launcher"): "cnt" and, for each entry n
// from 1, the keys "pathn", "namen", "wfoln", "cmndn", "iconn" and "icon_idxn".
#pragma once

#include <string>

#include "model/item_list.h"

namespace mw {

// Appends the stored launcher entries to `list`, each with its icon at iconSize x iconSize: the
// chosen icon of "icon%d" at "icon_idx%d" when one is stored, otherwise the icon of its path.
// Reads at most as many entries as the list has free slots; a negative count reads none.
// Returns the number of entries appended.
int LoadLauncherSection(const std::wstring& prefsPath, int iconSize, LauncherList& list);

// The "cnt" value as stored, which may exceed what the list can hold (or be negative).
int StoredLauncherCount(const std::wstring& prefsPath);

} // namespace mw

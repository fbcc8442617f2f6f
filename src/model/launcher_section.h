// The launcher list as the preferences file describes it: the stored entries of section
// "Launcher" (read in settings/) made into list entries with their icons.
#pragma once

#include <string>

#include "model/item_list.h"
#include "settings/launcher_file.h"

namespace mw {

// Appends the stored launcher entries to `list`, each with its icon at iconSize x iconSize: the
// chosen icon of "icon%d" at "icon_idx%d" when one is stored, otherwise the icon of its path.
// Reads at most as many entries as the list has free slots; a negative count reads none.
// Returns the number of entries appended.
int LoadLauncherSection(const std::wstring& prefsPath, int iconSize, LauncherList& list);

} // namespace mw

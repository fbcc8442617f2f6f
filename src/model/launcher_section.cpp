#include "model/launcher_section.h"

#include "system/file_icon.h"

namespace mw {

int LoadLauncherSection(const std::wstring& prefsPath, int iconSize, LauncherList& list) {
    const int stored = StoredLauncherCount(prefsPath);
    int loaded = 0;
    // The list has 50 slots: entries beyond them stay in the file, untouched, and are not read.
    for (int number = 1; number <= stored && list.count < ListCapacity; ++number) {
        const StoredLauncherEntry s = ReadLauncherEntry(prefsPath, number);
        LauncherEntry entry;
        InitListItem(entry, s.name.c_str(), LauncherEntryIcon(s.path, s.iconFile, s.iconIndex, iconSize),
                     nullptr, KindLauncher);
        SetLauncherFields(entry, s.commandLine.c_str(), s.path.c_str(), s.workFolder.c_str(),
                          s.iconFile.c_str(), s.iconIndex);
        entry.raise = s.raise;
        const int appended = AppendLauncherEntry(list, entry);
        DestroyLauncherEntry(entry); // the list holds its own copy and its own icon
        if (!appended)
            break;
        ++loaded;
    }
    return loaded;
}

} // namespace mw

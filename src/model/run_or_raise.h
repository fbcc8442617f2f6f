// Run or raise: a launcher entry that switches to its program's window when the program is
// running, and starts it otherwise. Which window that is, is decided here; the controller brings
// it forward the way it brings any chosen window forward.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/item_list.h"
#include "model/program_state.h"

namespace mw {

// The target of a shortcut file; empty when it has none. ShortcutTargetPath is the real one.
using ShortcutResolver = std::wstring (*)(const wchar_t* shortcut);

// The program a launcher entry's path starts as a process of its own: the path itself, or a
// shortcut's (".lnk") target, when that ends in ".exe" or ".com". Empty for anything else, a
// document or a folder: those start some other program, whose windows are not the entry's.
std::wstring EntryProgramPath(const std::wstring& entryPath, ShortcutResolver resolve);

// An open window and the program its process runs ("" when unknown).
struct RunningWindow {
    HWND window = nullptr;
    std::wstring programPath;
    int order = 0; // Z position: 0 in front
};

// The front-most window (lowest order) whose program path equals `program`, letter case aside;
// null when there is none or `program` is empty.
HWND WindowToRaise(const std::wstring& program, const std::vector<RunningWindow>& windows);

// The open window a run-or-raise entry brings forward instead of starting its program: first
// among `listed` (the windows the popup shows, may be null), else among all top-level windows
// a popup would offer, which a launcher-only popup or a narrowed list leaves out. Null when the
// entry is not run-or-raise, is no program, or its program has no such window.
HWND RunningWindowOfEntry(ProgramState& program, const LauncherEntry& entry, const ItemList* listed);

} // namespace mw

#include "model/run_or_raise.h"

#include "system/file_icon.h"
#include "system/window_list.h"

namespace mw {

namespace {

bool HasExtension(const std::wstring& path, const wchar_t* extension) {
    const std::wstring own = PathExtension(path.c_str());
    return CompareStringOrdinal(own.c_str(), static_cast<int>(own.size()), extension, -1, TRUE) == CSTR_EQUAL;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// The path as a process reports its own: full, backslashes, long names. A path that cannot be
// looked up (a program that is gone) is compared as written.
std::wstring ComparablePath(const std::wstring& path) {
    wchar_t full[MAX_PATH] = {};
    const DWORD fullLength = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    if (fullLength == 0 || fullLength >= MAX_PATH)
        return path;
    wchar_t longer[MAX_PATH] = {};
    const DWORD longLength = GetLongPathNameW(full, longer, MAX_PATH);
    return longLength > 0 && longLength < MAX_PATH ? longer : full;
}

std::vector<RunningWindow> RunningWindowsOf(ProgramPathMemo* memo, const ItemList& list) {
    std::vector<RunningWindow> windows;
    for (int i = 0; i < list.count && i < ListCapacity; ++i) {
        if (!IsWindow(list.slots[i].window))
            continue; // closed since the list was made
        wchar_t path[TextBufferLength] = {};
        ProgramPathOfWindow(memo, list.slots[i].window, path);
        windows.push_back({list.slots[i].window, path, list.slots[i].order});
    }
    return windows;
}

} // namespace

std::wstring EntryProgramPath(const std::wstring& entryPath, ShortcutResolver resolve) {
    std::wstring program = entryPath;
    if (HasExtension(program, L".lnk"))
        program = resolve ? resolve(entryPath.c_str()) : std::wstring();
    if (program.empty() || !(HasExtension(program, L".exe") || HasExtension(program, L".com")))
        return std::wstring();
    return program;
}

HWND WindowToRaise(const std::wstring& program, const std::vector<RunningWindow>& windows) {
    if (program.empty())
        return nullptr;
    const RunningWindow* front = nullptr;
    for (const RunningWindow& w : windows) {
        if (SamePath(w.programPath, program) && (!front || w.order < front->order))
            front = &w;
    }
    return front ? front->window : nullptr;
}

HWND RunningWindowOfEntry(ProgramState& state, const LauncherEntry& entry, const ItemList* listed) {
    if (!entry.raise)
        return nullptr;
    const std::wstring program = EntryProgramPath(entry.path, ShortcutTargetPath);
    if (program.empty())
        return nullptr;
    const std::wstring comparable = ComparablePath(program);
    if (listed) {
        if (HWND window = WindowToRaise(comparable, RunningWindowsOf(&state.pathMemo, *listed)))
            return window;
    }
    // Icon size 0 takes no icons: only the windows and their programs are wanted.
    std::unique_ptr<ItemList> all = CreateItemList();
    EnumerateTopLevelWindows(state, *all, 0);
    HWND window = WindowToRaise(comparable, RunningWindowsOf(&state.pathMemo, *all));
    ClearItemList(*all);
    return window;
}

} // namespace mw

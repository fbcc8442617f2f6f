#include "model/selection.h"

namespace mw {

int SectionCount(const SelectionState& state, int section) {
    switch (section) {
    case SectionWindows:
        return state.windowCount;
    case SectionLauncher:
        return state.launcherCount;
    case SectionCommands:
        return state.commandCount;
    default:
        return 0;
    }
}

bool IsValidEntry(const SelectionState& state, int section, int index) {
    return index >= 0 && index < SectionCount(state, section);
}

namespace {

// Moves to (section, index) and tells whether that is a change.
bool MoveTo(SelectionState& state, int section, int index) {
    const bool changed = section != state.section || index != state.index;
    state.section = section;
    state.index = index;
    return changed;
}

} // namespace

bool SelectPrevious(SelectionState& state, bool wrap) {
    // Stepping from a selection that names no entry would land outside the lists; stay put.
    if (!IsValidEntry(state, state.section, state.index))
        return false;
    const int nW = state.windowCount, nL = state.launcherCount, nC = state.commandCount;
    if (state.index > 0)
        return MoveTo(state, state.section, state.index - 1);
    switch (state.section) {
    case SectionWindows:
        if (!wrap)
            return false;
        if (nC > 0)
            return MoveTo(state, SectionCommands, nC - 1);
        if (nL > 0)
            return MoveTo(state, SectionLauncher, nL - 1);
        return MoveTo(state, SectionWindows, nW - 1);
    case SectionLauncher:
        if (nW > 0)
            return MoveTo(state, SectionWindows, nW - 1);
        if (!wrap)
            return false;
        if (nC > 0)
            return MoveTo(state, SectionCommands, nC - 1);
        return MoveTo(state, SectionLauncher, nL - 1);
    default: // SectionCommands
        if (nL > 0)
            return MoveTo(state, SectionLauncher, nL - 1);
        if (nW > 0)
            return MoveTo(state, SectionWindows, nW - 1);
        return MoveTo(state, SectionCommands, nC - 1);
    }
}

bool SelectNext(SelectionState& state) {
    if (!IsValidEntry(state, state.section, state.index))
        return false;
    const int nW = state.windowCount, nL = state.launcherCount, nC = state.commandCount;
    if (state.index + 1 < SectionCount(state, state.section))
        return MoveTo(state, state.section, state.index + 1);
    switch (state.section) {
    case SectionWindows:
        if (nL > 0)
            return MoveTo(state, SectionLauncher, 0);
        if (nC > 0)
            return MoveTo(state, SectionCommands, 0);
        return MoveTo(state, SectionWindows, 0);
    case SectionLauncher:
        if (nC > 0)
            return MoveTo(state, SectionCommands, 0);
        if (nW > 0)
            return MoveTo(state, SectionWindows, 0);
        return MoveTo(state, SectionLauncher, 0);
    default: // SectionCommands
        if (nW > 0)
            return MoveTo(state, SectionWindows, 0);
        // Only into the launcher section when it has entries: an empty section is no selection.
        if (nL > 0)
            return MoveTo(state, SectionLauncher, 0);
        return MoveTo(state, SectionCommands, 0);
    }
}

bool StepForward(SelectionState& state) {
    if (!IsValidEntry(state, state.section, state.index))
        return false;
    const int nL = state.launcherCount, nC = state.commandCount;
    if (state.index + 1 < SectionCount(state, state.section))
        return MoveTo(state, state.section, state.index + 1);
    switch (state.section) {
    case SectionWindows:
        if (nL > 0)
            return MoveTo(state, SectionLauncher, 0);
        if (nC > 0)
            return MoveTo(state, SectionCommands, 0);
        return false;
    case SectionLauncher:
        if (nC > 0)
            return MoveTo(state, SectionCommands, 0);
        return false;
    default:
        return false;
    }
}

void SelectAfterNarrowing(SelectionState& state, int keptWindow, int cancelIndex) {
    state.index = 0;
    if (keptWindow >= 0 && keptWindow < state.windowCount) {
        state.section = SectionWindows;
        state.index = keptWindow;
    } else if (state.windowCount > 0) {
        state.section = SectionWindows;
    } else if (state.launcherCount > 0) {
        state.section = SectionLauncher;
    } else {
        state.section = SectionCommands;
        state.index = cancelIndex;
    }
}

int CancelEntryIndex(const ItemList& commands) {
    for (int i = 0; i < commands.count && i < ListCapacity; ++i) {
        if (commands.slots[i].kind == KindCancel)
            return i;
    }
    return -1;
}

SelectionState SelectionAfterRemoval(const SelectionState& state, int removed, int cancelIndex) {
    SelectionState s = state;
    if (removed < 0 || removed >= s.windowCount)
        return s;
    --s.windowCount;
    if (s.section != SectionWindows)
        return s;
    if (removed < s.index)
        --s.index;
    if (s.index < s.windowCount)
        return s;
    if (s.windowCount > 0) {
        s.index = s.windowCount - 1;
    } else if (s.launcherCount > 0) {
        s.index = 0;
        s.section = SectionLauncher;
    } else {
        // Only the command entries are left, as after a narrowing that matches nothing.
        s.index = cancelIndex;
        s.section = SectionCommands;
    }
    return s;
}

} // namespace mw

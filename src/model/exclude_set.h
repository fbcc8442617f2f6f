// The window titles the user asked the popup to leave out (section "Exclude" of the preferences
// file), kept in the program's state (ProgramState::excluded) in the file's order. Filled once at
// start-up and only read afterwards.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mw {

using ExcludeSet = std::vector<std::wstring>;

// Appends a copy of the title; duplicates and empty titles are kept as given. Null counts as "".
void AddExcluded(ExcludeSet& set, const wchar_t* title);

// True when an entry has exactly the title's length and every UTF-16 unit equal: no case folding,
// no trimming, no locale rules. An empty title matches an empty entry. Null counts as "".
bool IsExcluded(const ExcludeSet& set, const wchar_t* title);

// Appends the titles of the section "Exclude" of the preferences file at `path`.
void LoadExcludeSection(ExcludeSet& set, const std::wstring& path);

// Empties the set (tests, and shutdown).
void ClearExcludeSet(ExcludeSet& set);

size_t ExcludeCount(const ExcludeSet& set);

} // namespace mw

// The matching rule of the typed filter: whether an entry's texts contain what the user typed,
// the way a Japanese or English user expects to type it (letter case, full-width and half-width
// forms, hiragana and katakana all count as the same).
#pragma once

#include <string>

namespace mw {

// True when `text` contains `filter` under that folding; an empty filter matches everything.
bool TextMatchesFilter(const std::wstring& text, const std::wstring& filter);

// The file name of a program path (after the last backslash or slash), the part a user types.
std::wstring ProgramFileName(const std::wstring& path);

} // namespace mw

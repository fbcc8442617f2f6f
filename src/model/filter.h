// The matching rule of the typed filter: whether an entry's texts contain what the user typed,
// the way a Japanese or English user expects to type it (letter case, full-width and half-width
// forms, hiragana and katakana all count as the same, and romaji finds kana). Several words
// separated by spaces must all be found, in any order.
#pragma once

#include <string>
#include <vector>

namespace mw {

// Where a typed word was found. The order is the order of preference: a match at the start of a
// word ranks above one inside a word.
enum class MatchPlace { None = 0, InsideWord = 1, WordStart = 2 };

// The words of a filter: split at spaces (ASCII or ideographic), empty ones dropped.
std::vector<std::wstring> FilterWords(const std::wstring& filter);

// Whether a word of the text begins at `at`: the text's start, after a character that is neither
// letter nor digit, or where the script changes (Latin, hiragana, katakana, kanji).
bool IsWordStart(const std::wstring& text, size_t at);

// Where one typed word is found in the text, literally (under the folding above) or as romaji
// spelling kana; the best place of every occurrence.
MatchPlace FindFilterWord(const std::wstring& text, const std::wstring& word);

// True when `text` holds every word of `filter`; an empty filter matches everything.
bool TextMatchesFilter(const std::wstring& text, const std::wstring& filter);

// The file name of a program path (after the last backslash or slash), the part a user types.
std::wstring ProgramFileName(const std::wstring& path);

} // namespace mw

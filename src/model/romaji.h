// Romaji typed by the user finding kana in a text: "memo" finds "メモ帳", "nihon" finds "にほん".
// Hepburn and kunrei spellings both count, katakana (full and half width) read as the hiragana
// they sound like, and kanji are never spelled (there is no dictionary).
#pragma once

#include <cstddef>
#include <string>

namespace mw {

// Whether `romaji` (lower- or upper-case ASCII letters, hyphens, apostrophes) spells the text from
// `start` on. Characters other than kana must be typed as they are (letter case and width aside).
// The last syllable may be incomplete: "nih" already spells "にほ".
bool RomajiSpellsAt(const std::wstring& text, size_t start, const std::wstring& romaji);

// Whether a typed word can be romaji at all: ASCII letters, hyphens and apostrophes, one letter
// at least.
bool LooksLikeRomaji(const std::wstring& word);

// Whether the text holds a kana anywhere (else romaji has nothing to find that a plain search
// would not).
bool HoldsKana(const std::wstring& text);

} // namespace mw

// How kana are typed in romaji: every spelling a Japanese user may type for a hiragana or a
// hiragana pair, Hepburn and kunrei alike ("shi" and "si", "tsu" and "tu", "ja" and "zya"),
// plus the x/l forms of the small kana. Katakana are looked up as the hiragana they sound like.
#pragma once

#include <cstddef>

namespace mw {

struct RomajiSpelling {
    const wchar_t* kana;   // one hiragana, or a hiragana and its small companion ("しゃ")
    const char* spellings; // lower-case ASCII, separated by spaces
};

const RomajiSpelling* RomajiSpellings();
size_t RomajiSpellingCount();

} // namespace mw

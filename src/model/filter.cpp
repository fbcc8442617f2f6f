#include "model/filter.h"

#include <windows.h>

#include "model/romaji.h"

namespace mw {

namespace {

// The script of a character, for telling where words begin; 0 for what is no letter or digit.
int ScriptOf(wchar_t c) {
    if (c >= 0x3041 && c <= 0x309F)
        return 2; // hiragana
    if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF66 && c <= 0xFF9F))
        return 3; // katakana, full and half width
    if ((c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || c == 0x3005)
        return 4; // kanji
    if (!IsCharAlphaNumericW(c))
        return 0;
    return c < 0x2E80 || (c >= 0xFF10 && c <= 0xFF5A) ? 1 : 5; // Latin (and its full-width forms), other
}

// The position of the first occurrence of `word` in text from `from` on, with its length; -1.
int FindLiteral(const std::wstring& text, size_t from, const std::wstring& word, int& length) {
    const int at = FindNLSStringEx(LOCALE_NAME_INVARIANT,
                                   FIND_FROMSTART | NORM_IGNORECASE | NORM_IGNOREWIDTH | NORM_IGNOREKANATYPE,
                                   text.c_str() + from, static_cast<int>(text.size() - from), word.c_str(),
                                   static_cast<int>(word.size()), &length, nullptr, nullptr, 0);
    return at < 0 ? -1 : at + static_cast<int>(from);
}

} // namespace

std::vector<std::wstring> FilterWords(const std::wstring& filter) {
    std::vector<std::wstring> words;
    std::wstring word;
    for (const wchar_t c : filter + L' ') {
        if (c != L' ' && c != 0x3000) {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

bool IsWordStart(const std::wstring& text, size_t at) {
    if (at == 0 || at >= text.size())
        return at == 0;
    const int before = ScriptOf(text[at - 1]);
    return before == 0 || before != ScriptOf(text[at]);
}

MatchPlace FindFilterWord(const std::wstring& text, const std::wstring& word) {
    if (word.empty())
        return MatchPlace::WordStart;
    MatchPlace best = MatchPlace::None;
    for (size_t from = 0; from < text.size();) {
        int length = 0;
        const int at = FindLiteral(text, from, word, length);
        if (at < 0)
            break;
        if (IsWordStart(text, static_cast<size_t>(at)))
            return MatchPlace::WordStart;
        best = MatchPlace::InsideWord;
        from = static_cast<size_t>(at) + 1;
    }
    if (!LooksLikeRomaji(word) || !HoldsKana(text))
        return best;
    for (size_t at = 0; at < text.size(); ++at) {
        if (!RomajiSpellsAt(text, at, word))
            continue;
        if (IsWordStart(text, at))
            return MatchPlace::WordStart;
        best = MatchPlace::InsideWord;
    }
    return best;
}

bool TextMatchesFilter(const std::wstring& text, const std::wstring& filter) {
    for (const std::wstring& word : FilterWords(filter)) {
        if (FindFilterWord(text, word) == MatchPlace::None)
            return false;
    }
    return true;
}

std::wstring ProgramFileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace mw

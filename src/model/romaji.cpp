#include "model/romaji.h"

#include <map>
#include <string>
#include <vector>

#include "model/romaji_table.h"

namespace mw {

namespace {

constexpr wchar_t kSyllabicN = L'ん';
constexpr wchar_t kSmallTsu = L'っ';
constexpr wchar_t kLongVowel = L'ー';
constexpr wchar_t kVoicedMark = 0x309B;     // ゛, and the half-width one after folding
constexpr wchar_t kSemiVoicedMark = 0x309C; // ゜

// Half-width katakana U+FF66..U+FF9D as hiragana, in code order.
constexpr wchar_t kHalfWidthKana[] = L"をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬね"
                                     L"のはひふへほまみむめもやゆよらりるれろわん";

wchar_t AsHiragana(wchar_t c) {
    if (c >= 0x30A1 && c <= 0x30F6)
        return static_cast<wchar_t>(c - 0x60);
    if (c >= 0xFF66 && c <= 0xFF9D)
        return kHalfWidthKana[c - 0xFF66];
    if (c == 0xFF9E || c == 0x3099)
        return kVoicedMark;
    if (c == 0xFF9F || c == 0x309A)
        return kSemiVoicedMark;
    return c;
}

bool IsHiragana(wchar_t c) {
    return c >= 0x3041 && c <= 0x3096;
}

// か + ゛ is が (one code point up), は + ゜ is ぱ (two up), う + ゛ is ゔ.
wchar_t Compose(wchar_t base, wchar_t mark) {
    static const std::wstring voiceable = L"かきくけこさしすせそたちつてとはひふへほ";
    static const std::wstring semiVoiceable = L"はひふへほ";
    if (mark == kVoicedMark && base == L'う')
        return L'ゔ';
    if (mark == kVoicedMark && voiceable.find(base) != std::wstring::npos)
        return static_cast<wchar_t>(base + 1);
    if (mark == kSemiVoicedMark && semiVoiceable.find(base) != std::wstring::npos)
        return static_cast<wchar_t>(base + 2);
    return 0;
}

const std::map<std::wstring, std::vector<std::string>>& SpellingsByKana() {
    static const std::map<std::wstring, std::vector<std::string>> table = [] {
        std::map<std::wstring, std::vector<std::string>> t;
        for (size_t i = 0; i < RomajiSpellingCount(); ++i) {
            const std::string all = RomajiSpellings()[i].spellings;
            std::vector<std::string>& list = t[RomajiSpellings()[i].kana];
            for (size_t at = 0; at < all.size();) {
                const size_t end = all.find(' ', at);
                list.push_back(all.substr(at, end == std::string::npos ? std::string::npos : end - at));
                at = end == std::string::npos ? all.size() : end + 1;
            }
        }
        return t;
    }();
    return table;
}

// The ways the kana at `t` may be typed, each with how many characters of the text it covers.
struct Unit {
    const std::vector<std::string>* spellings;
    size_t length;
};

std::vector<Unit> UnitsAt(const std::wstring& h, size_t t) {
    std::vector<Unit> units;
    if (t >= h.size() || !IsHiragana(h[t]))
        return units;
    std::wstring kana(1, h[t]);
    size_t length = 1;
    if (t + 1 < h.size()) {
        if (const wchar_t composed = Compose(h[t], h[t + 1])) {
            kana.assign(1, composed);
            length = 2;
        }
    }
    const auto& table = SpellingsByKana();
    if (t + length < h.size()) {
        const auto pair = table.find(kana + h[t + length]);
        if (pair != table.end())
            units.push_back({&pair->second, length + 1});
    }
    const auto single = table.find(kana);
    if (single != table.end())
        units.push_back({&single->second, length});
    return units;
}

bool IsVowel(char c) {
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

// Full-width ASCII as ASCII, ASCII letters in lower case.
wchar_t Fold(wchar_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        c = static_cast<wchar_t>(c - 0xFEE0);
    if (c >= L'A' && c <= L'Z')
        c = static_cast<wchar_t>(c - L'A' + L'a');
    return c;
}

class Matcher {
  public:
    Matcher(const std::wstring& hiragana, const std::string& typed)
        : h_(hiragana), typed_(typed), failed_((typed.size() + 1) * (hiragana.size() + 1), false) {}

    bool Match(size_t p, size_t t) {
        if (p == typed_.size())
            return true;
        if (t >= h_.size())
            return false;
        const size_t slot = p * (h_.size() + 1) + t;
        if (failed_[slot])
            return false;
        const bool matched = Try(p, t);
        if (!matched)
            failed_[slot] = true;
        return matched;
    }

  private:
    // Typed text from p spells `s` (then the rest must match from `next`), or ends inside it.
    bool Spelled(size_t p, const std::string& s, size_t next) {
        const size_t rest = typed_.size() - p;
        if (rest < s.size())
            return typed_.compare(p, rest, s, 0, rest) == 0;
        return typed_.compare(p, s.size(), s) == 0 && Match(p + s.size(), next);
    }

    // What the kana after `t` may start with when typed.
    bool NextStartsWith(size_t t, bool (*test)(char)) {
        for (const Unit& u : UnitsAt(h_, t)) {
            for (const std::string& s : *u.spellings) {
                if (test(s[0]))
                    return true;
            }
        }
        return false;
    }

    bool Try(size_t p, size_t t) {
        const wchar_t c = h_[t];
        if (c == kSyllabicN) {
            if (Spelled(p, "nn", t + 1) || Spelled(p, "n'", t + 1))
                return true;
            // A lone "n" before a vowel or y would be the start of な..の or にゃ instead.
            const bool loneN =
                !NextStartsWith(t + 1, [](char s) { return IsVowel(s) || s == 'y' || s == 'n'; });
            if (loneN && Spelled(p, "n", t + 1))
                return true;
            // Hepburn writes ん before b, m and p as m: "shimbun".
            return NextStartsWith(t + 1, [](char s) { return s == 'b' || s == 'm' || s == 'p'; }) &&
                   Spelled(p, "m", t + 1);
        }
        if (c == kSmallTsu) {
            for (const char* s : {"xtu", "ltu", "xtsu", "ltsu"}) {
                if (Spelled(p, s, t + 1))
                    return true;
            }
            // The consonant after it is typed twice: "kitte", "matcha" (Hepburn's tch).
            const char first = typed_[p];
            if (IsVowel(first) || first == 'n' || first < 'a' || first > 'z')
                return false;
            if (p + 1 == typed_.size())
                return true;
            const char second = typed_[p + 1];
            return (second == first || (first == 't' && second == 'c')) && Match(p + 1, t + 1);
        }
        if (c == kLongVowel)
            return (typed_[p] == '-' && Match(p + 1, t + 1)) || Match(p, t + 1);
        const std::vector<Unit> units = UnitsAt(h_, t);
        for (const Unit& u : units) {
            for (const std::string& s : *u.spellings) {
                if (Spelled(p, s, t + u.length))
                    return true;
            }
        }
        return units.empty() && Fold(c) == static_cast<wchar_t>(typed_[p]) && Match(p + 1, t + 1);
    }

    const std::wstring& h_;
    const std::string& typed_;
    std::vector<bool> failed_; // (typed, text) positions known not to match
};

} // namespace

bool LooksLikeRomaji(const std::wstring& word) {
    bool letter = false;
    for (const wchar_t c : word) {
        const wchar_t f = Fold(c);
        if (f >= L'a' && f <= L'z') {
            letter = true;
        } else if (f != L'-' && f != L'\'') {
            return false;
        }
    }
    return letter;
}

bool HoldsKana(const std::wstring& text) {
    for (const wchar_t c : text) {
        if (IsHiragana(AsHiragana(c)))
            return true;
    }
    return false;
}

bool RomajiSpellsAt(const std::wstring& text, size_t start, const std::wstring& romaji) {
    if (start >= text.size() || !LooksLikeRomaji(romaji))
        return false;
    // Most starting points are neither kana nor the first letter typed: no need to look further.
    const wchar_t first = AsHiragana(text[start]);
    if (!IsHiragana(first) && first != kLongVowel && Fold(first) != Fold(romaji[0]))
        return false;
    std::wstring hiragana(text.begin() + static_cast<std::ptrdiff_t>(start), text.end());
    for (wchar_t& c : hiragana)
        c = AsHiragana(c);
    std::string typed;
    for (const wchar_t c : romaji)
        typed.push_back(static_cast<char>(Fold(c)));
    // A syllable cannot begin on the mark of the kana before it.
    if (hiragana[0] == kVoicedMark || hiragana[0] == kSemiVoicedMark)
        return false;
    return Matcher(hiragana, typed).Match(0, 0);
}

} // namespace mw

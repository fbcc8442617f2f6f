#include "settings/design_file.h"

namespace mw {

namespace {

constexpr wchar_t kWindowSection[] = L"Window";
constexpr wchar_t kItemSection[] = L"Item";
constexpr wchar_t kCursorSection[] = L"Cursor";

// A colour is read into eight characters: "#RRGGBB" and the terminator.
constexpr DWORD kColorBufferLength = 8;
// "text-align" is read into ten: at most nine characters.
constexpr DWORD kAlignBufferLength = 10;

int DigitValue(wchar_t c) {
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return static_cast<int>(c) - L'0';
}

int ReadInt(const std::wstring& file, const wchar_t* section, const wchar_t* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, file.c_str()));
}

std::wstring ReadText(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                      const wchar_t* defaultText, DWORD bufferLength) {
    std::wstring text(bufferLength, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(section, key, defaultText, text.data(), bufferLength, file.c_str());
    text.resize(length < bufferLength ? length : bufferLength - 1);
    return text;
}

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* word) {
    return CompareStringOrdinal(text.c_str(), static_cast<int>(text.size()), word, -1, TRUE) == CSTR_EQUAL;
}

// "transparent" (any case) or a missing key: the selected entry keeps the list's colour.
COLORREF CursorColor(const std::wstring& file, const wchar_t* key, const wchar_t* colorDefault,
                     COLORREF listColor, unsigned bit, unsigned& colorsSet) {
    const std::wstring text = ReadText(file, kCursorSection, key, L"transparent", MAX_PATH);
    if (EqualsIgnoringCase(text, L"transparent"))
        return listColor;
    colorsSet |= bit;
    return ParseDesignColor(kCursorSection, key, colorDefault, file);
}

// A colour key the file gives a value (an empty value counts as none).
COLORREF ListColor(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                   const wchar_t* defaultText, unsigned bit, unsigned& colorsSet) {
    if (!ReadText(file, section, key, L"", kColorBufferLength).empty())
        colorsSet |= bit;
    return ParseDesignColor(section, key, defaultText, file);
}

int TextAlignFromWord(const std::wstring& word) {
    if (EqualsIgnoringCase(word, L"left"))
        return DT_LEFT;
    if (EqualsIgnoringCase(word, L"right"))
        return DT_RIGHT;
    return DT_CENTER;
}

} // namespace

int CornersFromWord(const std::wstring& word) {
    if (EqualsIgnoringCase(word, L"system"))
        return kCornersSystem;
    if (EqualsIgnoringCase(word, L"square"))
        return kCornersSquare;
    if (EqualsIgnoringCase(word, L"small"))
        return kCornersSmall;
    return kCornersRound;
}

int OpacityFromAlpha(int alpha) {
    // Only the low byte would reach the window: 256 would give an invisible popup that still
    // holds the keyboard. Out of range means opaque.
    return alpha < 0 || alpha > 255 ? 0 : alpha;
}

COLORREF ColorFromText(const wchar_t* text) {
    // Copy at most seven characters: a longer value is cut as the 8-character buffer cuts it, a
    // shorter one leaves zeros for its missing digits.
    wchar_t chars[kColorBufferLength] = {};
    for (DWORD i = 0; text && i + 1 < kColorBufferLength && text[i] != L'\0'; ++i)
        chars[i] = text[i];
    CharUpperBuffW(chars, kColorBufferLength - 1);

    BYTE channel[3] = {};
    for (int c = 0; c < 3; ++c) {
        const wchar_t high = chars[1 + 2 * c];
        const wchar_t low = chars[2 + 2 * c];
        const int value = (high ? DigitValue(high) : 0) * 16 + (low ? DigitValue(low) : 0);
        channel[c] = static_cast<BYTE>(value & 0xFF); // modulo 256, also for negative sums
    }
    return RGB(channel[0], channel[1], channel[2]);
}

COLORREF ParseDesignColor(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText,
                          const std::wstring& file) {
    const std::wstring text = ReadText(file, section, key, defaultText, kColorBufferLength);
    return ColorFromText(text.c_str());
}

std::wstring DesignPathForExe(const std::wstring& exePath) {
    // Drive and folder of the executable, as splitting the path would give them.
    const size_t slash = exePath.find_last_of(L"\\/");
    std::wstring folder;
    if (slash != std::wstring::npos) {
        folder = exePath.substr(0, slash + 1);
    } else if (exePath.size() >= 2 && exePath[1] == L':') {
        folder = exePath.substr(0, 2);
    }
    return folder + L"design.ini";
}

DesignWindowStyle ReadDesign(const std::wstring& designPath, Design& out) {
    const std::wstring& f = designPath;
    unsigned& set = out.colorsSet;
    set = 0;
    out.backgroundColor = ListColor(f, kWindowSection, L"background-color", L"#FFFFFF", kSetBackground, set);
    out.textColor = ListColor(f, kItemSection, L"text-color", L"#000000", kSetText, set);
    out.separatorColor = ListColor(f, kWindowSection, L"separator-color", L"#000000", kSetSeparator, set);
    out.cursorFrameColor = ListColor(f, kCursorSection, L"frame-color", L"#ff8119", kSetCursorFrame, set);
    out.frameColor = ListColor(f, kWindowSection, L"frame-color", L"#3c3c3c", kSetFrame, set);
    out.cursorTextColor = CursorColor(f, L"text-color", L"#000000", out.textColor, kSetCursorText, set);
    out.cursorBackgroundColor =
        CursorColor(f, L"background-color", L"#FFFFFF", out.backgroundColor, kSetCursorBackground, set);
    out.cursorTextBold = ReadInt(f, kCursorSection, L"text-bold", 0);

    DesignWindowStyle style;
    style.dropShadow = ReadInt(f, kWindowSection, L"drop_shadow", 0);
    style.alpha = ReadInt(f, kWindowSection, L"alpha", 0);

    out.windowSpace = ReadInt(f, kWindowSection, L"window-space", 12);
    out.itemSpace = ReadInt(f, kItemSection, L"item-space", 4);
    out.textMaxWidth = ReadInt(f, kItemSection, L"text-maxwidth", 500);
    out.textWidth = ReadInt(f, kItemSection, L"text-width", -1);
    out.thumbnail = ReadInt(f, kItemSection, L"thumbnail", 0);
    out.thumbnailSize = ReadInt(f, kItemSection, L"thumbnail-size", 100);
    out.thumbnailOverlay = ReadInt(f, kItemSection, L"thumbnail-overlay", 1);
    const int iconSize = ReadInt(f, kItemSection, L"icon-size", 32);
    out.iconSize = iconSize < 0 ? 0 : iconSize > kMaxIconSize ? kMaxIconSize : iconSize;
    out.textAlign =
        TextAlignFromWord(ReadText(f, kItemSection, L"text-align", L"center", kAlignBufferLength));
    out.corners = CornersFromWord(ReadText(f, kWindowSection, L"corners", L"round", kAlignBufferLength));
    return style;
}

} // namespace mw

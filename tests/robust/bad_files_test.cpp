// Generated preferences and design files, thousands of them, through the real loaders: random
// bytes, every byte-order mark, absurd numbers, broken sections, endless lines, ten thousand
// launcher keys. Each one must load quickly, without a crash, and leave every value inside the
// rules the loaders promise. The seed is fixed; a failure names the seed and the case, and
//   MW_BADFILE_SEED=<seed> MW_BADFILE_CASE=<case> robust_tests.exe --gtest_filter=BadFiles.*
// runs that one case again.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/launcher_section.h"
#include "settings/preferences_file.h"
#include "model/exclude_set.h"
#include "model/item_list.h"
#include "settings/preferences.h"
#include "support/temp_dir.h"
#include "view/design.h"
#include "view/design_file.h"

namespace {

using mw::test::TempDir;

constexpr uint32_t kDefaultSeed = 0x4D57F11E;
constexpr int kCaseCount = 2000;
// A single file that takes longer than this is taken for a hang.
constexpr ULONGLONG kCaseLimitMs = 20000;

// ---- which case runs, for the watchdog ---------------------------------------------------------

std::atomic<int> g_currentCase{-1};
std::atomic<const char*> g_phaseName{""};
std::atomic<int> g_iconSize{0};
std::atomic<ULONGLONG> g_caseStarted{0};
uint32_t g_seed = kDefaultSeed;

DWORD WINAPI CaseWatchdog(LPVOID) {
    for (;;) {
        Sleep(500);
        const int current = g_currentCase.load();
        const ULONGLONG started = g_caseStarted.load();
        if (current >= 0 && GetTickCount64() - started > kCaseLimitMs) {
            std::fprintf(stderr,
                         "\nbad file case %d (seed %u) did not finish in %llu ms (stuck in %s, icon size "
                         "%d): a hang\n",
                         current, static_cast<unsigned>(g_seed),
                         static_cast<unsigned long long>(kCaseLimitMs), g_phaseName.load(),
                         g_iconSize.load());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 4);
        }
    }
}

// ---- generation ---------------------------------------------------------------------------------

enum class Encoding { Ansi, Utf8Bom, Utf16Le, Utf16Be };

// What the generator knows for certain about a file: keys written exactly once, as plain decimal
// numbers or plain words, in a section that appears exactly once, in an encoding the profile
// functions read on every system. Everything else is only checked against the rules.
struct Expectations {
    bool reliable = false;
    std::map<std::wstring, long long> preference; // key -> stored number
    std::optional<long long> excludeCount;
    std::optional<long long> launcherCount;
    std::optional<long long> iconSize;
    std::optional<int> textAlign;
};

struct GeneratedFile {
    std::string bytes;
    Expectations expect;
    std::string description;
};

class Generator {
  public:
    explicit Generator(uint32_t seed) : rng_(seed) {}

    int Below(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    std::wstring Letters(size_t length) {
        static const wchar_t kChars[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-.";
        std::wstring s;
        s.reserve(length);
        for (size_t i = 0; i < length; ++i)
            s += kChars[Below(static_cast<int>(std::size(kChars) - 1))];
        return s;
    }

    // Text with characters from many scripts, control characters and lone surrogates.
    std::wstring WildText(size_t length) {
        std::wstring s;
        for (size_t i = 0; i < length; ++i) {
            switch (Below(8)) {
            case 0:
                s += static_cast<wchar_t>(0x3040 + Below(0x60));
                break; // kana
            case 1:
                s += static_cast<wchar_t>(0x4E00 + Below(0x5000));
                break;
            case 2:
                s += static_cast<wchar_t>(0xD800 + Below(0x800));
                break; // surrogates, paired or not
            case 3:
                s += static_cast<wchar_t>(1 + Below(31));
                break; // control characters
            case 4:
                s += L"=[];#\\\""[Below(7)];
                break;
            default:
                s += static_cast<wchar_t>(L' ' + Below(95));
                break;
            }
        }
        return s;
    }

    // A number as somebody might have typed it, or a program might have mangled it.
    std::wstring Number() {
        switch (Below(16)) {
        case 0:
            return L"2147483647";
        case 1:
            return L"-2147483648";
        case 2:
            return L"2147483648";
        case 3:
            return L"-2147483649";
        case 4:
            return L"99999999999999999999999999";
        case 5:
            return L"-99999999999999999999999999";
        case 6:
            return L"0x7fffffff";
        case 7:
            return L"  -" + std::to_wstring(Below(1000)) + L"  ";
        case 8:
            return L"+" + std::to_wstring(Below(100));
        case 9:
            return L"1e9";
        case 10:
            return L"";
        case 11:
            return std::to_wstring(Below(5)) + L"abc";
        case 12:
            return L"\x0661\x0662"; // Arabic-Indic digits
        case 13:
            return std::wstring(200 + Below(5000), L'9');
        default:
            return std::to_wstring(static_cast<int>(rng_()) % 1000);
        }
    }

    // A plain decimal number within the range of a 32-bit int.
    long long CleanNumber() {
        switch (Below(6)) {
        case 0:
            return -static_cast<long long>(Below(100000));
        case 1:
            return 2147483647;
        case 2:
            return -2147483647;
        case 3:
            return 1;
        default:
            return Below(1000);
        }
    }

    std::wstring LongValue() {
        static const size_t kLengths[] = {258, 259, 260, 261, 300, 1024, 4096, 70000};
        const size_t length = kLengths[Below(static_cast<int>(std::size(kLengths)))];
        return Chance(50) ? Letters(length) : WildText(length);
    }

    std::wstring Value() {
        switch (Below(8)) {
        case 0:
            return LongValue();
        case 1:
            return WildText(1 + Below(40));
        case 2:
            return L"";
        case 3:
            return Number();
        default:
            return Letters(1 + Below(60));
        }
    }

    std::wstring Colour() {
        switch (Below(9)) {
        case 0:
            return L"#" + Letters(6);
        case 1:
            return L"#";
        case 2:
            return L"";
        case 3:
            return L"transparent";
        case 4:
            return L"TRANSPARENT";
        case 5:
            return WildText(1 + Below(12));
        case 6:
            return L"ffffff";
        case 7:
            return L"#" + std::wstring(1000, L'F');
        default: {
            wchar_t text[16];
            std::swprintf(text, 16, L"#%06x", static_cast<unsigned>(rng_() & 0xFFFFFF));
            return text;
        }
        }
    }

    std::wstring LineEnd() {
        switch (Below(6)) {
        case 0:
            return L"\n";
        case 1:
            return L"\r";
        case 2:
            return L"\r\r\n";
        default:
            return L"\r\n";
        }
    }

    std::mt19937& rng() { return rng_; }

  private:
    std::mt19937 rng_;
};

std::string Encode(const std::wstring& text, Encoding encoding) {
    std::string bytes;
    switch (encoding) {
    case Encoding::Ansi:
    case Encoding::Utf8Bom: {
        if (encoding == Encoding::Utf8Bom)
            bytes = "\xEF\xBB\xBF";
        const UINT codePage = encoding == Encoding::Ansi ? CP_ACP : CP_UTF8;
        const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
        std::string converted(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), converted.data(), n,
                            nullptr, nullptr);
        bytes += converted;
        break;
    }
    case Encoding::Utf16Le:
        bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        break;
    case Encoding::Utf16Be:
        bytes = "\xFE\xFF";
        for (wchar_t c : text) {
            bytes += static_cast<char>((c >> 8) & 0xFF);
            bytes += static_cast<char>(c & 0xFF);
        }
        break;
    }
    return bytes;
}

const wchar_t* const kDesignKeys[][2] = {
    {L"Window", L"background-color"}, {L"Window", L"frame-color"}, {L"Window", L"separator-color"},
    {L"Window", L"drop_shadow"},      {L"Window", L"alpha"},       {L"Window", L"window-space"},
    {L"Item", L"text-color"},         {L"Item", L"item-space"},    {L"Item", L"text-maxwidth"},
    {L"Item", L"text-width"},         {L"Item", L"thumbnail"},     {L"Item", L"thumbnail-size"},
    {L"Item", L"thumbnail-overlay"},  {L"Item", L"icon-size"},     {L"Item", L"text-align"},
    {L"Cursor", L"frame-color"},      {L"Cursor", L"text-color"},  {L"Cursor", L"background-color"},
    {L"Cursor", L"text-bold"},
};

bool IsColourKey(const std::wstring& key) {
    return key.find(L"color") != std::wstring::npos;
}

// A file that looks like a preferences file and a design file at once (the loaders only read
// the sections they know), more or less broken depending on the case's family.
GeneratedFile StructuredFile(Generator& g, int family, bool manyExcludes, bool manyLaunchers) {
    GeneratedFile out;
    const bool clean = family == 0; // only sections and keys, each once, plain values
    const Encoding encoding =
        clean ? (g.Chance(50) ? Encoding::Utf16Le : Encoding::Ansi) : static_cast<Encoding>(g.Below(4));
    out.expect.reliable = clean;
    std::wstring text;
    const std::wstring eol = clean ? L"\r\n" : L"";
    auto line = [&](const std::wstring& content) { text += content + (clean ? eol : g.LineEnd()); };

    // Preference
    if (clean || g.Chance(85)) {
        line(clean ? L"[Preference]"
                   : (g.Chance(10)   ? L"[Preference"
                      : g.Chance(10) ? L"  [preference]  "
                                     : L"[Preference]"));
        for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
            const std::wstring key = mw::PreferenceKeys()[i].key;
            if (g.Chance(25))
                continue; // missing key
            if (clean) {
                const long long value = g.Chance(40) ? g.Below(4) : g.CleanNumber();
                out.expect.preference[key] = value;
                line(key + L"=" + std::to_wstring(value));
            } else {
                line(key + L"=" + (g.Chance(70) ? g.Number() : g.Value()));
                if (g.Chance(10))
                    line(key + L"=" + g.Number()); // a duplicate
            }
        }
        if (!clean && g.Chance(10))
            line(g.LongValue()); // a line without "="
    }

    // Exclude
    if (clean || g.Chance(70)) {
        line(L"[Exclude]");
        const int keys = manyExcludes ? 10000 : g.Below(20);
        if (clean) {
            const long long count = g.Chance(10) ? 2147483647LL : g.Chance(10) ? -5 : g.Below(keys + 5);
            out.expect.excludeCount = count;
            line(L"cnt=" + std::to_wstring(count));
        } else {
            line(L"cnt=" + g.Number());
        }
        for (int i = 1; i <= keys; ++i)
            line(std::to_wstring(i) + L"=" + (keys > 100 ? g.Letters(8) : g.Value()));
    }

    // Launcher
    if (clean || g.Chance(70)) {
        line(L"[Launcher]");
        const bool many = manyLaunchers; // ten thousand keys
        const int entries = many ? 10000 / 6 + 1 : g.Chance(10) ? 40 + g.Below(20) : g.Below(8);
        if (clean) {
            const long long count = g.Chance(10) ? 2147483647LL : g.Chance(10) ? -1 : g.Below(entries + 3);
            out.expect.launcherCount = count;
            line(L"cnt=" + std::to_wstring(count));
        } else {
            line(L"cnt=" + (g.Chance(5)    ? std::wstring(L"2147483647")
                            : g.Chance(40) ? g.Number()
                                           : std::to_wstring(g.Below(entries + 3))));
        }
        for (int i = 1; i <= entries; ++i) {
            const std::wstring n = std::to_wstring(i);
            // Paths that exist, that do not, and that are far too long; never a network path, whose
            // lookup may wait on a network that is not there.
            std::wstring path;
            switch (g.Below(5)) {
            case 0:
                path = L"C:\\windows\\notepad.exe";
                break;
            case 1:
                path = L"C:\\nowhere\\" + g.Letters(300);
                break;
            case 2:
                path = L"C:\\windows";
                break;
            default:
                path = L"C:\\nowhere\\" + g.Letters(1 + g.Below(20)) + L".exe";
                break;
            }
            const bool small = many;
            line(L"path" + n + L"=" + path);
            line(L"name" + n + L"=" + (small || clean ? g.Letters(1 + g.Below(300)) : g.Value()));
            line(L"cmnd" + n + L"=" + (small ? g.Letters(5) : g.Letters(g.Below(400))));
            line(L"wfol" + n + L"=" + (small ? g.Letters(5) : g.Letters(g.Below(400))));
            // An icon file that does not hold an icon, or none.
            line(L"icon" + n + L"=" +
                 (g.Chance(20) ? std::wstring(L"C:\\windows\\win.ini") : std::wstring()));
            line(L"icon_idx" + n + L"=" + (clean ? std::to_wstring(g.CleanNumber()) : g.Number()));
        }
    }

    // The three sections of design.ini.
    const wchar_t* lastSection = L"";
    for (const auto& entry : kDesignKeys) {
        if (wcscmp(lastSection, entry[0]) != 0) {
            lastSection = entry[0];
            if (!clean && g.Chance(10))
                continue;
            line(std::wstring(L"[") + entry[0] + L"]");
        }
        if (g.Chance(20))
            continue;
        const std::wstring key = entry[1];
        std::wstring value;
        if (IsColourKey(key)) {
            value = g.Colour();
        } else if (key == L"text-align") {
            static const wchar_t* const kWords[] = {L"left",    L"RIGHT", L"center",
                                                    L"justify", L"",      L"leftright"};
            const int pick = g.Below(6);
            value = clean || g.Chance(60) ? kWords[pick] : g.Value();
            if (clean)
                out.expect.textAlign = pick == 0 ? DT_LEFT : pick == 1 ? DT_RIGHT : DT_CENTER;
        } else if (clean) {
            const long long number = g.CleanNumber();
            value = std::to_wstring(number);
            if (key == L"icon-size")
                out.expect.iconSize = number;
        } else {
            value = g.Chance(80) ? g.Number() : g.Value();
        }
        line(key + L"=" + value);
    }
    if (!clean && g.Chance(15))
        text.insert(static_cast<size_t>(g.Below(static_cast<int>(text.size()) + 1)), 1, L'\0');
    out.bytes = Encode(text, encoding);
    static const char* const kEncodings[] = {"ANSI", "UTF-8 with BOM", "UTF-16LE", "UTF-16BE"};
    out.description = std::string(clean ? "clean " : "broken ") + kEncodings[static_cast<int>(encoding)];
    return out;
}

GeneratedFile RandomBytes(Generator& g) {
    GeneratedFile out;
    const size_t length = g.Chance(5) ? 200000 : static_cast<size_t>(g.Below(4096));
    out.bytes.resize(length);
    for (char& c : out.bytes)
        c = static_cast<char>(g.rng()() & 0xFF);
    static const char* const kStarts[] = {
        "", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "[Preference]\r\n", "[Launcher]\ncnt=9\n"};
    const char* start = kStarts[g.Below(static_cast<int>(std::size(kStarts)))];
    out.bytes.insert(0, start);
    out.description = "random bytes";
    return out;
}

// An endless single line, with or without any line end.
GeneratedFile OneLongLine(Generator& g) {
    GeneratedFile out;
    std::wstring text = L"[" + g.Letters(100000) + L"]";
    if (g.Chance(50))
        text = L"[Preference]\r\nRightButton=" + std::wstring(300000, L'1') + L"\r\n[Item]\r\ntext-align=" +
               g.Letters(100000);
    out.bytes = Encode(text, static_cast<Encoding>(g.Below(4)));
    out.description = "long lines";
    return out;
}

GeneratedFile MakeCase(uint32_t seed, int caseNumber) {
    Generator g(seed ^ (static_cast<uint32_t>(caseNumber) * 2654435761u));
    const int family = caseNumber % 10;
    // Ten thousand keys cost the profile functions seconds per file: a few cases each.
    const bool manyExcludes = caseNumber % 500 == 13;
    const bool manyLaunchers = caseNumber % 500 == 20;
    switch (family) {
    case 0:
    case 1:
        return StructuredFile(g, 0, manyExcludes, manyLaunchers);
    case 7:
    case 8:
        return RandomBytes(g);
    case 9:
        return caseNumber % 40 == 9 ? OneLongLine(g) : StructuredFile(g, family, manyExcludes, manyLaunchers);
    default:
        return StructuredFile(g, family, manyExcludes, manyLaunchers);
    }
}

// ---- checks -------------------------------------------------------------------------------------

// The profile reader's view of a stored decimal number: anything past 32 bits wraps.
int AsProfileInt(long long stored) {
    return static_cast<int>(static_cast<uint32_t>(stored));
}

void CheckPreferences(const mw::Preferences& p, const Expectations& expect, const std::string& where) {
    for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i) {
        const mw::PreferenceKey& key = mw::PreferenceKeys()[i];
        const int value = p.*key.field;
        const std::string name(key.key, key.key + wcslen(key.key));
        if (key.exactlyOne) {
            EXPECT_TRUE(value == 0 || value == 1) << where << ": " << name << " = " << value;
        }
        if (!expect.reliable)
            continue;
        const auto stored = expect.preference.find(key.key);
        int wanted = key.defaultValue;
        if (stored != expect.preference.end()) {
            wanted = AsProfileInt(stored->second);
            if (key.exactlyOne)
                wanted = wanted == 1 ? 1 : 0;
        }
        EXPECT_EQ(value, wanted) << where << ": " << name;
    }
}

void CheckExclude(const mw::ExcludeSet& set, const Expectations& expect, const std::string& where) {
    EXPECT_LE(mw::ExcludeCount(set), static_cast<size_t>(mw::kMaxExcludeKeys)) << where;
    if (expect.reliable && expect.excludeCount) {
        const long long count = *expect.excludeCount;
        const size_t wanted =
            count <= 0 ? 0 : static_cast<size_t>(count > mw::kMaxExcludeKeys ? mw::kMaxExcludeKeys : count);
        EXPECT_EQ(mw::ExcludeCount(set), wanted) << where << ": cnt " << count;
    }
}

void CheckLaunchers(const mw::LauncherList& list, int loaded, const Expectations& expect,
                    const std::string& where) {
    ASSERT_GE(list.count, 0) << where;
    ASSERT_LE(list.count, mw::ListCapacity) << where;
    EXPECT_EQ(loaded, list.count) << where;
    for (int i = 0; i < list.count; ++i) {
        const mw::LauncherEntry& e = list.slots[i];
        EXPECT_EQ(e.kind, mw::KindLauncher) << where << " entry " << i;
        for (const std::wstring* s : {&e.name, &e.path, &e.commandLine, &e.workFolder, &e.iconFile}) {
            EXPECT_LE(s->size(), 259u) << where << " entry " << i;
            EXPECT_EQ(s->find(L'\0'), std::wstring::npos) << where << " entry " << i;
        }
    }
    for (int i = list.count; i < mw::ListCapacity; ++i) {
        EXPECT_EQ(list.slots[i].icon.get(), nullptr)
            << where << ": slot " << i << " past the count holds an icon";
    }
    // Entries 1..cnt are read whether their keys are there or not (an absent one is empty).
    if (expect.reliable && expect.launcherCount) {
        long long wanted = AsProfileInt(*expect.launcherCount);
        if (wanted < 0)
            wanted = 0;
        if (wanted > mw::ListCapacity)
            wanted = mw::ListCapacity;
        EXPECT_EQ(list.count, wanted) << where << ": cnt " << *expect.launcherCount;
    }
}

void CheckDesign(const mw::Design& d, const Expectations& expect, const std::string& where) {
    for (COLORREF c : {d.backgroundColor, d.textColor, d.separatorColor, d.cursorFrameColor, d.frameColor,
                       d.cursorTextColor, d.cursorBackgroundColor}) {
        EXPECT_EQ(c & 0xFF000000u, 0u) << where << ": colour " << std::hex << c;
    }
    EXPECT_TRUE(d.textAlign == DT_LEFT || d.textAlign == DT_CENTER || d.textAlign == DT_RIGHT)
        << where << ": textAlign " << d.textAlign;
    if (expect.reliable && expect.textAlign) {
        EXPECT_EQ(d.textAlign, *expect.textAlign) << where;
    }
    EXPECT_TRUE(d.iconSize >= 0 && d.iconSize <= mw::kMaxIconSize) << where << ": iconSize " << d.iconSize;
    if (expect.reliable && expect.iconSize) {
        const int stored = AsProfileInt(*expect.iconSize);
        EXPECT_EQ(d.iconSize, stored < 0                  ? 0
                              : stored > mw::kMaxIconSize ? mw::kMaxIconSize
                                                          : stored)
            << where;
    }
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A window of a class of its own, so the design's class style changes stay with it.
HWND StyledWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MwBadFileDesignTarget";
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(f);
    return ok;
}

// Runs cases first..last of the block (or the one case named by MW_BADFILE_CASE, if it falls in
// the block). Blocks of 500 keep each test well inside the per-test time limit.
void RunCases(int blockFirst, int blockLast) {
    if (const char* s = std::getenv("MW_BADFILE_SEED"))
        g_seed = static_cast<uint32_t>(std::strtoul(s, nullptr, 0));
    int first = blockFirst, last = blockLast;
    if (const char* c = std::getenv("MW_BADFILE_CASE")) {
        first = last = std::atoi(c);
        if (first < blockFirst || first > blockLast)
            return;
    }
    static const bool watchdogStarted = [] {
        CloseHandle(CreateThread(nullptr, 0, CaseWatchdog, nullptr, 0, nullptr));
        return true;
    }();
    (void)watchdogStarted;
    const int blockSize = blockLast - blockFirst + 1;

    TempDir dir;
    HWND window = StyledWindow();
    if (!window) {
        ADD_FAILURE() << "no window for the design's styling";
        return;
    }
    int structuredClean = 0, withLaunchers = 0, fullLaunchers = 0, manyKeyCases = 0;
    const ULONGLONG begin = GetTickCount64();
    for (int n = first; n <= last; ++n) {
        const GeneratedFile file = MakeCase(g_seed, n);
        char where[128];
        std::snprintf(where, sizeof where, "seed %u case %d (%s, %zu bytes)", static_cast<unsigned>(g_seed),
                      n, file.description.c_str(), file.bytes.size());
        SCOPED_TRACE(where);
        // A fresh name per case: the profile functions keep recently read files in a cache.
        const std::wstring path = dir.file((L"case" + std::to_wstring(n) + L".ini").c_str());
        if (!WriteBytes(path, file.bytes)) {
            ADD_FAILURE() << "cannot write " << where;
            break;
        }

        g_caseStarted = GetTickCount64();
        g_currentCase = n;
        mw::Preferences prefs;
        for (size_t i = 0; i < mw::PreferenceKeyCount(); ++i)
            prefs.*mw::PreferenceKeys()[i].field = -777;
        ULONGLONG phase[5];
        phase[0] = GetTickCount64();
        g_phaseName = "LoadPreferences";
        mw::LoadPreferences(path, false, prefs);
        mw::ExcludeSet excluded; // a fresh set for each case
        phase[1] = GetTickCount64();
        g_phaseName = "LoadExcludeSection";
        mw::LoadExcludeSection(excluded, path);
        mw::Design design;
        phase[2] = GetTickCount64();
        g_phaseName = "LoadDesign";
        mw::LoadDesign(window, path, design);
        auto launchers = mw::CreateLauncherList();
        phase[3] = GetTickCount64();
        g_phaseName = "LoadLauncherSection";
        g_iconSize = design.iconSize;
        // Start-up hands the design's icon size on as read, however absurd; so does this.
        const int loaded = mw::LoadLauncherSection(path, design.iconSize, *launchers);
        phase[4] = GetTickCount64();
        if (phase[4] - phase[0] > 2000) {
            std::printf(
                "slow %s: preferences %llu ms, exclude %llu ms (%zu), design %llu ms, launchers %llu ms\n",
                where, phase[1] - phase[0], phase[2] - phase[1], mw::ExcludeCount(excluded),
                phase[3] - phase[2], phase[4] - phase[3]);
        }
        g_currentCase = -1;

        CheckPreferences(prefs, file.expect, where);
        CheckExclude(excluded, file.expect, where);
        CheckLaunchers(*launchers, loaded, file.expect, where);
        CheckDesign(design, file.expect, where);
        if (file.expect.reliable)
            ++structuredClean;
        if (launchers->count > 0)
            ++withLaunchers;
        if (launchers->count == mw::ListCapacity)
            ++fullLaunchers;
        if (file.bytes.size() > 100000)
            ++manyKeyCases;
        mw::ClearLauncherList(*launchers);
        DeleteFileW(path.c_str());
        if (testing::Test::HasFailure()) {
            std::fprintf(stderr, "first failing bad file: seed %u case %d\n", static_cast<unsigned>(g_seed),
                         n);
            break;
        }
    }
    DestroyWindow(window);
    std::printf(
        "bad files: cases %d..%d, %d with known values, %d with launchers, %d with a full list, %llu ms\n",
        first, last, structuredClean, withLaunchers, fullLaunchers,
        static_cast<unsigned long long>(GetTickCount64() - begin));
    // The generator must keep reaching the interesting corners, or the test proves little.
    if (first != last) {
        EXPECT_GT(structuredClean, blockSize / 10);
        EXPECT_GT(withLaunchers, blockSize / 10);
        EXPECT_GT(fullLaunchers, 2);
        EXPECT_GT(manyKeyCases, 0);
    }
}

static_assert(kCaseCount == 2000, "four blocks of 500");
TEST(BadFiles, Cases0To499LoadWithinTheRules) {
    RunCases(0, 499);
}
TEST(BadFiles, Cases500To999LoadWithinTheRules) {
    RunCases(500, 999);
}
TEST(BadFiles, Cases1000To1499LoadWithinTheRules) {
    RunCases(1000, 1499);
}
TEST(BadFiles, Cases1500To1999LoadWithinTheRules) {
    RunCases(1500, 1999);
}

} // namespace

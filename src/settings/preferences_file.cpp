#include "settings/preferences_file.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/log.h"
#include "platform/unique_handle.h"
#include "resource.h"

namespace mw {

namespace {

constexpr wchar_t kPreferenceSection[] = L"Preference";
constexpr wchar_t kExcludeSection[] = L"Exclude";
constexpr wchar_t kExcludeProgramSection[] = L"ExcludeProgram";
constexpr wchar_t kCountKey[] = L"cnt";

// Exclusion titles are read into 259 characters: at most 258 characters and the terminator.
constexpr DWORD kExcludeBufferLength = 259;

using P = PreferenceId;
using R = Refresh;
using Page = OptionsPage;
using C = ControlKind;

// Read order of the file. The defaults here are the ones a missing key gets; they agree with the
// initialisers of Preferences (a test holds them together).
constexpr PreferenceKey kPreferenceKeys[] = {
    {P::RightButton, L"RightButton", &Preferences::RightButton, 0, true, 0, 1, Page::Mouse,
     IDC_MOUSE_RIGHT_BUTTON, C::Choice, R::MouseHook},
    {P::ClickMode, L"ClickMode", &Preferences::ClickMode, 0, true, 0, 1, Page::Mouse, IDC_MOUSE_CLICK_MODE,
     C::Choice, R::MouseHook},
    {P::AdjustCursor, L"AdjustCursor", &Preferences::AdjustCursor, 0, true, 0, 1, Page::General,
     IDC_GENERAL_ADJUST_CURSOR, C::CheckBox, R::Nothing},
    {P::MoveWindow, L"MoveWindow", &Preferences::MoveWindow, 0, true, 0, 1, Page::General,
     IDC_GENERAL_MOVE_WINDOW, C::CheckBox, R::Nothing},
    {P::ReplaceAltTab, L"ReplaceAltTab", &Preferences::ReplaceAltTab, 0, false, 0, 2, Page::General,
     IDC_GENERAL_REPLACE_ALTTAB, C::Choice, R::MouseHook},
    {P::PermissibleRange, L"PermissibleRange", &Preferences::PermissibleRange, 6, false, 0,
     kPermissibleRangeMax, Page::Mouse, IDC_MOUSE_RANGE_SLIDER, C::Number, R::MouseHook},
    {P::TimeOutMilliSeconds, L"TimeOutMilliSeconds", &Preferences::TimeOutMilliSeconds, 500, false,
     kTimeOutMin, kTimeOutMax, Page::Mouse, IDC_MOUSE_TIMEOUT_UPDOWN, C::Number, R::MouseHook},
    {P::MoveCanselPx, L"MoveCanselPx", &Preferences::MoveCanselPx, 100, false, kCancelPxMin, kCancelPxMax,
     Page::Mouse, IDC_MOUSE_CANCEL_UPDOWN, C::Number, R::MouseHook},
    {P::ToCenter, L"ToCenter", &Preferences::ToCenter, 0, false, 0, 1, Page::Mouse, IDC_MOUSE_TO_CENTER,
     C::CheckBox, R::Nothing},
    {P::ToggleDesktop, L"ToggleDesktop", &Preferences::ToggleDesktop, 1, false, 0, 1, Page::General,
     IDC_GENERAL_TOGGLE_DESKTOP, C::CheckBox, R::CommandList},
    {P::Cansel, L"Cansel", &Preferences::Cansel, 1, false, 0, 1, Page::General, IDC_GENERAL_CANCEL,
     C::CheckBox, R::CommandList},
    {P::CloseWnd, L"CloseWnd", &Preferences::CloseWnd, 0, false, 0, 1, Page::General,
     IDC_GENERAL_CLOSE_WINDOW, C::CheckBox, R::CommandList},
    {P::Altab7, L"Altab7", &Preferences::Altab7, 0, false, 0, 1, Page::General, IDC_GENERAL_FRAMES,
     C::CheckBox, R::Nothing},
    {P::Altab7_Hide, L"Altab7_Hide", &Preferences::Altab7_Hide, 0, false, 0, 1, Page::General,
     IDC_GENERAL_FRAMES_HIDE, C::Choice, R::Nothing},
    // No page offers it: only the file sets it.
    {P::ArrangeWindow, L"ArrangeWindow", &Preferences::ArrangeWindow, 1, false, 0, 1, Page::None, 0, C::None,
     R::Nothing},
    {P::Language, L"Language", &Preferences::Language, 0, false, 0, 2, Page::General, IDC_GENERAL_LANGUAGE,
     C::Choice, R::Language},
    {P::TypeToFilter, L"TypeToFilter", &Preferences::TypeToFilter, 1, false, 0, 1, Page::General,
     IDC_GENERAL_TYPE_TO_FILTER, C::CheckBox, R::Nothing},
    {P::MiddleClose, L"MiddleClose", &Preferences::MiddleClose, 1, false, 0, 1, Page::General,
     IDC_GENERAL_MIDDLE_CLOSE, C::CheckBox, R::MouseHook},
    {P::MonitorScope, L"MonitorScope", &Preferences::MonitorScope, 0, false, 0, 1, Page::General,
     IDC_GENERAL_MONITOR_SCOPE, C::CheckBox, R::Nothing},
    // Read at the next popup.
    {P::FollowTheme, L"FollowTheme", &Preferences::FollowTheme, 1, false, 0, 1, Page::General,
     IDC_GENERAL_FOLLOW_THEME, C::CheckBox, R::Nothing},
    // The hook watches the key and the quiet rule, so both reach it through a reinstall.
    {P::ProgramScopeKey, L"ProgramScopeKey", &Preferences::ProgramScopeKey, 1, false, 0, 1, Page::General,
     IDC_GENERAL_PROGRAM_SCOPE_KEY, C::CheckBox, R::MouseHook},
    {P::QuietInFullScreen, L"QuietInFullScreen", &Preferences::QuietInFullScreen, 1, false, 0, 1,
     Page::General, IDC_GENERAL_QUIET_FULL_SCREEN, C::CheckBox, R::MouseHook},
};

constexpr bool TableInIdOrder() {
    for (size_t i = 0; i < std::size(kPreferenceKeys); ++i) {
        if (static_cast<size_t>(kPreferenceKeys[i].id) != i)
            return false;
    }
    return true;
}
static_assert(TableInIdOrder(), "PreferenceEntry indexes the table by PreferenceId");

int ReadInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int defaultValue) {
    // The profile reader hands back negative numbers as their two's-complement UINT.
    return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, path.c_str()));
}

// The names of the keys of a section as the profile reader sees them (trimmed).
std::set<std::wstring> KeyNames(const std::wstring& path, const wchar_t* section) {
    std::set<std::wstring> names;
    std::wstring buffer(4096, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section, nullptr, L"", buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), path.c_str());
        // A full buffer is reported as its size less two; then try again with more room.
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
            buffer.resize(length);
            break;
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
    for (size_t start = 0; start < buffer.size();) {
        const size_t end = buffer.find(L'\0', start);
        const size_t stop = end == std::wstring::npos ? buffer.size() : end;
        if (stop > start)
            names.insert(buffer.substr(start, stop - start));
        start = stop + 1;
    }
    return names;
}

// Creates a missing file holding only the UTF-16LE byte-order mark. CREATE_NEW never touches a
// file that exists, even one that appeared a moment ago.
void CreateUnicodeFileIfMissing(const std::wstring& path) {
    UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    static const BYTE kBom[] = {0xFF, 0xFE};
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), kBom, sizeof kBom, &written, nullptr) && written == sizeof kBom;
    file.reset();
    // An empty file would be taken for ANSI; better let the profile writer make it as it likes.
    if (!ok)
        DeleteFileW(path.c_str());
}

} // namespace

const PreferenceKey* PreferenceKeys() {
    return kPreferenceKeys;
}

size_t PreferenceKeyCount() {
    return std::size(kPreferenceKeys);
}

const PreferenceKey& PreferenceEntry(PreferenceId id) {
    return kPreferenceKeys[static_cast<size_t>(id)];
}

const PreferenceKey* FindPreferenceKey(const wchar_t* key) {
    if (!key)
        return nullptr;
    for (const PreferenceKey& entry : kPreferenceKeys) {
        if (CompareStringOrdinal(entry.key, -1, key, -1, TRUE) == CSTR_EQUAL)
            return &entry;
    }
    return nullptr;
}

std::wstring DefaultPreferencesPath(const std::wstring& exePath) {
    return exePath + L".ini";
}

void LoadPreferences(const std::wstring& path, bool notResident, Preferences& out) {
    for (const PreferenceKey& entry : kPreferenceKeys) {
        int value = ReadInt(path, kPreferenceSection, entry.key, entry.defaultValue);
        if (entry.exactlyOne)
            value = value == 1 ? 1 : 0;
        out.*entry.field = value;
    }
    // Not-resident mode always works by clicking; the file keeps what the user chose.
    if (notResident)
        out.ClickMode = 1;
}

// The values of the keys "1".."cnt" of a numbered section, in order; an absent key gives "".
static std::vector<std::wstring> ReadNumberedSection(const std::wstring& path, const wchar_t* section) {
    std::vector<std::wstring> titles;
    int count = ReadInt(path, section, kCountKey, 0);
    if (count > kMaxExcludeKeys)
        count = kMaxExcludeKeys;
    if (count <= 0)
        return titles;
    titles.reserve(static_cast<size_t>(count));
    // A key that is not in the section reads as an empty title; asking the profile reader for
    // thousands of absent keys one by one would only cost time.
    const std::set<std::wstring> present = KeyNames(path, section);
    wchar_t title[kExcludeBufferLength];
    for (int i = 1; i <= count; ++i) {
        const std::wstring key = std::to_wstring(i);
        title[0] = L'\0';
        if (present.count(key)) {
            GetPrivateProfileStringW(section, key.c_str(), L"", title, kExcludeBufferLength, path.c_str());
        }
        titles.emplace_back(title);
    }
    return titles;
}

std::vector<std::wstring> ReadExcludeSection(const std::wstring& path) {
    return ReadNumberedSection(path, kExcludeSection);
}

std::vector<std::wstring> ReadExcludeProgramSection(const std::wstring& path) {
    std::vector<std::wstring> names = ReadNumberedSection(path, kExcludeProgramSection);
    names.erase(std::remove(names.begin(), names.end(), std::wstring()), names.end());
    return names;
}

bool WriteExcludeProgramSection(const std::wstring& path, const std::vector<std::wstring>& names,
                                size_t previousCount) {
    bool ok = true;
    for (size_t i = 0; i < names.size(); ++i)
        ok = WriteProfileValue(path, kExcludeProgramSection, std::to_wstring(i + 1).c_str(),
                               names[i].c_str()) &&
             ok;
    for (size_t i = names.size(); i < previousCount; ++i)
        ok = WriteProfileValue(path, kExcludeProgramSection, std::to_wstring(i + 1).c_str(), nullptr) && ok;
    const std::wstring count = std::to_wstring(names.size());
    return WriteProfileValue(path, kExcludeProgramSection, kCountKey, count.c_str()) && ok;
}

bool WriteProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* value) {
    // Removing a key from a file that is not there needs no file.
    if (value && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateUnicodeFileIfMissing(path);
    }
    if (WritePrivateProfileStringW(section, key, value, path.c_str()))
        return true;
    LogError((L"Writing [" + std::wstring(section) + L"] " + key + L" to " + path).c_str(), GetLastError());
    return false;
}

bool WritePreference(const std::wstring& path, PreferenceId id, int value) {
    const std::wstring text = std::to_wstring(value);
    return WriteProfileValue(path, kPreferenceSection, PreferenceEntry(id).key, text.c_str());
}

} // namespace mw

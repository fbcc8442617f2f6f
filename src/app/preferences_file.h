// The preferences file: its location, the table of the section "Preference", the reading of
// "Preference" and "Exclude" at start-up and the writes the options pages make key by key.
#pragma once

#include <cstddef>
#include <string>

#include "model/preferences.h"

namespace mw {

// One key of the section "Preference": the field it fills, its default and how it is read.
// exactlyOne: the field is 1 only when the stored number is exactly 1, else 0; otherwise the
// stored number is taken as it is.
struct PreferenceKey {
    const wchar_t* key;
    int Preferences::*field;
    int defaultValue;
    bool exactlyOne;
};

// The sixteen keys in the order they are read. Loading, writing and the options pages all go
// through this one table.
const PreferenceKey* PreferenceKeys();
size_t PreferenceKeyCount();

// The entry for a key (compared without regard to case, like the file does), or null.
const PreferenceKey* FindPreferenceKey(const wchar_t* key);

// The executable's path with ".ini" appended: tool.exe uses tool.exe.ini beside it.
std::wstring DefaultPreferencesPath(const std::wstring& exePath);

// Reads every key of "Preference" into out; a missing file, section or key gives the default.
// In not-resident mode ClickMode is forced to 1 in memory only.
void LoadPreferences(const std::wstring& path, bool notResident, Preferences& out);

// The most "Exclude" keys read, whatever "cnt" says: a count of 2147483647 must not keep
// start-up busy for ever.
constexpr int kMaxExcludeKeys = 10000;

// Reads "cnt" of "Exclude" and appends the values of the keys "1".."cnt" (each at most 258
// characters; a missing key gives an empty title) to the exclusion set.
void LoadExcludeSection(const std::wstring& path);

// The one low-level write: sets section/key to value, or removes the key when value is null.
// A file that does not exist yet is first created as UTF-16LE with a byte-order mark, so the
// profile functions keep it Unicode and titles or names in any script survive. Existing files
// are left in their encoding. Returns whether the write reached the file.
bool WriteProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* value);

// Writes one key of "Preference" as a decimal number. The caller changes the field itself.
bool WritePreference(const std::wstring& path, const wchar_t* key, int value);

// Writes one key of launcher entry `number` ("name%d" from prefix "name"); null removes the key.
bool WriteLauncherValue(const std::wstring& path, const wchar_t* prefix, int number, const wchar_t* value);

// Writes the six keys of launcher entry `number`. A null string removes its key; "icon_idx%d" is
// always written as a decimal number. Every key is attempted; true when all writes succeeded.
bool WriteLauncherEntry(const std::wstring& path, int number, const wchar_t* name, const wchar_t* commandLine,
                        const wchar_t* workFolder, const wchar_t* pathValue, const wchar_t* iconFile,
                        int iconIndex);

// Removes the six keys of launcher entry `number` (the old last number after a removal).
bool RemoveLauncherEntry(const std::wstring& path, int number);

// Writes "cnt" of "Launcher".
bool WriteLauncherCount(const std::wstring& path, int count);

} // namespace mw

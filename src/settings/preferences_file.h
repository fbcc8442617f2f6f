// The preferences file: its location, the table of the section "Preference", the reading of
// "Preference" and "Exclude" at start-up and the writes the options pages make key by key.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/preferences.h"

namespace mw {

// The preferences by name: the order of the section "Preference" as it is read. Pages, menus and
// tests name a preference this way, so a misspelt one does not compile.
enum class PreferenceId {
    RightButton,
    ClickMode,
    AdjustCursor,
    MoveWindow,
    ReplaceAltTab,
    PermissibleRange,
    TimeOutMilliSeconds,
    MoveCanselPx,
    ToCenter,
    ToggleDesktop,
    Cansel,
    CloseWnd,
    Altab7,
    Altab7_Hide,
    ArrangeWindow,
    Language,
    TypeToFilter,
    MiddleClose,
    MonitorScope,
    FollowTheme,
    ProgramScopeKey,
    QuietInFullScreen,
};

// What a preference change refreshes besides the file.
// Language: the texts, dialogs and menu switch to the new "Language" and the command list is
// rebuilt in it.
enum class Refresh { Nothing, MouseHook, CommandList, Language };

// Where the options dialog shows a preference, and how.
enum class OptionsPage { None, General, Mouse };
enum class ControlKind { None, CheckBox, Choice, Number };

// The bounds the options pages keep to (a hand-edited file may hold anything; it is read as it is).
constexpr int kTimeOutMin = 100;
constexpr int kTimeOutMax = 5000;
constexpr int kCancelPxMin = 0;
constexpr int kCancelPxMax = 500;
constexpr int kPermissibleRangeMax = 40;

// One key of the section "Preference": the field it fills, its default and how it is read, the
// values the options pages offer, the control that shows it and what a change refreshes.
// exactlyOne: the field is 1 only when the stored number is exactly 1, else 0; otherwise the
// stored number is taken as it is.
struct PreferenceKey {
    PreferenceId id;
    const wchar_t* key;
    int Preferences::*field;
    int defaultValue;
    bool exactlyOne;
    int minValue;
    int maxValue;
    OptionsPage page;
    int control; // the control's identifier on its page, 0 for none
    ControlKind kind;
    Refresh refresh;
};

// The keys in the order they are read. Loading, writing, the options pages and the tray
// menu all go through this one table.
const PreferenceKey* PreferenceKeys();
size_t PreferenceKeyCount();

// The entry of a preference.
const PreferenceKey& PreferenceEntry(PreferenceId id);

// The entry for a key as the file names it (compared without regard to case, like the file
// does), or null.
const PreferenceKey* FindPreferenceKey(const wchar_t* key);

// The executable's path with ".ini" appended: tool.exe uses tool.exe.ini beside it.
std::wstring DefaultPreferencesPath(const std::wstring& exePath);

// Reads every key of "Preference" into out; a missing file, section or key gives the default.
// In not-resident mode ClickMode is forced to 1 in memory only.
void LoadPreferences(const std::wstring& path, bool notResident, Preferences& out);

// The most "Exclude" keys read, whatever "cnt" says: a count of 2147483647 must not keep
// start-up busy for ever.
constexpr int kMaxExcludeKeys = 10000;

// Reads "cnt" of "Exclude" and returns the values of the keys "1".."cnt" in order (each at most
// 258 characters; a missing key gives an empty title).
std::vector<std::wstring> ReadExcludeSection(const std::wstring& path);

// Reads "cnt" of "ExcludeProgram" and returns the program file names of the keys "1".."cnt" in
// order (each at most 258 characters); empty names are left out.
std::vector<std::wstring> ReadExcludeProgramSection(const std::wstring& path);

// Writes the section "ExcludeProgram" as `names`: the keys "1".."n", "cnt" = n, and removes the
// keys numbered above n up to `previousCount`. True when every write reached the file.
bool WriteExcludeProgramSection(const std::wstring& path, const std::vector<std::wstring>& names,
                                size_t previousCount);

// The one low-level write: sets section/key to value, or removes the key when value is null.
// A file that does not exist yet is first created as UTF-16LE with a byte-order mark, so the
// profile functions keep it Unicode and titles or names in any script survive. Existing files
// are left in their encoding. Returns whether the write reached the file.
bool WriteProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* value);

// Writes one key of "Preference" as a decimal number. The caller changes the field itself.
bool WritePreference(const std::wstring& path, PreferenceId id, int value);

} // namespace mw

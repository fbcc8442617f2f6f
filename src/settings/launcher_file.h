// The launcher entries of the preferences file (section "Launcher"): "cnt" and, for each entry n
// from 1, the keys "pathn", "namen", "wfoln", "cmndn", "iconn", "icon_idxn" and "raisen" (1: switch
// to the program's window when it is running; absent: off). Read and written here only; the list of entries
// with their icons is built from these values in model/.
#pragma once

#include <string>

namespace mw {

// The keys of one entry; the number is appended to the key's stem.
enum class LauncherKey { Path, Name, WorkFolder, CommandLine, IconFile, IconIndex, Raise };

// The stem of a key: "path", "name", "wfol", "cmnd", "icon", "icon_idx" or "raise".
const wchar_t* LauncherKeyStem(LauncherKey key);

// One stored entry as the file holds it. Texts are cut to 259 characters.
struct StoredLauncherEntry {
    std::wstring path;
    std::wstring name;
    std::wstring workFolder;
    std::wstring commandLine;
    std::wstring iconFile;
    int iconIndex = 0;
    bool raise = false; // "raise%d" is exactly 1
};

// The "cnt" value as stored, which may exceed what the list can hold (or be negative).
int StoredLauncherCount(const std::wstring& prefsPath);

// One text key of entry `number` ("" when missing), cut to 259 characters.
std::wstring ReadLauncherValue(const std::wstring& prefsPath, LauncherKey key, int number);

// The keys of entry `number`; missing keys read as "", 0 and off.
StoredLauncherEntry ReadLauncherEntry(const std::wstring& prefsPath, int number);

// Writes one key of launcher entry `number`; null removes the key.
bool WriteLauncherValue(const std::wstring& path, LauncherKey key, int number, const wchar_t* value);

// Writes the keys of launcher entry `number`. A null string removes its key; "icon_idx%d" is
// always written as a decimal number; "raise%d" is written as 1 when on and removed when off.
// Every key is attempted; true when all writes succeeded.
bool WriteLauncherEntry(const std::wstring& path, int number, const wchar_t* name, const wchar_t* commandLine,
                        const wchar_t* workFolder, const wchar_t* pathValue, const wchar_t* iconFile,
                        int iconIndex, bool raise = false);

// Removes the keys of launcher entry `number` (the old last number after a removal).
bool RemoveLauncherEntry(const std::wstring& path, int number);

// Writes "cnt" of "Launcher".
bool WriteLauncherCount(const std::wstring& path, int count);

} // namespace mw

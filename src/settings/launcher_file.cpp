#include "settings/launcher_file.h"

#include <windows.h>

#include <cwchar>

#include "settings/preferences_file.h"

namespace mw {

namespace {

constexpr wchar_t kLauncherSection[] = L"Launcher";
constexpr wchar_t kCountKey[] = L"cnt";
constexpr int kValueBuffer = 260;

std::wstring NumberedKey(LauncherKey key, int number) {
    return LauncherKeyStem(key) + std::to_wstring(number);
}

} // namespace

const wchar_t* LauncherKeyStem(LauncherKey key) {
    switch (key) {
    case LauncherKey::Path:
        return L"path";
    case LauncherKey::Name:
        return L"name";
    case LauncherKey::WorkFolder:
        return L"wfol";
    case LauncherKey::CommandLine:
        return L"cmnd";
    case LauncherKey::IconFile:
        return L"icon";
    case LauncherKey::IconIndex:
        return L"icon_idx";
    case LauncherKey::Raise:
        return L"raise";
    }
    return L"";
}

int StoredLauncherCount(const std::wstring& prefsPath) {
    return static_cast<int>(GetPrivateProfileIntW(kLauncherSection, kCountKey, 0, prefsPath.c_str()));
}

std::wstring ReadLauncherValue(const std::wstring& prefsPath, LauncherKey key, int number) {
    wchar_t buffer[kValueBuffer] = {};
    DWORD length = GetPrivateProfileStringW(kLauncherSection, NumberedKey(key, number).c_str(), L"", buffer,
                                            kValueBuffer, prefsPath.c_str());
    if (length >= static_cast<DWORD>(kValueBuffer))
        length = kValueBuffer - 1;
    return std::wstring(buffer, wcsnlen(buffer, length));
}

StoredLauncherEntry ReadLauncherEntry(const std::wstring& prefsPath, int number) {
    StoredLauncherEntry entry;
    entry.path = ReadLauncherValue(prefsPath, LauncherKey::Path, number);
    entry.name = ReadLauncherValue(prefsPath, LauncherKey::Name, number);
    entry.workFolder = ReadLauncherValue(prefsPath, LauncherKey::WorkFolder, number);
    entry.commandLine = ReadLauncherValue(prefsPath, LauncherKey::CommandLine, number);
    entry.iconFile = ReadLauncherValue(prefsPath, LauncherKey::IconFile, number);
    entry.iconIndex = static_cast<int>(GetPrivateProfileIntW(
        kLauncherSection, NumberedKey(LauncherKey::IconIndex, number).c_str(), 0, prefsPath.c_str()));
    entry.raise = GetPrivateProfileIntW(kLauncherSection, NumberedKey(LauncherKey::Raise, number).c_str(), 0,
                                        prefsPath.c_str()) == 1;
    return entry;
}

bool WriteLauncherValue(const std::wstring& path, LauncherKey key, int number, const wchar_t* value) {
    const std::wstring name = NumberedKey(key, number);
    return WriteProfileValue(path, kLauncherSection, name.c_str(), value);
}

bool WriteLauncherEntry(const std::wstring& path, int number, const wchar_t* name, const wchar_t* commandLine,
                        const wchar_t* workFolder, const wchar_t* pathValue, const wchar_t* iconFile,
                        int iconIndex, bool raise) {
    const std::wstring index = std::to_wstring(iconIndex);
    bool ok = WriteLauncherValue(path, LauncherKey::Path, number, pathValue);
    ok = WriteLauncherValue(path, LauncherKey::Name, number, name) && ok;
    ok = WriteLauncherValue(path, LauncherKey::CommandLine, number, commandLine) && ok;
    ok = WriteLauncherValue(path, LauncherKey::WorkFolder, number, workFolder) && ok;
    ok = WriteLauncherValue(path, LauncherKey::IconFile, number, iconFile) && ok;
    ok = WriteLauncherValue(path, LauncherKey::IconIndex, number, index.c_str()) && ok;
    ok = WriteLauncherValue(path, LauncherKey::Raise, number, raise ? L"1" : nullptr) && ok;
    return ok;
}

bool RemoveLauncherEntry(const std::wstring& path, int number) {
    bool ok = true;
    for (LauncherKey key :
         {LauncherKey::Path, LauncherKey::Name, LauncherKey::CommandLine, LauncherKey::WorkFolder,
          LauncherKey::IconFile, LauncherKey::IconIndex, LauncherKey::Raise}) {
        ok = WriteLauncherValue(path, key, number, nullptr) && ok;
    }
    return ok;
}

bool WriteLauncherCount(const std::wstring& path, int count) {
    const std::wstring text = std::to_wstring(count);
    return WriteProfileValue(path, kLauncherSection, kCountKey, text.c_str());
}

} // namespace mw

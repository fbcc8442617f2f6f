#include "app/launcher_file.h"

#include <windows.h>

#include <cwchar>

#include "model/file_icon.h"

namespace mw {

namespace {

constexpr wchar_t kLauncherSection[] = L"Launcher";
constexpr int kValueBuffer = 260;

std::wstring NumberedKey(const wchar_t* stem, int number) {
    wchar_t key[32];
    std::swprintf(key, sizeof key / sizeof key[0], L"%ls%d", stem, number);
    return key;
}

std::wstring ReadLauncherString(const std::wstring& prefsPath, const wchar_t* stem, int number) {
    wchar_t buffer[kValueBuffer] = {};
    DWORD length = GetPrivateProfileStringW(kLauncherSection, NumberedKey(stem, number).c_str(), L"", buffer,
                                            kValueBuffer, prefsPath.c_str());
    if (length >= static_cast<DWORD>(kValueBuffer))
        length = kValueBuffer - 1;
    return std::wstring(buffer, wcsnlen(buffer, length));
}

} // namespace

int StoredLauncherCount(const std::wstring& prefsPath) {
    return static_cast<int>(GetPrivateProfileIntW(kLauncherSection, L"cnt", 0, prefsPath.c_str()));
}

int LoadLauncherSection(const std::wstring& prefsPath, int iconSize, LauncherList& list) {
    const int stored = StoredLauncherCount(prefsPath);
    int loaded = 0;
    // The list has 50 slots: entries beyond them stay in the file, untouched, and are not read.
    for (int number = 1; number <= stored && list.count < ListCapacity; ++number) {
        const std::wstring path = ReadLauncherString(prefsPath, L"path", number);
        const std::wstring name = ReadLauncherString(prefsPath, L"name", number);
        const std::wstring workFolder = ReadLauncherString(prefsPath, L"wfol", number);
        const std::wstring commandLine = ReadLauncherString(prefsPath, L"cmnd", number);
        const std::wstring iconFile = ReadLauncherString(prefsPath, L"icon", number);
        const int iconIndex = static_cast<int>(GetPrivateProfileIntW(
            kLauncherSection, NumberedKey(L"icon_idx", number).c_str(), 0, prefsPath.c_str()));

        LauncherEntry entry;
        InitListItem(entry, name.c_str(), LauncherEntryIcon(path, iconFile, iconIndex, iconSize), nullptr,
                     KindLauncher);
        SetLauncherFields(entry, commandLine.c_str(), path.c_str(), workFolder.c_str(), iconFile.c_str(),
                          iconIndex);
        const int appended = AppendLauncherEntry(list, entry);
        DestroyLauncherEntry(entry); // the list holds its own copy and its own icon
        if (!appended)
            break;
        ++loaded;
    }
    return loaded;
}

} // namespace mw

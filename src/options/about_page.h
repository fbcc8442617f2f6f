// The About page: the program's icon, its name, version and copyright from the executable's
// version block, and the web address in a read-only box the user can copy from.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mw {

constexpr wchar_t kWebAddress[] = L"https://mistlewick.example.org/";

struct VersionInfo {
    std::vector<BYTE> block;          // the version block, one byte longer than its size
    UINT valueLength = 0;             // length reported by the last query
    wchar_t translationKey[32] = L""; // "041104b0": language, then code page
    int hasTranslation = 0;
    DWORD blockSize = 0; // 0 when the file has no version block
};

// Reads the version block of a file, or (no path) of the running executable.
void ReadVersionBlock(VersionInfo& info, const std::wstring& path);
void ReadVersionBlock(VersionInfo& info);

// One value of the string table for the block's translation; null when there is no translation
// or no such value. The text lives in info.block.
const wchar_t* VersionString(VersionInfo& info, const wchar_t* name);

// "ProductName  FileVersion\n\nLegalCopyright"; missing values are empty.
std::wstring AboutText(VersionInfo& info);

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace mw

#include "support/temp_dir.h"

#include <windows.h>

#include <string>
#include <vector>

namespace mw::test {

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    std::wstring root(base, length);
    if (!root.empty() && root.back() == L'\\') root.pop_back();
    static unsigned counter = 0;
    for (;;) {
        std::wstring candidate = root + L"\\mwtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            path_ = root;  // never delete the temp folder itself: see the destructor
            break;
        }
    }
}

TempDir::~TempDir() {
    if (path_.find(L"\\mwtest-") != std::wstring::npos) RemoveTree(path_);
}

const std::wstring& TempDir::path() const { return path_; }

std::wstring TempDir::file(const wchar_t* name) const { return path_ + L"\\" + name; }

void WriteTextFile(const std::wstring& path, const std::wstring& text, bool utf16) {
    std::vector<char> bytes;
    if (utf16) {
        bytes = {'\xFF', '\xFE'};
        const char* raw = reinterpret_cast<const char*>(text.data());
        bytes.insert(bytes.end(), raw, raw + text.size() * sizeof(wchar_t));
    } else if (!text.empty()) {
        int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
        bytes.resize(needed);
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), needed, nullptr,
                            nullptr);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace mw::test

// A unique folder under the user's temp folder for the files a test writes, removed with
// everything in it when the test ends.
#pragma once

#include <string>

namespace mw::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing backslash.
    const std::wstring& path() const;
    // The full path of `name` inside the folder.
    std::wstring file(const wchar_t* name) const;

private:
    std::wstring path_;
};

// Writes `text` to `path`, replacing the file: UTF-16LE with a byte-order mark when utf16,
// otherwise converted to the ANSI code page.
void WriteTextFile(const std::wstring& path, const std::wstring& text, bool utf16 = true);

}  // namespace mw::test

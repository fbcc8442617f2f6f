// A private temporary folder for one test, removed with everything in it when the test ends, and
// a writer for text files in the encodings the profile functions meet.
#pragma once

#include <string>

namespace mw::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::wstring& path() const { return path_; }
    // The full path of a file in the folder.
    std::wstring file(const wchar_t* name) const;

  private:
    std::wstring path_;
};

// Writes text to a new or truncated file: UTF-16LE with a byte-order mark, or (utf16 false) in the
// ANSI code page without one. Line ends are written as given. Fails the current test on error.
void WriteTextFile(const std::wstring& path, const std::wstring& text, bool utf16 = true);

// The file's bytes, for checks of encoding and content.
std::string ReadFileBytes(const std::wstring& path);

} // namespace mw::test

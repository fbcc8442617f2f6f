// The icon that stands for a file system path: a program, a shortcut, a document of a registered
// type or a folder, extracted at an exact square size.
#pragma once

#include <windows.h>

namespace mw {

// A new icon of size x size pixels that the caller owns, or null when none was found.
HICON FileIcon(const wchar_t* path, int size);

}  // namespace mw

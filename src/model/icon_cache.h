// Icon copies kept from one open of the popup to the next. Copying a window's icon is one of the
// dearest steps of an open, and most windows offer the same icon every time: while the popup is
// open each record owns the copy it draws (a window that changes or destroys its icon meanwhile
// cannot break the picture); when the popup closes the copies come back here, and the next open
// hands a copy to the record of the same window when that window still offers the same icon
// (same source handle) at the same pixel size. File icons of program paths are kept the same way,
// keyed by path and pixel size. Both kinds are bounded, least recently used dropped first.
#pragma once

#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "model/item_list.h"
#include "platform/unique_handle.h"

namespace mw {

constexpr size_t kWindowIconCacheLimit = 100;
constexpr size_t kFileIconCacheLimit = 64;

// Where the icon of a window's record came from: the window's own icon (source set) or the file
// icon of its program (path set). Recorded when the record is made, read when it is given back.
struct IconOrigin {
    HWND window = nullptr;
    HICON source = nullptr;
    std::wstring path;
    int size = 0;
};

struct IconCache {
    struct WindowCopy {
        HWND window;
        HICON source;
        int size;
        UniqueIcon copy;
    };
    struct FileCopy {
        std::wstring path; // compared without regard to case
        int size;
        UniqueIcon icon;
    };
    struct NoFileIcon {
        std::wstring path; // compared without regard to case
        int size;
    };
    std::list<WindowCopy> windows; // most recently used first
    std::list<FileCopy> files;     // most recently used first
    // Program files that gave no icon at that size, so that an open does not read them again for
    // every window of theirs (extracting from a file is one of the dearest steps of an open).
    std::list<NoFileIcon> filesWithoutIcon; // most recently used first
    std::vector<IconOrigin> lent;           // the records of the open popup
    size_t windowLimit = kWindowIconCacheLimit;
    size_t fileLimit = kFileIconCacheLimit;
};

// The copy kept for `window` showing `source` at `size`, now owned by the caller; null when there
// is none. A copy kept for that window with another source or size is destroyed: the window
// changed its icon.
HICON TakeWindowIcon(IconCache& cache, HWND window, HICON source, int size);
// A file icon kept for `path` at `size`, now owned by the caller; null when there is none.
HICON TakeFileIcon(IconCache& cache, const std::wstring& path, int size);

// Whether `path` is known to give no icon at `size`; true marks it as just used.
bool KnownWithoutFileIcon(IconCache& cache, const std::wstring& path, int size);
// Notes that `path` gave no icon at `size`; beyond the file limit the least recently used goes.
void KeepWithoutFileIcon(IconCache& cache, const std::wstring& path, int size);

// Keeps a copy (the cache owns it from now on); beyond the limit the least recently used goes.
void KeepWindowIcon(IconCache& cache, HWND window, HICON source, int size, HICON copy);
void KeepFileIcon(IconCache& cache, const std::wstring& path, int size, HICON icon);

// Notes that the record of `origin.window` in the open popup owns an icon of that origin.
void LendIcon(IconCache& cache, IconOrigin origin);

// When the popup closes: takes the icons of the window records back from `list` (their records
// then own none) into the cache, unless their window is gone, and forgets what was lent.
// Copies kept for windows that no longer exist are destroyed too.
void ReturnLentIcons(IconCache& cache, ItemList& list);

// Destroys every kept icon (at exit).
void ClearIconCache(IconCache& cache);

} // namespace mw

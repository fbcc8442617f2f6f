#include "model/icon_cache.h"

#include <algorithm>

namespace mw {

namespace {

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                                        static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

template <typename List> void TrimToLimit(List& list, size_t limit) {
    while (list.size() > limit)
        list.pop_back(); // least recently used; its owner destroys the icon
}

} // namespace

HICON TakeWindowIcon(IconCache& cache, HWND window, HICON source, int size) {
    for (auto it = cache.windows.begin(); it != cache.windows.end(); ++it) {
        if (it->window != window)
            continue;
        HICON copy = (it->source == source && it->size == size) ? it->copy.release() : nullptr;
        cache.windows.erase(it); // taken, or stale: the window offers another icon now
        return copy;
    }
    return nullptr;
}

HICON TakeFileIcon(IconCache& cache, const std::wstring& path, int size) {
    for (auto it = cache.files.begin(); it != cache.files.end(); ++it) {
        if (it->size == size && SamePath(it->path, path)) {
            HICON icon = it->icon.release();
            cache.files.erase(it);
            return icon;
        }
    }
    return nullptr;
}

bool KnownWithoutFileIcon(IconCache& cache, const std::wstring& path, int size) {
    auto& known = cache.filesWithoutIcon;
    for (auto it = known.begin(); it != known.end(); ++it) {
        if (it->size == size && SamePath(it->path, path)) {
            known.splice(known.begin(), known, it);
            return true;
        }
    }
    return false;
}

void KeepWithoutFileIcon(IconCache& cache, const std::wstring& path, int size) {
    if (KnownWithoutFileIcon(cache, path, size))
        return;
    cache.filesWithoutIcon.push_front({path, size});
    TrimToLimit(cache.filesWithoutIcon, cache.fileLimit);
}

void KeepWindowIcon(IconCache& cache, HWND window, HICON source, int size, HICON copy) {
    if (!copy)
        return;
    UniqueIcon owned(copy);
    // One copy per window: a second one for the same window replaces the first.
    cache.windows.remove_if([window](const IconCache::WindowCopy& c) { return c.window == window; });
    cache.windows.push_front({window, source, size, std::move(owned)});
    TrimToLimit(cache.windows, cache.windowLimit);
}

void KeepFileIcon(IconCache& cache, const std::wstring& path, int size, HICON icon) {
    if (!icon)
        return;
    // Several windows of one program each own a copy while the popup is open; all are kept.
    cache.files.push_front({path, size, UniqueIcon(icon)});
    TrimToLimit(cache.files, cache.fileLimit);
}

void LendIcon(IconCache& cache, IconOrigin origin) {
    cache.lent.push_back(std::move(origin));
}

void ReturnLentIcons(IconCache& cache, ItemList& list) {
    for (int i = 0; i < list.count; ++i) {
        ListItem& item = list.slots[i];
        if (item.kind != KindWindow || !item.icon)
            continue;
        const auto origin = std::find_if(cache.lent.begin(), cache.lent.end(),
                                         [&](const IconOrigin& o) { return o.window == item.window; });
        if (origin == cache.lent.end())
            continue;
        if (!IsWindow(item.window))
            continue; // the record destroys its copy with the list
        if (origin->source)
            KeepWindowIcon(cache, item.window, origin->source, origin->size, item.icon.release());
        else if (!origin->path.empty())
            KeepFileIcon(cache, origin->path, origin->size, item.icon.release());
    }
    cache.lent.clear();
    cache.windows.remove_if([](const IconCache::WindowCopy& c) { return !IsWindow(c.window); });
}

void ClearIconCache(IconCache& cache) {
    cache.windows.clear();
    cache.files.clear();
    cache.filesWithoutIcon.clear();
    cache.lent.clear();
}

} // namespace mw

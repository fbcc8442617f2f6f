#include "model/exclude_set.h"

#include "settings/preferences_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace mw {

// Insertion order is kept so the first match ends the search, as the user wrote the keys.
void AddExcluded(ExcludeSet& set, const wchar_t* title) {
    set.emplace_back(title ? title : L"");
}

bool IsExcluded(const ExcludeSet& set, const wchar_t* title) {
    const std::wstring_view wanted = title ? title : L"";
    for (const std::wstring& entry : set) {
        if (entry == wanted)
            return true;
    }
    return false;
}

void ClearExcludeSet(ExcludeSet& set) {
    set.clear();
    set.shrink_to_fit();
}

size_t ExcludeCount(const ExcludeSet& set) {
    return set.size();
}

void LoadExcludeSection(ExcludeSet& set, const std::wstring& path) {
    for (const std::wstring& title : ReadExcludeSection(path))
        AddExcluded(set, title.c_str());
}

} // namespace mw

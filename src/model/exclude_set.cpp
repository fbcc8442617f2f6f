#include "model/exclude_set.h"

#include "model/program_state.h"
#include "settings/preferences_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace mw {

namespace {

// Insertion order is kept so the first match ends the search, as the user wrote the keys.
std::vector<std::wstring>& Entries() {
    return Program().excluded;
}

} // namespace

void AddExcluded(const wchar_t* title) {
    Entries().emplace_back(title ? title : L"");
}

bool IsExcluded(const wchar_t* title) {
    const std::wstring_view wanted = title ? title : L"";
    for (const std::wstring& entry : Entries()) {
        if (entry == wanted)
            return true;
    }
    return false;
}

void ClearExcludeSet() {
    Entries().clear();
    Entries().shrink_to_fit();
}

size_t ExcludeCount() {
    return Entries().size();
}

void LoadExcludeSection(const std::wstring& path) {
    for (const std::wstring& title : ReadExcludeSection(path))
        AddExcluded(title.c_str());
}

} // namespace mw

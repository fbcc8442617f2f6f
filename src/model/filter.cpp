#include "model/filter.h"

#include <windows.h>

namespace mw {

bool TextMatchesFilter(const std::wstring& text, const std::wstring& filter) {
    if (filter.empty())
        return true; // FindNLSStringEx refuses an empty pattern
    if (text.empty())
        return false;
    int found = 0;
    const int at = FindNLSStringEx(LOCALE_NAME_INVARIANT,
                                   FIND_FROMSTART | NORM_IGNORECASE | NORM_IGNOREWIDTH | NORM_IGNOREKANATYPE,
                                   text.c_str(), static_cast<int>(text.size()), filter.c_str(),
                                   static_cast<int>(filter.size()), &found, nullptr, nullptr, 0);
    return at >= 0;
}

std::wstring ProgramFileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace mw

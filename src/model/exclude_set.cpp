#include "model/exclude_set.h"

#include <string>
#include <vector>

namespace mw {

namespace {
std::vector<std::wstring>& Titles() {
    static std::vector<std::wstring> titles;
    return titles;
}
}  // namespace

void AddExcluded(const wchar_t* title) { Titles().emplace_back(title ? title : L""); }

bool IsExcluded(const wchar_t* title) {
    const std::wstring t = title ? title : L"";
    for (const std::wstring& entry : Titles()) {
        if (entry == t) return true;
    }
    return false;
}

void ClearExcludeSet() { Titles().clear(); }

std::size_t ExcludeCount() { return Titles().size(); }

}  // namespace mw

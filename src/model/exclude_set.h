// Window titles the popup leaves out, matched exactly (no case folding, no trimming).
#pragma once

#include <cstddef>

namespace mw {

void AddExcluded(const wchar_t* title);
bool IsExcluded(const wchar_t* title);
void ClearExcludeSet();
std::size_t ExcludeCount();

}  // namespace mw

// The names a loaded module exports, read from its export directory: for the checks that the
// shipped hook.dll offers exactly its interface and nothing a test could use.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mw::test {

// Sorted; empty when the module has no export directory. `module` must be mapped as an image
// (LoadLibrary, or LoadLibraryEx with DONT_RESOLVE_DLL_REFERENCES).
std::vector<std::string> ExportNames(HMODULE module);

} // namespace mw::test

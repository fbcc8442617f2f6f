// Shortcut files made the way the shell's own dialogs make them, for tests of entries that are
// shortcuts.
#pragma once

#include <string>

namespace mw::test {

// Saves a shortcut to `target` at `linkPath`; false when any step fails.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target);

} // namespace mw::test

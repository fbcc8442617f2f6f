// The display language Wine gives a test process (it takes it from LC_ALL, and child processes
// inherit it) and the check that it is the one the CTest entry asked for.
#pragma once

#include <gtest/gtest.h>

namespace mw::test {

bool DisplayIsJapanese();

// Success when MW_DISPLAY_LANGUAGE ("ja" or "en") is unset or matches the display language: a
// run meant for one language must not pass quietly in the other.
::testing::AssertionResult DisplayLanguageAsConfigured();

} // namespace mw::test

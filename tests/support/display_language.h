// The display language Wine gives a test process (from LC_ALL; child processes inherit it), and
// the check that it is the one the CTest entry asked for in MW_DISPLAY_LANGUAGE ("ja" or "en"):
// a run meant for one language must not pass quietly in the other.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace mw::test {

inline bool DisplayIsJapanese() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

inline ::testing::AssertionResult DisplayLanguageAsConfigured() {
    const char* wanted = std::getenv("MW_DISPLAY_LANGUAGE");
    const std::string actual = DisplayIsJapanese() ? "ja" : "en";
    if (!wanted || actual == wanted)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the display language is " << actual << ", the run asked for " << wanted;
}

} // namespace mw::test

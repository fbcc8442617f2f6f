#include "support/display_language.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace mw::test {

bool DisplayIsJapanese() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

::testing::AssertionResult DisplayLanguageAsConfigured() {
    const char* wanted = std::getenv("MW_DISPLAY_LANGUAGE");
    if (!wanted || !*wanted)
        return ::testing::AssertionSuccess();
    const std::string actual = DisplayIsJapanese() ? "ja" : "en";
    if (actual == wanted)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the display language is " << actual << " (UI language 0x" << std::hex
           << GetUserDefaultUILanguage() << "), the run asked for " << wanted;
}

} // namespace mw::test

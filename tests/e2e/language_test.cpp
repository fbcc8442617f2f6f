// The real program picks its language at start-up: the preference "Language", or with 0 (or
// none, or an unknown value) the display language it inherits from this process. CTest runs
// this under a Japanese and an English display language.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "support/display_language.h"
#include "support/e2e.h"

namespace {

using namespace mw::test;

struct Case {
    const wchar_t* preference; // the "Language" line, if any
    int setting;
};

class DisplayLanguageStart : public ::testing::TestWithParam<Case> {};

TEST_P(DisplayLanguageStart, OptionsDialogOpensInTheChosenLanguage) {
    ASSERT_TRUE(DisplayLanguageAsConfigured());
    const Case c = GetParam();
    const bool japanese = c.setting == 1 || (c.setting != 2 && DisplayIsJapanese());

    ProgramSandbox sandbox;
    sandbox.WritePreferences(std::wstring(L"[Preference]\r\n") + c.preference);
    // Launcher options mode: the options dialog with its launcher page, and nothing else.
    ASSERT_TRUE(sandbox.Start(L"/_NotReside"));
    HWND dialog = WaitVisibleDialog(sandbox.process().pid());
    ASSERT_NE(dialog, nullptr);
    wchar_t title[64] = L"";
    GetWindowTextW(dialog, title, 64);
    EXPECT_STREQ(title, japanese ? L"オプション - Mistlewick" : L"Options - Mistlewick");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0); // OK
    EXPECT_EQ(sandbox.process().WaitExit(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(Settings, DisplayLanguageStart,
                         ::testing::Values(Case{L"", 0}, Case{L"Language=1\r\n", 1},
                                           Case{L"Language=2\r\n", 2}, Case{L"Language=5\r\n", 5}));

// The preferences are read before the single-instance check, so even that message is in the
// chosen language.
TEST(DisplayLanguageStartup, SecondInstanceSaysSoInTheChosenLanguage) {
    Resident first;
    ASSERT_TRUE(first.Start());
    ProgramSandbox second;
    UseRecordingHook(second);
    second.WritePreferences(L"[Preference]\r\nLanguage=2\r\n");
    ASSERT_TRUE(second.Start());
    HWND box = WaitVisibleDialog(second.process().pid());
    ASSERT_NE(box, nullptr);
    wchar_t text[128] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 128);
    EXPECT_STREQ(text, L"Mistlewick is already running.");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.process().WaitExit(10000), 0);
    EXPECT_EQ(first.sandbox.Close(), 0);
}

} // namespace

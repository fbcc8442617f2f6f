#include "model/filter.h"

#include <gtest/gtest.h>

namespace {

TEST(Filter, MatchesIgnoringCaseWidthAndKanaType) {
    const struct {
        const wchar_t* text;
        const wchar_t* filter;
        bool matches;
    } cases[] = {
        {L"beta - Notepad", L"be", true}, {L"BETA", L"beta", true},   {L"ＢＥＴＡ", L"beta", true},
        {L"beta", L"ＢＥ", true},         {L"メモ帳", L"めも", true}, {L"ﾒﾓ帳", L"メモ", true},
        {L"alpha", L"be", false},         {L"", L"a", false},         {L"anything", L"", true},
        {L"note", L"notepad", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mw::TextMatchesFilter(c.text, c.filter), c.matches)
            << "\"" << c.filter << "\" in \"" << c.text << "\"";
}

TEST(Filter, ProgramFileNameIsThePartAfterTheLastSeparator) {
    EXPECT_EQ(mw::ProgramFileName(L"C:\\Program Files\\Tool\\tool.exe"), L"tool.exe");
    EXPECT_EQ(mw::ProgramFileName(L"C:/x/y.exe"), L"y.exe");
    EXPECT_EQ(mw::ProgramFileName(L"plain.exe"), L"plain.exe");
}

} // namespace

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

TEST(Filter, RomajiFindsKanaInHepburnAndKunreiButNeverKanji) {
    const struct {
        const wchar_t* text;
        const wchar_t* typed;
        bool matches;
    } cases[] = {
        {L"メモ帳", L"memo", true},
        {L"にほん", L"nihon", true},
        {L"にほん", L"niho", true},
        {L"にほん", L"nih", true},
        {L"ｼｬﾂ", L"shatsu", true},
        {L"シャツ", L"syatu", true},
        {L"しんいち", L"shin'ichi", true},
        {L"しんいち", L"sinniti", true},
        {L"しにち", L"sin'iti", false},
        {L"きって", L"kitte", true},
        {L"まっちゃ", L"matcha", true},
        {L"コーヒー", L"kohi", true},
        {L"コーヒー", L"ko-hi-", true},
        {L"しんぶん", L"shimbun", true},
        {L"ｶﾞｲﾄﾞ", L"gaido", true},
        {L"じてんしゃ", L"jitensha", true},
        {L"ふじ", L"fuji", true},
        {L"ふじ", L"huzi", true},
        {L"日本", L"nihon", false},
        {L"メモ帳", L"memocho", false},
        {L"メモ", L"mema", false},
        {L"Note メモ", L"note", true},
        {L"メモ帳 - Notes", L"notes", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mw::TextMatchesFilter(c.text, c.typed), c.matches)
            << "\"" << c.typed << "\" in \"" << c.text << "\"";
}

TEST(Filter, WordsMatchInAnyOrderAndWordStartsRankFirst) {
    using mw::MatchPlace;
    EXPECT_TRUE(mw::TextMatchesFilter(L"メモ帳 - note", L"note memo"));
    EXPECT_TRUE(mw::TextMatchesFilter(L"メモ帳 - note", L"memo　note")); // an ideographic space
    EXPECT_FALSE(mw::TextMatchesFilter(L"メモ帳 - note", L"memo paint"));
    EXPECT_EQ(mw::FilterWords(L"  a  bc "), (std::vector<std::wstring>{L"a", L"bc"}));
    const struct {
        const wchar_t* text;
        const wchar_t* word;
        MatchPlace place;
    } cases[] = {
        {L"beta - Notepad", L"note", MatchPlace::WordStart},
        {L"Notepad", L"pad", MatchPlace::InsideWord},
        {L"新しいメモ帳", L"memo", MatchPlace::WordStart},
        {L"ホワイトメモ", L"memo", MatchPlace::InsideWord},
        {L"padpad pad", L"pad", MatchPlace::WordStart},
        {L"alpha", L"x", MatchPlace::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mw::FindFilterWord(c.text, c.word), c.place)
            << "\"" << c.word << "\" in \"" << c.text << "\"";
}

TEST(Filter, ProgramFileNameIsThePartAfterTheLastSeparator) {
    EXPECT_EQ(mw::ProgramFileName(L"C:\\Program Files\\Tool\\tool.exe"), L"tool.exe");
    EXPECT_EQ(mw::ProgramFileName(L"C:/x/y.exe"), L"y.exe");
    EXPECT_EQ(mw::ProgramFileName(L"plain.exe"), L"plain.exe");
}

} // namespace

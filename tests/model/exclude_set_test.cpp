#include "model/exclude_set.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ExcludeSet : public testing::Test {
  protected:
    void SetUp() override { mw::ClearExcludeSet(); }
    void TearDown() override { mw::ClearExcludeSet(); }
};

TEST_F(ExcludeSet, MatchesOnlyTheExactTitle) {
    mw::AddExcluded(L"Calculator");
    mw::AddExcluded(L"タスク マネージャー");
    EXPECT_TRUE(mw::IsExcluded(L"Calculator"));
    EXPECT_TRUE(mw::IsExcluded(L"タスク マネージャー"));
    EXPECT_FALSE(mw::IsExcluded(L"calculator"));           // no case folding
    EXPECT_FALSE(mw::IsExcluded(L"Calculator "));          // no trimming
    EXPECT_FALSE(mw::IsExcluded(L"Calc"));                 // no prefix match
    EXPECT_FALSE(mw::IsExcluded(L"タスク　マネージャー")); // ideographic space differs
    EXPECT_FALSE(mw::IsExcluded(L""));
    EXPECT_FALSE(mw::IsExcluded(nullptr));
}

TEST_F(ExcludeSet, EmptyEntryExcludesUntitledWindowsOnly) {
    mw::AddExcluded(L"");
    EXPECT_TRUE(mw::IsExcluded(L""));
    EXPECT_TRUE(mw::IsExcluded(nullptr));
    EXPECT_FALSE(mw::IsExcluded(L" "));
}

TEST_F(ExcludeSet, KeepsDuplicatesAndOwnsItsCopies) {
    std::wstring title = L"Notepad";
    mw::AddExcluded(title.c_str());
    mw::AddExcluded(title.c_str());
    title[0] = L'X'; // the caller's buffer changes; the set's copy must not
    EXPECT_EQ(mw::ExcludeCount(), 2u);
    EXPECT_TRUE(mw::IsExcluded(L"Notepad"));
    EXPECT_FALSE(mw::IsExcluded(L"Xotepad"));
    mw::ClearExcludeSet();
    EXPECT_EQ(mw::ExcludeCount(), 0u);
    EXPECT_FALSE(mw::IsExcluded(L"Notepad"));
}

} // namespace

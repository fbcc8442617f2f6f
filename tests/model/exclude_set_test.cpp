#include "model/exclude_set.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ExcludeSet : public testing::Test {
  protected:
    mw::ExcludeSet set_; // a fresh set for each test
};

TEST_F(ExcludeSet, MatchesOnlyTheExactTitle) {
    mw::AddExcluded(set_, L"Calculator");
    mw::AddExcluded(set_, L"タスク マネージャー");
    EXPECT_TRUE(mw::IsExcluded(set_, L"Calculator"));
    EXPECT_TRUE(mw::IsExcluded(set_, L"タスク マネージャー"));
    EXPECT_FALSE(mw::IsExcluded(set_, L"calculator"));           // no case folding
    EXPECT_FALSE(mw::IsExcluded(set_, L"Calculator "));          // no trimming
    EXPECT_FALSE(mw::IsExcluded(set_, L"Calc"));                 // no prefix match
    EXPECT_FALSE(mw::IsExcluded(set_, L"タスク　マネージャー")); // ideographic space differs
    EXPECT_FALSE(mw::IsExcluded(set_, L""));
    EXPECT_FALSE(mw::IsExcluded(set_, nullptr));
}

TEST_F(ExcludeSet, EmptyEntryExcludesUntitledWindowsOnly) {
    mw::AddExcluded(set_, L"");
    EXPECT_TRUE(mw::IsExcluded(set_, L""));
    EXPECT_TRUE(mw::IsExcluded(set_, nullptr));
    EXPECT_FALSE(mw::IsExcluded(set_, L" "));
}

TEST_F(ExcludeSet, KeepsDuplicatesAndOwnsItsCopies) {
    std::wstring title = L"Notepad";
    mw::AddExcluded(set_, title.c_str());
    mw::AddExcluded(set_, title.c_str());
    title[0] = L'X'; // the caller's buffer changes; the set's copy must not
    EXPECT_EQ(mw::ExcludeCount(set_), 2u);
    EXPECT_TRUE(mw::IsExcluded(set_, L"Notepad"));
    EXPECT_FALSE(mw::IsExcluded(set_, L"Xotepad"));
    mw::ClearExcludeSet(set_);
    EXPECT_EQ(mw::ExcludeCount(set_), 0u);
    EXPECT_FALSE(mw::IsExcluded(set_, L"Notepad"));
}

} // namespace

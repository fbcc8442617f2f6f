#include "platform/log.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

struct FileLogTest : ::testing::Test {
    ~FileLogTest() override { mw::CloseFileLog(); }
    mw::test::TempDir dir;
};

TEST_F(FileLogTest, LinesReachTheFileInUtf8AndAFullFileIsKeptAsTheOlderOne) {
    const std::wstring path = mw::OpenFileLog(dir.path() + L"\\");
    ASSERT_EQ(path, dir.file(mw::kLogFileName));
    mw::Log(L"start: %ls %d", L"ミスト", 42);
    std::string bytes = mw::test::ReadFileBytes(path);
    EXPECT_NE(bytes.find("start: \xE3\x83\x9F\xE3\x82\xB9\xE3\x83\x88 42\r\n"), std::string::npos) << bytes;

    // Past the limit the file starts again and the full one becomes "<name>.1".
    const std::wstring filler(400, L'x');
    for (DWORD written = 0; written < mw::kLogFileLimit + 10000; written += 400)
        mw::Log(L"%ls", filler.c_str());
    mw::Log(L"last line");
    const std::string older = mw::test::ReadFileBytes(path + L".1");
    bytes = mw::test::ReadFileBytes(path);
    EXPECT_LE(older.size(), mw::kLogFileLimit);
    EXPECT_GT(older.size(), mw::kLogFileLimit - 1000);
    EXPECT_LT(bytes.size(), mw::kLogFileLimit);
    EXPECT_NE(bytes.find("last line"), std::string::npos);
}

TEST_F(FileLogTest, AFolderThatCannotBeWrittenFallsBackToLocalAppData) {
    const std::wstring path = mw::OpenFileLog(dir.path() + L"\\no such folder\\");
    const std::wstring tail = L"\\Mistlewick\\Mistlewick.log";
    ASSERT_GT(path.size(), tail.size());
    EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
    EXPECT_EQ(mw::FileLogPath(), path);
    mw::CloseFileLog();
    EXPECT_TRUE(mw::FileLogPath().empty());
}

} // namespace

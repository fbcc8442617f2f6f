#include <gtest/gtest.h>
#include <windows.h>
TEST(Program, ExecutableExists) { EXPECT_NE(GetFileAttributesW(L"Mistlewick.exe"), INVALID_FILE_ATTRIBUTES); }

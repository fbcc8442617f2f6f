#include <gtest/gtest.h>
#include <windows.h>
TEST(HookLibrary, Loads) { HMODULE m = LoadLibraryW(L"hook.dll"); ASSERT_NE(m, nullptr); EXPECT_NE(GetProcAddress(m, "StartMouseHook"), nullptr); FreeLibrary(m); }

#include "platform/system_library.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/unique_handle.h"
#include "support/harness.h"

namespace {

// dwmapi.dll is loaded by its full path in the system folder: a library that lies only beside
// the program (as a planted copy would) is not found.
TEST(SystemLibrary, LoadsOnlyTheSystemFoldersCopy) {
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::wstring path = mw::SystemLibraryPath(L"dwmapi.dll");
    EXPECT_EQ(path, std::wstring(system) + L"\\dwmapi.dll");

    mw::UniqueModule dwm(mw::LoadSystemLibrary(L"dwmapi.dll"));
    ASSERT_TRUE(dwm);
    wchar_t loaded[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(dwm.get(), loaded, MAX_PATH), 0u);
    EXPECT_EQ(CompareStringOrdinal(loaded, -1, path.c_str(), -1, TRUE), CSTR_EQUAL);

    ASSERT_NE(GetFileAttributesW((mw::test::BinDir() + L"\\hook.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    mw::UniqueModule beside(mw::LoadSystemLibrary(L"hook.dll"));
    EXPECT_FALSE(beside) << "a library beside the program was loaded";
}

// The owner the user-interface thread holds for its life initialises the thread's apartment the
// way the shell functions need it.
TEST(ComInit, IsApartmentThreaded) {
    std::thread([] {
        mw::ComInit com;
        EXPECT_TRUE(com.ok());
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    }).join();
}

} // namespace

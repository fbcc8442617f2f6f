#include "model/icon_cache.h"

#include <gtest/gtest.h>

#include "model/test_windows.h"

namespace {

using mw_test::IconEdge;
using mw_test::MakeTestIcon;

HWND MakeWindow() {
    return CreateWindowExW(0, mw_test::PlainClass(), L"icon cache", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// An icon handle that was destroyed no longer answers GetIconInfo.
bool Alive(HICON icon) {
    return IconEdge(icon) != 0;
}

// A popup's record of `window` owning `copy`, lent from the cache's point of view.
void OpenWith(mw::IconCache& cache, mw::ItemList& list, HWND window, mw::IconOrigin origin, HICON copy) {
    mw::ListItem& slot = list.slots[list.count++];
    slot.inUse = 1;
    slot.window = window;
    slot.icon.reset(copy);
    origin.window = window;
    mw::LendIcon(cache, origin);
}

TEST(IconCache, ACopyComesBackOnlyForTheSameWindowSourceAndSize) {
    mw::IconCache cache;
    const HWND a = MakeWindow();
    const mw::UniqueIcon source(MakeTestIcon(32)), other(MakeTestIcon(32));
    mw::ItemList list;
    HICON copy = MakeTestIcon(32);
    OpenWith(cache, list, a, {nullptr, source.get(), L"", 32}, copy);
    mw::ReturnLentIcons(cache, list);
    EXPECT_FALSE(list.slots[0].icon) << "the record hands its copy back";
    ASSERT_EQ(cache.windows.size(), 1u);

    EXPECT_EQ(mw::TakeWindowIcon(cache, a, source.get(), 48), nullptr) << "another size";
    EXPECT_FALSE(Alive(copy)) << "a copy the window no longer matches is destroyed";

    copy = MakeTestIcon(32);
    mw::KeepWindowIcon(cache, a, source.get(), 32, copy);
    EXPECT_EQ(mw::TakeWindowIcon(cache, a, other.get(), 32), nullptr) << "the window changed its icon";
    EXPECT_FALSE(Alive(copy));

    copy = MakeTestIcon(32);
    mw::KeepWindowIcon(cache, a, source.get(), 32, copy);
    EXPECT_EQ(mw::TakeWindowIcon(cache, a, source.get(), 32), copy);
    EXPECT_TRUE(cache.windows.empty());
    DestroyIcon(copy);
    DestroyWindow(a);
}

TEST(IconCache, AWindowThatIsGoneReleasesItsCopy) {
    mw::IconCache cache;
    const HWND kept = MakeWindow(), closedWhileOpen = MakeWindow(), closedLater = MakeWindow();
    const mw::UniqueIcon source(MakeTestIcon(16));
    HICON copies[3] = {MakeTestIcon(16), MakeTestIcon(16), MakeTestIcon(16)};
    mw::ItemList list;
    OpenWith(cache, list, kept, {nullptr, source.get(), L"", 16}, copies[0]);
    OpenWith(cache, list, closedWhileOpen, {nullptr, nullptr, L"C:\\Tools\\App.exe", 16}, copies[1]);
    OpenWith(cache, list, closedLater, {nullptr, source.get(), L"", 16}, copies[2]);
    DestroyWindow(closedWhileOpen);
    mw::ReturnLentIcons(cache, list);
    mw::ClearItemList(list);
    EXPECT_TRUE(Alive(copies[0]));
    EXPECT_FALSE(Alive(copies[1])) << "its record destroyed it";
    EXPECT_TRUE(cache.files.empty());

    DestroyWindow(closedLater);
    mw::ItemList next;
    mw::ReturnLentIcons(cache, next); // the next close sweeps copies of windows that are gone
    EXPECT_FALSE(Alive(copies[2]));
    ASSERT_EQ(cache.windows.size(), 1u);
    EXPECT_EQ(cache.windows.front().window, kept);
    mw::ClearIconCache(cache);
    EXPECT_FALSE(Alive(copies[0]));
    DestroyWindow(kept);
}

TEST(IconCache, StaysBoundedDroppingTheLeastRecentlyUsed) {
    mw::IconCache cache;
    cache.windowLimit = 3;
    cache.fileLimit = 2;
    HICON first = MakeTestIcon(16);
    mw::KeepWindowIcon(cache, reinterpret_cast<HWND>(0x1000), nullptr, 16, first);
    for (int i = 1; i < 5; ++i)
        mw::KeepWindowIcon(cache, reinterpret_cast<HWND>(0x1000 + i), nullptr, 16, MakeTestIcon(16));
    EXPECT_EQ(cache.windows.size(), 3u);
    EXPECT_FALSE(Alive(first));
    EXPECT_EQ(cache.windows.back().window, reinterpret_cast<HWND>(0x1002));

    for (const wchar_t* path : {L"C:\\a.exe", L"C:\\b.exe", L"C:\\c.exe"})
        mw::KeepFileIcon(cache, path, 32, MakeTestIcon(32));
    EXPECT_EQ(cache.files.size(), 2u);
    EXPECT_EQ(mw::TakeFileIcon(cache, L"C:\\a.exe", 32), nullptr);
    const mw::UniqueIcon b(mw::TakeFileIcon(cache, L"c:\\B.EXE", 32));
    EXPECT_TRUE(b) << "paths compare without regard to case";

    for (const wchar_t* path : {L"C:\\a.exe", L"C:\\b.exe", L"C:\\c.exe"})
        mw::KeepWithoutFileIcon(cache, path, 32);
    EXPECT_FALSE(mw::KnownWithoutFileIcon(cache, L"C:\\a.exe", 32)) << "the oldest went";
    EXPECT_TRUE(mw::KnownWithoutFileIcon(cache, L"c:\\B.EXE", 32));
    EXPECT_FALSE(mw::KnownWithoutFileIcon(cache, L"C:\\b.exe", 48)) << "another size is asked anew";
    mw::ClearIconCache(cache);
}

} // namespace

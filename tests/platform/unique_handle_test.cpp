#include "platform/unique_handle.h"

#include <gtest/gtest.h>

namespace {

int g_closed = 0;
void CountClose(int) {
    ++g_closed;
}
using Counted = mw::UniqueAny<mw::NullTraits<int, CountClose>>;

TEST(UniqueAny, ReleasesOnceAcrossMovesResetsAndRelease) {
    g_closed = 0;
    {
        Counted a(5);
        Counted b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 5);
        Counted c;
        c = std::move(b);
        EXPECT_EQ(g_closed, 0);
        c.reset(7); // closes 5
        EXPECT_EQ(g_closed, 1);
        Counted d(9);
        EXPECT_EQ(d.release(), 9); // handed over, not closed
        *d.put() = 11;
        c = std::move(d); // closes 7
        EXPECT_EQ(g_closed, 2);
        c = std::move(c); // self-move keeps the handle
        EXPECT_EQ(c.get(), 11);
    }
    EXPECT_EQ(g_closed, 3); // 11 closed at scope end
}

TEST(UniqueAny, GdiObjectIsDeletedAndSelectGuardRestores) {
    HDC screen = GetDC(nullptr);
    mw::UniqueMemDc dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_PEN);
    HPEN raw = nullptr;
    {
        mw::UniquePen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        raw = pen.get();
        mw::SelectGuard guard(dc.get(), pen.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), raw);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), original);
    EXPECT_EQ(GetObjectType(raw), 0u) << "the pen must be deleted after the guard restored the old one";
}

} // namespace

#include "model/alt_tab_landing.h"
#include "model/wheel_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace mw;

TEST(WheelNotches, SmallDeltasAddUpToOneStepPerNotchAndATurnBackStartsAfresh) {
    const struct {
        const char* name;
        std::vector<int> deltas;
        std::vector<int> notches; // what each delta gives
    } rows[] = {
        {"one notch", {-120}, {-1}},
        {"eight touchpad deltas of 15", {-15, -15, -15, -15, -15, -15, -15, -15}, {0, 0, 0, 0, 0, 0, 0, -1}},
        {"a fast wheel's double notch", {240}, {2}},
        {"the rest carries over", {-90, -90, -60}, {0, -1, -1}},
        {"a turn back drops the half notch", {-100, 30, 100}, {0, 0, 1}},
    };
    for (const auto& r : rows) {
        int remainder = 0;
        for (size_t i = 0; i < r.deltas.size(); ++i)
            EXPECT_EQ(TakeWheelNotches(remainder, r.deltas[i]), r.notches[i]) << r.name << ", delta " << i;
    }
}

TEST(AltTabLanding, TheFirstTabSelectsTheWindowSecondInStackingOrder) {
    HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20), c = reinterpret_cast<HWND>(0x30);
    const struct {
        const char* name;
        std::vector<HWND> stacking, listed;
        int index;
    } rows[] = {
        {"not grouped", {a, b, c}, {a, b, c}, 1},
        {"grouping put the front program's other window second", {a, b, c}, {a, c, b}, 2},
        {"one window: the front one stays", {a}, {a}, -1},
        {"no windows", {}, {}, -1},
        {"the second one is not listed", {a, b, c}, {a, c}, 1},
        {"the front one is not listed", {a, b, c}, {c, b}, 0},
        {"a window unknown to the stacking is passed over", {a, b}, {c, a}, -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SecondInStackingOrder(r.stacking, r.listed), r.index) << r.name;
}

} // namespace

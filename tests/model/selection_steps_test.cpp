#include "model/alt_tab_landing.h"
#include "model/wheel_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace mw;

TEST(SelectionSteps, WheelDeltasAddUpToWholeNotchesAndATurnBackStartsAfresh) {
    const struct {
        const char* name;
        std::vector<int> deltas;
        int last; // the notches the last delta gives
    } rows[] = {
        {"seven deltas of 15", {-15, -15, -15, -15, -15, -15, -15}, 0},
        {"the eighth makes a notch", {-15, -15, -15, -15, -15, -15, -15, -15}, -1},
        {"a double notch", {240}, 2},
        {"a turn back drops the half notch", {-100, 30, 100}, 1},
    };
    for (const auto& r : rows) {
        int remainder = 0, notches = 0;
        for (int delta : r.deltas)
            notches = TakeWheelNotches(remainder, delta);
        EXPECT_EQ(notches, r.last) << r.name;
    }
}

TEST(SelectionSteps, TheFirstAltTabSelectsTheWindowSecondInStackingOrder) {
    HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20), c = reinterpret_cast<HWND>(0x30);
    const struct {
        const char* name;
        std::vector<HWND> stacking, listed;
        int index;
    } rows[] = {
        {"grouped behind the front program's other window", {a, b, c}, {a, c, b}, 2},
        {"one window: the front one stays", {a}, {a}, -1},
        {"the front one narrowed away", {a, b, c}, {c, b}, 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SecondInStackingOrder(r.stacking, r.listed), r.index) << r.name;
}

} // namespace

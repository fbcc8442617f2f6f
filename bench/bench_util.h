// Small helpers shared by the benchmarks: a microsecond clock and order statistics.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace mw::bench {

inline double NowUs() {
    static const double perUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perUs;
}

struct Stats {
    double median = 0, p10 = 0, p90 = 0, min = 0, max = 0;
    size_t n = 0;
};

inline Stats Summarise(std::vector<double> v) {
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)]; };
    s.median = at(0.5);
    s.p10 = at(0.1);
    s.p90 = at(0.9);
    s.min = v.front();
    s.max = v.back();
    s.n = v.size();
    return s;
}

// One line: name, median, and the spread as p10 .. p90 and min .. max.
inline void PrintStats(const char* name, const Stats& s, const char* unit, double scale = 1.0) {
    std::printf("  %-34s median %9.3f %s   p10 %9.3f   p90 %9.3f   min %9.3f   max %9.3f   (n=%zu)\n", name,
                s.median * scale, unit, s.p10 * scale, s.p90 * scale, s.min * scale, s.max * scale, s.n);
}

} // namespace mw::bench

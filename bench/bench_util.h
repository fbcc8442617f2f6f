// Small helpers shared by the benchmarks: a microsecond clock and order statistics.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
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

// The machine's load average as the host reports it: under Wine, Linux's /proc/loadavg through
// the Z: drive; on Windows there is none and the text says so. Printed beside each median, so a
// figure taken on a busy machine is seen as such.
inline std::string MachineLoad() {
    char text[64] = "";
    if (FILE* f = std::fopen("Z:\\proc\\loadavg", "r")) {
        const bool read = std::fgets(text, sizeof text, f) != nullptr;
        std::fclose(f);
        if (read) {
            std::string s(text);
            size_t cut = 0;
            for (int fields = 0; fields < 3 && cut != std::string::npos; ++fields)
                cut = s.find(' ', cut + (fields ? 1 : 0));
            return "load " + s.substr(0, cut);
        }
    }
    return "load n/a";
}

// Ratios of paired rounds (ours / floor, each taken in the same round) summarised: pairing
// cancels the drift of a noisy machine that a ratio of two overall medians keeps.
inline void PrintRatio(const char* name, const std::vector<double>& ratios, double goal) {
    const Stats r = Summarise(ratios);
    std::printf("  %-34s median %6.3f   p10 %6.3f   p90 %6.3f   (%zu paired rounds; goal %.2f: %s)   %s\n",
                name, r.median, r.p10, r.p90, r.n, goal, r.median <= goal ? "met" : "MISSED",
                MachineLoad().c_str());
}

} // namespace mw::bench

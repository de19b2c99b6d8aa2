#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace lark::bench {

inline double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0.0 : ms[ms.size() / 2];
}

// Prints min, median and max of the runs and the median's ratio to the protocol's fixed waits.
inline void report(const char* what, std::vector<double> ms, double floorMs)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%s: %zu runs, min %.1f ms, median %.1f ms, max %.1f ms\n", what, ms.size(), ms.front(),
                median, ms.back());
    std::printf("floor %.1f ms, median / floor = %.3f\n", floorMs, median / floorMs);
}

}  // namespace lark::bench

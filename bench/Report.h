#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace vespin::bench {

using Samples = std::vector<qint64>; // nanoseconds

// One line per figure: the median and mean of the samples in microseconds.
inline void report(const char *what, Samples samples)
{
    const std::size_t n = samples.size();
    std::sort(samples.begin(), samples.end());
    const double median = n % 2 ? double(samples[n / 2]) : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
    const double mean = std::accumulate(samples.begin(), samples.end(), 0.0) / double(n);
    std::printf("%s: median %.1f us, mean %.1f us (n=%zu)\n", what, median / 1000.0, mean / 1000.0, n);
    std::fflush(stdout);
}

} // namespace vespin::bench

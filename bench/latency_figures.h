#pragma once

// Percentiles of measured latencies and the JSON lines the benchmark
// programs print, one figure a line: {"request.daemon.p50_us": 123.4}.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vanta::bench {

// The `fraction` percentile (0.5, 0.99) of `samples`, which it sorts.
inline double percentile(std::vector<double>& samples, double fraction) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    return samples[index];
}

inline void print_figure(const std::string& name, double value) {
    std::printf("{\"%s\": %.3f}\n", name.c_str(), value);
    std::fflush(stdout);
}

}  // namespace vanta::bench

// One line per measured workload, in the shape scripts/bench gathers into its table.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>

// Best wall time in seconds of repeats runs of work; the best run is the one least disturbed.
inline double BestSeconds(int repeats, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best)
            best = seconds;
    }
    return best;
}

// "RESULT|platform|workload|time|floor|goal ratio (0: none)|note": the script turns these into the table.
inline void PrintResult(const char* platform, const char* workload, double seconds, double floorSeconds,
                        double goalRatio, const char* note = "")
{
    std::printf("RESULT|%s|%s|%.6f|%.6f|%.2f|%s\n", platform, workload, seconds, floorSeconds, goalRatio, note);
    std::fflush(stdout);
}

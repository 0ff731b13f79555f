#pragma once
// What the benchmarks share: the median of repeated measurements and the
// "figure:" lines scripts/bench collects into its table of figures and goals.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace tamber::bench {

using Clock = std::chrono::steady_clock;

// Processor time of the calling thread, so that figures hold on a busy machine.
inline double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Processor time of the whole process, other threads (software OpenGL's) included.
inline double ProcessCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One line of the summary: the measure, its value as printed, the goal as text and
// whether it is met ("note" when the figure has no goal).
inline void PrintFigure(const std::string& measure, const std::string& value, const std::string& goal,
                        const char* met) {
    std::printf("figure: %s | %s | %s | %s\n", measure.c_str(), value.c_str(), goal.c_str(), met);
    std::fflush(stdout);
}

inline const char* Met(bool met) { return met ? "met" : "missed"; }

inline std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace tamber::bench

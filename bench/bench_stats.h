#pragma once
// Timing and the statistics every bench figure goes through: the two sides
// alternate, and medians (with the quartiles as the noise) are compared.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline double NowMs()
{
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

// The value at fraction q (0..1) of the sorted samples, interpolated.
inline double Quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const double pos = q * static_cast<double>(v.size() - 1);
    const auto lo = static_cast<std::size_t>(pos);
    const std::size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (pos - static_cast<double>(lo));
}

inline double Median(const std::vector<double>& v) { return Quantile(v, 0.5); }

// Interquartile range as a share of the median, in percent: the noise.
inline double SpreadPct(const std::vector<double>& v)
{
    const double m = Median(v);
    return m > 0 ? 100.0 * (Quantile(v, 0.75) - Quantile(v, 0.25)) / m : 0;
}

// One machine-readable result line: the measured side, the baseline, both
// medians in `unit`, their noise and the ratio of the medians.
inline void PrintComparison(const char* name, const char* unit, const std::vector<double>& measured,
                            const std::vector<double>& baseline)
{
    const double a = Median(measured), b = Median(baseline);
    std::printf("RESULT %s reps=%zu unit=%s measured=%.4g baseline=%.4g ratio=%.3f measured_iqr_pct=%.1f "
                "baseline_iqr_pct=%.1f\n",
                name, measured.size(), unit, a, b, b > 0 ? a / b : 0.0, SpreadPct(measured),
                SpreadPct(baseline));
    std::fflush(stdout);
}

} // namespace bench

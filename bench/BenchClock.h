#pragma once
#include <windows.h>

// The benchmarks' clock: seconds on the performance counter, for differences only.
namespace bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// How long one call of `f` takes.
template <typename F> double Time(F &&f) {
    const double start = Now();
    f();
    return Now() - start;
}

} // namespace bench

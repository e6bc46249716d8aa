// The time for measuring how long the program takes to answer or to finish something.
#pragma once
#include <windows.h>

namespace ruvelto::testing {

// Milliseconds on the performance counter, from an arbitrary start.
inline double MillisecondsNow() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace ruvelto::testing

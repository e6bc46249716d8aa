// Asks a window of another process for an answer every 50 ms from a thread of its own, the way a
// person notices a frozen window: each answer's time is kept, and one that does not come within
// the bound counts as a miss (and as the bound).
#pragma once
#include <windows.h>

#include <vector>

namespace ruvelto::testing {

struct Answers {
    std::vector<double> milliseconds;
    int misses = 0;
    double Percentile(double p) const;  // 0.5 the median, 1 the longest; 0 when none
};

class AnswerProbe {
public:
    AnswerProbe(HWND window, DWORD boundMs);
    ~AnswerProbe();
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;

    // The answers since the probe started or since the last call.
    Answers Take();

private:
    static DWORD WINAPI Run(void* self);

    HWND window_;
    DWORD boundMs_;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    Answers answers_;
    HANDLE thread_ = nullptr;
};

}  // namespace ruvelto::testing

#include "tests/app/e2e/answer_probe.h"

#include <algorithm>

#include "tests/app/e2e/clock.h"

namespace ruvelto::testing {

double Answers::Percentile(double p) const {
    if (milliseconds.empty()) return 0;
    std::vector<double> sorted = milliseconds;
    std::sort(sorted.begin(), sorted.end());
    const auto at = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(sorted.size() - 1, at)];
}

AnswerProbe::AnswerProbe(HWND window, DWORD boundMs) : window_(window), boundMs_(boundMs) {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, &AnswerProbe::Run, this, 0, nullptr);
}

AnswerProbe::~AnswerProbe() {
    stop_ = 1;
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    DeleteCriticalSection(&lock_);
}

Answers AnswerProbe::Take() {
    EnterCriticalSection(&lock_);
    Answers taken = std::move(answers_);
    answers_ = Answers{};
    LeaveCriticalSection(&lock_);
    return taken;
}

DWORD WINAPI AnswerProbe::Run(void* self) {
    auto* probe = static_cast<AnswerProbe*>(self);
    while (!probe->stop_) {
        const double start = MillisecondsNow();
        DWORD_PTR result = 0;
        const bool answered =
            SendMessageTimeoutA(probe->window_, WM_NULL, 0, 0, SMTO_NORMAL, probe->boundMs_, &result) != 0;
        const double took = MillisecondsNow() - start;
        EnterCriticalSection(&probe->lock_);
        probe->answers_.milliseconds.push_back(took);
        if (!answered) ++probe->answers_.misses;
        LeaveCriticalSection(&probe->lock_);
        Sleep(50);
    }
    return 0;
}

}  // namespace ruvelto::testing

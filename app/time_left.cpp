#include "app/time_left.h"

#include "app/texts.h"

namespace ruvelto::app {

std::string TimeLeftText(int64_t milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    const int64_t seconds = (milliseconds + 999) / 1000;
    if (seconds < 60) return std::to_string(seconds) + texts::kSeconds;
    return std::to_string((seconds + 59) / 60) + texts::kMinutes;
}

std::string RunProgressText::Next(int32_t done, int64_t nowMs) {
    const int64_t elapsed = nowMs - startMs_;
    if (elapsed <= kQuietMs || done <= 0 || total_ <= 0) return {};
    if (shownMs_ >= 0 && nowMs - shownMs_ < kIntervalMs) return {};
    shownMs_ = nowMs;
    const int64_t left = done >= total_ ? 0 : elapsed * (total_ - done) / done;
    return texts::kProgressBefore + std::to_string(done) + "/" + std::to_string(total_) + texts::kTimeLeftBefore +
           TimeLeftText(left);
}

}  // namespace ruvelto::app

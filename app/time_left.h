// The status text of a long run: "已处理 N/M，剩余约 T", the time left estimated from the average
// time a picture has taken so far. Portable: the caller gives the clock's readings.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::app {

// "T" of the status text: whole seconds below a minute ("12 秒"), else whole minutes ("3 分钟"),
// both rounded up so that the estimate does not promise too little.
std::string TimeLeftText(int64_t milliseconds);

class RunProgressText {
public:
    // A run of total pictures that started at startMs.
    RunProgressText(int32_t total, int64_t startMs) : total_(total), startMs_(startMs) {}

    // After done pictures at nowMs: the text to show now, or empty when nothing is to change (the
    // run is 5 seconds old at most, or the text was shown less than half a second ago).
    std::string Next(int32_t done, int64_t nowMs);
    // Whether any progress text has been shown (then the run's own texts must replace it).
    bool Shown() const { return shownMs_ >= 0; }

    static constexpr int64_t kQuietMs = 5000;
    static constexpr int64_t kIntervalMs = 500;

private:
    int32_t total_;
    int64_t startMs_;
    int64_t shownMs_ = -1;
};

}  // namespace ruvelto::app

#include "commands/random_generator.h"

#include <algorithm>
#include <utility>

namespace ruvelto::commands {
namespace {

thread_local uint32_t state = 1;
// Plain process-wide integer: the commands run on the user-interface thread.
uint32_t seedCounter = 0;

}  // namespace

void SetRandomSeed(uint32_t seed) { state = seed; }

void SetRandomSeedFromClock(uint32_t tickCount) {
    const uint32_t t = tickCount + seedCounter;
    seedCounter = seedCounter + (t & 0xFF) + 100;
    state = t;
}

int32_t DrawRandom() {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

int32_t GetRandom(std::optional<int32_t> minimum, std::optional<int32_t> maximum) {
    int32_t lo = minimum ? std::max(*minimum, 0) : 0;
    int32_t hi = maximum ? std::max(*maximum, 0) : 0x7FFFFFFF;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) return lo;
    const int32_t range = std::min(hi - lo, 0x7FFFFFFE);
    return lo + DrawRandom() % (range + 1);
}

}  // namespace ruvelto::commands

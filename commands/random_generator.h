// The random numbers of SetRandomSeed and GetRandom: the standard runtime library's linear
// congruential generator, one state per thread (starting at 1), plus a process-wide counter that
// keeps two clock seeds within one tick apart. Portable: the caller supplies the tick count.
#pragma once
#include <cstdint>
#include <optional>

namespace ruvelto::commands {

// Sets this thread's state.
void SetRandomSeed(uint32_t seed);
// Seeds from the clock: t = tick count + counter; the counter then grows by (t & 0xFF) + 100.
void SetRandomSeedFromClock(uint32_t tickCount);
// One draw, 0..32767.
int32_t DrawRandom();
// A number from min..max (omitted: 0 and 0x7FFFFFFF; negatives count as 0; swapped when
// min > max). Since a draw is at most 32767, results never exceed min + 32767.
int32_t GetRandom(std::optional<int32_t> minimum, std::optional<int32_t> maximum);

}  // namespace ruvelto::commands

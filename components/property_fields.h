// Small helpers shared by the property objects of the standard components: the clamps that
// property writes apply and the version check every blob starts with. Portable.
#pragma once
#include <cstdint>

#include "forms/property_blob.h"

namespace ruvelto::components {

using forms::PropertyBlobReader;
using forms::PropertyBlobWriter;

constexpr uint32_t kSystemColor = 0xFF000000;  // system button face, or "not used" where transparency is allowed

// A choice written above its top value becomes the top value; below 0 becomes 0.
constexpr uint32_t ClampChoice(uint32_t value, int32_t top) {
    int32_t v = static_cast<int32_t>(value);
    return static_cast<uint32_t>(v < 0 ? 0 : v > top ? top : v);
}

// Any signed 32-bit value into [low, high].
constexpr int32_t ClampInt(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : value > high ? high : value;
}

// Reads the version word; false when the blob is truncated or newer than `highest`.
inline bool ReadVersion(PropertyBlobReader& blob, uint32_t highest, uint32_t* version) {
    *version = blob.U32();
    return blob.Ok() && *version <= highest;
}

}  // namespace ruvelto::components

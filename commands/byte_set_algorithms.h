// Byte-set cutting and searching: plain bytes, no character stepping, 1-based positions.
// Portable; results are views into the argument.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace ruvelto::commands {

using Bytes = std::span<const uint8_t>;

Bytes LeftBytes(Bytes bytes, int32_t count);
Bytes MiddleBytes(Bytes bytes, int32_t start, int32_t count);
// 1-based position of the first occurrence at or after start (omitted: from the first byte), or
// -1; an empty sought byte set is never found.
int32_t FindBytes(Bytes bytes, Bytes sought, std::optional<int32_t> start);

}  // namespace ruvelto::commands

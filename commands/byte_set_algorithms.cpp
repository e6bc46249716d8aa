#include "commands/byte_set_algorithms.h"

#include <algorithm>
#include <cstring>

namespace ruvelto::commands {

Bytes LeftBytes(Bytes bytes, int32_t count) {
    if (count <= 0) return {};
    return bytes.first(std::min<size_t>(static_cast<size_t>(count), bytes.size()));
}

Bytes MiddleBytes(Bytes bytes, int32_t start, int32_t count) {
    const int64_t s = std::clamp<int64_t>(int64_t{start} - 1, 0, static_cast<int64_t>(bytes.size()));
    const size_t offset = static_cast<size_t>(s);
    const size_t m = std::min<size_t>(count > 0 ? static_cast<size_t>(count) : 0, bytes.size() - offset);
    return bytes.subspan(offset, m);
}

int32_t FindBytes(Bytes bytes, Bytes sought, std::optional<int32_t> start) {
    const size_t from = (start && *start > 1) ? static_cast<size_t>(*start) - 1 : 0;
    if (sought.empty() || from > bytes.size() || sought.size() > bytes.size() - from) return -1;
    const uint8_t* const base = bytes.data();
    const uint8_t* p = base + from;
    const uint8_t* const last = base + (bytes.size() - sought.size());  // last possible start
    while (p <= last) {
        const void* hit = std::memchr(p, sought[0], static_cast<size_t>(last - p) + 1);
        if (hit == nullptr) return -1;
        p = static_cast<const uint8_t*>(hit);
        if (std::memcmp(p, sought.data(), sought.size()) == 0) return static_cast<int32_t>(p - base + 1);
        ++p;
    }
    return -1;
}

}  // namespace ruvelto::commands

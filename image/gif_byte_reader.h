// The GIF decoder reads its stream byte by byte; this reader fetches it in chunks so that a
// byte costs an array access, and knows its logical position so that a walk over the file can
// be undone.
#pragma once
#include <cstddef>
#include <cstdint>

#include "image/stream.h"

namespace ruvelto::image {

class GifByteReader {
public:
    static constexpr size_t kChunk = 16383;

    void Start(Stream& stream);
    // The next byte, or -1 at the end of the data.
    int GetByte() {
        if (index_ == fill_ && !Refill()) return -1;
        return buffer_[index_++];
    }
    // Reads up to n bytes into out; true only when all n arrived.
    bool Read(uint8_t* out, size_t n);
    // Skips n bytes; true only when all n were there.
    bool Skip(size_t n);
    // Skips data sub-blocks up to and including the zero-length one; false at the end of data.
    bool SkipSubBlocks();
    int64_t Tell() const { return chunkStart_ + static_cast<int64_t>(index_); }
    bool Seek(int64_t position);

private:
    bool Refill();

    Stream* stream_ = nullptr;
    int64_t chunkStart_ = 0;  // stream position of buffer_[0]
    size_t fill_ = 0;
    size_t index_ = 0;
    bool ended_ = false;
    uint8_t buffer_[kChunk];
};

}  // namespace ruvelto::image

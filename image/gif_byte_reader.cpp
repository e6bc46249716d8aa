#include "image/gif_byte_reader.h"

#include <cstring>

namespace ruvelto::image {

void GifByteReader::Start(Stream& stream) {
    stream_ = &stream;
    chunkStart_ = stream.Tell();
    if (chunkStart_ < 0) chunkStart_ = 0;
    fill_ = index_ = 0;
    ended_ = false;
}

bool GifByteReader::Refill() {
    if (ended_ || !stream_) return false;
    chunkStart_ += static_cast<int64_t>(fill_);
    fill_ = stream_->Read(buffer_, 1, kChunk);
    index_ = 0;
    if (fill_ == 0) ended_ = true;
    return fill_ != 0;
}

bool GifByteReader::Read(uint8_t* out, size_t n) {
    while (n > 0) {
        if (index_ == fill_ && !Refill()) return false;
        const size_t take = fill_ - index_ < n ? fill_ - index_ : n;
        std::memcpy(out, buffer_ + index_, take);
        index_ += take;
        out += take;
        n -= take;
    }
    return true;
}

bool GifByteReader::Skip(size_t n) {
    while (n > 0) {
        if (index_ == fill_ && !Refill()) return false;
        const size_t take = fill_ - index_ < n ? fill_ - index_ : n;
        index_ += take;
        n -= take;
    }
    return true;
}

bool GifByteReader::SkipSubBlocks() {
    for (;;) {
        const int length = GetByte();
        if (length < 0) return false;
        if (length == 0) return true;
        if (!Skip(static_cast<size_t>(length))) return false;
    }
}

bool GifByteReader::Seek(int64_t position) {
    if (!stream_ || position < 0) return false;
    if (position >= chunkStart_ && position <= chunkStart_ + static_cast<int64_t>(fill_)) {
        index_ = static_cast<size_t>(position - chunkStart_);
        ended_ = false;
        return true;
    }
    if (!stream_->Seek(position, kSeekSet)) return false;
    chunkStart_ = position;
    fill_ = index_ = 0;
    ended_ = false;
    return true;
}

}  // namespace ruvelto::image

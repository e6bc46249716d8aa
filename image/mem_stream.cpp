#include "image/mem_stream.h"

#include <cstdlib>
#include <cstring>

namespace ruvelto::image {

MemStream::MemStream() {
    buffer_ = static_cast<uint8_t*>(std::malloc(1));
    capacity_ = buffer_ ? 1 : 0;
    owns_ = true;
}

MemStream::MemStream(const uint8_t* bytes, size_t length)
    : buffer_(const_cast<uint8_t*>(bytes)), size_(length), capacity_(length), readOnly_(true) {}

MemStream::~MemStream() { Close(); }

bool MemStream::Close() {
    if (owns_) std::free(buffer_);
    buffer_ = nullptr;
    owns_ = false;
    size_ = position_ = capacity_ = 0;
    return true;
}

size_t MemStream::Read(void* buffer, size_t itemSize, size_t count) {
    if (!buffer_ || itemSize == 0 || position_ >= size_) return 0;
    const size_t available = size_ - position_;
    const size_t wanted = count > available / itemSize ? available : itemSize * count;
    std::memcpy(buffer, buffer_ + position_, wanted);
    position_ += wanted;
    return wanted / itemSize;
}

size_t MemStream::Write(const void* buffer, size_t itemSize, size_t count) {
    if (!buffer_ || readOnly_ || itemSize == 0 || count == 0) return 0;
    if (count > SIZE_MAX / itemSize) return 0;
    const size_t n = itemSize * count;
    if (position_ > SIZE_MAX / 2 || n > SIZE_MAX / 2 - position_) return 0;
    if (position_ + n > capacity_) {
        const size_t capacity = (position_ + n) / 4096 * 4096 + 4096;
        uint8_t* grown = static_cast<uint8_t*>(std::realloc(buffer_, capacity));
        if (!grown) return 0;
        buffer_ = grown;
        capacity_ = capacity;
    }
    // A position sought past the end leaves a gap; it reads back as zeros, never as old heap bytes.
    if (position_ > size_) std::memset(buffer_ + size_, 0, position_ - size_);
    std::memcpy(buffer_ + position_, buffer, n);
    position_ += n;
    if (position_ > size_) size_ = position_;
    return count;
}

bool MemStream::Seek(int64_t offset, int origin) {
    if (!buffer_) return false;
    int64_t base;
    switch (origin) {
        case kSeekSet: base = 0; break;
        case kSeekCur: base = static_cast<int64_t>(position_); break;
        case kSeekEnd: base = static_cast<int64_t>(size_); break;
        default: return false;
    }
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target)) return false;
    if (target < 0) target = 0;
    if (static_cast<uint64_t>(target) > SIZE_MAX / 2) return false;
    position_ = static_cast<size_t>(target);
    return true;
}

int64_t MemStream::Tell() { return buffer_ ? static_cast<int64_t>(position_) : -1; }

int64_t MemStream::Size() { return buffer_ ? static_cast<int64_t>(size_) : -1; }

int MemStream::GetC() {
    if (!buffer_ || position_ >= size_) return -1;
    return buffer_[position_++];
}

uint8_t* MemStream::GetBuffer() {
    uint8_t* b = buffer_;
    buffer_ = nullptr;
    owns_ = false;
    size_ = position_ = capacity_ = 0;
    return b;
}

}  // namespace ruvelto::image

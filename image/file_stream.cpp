#include "image/file_stream.h"

#include <cstring>

namespace ruvelto::image {

FileStream::FileStream(PlatformFile file) : file_(file), buffer_(new uint8_t[kBufferSize]) {}

FileStream::FileStream(const char* path, bool forWriting)
    : file_(OpenPlatformFile(path, forWriting)), ownsFile_(true), buffer_(new uint8_t[kBufferSize]) {}

FileStream::~FileStream() { Close(); }

// False when any write of the stream failed, not only the last one: a large write that went
// straight to the file may have failed long before.
bool FileStream::Close() {
    if (!IsOpen()) return false;
    const bool flushed = Flush();
    if (ownsFile_) ClosePlatformFile(file_);
    file_ = kNoPlatformFile;
    return flushed && !error_;
}

bool FileStream::Flush() {
    if (!IsOpen()) return false;
    if (!writing_ || pos_ == 0) return true;
    const int64_t put = WritePlatformFile(file_, buffer_.get(), pos_);
    if (put != static_cast<int64_t>(pos_)) error_ = true;
    start_ += put > 0 ? put : 0;
    pos_ = 0;
    return !error_;
}

bool FileStream::StartReading() {
    if (!writing_) return true;
    if (!Flush()) return false;
    writing_ = false;
    length_ = pos_ = 0;
    return true;
}

bool FileStream::StartWriting() {
    if (writing_) return true;
    const int64_t position = start_ + static_cast<int64_t>(pos_);
    if (!SeekPlatformFile(file_, position)) {
        error_ = true;
        return false;
    }
    writing_ = true;
    start_ = position;
    length_ = pos_ = 0;
    return true;
}

size_t FileStream::Read(void* buffer, size_t itemSize, size_t count) {
    if (!IsOpen() || itemSize == 0 || count == 0 || !StartReading()) return 0;
    if (count > SIZE_MAX / itemSize) count = SIZE_MAX / itemSize;
    const size_t wanted = itemSize * count;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < wanted) {
        if (pos_ < length_) {
            const size_t n = length_ - pos_ < wanted - done ? length_ - pos_ : wanted - done;
            std::memcpy(out + done, buffer_.get() + pos_, n);
            pos_ += n;
            done += n;
            continue;
        }
        start_ += static_cast<int64_t>(length_);
        length_ = pos_ = 0;
        if (wanted - done >= kBufferSize) {
            // Large reads go straight into the caller's buffer.
            const size_t request = wanted - done;
            const int64_t got = ReadPlatformFile(file_, out + done, request);
            if (got < 0) error_ = true;
            if (got <= 0) break;
            start_ += got;
            done += static_cast<size_t>(got);
            if (static_cast<size_t>(got) < request) break;
        } else {
            const int64_t got = ReadPlatformFile(file_, buffer_.get(), kBufferSize);
            if (got < 0) error_ = true;
            if (got <= 0) break;
            length_ = static_cast<size_t>(got);
        }
    }
    if (done < wanted) eof_ = true;
    return done / itemSize;
}

size_t FileStream::Write(const void* buffer, size_t itemSize, size_t count) {
    if (!IsOpen() || itemSize == 0 || count == 0 || !StartWriting()) return 0;
    if (count > SIZE_MAX / itemSize) return 0;
    const size_t n = itemSize * count;
    const uint8_t* in = static_cast<const uint8_t*>(buffer);
    if (pos_ + n <= kBufferSize) {
        std::memcpy(buffer_.get() + pos_, in, n);
        pos_ += n;
        return count;
    }
    if (!Flush()) return 0;
    const int64_t put = WritePlatformFile(file_, in, n);
    if (put != static_cast<int64_t>(n)) error_ = true;
    if (put <= 0) return 0;
    start_ += put;
    return static_cast<size_t>(put) / itemSize;
}

bool FileStream::Seek(int64_t offset, int origin) {
    if (!IsOpen()) return false;
    int64_t base;
    switch (origin) {
        case kSeekSet: base = 0; break;
        case kSeekCur: base = Tell(); break;
        case kSeekEnd: base = Size(); break;
        default: return false;
    }
    int64_t target;
    if (base < 0 || __builtin_add_overflow(base, offset, &target) || target < 0) return false;
    if (!Flush()) return false;
    eof_ = false;
    if (!writing_ && target >= start_ && target <= start_ + static_cast<int64_t>(length_)) {
        pos_ = static_cast<size_t>(target - start_);
        return true;
    }
    if (!SeekPlatformFile(file_, target)) return false;
    start_ = target;
    length_ = pos_ = 0;
    return true;
}

int64_t FileStream::Tell() {
    if (!IsOpen()) return -1;
    return start_ + static_cast<int64_t>(pos_);
}

int64_t FileStream::Size() {
    if (!IsOpen()) return -1;
    const int64_t onDisk = PlatformFileSize(file_);
    const int64_t end = writing_ ? start_ + static_cast<int64_t>(pos_) : 0;
    return onDisk > end ? onDisk : end;
}

int FileStream::GetC() {
    uint8_t b;
    return Read(&b, 1, 1) == 1 ? b : -1;
}

}  // namespace ruvelto::image

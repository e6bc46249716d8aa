// A stream over a memory buffer: read-only over the caller's bytes (decoding), or growing and
// owning its buffer (encoding), which GetBuffer then hands over.
#pragma once
#include "image/stream.h"

namespace ruvelto::image {

class MemStream final : public Stream {
public:
    // An empty, growing stream that owns its buffer.
    MemStream();
    // A read-only stream over bytes the caller keeps.
    MemStream(const uint8_t* bytes, size_t length);
    ~MemStream() override;
    MemStream(const MemStream&) = delete;
    MemStream& operator=(const MemStream&) = delete;

    bool Close() override;
    size_t Read(void* buffer, size_t itemSize, size_t count) override;
    size_t Write(const void* buffer, size_t itemSize, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override { return true; }
    bool Eof() override { return position_ >= size_; }
    bool Error() override { return position_ > size_; }
    int GetC() override;

    // Detaches the buffer; the caller releases it with FreeMemory. Size() tells its length first.
    uint8_t* GetBuffer();
    size_t Capacity() const { return capacity_; }

private:
    uint8_t* buffer_ = nullptr;
    size_t size_ = 0;
    size_t position_ = 0;
    size_t capacity_ = 0;
    bool owns_ = false;
    bool readOnly_ = false;
};

}  // namespace ruvelto::image

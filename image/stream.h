// The byte stream every codec reads and writes: a file or a memory buffer behind one interface.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ruvelto::image {

class Stream {
public:
    virtual ~Stream() = default;
    virtual bool Close() = 0;
    // Returns the number of whole items transferred.
    virtual size_t Read(void* buffer, size_t itemSize, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t itemSize, size_t count) = 0;
    // origin: 0 start, 1 current position, 2 end.
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual int64_t Tell() = 0;   // -1 when closed
    virtual int64_t Size() = 0;   // -1 when closed
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual bool Error() = 0;
    virtual bool PutC(uint8_t byte) { return Write(&byte, 1, 1) == 1; }
    virtual int GetC() = 0;       // -1 at the end

    // Bytes left between the position and the end; decoders compare it with what a header
    // promises before they allocate for it.
    int64_t Remaining() {
        const int64_t size = Size();
        const int64_t pos = Tell();
        return size < 0 || pos < 0 || pos >= size ? 0 : size - pos;
    }
};

enum SeekOrigin : int { kSeekSet = 0, kSeekCur = 1, kSeekEnd = 2 };

}  // namespace ruvelto::image

// A buffered stream over a file. It closes the file only when it opened the file itself.
#pragma once
#include <memory>

#include "image/platform_file.h"
#include "image/stream.h"

namespace ruvelto::image {

class FileStream final : public Stream {
public:
    // Wraps a file the caller opened and will close.
    explicit FileStream(PlatformFile file);
    // Opens path for reading ("rb") or creates/truncates it for writing ("wb").
    FileStream(const char* path, bool forWriting);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    bool IsOpen() const { return file_ != kNoPlatformFile; }

    bool Close() override;
    size_t Read(void* buffer, size_t itemSize, size_t count) override;
    size_t Write(const void* buffer, size_t itemSize, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override;
    bool Eof() override { return eof_; }
    bool Error() override { return error_; }
    int GetC() override;

private:
    static constexpr size_t kBufferSize = 64 * 1024;
    bool StartReading();
    bool StartWriting();

    PlatformFile file_ = kNoPlatformFile;
    bool ownsFile_ = false;
    std::unique_ptr<uint8_t[]> buffer_;
    // Reading: buffer_ holds the file's bytes [start_, start_ + length_) and the file is positioned
    // after them. Writing: buffer_ holds pos_ bytes still to be written at start_.
    int64_t start_ = 0;
    size_t length_ = 0;
    size_t pos_ = 0;
    bool writing_ = false;
    bool eof_ = false;
    bool error_ = false;
};

}  // namespace ruvelto::image

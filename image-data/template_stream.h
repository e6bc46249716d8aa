// The little-endian stream that window templates are written in: words, buffers (a byte count,
// then the bytes), counted texts (a byte count, then GBK bytes without a terminator) and the
// zero-terminated texts used inside component records.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::image_data {

class TemplateStream {
public:
    void Word(uint32_t value);
    void Int(int32_t value) { Word(static_cast<uint32_t>(value)); }
    void Bytes(const std::vector<uint8_t>& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    void Buffer(const std::vector<uint8_t>& bytes);
    void CountedText(const std::string& gbk);
    void ZeroTerminatedText(const std::string& gbk);

    const std::vector<uint8_t>& Data() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }
    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace ruvelto::image_data

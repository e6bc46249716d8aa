// Reads the little-endian stream primitives of the window template segment from memory. Every
// read checks the bytes that remain; a read past the end fails and leaves the reader failed.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::forms {

class TemplateReader {
public:
    TemplateReader(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}

    bool Word(uint32_t& value);
    // A byte count, then that many bytes (none when the count is 0 or negative); `bytes` points
    // into the reader's memory.
    bool Buffer(const uint8_t*& bytes, uint32_t& length);
    bool CountedText(std::string& text);

    uint32_t Remaining() const { return length_ - position_; }
    bool Failed() const { return failed_; }

private:
    bool Take(uint32_t count, const uint8_t*& bytes);

    const uint8_t* data_;
    uint32_t length_;
    uint32_t position_ = 0;
    bool failed_ = false;
};

// Little-endian u32 at p, whatever its alignment.
inline uint32_t LoadWord(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void StoreWord(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16), p[3] = uint8_t(v >> 24);
}

}  // namespace ruvelto::forms

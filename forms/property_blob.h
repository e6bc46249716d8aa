// Property blobs: a component's properties serialised as a little-endian stream of a u32
// version and the type's fields in the type's fixed order. Integers and colours are u32, some
// small fields u16, texts and byte data a u32 length and the bytes (texts without terminator).
// Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::forms {

// Every read checks what remains; once a read fails the reader stays failed, so a type reads all
// its fields and tests Ok() once.
class PropertyBlobReader {
public:
    PropertyBlobReader(const uint8_t* data, uint32_t length) : data_(data), length_(data ? length : 0) {}

    bool Empty() const { return length_ == 0; }
    uint32_t U32();
    uint16_t U16();
    std::string Text();
    std::vector<uint8_t> Bytes();
    bool Ok() const { return ok_; }
    uint32_t Remaining() const { return length_ - at_; }

private:
    const uint8_t* Take(uint32_t count);
    const uint8_t* data_;
    uint32_t length_;
    uint32_t at_ = 0;
    bool ok_ = true;
};

class PropertyBlobWriter {
public:
    void U32(uint32_t value);
    void U16(uint16_t value);
    void Text(const std::string& text);
    void Bytes(const std::vector<uint8_t>& bytes);
    const std::vector<uint8_t>& Data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

}  // namespace ruvelto::forms

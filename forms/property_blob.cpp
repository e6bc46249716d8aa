#include "forms/property_blob.h"

namespace ruvelto::forms {

const uint8_t* PropertyBlobReader::Take(uint32_t count) {
    if (!ok_ || count > length_ - at_) {
        ok_ = false;
        return nullptr;
    }
    const uint8_t* p = data_ + at_;
    at_ += count;
    return p;
}

uint32_t PropertyBlobReader::U32() {
    const uint8_t* p = Take(4);
    return p ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24 : 0;
}

uint16_t PropertyBlobReader::U16() {
    const uint8_t* p = Take(2);
    return p ? uint16_t(p[0] | p[1] << 8) : 0;
}

std::string PropertyBlobReader::Text() {
    auto bytes = Bytes();
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> PropertyBlobReader::Bytes() {
    uint32_t count = U32();
    // A negative count is an empty field, as in the template stream.
    if (static_cast<int32_t>(count) <= 0) return {};
    const uint8_t* p = Take(count);
    return p ? std::vector<uint8_t>(p, p + count) : std::vector<uint8_t>{};
}

void PropertyBlobWriter::U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) data_.push_back(uint8_t(value >> shift));
}

void PropertyBlobWriter::U16(uint16_t value) {
    data_.push_back(uint8_t(value));
    data_.push_back(uint8_t(value >> 8));
}

void PropertyBlobWriter::Text(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    data_.insert(data_.end(), text.begin(), text.end());
}

void PropertyBlobWriter::Bytes(const std::vector<uint8_t>& bytes) {
    U32(static_cast<uint32_t>(bytes.size()));
    data_.insert(data_.end(), bytes.begin(), bytes.end());
}

}  // namespace ruvelto::forms

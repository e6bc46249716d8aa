#include "forms/template_reader.h"

namespace ruvelto::forms {

bool TemplateReader::Take(uint32_t count, const uint8_t*& bytes) {
    if (failed_ || count > Remaining()) {
        failed_ = true;
        return false;
    }
    bytes = data_ + position_;
    position_ += count;
    return true;
}

bool TemplateReader::Word(uint32_t& value) {
    const uint8_t* p;
    if (!Take(4, p)) return false;
    value = LoadWord(p);
    return true;
}

bool TemplateReader::Buffer(const uint8_t*& bytes, uint32_t& length) {
    uint32_t count;
    if (!Word(count)) return false;
    if (static_cast<int32_t>(count) <= 0) count = 0;
    length = count;
    return Take(count, bytes);
}

bool TemplateReader::CountedText(std::string& text) {
    const uint8_t* bytes;
    uint32_t length;
    if (!Buffer(bytes, length)) return false;
    text.assign(reinterpret_cast<const char*>(bytes), length);
    return true;
}

}  // namespace ruvelto::forms

#include "image-data/template_stream.h"

#include <stdexcept>

namespace ruvelto::image_data {

void TemplateStream::Word(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(value >> shift));
}

void TemplateStream::Buffer(const std::vector<uint8_t>& bytes) {
    if (bytes.size() > 0x7FFFFFFFu) throw std::length_error("template buffer too large");
    Word(static_cast<uint32_t>(bytes.size()));
    Bytes(bytes);
}

void TemplateStream::CountedText(const std::string& gbk) { Buffer({gbk.begin(), gbk.end()}); }

void TemplateStream::ZeroTerminatedText(const std::string& gbk) {
    // A zero inside the text would cut the record's later fields loose.
    if (gbk.find('\0') != std::string::npos) throw std::invalid_argument("zero byte inside a record text");
    bytes_.insert(bytes_.end(), gbk.begin(), gbk.end());
    bytes_.push_back(0);
}

}  // namespace ruvelto::image_data

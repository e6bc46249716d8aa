#include "image-data/component_blobs.h"

#include <algorithm>

namespace ruvelto::image_data {
namespace {

template <class Properties>
std::vector<uint8_t> Blob(const Properties& properties) {
    components::PropertyBlobWriter writer;
    properties.Save(writer);
    return writer.Data();
}

void PutWord(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

}  // namespace

CheckBoxProperties CheckBoxDefaults() { return CheckBoxProperties::Defaults(components::TickKind::kCheckBox); }
CheckBoxProperties RadioBoxDefaults() { return CheckBoxProperties::Defaults(components::TickKind::kRadioBox); }

std::vector<uint8_t> ButtonBlob(const ButtonProperties& p) { return Blob(p); }

std::vector<uint8_t> CheckBoxBlob(const CheckBoxProperties& p) {
    components::PropertyBlobWriter writer;
    p.Save(writer, components::TickKind::kCheckBox);
    return writer.Data();
}

std::vector<uint8_t> RadioBoxBlob(const CheckBoxProperties& p) {
    components::PropertyBlobWriter writer;
    p.Save(writer, components::TickKind::kRadioBox);
    return writer.Data();
}

std::vector<uint8_t> EditBoxBlob(const EditBoxProperties& p) { return Blob(p); }
std::vector<uint8_t> LabelBlob(const LabelProperties& p) { return Blob(p); }
std::vector<uint8_t> GroupBoxBlob(const GroupBoxProperties& p) { return Blob(p); }
std::vector<uint8_t> ShapeBoxBlob(const ShapeBoxProperties& p) { return Blob(p); }
std::vector<uint8_t> ProcessBarBlob(const ProcessBarProperties& p) { return Blob(p); }
std::vector<uint8_t> SliderBarBlob(const SliderBarProperties& p) { return Blob(p); }
std::vector<uint8_t> HScrollBarBlob(const HScrollBarProperties& p) { return Blob(p); }
std::vector<uint8_t> PicBoxBlob(const PicBoxProperties& p) { return Blob(p); }
std::vector<uint8_t> DrawPanelBlob(const DrawPanelProperties& p) { return Blob(p); }
std::vector<uint8_t> CommonDlgBlob(const CommonDlgProperties& p) { return Blob(p); }

std::vector<uint8_t> FontProperty(const std::string& faceName, int32_t height, int32_t weight, bool italic,
                                  bool underline) {
    // LOGFONTA: five 32-bit fields (height, width, escapement, orientation, weight), eight bytes
    // (italic, underline, strike-out, charset, precisions, quality, pitch), a 32-byte face name.
    std::vector<uint8_t> bytes(60, 0);
    PutWord(bytes, 0, height);
    PutWord(bytes, 16, weight);
    bytes[20] = italic ? 1 : 0;
    bytes[21] = underline ? 1 : 0;
    std::copy_n(faceName.begin(), std::min<size_t>(faceName.size(), 31), bytes.begin() + 28);
    return bytes;
}

}  // namespace ruvelto::image_data

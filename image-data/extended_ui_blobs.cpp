#include "image-data/extended_ui_blobs.h"

namespace ruvelto::image_data {
namespace {

template <class Properties>
std::vector<uint8_t> Blob(const Properties& properties) {
    extui::PropertyBlobWriter writer;
    properties.Save(writer);
    return writer.Data();
}

}  // namespace

std::vector<uint8_t> ListViewBlob(const ListViewProperties& p) { return Blob(p); }
std::vector<uint8_t> StatusBarBlob(const StatusBarProperties& p) { return Blob(p); }
std::vector<uint8_t> TransLabelBlob(const TransLabelProperties& p) { return Blob(p); }

std::vector<uint8_t> TransLabelBlob(const std::string& caption) {
    TransLabelProperties p;
    p.caption = caption;
    return Blob(p);
}

}  // namespace ruvelto::image_data

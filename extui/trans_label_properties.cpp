#include "extui/trans_label_properties.h"

namespace ruvelto::extui {

bool TransLabelProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!components::ReadVersion(blob, kVersion, &version)) return false;
    effect = blob.U32();
    textColor = blob.U32();
    horizontalAlign = blob.U32();
    verticalAlign = blob.U32();
    wordWrap = blob.U32();
    font = blob.Bytes();
    caption = blob.Text();
    return blob.Ok();
}

void TransLabelProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(effect);
    blob.U32(textColor);
    blob.U32(horizontalAlign);
    blob.U32(verticalAlign);
    blob.U32(wordWrap);
    blob.Bytes(font);
    blob.Text(caption);
}

}  // namespace ruvelto::extui

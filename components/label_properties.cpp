#include "components/label_properties.h"

namespace ruvelto::components {

bool LabelProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    textEffect = blob.U32();
    frameWidth = static_cast<int32_t>(blob.U32());
    border = blob.U32();
    for (uint32_t& c : frameColors) c = blob.U32();
    textColor = blob.U32();
    backColor = blob.U32();
    pictureMode = blob.U32();
    gradientMode = blob.U32();
    for (uint32_t& c : gradientColors) c = blob.U32();
    horizontalAlign = blob.U32();
    verticalAlign = blob.U32();
    wordWrap = blob.U32();
    font = blob.Bytes();
    picture = blob.Bytes();
    caption = blob.Text();
    if (version == 2) {
        dataSource = blob.Text();
        dataField = blob.Text();
    }
    return blob.Ok();
}

void LabelProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(textEffect);
    blob.U32(static_cast<uint32_t>(frameWidth));
    blob.U32(border);
    for (uint32_t c : frameColors) blob.U32(c);
    blob.U32(textColor);
    blob.U32(backColor);
    blob.U32(pictureMode);
    blob.U32(gradientMode);
    for (uint32_t c : gradientColors) blob.U32(c);
    blob.U32(horizontalAlign);
    blob.U32(verticalAlign);
    blob.U32(wordWrap);
    blob.Bytes(font);
    blob.Bytes(picture);
    blob.Text(caption);
    blob.Text(dataSource);
    blob.Text(dataField);
}

bool GroupBoxProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    horizontalAlign = blob.U32();
    textColor = blob.U32();
    backColor = blob.U32();
    font = blob.Bytes();
    caption = blob.Text();
    return blob.Ok();
}

void GroupBoxProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(horizontalAlign);
    blob.U32(textColor);
    blob.U32(backColor);
    blob.Bytes(font);
    blob.Text(caption);
}

bool ShapeBoxProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    backColor = blob.U32();
    shape = blob.U32();
    effect = blob.U32();
    lineStyle = blob.U32();
    lineWidth = static_cast<int32_t>(blob.U32());
    lineColor = blob.U32();
    fillColor = blob.U32();
    return blob.Ok();
}

void ShapeBoxProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(backColor);
    blob.U32(shape);
    blob.U32(effect);
    blob.U32(lineStyle);
    blob.U32(static_cast<uint32_t>(lineWidth));
    blob.U32(lineColor);
    blob.U32(fillColor);
}

}  // namespace ruvelto::components

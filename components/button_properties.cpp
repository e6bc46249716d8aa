#include "components/button_properties.h"

namespace ruvelto::components {

bool ButtonProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    buttonType = blob.U32();
    horizontalAlign = blob.U32();
    verticalAlign = blob.U32();
    picture = blob.Bytes();
    font = blob.Bytes();
    caption = blob.Text();
    return blob.Ok();
}

void ButtonProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(buttonType);
    blob.U32(horizontalAlign);
    blob.U32(verticalAlign);
    blob.Bytes(picture);
    blob.Bytes(font);
    blob.Text(caption);
}

CheckBoxProperties CheckBoxProperties::Defaults(TickKind kind) {
    CheckBoxProperties p;
    p.caption = kind == TickKind::kCheckBox ? "\xD1\xA1\xD4\xF1\xBF\xF2"   // 选择框
                                            : "\xB5\xA5\xD1\xA1\xBF\xF2";  // 单选框
    return p;
}

bool CheckBoxProperties::Load(PropertyBlobReader& blob, TickKind kind) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kind == TickKind::kCheckBox ? kCheckBoxVersion : kRadioBoxVersion, &version)) return false;
    pushLike = blob.U32();
    flat = blob.U32();
    textOnLeft = blob.U32();
    horizontalAlign = blob.U32();
    verticalAlign = blob.U32();
    textColor = blob.U32();
    backColor = blob.U32();
    checked = blob.U32();
    picture = blob.Bytes();
    font = blob.Bytes();
    caption = blob.Text();
    if (version == 2) {
        dataSource = blob.Text();
        dataField = blob.Text();
    }
    return blob.Ok();
}

void CheckBoxProperties::Save(PropertyBlobWriter& blob, TickKind kind) const {
    blob.U32(kind == TickKind::kCheckBox ? kCheckBoxVersion : kRadioBoxVersion);
    blob.U32(pushLike);
    blob.U32(flat);
    blob.U32(textOnLeft);
    blob.U32(horizontalAlign);
    blob.U32(verticalAlign);
    blob.U32(textColor);
    blob.U32(backColor);
    blob.U32(checked);
    blob.Bytes(picture);
    blob.Bytes(font);
    blob.Text(caption);
    if (kind == TickKind::kCheckBox) {
        blob.Text(dataSource);
        blob.Text(dataField);
    }
}

}  // namespace ruvelto::components

#include "components/edit_box_properties.h"

namespace ruvelto::components {

bool EditBoxProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    border = blob.U32();
    textColor = blob.U32();
    backColor = blob.U32();
    hideSelection = blob.U32();
    maxLength = static_cast<int32_t>(blob.U32());
    multiLine = blob.U32();
    scrollBars = blob.U32();
    alignment = blob.U32();
    inputMode = blob.U32();
    passwordChar = blob.U16();
    caseConversion = blob.U32();
    spinMode = blob.U32();
    spinMin = static_cast<int32_t>(blob.U32());
    spinMax = static_cast<int32_t>(blob.U32());
    selStart = static_cast<int32_t>(blob.U32());
    selLength = static_cast<int32_t>(blob.U32());
    font = blob.Bytes();
    text = blob.Text();
    if (version == 2) {
        dataSource = blob.Text();
        dataField = blob.Text();
    }
    return blob.Ok();
}

void EditBoxProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(border);
    blob.U32(textColor);
    blob.U32(backColor);
    blob.U32(hideSelection);
    blob.U32(static_cast<uint32_t>(maxLength));
    blob.U32(multiLine);
    blob.U32(scrollBars);
    blob.U32(alignment);
    blob.U32(inputMode);
    blob.U16(passwordChar);
    blob.U32(caseConversion);
    blob.U32(spinMode);
    blob.U32(static_cast<uint32_t>(spinMin));
    blob.U32(static_cast<uint32_t>(spinMax));
    blob.U32(static_cast<uint32_t>(selStart));
    blob.U32(static_cast<uint32_t>(selLength));
    blob.Bytes(font);
    blob.Text(text);
    blob.Text(dataSource);
    blob.Text(dataField);
}

}  // namespace ruvelto::components

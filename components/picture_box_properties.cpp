#include "components/picture_box_properties.h"

namespace ruvelto::components {
namespace {

// A stored text ends at its first zero byte.
std::string TextUpToZero(PropertyBlobReader& blob) {
    std::string text = blob.Text();
    return text.substr(0, text.find('\0'));
}

}  // namespace

bool PicBoxProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    border = blob.U32();
    backColor = blob.U32();
    displayMode = blob.U32();
    animate = blob.U32();
    picture = blob.Bytes();
    if (version == 2) {
        dataSource = blob.Text();
        dataField = blob.Text();
    }
    return blob.Ok();
}

void PicBoxProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(border);
    blob.U32(backColor);
    blob.U32(displayMode);
    blob.U32(animate);
    blob.Bytes(picture);
    blob.Text(dataSource);
    blob.Text(dataField);
}

bool DrawPanelProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    for (uint32_t* field : {&border, &backColor, &pictureMode, &autoRedraw, &scaleMode, &penStyle, &drawMode, &penWidth,
                            &penColor, &brushStyle, &brushColor, &textColor, &textBackColor})
        *field = blob.U32();
    font = blob.Bytes();
    picture = blob.Bytes();
    return blob.Ok();
}

void DrawPanelProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    for (uint32_t field : {border, backColor, pictureMode, autoRedraw, scaleMode, penStyle, drawMode, penWidth, penColor,
                           brushStyle, brushColor, textColor, textBackColor})
        blob.U32(field);
    blob.Bytes(font);
    blob.Bytes(picture);
}

bool CommonDlgProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!ReadVersion(blob, kVersion, &version)) return false;
    for (uint32_t* field : {&dialogType, &filterIndex, &createPrompt, &fileMustExist, &overwritePrompt, &pathMustExist,
                            &keepDirectory, &fontColor, &fontBold, &fontItalic, &fontStrikeOut, &fontUnderline,
                            &fontSize, &helpCommand, &helpContext})
        *field = blob.U32();
    for (std::string* text : {&title, &fileName, &fileFilter, &initialDirectory, &defaultExtension, &fontName, &helpFile})
        *text = TextUpToZero(blob);
    return blob.Ok();
}

void CommonDlgProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    for (uint32_t field : {dialogType, filterIndex, createPrompt, fileMustExist, overwritePrompt, pathMustExist,
                           keepDirectory, fontColor, fontBold, fontItalic, fontStrikeOut, fontUnderline, fontSize,
                           helpCommand, helpContext})
        blob.U32(field);
    for (const std::string* text : {&title, &fileName, &fileFilter, &initialDirectory, &defaultExtension, &fontName, &helpFile})
        blob.Text(*text);
}

}  // namespace ruvelto::components

#include "extui/dir_tree_properties.h"

#include <algorithm>

namespace ruvelto::extui {
namespace {

void PutWord(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// MulDiv(a, b, c) for positive values: the quotient rounded half away from zero.
int32_t RoundedQuotient(int64_t a, int64_t b, int64_t c) { return static_cast<int32_t>((a * b + c / 2) / c); }

}  // namespace

std::vector<uint8_t> DefaultDirTreeFont(int32_t pixelsPerInch) {
    // LOGFONTA: height, width, escapement, orientation, weight; italic, underline, strike-out,
    // character set, precisions, quality, pitch; a 32-byte face name.
    std::vector<uint8_t> font(kDirTreeFontSize, 0);
    PutWord(font, 0, -RoundedQuotient(9, pixelsPerInch > 0 ? pixelsPerInch : 96, 72));
    PutWord(font, 16, 400);
    font[23] = 134;
    const char face[] = "\xCB\xCE\xCC\xE5";  // 宋体
    std::copy_n(face, sizeof face - 1, font.begin() + 28);
    return font;
}

bool DirTreeProperties::Load(PropertyBlobReader& blob) {
    const uint32_t version = blob.U32();
    if (!blob.Ok() || version > 1) return false;
    uint32_t* const words[] = {&border,      &textColor,   &backColor,      &hasButtons, &hasLines,
                               &linesAtRoot, &showSelectionAlways, nullptr, &showFiles,  &contextMenu,
                               &hotTracking, &rootAtComputer, &fileSystemOnly};
    for (uint32_t* word : words) {
        const uint32_t value = blob.U32();
        if (word) *word = value;
        else itemHeight = static_cast<int32_t>(value);
    }
    std::vector<uint8_t> fontData = blob.Bytes();
    if (!fontData.empty()) {
        fontData.resize(std::min<size_t>(fontData.size(), kDirTreeFontSize));
        font = std::move(fontData);
    }
    currentPath = blob.Text();
    return blob.Ok();
}

void DirTreeProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(1);
    for (uint32_t word : {border, textColor, backColor, hasButtons, hasLines, linesAtRoot, showSelectionAlways,
                          static_cast<uint32_t>(itemHeight), showFiles, contextMenu, hotTracking, rootAtComputer,
                          fileSystemOnly})
        blob.U32(word);
    blob.Bytes(font);
    blob.Text(currentPath);
}

}  // namespace ruvelto::extui

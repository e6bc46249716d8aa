#include "extui/component_texts.h"

#include <algorithm>

#include "extui/list_view_data.h"

namespace ruvelto::extui {
namespace {

constexpr size_t kFontRecordSize = 60;
constexpr size_t kFaceOffset = 28;  // LOGFONTA: five LONGs, eight BYTEs, then the 32-byte face
constexpr size_t kFaceSize = 32;

void AddFace(std::vector<std::string>& texts, const std::vector<uint8_t>& font) {
    if (font.size() >= kFontRecordSize) texts.push_back(FontFaceName(font));
}

}  // namespace

std::string FontFaceName(const std::vector<uint8_t>& font) {
    if (font.size() < kFontRecordSize) return {};
    const auto* face = reinterpret_cast<const char*>(font.data() + kFaceOffset);
    return std::string(face, std::find(face, face + kFaceSize, '\0'));
}

std::vector<std::string> ListViewTexts(const ListViewProperties& p) {
    std::vector<std::string> texts;
    AddFace(texts, p.font);
    for (const ListColumn& column : ReadColumns(p.columns)) texts.push_back(column.title);
    for (const ListItemEntry& entry : ReadItems(p.initialItems)) {
        texts.push_back(entry.text);
        if (entry.newRow) texts.push_back(entry.tip);
    }
    return texts;
}

std::vector<std::string> StatusBarTexts(const StatusBarProperties& p) {
    std::vector<std::string> texts;
    AddFace(texts, p.font);
    for (const StatusPanel& panel : ReadPanels(p.panels)) {
        texts.push_back(panel.text);
        texts.push_back(panel.tip);
    }
    return texts;
}

std::vector<std::string> TransLabelTexts(const TransLabelProperties& p) {
    std::vector<std::string> texts{p.caption};
    AddFace(texts, p.font);
    return texts;
}

}  // namespace ruvelto::extui

#include "forms/template_segment.h"

#include "forms/template_reader.h"

namespace ruvelto::forms {

bool ReadTemplateSegment(const uint8_t* segment, uint32_t length, uint32_t codeBase,
                         std::vector<std::unique_ptr<WindowUnit>>& units) {
    TemplateReader reader(segment, length);
    const uint8_t* index;
    uint32_t indexLength;
    if (!reader.Buffer(index, indexLength)) return false;
    const uint32_t windowCount = indexLength / 8;

    std::vector<std::unique_ptr<WindowUnit>> read;
    for (uint32_t i = 0; i < windowCount; ++i) {
        auto unit = std::make_unique<WindowUnit>();
        unit->windowId = LoadWord(index + i * 4);
        const uint8_t* table;
        uint32_t tableSize;
        if (!reader.Word(unit->headerA) || !reader.Word(unit->headerB) || !reader.CountedText(unit->text1) ||
            !reader.CountedText(unit->text2) || !reader.Word(unit->recordCount) || !reader.Buffer(table, tableSize))
            return false;
        if (!ValidComponentTable(table, tableSize, unit->recordCount)) return false;
        unit->table.assign(table, table + tableSize);
        read.push_back(std::move(unit));
    }
    if (reader.Remaining() != 0) return false;

    for (auto& unit : read) {
        unit->Table().RelocateHandlers(codeBase);
        units.push_back(std::move(unit));
    }
    return true;
}

}  // namespace ruvelto::forms

// Any bytes as a template segment: reading either refuses them or yields tables that every
// lookup can walk safely.
#include <cstddef>
#include <cstdint>

#include "forms/template_segment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::unique_ptr<ruvelto::forms::WindowUnit>> units;
    if (size > 0xFFFFFFFFu || !ruvelto::forms::ReadTemplateSegment(data, uint32_t(size), 0x401000, units)) return 0;
    for (auto& unit : units) {
        auto table = unit->Table();
        for (uint32_t i = 0; i < table.Count(); ++i)
            for (int32_t event = -3; event <= 3; ++event) table.FindHandler(table.IdAt(i), event);
    }
    return 0;
}

#include "tests/release/pe_file.h"

#include <cstring>

namespace ruvelto::testing {
namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(uint64_t at, uint64_t size) const { return at <= bytes_.size() && size <= bytes_.size() - at; }
    uint16_t U16(uint64_t at) const { return Has(at, 2) ? static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8) : 0; }
    uint32_t U32(uint64_t at) const { return Has(at, 4) ? uint32_t{U16(at)} | uint32_t{U16(at + 2)} << 16 : 0; }
    uint64_t U64(uint64_t at) const { return uint64_t{U32(at)} | uint64_t{U32(at + 4)} << 32; }
    const std::vector<uint8_t>& bytes_;
};

struct Section {
    uint32_t address, size, fileOffset, fileSize;
};

// The file offset of a relative virtual address, or 0 where no section holds it.
uint64_t OffsetOf(const std::vector<Section>& sections, uint32_t rva) {
    for (const Section& s : sections) {
        if (rva >= s.address && rva - s.address < s.fileSize) return uint64_t{s.fileOffset} + (rva - s.address);
    }
    return 0;
}

// Walks the three levels of the resource tree: type, name, language.
void ReadResources(const Reader& r, const std::vector<Section>& sections, uint64_t root, std::vector<PeResource>& out) {
    auto entries = [&](uint64_t directory, auto&& visit) {
        const uint32_t count = uint32_t{r.U16(directory + 12)} + r.U16(directory + 14);
        for (uint32_t i = 0; i < count && i < 4096; ++i) {
            const uint64_t entry = directory + 16 + 8 * uint64_t{i};
            if (!r.Has(entry, 8)) return;
            visit(r.U32(entry), r.U32(entry + 4));
        }
    };
    entries(root, [&](uint32_t type, uint32_t typeTarget) {
        if ((type & 0x80000000u) || !(typeTarget & 0x80000000u)) return;
        entries(root + (typeTarget & 0x7FFFFFFFu), [&](uint32_t name, uint32_t nameTarget) {
            if (!(nameTarget & 0x80000000u)) return;
            if (name & 0x80000000u) name = PeResource::kNamed;
            entries(root + (nameTarget & 0x7FFFFFFFu), [&](uint32_t language, uint32_t dataEntry) {
                if (dataEntry & 0x80000000u) return;
                const uint64_t entry = root + dataEntry;
                const uint64_t at = OffsetOf(sections, r.U32(entry));
                const uint32_t size = r.U32(entry + 4);
                if (!at || !r.Has(at, size)) return;
                out.push_back({type, name, language,
                               std::vector<uint8_t>(r.bytes_.begin() + static_cast<long>(at),
                                                    r.bytes_.begin() + static_cast<long>(at + size))});
            });
        });
    });
}

}  // namespace

std::optional<PeFile> ReadPeFile(const std::vector<uint8_t>& bytes) {
    const Reader r(bytes);
    if (r.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
    const uint64_t pe = r.U32(0x3C);
    if (r.U32(pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
    PeFile file;
    const uint64_t coff = pe + 4;
    file.machine = r.U16(coff);
    const uint16_t sectionCount = r.U16(coff + 2);
    const uint16_t optionalSize = r.U16(coff + 16);
    file.characteristics = r.U16(coff + 18);
    const uint64_t optional = coff + 20;
    file.magic = r.U16(optional);
    const bool plus = file.magic == 0x20B;
    if (!plus && file.magic != 0x10B) return std::nullopt;
    file.imageBase = plus ? r.U64(optional + 24) : r.U32(optional + 28);
    file.subsystem = r.U16(optional + 68);
    file.dllCharacteristics = r.U16(optional + 70);
    const uint64_t directories = optional + (plus ? 112 : 96);
    const uint32_t directoryCount = r.U32(optional + (plus ? 108 : 92));

    std::vector<Section> sections;
    const uint64_t table = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t s = table + 40 * uint64_t{i};
        if (!r.Has(s, 40)) return std::nullopt;
        sections.push_back({r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
    }

    if (directoryCount > 1) {
        uint64_t descriptor = OffsetOf(sections, r.U32(directories + 8));
        for (; descriptor && r.Has(descriptor, 20) && r.U32(descriptor + 12); descriptor += 20) {
            const uint64_t name = OffsetOf(sections, r.U32(descriptor + 12));
            if (!name) return std::nullopt;
            std::string dll;
            for (uint64_t at = name; r.Has(at, 1) && bytes[at] && dll.size() < 256; ++at) dll += static_cast<char>(bytes[at]);
            file.importedDlls.push_back(dll);
        }
    }
    if (directoryCount > 2) {
        if (const uint64_t root = OffsetOf(sections, r.U32(directories + 16))) ReadResources(r, sections, root, file.resources);
    }
    return file;
}

}  // namespace ruvelto::testing

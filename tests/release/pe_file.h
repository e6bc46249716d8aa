// A reader of the parts of a Windows PE file that say how it will run on Windows: its machine,
// subsystem, image base and flags, the DLLs it imports and its resources.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ruvelto::testing {

struct PeResource {
    static constexpr uint32_t kNamed = 0xFFFFFFFFu;  // the name of a resource named by a text
    uint32_t type = 0, name = 0, language = 0;  // numeric ids; types named by a text are skipped
    std::vector<uint8_t> data;
};

struct PeFile {
    uint16_t machine = 0;          // 0x14C i386, 0x8664 x86-64
    uint16_t characteristics = 0;  // of the COFF header
    uint16_t magic = 0;            // 0x10B PE32, 0x20B PE32+
    uint64_t imageBase = 0;
    uint16_t subsystem = 0;        // 2: Windows GUI
    uint16_t dllCharacteristics = 0;
    std::vector<std::string> importedDlls;
    std::vector<PeResource> resources;
};

// The file's facts, or nothing where it is no well-formed PE file.
std::optional<PeFile> ReadPeFile(const std::vector<uint8_t>& bytes);

}  // namespace ruvelto::testing

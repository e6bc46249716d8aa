#include "image-data/memory_image.h"

#include <cstring>
#include <string>
#include <vector>

namespace ruvelto::image_data {
namespace {

// Appends bytes and remembers which words must become addresses once the block exists.
class Writer {
public:
    uint32_t Here() const { return static_cast<uint32_t>(bytes_.size()); }
    void Align() {
        while (bytes_.size() % 4) bytes_.push_back(0);
    }
    uint32_t Word(uint32_t v) {
        uint32_t at = Here();
        bytes_.resize(at + 4);
        std::memcpy(&bytes_[at], &v, 4);
        return at;
    }
    void WordAt(uint32_t at, uint32_t v) { std::memcpy(&bytes_[at], &v, 4); }
    // A pointer to an offset inside the block, filled later.
    uint32_t Pointer() { return Word(0); }
    void PointTo(uint32_t at, uint32_t target) { internal_.push_back({at, target}); }
    void Address(const void* p) { Word(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p))); }
    uint32_t Bytes(const void* data, size_t n) {
        uint32_t at = Here();
        bytes_.insert(bytes_.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n);
        return at;
    }
    uint32_t Text(const std::string& s) { return Bytes(s.c_str(), s.size() + 1); }
    void Zeros(size_t n) { bytes_.resize(bytes_.size() + n, 0); }

    std::unique_ptr<uint8_t[]> Finish(uint32_t& size) {
        size = Here();
        std::unique_ptr<uint8_t[]> block(new uint8_t[size ? size : 1]);
        std::memcpy(block.get(), bytes_.data(), size);
        auto base = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block.get()));
        for (const Fixup& f : internal_) {
            uint32_t address = base + f.target;
            std::memcpy(block.get() + f.at, &address, 4);
        }
        return block;
    }

private:
    struct Fixup {
        uint32_t at;
        uint32_t target;
    };
    std::vector<uint8_t> bytes_;
    std::vector<Fixup> internal_;
};

}  // namespace

MemoryImage::MemoryImage(const ProgramImageDescription& description) {
    static_assert(sizeof(void*) == 4, "the program image has 32-bit pointer fields");
    Writer w;
    const uint32_t libraryCount = static_cast<uint32_t>(description.libraries.size());
    const uint32_t dllCount = static_cast<uint32_t>(description.dllCommands.size());

    // Header; pointer words are filled as their targets are laid out.
    w.Word(description.programKind);
    w.Word(description.reserved);
    w.Word(description.unitCounter);
    w.Address(description.codeBase.address);
    uint32_t constantStartAt = w.Pointer();
    w.Word(description.constants.Size());
    uint32_t templateStartAt = w.Pointer();
    w.Word(static_cast<uint32_t>(description.templateSegment.size()));
    w.Word(libraryCount);
    uint32_t libraryTableAt = w.Pointer();
    w.Word(dllCount);
    uint32_t dllFilesAt = w.Pointer();
    uint32_t dllFunctionsAt = w.Pointer();

    w.PointTo(libraryTableAt, w.Here());
    std::vector<uint32_t> libraryPointerAt;
    for (uint32_t i = 0; i < libraryCount; ++i) libraryPointerAt.push_back(w.Pointer());

    w.PointTo(dllFilesAt, w.Here());
    std::vector<uint32_t> dllFileAt, dllFunctionAt;
    for (uint32_t i = 0; i < dllCount; ++i) dllFileAt.push_back(w.Pointer());
    w.PointTo(dllFunctionsAt, w.Here());
    for (uint32_t i = 0; i < dllCount; ++i) dllFunctionAt.push_back(w.Pointer());
    for (uint32_t i = 0; i < dllCount; ++i) {
        w.PointTo(dllFileAt[i], w.Text(description.dllCommands[i].libraryFile));
        w.PointTo(dllFunctionAt[i], w.Text(description.dllCommands[i].functionName));
    }
    w.Align();

    // Library records first, then each library's texts and tables.
    std::vector<uint32_t> recordAt;
    for (uint32_t i = 0; i < libraryCount; ++i) {
        recordAt.push_back(w.Here());
        w.PointTo(libraryPointerAt[i], w.Here());
        w.Zeros(sizeof(runtime::LibraryRecord));
    }
    for (uint32_t i = 0; i < libraryCount; ++i) {
        const LibraryDescription& lib = description.libraries[i];
        uint32_t r = recordAt[i];
        const uint32_t words[] = {runtime::kLibraryFormatVersion, 0, lib.majorVersion, lib.minorVersion,
                                  lib.buildNumber, lib.runtimeMajor, lib.runtimeMinor, lib.coreMajor, lib.coreMinor};
        for (uint32_t k = 0; k < 9; ++k) w.WordAt(r + 4 * k, words[k]);
        w.WordAt(r + 0x28, 1);
        w.WordAt(r + 0x30, lib.stateFlags);
        w.WordAt(r + 0x54, static_cast<uint32_t>(lib.types.size()));
        w.WordAt(r + 0x64, lib.commandCount);
        w.WordAt(r + 0x6C, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(lib.commandTable.address)));
        w.WordAt(r + 0x78, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(lib.notify.address)));
        w.PointTo(r + 0x04, w.Text(lib.guid));
        w.PointTo(r + 0x24, w.Text(lib.name));
        w.Align();
        if (lib.types.empty()) continue;

        uint32_t table = w.Here();
        w.PointTo(r + 0x58, table);
        w.Zeros(lib.types.size() * sizeof(runtime::TypeDescriptor));
        for (size_t t = 0; t < lib.types.size(); ++t) {
            const TypeDescription& type = lib.types[t];
            uint32_t d = table + static_cast<uint32_t>(t * sizeof(runtime::TypeDescriptor));
            if (type.IsEmpty() && type.typeInterface.IsNull()) continue;  // all-zero slot
            w.PointTo(d + 0x00, w.Text(type.chineseName));
            w.PointTo(d + 0x04, w.Text(type.englishName));
            w.PointTo(d + 0x08, w.Text(""));
            w.Align();
            w.WordAt(d + 0x14, type.flags);
            w.WordAt(d + 0x24, static_cast<uint32_t>(type.properties.size()));
            w.WordAt(d + 0x2C, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(type.typeInterface.address)));
            if (type.properties.empty()) continue;
            uint32_t empty = w.Here();
            w.Word(0);  // the properties' empty names
            w.PointTo(d + 0x28, w.Here());
            for (const PropertyDescription& p : type.properties) {
                for (int k = 0; k < 3; ++k) w.PointTo(w.Pointer(), empty);
                w.Word(uint32_t{p.state} << 16 | p.type);
                w.Word(0);
            }
        }
    }

    entriesOffset_ = w.Here();
    for (const Symbol& s : description.runtimeEntries) w.Address(s.address);

    w.PointTo(constantStartAt, w.Here());
    for (const ConstantPiece& piece : description.constants.Pieces()) {
        if (piece.kind == ConstantPiece::Kind::kPointers)
            for (const Symbol& s : piece.pointers) w.Address(s.address);
        else
            w.Bytes(piece.bytes.data(), piece.bytes.size());
    }
    w.Zeros(1);  // the padding byte before the templates
    w.PointTo(templateStartAt, w.Here());
    w.Bytes(description.templateSegment.data(), description.templateSegment.size());

    block_ = w.Finish(size_);
}

}  // namespace ruvelto::image_data

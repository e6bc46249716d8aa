#include "image-data/image_layout.h"

#include <cstring>
#include <string>

#include "runtime/program_image.h"

namespace ruvelto::image_data {
namespace {

// Appends bytes and remembers which words must become addresses once the block is placed.
class Writer {
public:
    explicit Writer(ImageLayout& out) : out_(out) {}
    uint32_t Here() const { return static_cast<uint32_t>(out_.bytes.size()); }
    void Align() {
        while (out_.bytes.size() % 4) out_.bytes.push_back(0);
    }
    uint32_t Word(uint32_t v) {
        uint32_t at = Here();
        out_.bytes.resize(at + 4);
        std::memcpy(&out_.bytes[at], &v, 4);
        return at;
    }
    void WordAt(uint32_t at, uint32_t v) { std::memcpy(&out_.bytes[at], &v, 4); }
    // A word pointing at an offset of the block, filled when the block is placed.
    uint32_t Pointer() { return Word(0); }
    void PointTo(uint32_t at, uint32_t target) { out_.internal.push_back({at, target}); }
    void SymbolAt(uint32_t at, const Symbol& s, SymbolKind kind = SymbolKind::kCode, uint32_t count = 0) {
        if (!s.IsNull()) out_.symbols.push_back({at, kind, count, &s});
    }
    uint32_t Bytes(const void* data, size_t n) {
        uint32_t at = Here();
        out_.bytes.insert(out_.bytes.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n);
        return at;
    }
    uint32_t Text(const std::string& s) { return Bytes(s.c_str(), s.size() + 1); }
    void Zeros(size_t n) { out_.bytes.resize(out_.bytes.size() + n, 0); }

private:
    ImageLayout& out_;
};

}  // namespace

ImageLayout LayOutImage(const ProgramImageDescription& description) {
    ImageLayout layout;
    Writer w(layout);
    const uint32_t libraryCount = static_cast<uint32_t>(description.libraries.size());
    const uint32_t dllCount = static_cast<uint32_t>(description.dllCommands.size());

    // Header; pointer words are filled as their targets are laid out.
    w.Word(description.programKind);
    w.Word(description.reserved);
    w.Word(description.unitCounter);
    w.SymbolAt(w.Pointer(), description.codeBase, SymbolKind::kCodeBase,
               static_cast<uint32_t>(description.handlerSymbols.size()));
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
        w.SymbolAt(r + 0x78, lib.notify);
        w.PointTo(r + 0x04, w.Text(lib.guid));
        w.PointTo(r + 0x24, w.Text(lib.name));
        w.Align();
        // The command table: one code word per command.
        if (!lib.commandTable.IsNull()) {
            uint32_t table = w.Here();
            w.Zeros(4ull * lib.commandCount);
            w.PointTo(r + 0x6C, table);
            w.SymbolAt(table, lib.commandTable, SymbolKind::kCommandTable, lib.commandCount);
        }
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
            w.SymbolAt(d + 0x2C, type.typeInterface);
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

    layout.constantOffset = w.Here();
    w.PointTo(constantStartAt, w.Here());
    for (const ConstantPiece& piece : description.constants.Pieces()) {
        if (piece.kind == ConstantPiece::Kind::kPointers)
            for (const Symbol& s : piece.pointers) w.SymbolAt(w.Word(0), s);
        else
            w.Bytes(piece.bytes.data(), piece.bytes.size());
    }
    w.Zeros(1);  // the padding byte before the templates
    w.PointTo(templateStartAt, w.Here());
    w.Bytes(description.templateSegment.data(), description.templateSegment.size());
    return layout;
}

}  // namespace ruvelto::image_data

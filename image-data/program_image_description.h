// What a program image holds, as plain data: the builder lays it out in memory (for tests) or
// emits it as C++ (for the program), so the same description serves both.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::image_data {

// A pointer field that names code or data outside the image (a command table, a notify entry,
// a type interface, a runtime entry, the code base). Emitted C++ includes header and refers to
// cppName; an image built in memory uses address. Both empty: the field is 0.
struct Symbol {
    std::string cppName;
    std::string header;  // declares cppName, e.g. "image-data/library_command_tables.h"
    const void* address = nullptr;

    bool IsNull() const { return cppName.empty() && !address; }
};

struct PropertyDescription {
    uint16_t type = 0;   // 1000-1024
    uint16_t state = 0;  // 0xE000 common, 0x8000 the type's own
};

// A type slot; a default TypeDescription is an all-zero slot that only keeps later numbers stable.
struct TypeDescription {
    std::string chineseName;  // GBK
    std::string englishName;
    uint32_t flags = 0;
    std::vector<PropertyDescription> properties;
    Symbol typeInterface;

    bool IsEmpty() const { return chineseName.empty() && englishName.empty() && flags == 0 && properties.empty(); }
};

struct LibraryDescription {
    std::string guid;
    uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0;
    uint32_t runtimeMajor = 3, runtimeMinor = 0;
    uint32_t coreMajor = 0, coreMinor = 0;
    std::string name;  // GBK
    uint32_t stateFlags = 0;
    std::vector<TypeDescription> types;
    uint32_t commandCount = 0;
    Symbol commandTable;
    Symbol notify;
};

struct DllCommandDescription {
    std::string libraryFile;  // empty: search the default list
    std::string functionName;  // "#n" names ordinal n
};

// The constant segment: named pieces laid end to end with no padding.
struct ConstantPiece {
    enum class Kind { kText, kByteSet, kNumber, kBytes, kPointers };
    Kind kind = Kind::kBytes;
    std::string name;            // the generated symbol; may be empty
    std::vector<uint8_t> bytes;  // the piece's bytes (for kPointers: empty)
    std::vector<Symbol> pointers;  // kPointers: one 32-bit address each (a class method table)
    uint32_t offset = 0;         // filled by ConstantSegment
};

class ConstantSegment {
public:
    // Each returns the piece's offset in the segment.
    uint32_t AddText(const std::string& name, const std::string& gbk);
    uint32_t AddByteSet(const std::string& name, const std::vector<uint8_t>& data);
    uint32_t AddNumber(const std::string& name, double value);
    uint32_t AddBytes(const std::string& name, const std::vector<uint8_t>& data);
    uint32_t AddPointers(const std::string& name, const std::vector<Symbol>& pointers);

    const std::vector<ConstantPiece>& Pieces() const { return pieces_; }
    uint32_t Size() const { return size_; }
    // Offset of a named piece; throws std::out_of_range when there is none.
    uint32_t OffsetOf(const std::string& name) const;

private:
    uint32_t Add(ConstantPiece piece, uint32_t size);
    std::vector<ConstantPiece> pieces_;
    uint32_t size_ = 0;
};

constexpr int kRuntimeEntryCount = 13;

struct ProgramImageDescription {
    uint32_t programKind = 3;
    uint32_t reserved = 0;
    uint32_t unitCounter = 0x10348;
    Symbol codeBase;
    std::vector<LibraryDescription> libraries;
    std::vector<DllCommandDescription> dllCommands;
    Symbol runtimeEntries[kRuntimeEntryCount];
    ConstantSegment constants;
    std::vector<uint8_t> templateSegment;  // empty: the program has no windows
    // The application's event handlers (C symbols) that template handler offsets count to, in
    // stub order. Emitted as a block of jump stubs that is the code base, unless codeBase is set.
    std::vector<std::string> handlerSymbols;
};

}  // namespace ruvelto::image_data

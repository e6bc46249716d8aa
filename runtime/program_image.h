// The program image: the read-only block that tells the runtime which support libraries, DLL
// commands, constants and window templates the program has. These structures are the image's
// own layout; in the 32-bit build every pointer field is a 32-bit word of the image.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::runtime {

// A type's interface entry: code -> entry point of that service, or null.
using TypeInterfaceEntry = void* (*)(int32_t code);

struct PropertyDescriptor {
    const char* name;
    const char* englishName;
    const char* description;
    uint32_t typeAndState;  // property type in the low 16 bits, state flags in the high 16
    const void* pickList;
};

struct TypeDescriptor {
    const char* chineseName;
    const char* englishName;
    const char* description;
    uint32_t methodCount;
    const void* methods;
    uint32_t flags;
    uint32_t iconId;
    uint32_t eventCount;
    const void* events;
    uint32_t propertyCount;
    const PropertyDescriptor* properties;
    TypeInterfaceEntry typeInterface;
    uint32_t elementCount;
    const void* elements;
};

constexpr uint32_t kLibraryFormatVersion = 0x01312D65;  // 20000101

struct LibraryRecord {
    uint32_t formatVersion;
    const char* guid;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
    uint32_t runtimeMajor;
    uint32_t runtimeMinor;
    uint32_t coreMajor;
    uint32_t coreMinor;
    const char* name;
    uint32_t language;  // 1: Simplified Chinese (GBK)
    const char* description;
    uint32_t stateFlags;
    const char* authorTexts[8];
    uint32_t typeCount;
    const TypeDescriptor* types;
    uint32_t constantCount;
    const void* constants;
    uint32_t commandCount;
    const void* commandInfo;
    const CommandEntry* commands;
    uint32_t reserved1[2];
    NotifyEntry notify;
    uint32_t reserved2[5];
};

struct ProgramImageHeader {
    uint32_t programKind;
    uint32_t reserved;
    uint32_t unitCounter;
    const void* codeBase;
    const uint8_t* constantStart;
    uint32_t constantLength;
    const uint8_t* templateStart;
    uint32_t templateLength;
    uint32_t libraryCount;
    const LibraryRecord* const* libraryTable;
    uint32_t dllCommandCount;
    const char* const* dllLibraryFiles;
    const char* const* dllFunctionNames;
};

// The runtime entry table: the 13 entry points through which application code reaches the
// runtime. The order is the contract with application code.
struct RuntimeEntryTable {
    void (*raiseError)(int32_t code);  // 0: runtime errors 1-11; does not return
    void (*callDllCommand)();          // 1: DLL-command number in EAX, the function's own arguments as for a direct call
    ValueRecord (*callCommand)(CommandEntry entry, int32_t count, ValueRecord* args);      // 2
    ValueRecord (*callCoreCommand)(CommandEntry entry, int32_t count, ValueRecord* args);  // 3
    uint64_t (*readProperty)(uint32_t window, uint32_t unit, int32_t index, int32_t subField);  // 4
    void (*writeProperty)(uint32_t window, uint32_t unit, int32_t index, int32_t subField, uint32_t lo,
                          uint32_t hi);  // 5
    void* (*allocate)(uint32_t size);                // 6
    void* (*reallocate)(void* block, uint32_t size);  // 7
    void (*free)(void* block);                        // 8
    void (*exitProgram)(int32_t exitCode);            // 9: does not return
    void (*runMainLoop)();                            // 10
    void (*loadStartupWindow)(uint32_t windowId);     // 11
    intptr_t (*runtimeHelper)(int32_t helper, ...);   // 12: helpers 0-6
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(RuntimeEntryTable) == 13 * 4);
static_assert(sizeof(PropertyDescriptor) == 5 * 4);
static_assert(sizeof(TypeDescriptor) == 14 * 4);
static_assert(sizeof(LibraryRecord) == 36 * 4);
static_assert(sizeof(ProgramImageHeader) == 13 * 4);
#endif

// Whether a type code names a support-library type (0x00000001-0x3FFFFFFF and
// 0xC0000000-0xFFFFFFFF), as opposed to no value, a basic type (0x80000000-0xBFFFFFFF) or a type
// the application declares itself (0x40000000-0x7FFFFFFF).
constexpr bool IsLibraryTypeCode(uint32_t typeCode) {
    const uint32_t range = typeCode & 0xC0000000u;
    return typeCode != 0 && range != 0x40000000u && range != 0x80000000u;
}

// Type code -> descriptor, or null when the code is not a library type or the library or type
// number lies outside the tables.
// An all-zero slot is a descriptor too: it keeps later type numbers stable.
const TypeDescriptor* FindTypeDescriptor(const ProgramImageHeader& image, uint32_t typeCode);

}  // namespace ruvelto::runtime

// The program image: the read-only block that tells the runtime which support libraries, DLL
// commands, constants and window templates the program has. These structures are the image's
// own layout; in the 32-bit build every pointer field is a 32-bit word of the image.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::runtime {

// A type's interface entry: code -> entry point of that service, or null.
using TypeInterfaceEntry = void* (*)(int32_t code);
using TypeInterfaceFunction = void*(int32_t code);
using NotifyFunction = intptr_t(int32_t message, intptr_t arg1, intptr_t arg2);
using CommandFunction = void(ValueRecord* result, int32_t count, ValueRecord* args);

// An address the image keeps in a 32-bit word. A 32-bit build declares the image as linked data,
// so the field is a plain pointer the linker fills. A 64-bit build lays the image out in low
// memory at start-up, and the field is the word itself; code is reached through stubs there.
template <typename T>
struct AddressWordOf {
    uint32_t word;
    T* get() const { return reinterpret_cast<T*>(static_cast<uintptr_t>(word)); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
};
#if UINTPTR_MAX == 0xFFFFFFFFu
template <typename T>
using ImageAddress = T*;
#else
template <typename T>
using ImageAddress = AddressWordOf<T>;
#endif

struct PropertyDescriptor {
    ImageAddress<const char> name;
    ImageAddress<const char> englishName;
    ImageAddress<const char> description;
    uint32_t typeAndState;  // property type in the low 16 bits, state flags in the high 16
    ImageAddress<const void> pickList;
};

struct TypeDescriptor {
    ImageAddress<const char> chineseName;
    ImageAddress<const char> englishName;
    ImageAddress<const char> description;
    uint32_t methodCount;
    ImageAddress<const void> methods;
    uint32_t flags;
    uint32_t iconId;
    uint32_t eventCount;
    ImageAddress<const void> events;
    uint32_t propertyCount;
    ImageAddress<const PropertyDescriptor> properties;
    ImageAddress<TypeInterfaceFunction> typeInterface;
    uint32_t elementCount;
    ImageAddress<const void> elements;
};

constexpr uint32_t kLibraryFormatVersion = 0x01312D65;  // 20000101

struct LibraryRecord {
    uint32_t formatVersion;
    ImageAddress<const char> guid;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
    uint32_t runtimeMajor;
    uint32_t runtimeMinor;
    uint32_t coreMajor;
    uint32_t coreMinor;
    ImageAddress<const char> name;
    uint32_t language;  // 1: Simplified Chinese (GBK)
    ImageAddress<const char> description;
    uint32_t stateFlags;
    ImageAddress<const char> authorTexts[8];
    uint32_t typeCount;
    ImageAddress<const TypeDescriptor> types;
    uint32_t constantCount;
    ImageAddress<const void> constants;
    uint32_t commandCount;
    ImageAddress<const void> commandInfo;
    ImageAddress<const ImageAddress<CommandFunction>> commands;
    uint32_t reserved1[2];
    ImageAddress<NotifyFunction> notify;
    uint32_t reserved2[5];
};

struct ProgramImageHeader {
    uint32_t programKind;
    uint32_t reserved;
    uint32_t unitCounter;
    ImageAddress<const void> codeBase;
    ImageAddress<const uint8_t> constantStart;
    uint32_t constantLength;
    ImageAddress<const uint8_t> templateStart;
    uint32_t templateLength;
    uint32_t libraryCount;
    ImageAddress<const ImageAddress<const LibraryRecord>> libraryTable;
    uint32_t dllCommandCount;
    ImageAddress<const ImageAddress<const char>> dllLibraryFiles;
    ImageAddress<const ImageAddress<const char>> dllFunctionNames;
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

// The image's own layout, the same in every build. The entry table is what application code calls
// through: a table of the build's own code pointers.
static_assert(sizeof(PropertyDescriptor) == 5 * 4);
static_assert(sizeof(TypeDescriptor) == 14 * 4);
static_assert(sizeof(LibraryRecord) == 36 * 4);
static_assert(sizeof(ProgramImageHeader) == 13 * 4);
static_assert(sizeof(RuntimeEntryTable) == 13 * sizeof(void*));

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

// Ruvelto's program image read back through the image's own structures: header words, the six
// libraries with their type slots and command tables, the DLL commands and the constant segment.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/forms_engine.h"
#include "image/library_entry.h"
#include "image-data/library_command_tables.h"
#include "image-data/program_image_data.h"
#include "runtime/entry_table.h"
#include "runtime/address_word.h"
#include "runtime/heap.h"
#include "runtime/program_exit.h"
#include "runtime/runtime_error.h"

namespace ruvelto::image_data {
namespace {

using runtime::FindTypeDescriptor;
using runtime::LibraryRecord;
using runtime::ProgramImageHeader;

const ProgramImageHeader& image = ProgramImage();

// Where an image's code field leads (through its stub in a 64-bit build).
template <typename F>
const void* LeadsTo(F* function) {
    return CodeTarget(reinterpret_cast<const void*>(function));
}
template <typename F>
const void* LeadsTo(const runtime::AddressWordOf<F>& field) {
    return LeadsTo(field.get());
}

TEST(ProgramImage, HeaderWords) {
    EXPECT_EQ(image.programKind, 3u);
    EXPECT_EQ(image.reserved, 0u);
    EXPECT_EQ(image.unitCounter, 0x10348u);
    EXPECT_EQ(image.libraryCount, 6u);
    EXPECT_EQ(image.dllCommandCount, 53u);
    EXPECT_EQ(image.constantStart, ConstantSegment());
    EXPECT_GT(image.constantLength, 0x1Fu);
    EXPECT_GT(image.templateLength, 0u);  // the window templates; read back in tests/forms
    ASSERT_NE(image.templateStart, nullptr);
    EXPECT_NE(image.codeBase, nullptr);
}

TEST(ProgramImage, LibrariesInTableOrder) {
    struct Expected {
        const char* name;
        uint32_t major, minor, typeSlots, commands, stateFlags;
        const CommandEntry* table;
        NotifyEntry notify;
    } expected[] = {
        {"\xBA\xCB\xD0\xC4\xBF\xE2", 5, 0, 51, 50, 0xC0000001, kCoreLibraryCommands, &forms::CoreLibraryNotify},
        {"\xC4\xBF\xC2\xBC\xCA\xF7\xBF\xE2", 1, 3, 1, 1, 0, kDirTreeLibraryCommands, nullptr},
        {"\xC0\xA9\xD5\xB9\xBD\xE7\xC3\xE6\xBF\xE2", 2, 0, 5, 8, 0, kExtendedUiLibraryCommands, nullptr},
        {"\xCD\xBC\xCF\xF1\xB4\xA6\xC0\xED\xBF\xE2", 1, 1, 5, 16, 0x80000000, kImageLibraryCommands, &image::ImageLibraryNotify},
        {"XP\xB7\xE7\xB8\xF1\xBF\xE2", 2, 0, 0, 1, 0x80000000, kXpStyleLibraryCommands, nullptr},
        {"\xCF\xB5\xCD\xB3\xBD\xE7\xC3\xE6\xBF\xE2", 3, 0, 0, 1, 0, kShellLibraryCommands, nullptr},
    };
    for (uint32_t i = 0; i < 6; ++i) {
        const LibraryRecord& lib = *image.libraryTable[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(lib.formatVersion, 0x01312D65u);
        EXPECT_STREQ(lib.name, e.name);
        EXPECT_EQ(lib.majorVersion, e.major);
        EXPECT_EQ(lib.minorVersion, e.minor);
        EXPECT_EQ(lib.runtimeMajor, 3u);
        EXPECT_EQ(lib.language, 1u);
        EXPECT_EQ(lib.stateFlags, e.stateFlags);
        EXPECT_EQ(lib.typeCount, e.typeSlots);
        EXPECT_EQ(lib.commandCount, e.commands);
        for (uint32_t k = 0; k < lib.commandCount; ++k)
            EXPECT_EQ(LeadsTo(lib.commands[k]), reinterpret_cast<const void*>(e.table[k])) << k;
        EXPECT_EQ(LeadsTo(lib.notify), reinterpret_cast<const void*>(e.notify));
        EXPECT_EQ(lib.commandInfo, nullptr);
        EXPECT_EQ(lib.constantCount, 0u);
        EXPECT_EQ(lib.description, nullptr);
        size_t guid = std::strlen(lib.guid);
        EXPECT_TRUE(guid == 32 || guid == 38) << lib.guid;
    }
}

TEST(ProgramImage, FilledTypeSlotsAndTheZeroSlotsBetweenThem) {
    struct Filled {
        uint32_t code;
        const char* english;
        uint32_t flags;
    } filled[] = {
        {0x10001, "window", 0x800000D0},   {0x10003, "menu", 0x80000004},       {0x10005, "EditBox", 0x80000040},
        {0x10006, "PicBox", 0x840100C0},   {0x10007, "ShapeBox", 0x840100C0},  {0x10008, "DrawPanel", 0x800200C0},
        {0x10009, "GroupBox", 0x840140C0}, {0x1000A, "Label", 0x84012040},     {0x1000B, "Button", 0x80000840},
        {0x1000C, "CheckBox", 0x80001040}, {0x1000D, "RadioBox", 0x80000440},  {0x10011, "HScrollBar", 0x80020040},
        {0x10013, "ProcessBar", 0x84010040}, {0x10014, "SliderBar", 0x80000040}, {0x1001F, "CommonDlg", 0x80008040},
        {0x20001, "DirTree", 0},           {0x30002, "StatusBar", 0},          {0x30004, "ListView", 0},
        {0x30005, "TransLabel", 0},        {0x40001, "Image", 0},
    };
    int coreFilled = 0;
    for (const Filled& f : filled) {
        const runtime::TypeDescriptor* type = FindTypeDescriptor(image, f.code);
        ASSERT_NE(type, nullptr) << std::hex << f.code;
        EXPECT_STREQ(type->englishName, f.english);
        EXPECT_NE(type->chineseName[0], '\0');
        if (f.flags) {
            EXPECT_EQ(type->flags, f.flags) << f.english;
        }
        if (f.code >> 16 == 1) ++coreFilled;
    }
    EXPECT_EQ(coreFilled, 15);
    EXPECT_STREQ(FindTypeDescriptor(image, 0x40001)->chineseName, "\xCD\xBC\xCF\xF1\xB4\xA6\xC0\xED\xC0\xE0");

    // Unused numbers keep an all-zero slot; they are descriptors, not the table's end.
    static const runtime::TypeDescriptor zero{};
    for (uint32_t code : {0x10002u, 0x10004u, 0x10033u, 0x30001u, 0x30003u}) {
        const runtime::TypeDescriptor* type = FindTypeDescriptor(image, code);
        ASSERT_NE(type, nullptr) << std::hex << code;
        EXPECT_EQ(std::memcmp(type, &zero, sizeof zero), 0) << std::hex << code;
    }
    // Outside the tables there is none, and none for the application's own types and the basic
    // types, whatever their low bits.
    for (uint32_t code : {0x10034u, 0x10000u, 0x20002u, 0x50001u, 0x70001u, 0u, 0x40010001u, 0x7FFF0001u,
                          0x40040001u, 0x80010001u, 0x80000301u, 0xBFFF0001u})
        EXPECT_EQ(FindTypeDescriptor(image, code), nullptr) << std::hex << code;
    // Library types are found in both of their ranges.
    EXPECT_EQ(FindTypeDescriptor(image, 0xC0010001u), FindTypeDescriptor(image, 0x10001u));

    // Window component types start with the eight common properties.
    const runtime::TypeDescriptor* button = FindTypeDescriptor(image, 0x1000B);
    ASSERT_GE(button->propertyCount, 8u);
    EXPECT_EQ(button->properties[0].typeAndState, 0xE00003E8u);
    EXPECT_EQ(button->properties[7].typeAndState & 0xFFFF, 1011u);
}

// Every filled type's property list: its length, the eight common properties first (for window
// components), then the type's own, each a property type 1000-1024 with its state flags. A list
// built from a dangling or mismatched range shows up here as a wrong count or as garbage words.
TEST(ProgramImage, PropertyListOfEveryType) {
    const struct {
        uint32_t code;
        uint32_t count;
    } expected[] = {
        {0x10001, 32}, {0x10003, 0},  {0x10005, 29}, {0x10006, 15}, {0x10007, 15}, {0x10008, 25},
        {0x10009, 13}, {0x1000A, 29}, {0x1000B, 14}, {0x1000C, 21}, {0x1000D, 19}, {0x10011, 14},
        {0x10013, 14}, {0x10014, 20}, {0x1001F, 30}, {0x20001, 23}, {0x30002, 14}, {0x30004, 39},
        {0x30005, 15}, {0x40001, 0},  {0x40002, 0},  {0x40003, 0},  {0x40004, 0},  {0x40005, 0},
    };
    uint32_t filled = 0;
    for (uint32_t lib = 0; lib < image.libraryCount; ++lib)
        for (uint32_t t = 0; t < image.libraryTable[lib]->typeCount; ++t)
            if (image.libraryTable[lib]->types[t].englishName) ++filled;
    EXPECT_EQ(filled, std::size(expected)) << "a filled type slot is missing from this table";

    for (const auto& e : expected) {
        const runtime::TypeDescriptor* type = FindTypeDescriptor(image, e.code);
        ASSERT_NE(type, nullptr) << std::hex << e.code;
        SCOPED_TRACE(type->englishName);
        EXPECT_EQ(type->propertyCount, e.count);
        if (type->propertyCount != e.count) continue;  // the list itself is not to be trusted
        for (uint32_t i = 0; i < type->propertyCount; ++i) {
            const runtime::PropertyDescriptor& p = type->properties[i];
            uint32_t kind = p.typeAndState & 0xFFFF, state = p.typeAndState >> 16;
            EXPECT_GE(kind, 1000u) << i;
            EXPECT_LE(kind, 1024u) << i;
            if (i < 8)
                EXPECT_EQ(state, 0xE000u) << i;
            else
                EXPECT_EQ(state & 0xFFF0, 0x8000u) << i;
            EXPECT_EQ(p.pickList, nullptr) << i;
        }
    }
}

TEST(ProgramImage, DllCommandTable) {
    EXPECT_STREQ(image.dllFunctionNames[0], "SHBrowseForFolderA");
    EXPECT_STREQ(image.dllFunctionNames[1], "SHGetPathFromIDListA");
    EXPECT_STREQ(image.dllFunctionNames[12], "SHGetPathFromIDListA");
    EXPECT_STREQ(image.dllFunctionNames[21], "Beep");
    EXPECT_STREQ(image.dllFunctionNames[22], "GetModuleFileNameA");
    EXPECT_STREQ(image.dllLibraryFiles[22], "kernel32");
    for (uint32_t i = 0; i < 22; ++i) EXPECT_STREQ(image.dllLibraryFiles[i], "") << i;
    // The conversion run's outputs go through a temporary file moved into place; the output
    // folder is looked at, created and its failures told apart by error code.
    const char* const fileFunctions[] = {"GetTempFileNameA",   "MoveFileExA",      "DeleteFileA",
                                         "GetFileAttributesA", "CreateDirectoryA", "GetLastError",
                                         "SetLastError"};
    for (uint32_t i = 0; i < 7; ++i) {
        EXPECT_STREQ(image.dllFunctionNames[23 + i], fileFunctions[i]);
        EXPECT_STREQ(image.dllLibraryFiles[23 + i], "kernel32");
    }
    EXPECT_STREQ(image.dllFunctionNames[30], "MessageBoxA");
    EXPECT_STREQ(image.dllLibraryFiles[30], "user32");
}

TEST(ProgramImage, ConstantSegment) {
    const uint8_t* c = image.constantStart;
    EXPECT_EQ(c[0], 0) << "the empty text is the first byte";
    EXPECT_EQ(constant_offset::EmptyByteSet, 0x17u);
    uint32_t header[2];
    std::memcpy(header, c + 0x17, 8);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(header[1], 0u);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(constant::EmptyByteSet()), c + 0x17);
    EXPECT_STREQ(constant::ArchiverInstallerName(), "\\Velmora_r904173_quillar.exe");
    EXPECT_STREQ(constant::BrowserInstallerName(), "\\Velmora_r904173_browser.exe");
    EXPECT_EQ(constant::ArchiverInstaller()->dimensions, 1u);
    EXPECT_GT(constant::ArchiverInstaller()->count, 0u);
    EXPECT_EQ(*constant::Thousand(), 1000.0);
    // The class method table runs to the segment's end.
    EXPECT_EQ(constant_offset::ClassMethodTable + 16 * 4, image.constantLength);
}

TEST(ProgramImage, RuntimeEntryTable) {
    EXPECT_EQ(kRuntimeEntries.raiseError, &RaiseRuntimeErrorCode);
    EXPECT_EQ(kRuntimeEntries.callDllCommand, &ruvelto_call_dll_command);
    EXPECT_EQ(kRuntimeEntries.callCommand, &runtime::EntryCallCommand);
    EXPECT_EQ(kRuntimeEntries.callCoreCommand, &runtime::EntryCallCommand);
    EXPECT_EQ(kRuntimeEntries.allocate, &heap::Allocate);
    EXPECT_EQ(kRuntimeEntries.reallocate, &heap::Reallocate);
    EXPECT_EQ(kRuntimeEntries.free, &heap::Free);
    EXPECT_EQ(kRuntimeEntries.exitProgram, &runtime::ExitProgram);
    EXPECT_EQ(kRuntimeEntries.runtimeHelper, &runtime::EntryRuntimeHelper);
}

// The application reaches a core command by its number in the library's table; a wrong slot
// would hand it another command.
TEST(ProgramImage, CoreCommandsAreReachedByNumber) {
    const auto core = image.libraryTable[0]->commands;
    char text[] = "abc";
    ValueRecord args[3] = {{AddressWord(text), 0, kTypeText}};
    EXPECT_EQ(kRuntimeEntries.callCoreCommand(core[3], 1, args).lo, 3u);  // TextLength
    args[0] = {0xFF, 0, kTypeInt};
    ValueRecord hex = kRuntimeEntries.callCoreCommand(core[44], 1, args);  // ToHexText
    ASSERT_NE(hex.lo, 0u);
    EXPECT_STREQ(WordAddress<const char>(hex.lo), "FF");
    heap::Free(WordAddress(hex.lo));
    args[0] = {6, 0, kTypeInt};
    args[1] = {3, 0, kTypeInt};
    EXPECT_EQ(kRuntimeEntries.callCoreCommand(core[48], 2, args).lo, 5u);  // BitXor
}

// The built program carries the same image: its constant segment's opening bytes and the
// library names are in the executable file.
TEST(ProgramImage, TheBuiltProgramCarriesIt) {
    std::ifstream exe(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so", std::ios::binary);
    if (!exe) GTEST_SKIP() << "ruvelto.exe not built";
    std::string bytes((std::istreambuf_iterator<char>(exe)), std::istreambuf_iterator<char>());
    std::string opening(reinterpret_cast<const char*>(static_cast<const uint8_t*>(image.constantStart)), 0x1F);
    EXPECT_NE(bytes.find(opening), std::string::npos);
    for (uint32_t i = 0; i < image.libraryCount; ++i)
        EXPECT_NE(bytes.find(image.libraryTable[i]->guid), std::string::npos) << i;
}

}  // namespace
}  // namespace ruvelto::image_data

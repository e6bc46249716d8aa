// The one shape in which every value crosses between application, runtime and support
// libraries, and the signatures of the entry points that pass them. Portable: no windows.h.
#pragma once
#include <cstdint>

namespace ruvelto {

// Type codes. Basic types live in 0x80000000-0xBFFFFFFF; bit 0x20000000 marks an array.
enum TypeCode : uint32_t {
    kTypeNone = 0,  // an omitted optional argument
    kTypeByte = 0x80000101,
    kTypeShort = 0x80000201,
    kTypeInt = 0x80000301,
    kTypeLong = 0x80000401,
    kTypeFloat = 0x80000501,
    kTypeDouble = 0x80000601,
    kTypeBool = 0x80000002,
    kTypeDateTime = 0x80000003,
    kTypeText = 0x80000004,
    kTypeBytes = 0x80000005,
    kTypeSubProgram = 0x80000006,
    kTypeEightByte = 0x80000008,
    kTypeByteArray = 0xA0000101,
};
constexpr uint32_t kArrayBit = 0x20000000;

// Library types: library number x 0x10000 + type number, both counting from 1.
constexpr uint32_t LibraryTypeCode(uint32_t library, uint32_t type) { return library * 0x10000 + type; }
enum LibraryType : uint32_t {
    kTypeWindow = 0x10001,
    kTypeMenu = 0x10003,
    kTypeEditBox = 0x10005,
    kTypePicBox = 0x10006,
    kTypeShapeBox = 0x10007,
    kTypeDrawPanel = 0x10008,
    kTypeGroupBox = 0x10009,
    kTypeLabel = 0x1000A,
    kTypeButton = 0x1000B,
    kTypeCheckBox = 0x1000C,
    kTypeRadioBox = 0x1000D,
    kTypeHScrollBar = 0x10011,
    kTypeProcessBar = 0x10013,
    kTypeSliderBar = 0x10014,
    kTypeCommonDlg = 0x1001F,
    kTypeDirTree = 0x20001,
    kTypeStatusBar = 0x30002,
    kTypeListView = 0x30004,
    kTypeTransLabel = 0x30005,
    kTypeImage = 0x40001,
};

// 12 bytes: data lo, data hi, type code. 8-byte values use both data words.
struct ValueRecord {
    uint32_t lo = 0;
    uint32_t hi = 0;
    uint32_t type = kTypeNone;
};
static_assert(sizeof(ValueRecord) == 12);

// Texts and byte sets as stored in memory. A byte set is a one-dimensional byte array:
// u32 dimension count (1), u32 element count, then the bytes.
struct ByteSetHeader {
    uint32_t dimensions;
    uint32_t count;
};

// Every command of every library: the caller zeroes *result before the call.
using CommandEntry = void (*)(ValueRecord* result, int32_t count, ValueRecord* args);

// The runtime's service callback handed to each library with notify message 1.
using ServiceCallback = intptr_t (*)(int32_t code, intptr_t arg1, intptr_t arg2);
// Each library's notify entry.
using NotifyEntry = intptr_t (*)(int32_t message, intptr_t arg1, intptr_t arg2);

}  // namespace ruvelto

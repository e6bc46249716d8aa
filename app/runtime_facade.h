// The application's typed view of the runtime entry table: value records built by small helpers,
// one call helper per entry slot, and owners for the texts and byte sets the runtime hands back,
// so that handlers read like the steps they carry out.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "runtime/program_image.h"
#include "runtime/value_record.h"
#include "runtime/address_word.h"

namespace ruvelto::app {

const runtime::RuntimeEntryTable& Runtime();

// The program image's shared empty text and empty byte set: what absent values are passed as.
const char* EmptyText();
const void* EmptyByteSet();

// ---- value records ----
inline ValueRecord IntValue(int32_t v) { return {static_cast<uint32_t>(v), 0, kTypeInt}; }
inline ValueRecord ByteValue(uint8_t v) { return {v, 0, kTypeByte}; }
inline ValueRecord BoolValue(bool v) { return {v ? 1u : 0u, 0, kTypeBool}; }
ValueRecord DoubleValue(double v);
// The program's own texts (literals) may lie beyond a word's reach in a 64-bit build: such a text
// travels as a copy in runtime memory, made once and kept for the program's life.
const char* WithinWordReach(const char* text);
inline ValueRecord TextValue(const char* text) {
    return {AddressWord(text ? WithinWordReach(text) : EmptyText()), 0, kTypeText};
}
inline ValueRecord BytesValue(const void* bytes) {
    return {AddressWord(bytes ? bytes : EmptyByteSet()), 0, kTypeBytes};
}
// The address of a variable a command fills (a byte-set variable, for example).
inline ValueRecord VariableValue(void* variable, uint32_t type) {
    return {AddressWord(variable), 0, type};
}
inline ValueRecord Omitted() { return {}; }
// A window or component as the object argument of its methods.
inline ValueRecord UnitValue(uint32_t window, uint32_t unit, uint32_t type) { return {window, unit, type}; }
// The image object: the address of the slot that holds the object pointer.
inline ValueRecord ImageValue(uint32_t* slot) {
    return {AddressWord(slot), 0, kTypeImage};
}

// ---- owners of runtime blocks ----
// A text handed back by the runtime (a heap block, or null for empty); freed through slot 8.
class Text {
public:
    Text() = default;
    explicit Text(char* owned) : text_(owned) {}
    Text(Text&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    Text& operator=(Text&& other) noexcept;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text();

    const char* c_str() const { return text_ ? text_ : ""; }
    bool empty() const { return !text_ || !*text_; }
    char* Release() { return std::exchange(text_, nullptr); }

private:
    char* text_ = nullptr;
};

// A byte set handed back by the runtime; freed through slot 8.
class ByteSet {
public:
    ByteSet() = default;
    explicit ByteSet(void* owned) : bytes_(owned) {}
    ByteSet(ByteSet&& other) noexcept : bytes_(std::exchange(other.bytes_, nullptr)) {}
    ByteSet& operator=(ByteSet&&) = delete;
    ByteSet(const ByteSet&) = delete;
    ~ByteSet();

    const void* get() const { return bytes_; }
    uint32_t size() const;

private:
    void* bytes_ = nullptr;
};

// A new runtime text holding a copy of text (for application state that outlives a handler).
char* CopyText(const char* text);

// ---- one helper per slot ----
// Slot 2 (library commands) and slot 3 (core library commands). A command not linked into the
// program answers the zero result, as commands do for arguments they cannot use.
ValueRecord CallCommand(CommandEntry entry, std::initializer_list<ValueRecord> args);
ValueRecord CallCoreCommand(CommandEntry entry, std::initializer_list<ValueRecord> args);
// Slots 4 and 5, for properties that are one word (integers, logicals, choices, colours).
int32_t ReadIntProperty(uint32_t window, uint32_t unit, int32_t index);
void WriteIntProperty(uint32_t window, uint32_t unit, int32_t index, int32_t value);
// Text properties: the read value is a new text owned by the caller; the written one is copied.
Text ReadTextProperty(uint32_t window, uint32_t unit, int32_t index);
void WriteTextProperty(uint32_t window, uint32_t unit, int32_t index, const char* text);
void WriteBytesProperty(uint32_t window, uint32_t unit, int32_t index, const void* byteSet);
// Slots 6 and 8.
void* Allocate(uint32_t size);
void Free(void* block);
// Slot 9: does not return.
[[noreturn]] void ExitProgram(int32_t code);
// Slot 12, helpers 0 and 1: the next file name of a search (null when none is left).
Text FindFile(const char* pattern, intptr_t* searchHandle);
void EndFileSearch(intptr_t searchHandle);
// The same for folders: the next folder name of a search, "." and ".." included.
Text FindFolder(const char* pattern, intptr_t* searchHandle);

}  // namespace ruvelto::app

#include "image/library_entry.h"

#include "image/class_commands.h"
#include "image/library_memory.h"
#include "runtime/address_word.h"

namespace ruvelto::image {

namespace {

// Library command numbers of the methods this program binds.
enum LibraryCommand {
    kFree = 0,
    kDecodeFromFile = 3,
    kDecodeFromBin = 4,
    kEncodeToFile = 5,
    kEncodeToBin = 6,
    kDestroy = 24,
    kGetHeight = 56,
    kGetWidth = 57,
    kGetJpegQuality = 58,
    kSetJpegQuality = 88,
    kSetJpegScale = 89,
    kSetEscape = 83,
    kResample = 138,
    kAlphaStrip = 205,
    kGetFlags = 53,
    kSetFlags = 84,
};

// Argument i, or an empty record when the caller passed fewer.
ValueRecord Arg(int32_t count, const ValueRecord* args, int i) {
    return i < count && args ? args[i] : ValueRecord{};
}

template <typename T>
T* Pointer(const ValueRecord& v) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(v.lo));
}

// A variable of the application that holds an address in a 32-bit word (the image object, a
// byte set): the command works on a pointer of its own, written back to the word when the call
// is over.
template <typename T>
class WordVariable {
public:
    explicit WordVariable(uint32_t* word) : word_(word), value_(word ? WordAddress<T>(*word) : nullptr) {}
    WordVariable(const WordVariable&) = delete;
    WordVariable& operator=(const WordVariable&) = delete;
    ~WordVariable() {
        if (word_) *word_ = AddressWord(value_);
    }
    operator T**() { return word_ ? &value_ : nullptr; }

private:
    uint32_t* word_;
    T* value_;
};

// Argument 0 is the image object: the address of the variable's slot.
WordVariable<Image> Slot(int32_t count, const ValueRecord* args) {
    return WordVariable<Image>(Pointer<uint32_t>(Arg(count, args, 0)));
}

int32_t Int(int32_t count, const ValueRecord* args, int i) { return static_cast<int32_t>(Arg(count, args, i).lo); }

void SetLogical(ValueRecord* result, bool value) { result->lo = value ? 1 : 0; }

void CmdFree(ValueRecord*, int32_t n, ValueRecord* a) { FreeCommand(Slot(n, a)); }

void CmdDecodeFromFile(ValueRecord* r, int32_t n, ValueRecord* a) {
    SetLogical(r, DecodeFromFileCommand(Slot(n, a), Pointer<const char>(Arg(n, a, 1)), Int(n, a, 2)));
}

void CmdDecodeFromBin(ValueRecord* r, int32_t n, ValueRecord* a) {
    SetLogical(r, DecodeFromBinCommand(Slot(n, a), Pointer<const ByteSetHeader>(Arg(n, a, 1)), Int(n, a, 2)));
}

void CmdEncodeToFile(ValueRecord* r, int32_t n, ValueRecord* a) {
    SetLogical(r, EncodeToFileCommand(Slot(n, a), Pointer<const char>(Arg(n, a, 1)), Int(n, a, 2)));
}

// Argument 1 is the byte-set variable: the address of the variable holding the byte set.
void CmdEncodeToBin(ValueRecord* r, int32_t n, ValueRecord* a) {
    SetLogical(r, EncodeToBinCommand(Slot(n, a), WordVariable<ByteSetHeader>(Pointer<uint32_t>(Arg(n, a, 1))), Int(n, a, 2)));
}

void CmdDestroy(ValueRecord* r, int32_t n, ValueRecord* a) { SetLogical(r, DestroyCommand(Slot(n, a))); }

void CmdGetHeight(ValueRecord* r, int32_t n, ValueRecord* a) {
    r->lo = static_cast<uint32_t>(GetHeightCommand(Slot(n, a)));
}

void CmdGetWidth(ValueRecord* r, int32_t n, ValueRecord* a) {
    r->lo = static_cast<uint32_t>(GetWidthCommand(Slot(n, a)));
}

void CmdGetJpegQuality(ValueRecord* r, int32_t n, ValueRecord* a) { r->lo = GetJpegQualityCommand(Slot(n, a)); }

void CmdSetJpegQuality(ValueRecord*, int32_t n, ValueRecord* a) {
    SetJpegQualityCommand(Slot(n, a), static_cast<uint8_t>(Arg(n, a, 1).lo));
}

void CmdSetJpegScale(ValueRecord*, int32_t n, ValueRecord* a) {
    SetJpegScaleCommand(Slot(n, a), static_cast<uint8_t>(Arg(n, a, 1).lo));
}

void CmdSetEscape(ValueRecord*, int32_t n, ValueRecord* a) { SetEscapeCommand(Slot(n, a), Int(n, a, 1)); }

void CmdResample(ValueRecord* r, int32_t n, ValueRecord* a) {
    SetLogical(r, ResampleCommand(Slot(n, a), Int(n, a, 1), Int(n, a, 2)));
}

void CmdAlphaStrip(ValueRecord* r, int32_t n, ValueRecord* a) { SetLogical(r, AlphaStripCommand(Slot(n, a))); }

void CmdGetFlags(ValueRecord* r, int32_t n, ValueRecord* a) { r->lo = static_cast<uint32_t>(GetFlagsCommand(Slot(n, a))); }

void CmdSetFlags(ValueRecord*, int32_t n, ValueRecord* a) { SetFlagsCommand(Slot(n, a), Int(n, a, 1)); }

// Methods this program does not bind leave the result as the runtime zeroed it.
void CmdNotBound(ValueRecord*, int32_t, ValueRecord*) {}

CommandEntry g_dispatch[kLibraryCommandCount] = {};
bool g_started = false;

void StartModule() {
    for (CommandEntry& e : g_dispatch) e = CmdNotBound;
    g_dispatch[kFree] = CmdFree;
    g_dispatch[kDecodeFromFile] = CmdDecodeFromFile;
    g_dispatch[kDecodeFromBin] = CmdDecodeFromBin;
    g_dispatch[kEncodeToFile] = CmdEncodeToFile;
    g_dispatch[kEncodeToBin] = CmdEncodeToBin;
    g_dispatch[kDestroy] = CmdDestroy;
    g_dispatch[kGetHeight] = CmdGetHeight;
    g_dispatch[kGetWidth] = CmdGetWidth;
    g_dispatch[kGetJpegQuality] = CmdGetJpegQuality;
    g_dispatch[kSetJpegQuality] = CmdSetJpegQuality;
    g_dispatch[kSetJpegScale] = CmdSetJpegScale;
    g_dispatch[kSetEscape] = CmdSetEscape;
    g_dispatch[kResample] = CmdResample;
    g_dispatch[kAlphaStrip] = CmdAlphaStrip;
    g_dispatch[kGetFlags] = CmdGetFlags;
    g_dispatch[kSetFlags] = CmdSetFlags;
}

template <int kLibraryCommand>
void Forward(ValueRecord* result, int32_t count, ValueRecord* args) {
    // Before the runtime's first notify the table is empty; the call then does nothing.
    if (CommandEntry e = g_dispatch[kLibraryCommand]) e(result, count, args);
}

}  // namespace

const int kBoundLibraryCommands[kBoundCommandCount] = {
    kDecodeFromFile, kGetJpegQuality, kEncodeToBin, kSetJpegScale, kSetJpegQuality, kGetWidth,
    kGetHeight,      kDestroy,        kDecodeFromBin, kEncodeToFile, kFree,
    kSetEscape,      kResample,       kAlphaStrip,    kGetFlags,      kSetFlags,
};

void BoundDecodeFromFile(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kDecodeFromFile>(r, n, a); }
void BoundGetJpegQuality(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kGetJpegQuality>(r, n, a); }
void BoundEncodeToBin(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kEncodeToBin>(r, n, a); }
void BoundSetJpegScale(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kSetJpegScale>(r, n, a); }
void BoundSetJpegQuality(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kSetJpegQuality>(r, n, a); }
void BoundGetWidth(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kGetWidth>(r, n, a); }
void BoundGetHeight(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kGetHeight>(r, n, a); }
void BoundDestroy(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kDestroy>(r, n, a); }
void BoundDecodeFromBin(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kDecodeFromBin>(r, n, a); }
void BoundEncodeToFile(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kEncodeToFile>(r, n, a); }
void BoundFree(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kFree>(r, n, a); }
void BoundSetEscape(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kSetEscape>(r, n, a); }
void BoundResample(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kResample>(r, n, a); }
void BoundAlphaStrip(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kAlphaStrip>(r, n, a); }
void BoundGetFlags(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kGetFlags>(r, n, a); }
void BoundSetFlags(ValueRecord* r, int32_t n, ValueRecord* a) { Forward<kSetFlags>(r, n, a); }

const CommandEntry kImageBoundCommands[kBoundCommandCount] = {
    BoundDecodeFromFile, BoundGetJpegQuality, BoundEncodeToBin,  BoundSetJpegScale,
    BoundSetJpegQuality, BoundGetWidth,       BoundGetHeight,    BoundDestroy,
    BoundDecodeFromBin,  BoundEncodeToFile,   BoundFree,         BoundSetEscape,
    BoundResample,       BoundAlphaStrip,     BoundGetFlags,     BoundSetFlags,
};

intptr_t ImageLibraryNotify(int32_t message, intptr_t arg1, intptr_t) {
    if (!g_started) {
        g_started = true;
        StartModule();
    }
    switch (message) {
        case 1:
            SetRuntimeServices(reinterpret_cast<ServiceCallback>(arg1));
            return 0;
        case 6:
            return 0;
        default:
            return -1;
    }
}

}  // namespace ruvelto::image

#include "image/class_commands.h"

#include <cstring>

#include "image/library_memory.h"

namespace ruvelto::image {

namespace {

Image* ObjectIn(Image** slot) { return slot ? *slot : nullptr; }

// Decoding commands create the object on first use.
Image* ObjectFor(Image** slot) {
    if (!*slot) *slot = new Image(IMAGE_FORMAT_UNKNOWN);
    return *slot;
}

bool PathTooShort(const char* path) { return !path || std::strlen(path) < 4; }

}  // namespace

bool DecodeFromFileCommand(Image** slot, const char* path, int32_t format) {
    if (!slot || PathTooShort(path)) return false;
    return ObjectFor(slot)->Load(path, format);
}

bool DecodeFromBinCommand(Image** slot, const ByteSetHeader* bytes, int32_t format) {
    if (!slot || !bytes || bytes->count <= 32) return false;
    return ObjectFor(slot)->Decode(reinterpret_cast<const uint8_t*>(bytes + 1), bytes->count, format);
}

bool EncodeToFileCommand(Image** slot, const char* path, int32_t format) {
    Image* image = ObjectIn(slot);
    if (!image || PathTooShort(path)) return false;
    return image->Save(path, format);
}

bool EncodeToBinCommand(Image** slot, ByteSetHeader** variable, int32_t format) {
    Image* image = ObjectIn(slot);
    if (!image || !variable) return false;
    RuntimeFree(*variable);
    *variable = nullptr;
    uint8_t* buffer = nullptr;
    size_t size = 0;
    const bool encoded = image->Encode(&buffer, &size, format);
    if (encoded && size > 0 && size <= UINT32_MAX) *variable = NewByteSet(buffer, static_cast<uint32_t>(size));
    FreeMemory(buffer);
    return encoded;
}

uint8_t GetJpegQualityCommand(Image** slot) {
    Image* image = ObjectIn(slot);
    return image ? image->Info.JpegQuality : 0;
}

void SetJpegQualityCommand(Image** slot, uint8_t value) {
    if (Image* image = ObjectIn(slot)) image->Info.JpegQuality = value;
}

void SetJpegScaleCommand(Image** slot, uint8_t value) {
    if (Image* image = ObjectIn(slot)) image->Info.JpegScale = value;
}

int32_t GetWidthCommand(Image** slot) {
    Image* image = ObjectIn(slot);
    return image ? image->Header.Width : 0;
}

int32_t GetHeightCommand(Image** slot) {
    Image* image = ObjectIn(slot);
    return image ? image->Header.Height : 0;
}

bool DestroyCommand(Image** slot) {
    Image* image = ObjectIn(slot);
    return image && image->Destroy();
}

void SetEscapeCommand(Image** slot, int32_t value) {
    if (Image* image = ObjectIn(slot)) image->Info.Escape = value;
}

bool ResampleCommand(Image** slot, int32_t width, int32_t height) {
    Image* image = ObjectIn(slot);
    if (!image) return false;
    if (width <= 0 || height <= 0) {
        image->SetLastError(kErrZeroSize);
        return false;
    }
    return image->Resample(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
}

bool AlphaStripCommand(Image** slot) {
    Image* image = ObjectIn(slot);
    return image && image->AlphaStrip();
}

int32_t GetFlagsCommand(Image** slot) {
    Image* image = ObjectIn(slot);
    return image ? static_cast<int32_t>(image->Info.Flags) : 0;
}

void SetFlagsCommand(Image** slot, int32_t value) {
    if (Image* image = ObjectIn(slot)) image->Info.Flags = static_cast<uint32_t>(value);
}

void FreeCommand(Image** slot) {
    if (!slot || !*slot) return;
    delete *slot;
    *slot = nullptr;
}

}  // namespace ruvelto::image

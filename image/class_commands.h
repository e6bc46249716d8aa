// The commands the program binds on an image object, on plain C++ types. An image
// variable is a slot holding the object pointer (null until a decode creates the object);
// library_entry.cpp unpacks value records into these calls.
#pragma once
#include <cstdint>

#include "image/image.h"
#include "runtime/value_record.h"

namespace ruvelto::image {

bool DecodeFromFileCommand(Image** slot, const char* path, int32_t format);
bool DecodeFromBinCommand(Image** slot, const ByteSetHeader* bytes, int32_t format);
bool EncodeToFileCommand(Image** slot, const char* path, int32_t format);
// variable: the program's byte-set variable; its old byte set is released, the new one stored.
bool EncodeToBinCommand(Image** slot, ByteSetHeader** variable, int32_t format);
uint8_t GetJpegQualityCommand(Image** slot);
void SetJpegQualityCommand(Image** slot, uint8_t value);
void SetJpegScaleCommand(Image** slot, uint8_t value);
int32_t GetWidthCommand(Image** slot);
int32_t GetHeightCommand(Image** slot);
bool DestroyCommand(Image** slot);
// Escape -1 makes the next decode report the picture's width and height only (no pixels).
void SetEscapeCommand(Image** slot, int32_t value);
bool ResampleCommand(Image** slot, int32_t width, int32_t height);
bool AlphaStripCommand(Image** slot);
// The object's Flags (IMAGE_FLAG_*): 0 while no object exists; setting them needs an object.
int32_t GetFlagsCommand(Image** slot);
void SetFlagsCommand(Image** slot, int32_t value);
void FreeCommand(Image** slot);

}  // namespace ruvelto::image

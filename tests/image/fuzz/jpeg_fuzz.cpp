// Decodes arbitrary bytes as JPEG (with a scale picked from the input); what decodes must also
// encode and read back.
#include <cstddef>
#include <cstdint>

#include "image/jpeg_codec.h"
#include "image/mem_stream.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(250000);  // pictures up to 8 MB keep runs fast
    MemStream in(data, size);
    ImageJPG codec;
    codec.Info.JpegScale = static_cast<uint8_t>(size % 9);
    if (!codec.Decode(in) || !codec.IsValid()) return 0;
    MemStream out;
    if (!codec.Encode(out)) __builtin_trap();
    Image back;
    out.Seek(0, kSeekSet);
    if (!back.Decode(out, IMAGE_FORMAT_JPG) || back.GetWidth() != codec.GetWidth()) __builtin_trap();
    return 0;
}

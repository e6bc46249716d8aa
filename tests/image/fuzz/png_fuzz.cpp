// Decodes arbitrary bytes as PNG; what decodes must also encode and read back with its size.
#include <cstddef>
#include <cstdint>

#include "image/mem_stream.h"
#include "image/png_codec.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(250000);  // pictures up to 8 MB keep runs fast
    MemStream in(data, size);
    ImagePNG codec;
    if (!codec.Decode(in) || !codec.IsValid()) return 0;
    MemStream out;
    if (!codec.Encode(out)) __builtin_trap();
    Image back;
    out.Seek(0, kSeekSet);
    if (!back.Decode(out, IMAGE_FORMAT_PNG) || back.GetHeight() != codec.GetHeight()) __builtin_trap();
    return 0;
}

// Decodes arbitrary bytes with the tiff codec; what decodes and the codec can write must also
// encode and read back.
#include <cstddef>
#include <cstdint>

#include "image/tiff_codec.h"
#include "image/mem_stream.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(250000);  // pictures up to 8 MB keep runs fast
    MemStream in(data, size);
    TiffCodec codec;
    if (!codec.Decode(in) || !codec.IsValid()) return 0;
    if (uint64_t{codec.GetWidth()} * codec.GetHeight() > 1000000) return 0;  // keep runs fast
    codec.Info.CodecOption[IMAGE_FORMAT_TIF] = 1;  // uncompressed: the read-back is exact
    MemStream out;
    if (!codec.Encode(out)) return 0;
    Image back;
    out.Seek(0, kSeekSet);
    if (!back.Decode(out, IMAGE_FORMAT_TIF)) __builtin_trap();
    return 0;
}

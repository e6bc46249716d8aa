// Decodes arbitrary bytes as a JPEG-2000 family variant chosen by the last byte (or recognised,
// as the probe does); what decodes must write as PNM and read back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/j2k_codec.h"
#include "image/mem_stream.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(60000);  // component buffers up to 2 MB keep runs fast
    static const int32_t kVariants[] = {0, IMAGE_FORMAT_JP2, IMAGE_FORMAT_JPC, IMAGE_FORMAT_PGX,
                                        IMAGE_FORMAT_PNM, IMAGE_FORMAT_RAS};
    const int32_t variant = size ? kVariants[data[size - 1] % 6] : 0;
    MemStream in(data, size);
    ImageJ2K codec(variant);
    codec.Info.Frame = size > 1 ? data[size - 2] % 3 : 0;
    if (!codec.Decode(in) || !codec.IsValid()) return 0;
    if (codec.GetBpp() < 8) return 0;  // 1- and 4-bit grey pictures are not grey ramps: refused
    MemStream out;
    ImageJ2K writer(IMAGE_FORMAT_PNM);
    writer.Ghost(codec);
    if (!writer.Encode(out)) {
        // Components take 4 bytes a sample, so a picture near the bound may not fit them.
        if (std::strcmp(writer.Info.LastError, "error : jas_image_create") == 0) return 0;
        __builtin_trap();
    }
    out.Seek(0, kSeekSet);
    ImageJ2K back(IMAGE_FORMAT_PNM);
    if (!back.Decode(out) || back.GetWidth() != codec.GetWidth() || back.GetHeight() != codec.GetHeight())
        __builtin_trap();
    for (uint32_t y = 0; y < codec.GetHeight(); ++y) {
        if (std::memcmp(back.GetBits(y), codec.GetBits(y), size_t(codec.GetWidth()) * codec.GetBpp() / 8) != 0)
            __builtin_trap();
    }
    return 0;
}

#include "image/bmp_codec.h"
#include "image/codec.h"
#include "image/gif_codec.h"
#include "image/ico_codec.h"
#include "image/j2k_codec.h"
#include "image/jpeg_codec.h"
#include "image/pcx_codec.h"
#include "image/png_codec.h"
#include "image/tga_codec.h"
#include "image/tiff_codec.h"
#include "image/wbmp_codec.h"
#include "image/wmf_codec.h"

namespace ruvelto::image {

namespace {

template <typename Codec>
std::unique_ptr<ImageCodec> Make(int32_t) {
    return std::make_unique<Codec>();
}

// The JPEG-2000 family takes the format number (or 0 in the probe) as its sub-format.
std::unique_ptr<ImageCodec> MakeJ2K(int32_t subFormat) {
    return std::make_unique<ImageJ2K>(subFormat);
}

struct CodecEntry {
    int32_t firstFormat;
    int32_t lastFormat;
    std::unique_ptr<ImageCodec> (*make)(int32_t subFormat);
};

// Formats without an entry fail their attempt cleanly.
constexpr CodecEntry kCodecs[] = {
    {IMAGE_FORMAT_BMP, IMAGE_FORMAT_BMP, Make<BmpCodec>},
    {IMAGE_FORMAT_GIF, IMAGE_FORMAT_GIF, Make<GifCodec>},
    {IMAGE_FORMAT_JPG, IMAGE_FORMAT_JPG, Make<ImageJPG>},
    {IMAGE_FORMAT_PNG, IMAGE_FORMAT_PNG, Make<ImagePNG>},
    {IMAGE_FORMAT_ICO, IMAGE_FORMAT_ICO, Make<IcoCodec>},
    {IMAGE_FORMAT_TIF, IMAGE_FORMAT_TIF, Make<TiffCodec>},
    {IMAGE_FORMAT_TGA, IMAGE_FORMAT_TGA, Make<TgaCodec>},
    {IMAGE_FORMAT_PCX, IMAGE_FORMAT_PCX, Make<PcxCodec>},
    {IMAGE_FORMAT_WBMP, IMAGE_FORMAT_WBMP, Make<WbmpCodec>},
    {IMAGE_FORMAT_WMF, IMAGE_FORMAT_WMF, Make<WmfCodec>},
    {IMAGE_FORMAT_JP2, IMAGE_FORMAT_RAS, MakeJ2K},
};

const CodecEntry* FindCodec(int32_t format) {
    for (const CodecEntry& entry : kCodecs) {
        if (format >= entry.firstFormat && format <= entry.lastFormat) return &entry;
    }
    return nullptr;
}

}  // namespace

const ProbeStep kProbeOrder[11] = {
    {IMAGE_FORMAT_BMP, IMAGE_FORMAT_BMP},   {IMAGE_FORMAT_JPG, IMAGE_FORMAT_JPG},
    {IMAGE_FORMAT_ICO, IMAGE_FORMAT_ICO},   {IMAGE_FORMAT_GIF, IMAGE_FORMAT_GIF},
    {IMAGE_FORMAT_PNG, IMAGE_FORMAT_PNG},   {IMAGE_FORMAT_TIF, IMAGE_FORMAT_TIF},
    {IMAGE_FORMAT_TGA, IMAGE_FORMAT_TGA},   {IMAGE_FORMAT_PCX, IMAGE_FORMAT_PCX},
    {IMAGE_FORMAT_WBMP, IMAGE_FORMAT_WBMP}, {IMAGE_FORMAT_WMF, IMAGE_FORMAT_WMF},
    {IMAGE_FORMAT_JP2, 0},
};

std::unique_ptr<ImageCodec> MakeCodec(int32_t format) {
    const CodecEntry* entry = FindCodec(format);
    return entry ? entry->make(format) : nullptr;
}

std::unique_ptr<ImageCodec> MakeProbeCodec(const ProbeStep& step) {
    const CodecEntry* entry = FindCodec(step.format);
    return entry ? entry->make(step.subFormat) : nullptr;
}

}  // namespace ruvelto::image

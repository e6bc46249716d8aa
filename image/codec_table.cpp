#include "image/bmp_codec.h"
#include "image/codec.h"
#include "image/gif_codec.h"
#include "image/ico_codec.h"

namespace ruvelto::image {

namespace {

template <typename Codec>
std::unique_ptr<ImageCodec> Make(int32_t) {
    return std::make_unique<Codec>();
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
    {IMAGE_FORMAT_ICO, IMAGE_FORMAT_ICO, Make<IcoCodec>},
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

#include "image/j2k_codec.h"

#include <cstring>

#include "image/j2k_openjpeg.h"
#include "image/j2k_raw_formats.h"
#include "image/j2k_texts.h"

namespace ruvelto::image {

using namespace j2k;

int32_t RecogniseJ2kVariant(const uint8_t* head, size_t length) {
    static const uint8_t kJp2Signature[12] = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    if (length >= 12 && std::memcmp(head, kJp2Signature, 12) == 0) return IMAGE_FORMAT_JP2;
    if (length >= 4 && head[0] == 0xFF && head[1] == 0x4F && head[2] == 0xFF && head[3] == 0x51) return IMAGE_FORMAT_JPC;
    if (length >= 4 && head[0] == 0x59 && head[1] == 0xA6 && head[2] == 0x6A && head[3] == 0x95) return IMAGE_FORMAT_RAS;
    if (length >= 3 && head[0] == 'P' && head[1] == 'G' && (head[2] == ' ' || head[2] == '\t')) return IMAGE_FORMAT_PGX;
    if (length >= 3 && head[0] == 'P' && head[1] >= '1' && head[1] <= '7' &&
        (head[2] == ' ' || head[2] == '\t' || head[2] == '\n' || head[2] == '\r' || head[2] == '#'))
        return IMAGE_FORMAT_PNM;
    return 0;
}

bool ImageJ2K::Fail(const char* text) {
    SetLastError(text);
    return false;
}

bool ImageJ2K::Decode(Stream& stream) {
    // No variant reports its dimensions alone, so every nonzero Escape stops the decode.
    if (Info.Escape) return Fail(kCancelled);
    int32_t variant = subFormat_;
    if (variant == 0) {
        uint8_t head[12] = {};
        const int64_t start = stream.Tell();
        const size_t got = stream.Read(head, 1, sizeof head);
        stream.Seek(start, kSeekSet);
        variant = RecogniseJ2kVariant(head, got);
        if (variant == 0) return Fail(LoadFailure("not a JPEG-2000, PGX, PNM or Sun raster file"));
    }
    std::string error;
    ComponentImage components;
    const int32_t* escape = &Info.Escape;
    switch (variant) {
    case IMAGE_FORMAT_JP2: components = DecodeWithOpenJpeg(stream, true, escape, error); break;
    case IMAGE_FORMAT_JPC: components = DecodeWithOpenJpeg(stream, false, escape, error); break;
    case IMAGE_FORMAT_PGX: components = ReadPgx(stream, escape, error); break;
    case IMAGE_FORMAT_PNM: components = ReadPnm(stream, escape, error); break;
    case IMAGE_FORMAT_RAS: components = ReadRas(stream, escape, error); break;
    default: return Fail(kCannotLoad);
    }
    if (!components) return Fail(error);
    if (!ComponentsToPicture(*components, *this, variant, error)) {
        Destroy();
        return Fail(error);
    }
    return true;
}

bool ImageJ2K::Encode(Stream& stream) {
    if (!EncodeSafeCheck(&stream)) return false;
    if (Header.ClrUsed != 0 && !IsGrayScale()) return Fail(kOnlyRgbOrGrey);
    if (subFormat_ == IMAGE_FORMAT_PGX && Header.ClrUsed == 0) return Fail(kPgxOnlyGrey);
    ComponentImage components = PictureToComponents(*this);
    if (!components) return Fail(kImageCreate);
    std::string error;
    bool written = false;
    switch (subFormat_) {
    case IMAGE_FORMAT_JP2:
    case IMAGE_FORMAT_JPC: {
        // The quality in hundredths is the wanted size as a fraction of the raw size.
        const double rate = Info.JpegQuality == 0 ? 0.01 : Info.JpegQuality * 0.01;
        if (EncodeWithOpenJpeg(*components, stream, subFormat_ == IMAGE_FORMAT_JP2, rate, error)) return true;
        return Fail(error);
    }
    case IMAGE_FORMAT_PGX: written = WritePgx(*components, stream); break;
    case IMAGE_FORMAT_PNM: written = WritePnm(*components, stream); break;
    case IMAGE_FORMAT_RAS: written = WriteRas(*components, stream); break;
    default: break;
    }
    return written || Fail(kCannotEncode);
}

}  // namespace ruvelto::image

// The format dispatch: every picture that enters or leaves an image object passes through here.
#include <cstring>

#include "image/codec.h"
#include "image/file_stream.h"
#include "image/mem_stream.h"

namespace ruvelto::image {

namespace {

// Formats whose codecs report the frame count even when the decode fails.
bool KeepsFrameCount(int32_t format) {
    return format == IMAGE_FORMAT_GIF || format == IMAGE_FORMAT_ICO || format == IMAGE_FORMAT_TIF;
}

// The caller's settings travel into a decode, but its transparency belongs to the picture it
// held before: left in place, a BMP or JPEG decoded after a transparent GIF would carry that
// GIF's transparent colour and lose those pixels when written as GIF or ICO.
void TakeSettings(ImageCodec& codec, const Image& caller) {
    codec.CopyInfo(caller);
    codec.Info.TransIndex = -1;
    codec.Info.TransColor = RgbQuad{};
    // Whether an EXIF block was dropped is the new picture's to say.
    codec.Info.Flags &= ~IMAGE_FLAG_EXIF_DROPPED;
}

}  // namespace

bool Image::Load(const char* path, int32_t format) {
    if (!path) return false;
    if (format >= 1 && format <= 15) {
        FileStream file(path, false);
        if (!file.IsOpen()) return false;
        if (Decode(file, format)) return true;
    }
    char saved[sizeof Info.LastError];
    std::memcpy(saved, Info.LastError, sizeof saved);
    FileStream file(path, false);
    if (!file.IsOpen()) return false;
    const bool probed = Decode(file, IMAGE_FORMAT_UNKNOWN);
    if (!probed && format != 0) std::memcpy(Info.LastError, saved, sizeof saved);
    return probed;
}

bool Image::Decode(const uint8_t* bytes, size_t length, int32_t format) {
    MemStream stream(bytes, length);
    return Decode(stream, format);
}

bool Image::Decode(Stream& stream, int32_t format) {
    const int64_t start = stream.Tell();
    if (format >= 1 && format <= 15) {
        std::unique_ptr<ImageCodec> codec = MakeCodec(format);
        if (!codec) {
            SetLastError(kErrUnknownDecodeFormat);
            return false;
        }
        TakeSettings(*codec, *this);
        if (codec->Decode(stream)) return Transfer(*codec);
        std::memcpy(Info.LastError, codec->Info.LastError, sizeof Info.LastError);
        if (KeepsFrameCount(format)) Info.NumFrames = codec->Info.NumFrames;
        return false;
    }
    if (format != IMAGE_FORMAT_UNKNOWN) {
        SetLastError(kErrUnknownDecodeFormat);
        return false;
    }
    for (const ProbeStep& step : kProbeOrder) {
        std::unique_ptr<ImageCodec> codec = MakeProbeCodec(step);
        if (!codec) continue;
        TakeSettings(*codec, *this);
        if (codec->Decode(stream)) return Transfer(*codec);
        stream.Seek(start, kSeekSet);
    }
    SetLastError(kErrUnknownDecodeFormat);
    return false;
}

bool Image::Save(const char* path, int32_t format) {
    if (!path) return false;
    FileStream file(path, true);
    if (!file.IsOpen()) return false;
    const bool encoded = Encode(file, format);
    // The last buffered bytes reach the file only on closing; a write that fails there (a full
    // disk) fails the save, whatever the encoder saw.
    const bool closed = file.Close();
    if (encoded && !closed) SetLastError(kErrWriteFailed);
    return encoded && closed;
}

bool Image::Encode(uint8_t** bufferOut, size_t* sizeOut, int32_t format) {
    if (!bufferOut || !sizeOut) return false;
    if (*bufferOut) {
        SetLastError(kErrBufferNotEmpty);
        return false;
    }
    MemStream stream;
    if (!Encode(stream, format)) return false;
    *sizeOut = static_cast<size_t>(stream.Size());
    *bufferOut = stream.GetBuffer();
    return true;
}

bool Image::Encode(Stream& stream, int32_t format) {
    std::unique_ptr<ImageCodec> codec;
    if (format >= 1 && format <= 15) codec = MakeCodec(format);
    if (!codec) {
        SetLastError(kErrUnknownEncodeFormat);
        return false;
    }
    codec->Ghost(*this);
    const bool encoded = codec->Encode(stream);
    if (!encoded) std::memcpy(Info.LastError, codec->Info.LastError, sizeof Info.LastError);
    return encoded;
}

}  // namespace ruvelto::image

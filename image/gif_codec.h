// GIF: one frame of a GIF (composed over the frames before it), or, for the tiled GIFs this
// codec writes for pictures of more than 8 bits, all tiles painted into one 24-bit picture.
// Pictures of 8 bits or fewer are written as a single-image GIF89a; deeper pictures as a mosaic
// of 17 x 15-pixel tiles, each with its own 256-entry colour table, so that no colour is lost.
#pragma once
#include <cstdint>

#include "image/codec.h"
#include "image/gif_byte_reader.h"
#include "image/gif_lzw_decoder.h"
#include "image/gif_lzw_encoder.h"

namespace ruvelto::image {

inline constexpr const char kErrGifWrite[] = "GIF \xCE\xC4\xBC\xFE\xD0\xB4\xB3\xF6\xB4\xED\xCE\xF3";  // GIF 文件写出错误
// GIF stores sizes and offsets in 16 bits; a larger picture cannot be written.
inline constexpr const char kErrGifTooLarge[] = "GIF \xCD\xBC\xCF\xF1\xB5\xC4\xBF\xED\xB6\xC8\xBA\xCD\xB8\xDF\xB6\xC8\xB2\xBB\xC4\xDC\xB3\xAC\xB9\xFD" "65535";  // GIF 图像的宽度和高度不能超过65535

// Tiles of deeper pictures: 17 x 15 = 255 colours, one table entry left for transparency.
constexpr uint32_t kGifTileWidth = 17;
constexpr uint32_t kGifTileHeight = 15;

// The GIF option word (CodecOption[IMAGE_FORMAT_GIF]) picks the image data's compression.
constexpr int32_t kGifOptionNoCompression = 1;
constexpr int32_t kGifOptionRle = 2;

struct GifGraphicControl {
    uint8_t flags = 0;       // bits 2-4 disposal method, bit 0 transparency
    uint16_t delay = 0;      // hundredths of a second
    uint8_t transIndex = 0;
};

struct GifColourTable {
    RgbTriple colours[256];
    uint32_t count = 0;
};

class GifCodec final : public ImageCodec {
public:
    GifCodec() : ImageCodec(IMAGE_FORMAT_GIF) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

    // Writes every picture as one frame (with its own colour table, at its OffsetX/OffsetY and
    // with its FrameDelay), after a loop extension when the loop count is nonzero. The first
    // picture sets the screen size. Pictures of more than 8 bits are refused.
    bool EncodeFrames(Stream& stream, Image* const* frames, int32_t count);

    const char* GetComment() const { return comment_; }
    void SetComment(const char* text);
    uint16_t GetLoops() const { return loops_; }
    void SetLoops(uint16_t loops) { loops_ = loops; }
    uint8_t GetDisposalMethod() const { return disposal_; }
    void SetDisposalMethod(uint8_t method) { disposal_ = method & 7; }
    const GifGraphicControl& GetGraphicControl() const { return gce_; }

private:
    // Decoding.
    bool DecodeExtension();
    // The images that will be frames; `tilesScreen` tells whether they tile the screen as a
    // mosaic does.
    int32_t GetNumFrames(uint32_t screenWidth, uint32_t screenHeight, bool* tilesScreen);
    bool ReadColourTable(GifColourTable& table, uint8_t flags);
    void AdoptPicture(Image& picture);

    // Encoding.
    void EncodeHeader(Stream& s, const Image& picture);
    void EncodeExtension(Stream& s, const Image& picture);
    void EncodeLoopExtension(Stream& s);
    void EncodeComment(Stream& s);
    void EncodeBody(Stream& s, const Image& picture, bool localColourTable);
    bool EncodeRGB(Stream& s);
    void Putword(Stream& s, uint32_t word);
    void PutBytes(Stream& s, const void* bytes, size_t n);
    bool FinishEncode(Stream& s);

    GifGraphicControl gce_;
    uint8_t disposal_ = 0;
    uint16_t loops_ = 0;
    char comment_[256] = {};
    bool writeError_ = false;

    GifByteReader reader_;
    GifLzwDecoder decoder_;
    GifLzwEncoder encoder_;
};

}  // namespace ruvelto::image

#include "image/png_codec.h"

#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "image/photo_metadata.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr png_alloc_size_t kMaxChunkBytes = 16 * 1024 * 1024;
constexpr png_byte kIgnoredChunks[] = "tEXt\0zTXt\0iTXt\0sPLT\0tIME\0hIST\0sBIT\0cHRM\0sRGB\0"
                                      "oFFs\0pCAL\0sCAL\0acTL\0fcTL\0fdAT";

void ReadData(png_structp png, png_bytep data, size_t length) {
    Stream* s = static_cast<Stream*>(png_get_io_ptr(png));
    if (s->Read(data, 1, length) != length) png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, size_t length) {
    Stream* s = static_cast<Stream*>(png_get_io_ptr(png));
    if (s->Write(data, 1, length) != length) png_error(png, "Write Error");
}

void FlushData(png_structp png) {
    Stream* s = static_cast<Stream*>(png_get_io_ptr(png));
    if (!s->Flush()) png_error(png, "Flush Error");
}

// Decoding: libpng's message becomes the picture's LastError.
void DecodeError(png_structp png, png_const_charp message) {
    static_cast<Image*>(png_get_error_ptr(png))->SetLastError(message);
    png_longjmp(png, 1);
}

// Encoding reports one text of its own, set where the jump lands.
void EncodeError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// A desktop program has no console to print libpng's warnings on.
void Warning(png_structp, png_const_charp) {}

// Rewrites a row of 2-bit pixels in place as 4-bit pixels, from the end backwards so that no
// source byte is overwritten before it is read.
void WidenTwoBitRow(uint8_t* row, uint32_t width) {
    for (uint32_t i = (width + 1) / 2; i-- > 0;) {
        const uint32_t x = 2 * i;
        const unsigned first = (row[x / 4] >> (6 - 2 * (x % 4))) & 3;
        const unsigned second = x + 1 < width ? (row[(x + 1) / 4] >> (6 - 2 * ((x + 1) % 4))) & 3 : 0;
        row[i] = static_cast<uint8_t>(first << 4 | second);
    }
}

// The colour profile and the EXIF block of a PNG being read, or null when it has neither.
std::shared_ptr<const PhotoMetadata> ReadMetadata(png_structp png, png_infop info, uint32_t width, uint32_t height,
                                                  uint32_t& flags) {
    auto metadata = std::make_shared<PhotoMetadata>();
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileLength) && profile)
        metadata->IccProfile.assign(profile, profile + profileLength);
    // The EXIF block comes as an unknown chunk (see Decode), held to the chunk size limit.
    png_unknown_chunkp chunks = nullptr;
    const int count = png_get_unknown_chunks(png, info, &chunks);
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(chunks[i].name, "eXIf", 4) != 0 || !chunks[i].data) continue;
        std::vector<uint8_t> block(chunks[i].data, chunks[i].data + chunks[i].size);
        if (ExifReadable(block)) metadata->Exif = std::move(block);
        else flags |= IMAGE_FLAG_EXIF_DROPPED;
        break;
    }
    metadata->Width = width;
    metadata->Height = height;
    return metadata->Empty() ? nullptr : metadata;
}

// The profile, when it describes RGB, as every PNG this codec writes is in colour.
void SetProfile(png_structp png, png_infop info, const PhotoMetadata& metadata) {
    if (IccProfileFits(metadata.IccProfile, false)) {
        // A profile libpng finds fault with is left out with a warning, rather than failing the
        // whole picture.
        png_set_benign_errors(png, 1);
        png_set_iCCP(png, info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, metadata.IccProfile.data(),
                     static_cast<png_uint_32>(metadata.IccProfile.size()));
    }
}

}  // namespace

bool ImagePNG::Decode(Stream& s) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, DecodeError, Warning);
    if (!png) {
        SetLastError(kErrPngCreate);
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        SetLastError(kErrPngInfo);
        return false;
    }
    uint8_t* volatile buffer = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        std::free(buffer);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &s, ReadData);
    // A chunk's declared length is allocated before it is read, whatever it claims: chunks the
    // picture does not use (texts, animation) are skipped unread, and the rest held to
    // a size no real file needs.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, int(sizeof kIgnoredChunks / 5));
    // libpng's own eXIf reader allocates whatever length the chunk declares; kept as an unknown
    // chunk instead, it is refused beyond the limit below like any other chunk.
    static constexpr png_byte kExifChunk[] = "eXIf";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS, kExifChunk, 1);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    const int pixelDepth = bitDepth * png_get_channels(png, info);
    // 16-bit RGBA keeps its alpha like 8-bit RGBA: composited onto a background it would lose it.
    const bool deepRgba = colorType == PNG_COLOR_TYPE_RGB_ALPHA && bitDepth == 16;

    png_color_16p fileBackground = nullptr;
    const bool hasBackground = png_get_bKGD(png, info, &fileBackground) && fileBackground;
    // libpng takes a background without expansion at the rows' own depth, where grey 192 does
    // not exist for 1-, 2- and 4-bit grey. Transparent low-bit grey without bKGD is widened to
    // 8 bits instead, and its transparent level replaced by 192 here.
    png_color_16p greyTrans = nullptr;
    // A transparent level beyond the depth matches no pixel.
    const int top = bitDepth < 8 ? (1 << bitDepth) - 1 : 255;
    const bool widenGrey = pixelDepth != 32 && !deepRgba && !hasBackground && colorType == PNG_COLOR_TYPE_GRAY &&
                           bitDepth < 8 && png_get_tRNS(png, info, nullptr, nullptr, &greyTrans) && greyTrans &&
                           greyTrans->gray <= top;
    int transparentLevel = -1;  // the widened grey level that shows the background
    if (widenGrey) {
        transparentLevel = greyTrans->gray * (255 / top);
        png_set_expand_gray_1_2_4_to_8(png);
    } else if (pixelDepth != 32 && !deepRgba) {
        if (hasBackground) {
            png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        } else {
            png_color_16 grey{};
            grey.red = grey.green = grey.blue = grey.gray = 192;
            png_set_background(png, &grey, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
        }
    } else if (hasBackground) {
        Info.TransColor = RgbQuad{static_cast<uint8_t>(fileBackground->blue), static_cast<uint8_t>(fileBackground->green),
                                  static_cast<uint8_t>(fileBackground->red), 0};
    }
    if (bitDepth == 16) png_set_strip_16(png);

    const uint32_t bits = pixelDepth == 16 || widenGrey ? 8 : pixelDepth <= 8 ? uint32_t(pixelDepth) : 24;
    if (!Create(width, height, bits, IMAGE_FORMAT_PNG)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    Metadata = ReadMetadata(png, info, width, height, Info.Flags);

    png_uint_32 resX = 0, resY = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    png_get_pHYs(png, info, &resX, &resY, &unit);
    if (unit == PNG_RESOLUTION_METER) {
        SetXDPI(static_cast<int32_t>(std::floor(resX * 0.0254 + 0.5)));
        SetYDPI(static_cast<int32_t>(std::floor(resY * 0.0254 + 0.5)));
        // Keep the file's exact density where it converts back to the same DPI.
        if (resX <= INT32_MAX && Info.XDPI == std::floor(resX * 0.0254 + 0.5)) Header.XPelsPerMeter = int32_t(resX);
        if (resY <= INT32_MAX && Info.YDPI == std::floor(resY * 0.0254 + 0.5)) Header.YPelsPerMeter = int32_t(resY);
    } else {
        // Unit 0 gives only the pixels' aspect ratio, and no pHYs gives nothing: unknown, 96.
        SetXDPI(96);
        SetYDPI(96);
    }

    // The palette is read before libpng starts on the rows, which composites tRNS into its copy.
    png_colorp plte = nullptr;
    int plteCount = 0;
    if (png_get_PLTE(png, info, &plte, &plteCount) && plte) {
        SetPalette(reinterpret_cast<const RgbTriple*>(plte), uint32_t(plteCount));
    } else if (bitDepth == 2 && !widenGrey && Header.ClrUsed) {
        const uint8_t levels[4] = {0, 85, 170, 255};
        SetPalette(4, levels, levels, levels);
    } else if (Header.ClrUsed) {
        SetGrayPalette();
    }

    png_bytep trans = nullptr;
    int transCount = 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_tRNS(png, info, &trans, &transCount, nullptr) && trans &&
        transCount > 0) {
        RgbQuad* palette = GetPalette();
        for (uint32_t i = 0; i < Header.ClrUsed && i < uint32_t(transCount); ++i) palette[i].reserved = trans[i];
        if (transCount == 1 && trans[0] == 0) {
            Info.TransIndex = 0;
        } else {
            Info.AlphaPaletteEnabled = true;
            for (uint32_t i = uint32_t(transCount); i < Header.ClrUsed; ++i) palette[i].reserved = 255;
        }
    }

    const bool withAlpha = colorType == PNG_COLOR_TYPE_RGB_ALPHA ||
                           (colorType == PNG_COLOR_TYPE_GRAY_ALPHA && pixelDepth == 32);
    if (withAlpha) {
        if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            png_set_gray_to_rgb(png);
            png_set_expand(png);
        }
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        AlphaCreate();
        if (!Alpha) png_error(png, "Insufficient memory");
    }
    if (colorType & PNG_COLOR_MASK_COLOR) png_set_bgr(png);

    if (Info.Escape) png_error(png, "Cancelled");
    const int passes = png_set_interlace_handling(png);
    Info.CodecOption[IMAGE_FORMAT_PNG] = passes > 1 ? 1 : 0;
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    // Rows without alpha are read straight into the picture; check that they fit.
    if (withAlpha ? rowBytes < size_t(width) * 4 : rowBytes > Info.EffWidth) png_error(png, "Unexpected row size");
    if (withAlpha) {
        buffer = static_cast<uint8_t*>(std::malloc(rowBytes));
        if (!buffer) png_error(png, "Insufficient memory");
    }

    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t j = 0; j < height; ++j) {
            if (Info.Escape) png_error(png, "Cancelled");
            const uint32_t y = height - 1 - j;
            uint8_t* row = GetBits(y);
            if (!withAlpha) {
                png_read_row(png, row, nullptr);
                if (bitDepth == 2 && !widenGrey && pass == passes - 1) WidenTwoBitRow(row, width);
                if (transparentLevel >= 0 && pass == passes - 1)
                    for (uint32_t x = 0; x < width; ++x)
                        if (row[x] == transparentLevel) row[x] = 192;
                continue;
            }
            uint8_t* b = buffer;
            const uint8_t* a = Alpha + size_t(y) * width;
            if (pass > 0) {
                for (uint32_t x = 0; x < width; ++x) {
                    std::memcpy(b + 4 * size_t(x), row + 3 * size_t(x), 3);
                    b[4 * size_t(x) + 3] = a[x];
                }
            }
            png_read_row(png, b, nullptr);
            uint8_t* alphaRow = Alpha + size_t(y) * width;
            for (uint32_t x = 0; x < width; ++x) {
                std::memcpy(row + 3 * size_t(x), b + 4 * size_t(x), 3);
                alphaRow[x] = b[4 * size_t(x) + 3];
            }
        }
    }
    png_read_end(png, nullptr);
    std::free(buffer);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool ImagePNG::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, EncodeError, Warning);
    if (!png) {
        SetLastError(kErrPngCreate);
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        SetLastError(kErrPngInfo);
        return false;
    }
    uint8_t* volatile buffer = nullptr;
    volatile bool temporaryAlpha = false;
    // Made before the jump point, so that a jump back releases it on the way out.
    std::vector<uint8_t> exif;
    if (setjmp(png_jmpbuf(png))) {
        std::free(buffer);
        if (temporaryAlpha) {
            std::free(Alpha);
            Alpha = nullptr;
        }
        png_destroy_write_struct(&png, &info);
        SetLastError(kErrPngSave);
        return false;
    }
    png_set_write_fn(png, &s, WriteData, FlushData);

    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const uint32_t bpp = Header.BitCount;
    const bool paletted = Header.ClrUsed != 0;
    const int interlace = Info.CodecOption[IMAGE_FORMAT_PNG] == 1 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE;

    png_set_pHYs(png, info, static_cast<png_uint_32>(Header.XPelsPerMeter),
                 static_cast<png_uint_32>(Header.YPelsPerMeter), PNG_RESOLUTION_METER);

    png_color plte[256];
    png_byte trans[256];
    int plteCount = 0;
    int transCount = 0;
    if (paletted) {
        if (Info.TransIndex >= 0 && uint32_t(Info.TransIndex) < Header.ClrUsed) {
            trans[0] = 0;
            transCount = 1;
            if (Info.TransIndex != 0) {
                // The transparent colour moves to entry 0; the caller's picture follows, as it
                // shares the pixels and the palette.
                SwapIndex(0, static_cast<uint8_t>(Info.TransIndex));
                Info.TransIndex = 0;
                if (Info.GhostOf) Info.GhostOf->Info.TransIndex = 0;
            }
        }
        uint32_t n = Header.ClrUsed;
        if (n > 2 && uint64_t{width} * height < 65536) {
            uint32_t highest = 0;
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t i = GetPixelIndex(int32_t(x), int32_t(y));
                    if (i > highest) highest = i;
                }
            }
            n = highest + 1;
        }
        const RgbQuad* palette = GetPalette();
        if (Info.AlphaPaletteEnabled) {
            for (uint32_t i = 0; i < n; ++i) trans[i] = palette[i].reserved;
            transCount = int(n);
        }
        for (uint32_t i = 0; i < n; ++i) plte[i] = png_color{palette[i].red, palette[i].green, palette[i].blue};
        plteCount = int(n);
    }

    if (bpp == 24 && Info.TransIndex >= 0) {
        if (!Alpha) {
            AlphaCreate();
            if (!Alpha) png_error(png, "Insufficient memory");
            temporaryAlpha = true;
        }
        const RgbQuad t = GetTransColor();
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* p = GetBits(y);
            for (uint32_t x = 0; x < width; ++x, p += 3) {
                if (p[0] == t.blue && p[1] == t.green && p[2] == t.red) Alpha[x + size_t(y) * width] = 0;
            }
        }
    }

    const bool rgba = Alpha != nullptr;
    const int colorType = rgba ? PNG_COLOR_TYPE_RGB_ALPHA : paletted ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB;
    const int bitDepth = rgba ? 8 : paletted ? int(bpp) : 8;
    png_set_IHDR(png, info, width, height, bitDepth, colorType, interlace, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (plteCount) png_set_PLTE(png, info, plte, plteCount);
    if (transCount && !rgba) png_set_tRNS(png, info, trans, transCount, nullptr);
    png_color_16 background{};
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        background.index = Info.TransIndex == 0 ? 0 : GetNearestIndex(RgbQuad{255, 255, 255, 0});
    } else {
        const RgbQuad c = Info.TransIndex != -1 ? GetTransColor() : RgbQuad{255, 255, 255, 0};
        background.red = c.red;
        background.green = c.green;
        background.blue = c.blue;
    }
    png_set_bKGD(png, info, &background);
    if (Metadata) SetProfile(png, info, *Metadata);
    png_write_info(png, info);
    // The EXIF block goes right after the header chunks: libpng would write it after the pixels,
    // where readers may not look for it.
    if (Metadata && !(Info.Flags & IMAGE_FLAG_NO_EXIF)) exif = ExifForOutput(*Metadata, width, height);
    if (!exif.empty()) png_write_chunk(png, reinterpret_cast<png_const_bytep>("eXIf"), exif.data(), exif.size());
    if (!paletted && !rgba) png_set_bgr(png);

    if (rgba) {
        buffer = static_cast<uint8_t*>(std::malloc(size_t(width) * 4));
        if (!buffer) png_error(png, "Insufficient memory");
    }
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t j = 0; j < height; ++j) {
            const uint32_t y = height - 1 - j;
            if (!rgba) {
                png_write_row(png, GetBits(y));
                continue;
            }
            uint8_t* b = buffer;
            for (uint32_t x = 0; x < width; ++x, b += 4) {
                const RgbQuad c = GetPixelColor(int32_t(x), int32_t(y), false);
                b[0] = c.red;
                b[1] = c.green;
                b[2] = c.blue;
                b[3] = static_cast<uint8_t>(Alpha[x + size_t(y) * width] * Info.AlphaMax / 255);
            }
            png_write_row(png, buffer);
        }
    }
    png_write_end(png, info);
    std::free(buffer);
    if (temporaryAlpha) {
        std::free(Alpha);
        Alpha = nullptr;
    }
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace ruvelto::image

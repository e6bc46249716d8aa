#include "image/tiff_codec.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "image/photo_metadata.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr char kOpenFailed[] = "Error encountered while opening TIFF file";
constexpr char kNoPage[] = "Error: page not present in TIFF file";
constexpr char kDimensionsOnly[] = "output dimensions returned";
constexpr char kCantCreate[] = "ImageTIF can't create image";
constexpr char kNoRaster[] = "No space for raster buffer";
constexpr char kCorrupted[] = "Corrupted TIFF file!";
constexpr char kCorruptedTiled[] = "Corrupted tiled TIFF file!";
constexpr char kNoMemory[] = "ImageTIF can't allocate memory";
constexpr char kCancelled[] = "Cancelled";
constexpr char kUnsupported[] = "ImageTIF: unsupported sample layout";
constexpr char kInitFailed[] = "initialization fail";
constexpr char kDirectoryFailed[] = "Error saving TIFF directory";
constexpr char kFileFailed[] = "Error saving TIFF file";

// No single libtiff allocation may outgrow what the image object itself could hold.
constexpr tmsize_t kMaxLibraryAllocation = tmsize_t(256) << 20;

tmsize_t ReadProc(thandle_t h, void* buffer, tmsize_t size) {
    return tmsize_t(static_cast<Stream*>(h)->Read(buffer, 1, size_t(size)));
}
tmsize_t WriteProc(thandle_t h, void* buffer, tmsize_t size) {
    return tmsize_t(static_cast<Stream*>(h)->Write(buffer, 1, size_t(size)));
}
toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    Stream* s = static_cast<Stream*>(h);
    // libtiff passes negative relative offsets as their two's complement.
    if (!s->Seek(int64_t(offset), whence)) return toff_t(-1);
    return toff_t(s->Tell());
}
int CloseProc(thandle_t) { return 0; }  // the stream belongs to the caller
toff_t SizeProc(thandle_t h) { return toff_t(static_cast<Stream*>(h)->Size()); }
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int KeepError(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    char* out = static_cast<char*>(user);
    int n = std::snprintf(out, 256, "%s: ", module ? module : "TIFF");
    if (n < 0 || n >= 256) n = 0;
    std::vsnprintf(out + n, size_t(256 - n), fmt, ap);
    return 1;
}
int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// The 16-bit colour map of a palette file; some writers put 8-bit values there.
void InstallColorMap(Image& image, TIFF* tif, uint32_t entries) {
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) || !r || !g || !b) return;
    bool eightBit = true;
    for (uint32_t i = 0; i < entries; ++i) eightBit &= r[i] < 256 && g[i] < 256 && b[i] < 256;
    const int shift = eightBit ? 0 : 8;
    for (uint32_t i = 0; i < entries && i < image.Header.ClrUsed; ++i)
        image.SetPaletteColor(uint8_t(i), uint8_t(r[i] >> shift), uint8_t(g[i] >> shift), uint8_t(b[i] >> shift));
}

}  // namespace

TiffCodec::~TiffCodec() { TIFFCloseEx(); }

bool TiffCodec::Fail(const char* text) {
    SetLastError(text);
    return false;
}

TIFF* TiffCodec::TIFFOpenEx(Stream& stream, const char* mode) {
    TIFFCloseEx();
    libraryError[0] = 0;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, libraryError);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    handle_ = TIFFClientOpenExt("stream", mode, &stream, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    return handle_;
}

void TiffCodec::TIFFCloseEx() {
    if (handle_) TIFFClose(handle_);
    handle_ = nullptr;
}

bool TiffCodec::Decode(Stream& s) {
    TIFF* tif = TIFFOpenEx(s, "rm");
    if (!tif) return Fail(kOpenFailed);
    Info.NumFrames = TIFFNumberOfDirectories(tif);
    if (Info.Frame < 0 || Info.Frame >= Info.NumFrames || !TIFFSetDirectory(tif, tdir_t(Info.Frame)))
        return Fail(kNoPage);

    uint32_t width = 0, height = 0;
    uint16_t spp = 1, bps = 1, photometric = PHOTOMETRIC_MINISBLACK, compression = COMPRESSION_NONE;
    uint16_t orientation = ORIENTATION_TOPLEFT, resUnit = RESUNIT_INCH, sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    float xres = 0, yres = 0, xpos = 0, ypos = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = spp >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISWHITE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &resUnit);
    Info.CodecOption[IMAGE_FORMAT_TIF] = compression;
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres)) {
        if (resUnit == RESUNIT_CENTIMETER) {
            xres *= 2.54f;
            yres *= 2.54f;
        }
        // Out-of-range resolutions (including NaN) fall back to the default like zero does.
        SetXDPI(xres >= 1 && xres < 1e6f ? int32_t(xres) : 0);
        SetYDPI(yres >= 1 && yres < 1e6f ? int32_t(yres) : 0);
    }
    if (TIFFGetField(tif, TIFFTAG_XPOSITION, &xpos) && xpos >= 0 && xpos < 1e6f) Info.OffsetX = int32_t(xpos * float(Info.XDPI));
    if (TIFFGetField(tif, TIFFTAG_YPOSITION, &ypos) && ypos >= 0 && ypos < 1e6f) Info.OffsetY = int32_t(ypos * float(Info.YDPI));
    if (width == 0 || height == 0) return Fail(kCorrupted);

    if (Info.Escape == -1) {
        const bool turned = orientation >= ORIENTATION_LEFTTOP && orientation <= ORIENTATION_LEFTBOT;
        Header.Width = int32_t(turned ? height : width);
        Header.Height = int32_t(turned ? width : height);
        SetLastError(kDimensionsOnly);
        return true;
    }
    // Signed and floating-point samples have no single sound mapping to 8-bit pixels.
    if (sampleFormat != SAMPLEFORMAT_UINT && sampleFormat != SAMPLEFORMAT_VOID) return Fail(kUnsupported);

    if (extraCount >= spp) return Fail(kCorrupted);  // extra samples beside no colour at all
    const uint32_t colourSamples = spp - extraCount;
    // libtiff's conversion mixes up separate planes of grey and alpha, and a palette index has
    // no room for further samples.
    uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    if (photometric == PHOTOMETRIC_PALETTE && spp != 1) return Fail(kUnsupported);
    if (photometric <= PHOTOMETRIC_MINISBLACK && spp == 2 && planar == PLANARCONFIG_SEPARATE) return Fail(kUnsupported);
    const bool grey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    const bool palette = photometric == PHOTOMETRIC_PALETTE;
    uint32_t bits = 24;
    if ((grey || palette) && colourSamples == 1) bits = bps == 1 ? 1 : bps == 4 ? 4 : 8;
    // Palette and single-sample grey data are read as samples; everything else through libtiff's
    // RGBA conversion, which knows the colour spaces, subsampling and alpha.
    const bool indexed = bits <= 8 && (palette || grey) && spp == 1 && (bps == 1 || bps == 2 || bps == 4 || bps == 8 || bps == 16) &&
                         !(palette && bps == 16);
    if (!indexed && !TIFFIsCODECConfigured(compression)) return Fail(kUnsupported);

    if (!Create(width, height, bits, IMAGE_FORMAT_TIF)) return Fail(kCantCreate);
    Info.CodecOption[IMAGE_FORMAT_TIF] = compression;
    const bool alpha = extraCount > 0 && ((bits == 24 && spp >= 4) || (bits == 8 && spp == 2 && bps == 8));
    if (alpha) {
        AlphaCreate();
        if (!Alpha) return Fail(kNoMemory);
    }
    if (Info.Escape) return Fail(kCancelled);

    if (!(indexed ? DecodeIndexed(tif, bits) : DecodeRgba(tif, bits))) return false;
    if (grey || palette) {
        if (grey && bits <= 8) {
            const uint32_t n = Header.ClrUsed;
            for (uint32_t i = 0; i < n; ++i) {
                uint8_t v = uint8_t(i * 255 / (n - 1));
                if (photometric == PHOTOMETRIC_MINISWHITE && indexed) v = uint8_t(255 - v);
                SetPaletteColor(uint8_t(i), v, v, v);
            }
        } else if (palette && indexed) {
            InstallColorMap(*this, tif, 1u << (bps > 8 ? 8 : bps));
        }
    }
    TIFFCloseEx();
    // The rows are in stored order; TIFF and EXIF number the orientations alike.
    return TurnUpright(*this, orientation);
}

// Palette and grey data, one sample a pixel: the samples become palette indices as they are
// (1, 4 and 8 bits), spread over the 256 levels (2 bits) or cut to their high byte (16 bits).
bool TiffCodec::DecodeIndexed(TIFF* tif, uint32_t bits) {
    const uint32_t width = GetWidth(), height = GetHeight();
    uint16_t bps = 1, photometric = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    const bool spreadLevels = bps == 2 && photometric != PHOTOMETRIC_PALETTE;
    const bool tiled = TIFFIsTiled(tif);
    const char* corrupted = tiled ? kCorruptedTiled : kCorrupted;

    // Rows of samples as they are stored, from the top, into the picture's bottom-up rows.
    const auto putRow = [&](uint32_t r, const uint8_t* src) {
        uint8_t* dst = GetBits(height - 1 - r);
        if (bits == uint32_t(bps)) {
            std::memcpy(dst, src, (size_t(width) * bps + 7) / 8);
        } else if (bps == 2) {
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t v = uint8_t((src[x / 4] >> (6 - 2 * (x % 4))) & 3);
                dst[x] = spreadLevels ? uint8_t(v * 85) : v;
            }
        } else {  // 16 bits, in the machine's order after libtiff's swab
            const uint16_t* p = reinterpret_cast<const uint16_t*>(src);
            for (uint32_t x = 0; x < width; ++x) dst[x] = uint8_t(p[x] >> 8);
        }
    };

    if (!tiled) {
        const tmsize_t lineSize = TIFFScanlineSize(tif);
        if (lineSize <= 0 || uint64_t(lineSize) * 8 < uint64_t{width} * bps) return Fail(corrupted);
        std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[size_t(lineSize) + 2]);
        if (!line) return Fail(kNoMemory);
        for (uint32_t r = 0; r < height; ++r) {
            if (Info.Escape) return Fail(kCancelled);
            if (TIFFReadScanline(tif, line.get(), r, 0) < 0) return Fail(corrupted);
            putRow(r, line.get());
        }
        return true;
    }

    uint32_t tileWidth = 0, tileLength = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
    const tmsize_t tileSize = TIFFTileSize(tif);
    const tmsize_t tileRow = TIFFTileRowSize(tif);
    if (tileWidth == 0 || tileLength == 0 || tileSize <= 0 || tileRow <= 0 || (uint64_t{tileWidth} * bps) % 8)
        return Fail(corrupted);
    const uint32_t across = (width + tileWidth - 1) / tileWidth;
    const size_t bandRow = size_t(across) * size_t(tileRow);
    std::vector<uint8_t> tile, band;
    try {
        tile.resize(size_t(tileSize));
        band.resize(bandRow * tileLength);
    } catch (const std::bad_alloc&) {
        return Fail(kNoMemory);
    }
    for (uint32_t top = 0; top < height; top += tileLength) {
        if (Info.Escape) return Fail(kCancelled);
        for (uint32_t t = 0; t < across; ++t) {
            if (TIFFReadTile(tif, tile.data(), t * tileWidth, top, 0, 0) < 0) return Fail(corrupted);
            for (uint32_t k = 0; k < tileLength; ++k)
                std::memcpy(&band[k * bandRow + t * size_t(tileRow)], &tile[k * size_t(tileRow)], size_t(tileRow));
        }
        for (uint32_t k = 0; k < tileLength && top + k < height; ++k) putRow(top + k, &band[k * bandRow]);
    }
    return true;
}

// Everything else through libtiff's RGBA raster, read in stored order (no flips), alpha included.
bool TiffCodec::DecodeRgba(TIFF* tif, uint32_t bits) {
    const uint32_t width = GetWidth(), height = GetHeight();
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) {
        SetLastError(message[0] ? message : kUnsupported);
        return false;
    }
    TIFFRGBAImage img;
    if (!TIFFRGBAImageBegin(&img, tif, 0, message)) {
        SetLastError(message[0] ? message : kUnsupported);
        return false;
    }
    // Asking for the file's own orientation leaves the rows as stored; they are turned upright after.
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    img.req_orientation = orientation;
    std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[size_t(width) * height]);
    if (!raster) {
        TIFFRGBAImageEnd(&img);
        return Fail(kNoRaster);
    }
    const int got = TIFFRGBAImageGet(&img, raster.get(), width, height);
    TIFFRGBAImageEnd(&img);
    if (!got) return Fail(libraryError[0] ? libraryError : kCorrupted);

    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = height - 1 - r;
        uint8_t* dst = GetBits(y);
        const uint32_t* src = raster.get() + size_t(r) * width;
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = src[x];
            uint32_t red = TIFFGetR(p), green = TIFFGetG(p), blue = TIFFGetB(p);
            const uint32_t a = TIFFGetA(p);
            // libtiff hands colour with alpha back premultiplied (unassociated alpha it multiplies
            // itself; grey it leaves alone); the picture keeps straight colour.
            if (bits == 24 && a && a < 255) {
                red = std::min<uint32_t>(255, (red * 255 + a / 2) / a);
                green = std::min<uint32_t>(255, (green * 255 + a / 2) / a);
                blue = std::min<uint32_t>(255, (blue * 255 + a / 2) / a);
            }
            if (bits == 8) {
                dst[x] = uint8_t(red);
            } else {
                dst[3 * x] = uint8_t(blue);
                dst[3 * x + 1] = uint8_t(green);
                dst[3 * x + 2] = uint8_t(red);
            }
            if (Alpha) Alpha[size_t(y) * width + x] = uint8_t(a);
        }
    }
    return true;
}

bool TiffCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    TIFF* tif = TIFFOpenEx(s, "w");
    if (!tif) return Fail(kInitFailed);
    const bool written = EncodeBody(tif, false, 0, 1);
    TIFFCloseEx();
    return written;
}

bool TiffCodec::EncodePages(Stream& s, Image* const* pages, int32_t count) {
    if (!pages || count <= 0) return Fail(kErrNoPicture);
    for (int32_t i = 0; i < count; ++i)
        if (!pages[i] || !pages[i]->IsValid()) return Fail(kErrNoPicture);
    TIFF* tif = TIFFOpenEx(s, "w");
    if (!tif) return Fail(kInitFailed);
    for (pageCounter_ = 0; pageCounter_ < count; ++pageCounter_) {
        TiffCodec page;
        page.Ghost(*pages[pageCounter_]);
        page.Info.CodecOption[IMAGE_FORMAT_TIF] = pages[pageCounter_]->Info.CodecOption[IMAGE_FORMAT_TIF];
        std::memcpy(page.libraryError, libraryError, sizeof libraryError);
        if (!page.EncodeBody(tif, true, pageCounter_, count)) {
            SetLastError(page.Info.LastError);
            TIFFCloseEx();
            return false;
        }
    }
    TIFFCloseEx();
    return true;
}

bool TiffCodec::EncodeBody(TIFF* tif, bool multiPage, int32_t page, int32_t pageCount) {
    if (!tif || !Dib) return Fail(kErrNoPicture);
    const uint32_t width = GetWidth(), height = GetHeight();
    const uint32_t bpp = GetBpp();
    const RgbQuad* palette = GetPalette();
    // Palette data has one sample a pixel in TIFF, with no room for alpha: a colour palette
    // picture with an alpha plane goes out as RGBA instead. A grey one keeps grey and alpha.
    const bool paletteAsRgba = bpp == 8 && Alpha && palette && !IsGrayScale();
    const bool rgb = bpp == 24 || paletteAsRgba;
    const uint16_t spp = rgb ? (Alpha ? 4 : 3) : (bpp == 8 && Alpha ? 2 : 1);
    const uint16_t bps = uint16_t(rgb ? 8 : bpp);

    uint16_t photometric = PHOTOMETRIC_RGB;
    bool invert = false;
    if (rgb) {
        photometric = PHOTOMETRIC_RGB;
    } else if (bpp == 1) {
        // Min-is-white: 0 is white. A picture whose colour 0 is the darker one goes out inverted.
        photometric = PHOTOMETRIC_MINISWHITE;
        invert = CompareColors(palette[0], palette[1]) < 0;
    } else if (bpp <= 8) {
        photometric = IsGrayScale() ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE;
    }

    uint16_t compression = uint16_t(Info.CodecOption[IMAGE_FORMAT_TIF]);
    if (compression == 0)
        compression = bpp == 1 ? COMPRESSION_CCITTFAX4 : bpp <= 8 ? COMPRESSION_LZW : COMPRESSION_JPEG;

    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, spp);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bps);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(Info.XDPI));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(Info.YDPI));
    if (spp == 2 || spp == 4) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (multiPage) {
        char name[32];
        std::snprintf(name, sizeof name, "Page %d", page + 1);
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(page), uint16_t(pageCount));
        TIFFSetField(tif, TIFFTAG_PAGENAME, name);
    } else {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
    }
    if (photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> map(3 * 256, 0);
        const uint32_t n = 1u << bpp;
        for (uint32_t i = 0; i < n && i < Header.ClrUsed; ++i) {
            map[i] = uint16_t(palette[i].red * 65535 / 255);
            map[256 + i] = uint16_t(palette[i].green * 65535 / 255);
            map[512 + i] = uint16_t(palette[i].blue * 65535 / 255);
        }
        // libtiff takes 2^bits entries per channel.
        std::vector<uint16_t> r(map.begin(), map.begin() + n), g(map.begin() + 256, map.begin() + 256 + n),
            b(map.begin() + 512, map.begin() + 512 + n);
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    if (!TIFFSetField(tif, TIFFTAG_COMPRESSION, compression)) return Fail(kFileFailed);
    uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0);
    if (compression == COMPRESSION_LZW && bps >= 8) TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, int(Info.JpegQuality));
        rowsPerStrip = (rowsPerStrip + 7) / 8 * 8;
    }
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

    const tmsize_t lineSize = TIFFScanlineSize(tif);
    if (lineSize <= 0) return Fail(kFileFailed);
    std::vector<uint8_t> line(size_t(lineSize) + 4);
    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = height - 1 - r;
        const uint8_t* src = GetBits(y);
        const uint8_t* a = Alpha ? Alpha + size_t(y) * width : nullptr;
        if (bpp == 24) {
            for (uint32_t x = 0; x < width; ++x) {
                uint8_t* d = &line[size_t(x) * spp];
                d[0] = src[3 * x + 2];
                d[1] = src[3 * x + 1];
                d[2] = src[3 * x];
                if (a) d[3] = a[x];
            }
        } else if (paletteAsRgba) {
            for (uint32_t x = 0; x < width; ++x) {
                uint8_t* d = &line[size_t(x) * spp];
                const RgbQuad c = src[x] < Header.ClrUsed ? palette[src[x]] : RgbQuad{};
                d[0] = c.red;
                d[1] = c.green;
                d[2] = c.blue;
                d[3] = a[x];
            }
        } else if (spp == 2) {
            for (uint32_t x = 0; x < width; ++x) {
                line[2 * size_t(x)] = src[x];
                line[2 * size_t(x) + 1] = a[x];
            }
        } else {
            const size_t n = (size_t(width) * bpp + 7) / 8;
            for (size_t i = 0; i < n; ++i) line[i] = invert ? uint8_t(~src[i]) : src[i];
        }
        if (TIFFWriteScanline(tif, line.data(), r, 0) < 0) return Fail(kFileFailed);
    }
    if (!TIFFWriteDirectory(tif)) return Fail(kDirectoryFailed);
    return true;
}

}  // namespace ruvelto::image

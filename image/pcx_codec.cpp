#include "image/pcx_codec.h"

#include <cstring>
#include <vector>

#include "image/byte_order.h"
#include "image/mem_stream.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr char kCantRead[] = "Can't read PCX image";
constexpr char kNotPcx[] = "Error: Not a PCX file";
constexpr char kUnknownEncoding[] = "PCX file has unknown encoding scheme";
constexpr char kTooManyPlanes[] = "Can't handle image with more than 4 planes";
constexpr char kSpansEnd[] = "repeat count spans end of image";
constexpr char kCorrupted[] = "corrupted PCX";
constexpr char kBadMapSignature[] = "bad color map signature";
constexpr char kPackedPlanes[] = "Can't handle packed pixels with more than 1 plane.";
constexpr char kMoreThan1Bit[] = "Can't handle more than 1 bit per pixel";
constexpr char kCancelled[] = "Cancelled";
constexpr char kCantWriteHeader[] = "cannot write PCX header";

constexpr size_t kHeaderSize = 128;
constexpr uint8_t kMapSignature = 12;

// The run-length coded bytes of all rows, handed out a row at a time. Runs may cross rows; a run
// longer than what is left of the picture is an error.
class RunReader {
public:
    RunReader(Stream& s, bool coded, uint64_t total) : s_(s), coded_(coded), left_(total) {}
    const char* Fill(uint8_t* out, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            while (count_ == 0) {
                int b = Next();
                if (b < 0) return kCorrupted;
                if (coded_ && b >= 0xC0) {
                    count_ = uint32_t(b & 0x3F);
                    b = Next();
                    if (b < 0) return kCorrupted;
                    if (count_ > left_) return kSpansEnd;
                } else {
                    count_ = 1;
                }
                value_ = uint8_t(b);
            }
            out[i] = value_;
            --count_;
            --left_;
        }
        return nullptr;
    }

private:
    int Next() {
        if (pos_ == len_) {
            len_ = s_.Read(buf_, 1, sizeof buf_);
            pos_ = 0;
            if (len_ == 0) return -1;
        }
        return buf_[pos_++];
    }
    Stream& s_;
    bool coded_;
    uint64_t left_;
    uint32_t count_ = 0;
    uint8_t value_ = 0;
    uint8_t buf_[4096];
    size_t pos_ = 0;
    size_t len_ = 0;

public:
    // The stream position just after the last byte the runs used.
    int64_t Consumed() { return s_.Tell() - int64_t(len_ - pos_); }
};

// Runs of up to 63 equal bytes; a single byte below 192 stands for itself.
void EncodeRuns(const uint8_t* p, size_t n, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < n;) {
        size_t run = 1;
        while (i + run < n && run < 63 && p[i + run] == p[i]) ++run;
        if (run == 1 && p[i] < 0xC0) {
            out.push_back(p[i]);
        } else {
            out.push_back(uint8_t(0xC0 | run));
            out.push_back(p[i]);
        }
        i += run;
    }
}

int Brightness(RgbQuad c) { return c.red * 306 + c.green * 601 + c.blue * 117; }

}  // namespace

bool PcxCodec::Fail(const char* text) {
    SetLastError(text);
    return false;
}

bool PcxCodec::Decode(Stream& s) {
    const int64_t start = s.Tell();
    uint8_t h[kHeaderSize];
    if (s.Read(h, kHeaderSize, 1) != 1) return Fail(kCantRead);
    if (h[0] != 10) return Fail(kNotPcx);
    // Encoding 0 (uncompressed) is rare but written by some programs; anything else is unknown.
    if (h[2] != 1 && h[2] != 0) return Fail(kUnknownEncoding);
    const bool coded = h[2] == 1;
    const uint32_t bits = h[3];
    // The window corners are unsigned: a picture may be up to 65536 pixels wide or high.
    const uint32_t xmin = LoadLE16(h + 4), ymin = LoadLE16(h + 6);
    const uint32_t xmax = LoadLE16(h + 8), ymax = LoadLE16(h + 10);
    const uint32_t planes = h[65];
    const uint32_t bytesPerLine = LoadLE16(h + 66);
    if (planes > 4) return Fail(kTooManyPlanes);
    if (xmax < xmin || ymax < ymin || planes == 0) return Fail(kCorrupted);
    const uint32_t width = xmax - xmin + 1, height = ymax - ymin + 1;

    // The layouts there are: packed pixels on one plane, bit planes, and 8-bit colour planes.
    uint32_t createBits;
    if (planes == 1) {
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return Fail(kMoreThan1Bit);
        createBits = bits;
    } else if (bits == 8) {
        if (planes < 3) return Fail(kPackedPlanes);
        createBits = 24;
    } else if (bits == 1) {
        createBits = 4;  // two to four bit planes make a palette index of up to 4 bits
    } else {
        return Fail(kPackedPlanes);
    }
    if (uint64_t{bytesPerLine} * 8 < uint64_t{width} * bits) return Fail(kCorrupted);

    // Before allocating: the picture must be within the image object's bound, and the data must
    // be able to fill it (a coded pair gives 63 bytes).
    if (!FitsPixelMemoryBound(width, height, createBits)) return Fail(kErrMemoryBound);
    const size_t rowBytes = size_t(bytesPerLine) * planes;
    const uint64_t total = uint64_t{rowBytes} * height;
    const uint64_t remaining = uint64_t(s.Remaining());
    if (remaining == 0 || (coded ? remaining * 63 / 2 : remaining) < total) return Fail(kCorrupted);

    if (!Create(width, height, createBits, IMAGE_FORMAT_PCX)) return false;  // Create said why
    SetXDPI(LoadLE16(h + 12));
    SetYDPI(LoadLE16(h + 14));
    if (planes == 4 && bits == 8) {
        AlphaCreate();
        if (!Alpha) return Fail(kErrNoMemory);
    }

    std::vector<uint8_t> row(rowBytes);
    RunReader runs(s, coded, total);
    for (uint32_t i = 0; i < height; ++i) {
        if (Info.Escape) return Fail(kCancelled);
        if (const char* error = runs.Fill(row.data(), rowBytes)) return Fail(error);
        const int32_t y = int32_t(height - 1 - i);
        uint8_t* dst = GetBits(uint32_t(y));
        if (createBits == 24) {
            const uint8_t* r = row.data();
            const uint8_t* g = r + bytesPerLine;
            const uint8_t* b = g + bytesPerLine;
            for (uint32_t x = 0; x < width; ++x) {
                dst[3 * x] = b[x];
                dst[3 * x + 1] = g[x];
                dst[3 * x + 2] = r[x];
            }
            if (Alpha) std::memcpy(Alpha + size_t(y) * width, b + bytesPerLine, width);
        } else if (planes == 1 && bits != 2) {
            std::memcpy(dst, row.data(), (size_t(width) * bits + 7) / 8);
        } else if (planes == 1) {
            for (uint32_t x = 0; x < width; ++x)
                SetPixelIndex(int32_t(x), y, uint8_t((row[x / 4] >> (6 - 2 * (x % 4))) & 3));
        } else {
            for (uint32_t x = 0; x < width; ++x) {
                uint8_t index = 0;
                for (uint32_t p = 0; p < planes; ++p)
                    index |= uint8_t(((row[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p);
                SetPixelIndex(int32_t(x), y, index);
            }
        }
    }

    if (bits == 8 && planes == 1) {
        // The 256-colour map follows the data behind a signature byte; some writers pad the data,
        // so the map is also looked for where it ends the file.
        uint8_t map[1 + 768];
        const int64_t after = runs.Consumed();
        const int64_t atEnd = s.Size() - int64_t(sizeof map);
        bool found = s.Seek(after, kSeekSet) && s.Read(map, sizeof map, 1) == 1 && map[0] == kMapSignature;
        if (!found && atEnd >= start + int64_t(kHeaderSize) && atEnd != after)
            found = s.Seek(atEnd, kSeekSet) && s.Read(map, sizeof map, 1) == 1 && map[0] == kMapSignature;
        if (!found) return Fail(kBadMapSignature);
        for (uint32_t i = 0; i < 256; ++i) SetPaletteColor(uint8_t(i), map[1 + 3 * i], map[2 + 3 * i], map[3 + 3 * i]);
    } else if (bits == 1 && planes == 1) {
        SetPaletteColor(0, 0, 0, 0);
        SetPaletteColor(1, 255, 255, 255);
    } else if (createBits != 24) {
        for (uint32_t i = 0; i < 16 && i < Header.ClrUsed; ++i)
            SetPaletteColor(uint8_t(i), h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
    }
    return true;
}

bool PcxCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    const uint32_t bpp = GetBpp();
    const uint32_t width = GetWidth(), height = GetHeight();
    const uint32_t bits = bpp >= 8 ? 8 : 1;
    const uint32_t planes = bpp == 24 ? (Alpha ? 4 : 3) : bpp == 4 ? 4 : 1;
    uint32_t bytesPerLine = bits == 8 ? width : (width + 7) / 8;
    bytesPerLine += bytesPerLine & 1;
    if (bytesPerLine > 0xFFFF || width > 0x10000 || height > 0x10000) return Fail(kCantWriteHeader);

    uint8_t h[kHeaderSize] = {10, 5, 1, uint8_t(bits)};
    StoreLE16(h + 8, width - 1);
    StoreLE16(h + 10, height - 1);
    StoreLE16(h + 12, uint32_t(Info.XDPI));
    StoreLE16(h + 14, uint32_t(Info.YDPI));
    const RgbQuad* palette = GetPalette();
    const bool mono = bpp == 1;
    // 1-bit pictures are written black and white; a picture whose colour 0 is the brighter one
    // has its bits inverted so that its pixels keep their look.
    const bool invert = mono && Brightness(palette[0]) > Brightness(palette[1]);
    for (uint32_t i = 0; i < 16; ++i) {
        RgbQuad c{};
        if (mono) c = i == 1 ? RgbQuad{255, 255, 255, 0} : RgbQuad{};
        else if (palette && i < Header.ClrUsed) c = palette[i];
        h[16 + 3 * i] = c.red;
        h[17 + 3 * i] = c.green;
        h[18 + 3 * i] = c.blue;
    }
    h[65] = uint8_t(planes);
    StoreLE16(h + 66, bytesPerLine);
    StoreLE16(h + 68, 1);
    if (s.Write(h, kHeaderSize, 1) != 1) return Fail(kCantWriteHeader);

    std::vector<uint8_t> plane(bytesPerLine);
    std::vector<uint8_t> coded;
    coded.reserve(size_t(bytesPerLine) * planes * 2);
    MemStream buffer;
    for (uint32_t i = 0; i < height; ++i) {
        const int32_t y = int32_t(height - 1 - i);
        const uint8_t* src = GetBits(uint32_t(y));
        coded.clear();
        for (uint32_t p = 0; p < planes; ++p) {
            std::fill(plane.begin(), plane.end(), 0);
            if (bpp == 24) {
                static constexpr int kChannel[3] = {2, 1, 0};  // red, green, blue out of B, G, R
                for (uint32_t x = 0; x < width; ++x)
                    plane[x] = p < 3 ? src[3 * x + kChannel[p]] : Alpha[size_t(y) * width + x];
            } else if (bpp == 8) {
                std::memcpy(plane.data(), src, width);
            } else if (mono) {
                std::memcpy(plane.data(), src, (width + 7) / 8);
                if (invert)
                    for (uint8_t& b : plane) b = uint8_t(~b);
                if (width % 8) plane[(width - 1) / 8] &= uint8_t(0xFF << (8 - width % 8));
            } else {
                for (uint32_t x = 0; x < width; ++x)
                    if ((GetPixelIndex(int32_t(x), y) >> p) & 1) plane[x / 8] |= uint8_t(0x80 >> (x % 8));
            }
            EncodeRuns(plane.data(), bytesPerLine, coded);
        }
        buffer.Write(coded.data(), coded.size(), 1);
    }
    if (bpp == 8) {
        uint8_t map[1 + 768] = {kMapSignature};
        for (uint32_t i = 0; i < 256 && i < Header.ClrUsed; ++i) {
            map[1 + 3 * i] = palette[i].red;
            map[2 + 3 * i] = palette[i].green;
            map[3 + 3 * i] = palette[i].blue;
        }
        buffer.Write(map, sizeof map, 1);
    }
    const size_t size = size_t(buffer.Size());
    uint8_t* bytes = buffer.GetBuffer();
    s.Write(bytes, size, 1);
    FreeMemory(bytes);
    return true;
}

}  // namespace ruvelto::image

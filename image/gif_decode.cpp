// GIF decoding: the block walk, extensions, frame selection and composition, and tile mode.
#include <cstring>

#include "image/byte_order.h"
#include "image/gif_codec.h"

namespace ruvelto::image {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;  // '!'
constexpr uint8_t kImageSeparator = 0x2C;       // ','
constexpr uint8_t kTrailer = 0x3B;              // ';'
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kCommentLabel = 0xFE;
constexpr uint8_t kApplicationLabel = 0xFF;
constexpr uint8_t kColourTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr int kDisposeToBackground = 2;

struct ImageDescriptor {
    uint32_t left = 0;
    uint32_t top = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t flags = 0;
};

ImageDescriptor ParseDescriptor(const uint8_t* d) {
    return ImageDescriptor{LoadLE16(d), LoadLE16(d + 2), LoadLE16(d + 4), LoadLE16(d + 6), d[8]};
}

// Images that do not lie wholly on the screen (or hold no pixel) are passed over, and are not
// counted as frames.
bool FitsScreen(const ImageDescriptor& d, uint32_t screenWidth, uint32_t screenHeight) {
    return d.width > 0 && d.height > 0 && d.left + d.width <= screenWidth && d.top + d.height <= screenHeight;
}

// Whether images, in file order, tile the screen as a mosaic does: rows from the top, each image
// starting where the one before ended, every image of a row as high as its first, each row
// reaching the screen's right edge, and the last row its bottom. Frames of an animation overlap
// or leave part of the screen to the frames before them.
class TileWalk {
public:
    TileWalk(uint32_t screenWidth, uint32_t screenHeight) : width_(screenWidth), height_(screenHeight) {}
    void Add(const ImageDescriptor& d) {
        if (!tiling_ || d.left != x_ || d.top != y_ || d.width == 0 || d.height == 0) {
            tiling_ = false;
            return;
        }
        if (x_ == 0) row_ = d.height;
        if (d.height != row_ || d.width > width_ - x_ || d.height > height_ - y_) {
            tiling_ = false;
            return;
        }
        x_ += d.width;
        if (x_ == width_) x_ = 0, y_ += row_;
    }
    bool TilesScreen() const { return tiling_ && x_ == 0 && y_ == height_ && height_ > 0; }

private:
    uint32_t width_, height_;
    uint32_t x_ = 0, y_ = 0, row_ = 0;
    bool tiling_ = true;
};

uint32_t BitsForTable(uint32_t count) {
    // A GIF with no colour table at all keeps its indices whole.
    if (count == 0) return 8;
    return count <= 2 ? 1 : count <= 16 ? 4 : 8;
}

// Rows of an image in the order its data delivers them: top to bottom, or the four passes of
// an interlaced image (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
class RowOrder {
public:
    RowOrder(uint32_t height, bool interlaced) : height_(height), interlaced_(interlaced) {}
    // The next row from the top, or -1 when every row has had its turn.
    int64_t Next() {
        if (!interlaced_) return y_ < height_ ? int64_t{y_++} : -1;
        static constexpr uint32_t kStart[4] = {0, 4, 2, 1};
        static constexpr uint32_t kStep[4] = {8, 8, 4, 2};
        while (y_ >= height_) {
            if (++pass_ >= 4) return -1;
            y_ = kStart[pass_];
        }
        const uint32_t row = y_;
        y_ += kStep[pass_];
        return row;
    }

private:
    uint32_t height_;
    bool interlaced_;
    int pass_ = 0;
    uint32_t y_ = 0;
};

// Lays an image's indices onto the palette picture composed so far, leaving the pixels of its
// transparent index (and every pixel its data never reaches) as they were.
class IndexPainter final : public GifRowSink {
public:
    IndexPainter(Image& canvas, const ImageDescriptor& d, uint32_t bits, int32_t transIndex)
        : canvas_(canvas), d_(d), order_(d.height, (d.flags & kInterlaceFlag) != 0),
          mask_(static_cast<uint8_t>((1u << bits) - 1)), transIndex_(transIndex) {}

    bool PutRow(const uint8_t* row, uint32_t count) override {
        const int64_t y = order_.Next();
        if (y < 0) return false;
        const int32_t canvasY = static_cast<int32_t>(canvas_.GetHeight() - 1 - (d_.top + uint32_t(y)));
        if (canvas_.GetBpp() == 8) {
            uint8_t* dst = canvas_.GetBits(uint32_t(canvasY)) + d_.left;
            for (uint32_t i = 0; i < count; ++i) {
                const uint8_t v = row[i] & mask_;
                if (v != transIndex_) dst[i] = v;
            }
            return true;
        }
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t v = row[i] & mask_;
            if (v != transIndex_) canvas_.SetPixelIndex(int32_t(d_.left + i), canvasY, v);
        }
        return true;
    }

private:
    Image& canvas_;
    ImageDescriptor d_;
    RowOrder order_;
    uint8_t mask_;
    int32_t transIndex_;
};

// Tile mode: paints an image's pixels by colour into the 24-bit picture.
class ColourPainter final : public GifRowSink {
public:
    ColourPainter(Image& picture, const ImageDescriptor& d, const GifColourTable& table)
        : picture_(picture), d_(d), order_(d.height, (d.flags & kInterlaceFlag) != 0), table_(table) {}

    bool PutRow(const uint8_t* row, uint32_t count) override {
        const int64_t y = order_.Next();
        if (y < 0) return false;
        uint8_t* dst = picture_.GetBits(picture_.GetHeight() - 1 - (d_.top + uint32_t(y))) + 3 * size_t(d_.left);
        for (uint32_t i = 0; i < count; ++i, dst += 3) {
            const RgbTriple& c = table_.colours[row[i]];
            dst[0] = c.blue;
            dst[1] = c.green;
            dst[2] = c.red;
        }
        return true;
    }

private:
    Image& picture_;
    ImageDescriptor d_;
    RowOrder order_;
    const GifColourTable& table_;
};

}  // namespace

bool GifCodec::ReadColourTable(GifColourTable& table, uint8_t flags) {
    table = GifColourTable{};
    table.count = 2u << (flags & 7);
    return reader_.Read(&table.colours[0].red, 3 * size_t(table.count));
}

void GifCodec::SetComment(const char* text) {
    std::strncpy(comment_, text ? text : "", sizeof comment_ - 1);
    comment_[sizeof comment_ - 1] = 0;
}

bool GifCodec::DecodeExtension() {
    const int label = reader_.GetByte();
    if (label < 0) return false;
    int length = reader_.GetByte();
    if (length < 0) return false;
    if (length == 0) return true;
    uint8_t block[256];
    if (!reader_.Read(block, size_t(length))) return false;
    switch (label) {
        case kGraphicControlLabel:
            if (length == 4) {
                gce_ = GifGraphicControl{block[0], LoadLE16(block + 1), block[3]};
                if (gce_.flags & 1) Info.TransIndex = gce_.transIndex;
                Info.FrameDelay = gce_.delay;
                disposal_ = (gce_.flags >> 2) & 7;
            }
            break;
        case kCommentLabel:
            std::memcpy(comment_, block, size_t(length));
            comment_[length] = 0;
            break;
        case kApplicationLabel:
            // An 11-byte application identifier; a NETSCAPE-style loop block follows.
            if (length == 11) {
                length = reader_.GetByte();
                if (length < 0) return false;
                if (length == 0) return true;
                if (!reader_.Read(block, size_t(length))) return false;
                if (length > 2) loops_ = LoadLE16(block + 1);
            }
            break;
        default: break;
    }
    return reader_.SkipSubBlocks();
}

// Counts the images that will be decoded as frames, then returns to where it started.
int32_t GifCodec::GetNumFrames(uint32_t screenWidth, uint32_t screenHeight, bool* tilesScreen) {
    const int64_t start = reader_.Tell();
    int32_t count = 0;
    TileWalk tiles(screenWidth, screenHeight);
    GifColourTable table;
    for (;;) {
        const int c = reader_.GetByte();
        if (c < 0 || c == kTrailer) break;
        if (c == kExtensionIntroducer) {
            if (reader_.GetByte() < 0 || !reader_.SkipSubBlocks()) break;
            continue;
        }
        if (c != kImageSeparator) {
            int b = c;
            while (b > 0) b = reader_.GetByte();
            if (b < 0) break;
            continue;
        }
        uint8_t raw[9];
        if (!reader_.Read(raw, sizeof raw)) break;
        const ImageDescriptor d = ParseDescriptor(raw);
        if ((d.flags & kColourTableFlag) && !ReadColourTable(table, d.flags)) break;
        if (FitsScreen(d, screenWidth, screenHeight)) ++count;
        tiles.Add(d);
        if (!reader_.Skip(1) || !reader_.SkipSubBlocks()) break;
    }
    reader_.Seek(start);
    *tilesScreen = tiles.TilesScreen();
    return count;
}

// The finished picture moves into the codec, which keeps its own settings.
void GifCodec::AdoptPicture(Image& picture) {
    ImageInfo info = Info;
    Transfer(picture);
    info.EffWidth = Info.EffWidth;
    info.Bits = Info.Bits;
    info.GhostOf = nullptr;
    info.Type = IMAGE_FORMAT_GIF;
    info.NearestValid = false;
    Info = info;
    // GIF has no resolution: the picture gets the default rather than the caller's last one.
    SetXDPI(96);
    SetYDPI(96);
}

bool GifCodec::Decode(Stream& stream) {
    reader_.Start(stream);
    uint8_t head[13];
    if (!reader_.Read(head, sizeof head) || std::memcmp(head, "GIF8", 4) != 0) return false;
    const uint32_t screenWidth = LoadLE16(head + 6);
    const uint32_t screenHeight = LoadLE16(head + 8);
    const uint8_t screenFlags = head[10];
    const uint8_t screenBackground = head[11];
    if (Info.Escape == -1) {
        Header.Width = static_cast<int32_t>(screenWidth);
        Header.Height = static_cast<int32_t>(screenHeight);
        return true;
    }

    // Transparency belongs to the file: none unless a graphic control extension declares it.
    Info.TransIndex = -1;
    gce_ = GifGraphicControl{};
    disposal_ = 0;

    GifColourTable global;
    const bool globalTable = (screenFlags & kColourTableFlag) != 0;
    if (globalTable && !ReadColourTable(global, screenFlags)) return false;

    bool tilesScreen = false;
    const int32_t count = GetNumFrames(screenWidth, screenHeight, &tilesScreen);
    Info.NumFrames = count;
    if (Info.Frame < 0 || Info.Frame >= count) return false;
    const int32_t requestedFrame = Info.Frame;
    // A mosaic of tiles (as deeper pictures are written, 17 x 15, or by other writers in other
    // sizes) has no global table and images that tile the screen exactly. An animation whose
    // first frame happens to be smaller than its screen is no mosaic.
    const bool mosaic = !globalTable && count > 1 && tilesScreen;

    Image canvas;      // the palette picture composed so far
    Image truecolour;  // tile mode's 24-bit picture
    GifColourTable local;
    const GifColourTable* lastTable = &global;
    bool tileMode = false;
    bool anyImage = false;
    bool anyPixel = false;  // whether the frame (in tile mode: any tile) got a single pixel
    int32_t backgroundIndex = -1;
    int previousDisposal = 0;
    int32_t imageNumber = 0;
    for (;;) {
        const int c = reader_.GetByte();
        if (c < 0 || c == kTrailer) break;
        if (c == kExtensionIntroducer) {
            if (!DecodeExtension()) break;
            continue;
        }
        if (c != kImageSeparator) {
            int b = c;
            while (b > 0) b = reader_.GetByte();
            if (b < 0) break;
            continue;
        }

        uint8_t raw[9];
        if (!reader_.Read(raw, sizeof raw)) break;
        const ImageDescriptor d = ParseDescriptor(raw);
        const GifColourTable* table = &global;
        if (d.flags & kColourTableFlag) {
            if (!ReadColourTable(local, d.flags)) break;
            table = &local;
        }
        if (!FitsScreen(d, screenWidth, screenHeight)) {
            if (!reader_.Skip(1) || !reader_.SkipSubBlocks()) break;
            continue;
        }

        if (!anyImage) {
            // In a mosaic every tile makes up the one picture.
            tileMode = mosaic;
            if (tileMode) Info.Frame = count - 1;
        }
        const uint32_t bits = BitsForTable(table->count);
        lastTable = table;

        if (tileMode) {
            if (!truecolour.IsValid()) {
                truecolour.CopyInfo(*this);
                if (!truecolour.Create(screenWidth, screenHeight, 24, IMAGE_FORMAT_GIF)) {
                    SetLastError(truecolour.Info.LastError);
                    Info.Frame = requestedFrame;
                    return false;
                }
                std::memset(truecolour.Info.Bits, 0, truecolour.Header.SizeImage);
            }
            ColourPainter painter(truecolour, d, *table);
            decoder_.Decode(reader_, d.width, painter);
            anyPixel = anyPixel || decoder_.Pixels() > 0;
        } else {
            if (!anyImage) {
                canvas.CopyInfo(*this);
                if (!canvas.Create(screenWidth, screenHeight, bits, IMAGE_FORMAT_GIF)) {
                    SetLastError(canvas.Info.LastError);
                    return false;
                }
                // Where the first image leaves the screen uncovered: transparent when the file
                // declares a transparent index, the screen's background colour otherwise.
                canvas.Clear((gce_.flags & 1) ? gce_.transIndex : screenBackground);
                backgroundIndex = Info.TransIndex;
            } else if (previousDisposal == kDisposeToBackground) {
                canvas.Clear(backgroundIndex != -1 ? static_cast<uint8_t>(backgroundIndex) : screenBackground);
            }
            // The image's palette: its table, and white up to 256 entries when it has a
            // transparent index, so that an index past the table still has a colour.
            RgbQuad palette[256];
            for (uint32_t i = 0; i < 256; ++i) {
                if (i < table->count) {
                    const RgbTriple& t = table->colours[i];
                    palette[i] = RgbQuad{t.blue, t.green, t.red, 0};
                } else {
                    palette[i] = Info.TransIndex != -1 ? RgbQuad{255, 255, 255, 0} : RgbQuad{};
                }
            }
            canvas.SetPalette(palette, 256);
            IndexPainter painter(canvas, d, bits, Info.TransIndex);
            decoder_.Decode(reader_, d.width, painter);
            anyPixel = decoder_.Pixels() > 0;
        }
        anyImage = true;

        if (Info.Escape) {
            Info.Frame = requestedFrame;
            return false;
        }
        previousDisposal = disposal_;
        if (imageNumber == Info.Frame) break;
        ++imageNumber;
    }
    Info.Frame = requestedFrame;
    // A frame whose data is missing or undecodable from its first code is no picture.
    if (!anyImage || !anyPixel) return false;

    if (tileMode) {
        if (gce_.flags & 1) {
            const RgbTriple& t = lastTable->colours[gce_.transIndex];
            Info.TransColor = RgbQuad{t.blue, t.green, t.red, 0};
            Info.TransIndex = 0;
        }
        AdoptPicture(truecolour);
    } else {
        Info.TransIndex = backgroundIndex;
        AdoptPicture(canvas);
    }
    return true;
}

}  // namespace ruvelto::image

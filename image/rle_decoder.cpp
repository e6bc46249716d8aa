#include "image/rle_decoder.h"

#include "image/stream.h"

namespace ruvelto::image {

namespace {

// A cursor over the stored rows in units of pixels (bytes for RLE8, nibbles for RLE4). Writes
// are checked here, so no code path can touch memory outside the rows.
class RleCursor {
public:
    RleCursor(uint8_t* rows, uint32_t effWidth, uint32_t height, bool nibbles)
        : rows_(rows), effWidth_(effWidth), height_(height), nibbles_(nibbles),
          rowPixels_(uint64_t{effWidth} * (nibbles ? 2 : 1)) {}

    // False when the pixel would fall past the row end: the decode ends there.
    bool AtRowEnd() const { return x_ >= rowPixels_; }
    bool OutsidePicture() const { return y_ >= height_; }

    void Put(uint8_t value) {
        uint8_t* row = rows_ + size_t(y_) * effWidth_;
        if (!nibbles_) {
            row[x_] = value;
        } else {
            uint8_t& b = row[x_ >> 1];
            b = (x_ & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0x0F))
                         : static_cast<uint8_t>((b & 0x0F) | (value << 4));
        }
        ++x_;
    }
    void EndOfLine() {
        x_ = 0;
        ++y_;
    }
    void Delta(uint32_t dx, uint32_t dy) {
        x_ += dx;
        y_ += dy;
    }

private:
    uint8_t* rows_;
    uint32_t effWidth_;
    uint64_t height_;
    bool nibbles_;
    uint64_t rowPixels_;
    uint64_t x_ = 0;
    uint64_t y_ = 0;
};

RleResult Decode(Stream& s, uint8_t* rows, uint32_t effWidth, uint32_t height, bool nibbles) {
    RleCursor cursor(rows, effWidth, height, nibbles);
    for (;;) {
        const int count = s.GetC();
        if (count < 0) return cursor.OutsidePicture() ? RleResult::Done : RleResult::Truncated;
        if (count > 0) {
            // Encoded run: one value byte; RLE4 alternates its high and low nibble.
            const int value = s.GetC();
            if (value < 0) return RleResult::Truncated;
            for (int i = 0; i < count; ++i) {
                if (cursor.AtRowEnd()) return RleResult::Done;
                if (cursor.OutsidePicture()) return RleResult::Outside;
                cursor.Put(nibbles ? static_cast<uint8_t>((i & 1) ? value & 0x0F : value >> 4)
                                   : static_cast<uint8_t>(value));
            }
            continue;
        }
        const int code = s.GetC();
        if (code < 0) return RleResult::Truncated;
        if (code == 0) {
            cursor.EndOfLine();
        } else if (code == 1) {
            return RleResult::Done;
        } else if (code == 2) {
            const int dx = s.GetC();
            const int dy = s.GetC();
            if (dx < 0 || dy < 0) return RleResult::Truncated;
            cursor.Delta(uint32_t(dx), uint32_t(dy));
        } else {
            // Absolute run of `code` pixels, padded to a 16-bit boundary.
            const int bytes = nibbles ? (code + 1) / 2 : code;
            int written = 0;
            for (int i = 0; i < bytes; ++i) {
                const int b = s.GetC();
                if (b < 0) return RleResult::Truncated;
                const int inByte = nibbles ? 2 : 1;
                for (int k = 0; k < inByte && written < code; ++k, ++written) {
                    if (cursor.AtRowEnd()) return RleResult::Done;
                    if (cursor.OutsidePicture()) return RleResult::Outside;
                    cursor.Put(nibbles ? static_cast<uint8_t>(k == 0 ? b >> 4 : b & 0x0F) : static_cast<uint8_t>(b));
                }
            }
            if (bytes & 1) {
                if (s.GetC() < 0) return RleResult::Truncated;
            }
        }
    }
}

}  // namespace

RleResult DecodeRle8(Stream& s, uint8_t* rows, uint32_t effWidth, uint32_t height) {
    return Decode(s, rows, effWidth, height, false);
}

RleResult DecodeRle4(Stream& s, uint8_t* rows, uint32_t effWidth, uint32_t height) {
    return Decode(s, rows, effWidth, height, true);
}

}  // namespace ruvelto::image

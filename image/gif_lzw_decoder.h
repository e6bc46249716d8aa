// The GIF LZW decoder: codes least significant bit first from the data sub-blocks, expanded
// through fixed prefix and suffix tables, handed on one picture row at a time. Crafted data can
// neither loop it nor make it write outside its tables: every table entry's prefix is an
// older entry, so an expansion is bounded by the table size.
#pragma once
#include <cstdint>
#include <vector>

#include "image/gif_byte_reader.h"

namespace ruvelto::image {

// Receives decoded rows: count is the row width, or less for a last, partial row.
// Returns false when the row has no place in the picture, which ends the decode.
class GifRowSink {
public:
    virtual ~GifRowSink() = default;
    virtual bool PutRow(const uint8_t* row, uint32_t count) = 0;
};

enum class GifLzwResult {
    kEnd,            // the end code was read
    kDataEnded,      // the sub-blocks (or the file) ended before the end code
    kRowsFull,       // the picture refused a further row
    kBadCodeSize,    // the minimum code size is out of range; nothing was decoded
};

class GifLzwDecoder {
public:
    static constexpr int kMaxCodes = 4096;

    // Decodes one image's data, from its minimum code size byte up to and including its
    // zero-length sub-block (or the end of the file).
    GifLzwResult Decode(GifByteReader& reader, uint32_t width, GifRowSink& sink);

    // Codes above the next free slot met by the last Decode.
    uint32_t BadCodes() const { return badCodes_; }
    // Pixels handed to the sink by the last Decode.
    uint64_t Pixels() const { return pixels_; }

private:
    void InitExp(int size);
    int GetNextCode();
    int GetDataByte();

    GifByteReader* reader_ = nullptr;
    // Code state.
    int size_ = 0;          // minimum code size
    int currSize_ = 0;      // current code width
    int clear_ = 0;
    int ending_ = 0;
    int newCodes_ = 0;      // first free slot
    int slot_ = 0;          // next free slot
    int topSlot_ = 0;       // capacity at the current width
    // Bit reservoir over the current sub-block.
    uint32_t bits_ = 0;
    int bitCount_ = 0;
    int blockLeft_ = 0;
    bool dataEnded_ = false;
    bool terminatorRead_ = false;
    uint32_t badCodes_ = 0;
    uint64_t pixels_ = 0;

    uint8_t suffix_[kMaxCodes] = {};
    uint16_t prefix_[kMaxCodes] = {};
    uint8_t stack_[kMaxCodes + 1] = {};
    std::vector<uint8_t> row_;
};

}  // namespace ruvelto::image

// The GIF LZW encoder: the classic hashed LZW compressor, plus two code streams that any GIF
// decoder reads but that trade size for simplicity (one code per pixel, or runs built from the
// decoder's own growing table). Codes go out least significant bit first in 254-byte packets.
#pragma once
#include <cstdint>
#include <vector>

#include "image/image.h"
#include "image/stream.h"

namespace ruvelto::image {

enum class GifCompression { kLzw, kNone, kRle };

class GifLzwEncoder {
public:
    static constexpr int kHashSize = 5003;  // a prime a little above 4096 x 1.2
    static constexpr int kMaxBits = 12;
    static constexpr int kMaxMaxCode = 1 << kMaxBits;

    // Writes the picture's pixel indices, top row first, as data sub-blocks (without the code
    // size byte and the zero-length block). initBits is the minimum code size + 1. Returns
    // false when the stream reported a write error.
    bool Compress(Stream& stream, const Image& picture, int initBits, GifCompression method);

private:
    void CompressLzw();
    void CompressNone();
    void CompressRle();
    void EmitRun(int colour, uint32_t count);
    void EmitRunCode(int code, int colour, int length);
    void ClearBlock();
    void Output(int code);
    void ClHash();
    void CharOut(uint8_t c);
    void FlushChar();
    int GifNextPixel();

    Stream* stream_ = nullptr;
    const Image* picture_ = nullptr;
    bool writeError_ = false;

    // Code state.
    int32_t htab_[kHashSize] = {};
    uint16_t codetab_[kHashSize] = {};
    // Slots filled since the last clear: a tile fills a few hundred of the 5003, so only those
    // are emptied again (after one full clear, which makes the whole table trustworthy).
    uint16_t usedSlots_[kMaxMaxCode] = {};
    int usedCount_ = 0;
    bool hashTracked_ = false;
    uint32_t curAccum_ = 0;
    int curBits_ = 0;
    int nBits_ = 0;
    int maxCode_ = 0;
    int initBits_ = 0;
    bool clearFlag_ = false;
    int clearCode_ = 0;
    int eofCode_ = 0;
    int freeEnt_ = 0;

    // Run state of CompressRle: codes known for runs of runColour_, by length.
    int runColour_ = -1;
    int prevColour_ = -1;   // colour of the previous code's string; -1 right after a clear
    int prevLength_ = 0;
    int knownMax_ = 1;
    uint16_t runCode_[kMaxMaxCode + 1] = {};

    // Output packet.
    uint8_t accum_[256] = {};
    int aCount_ = 0;

    // Pixel cursor: column and row from the top, and pixels left.
    uint32_t curX_ = 0;
    uint32_t curY_ = 0;
    uint64_t countDown_ = 0;
    std::vector<uint8_t> row_;
};

}  // namespace ruvelto::image

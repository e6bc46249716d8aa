#include "image/gif_lzw_encoder.h"

#include <cstring>

namespace ruvelto::image {

namespace {
int MaxCode(int bits) { return (1 << bits) - 1; }
}  // namespace

bool GifLzwEncoder::Compress(Stream& stream, const Image& picture, int initBits, GifCompression method) {
    stream_ = &stream;
    picture_ = &picture;
    writeError_ = false;
    curX_ = curY_ = 0;
    countDown_ = uint64_t{picture.GetWidth()} * picture.GetHeight();
    row_.assign(picture.GetWidth(), 0);

    initBits_ = initBits;
    nBits_ = initBits;
    maxCode_ = MaxCode(nBits_);
    clearFlag_ = false;
    clearCode_ = 1 << (initBits - 1);
    eofCode_ = clearCode_ + 1;
    freeEnt_ = clearCode_ + 2;
    curAccum_ = 0;
    curBits_ = 0;
    aCount_ = 0;

    switch (method) {
        case GifCompression::kNone: CompressNone(); break;
        case GifCompression::kRle: CompressRle(); break;
        default: CompressLzw(); break;
    }
    return !writeError_;
}

// The next pixel index, rows from the top, left to right; -1 when none is left.
int GifLzwEncoder::GifNextPixel() {
    if (countDown_ == 0) return -1;
    --countDown_;
    const Image& p = *picture_;
    const uint32_t width = p.GetWidth();
    if (curX_ == 0) {
        const uint8_t* src = p.GetBits(p.GetHeight() - 1 - curY_);
        switch (p.GetBpp()) {
            case 8: std::memcpy(row_.data(), src, width); break;
            case 4:
                for (uint32_t x = 0; x < width; ++x) row_[x] = (x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4;
                break;
            case 1:
                for (uint32_t x = 0; x < width; ++x) row_[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            default: std::memset(row_.data(), 0, width); break;
        }
    }
    const int pixel = row_[curX_];
    if (++curX_ == width) {
        curX_ = 0;
        ++curY_;
    }
    return pixel;
}

void GifLzwEncoder::ClHash() {
    if (hashTracked_) {
        for (int i = 0; i < usedCount_; ++i) htab_[usedSlots_[i]] = -1;
    } else {
        for (int32_t& h : htab_) h = -1;
        hashTracked_ = true;
    }
    usedCount_ = 0;
}

void GifLzwEncoder::ClearBlock() {
    ClHash();
    freeEnt_ = clearCode_ + 2;
    clearFlag_ = true;
    Output(clearCode_);
}

void GifLzwEncoder::CompressLzw() {
    int hshift = 0;
    for (long fcode = kHashSize; fcode < 65536L; fcode *= 2) ++hshift;
    hshift = 8 - hshift;  // 4: sets the range of the first probe to the table size

    ClHash();
    Output(clearCode_);
    int ent = GifNextPixel();
    if (ent < 0) ent = 0;
    int c;
    while ((c = GifNextPixel()) >= 0) {
        const int32_t fcode = (int32_t(c) << kMaxBits) + ent;
        int i = (c << hshift) ^ ent;
        if (htab_[i] == fcode) {
            ent = codetab_[i];
            continue;
        }
        if (htab_[i] >= 0) {
            const int disp = i == 0 ? 1 : kHashSize - i;
            bool found = false;
            do {
                if ((i -= disp) < 0) i += kHashSize;
                if (htab_[i] == fcode) {
                    found = true;
                    break;
                }
            } while (htab_[i] >= 0);
            if (found) {
                ent = codetab_[i];
                continue;
            }
        }
        Output(ent);
        ent = c;
        if (freeEnt_ < kMaxMaxCode) {
            codetab_[i] = static_cast<uint16_t>(freeEnt_++);
            htab_[i] = fcode;
            usedSlots_[usedCount_++] = static_cast<uint16_t>(i);
        } else {
            ClearBlock();
        }
    }
    Output(ent);
    Output(eofCode_);
}

void GifLzwEncoder::CompressNone() {
    Output(clearCode_);
    int c;
    while ((c = GifNextPixel()) >= 0) {
        Output(c);
        // The decoder makes an entry for every code but the first after a clear; count along so
        // that both widen their codes at the same moment.
        if (freeEnt_ < kMaxMaxCode) {
            ++freeEnt_;
        } else {
            freeEnt_ = clearCode_ + 2;
            clearFlag_ = true;
            Output(clearCode_);
        }
    }
    Output(eofCode_);
}

// Runs of one index are sent as codes for ever longer runs, which the decoder builds itself:
// after "c" and "c" it holds "cc", after "cc" it holds "ccc", and so on. The encoder follows
// the decoder's table exactly and uses only entries the decoder already has.
void GifLzwEncoder::CompressRle() {
    Output(clearCode_);
    prevColour_ = -1;
    prevLength_ = 0;
    runColour_ = -1;
    knownMax_ = 1;
    int colour = GifNextPixel();
    if (colour >= 0) {
        uint32_t count = 1;
        int c;
        while ((c = GifNextPixel()) >= 0) {
            if (c == colour) {
                ++count;
                continue;
            }
            EmitRun(colour, count);
            colour = c;
            count = 1;
        }
        EmitRun(colour, count);
    }
    Output(eofCode_);
}

void GifLzwEncoder::EmitRun(int colour, uint32_t count) {
    if (colour != runColour_) {
        runColour_ = colour;
        knownMax_ = 1;
    }
    while (count > 0) {
        const int length = count < uint32_t(knownMax_) ? int(count) : knownMax_;
        EmitRunCode(length == 1 ? colour : runCode_[length], colour, length);
        count -= uint32_t(length);
    }
}

void GifLzwEncoder::EmitRunCode(int code, int colour, int length) {
    const bool first = prevColour_ < 0;
    Output(code);
    if (!first) {
        // The decoder now makes entry freeEnt - 1: the previous string plus this string's first
        // pixel. Only runs of the current colour are worth remembering.
        if (prevColour_ == colour && colour == runColour_ && prevLength_ == knownMax_ &&
            knownMax_ < kMaxMaxCode) {
            runCode_[++knownMax_] = static_cast<uint16_t>(freeEnt_ - 1);
        }
    }
    prevColour_ = colour;
    prevLength_ = length;
    if (first) {
        ++freeEnt_;
    } else if (freeEnt_ < kMaxMaxCode) {
        ++freeEnt_;
    } else {
        freeEnt_ = clearCode_ + 2;
        clearFlag_ = true;
        Output(clearCode_);
        prevColour_ = -1;
        knownMax_ = 1;
    }
}

void GifLzwEncoder::Output(int code) {
    curAccum_ &= (1u << curBits_) - 1;
    curAccum_ |= uint32_t(code) << curBits_;
    curBits_ += nBits_;
    while (curBits_ >= 8) {
        CharOut(static_cast<uint8_t>(curAccum_ & 0xFF));
        curAccum_ >>= 8;
        curBits_ -= 8;
    }
    // Widen the codes when the next entry would not fit, or start over after a clear code.
    if (freeEnt_ > maxCode_ || clearFlag_) {
        if (clearFlag_) {
            nBits_ = initBits_;
            maxCode_ = MaxCode(nBits_);
            clearFlag_ = false;
        } else {
            ++nBits_;
            maxCode_ = nBits_ == kMaxBits ? kMaxMaxCode : MaxCode(nBits_);
        }
    }
    if (code == eofCode_) {
        while (curBits_ > 0) {
            CharOut(static_cast<uint8_t>(curAccum_ & 0xFF));
            curAccum_ >>= 8;
            curBits_ -= 8;
        }
        FlushChar();
        if (!stream_->Flush() || stream_->Error()) writeError_ = true;
    }
}

void GifLzwEncoder::CharOut(uint8_t c) {
    accum_[aCount_++] = c;
    if (aCount_ >= 254) FlushChar();
}

void GifLzwEncoder::FlushChar() {
    if (aCount_ == 0) return;
    const uint8_t length = static_cast<uint8_t>(aCount_);
    if (stream_->Write(&length, 1, 1) != 1 || stream_->Write(accum_, size_t(aCount_), 1) != 1) writeError_ = true;
    aCount_ = 0;
}

}  // namespace ruvelto::image

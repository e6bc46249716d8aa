#include "image/gif_lzw_decoder.h"

#include <cstring>

namespace ruvelto::image {

namespace {
// The GIF format asks for 2-8. Some writers use 1 for two-colour pictures, and a size up to 11
// still leaves room in the 12-bit code space; both are read.
constexpr int kMinCodeSize = 1;
constexpr int kMaxCodeSize = 11;
constexpr int kMaxCodeWidth = 12;
}  // namespace

void GifLzwDecoder::InitExp(int size) {
    size_ = size;
    currSize_ = size + 1;
    topSlot_ = 1 << currSize_;
    clear_ = 1 << size;
    ending_ = clear_ + 1;
    slot_ = newCodes_ = ending_ + 1;
    bits_ = 0;
    bitCount_ = 0;
    std::memset(suffix_, 0, sizeof suffix_);
    std::memset(prefix_, 0, sizeof prefix_);
}

int GifLzwDecoder::GetDataByte() {
    if (dataEnded_) return -1;
    if (blockLeft_ == 0) {
        const int length = reader_->GetByte();
        if (length <= 0) {
            terminatorRead_ = length == 0;
            dataEnded_ = true;
            return -1;
        }
        blockLeft_ = length;
    }
    const int byte = reader_->GetByte();
    if (byte < 0) {
        dataEnded_ = true;
        return -1;
    }
    --blockLeft_;
    return byte;
}

int GifLzwDecoder::GetNextCode() {
    while (bitCount_ < currSize_) {
        const int byte = GetDataByte();
        if (byte < 0) return -1;
        bits_ |= uint32_t(byte) << bitCount_;
        bitCount_ += 8;
    }
    const int code = static_cast<int>(bits_ & ((1u << currSize_) - 1));
    bits_ >>= currSize_;
    bitCount_ -= currSize_;
    return code;
}

GifLzwResult GifLzwDecoder::Decode(GifByteReader& reader, uint32_t width, GifRowSink& sink) {
    reader_ = &reader;
    blockLeft_ = 0;
    dataEnded_ = false;
    terminatorRead_ = false;
    badCodes_ = 0;
    pixels_ = 0;

    const int size = reader.GetByte();
    if (size < 0) return GifLzwResult::kDataEnded;
    if (size < kMinCodeSize || size > kMaxCodeSize) {
        reader.SkipSubBlocks();
        return GifLzwResult::kBadCodeSize;
    }
    if (width == 0) {
        reader.SkipSubBlocks();
        return GifLzwResult::kRowsFull;
    }
    InitExp(size);
    row_.assign(width, 0);
    uint32_t fill = 0;

    GifLzwResult result = GifLzwResult::kDataEnded;
    int oc = -1;  // the previous code; -1 right after a clear code (or at the start)
    int fc = 0;   // the first pixel of the previous code's string
    for (;;) {
        int c = GetNextCode();
        if (c < 0) break;
        if (c == ending_) {
            result = GifLzwResult::kEnd;
            break;
        }
        int length;  // pixels waiting on the stack
        if (c == clear_) {
            currSize_ = size_ + 1;
            slot_ = newCodes_;
            topSlot_ = 1 << currSize_;
            oc = -1;
            continue;
        }
        if (oc < 0) {
            // The first code after a clear stands for one pixel and makes no new entry.
            if (c >= slot_) c = 0;
            stack_[0] = static_cast<uint8_t>(c);
            length = 1;
            oc = fc = c;
        } else {
            int code = c;
            length = 0;
            if (code >= slot_) {
                // Not in the table yet: the previous string followed by its own first pixel.
                // Only a code exactly at the next slot is legitimate.
                if (code > slot_) ++badCodes_;
                stack_[length++] = static_cast<uint8_t>(fc);
                code = oc;
            }
            while (code >= newCodes_) {
                if (length >= kMaxCodes) break;  // cannot happen while prefixes point down
                stack_[length++] = suffix_[code];
                code = prefix_[code];
            }
            stack_[length++] = static_cast<uint8_t>(code);
            fc = code;  // the first pixel of this string
            if (slot_ < kMaxCodes) {
                suffix_[slot_] = static_cast<uint8_t>(fc);
                prefix_[slot_] = static_cast<uint16_t>(oc);
                // A code beyond the table is remembered as the entry just made for its string,
                // so that every prefix keeps pointing at an older entry.
                oc = c > slot_ ? slot_ : c;
                ++slot_;
            } else if (c < slot_) {
                oc = c;
            }
            if (slot_ >= topSlot_ && currSize_ < kMaxCodeWidth) {
                topSlot_ <<= 1;
                ++currSize_;
            }
            // The stack holds the string last pixel first.
            for (int i = 0, j = length - 1; i < j; ++i, --j) {
                const uint8_t t = stack_[i];
                stack_[i] = stack_[j];
                stack_[j] = t;
            }
        }
        // Hand the pixels on, a row at a time.
        for (int i = 0; i < length; ++i) {
            row_[fill++] = stack_[i];
            if (fill == width) {
                pixels_ += fill;
                fill = 0;
                if (!sink.PutRow(row_.data(), width)) {
                    result = GifLzwResult::kRowsFull;
                    goto done;
                }
            }
        }
    }
    if (fill > 0) {
        pixels_ += fill;
        sink.PutRow(row_.data(), fill);
    }
done:
    // Leave the reader just after this image's data.
    if (!dataEnded_) {
        if (!reader.Skip(static_cast<size_t>(blockLeft_))) return result;
        reader.SkipSubBlocks();
    }
    return result;
}

}  // namespace ruvelto::image

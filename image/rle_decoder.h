// The run-length codes of 4- and 8-bit bitmaps, decoded into stored (bottom-up) rows.
#pragma once
#include <cstdint>

namespace ruvelto::image {

class Stream;

enum class RleResult {
    Done,      // end of picture, or a run that would pass the row end (rows so far stay)
    Truncated, // the data ended before the picture did
    Outside,   // a pixel addressed a row beyond the picture
};

// rows: height rows of effWidth bytes, already cleared.
RleResult DecodeRle8(Stream& s, uint8_t* rows, uint32_t effWidth, uint32_t height);
RleResult DecodeRle4(Stream& s, uint8_t* rows, uint32_t effWidth, uint32_t height);

}  // namespace ruvelto::image

// Decoding a JPEG no larger than it is needed: libjpeg-turbo shrinks a picture by 2, 4 or 8 in
// the DCT, which costs far less than decoding everything and averaging it away.
#pragma once
#include <cstdint>

namespace ruvelto::app {

// The scale denominator (8, 4 or 2; 0 for none) that still decodes a width x height picture at
// least neededWidth x neededHeight large.
uint8_t DctScaleFor(int32_t width, int32_t height, int64_t neededWidth, int64_t neededHeight);

}  // namespace ruvelto::app

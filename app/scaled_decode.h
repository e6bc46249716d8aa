// Decoding a picture into the image object no larger than it is needed.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace ruvelto::app {

// Decodes the picture at path into the image object. A JPEG is first asked for its size alone;
// scaleFor gets that stored size and answers the DCT scale to decode it at (DctScaleFor; 0 for
// full size). Returns the scale the picture was decoded at (0: full size), or -1 when it could
// not be decoded.
int DecodeScaled(const std::string& path, int32_t format,
                 const std::function<uint8_t(int32_t width, int32_t height)>& scaleFor);

}  // namespace ruvelto::app

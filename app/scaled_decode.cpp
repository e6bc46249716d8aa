#include "app/scaled_decode.h"

#include "app/picture_formats.h"
#include "app/program_commands.h"

namespace ruvelto::app {

int DecodeScaled(const std::string& path, int32_t format,
                 const std::function<uint8_t(int32_t width, int32_t height)>& scaleFor) {
    int32_t width = 0, height = 0;
    uint8_t scale = 0;
    if (format == kFormatJpg) {
        SetJpegScale(0);
        SetDecodeEscape(-1);
        const bool sized = DecodeFromFile(path.c_str(), format);
        SetDecodeEscape(0);
        if (sized) {
            width = PictureWidth();
            height = PictureHeight();
            scale = scaleFor(width, height);
        }
    }
    SetJpegScale(scale);
    bool decoded = DecodeFromFile(path.c_str(), format);
    // A file whose content is not what its extension says may have reported another size than
    // the picture it decodes to: then the scaled decode is not trusted and the picture is read
    // in full.
    if (decoded && scale && (PictureWidth() != (width + scale - 1) / scale || PictureHeight() != (height + scale - 1) / scale)) {
        SetJpegScale(0);
        scale = 0;
        decoded = DecodeFromFile(path.c_str(), format);
    }
    SetJpegScale(0);
    return decoded ? scale : -1;
}

}  // namespace ruvelto::app

// Failure texts of the JPEG-2000 family codec. Some name another JPEG-2000 library and its
// functions: they are the texts this library has always reported, so they stay as they are.
#pragma once
#include <string>

namespace ruvelto::image::j2k {

inline constexpr char kCannotInitialize[] = "cannot initialize jasper";
inline constexpr char kCannotOpenInput[] = "error: cannot open standard input";
inline constexpr char kCannotLoad[] = "error: cannot load image data";
inline constexpr char kTooManyComponents[] = "error: too much components";
inline constexpr char kCannotConvert[] = "cannot convert to sRGB";
inline constexpr char kNoMemory24[] = "Can't allocate memory";
inline constexpr char kWrongFrame[] = "wrong frame!";
inline constexpr char kNoMemoryGrey[] = "error: cannot allocate memory";
inline constexpr char kCancelled[] = "Cancelled";
// JasPer 只能保存为RGB或灰度图像
inline constexpr char kOnlyRgbOrGrey[] = "JasPer \xD6\xBB\xC4\xDC\xB1\xA3\xB4\xE6\xCE\xAARGB\xBB\xF2\xBB\xD2\xB6\xC8\xCD\xBC\xCF\xF1";
inline constexpr char kPgxOnlyGrey[] = "PGX can save only GrayScale images";
inline constexpr char kCannotOpenOutput[] = "error: cannot open standard output";
inline constexpr char kImageCreate[] = "error : jas_image_create";
inline constexpr char kCannotEncode[] = "error: cannot encode image\n";

// A load failure with what went wrong: "error: cannot load image data: <detail>".
inline std::string LoadFailure(const std::string& detail) {
    return detail.empty() ? std::string(kCannotLoad) : std::string(kCannotLoad) + ": " + detail;
}

}  // namespace ruvelto::image::j2k

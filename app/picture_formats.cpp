#include "app/picture_formats.h"

namespace ruvelto::app {
namespace {

// Folds ASCII letters only: GBK trail bytes that look like letters belong to their character.
std::string AsciiLower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

std::string ExtensionOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string BaseNameOf(const std::string& fileName) { return fileName.substr(0, fileName.find('.')); }

std::string FileNameOf(const std::string& path) {
    // A backslash can be the trail byte of a GBK character: walk the text character by character.
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\') start = i + 1;
    }
    return path.substr(start);
}

int32_t FormatOfExtension(const std::string& extension) {
    const std::string e = AsciiLower(extension);
    if (e == "bmp") return kFormatBmp;
    if (e == "gif") return kFormatGif;
    if (e == "jpg" || e == "jpeg" || e == "jpe") return kFormatJpg;
    if (e == "png") return kFormatPng;
    if (e == "ico") return kFormatIco;
    return kFormatUnknown;
}

bool CorePictureDecoderReads(int32_t format) {
    return format == kFormatBmp || format == kFormatGif || format == kFormatJpg || format == kFormatIco;
}

}  // namespace ruvelto::app

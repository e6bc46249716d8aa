// The picture formats the application names by extension: the image library's format numbers
// 1-5 and the output check boxes of the main window. Portable.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::app {

constexpr int32_t kFormatUnknown = 0;  // the image library then probes the content
constexpr int32_t kFormatBmp = 1;
constexpr int32_t kFormatGif = 2;
constexpr int32_t kFormatJpg = 3;
constexpr int32_t kFormatPng = 4;
constexpr int32_t kFormatIco = 5;

// The text after the last "." of a path's file name; empty when the name has none.
std::string ExtensionOf(const std::string& path);
// The part of a file name before its first ".".
std::string BaseNameOf(const std::string& fileName);
// The file name of a path: the part after its last "\".
std::string FileNameOf(const std::string& path);

// Format number of an extension, without regard to case; "jpeg" and "jpe" are JPEG; anything else is
// kFormatUnknown.
int32_t FormatOfExtension(const std::string& extension);

// Whether the core library's picture decoder reads pictures of this format (PNG it does not).
bool CorePictureDecoderReads(int32_t format);

}  // namespace ruvelto::app

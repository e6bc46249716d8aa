// Helpers shared by the image tests: the corpus, scratch files, paths as the library takes them,
// and small BMP/ICO byte builders for edge-case fixtures.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"
#include "tests/corpus_manifest.h"

namespace ruvelto::image::test {

using corpus::CorpusPath;
using corpus::ReadFileBytes;
// A fresh scratch folder for this test program (Unix path).
std::string ScratchDir();
// The path as the library's file layer takes it: a Windows path under Wine, unchanged natively.
std::string ApiPath(const std::string& unixPath);

void Put16(std::vector<uint8_t>& v, uint32_t x);
void Put32(std::vector<uint8_t>& v, uint32_t x);
// A 40-byte information header.
void PutInfoHeader(std::vector<uint8_t>& v, int32_t width, int32_t height, uint16_t bits,
                   uint32_t compression = 0, uint32_t sizeImage = 0, uint32_t clrUsed = 0);
// "BM" file header; the pixel offset is patched by FinishBmp.
std::vector<uint8_t> StartBmp();
// Sets the file size and pixel offset (= pixelStart) of a BMP built with StartBmp.
void FinishBmp(std::vector<uint8_t>& v, size_t pixelStart);

// ImageMagick's decode of the file's first image as R, G, B, A bytes, rows from the top; upright
// turns it by its EXIF orientation first.
bool Reference(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba,
               bool upright = false);

// Pixels of a decoded picture as R, G, B per pixel, rows from the top.
std::vector<uint8_t> TopDownRgb(const Image& image);

}  // namespace ruvelto::image::test

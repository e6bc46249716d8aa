#include "tests/image/test_files.h"

#include <cstdio>
#include <filesystem>

namespace ruvelto::image::test {

std::string ScratchDir() {
    static const std::string dir = [] {
        const std::string d = std::string(RUVELTO_BINARY_DIR) + "/test-scratch/image";
        std::filesystem::remove_all(d);
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

std::string ApiPath(const std::string& unixPath) {
#ifdef RUVELTO_WIN32_PATHS
    std::string p = "Z:" + unixPath;
    for (char& c : p) {
        if (c == '/') c = '\\';
    }
    return p;
#else
    return unixPath;
#endif
}

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& v, int32_t width, int32_t height, uint16_t bits,
                   uint32_t compression, uint32_t sizeImage, uint32_t clrUsed) {
    Put32(v, 40);
    Put32(v, uint32_t(width));
    Put32(v, uint32_t(height));
    Put16(v, 1);
    Put16(v, bits);
    Put32(v, compression);
    Put32(v, sizeImage);
    Put32(v, 3780);
    Put32(v, 3780);
    Put32(v, clrUsed);
    Put32(v, 0);
}

std::vector<uint8_t> StartBmp() {
    std::vector<uint8_t> v = {'B', 'M'};
    v.resize(14, 0);
    return v;
}

void FinishBmp(std::vector<uint8_t>& v, size_t pixelStart) {
    const uint32_t size = uint32_t(v.size());
    for (int i = 0; i < 4; ++i) v[2 + i] = uint8_t(size >> (8 * i));
    for (int i = 0; i < 4; ++i) v[10 + i] = uint8_t(pixelStart >> (8 * i));
}

std::vector<uint8_t> TopDownRgb(const Image& image) {
    std::vector<uint8_t> out;
    const int32_t w = image.Header.Width, h = image.Header.Height;
    out.reserve(size_t(w) * h * 3);
    for (int32_t y = h - 1; y >= 0; --y) {
        for (int32_t x = 0; x < w; ++x) {
            const RgbQuad c = image.GetPixelColor(x, y, false);
            out.push_back(c.red);
            out.push_back(c.green);
            out.push_back(c.blue);
        }
    }
    return out;
}

bool Reference(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba, bool upright) {
    const std::string quoted = "'" + path + "[0]'" + (upright ? " -auto-orient" : "");
    FILE* p = popen(("convert " + quoted + " -format '%w %h' info: 2>/dev/null").c_str(), "r");
    if (!p) return false;
    const int got = fscanf(p, "%u %u", width, height);
    pclose(p);
    if (got != 2) return false;
    p = popen(("convert " + quoted + " -depth 8 rgba:- 2>/dev/null").c_str(), "r");
    if (!p) return false;
    rgba->assign(size_t(*width) * *height * 4, 0);
    const size_t read = fread(rgba->data(), 1, rgba->size(), p);
    pclose(p);
    return read == rgba->size();
}

}  // namespace ruvelto::image::test

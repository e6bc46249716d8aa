// DrawPanel with pictures loaded by LoadPicture: drawing stretched, negative and transparent,
// reading back as BMP bytes (checked against ImageMagick's resize of the same JPEG), clearing,
// resizing with AutoRedraw, and the handles drawing refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "commands/picture_commands.h"
#include "components/standard_types.h"
#include "image/image.h"
#include "runtime/heap.h"
#include "tests/components/components_fixture.h"
#include "tests/components/picture_fixtures.h"
#include "tests/corpus_manifest.h"
#include "runtime/address_word.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;

constexpr uint32_t kRed = 0x0000FF, kWhite = 0xFFFFFF, kCyan = 0xFFFF00, kGreen = 0x00FF00;

using corpus::CorpusPath;
using corpus::ReadFileBytes;

// A byte set value block: dimension count, element count, bytes.
std::vector<uint8_t> ByteSetBlock(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> block(8 + bytes.size(), 0);
    block[0] = 1;
    for (int i = 0; i < 4; ++i) block[4 + i] = uint8_t(bytes.size() >> (8 * i));
    std::copy(bytes.begin(), bytes.end(), block.begin() + 8);
    return block;
}

ValueRecord Int(int32_t v) { return {static_cast<uint32_t>(v), 0, kTypeInt}; }


class DrawPanelTest : public ComponentsTest {
protected:
    void ShowPanel(bool visible, bool autoRedraw, int width, int height) {
        DrawPanelProperties p;
        p.autoRedraw = autoRedraw;
        p.backColor = kWhite;
        Show(TestWindow({Component(type_code::kDrawPanel, "panel").At(10, 10, width, height)
                             .Flags(visible ? kVisible : 0).Properties(DrawPanelBlob(p))}));
    }
    ValueRecord Panel() const { return {kWindow, Id("panel"), type_code::kDrawPanel}; }

    uint32_t LoadPicture(const std::vector<uint8_t>& bytes) {
        std::vector<uint8_t> block = ByteSetBlock(bytes);
        ValueRecord arg{AddressWord(block.data()), 0, kTypeBytes};
        ValueRecord result{};
        core_commands::LoadPicture(&result, 1, &arg);
        return result.lo;
    }
    void Unload(uint32_t handle) {
        ValueRecord arg = Int(static_cast<int32_t>(handle)), result{};
        core_commands::UnloadPicture(&result, 1, &arg);
    }
    void Draw(std::vector<ValueRecord> args) {
        args.insert(args.begin(), Panel());
        ValueRecord result{};
        components::DrawPictureCommand(&result, static_cast<int32_t>(args.size()), args.data());
    }
    std::vector<uint8_t> GetPicture(std::vector<ValueRecord> args) {
        args.insert(args.begin(), Panel());
        ValueRecord result{};
        components::GetPictureCommand(&result, static_cast<int32_t>(args.size()), args.data());
        std::vector<uint8_t> bytes;
        if (result.lo) {
            const uint8_t* block = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(result.lo));
            const uint32_t n = block[4] | block[5] << 8 | block[6] << 16 | uint32_t(block[7]) << 24;
            bytes.assign(block + 8, block + 8 + n);
            heap::Free(const_cast<uint8_t*>(block));
        }
        return bytes;
    }
};

TEST_F(DrawPanelTest, HiddenPanelStretchesAJpegAndReadsItBackAsBmp) {
    ShowPanel(false, true, 150, 100);
    const uint32_t jpeg = LoadPicture(ReadFileBytes(CorpusPath("jpeg/pillow/hopper.jpg")));
    ASSERT_NE(jpeg, 0u);
    Draw({Int(static_cast<int32_t>(jpeg)), Int(0), Int(0), Int(150), Int(100)});
    const std::vector<uint8_t> bmp = GetPicture({Int(150), Int(100)});
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp[28], 24) << "24 bits per pixel";
    image::Image decoded;
    ASSERT_TRUE(decoded.Decode(bmp.data(), bmp.size(), image::IMAGE_FORMAT_BMP));
    ASSERT_EQ(decoded.GetWidth(), 150u);
    ASSERT_EQ(decoded.GetHeight(), 100u);
    std::filesystem::create_directories(std::string(RUVELTO_BINARY_DIR) + "/artifacts");
    std::ofstream(std::string(RUVELTO_BINARY_DIR) + "/artifacts/drawpanel_150x100.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));

    // ImageMagick's resize of the same JPEG to exactly 150 x 100 (R, G, B rows from the top).
    const std::vector<uint8_t> reference = ReadFileBytes(RUVELTO_DRAWPANEL_REFERENCE);
    ASSERT_EQ(reference.size(), 150u * 100 * 3);
    double squared = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x) {
            const image::RgbQuad c = decoded.GetPixelColor(x, 99 - y, false);
            const uint8_t* r = &reference[(size_t(y) * 150 + size_t(x)) * 3];
            for (int d : {c.red - r[0], c.green - r[1], c.blue - r[2]}) squared += double(d) * d;
        }
    const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / (150.0 * 100 * 3)));
    std::printf("PSNR against ImageMagick's resize: %.1f dB\n", psnr);
    EXPECT_GT(psnr, 28.0) << "PSNR against ImageMagick's resize";
}

TEST_F(DrawPanelTest, ModesHandlesSizesAndResizing) {
    ShowPanel(true, true, 100, 80);
    HWND panel = Unit("panel");
    const uint32_t red = LoadPicture(SolidBmp(10, 10, kRed));
    ASSERT_NE(red, 0u);
    Draw({Int(static_cast<int32_t>(red)), Int(0), Int(0)});  // natural size, copy
    EXPECT_EQ(PixelAt(panel, 9, 9), kRed);
    EXPECT_EQ(PixelAt(panel, 10, 10), kWhite);
    Draw({Int(static_cast<int32_t>(red)), Int(20), Int(0), Int(20), Int(20), Int(2)});  // mode 2: the negative
    EXPECT_EQ(PixelAt(panel, 30, 10), kCyan);
    Draw({Int(static_cast<int32_t>(red)), Int(50), Int(0), {}, {}, Int(-static_cast<int32_t>(kRed))});  // key red
    EXPECT_EQ(PixelAt(panel, 55, 5), kWhite) << "the key colour leaves the panel as it was";

    // Width -5 reads back 10 % of the panel's width; a size that stays 0 gives nothing.
    const std::vector<uint8_t> tenth = GetPicture({Int(-5), Int(0)});
    ASSERT_GT(tenth.size(), 54u);
    EXPECT_EQ(tenth[18], 10) << "width 10 of 100";
    EXPECT_EQ(tenth[22], 80);
    EXPECT_TRUE(GetPicture({Int(-5), Int(-1)}).size() > 54u);

    // Resized, the drawing stays in the top-left corner; the new part shows the background.
    EXPECT_EQ(PixelAt(panel, 5, 5), kRed);
    EXPECT_EQ(PixelAt(panel, 30, 10), kCyan);
    Write("panel", 2, 140);
    EXPECT_EQ(PixelAt(panel, 5, 5), kRed);
    EXPECT_EQ(PixelAt(panel, 120, 5), kWhite);

    // ClearPanel of a part; then an unloaded handle draws nothing, and unloading twice is harmless.
    std::vector<ValueRecord> clear = {Panel(), Int(0), Int(0), Int(5), Int(5)};
    ValueRecord none{};
    components::ClearPanelCommand(&none, 5, clear.data());
    EXPECT_EQ(PixelAt(panel, 2, 2), kWhite);
    EXPECT_EQ(PixelAt(panel, 7, 7), kRed);
    Unload(red);
    Unload(red);
    Unload(0);
    Draw({Int(static_cast<int32_t>(red)), Int(80), Int(40)});
    EXPECT_EQ(PixelAt(panel, 85, 45), kWhite);
    const uint32_t green = LoadPicture(SolidBmp(4, 4, kGreen));
    Draw({Int(static_cast<int32_t>(green)), Int(80), Int(40)});
    EXPECT_EQ(PixelAt(panel, 81, 41), kGreen);
    EXPECT_EQ(LoadPicture({1, 2, 3, 4, 5}), 0u) << "five bytes are not a picture";

    Write("panel", 2, 0);  // the copy keeps one column, whose 10 % is no column at all
    EXPECT_TRUE(GetPicture({Int(-5)}).empty());
}

TEST_F(DrawPanelTest, LoadPictureTakesAFileNameOrPictureBytes) {
    ShowPanel(true, true, 40, 40);
    auto load = [](ValueRecord arg) {
        ValueRecord result{};
        core_commands::LoadPicture(&result, 1, &arg);
        return result.lo;
    };
    const std::string file = "Z:" + CorpusPath("jpeg/pillow/hopper.jpg");
    const std::string missing = file + ".none";
    const std::string empty;
    const auto text = [](const std::string& t) { return ValueRecord{AddressWord(t.c_str()), 0, kTypeText}; };
    const uint32_t fromFile = load(text(file));
    EXPECT_NE(fromFile, 0u);
    EXPECT_EQ(load(text(missing)), 0u);
    EXPECT_EQ(load(text(empty)), 0u);
    EXPECT_EQ(load(Int(5)), 0u) << "neither a text nor a byte set";
    Draw({Int(static_cast<int32_t>(fromFile)), Int(0), Int(0), Int(40), Int(40)});
    EXPECT_NE(PixelAt(Unit("panel"), 20, 20), kWhite);
    Unload(fromFile);
}

TEST_F(DrawPanelTest, ScaleModeUnitsAndReadOnlySizes) {
    ShowPanel(true, false, 200, 100);
    EXPECT_EQ(Read("panel", 23), 200u);
    Write("panel", 13, 5);  // twips: 15 to a pixel at 96 DPI
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(static_cast<int>(Read("panel", 23)), MulDiv(200, 1440, dpi), 3);
    EXPECT_NEAR(static_cast<int>(Read("panel", 24)), MulDiv(100, 1440, dpi), 3);
    Write("panel", 13, 9);
    EXPECT_EQ(Read("panel", 13), 5u) << "ScaleMode above 5 is stored as 5";
}

// Writing the value a property already has changes nothing: the same background picture again
// keeps what was drawn over it (re-making the off-screen copy would paint it over); a different
// one re-makes the copy.
TEST_F(DrawPanelTest, SameBackgroundPictureAgainKeepsTheDrawing) {
    ShowPanel(true, true, 60, 40);
    HWND panel = Unit("panel");
    const std::vector<uint8_t> green = SolidBmp(60, 40, kGreen);
    WriteBytes("panel", 10, green);
    EXPECT_EQ(PixelAt(panel, 5, 5), kGreen);
    const uint32_t red = LoadPicture(SolidBmp(10, 10, kRed));
    ASSERT_NE(red, 0u);
    Draw({Int(static_cast<int32_t>(red)), Int(0), Int(0)});
    EXPECT_EQ(PixelAt(panel, 5, 5), kRed);
    WriteBytes("panel", 10, green);
    EXPECT_EQ(PixelAt(panel, 5, 5), kRed) << "the same picture again";
    const std::vector<uint8_t> back = GetPicture({});
    image::Image decoded;
    ASSERT_TRUE(decoded.Decode(back.data(), back.size(), image::IMAGE_FORMAT_BMP));
    EXPECT_EQ(decoded.GetPixelColor(5, 34, false).red, 255) << "the copy read back keeps the drawing";
    WriteBytes("panel", 10, SolidBmp(60, 40, kWhite));
    EXPECT_EQ(PixelAt(panel, 5, 5), kWhite) << "another picture re-makes the copy";
    Unload(red);
}

}  // namespace
}  // namespace ruvelto::components_test

// The format dispatch: named formats, the probe, texts, the caller's picture on failure, and what
// the caller's settings carry into a decode.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/codec.h"
#include "image/mem_stream.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

std::vector<uint8_t> SmallBmp() {
    Image image;
    image.Create(4, 3, 24, 0);
    image.Clear(0x42);
    uint8_t* out = nullptr;
    size_t size = 0;
    image.Encode(&out, &size, IMAGE_FORMAT_BMP);
    std::vector<uint8_t> bytes(out, out + size);
    FreeMemory(out);
    return bytes;
}

TEST(Dispatch, ProbeFindsAnIconNamedAsBmp) {
    const std::vector<uint8_t> ico = test::ReadFileBytes(test::CorpusPath("ico/gfxprim/8bpp_8x8.ico"));
    ASSERT_FALSE(ico.empty());
    Image named, probed;
    EXPECT_FALSE(named.Decode(ico.data(), ico.size(), IMAGE_FORMAT_BMP));  // memory decode: one attempt
    EXPECT_TRUE(probed.Decode(ico.data(), ico.size(), IMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(probed.Info.Type, IMAGE_FORMAT_ICO);
    // The file load retries with the probe.
    Image loaded;
    EXPECT_TRUE(loaded.Load(test::ApiPath(test::CorpusPath("ico/gfxprim/8bpp_8x8.ico")).c_str(), IMAGE_FORMAT_BMP));
    EXPECT_EQ(loaded.GetWidth(), 8u);
}

TEST(Dispatch, PngOrJpegNamedAsBmpFailsTheBmpAttemptAndGoesToTheProbe) {
    struct Case {
        const char* file;
        int32_t type;
    } cases[] = {{"png/pngsuite/basn2c08.png", IMAGE_FORMAT_PNG}, {"jpeg/libjpeg-turbo/testorig.jpg", IMAGE_FORMAT_JPG}};
    for (const Case& c : cases) {
        Image image;
        EXPECT_TRUE(image.Load(test::ApiPath(test::CorpusPath(c.file)).c_str(), IMAGE_FORMAT_BMP)) << c.file;
        EXPECT_EQ(image.Info.Type, c.type) << c.file;
        EXPECT_GT(image.GetWidth(), 0u) << c.file;
    }
}

// TGA, which has no signature, comes before the JPEG-2000 family in the probe: PNM files of every
// kind must still be found as PNM, not taken for a TGA.
TEST(Dispatch, ProbeFindsPnmFilesOfEveryKindAsPnm) {
    for (const char* file : {"pnm/pillow/hopper_1bit_plain.pbm", "pnm/pillow/hopper_8bit_plain.pgm",
                             "pnm/zigimg/ppm_ascii_rgb24.ppm", "pnm/pillow/hopper_1bit.pbm", "pnm/pillow/hopper_8bit.pgm",
                             "pnm/pillow/hopper_8bit.ppm", "pnm/zigimg-pam/simple_rgba_maxval_255.pam"}) {
        SCOPED_TRACE(file);
        const std::vector<uint8_t> bytes = test::ReadFileBytes(test::CorpusPath(file));
        ASSERT_FALSE(bytes.empty());
        Image probed;
        ASSERT_TRUE(probed.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_UNKNOWN)) << probed.Info.LastError;
        EXPECT_EQ(probed.Info.Type, IMAGE_FORMAT_PNM);
        Image asTga;
        EXPECT_FALSE(asTga.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_TGA));
    }
}

TEST(Dispatch, FailedDecodeKeepsTheCallersPicture) {
    const std::vector<uint8_t> bmp = SmallBmp();
    Image image;
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), IMAGE_FORMAT_BMP));
    image.Info.JpegQuality = 150;
    const std::vector<uint8_t> junk(100, 0xAB);
    EXPECT_FALSE(image.Decode(junk.data(), junk.size(), IMAGE_FORMAT_UNKNOWN));
    EXPECT_STREQ(image.Info.LastError, kErrUnknownDecodeFormat);
    EXPECT_FALSE(image.Decode(junk.data(), junk.size(), 16));
    EXPECT_STREQ(image.Info.LastError, kErrUnknownDecodeFormat);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.GetPixelColor(3, 2).red, 0x42);
    // Settings go into the codec and come back out of a successful decode.
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), IMAGE_FORMAT_BMP));
    EXPECT_EQ(image.Info.JpegQuality, 150);
}

TEST(Dispatch, TransparencyOfThePreviousPictureDoesNotCarryOver) {
    // A GIF whose colour 0x42 is transparent, then a BMP all of that colour, into one object.
    Image gif;
    gif.Create(4, 3, 24, 0);
    gif.Clear(0x42);
    gif.Info.TransIndex = 0;
    gif.SetTransColor(RgbQuad{0x42, 0x42, 0x42, 0});
    uint8_t* out = nullptr;
    size_t size = 0;
    ASSERT_TRUE(gif.Encode(&out, &size, IMAGE_FORMAT_GIF));
    const std::vector<uint8_t> gifBytes(out, out + size);
    FreeMemory(out);
    const std::vector<uint8_t> bmp = SmallBmp();
    for (int32_t format : {IMAGE_FORMAT_BMP, IMAGE_FORMAT_UNKNOWN}) {
        Image image;
        ASSERT_TRUE(image.Decode(gifBytes.data(), gifBytes.size(), IMAGE_FORMAT_GIF));
        ASSERT_EQ(image.Info.TransIndex, 0);
        ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), format));
        EXPECT_EQ(image.Info.TransIndex, -1) << format;
        // Written as GIF, the BMP has no transparent colour.
        out = nullptr;
        ASSERT_TRUE(image.Encode(&out, &size, IMAGE_FORMAT_GIF));
        const std::vector<uint8_t> written(out, out + size);
        FreeMemory(out);
        Image back;
        ASSERT_TRUE(back.Decode(written.data(), written.size(), IMAGE_FORMAT_GIF));
        EXPECT_EQ(back.Info.TransIndex, -1) << format;
    }
}

TEST(Dispatch, EncodeRefusesUnknownFormatsAndFullBuffers) {
    const std::vector<uint8_t> bmp = SmallBmp();
    Image image;
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), IMAGE_FORMAT_BMP));
    uint8_t* out = nullptr;
    size_t size = 0;
    EXPECT_FALSE(image.Encode(&out, &size, IMAGE_FORMAT_UNKNOWN));
    EXPECT_STREQ(image.Info.LastError, kErrUnknownEncodeFormat);
    EXPECT_EQ(out, nullptr);
    uint8_t dummy = 0;
    out = &dummy;
    EXPECT_FALSE(image.Encode(&out, &size, IMAGE_FORMAT_BMP));
    EXPECT_STREQ(image.Info.LastError, kErrBufferNotEmpty);
    Image empty;
    out = nullptr;
    EXPECT_FALSE(empty.Encode(&out, &size, IMAGE_FORMAT_BMP));
    EXPECT_STREQ(empty.Info.LastError, kErrNoPicture);
}

TEST(Dispatch, SaveCreatesTheFileBeforeEncoding) {
    const std::string dir = test::ScratchDir();
    Image image;
    image.Create(2, 2, 8, 0);
    EXPECT_TRUE(image.Save(test::ApiPath(dir + "/saved.bmp").c_str(), IMAGE_FORMAT_BMP));
    Image back;
    EXPECT_TRUE(back.Load(test::ApiPath(dir + "/saved.bmp").c_str(), IMAGE_FORMAT_BMP));
    image.Destroy();
    EXPECT_FALSE(image.Save(test::ApiPath(dir + "/empty.bmp").c_str(), IMAGE_FORMAT_BMP));
    EXPECT_TRUE(std::filesystem::exists(dir + "/empty.bmp"));
    EXPECT_EQ(std::filesystem::file_size(dir + "/empty.bmp"), 0u);
    EXPECT_FALSE(image.Save(test::ApiPath(dir + "/no/such/folder/x.bmp").c_str(), IMAGE_FORMAT_BMP));
}

// /dev/full takes the file open and refuses every byte, as a full disk does. A small picture's
// bytes wait in the stream's buffer: BMP and PNG leave them to the save's closing of the file,
// JPEG and GIF flush them themselves and report with their own texts. A large BMP's pixels go
// straight to the file, and the encoder does not look at what the write answered.
TEST(Dispatch, ASaveWhoseBytesDoNotReachTheDiskFails) {
    const struct {
        int32_t format, side;
        bool failsOnClosing;
    } cases[] = {{IMAGE_FORMAT_BMP, 8, true},
                 {IMAGE_FORMAT_BMP, 300, true},
                 {IMAGE_FORMAT_PNG, 8, true},
                 {IMAGE_FORMAT_JPG, 8, false},
                 {IMAGE_FORMAT_GIF, 8, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.format) + ", " + std::to_string(c.side));
        Image image;
        ASSERT_TRUE(image.Create(static_cast<uint32_t>(c.side), static_cast<uint32_t>(c.side), 24, 0));
        EXPECT_FALSE(image.Save(test::ApiPath("/dev/full").c_str(), c.format));
        if (c.failsOnClosing) {
            EXPECT_STREQ(image.Info.LastError, kErrWriteFailed);
        } else {
            EXPECT_STRNE(image.Info.LastError, "");
        }
    }
}

}  // namespace
}  // namespace ruvelto::image

namespace ruvelto::image {
namespace {

#ifdef RUVELTO_WIN32_PATHS
// The application hands over GBK Windows paths; the file layer passes them to Win32 as they are.
TEST(Dispatch, GbkPathsReachTheFileSystem) {
    const std::string dir = test::ScratchDir();
    const std::string gbkName = "\xCD\xBC\xC6\xAC.bmp";  // 图片.bmp
    Image image;
    ASSERT_TRUE(image.Create(3, 3, 24, 0));
    image.Clear(7);
    ASSERT_TRUE(image.Save((test::ApiPath(dir) + "\\" + gbkName).c_str(), IMAGE_FORMAT_BMP));
    EXPECT_TRUE(std::filesystem::exists(dir + "/\xE5\x9B\xBE\xE7\x89\x87.bmp"));  // UTF-8 on the Unix side
    Image back;
    EXPECT_TRUE(back.Load((test::ApiPath(dir) + "\\" + gbkName).c_str(), IMAGE_FORMAT_BMP));
    EXPECT_EQ(back.GetPixelColor(2, 2).green, 7);
}
#endif

}  // namespace
}  // namespace ruvelto::image

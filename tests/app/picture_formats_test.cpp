// How the application names formats by extension and splits file names.
#include "app/picture_formats.h"

#include <gtest/gtest.h>

namespace ruvelto::app {
namespace {

TEST(PictureFormats, ExtensionsMapWithoutRegardToCase) {
    const struct {
        const char* extension;
        int32_t format;
    } cases[] = {{"bmp", kFormatBmp}, {"BMP", kFormatBmp}, {"gif", kFormatGif},   {"Gif", kFormatGif},
                 {"jpg", kFormatJpg}, {"JPG", kFormatJpg}, {"jpeg", kFormatJpg},  {"JPEG", kFormatJpg}, {"jpe", kFormatJpg}, {"JPE", kFormatJpg},
                 {"png", kFormatPng}, {"PnG", kFormatPng}, {"ico", kFormatIco},   {"ICO", kFormatIco},
                 {"tif", kFormatUnknown}, {"", kFormatUnknown}, {"jpgx", kFormatUnknown}, {"icon", kFormatUnknown}};
    for (const auto& c : cases) EXPECT_EQ(FormatOfExtension(c.extension), c.format) << c.extension;
}

TEST(PictureFormats, ExtensionAfterTheLastDotOfTheFileName) {
    EXPECT_EQ(ExtensionOf("C:\\pics\\a.b.jpg"), "jpg");
    EXPECT_EQ(ExtensionOf("C:\\pics.old\\noextension"), "");  // a dot in a folder name is not one
    EXPECT_EQ(ExtensionOf("C:\\pics\\trailing."), "");
    EXPECT_EQ(BaseNameOf("a.b.jpg"), "a");
    EXPECT_EQ(BaseNameOf("plain"), "plain");
    EXPECT_EQ(FileNameOf("C:\\pics\\a.b.jpg"), "a.b.jpg");
    EXPECT_EQ(FileNameOf("a.jpg"), "a.jpg");
    // A GBK character whose trail byte is 0x5C ("\\") is not a folder separator.
    EXPECT_EQ(FileNameOf("C:\\x\\\x81\x5C.png"), "\x81\x5C.png");
}

TEST(PictureFormats, TheCorePictureDecoderReadsNoPng) {
    EXPECT_TRUE(CorePictureDecoderReads(kFormatJpg));
    EXPECT_TRUE(CorePictureDecoderReads(kFormatIco));
    EXPECT_FALSE(CorePictureDecoderReads(kFormatPng));
    EXPECT_FALSE(CorePictureDecoderReads(kFormatUnknown));
}

}  // namespace
}  // namespace ruvelto::app

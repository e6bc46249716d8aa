// The runtime's picture services as libraries reach them through the service callback: register,
// test and release a picture object, decode bytes to a bitmap; and the registered pictures that
// the exit sequence releases.
#include <gtest/gtest.h>

#include <windows.h>

#include "components/picture_registry.h"
#include "runtime/program_exit.h"
#include "runtime/services.h"
#include "tests/components/picture_fixtures.h"

namespace ruvelto::components {
namespace {

intptr_t Call(int32_t code, const void* a1, intptr_t a2 = 0) {
    return runtime::RuntimeService(code, reinterpret_cast<intptr_t>(a1), a2);
}

TEST(PictureServices, RegistryDecodeToBitmapAndExit) {
    InstallPictureServices();
    const std::vector<uint8_t> bmp = components_test::SolidBmp(3, 2, 0x0000FF);
    DecodedPicture* picture = DecodePicture(bmp.data(), static_cast<uint32_t>(bmp.size()));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(Call(kServiceIsPictureRegistered, picture), 0);
    Call(kServiceRegisterPicture, picture);
    Call(kServiceRegisterPicture, picture);  // no duplicate
    EXPECT_EQ(Call(kServiceIsPictureRegistered, picture), 1);
    Call(kServiceReleasePicture, picture);
    EXPECT_EQ(Call(kServiceIsPictureRegistered, picture), 0);
    Call(kServiceReleasePicture, picture);  // no longer registered: ignored, not freed twice

    auto bitmap = reinterpret_cast<HBITMAP>(Call(kServicePictureHelper, bmp.data(), static_cast<intptr_t>(bmp.size())));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    DeleteObject(bitmap);
    const uint8_t five[5] = {'B', 'M', 0, 0, 0};
    EXPECT_EQ(Call(kServicePictureHelper, five, 5), 0);

    // Pictures still registered when the program ends are released by the exit sequence.
    DecodedPicture* left = DecodePicture(bmp.data(), static_cast<uint32_t>(bmp.size()));
    RegisterPicture(left);
    runtime::RunExitSequence();
    EXPECT_FALSE(IsPictureRegistered(left));
}

TEST(PictureServices, IconFilesGiveTheirChosenEntryAsAnIcon) {
    const std::vector<uint8_t> icon = components_test::IconFile({16, 48});
    DecodedPicture* picture = DecodePicture(icon.data(), static_cast<uint32_t>(icon.size()));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->kind, uint32_t(kPictureIcon));
    EXPECT_EQ(picture->width, 48) << "no 32-pixel entry: the last entry";
    EXPECT_EQ(picture->height, 48);
    EXPECT_NE(picture->icon, nullptr);
    ReleasePicture(picture);
    DecodedPicture* smallIcon = DecodePicture(icon.data(), static_cast<uint32_t>(icon.size()), 16);
    ASSERT_NE(smallIcon, nullptr);
    EXPECT_EQ(smallIcon->width, 16) << "a colour count of 0 stands for 256 colours or more";
    ReleasePicture(smallIcon);
}

}  // namespace
}  // namespace ruvelto::components

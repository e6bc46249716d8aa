// Photos through the whole program: made with ImageMagick and exiftool (EXIF orientation, date
// taken, camera, GPS, a thumbnail, a wide-gamut colour profile), converted by ruvelto.exe driven
// from this process, and the outputs read back with ImageMagick and exiftool.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/program_run.h"
#include "tests/app/e2e/ruvelto_driver.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

constexpr UINT kStripPhotoInfoCommand = 20009;  // the tenth menu record, above "压缩"
const char* const kRegistryKey = "Software\\ruanjian";
const std::string kRegistryValue = "\xC8\xA5\xB3\xFD\xD5\xD5\xC6\xAC\xD0\xC5\xCF\xA2";  // 去除照片信息
const std::string kExifDroppedPrefix =
    "\xD5\xD5\xC6\xAC\xD0\xC5\xCF\xA2\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xA3\xAC\xD2\xD1\xC8\xA5\xB3\xFD\xA3\xBA";  // 照片信息无法读取，已去除：

// A command's output without its last line ending.
std::string Output(const std::string& command) {
    std::string out = CommandOutput(command);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// One tag as exiftool prints its value (-n: numbers, not names); empty when absent.
std::string Tag(const std::string& path, const std::string& tag) {
    return Output("exiftool -n -s3 -" + tag + " " + Quoted(path) + " 2>/dev/null");
}

// What ImageMagick's full reading and exiftool have to complain about the file: nothing for a
// sound one.
std::string Complaints(const std::string& path) {
    std::string complaints = Output("identify -verbose " + Quoted(path) + " 2>&1 >/dev/null");
    const std::string exiftool = Output("exiftool -s3 -Warning -Error " + Quoted(path) + " 2>&1");
    if (!exiftool.empty()) complaints += (complaints.empty() ? "" : "\n") + exiftool;
    return complaints;
}

// A profile as a colour-managed viewer reads it: ICC v2, an RGB display with Display P3's
// primaries (adapted to D50) and a 2.2 gamma, description and copyright texts.
std::string DisplayP3Profile() {
    std::vector<uint8_t> p(128, 0);
    auto be32 = [](std::vector<uint8_t>& v, uint32_t x) {
        for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (24 - 8 * i)));
    };
    auto s15 = [](double x) { return uint32_t(int32_t(x * 65536.0 + (x < 0 ? -0.5 : 0.5))); };
    struct Tag {
        const char* signature;
        std::vector<uint8_t> data;
    };
    auto xyz = [&](double x, double y, double z) {
        std::vector<uint8_t> d = {'X', 'Y', 'Z', ' ', 0, 0, 0, 0};
        be32(d, s15(x)), be32(d, s15(y)), be32(d, s15(z));
        return d;
    };
    std::vector<uint8_t> desc = {'d', 'e', 's', 'c', 0, 0, 0, 0};
    const std::string name = "Ruvelto test P3";
    be32(desc, uint32_t(name.size() + 1));
    desc.insert(desc.end(), name.begin(), name.end());
    desc.push_back(0);
    desc.resize(desc.size() + 4 + 4 + 2 + 1 + 67, 0);  // no Unicode, no ScriptCode
    std::vector<uint8_t> text = {'t', 'e', 'x', 't', 0, 0, 0, 0};
    const std::string copyright = "No copyright, use freely";
    text.insert(text.end(), copyright.begin(), copyright.end());
    text.push_back(0);
    const std::vector<uint8_t> curve = {'c', 'u', 'r', 'v', 0, 0, 0, 0, 0, 0, 0, 1, 0x02, 0x33};
    const Tag tags[] = {{"desc", desc},
                        {"cprt", text},
                        {"wtpt", xyz(0.9642, 1.0, 0.8249)},
                        {"rXYZ", xyz(0.5151, 0.2412, -0.0011)},
                        {"gXYZ", xyz(0.2920, 0.6922, 0.0419)},
                        {"bXYZ", xyz(0.1571, 0.0666, 0.7841)},
                        {"rTRC", curve},
                        {"gTRC", curve},
                        {"bTRC", curve}};
    const size_t count = sizeof tags / sizeof tags[0];
    be32(p, uint32_t(count));
    std::vector<uint8_t> data;
    size_t offset = 128 + 4 + 12 * count;
    for (const Tag& t : tags) {
        p.insert(p.end(), t.signature, t.signature + 4);
        be32(p, uint32_t(offset + data.size()));
        be32(p, uint32_t(t.data.size()));
        data.insert(data.end(), t.data.begin(), t.data.end());
        data.resize((data.size() + 3) / 4 * 4, 0);
    }
    p.insert(p.end(), data.begin(), data.end());
    std::vector<uint8_t> size;
    be32(size, uint32_t(p.size()));
    std::memcpy(p.data(), size.data(), 4);
    // Size, CMM, version 2.1, display class, RGB, XYZ connection space, a date, the signature.
    const uint8_t header[] = {0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x10, 0, 0, 'm', 'n', 't', 'r', 'R', 'G', 'B', ' ',
                              'X', 'Y', 'Z', ' ', 0x07, 0xE8, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 'a', 'c', 's', 'p'};
    std::memcpy(p.data() + 4, header + 4, sizeof header - 4);
    std::vector<uint8_t> illuminant;
    be32(illuminant, s15(0.9642)), be32(illuminant, s15(1.0)), be32(illuminant, s15(0.8249));
    std::memcpy(p.data() + 68, illuminant.data(), 12);
    return std::string(p.begin(), p.end());
}

struct Photo {
    int orientation = 1;
    int width = 60, height = 40;
    bool gps = false;
    bool profile = false;
    bool thumbnail = false;
    bool progressive = false;
};

constexpr const char* kTaken = "2024:05:06 07:08:09";
constexpr const char* kModel = "TestCam 7";

class Photos : public ProgramRun {
protected:
    void TearDown() override {
        ProgramRun::TearDown();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue.c_str());
    }

    // A picture stored with a different colour in each corner region, so that any wrong turn or
    // mirror shows, with its EXIF fields written by exiftool.
    bool MakePhoto(const std::string& name, const Photo& photo) {
        const int w = photo.width, h = photo.height;
        const std::string draw = "-fill 'rgb(220,30,30)' -draw 'rectangle 0,0 " + std::to_string(w / 2 - 1) + "," +
                                 std::to_string(h / 2 - 1) + "' -fill 'rgb(30,30,220)' -draw 'rectangle " +
                                 std::to_string(w / 2) + "," + std::to_string(h / 2) + " " + std::to_string(w - 1) + "," +
                                 std::to_string(h - 1) + "' -fill 'rgb(30,200,30)' -draw 'rectangle 0," +
                                 std::to_string(h / 2) + " " + std::to_string(w / 6) + "," + std::to_string(h - 1) + "'";
        const std::string path = Src(name);
        if (!Convert("-size " + std::to_string(w) + "x" + std::to_string(h) + " xc:white " + draw +
                     (photo.progressive ? " -interlace JPEG" : "") + " -quality 95 " + Quoted(path)))
            return false;
        std::string tags = "-Make=Ruvelto -Model='" + std::string(kModel) + "' -DateTimeOriginal='" + kTaken +
                           "' -Orientation#=" + std::to_string(photo.orientation);
        if (photo.gps) tags += " -GPSLatitude=31.2304 -GPSLatitudeRef=N -GPSLongitude=121.4737 -GPSLongitudeRef=E";
        if (photo.profile) {
            WriteBytes(Src("p3.icc"), DisplayP3Profile());
            tags += " '-ICC_Profile<=" + Src("p3.icc") + "'";
        }
        if (photo.thumbnail) {
            if (!Convert("-size 16x12 xc:orange " + Quoted(Src("thumb.jpg")))) return false;
            tags += " '-ThumbnailImage<=" + Src("thumb.jpg") + "'";
        }
        const bool tagged = std::system(("exiftool -q -q -overwrite_original " + tags + " " + Quoted(path)).c_str()) == 0;
        std::remove(Src("p3.icc").c_str());
        std::remove(Src("thumb.jpg").c_str());
        return tagged;
    }

    // ImageMagick's upright picture of the source, resized when asked, as PNG.
    std::string UprightReference(const std::string& name, const std::string& resize = "") {
        const std::string out = folder_.Unix(name + ".reference.png");
        EXPECT_TRUE(Convert(Quoted(Src(name)) + " -auto-orient" + (resize.empty() ? "" : " -resize " + resize + "!") + " " +
                            Quoted(out)));
        return out;
    }

    void StripMenuItem() { PostMessageA(program_.MainWindow(), WM_COMMAND, kStripPhotoInfoCommand, 0); }

    // The registry value of the strip switch; -1 when there is none.
    int StoredStripChoice() {
        DWORD value = 0, size = sizeof value;
        if (RegGetValueA(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                         &size) != ERROR_SUCCESS)
            return -1;
        return int(value);
    }

    void RunAgain() {
        program_.Click(c::kCheckAll);
        ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return CheckedRows() == program_.RowCount(); }, 5000));
        EXPECT_EQ(RunToTheEnd().text, kAllDone);
    }
};

TEST_F(Photos, EveryOrientationComesOutUprightAsJpgAndPng) {
    for (int o = 1; o <= 8; ++o) ASSERT_TRUE(MakePhoto("o" + std::to_string(o) + ".jpg", Photo{o}));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(8));
    ChooseOutputFolder(folder_.Windows("out"));
    // JPG to JPG first (no format conversion), then PNG.
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (int o = 1; o <= 8; ++o) {
        const std::string name = "o" + std::to_string(o);
        SCOPED_TRACE(name);
        const std::string reference = UprightReference(name + ".jpg");
        const PictureFacts jpg = Identify(Out(name + ".jpg"));
        EXPECT_EQ(jpg.width, o >= 5 ? 40 : 60);
        EXPECT_EQ(jpg.height, o >= 5 ? 60 : 40);
        EXPECT_GT(Psnr(reference, Out(name + ".jpg")), 28.0);
        EXPECT_EQ(Tag(Out(name + ".jpg"), "Orientation"), "1") << "turned once, never again by a viewer";
        std::rename(Out(name + ".jpg").c_str(), Out(name + "_first.jpg").c_str());
    }
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    ASSERT_NO_FATAL_FAILURE(RunAgain());
    for (int o = 1; o <= 8; ++o) {
        const std::string name = "o" + std::to_string(o);
        SCOPED_TRACE(name);
        EXPECT_GT(Psnr(UprightReference(name + ".jpg"), Out(name + ".png")), 35.0);
        EXPECT_EQ(Tag(Out(name + ".png"), "Orientation"), "1");
        EXPECT_EQ(Complaints(Out(name + ".png")), "");
        EXPECT_EQ(Complaints(Out(name + "_first.jpg")), "");
    }
}

TEST_F(Photos, SizesApplyToTheUprightPicture) {
    // Stored 640 x 480, upright 480 x 640: a quarter of it decodes DCT-scaled, then turns.
    ASSERT_TRUE(MakePhoto("big6.jpg", Photo{6, 640, 480}));
    ASSERT_TRUE(MakePhoto("big5.jpg", Photo{5, 640, 480, false, false, false, true}));
    ASSERT_TRUE(MakePhoto("small8.jpg", Photo{8}));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(3));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    program_.Type(c::kPercentage, "25");
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    const struct {
        const char* name;
        int width, height;
    } byPercentage[] = {{"big6", 120, 160}, {"big5", 120, 160}, {"small8", 10, 15}};
    for (const auto& p : byPercentage) {
        SCOPED_TRACE(p.name);
        const std::string size = std::to_string(p.width) + "x" + std::to_string(p.height);
        const PictureFacts facts = Identify(Out(std::string(p.name) + ".png"));
        EXPECT_EQ(facts.width, p.width);
        EXPECT_EQ(facts.height, p.height);
        if (p.width > 50) {
            EXPECT_GT(Psnr(UprightReference(std::string(p.name) + ".jpg", size), Out(std::string(p.name) + ".png")), 25.0);
        }
        EXPECT_EQ(Complaints(Out(std::string(p.name) + ".png")), "");
    }
    // A custom size is the upright picture's width and height.
    program_.Click(c::kCustomRadio);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(c::kCustomWidth)) != FALSE; }, 5000));
    program_.Type(c::kCustomWidth, "90");
    program_.Type(c::kCustomHeight, "120");
    ASSERT_NO_FATAL_FAILURE(RunAgain());
    for (const char* name : {"big6", "big5", "small8"}) {
        SCOPED_TRACE(name);
        const PictureFacts facts = Identify(Out(std::string(name) + ".png"));
        EXPECT_EQ(facts.width, 90);
        EXPECT_EQ(facts.height, 120);
        EXPECT_GT(Psnr(UprightReference(std::string(name) + ".jpg", "90x120"), Out(std::string(name) + ".png")), 25.0);
    }
}

TEST_F(Photos, CameraDataAndProfileAreKeptOrTheCameraDataStripped) {
    ASSERT_TRUE(MakePhoto("turned.jpg", Photo{6, 60, 40, true, true, true, true}));
    ASSERT_TRUE(MakePhoto("plain.jpg", Photo{1, 60, 40, true, true, true, false}));
    const std::string profile = DisplayP3Profile();
    ASSERT_EQ(Output("exiftool -b -ICC_Profile " + Quoted(Src("turned.jpg"))), profile) << "the source carries the profile";
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ChooseOutputFolder(folder_.Windows("out"));
    EXPECT_EQ(StoredStripChoice(), -1);

    // Kept, JPG to JPG and JPG to PNG.
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const std::string f : {"turned.jpg", "plain.jpg"}) std::rename(Out(f).c_str(), (Out(f) + ".kept.jpg").c_str());
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    ASSERT_NO_FATAL_FAILURE(RunAgain());
    for (const std::string out : {"turned.jpg.kept.jpg", "plain.jpg.kept.jpg", "turned.png", "plain.png"}) {
        SCOPED_TRACE(out);
        const std::string path = Out(out);
        EXPECT_EQ(Tag(path, "DateTimeOriginal"), kTaken);
        EXPECT_EQ(Tag(path, "Model"), kModel);
        EXPECT_EQ(Tag(path, "Make"), "Ruvelto");
        EXPECT_EQ(Tag(path, "GPSLatitude").substr(0, 7), "31.2304");
        EXPECT_EQ(Tag(path, "GPSLongitude").substr(0, 8), "121.4737");
        EXPECT_EQ(Tag(path, "Orientation"), "1");
        EXPECT_EQ(Output("exiftool -b -ICC_Profile " + Quoted(path)), profile) << "the profile, byte for byte";
        EXPECT_EQ(Complaints(path), "");
    }
    // The thumbnail stays with the picture it shows, and goes with a turned one.
    EXPECT_NE(Tag(Out("plain.jpg.kept.jpg"), "ThumbnailLength"), "");
    EXPECT_EQ(Tag(Out("turned.jpg.kept.jpg"), "ThumbnailLength"), "");

    // Stripped: no camera data, no GPS; the profile stays. The choice is remembered.
    StripMenuItem();
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return StoredStripChoice() == 1; }, 5000));
    program_.Click(c::kConvertSwitch);  // back to each picture's own format
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return !IsWindowEnabled(program_.Control(c::kFormatPng)); }, 5000));
    ASSERT_NO_FATAL_FAILURE(RunAgain());
    PostMessageA(program_.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_EQ(program_.WaitForExit(20000), 0u);
    // A new start restores it: its PNG goes without camera data too.
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const std::string out : {"turned.jpg", "plain.jpg", "turned.png", "plain.png"}) {
        SCOPED_TRACE(out);
        const std::string path = Out(out);
        for (const char* tag : {"DateTimeOriginal", "Model", "Make", "GPSLatitude", "GPSLongitude", "ThumbnailLength"})
            EXPECT_EQ(Tag(path, tag), "") << tag;
        EXPECT_EQ(Output("exiftool -b -ICC_Profile " + Quoted(path)), profile);
        EXPECT_EQ(Complaints(path), "");
    }
    EXPECT_EQ(Identify(Out("turned.png")).width, 40) << "stripped, still upright";
    // Off again.
    StripMenuItem();
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return StoredStripChoice() == 0; }, 5000));
}

TEST_F(Photos, AnUnreadableExifBlockIsDroppedAndSaidSo) {
    ASSERT_TRUE(MakePhoto("bad.jpg", Photo{6, 60, 40, true}));
    ASSERT_TRUE(MakePhoto("good.jpg", Photo{3}));
    // IFD0's offset, after "Exif\0\0" and the byte order and 42, sent far past the block.
    std::string bytes = FileBytes(Src("bad.jpg"));
    const size_t exif = bytes.find(std::string("Exif\0\0", 6));
    ASSERT_NE(exif, std::string::npos);
    const bool little = bytes[exif + 6] == 'I';
    const char beyond[4] = {char(little ? 0x00 : 0x7F), char(0xFF), char(0xFF), char(little ? 0x7F : 0x00)};
    bytes.replace(exif + 10, 4, beyond, 4);
    WriteBytes(Src("bad.jpg"), bytes);
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ChooseOutputFolder(folder_.Windows("out"));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    EXPECT_EQ(Identify(Out("bad.jpg")).width, 60) << "converted as stored, without the block";
    EXPECT_EQ(Tag(Out("bad.jpg"), "Model"), "");
    EXPECT_EQ(Complaints(Out("bad.jpg")), "");
    EXPECT_EQ(Tag(Out("good.jpg"), "Model"), kModel);
    const std::string status = program_.StatusText();
    EXPECT_EQ(status.find(kExifDroppedPrefix), 0u) << status;
    EXPECT_NE(status.find("bad.jpg"), std::string::npos) << status;
    EXPECT_EQ(status.find("good.jpg"), std::string::npos) << status;
}

}  // namespace
}  // namespace ruvelto::testing

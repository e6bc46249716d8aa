// Folder and file names with Chinese characters, spaces and several dots, through the real
// program: listed from the tree, previewed, and converted into a Chinese-named output folder.
// Both folder names end in a character whose second GBK byte is the backslash's (運, 錦).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/program_run.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

using ChineseNames = ProgramRun;

// The mean colour of the preview panel as it stands on the screen.
bool PreviewColour(RuveltoDriver& program, double rgb[3]) {
    const std::string picture = Artifact("names_preview.bmp");
    return forms_test::SaveWindowPicture(program.Control(c::kPreviewPanel), picture) && MeanColour(picture, rgb);
}

TEST_F(ChineseNames, ListPreviewAndRunWorkThroughout) {
    const std::string sourceName = "图片 文件夹 v1.2 好運";
    const std::string outputName = "输出 结果.2 錦";
    folder_.MakeFolder("src/" + sourceName);
    folder_.MakeFolder("out/" + outputName);
    const struct {
        std::string file, output, colour;
        double rgb[3];
    } pictures[] = {
        {"花 园.夏.jpg", "花 园.png", "rgb(200,40,40)", {200, 40, 40}},
        {"照片 01.2024.png", "照片 01.png", "rgb(40,40,200)", {40, 40, 200}},
        {"a.b.c.bmp", "a.png", "rgb(40,180,40)", {40, 180, 40}},
    };
    for (const auto& p : pictures)
        ASSERT_TRUE(Convert("-size 64x48 xc:'" + p.colour + "' '" + Src(sourceName + "/" + p.file) + "'"));

    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(folder_.Windows("src") + "\\" + Gbk(sourceName), 3));
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.file);
        int row = -1;
        for (int r = 0; r < program_.RowCount(); ++r)
            if (program_.RowText(r) == Gbk(p.file)) row = r;
        ASSERT_NE(row, -1) << "listed under its own name";
        EXPECT_NE(program_.RowText(row, 2), "0KB") << "its size is read from its own file";
        // The preview decodes the row's own file and draws it.
        double shown[3] = {};
        bool previewed = false;
        // A click that arrives before the window has come to the front is lost; a person clicks again.
        for (int click = 0; click < 3 && !previewed; ++click) {
            program_.ClickRow(row);
            previewed = RuveltoDriver::WaitFor([&] { return PreviewColour(program_, shown) && Near(shown, p.rgb, 16); }, 4000);
        }
        ASSERT_TRUE(previewed) << shown[0] << " " << shown[1] << " " << shown[2];
    }

    const std::string output = folder_.Windows("out") + "\\" + Gbk(outputName);
    ChooseOutputFolder(output + "\\");
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.output);
        const std::string written = Out(outputName + "/" + p.output);
        const PictureFacts facts = Identify(written);
        ASSERT_TRUE(facts.readable);
        EXPECT_EQ(facts.format, "PNG");
        EXPECT_EQ(facts.width, 64);
        double got[3];
        ASSERT_TRUE(MeanColour(written, got));
        EXPECT_TRUE(Near(got, p.rgb, 8)) << got[0] << " " << got[1] << " " << got[2];
    }
    EXPECT_EQ(CountFiles(Out(outputName), "*"), 3);
}

}  // namespace
}  // namespace ruvelto::testing

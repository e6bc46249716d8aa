// Where a run writes, end to end: outputs that would land on one another, on another listed
// picture or on their own source. Each case runs the real program on a fresh folder, answers
// the question about replacing sources as a person would, and checks every file afterwards
// with ImageMagick, and the bytes of every source that was not to be replaced.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/program_run.h"
#include "tests/app/e2e/ruvelto_driver.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

// "输出文件夹中有 N 张图片会被替换为转换后的图片。是否替换原图？"
std::string ReplaceQuestion(int count) {
    return "\xCA\xE4\xB3\xF6\xCE\xC4\xBC\xFE\xBC\xD0\xD6\xD0\xD3\xD0 " + std::to_string(count) +
           " \xD5\xC5\xCD\xBC\xC6\xAC\xBB\xE1\xB1\xBB\xCC\xE6\xBB\xBB\xCE\xAA\xD7\xAA\xBB\xBB\xBA\xF3\xB5\xC4\xCD\xBC"
           "\xC6\xAC\xA1\xA3\xCA\xC7\xB7\xF1\xCC\xE6\xBB\xBB\xD4\xAD\xCD\xBC\xA3\xBF";
}
// "已改名：N 个重名的输出文件"
std::string RenamedStatus(int count) {
    return "\xD2\xD1\xB8\xC4\xC3\xFB\xA3\xBA" + std::to_string(count) +
           " \xB8\xF6\xD6\xD8\xC3\xFB\xB5\xC4\xCA\xE4\xB3\xF6\xCE\xC4\xBC\xFE";
}

struct Picture {
    const char* file;    // in the scratch folder: src/..., other/...
    const char* colour;  // ImageMagick colour
};
struct Output {
    const char* file;  // in the scratch folder
    double rgb[3];
};
struct Case {
    const char* what;
    std::vector<Picture> pictures;  // those in src are listed by the folder tree
    const char* addedFile;          // a picture added through the file dialog, or null
    const char* outputFolder;       // "src" or "out"
    const ClientRect* format;       // null: each picture in its own format
    int question;                   // the N of the question about replacing sources; 0: not asked
    int answer;                     // IDYES, IDNO or IDCANCEL
    std::vector<Output> outputs;    // every file the run leaves in the output folder besides the sources
    std::vector<const char*> replaced;  // sources that may change
    int renamed;
};

constexpr double kRed[3] = {220, 30, 30}, kBlue[3] = {30, 30, 220}, kGreen[3] = {30, 200, 30};

Output Out(const char* file, const double (&rgb)[3]) { return {file, {rgb[0], rgb[1], rgb[2]}}; }

TEST(OutputNames, NoOutputLandsOnAnotherOrOnASourceWithoutAsking) {
    const Case cases[] = {
        {"a.b.jpg and a.b.png write a.png", {{"src/a.b.jpg", "rgb(220,30,30)"}, {"src/a.b.png", "rgb(30,30,220)"}},
         nullptr, "out", &c::kFormatPng, 0, 0, {Out("out/a.png", kRed), Out("out/a (2).png", kBlue)}, {}, 1},
        {"one name from two folders", {{"src/x.jpg", "rgb(220,30,30)"}, {"other/x.jpg", "rgb(30,30,220)"}},
         "other\\x.jpg", "out", &c::kFormatPng, 0, 0, {Out("out/x.png", kRed), Out("out/x (2).png", kBlue)}, {}, 1},
        {"a.jpg's output is the listed a.png; a.png replaced", {{"src/a.jpg", "rgb(220,30,30)"}, {"src/a.png", "rgb(30,30,220)"}},
         nullptr, "src", &c::kFormatPng, 1, IDYES, {Out("src/a (2).png", kRed), Out("src/a.png", kBlue)}, {"src/a.png"}, 1},
        {"the same, the originals kept", {{"src/a.jpg", "rgb(220,30,30)"}, {"src/a.png", "rgb(30,30,220)"}},
         nullptr, "src", &c::kFormatPng, 1, IDNO, {Out("src/a (2).png", kRed), Out("src/a (3).png", kBlue)}, {}, 2},
        {"in place, cancelled", {{"src/a.jpg", "rgb(220,30,30)"}, {"src/b.bmp", "rgb(30,200,30)"}},
         nullptr, "src", nullptr, 2, IDCANCEL, {}, {}, 0},
        {"in place, originals kept", {{"src/a.jpg", "rgb(220,30,30)"}, {"src/b.bmp", "rgb(30,200,30)"}},
         nullptr, "src", nullptr, 2, IDNO, {Out("src/a (2).jpg", kRed), Out("src/b (2).bmp", kGreen)}, {}, 2},
        {"in place, replaced", {{"src/a.jpg", "rgb(220,30,30)"}, {"src/b.bmp", "rgb(30,200,30)"}},
         nullptr, "src", nullptr, 2, IDYES, {Out("src/a.jpg", kRed), Out("src/b.bmp", kGreen)}, {"src/a.jpg", "src/b.bmp"}, 0},
    };
    int n = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        ScratchFolder folder("names" + std::to_string(++n));
        for (const char* sub : {"src", "out", "other"}) folder.MakeFolder(sub);
        std::map<std::string, std::string> before;
        int inSource = 0;
        for (const Picture& picture : k.pictures) {
            ASSERT_TRUE(Convert(std::string("-size 40x30 xc:'") + picture.colour + "' " + folder.Unix(picture.file)));
            before[picture.file] = FileBytes(folder.Unix(picture.file));
            inSource += std::string(picture.file).rfind("src/", 0) == 0;
        }

        RuveltoDriver program;
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.SelectFolder(folder.Windows("src")));
        ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program.RowCount() == inSource; }, 20000));
        if (k.addedFile) {
            program.Click(kAddFileButton);
            ASSERT_TRUE(ChooseInFileDialog(program, folder.Windows(k.addedFile)));
            ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program.RowCount() == inSource + 1; }, 20000));
        }
        program.Type(c::kOutputFolder, folder.Windows(k.outputFolder));
        if (k.format) {
            program.Click(c::kConvertSwitch);
            ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program.Control(*k.format)); }, 5000));
            if (!program.IsChecked(*k.format)) program.Click(*k.format);
            ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program.IsChecked(*k.format); }, 5000));
        }
        program.Click(c::kStartButton);
        if (k.question) {
            const MessageBoxSeen question = program.NextMessageBox(20000, k.answer);
            ASSERT_TRUE(question.found);
            EXPECT_EQ(question.text, ReplaceQuestion(k.question));
            EXPECT_EQ(question.title, kPromptTitle);
        }
        const int rows = program.RowCount();
        if (k.answer == IDCANCEL) {
            Sleep(1000);
            EXPECT_FALSE(program.MessageBoxShown()) << "a cancelled run does not start";
            EXPECT_EQ(program.Text(c::kStartButton), kStart);
            for (int row = 0; row < rows; ++row) EXPECT_EQ(program.CheckState(row), 1) << row;
        } else {
            EXPECT_EQ(program.NextMessageBox(60000).text, kAllDone);
            const std::string status = program.StatusText();
            EXPECT_EQ(status, k.renamed ? RenamedStatus(k.renamed) : std::string());
        }

        for (const Output& output : k.outputs) {
            SCOPED_TRACE(output.file);
            double rgb[3];
            ASSERT_TRUE(MeanColour(folder.Unix(output.file), rgb));
            EXPECT_TRUE(Near(rgb, output.rgb, 12)) << rgb[0] << " " << rgb[1] << " " << rgb[2];
        }
        // Nothing else was written, and every source not to be replaced is as it was.
        const std::string written = folder.Unix(k.outputFolder);
        int sourcesThere = 0;
        for (const Picture& picture : k.pictures)
            sourcesThere += std::string(picture.file).rfind(std::string(k.outputFolder) + "/", 0) == 0;
        int newOutputs = 0;
        for (const Output& output : k.outputs) newOutputs += before.count(output.file) == 0;
        EXPECT_EQ(CountFiles(written, "*"), sourcesThere + newOutputs);
        for (const auto& [file, bytes] : before) {
            bool mayChange = false;
            for (const char* replaced : k.replaced) mayChange = mayChange || file == replaced;
            if (!mayChange) {
                EXPECT_TRUE(FileBytes(folder.Unix(file)) == bytes) << file << " changed";
            }
        }

        PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
}

}  // namespace
}  // namespace ruvelto::testing

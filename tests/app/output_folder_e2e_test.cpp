// Output folders that cannot simply be written into, through the real program: one that does not
// exist, one that is read-only, one whose disk fills up during the run, and paths longer than the
// platform allows. Each gives a message that names the problem and the folder, and no partial or
// temporary file is left anywhere.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/program_run.h"
#include "tests/app/e2e/small_disk.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

const std::string kFolderMissing = Gbk("输出文件夹不存在：");
const std::string kCreateQuestion = Gbk("是否创建这个文件夹？");
const std::string kReadOnly = Gbk("输出文件夹是只读的，无法写入：");
const std::string kDiskFull = Gbk("磁盘空间不足，无法写入输出文件夹：");
const std::string kTooLong = Gbk("输出路径过长，请选择一个路径较短的输出文件夹：");
const std::string kRunStopped = Gbk("已停止处理，未处理的图片仍保持勾选。");
const std::string kFailedPathTooLong = Gbk("失败（路径过长）");

using OutputFolderProblem = ProgramRun;

TEST_F(OutputFolderProblem, AMissingFolderIsCreatedOnlyWhenTheUserAgrees) {
    ASSERT_TRUE(Convert("-size 30x20 xc:'rgb(40,160,40)' " + Src("a.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    // Two levels missing, named in Chinese with spaces.
    const std::string unixFolder = Out("新 文件夹/子 目录");
    const std::string folder = folder_.Windows("out") + "\\" + Gbk("新 文件夹\\子 目录");
    ChooseOutputFolder(folder);

    program_.Click(c::kStartButton);
    MessageBoxSeen box = program_.NextMessageBox(20000, IDNO);
    EXPECT_EQ(box.title, kPromptTitle);
    EXPECT_EQ(box.text, kFolderMissing + "\n" + folder + "\n" + kCreateQuestion);
    Sleep(1000);
    EXPECT_FALSE(program_.MessageBoxShown());
    EXPECT_EQ(CountFiles(Out(), "*"), 0) << "no folder without the user's yes";
    EXPECT_EQ(program_.Text(c::kStartButton), kStart);
    EXPECT_EQ(CheckedRows(), 1);

    program_.Click(c::kStartButton);
    EXPECT_EQ(program_.NextMessageBox(20000, IDYES).text, kFolderMissing + "\n" + folder + "\n" + kCreateQuestion);
    EXPECT_EQ(program_.NextMessageBox(120000).text, kAllDone);
    const PictureFacts written = Identify(unixFolder + "/a.jpg");
    EXPECT_TRUE(written.readable);
    EXPECT_EQ(written.width, 30);
    EXPECT_EQ(CountFiles(unixFolder, "*.tmp"), 0);
}

TEST_F(OutputFolderProblem, AReadOnlyFolderIsRefusedBeforeTheRun) {
    ASSERT_TRUE(Convert("-size 30x20 xc:gray " + Src("a.jpg")));
    folder_.MakeFolder("readonly");
    SmallDisk disk(folder_.Unix("readonly"), 1 << 20, true);
    if (!disk.Mounted()) GTEST_SKIP() << "this machine does not let a read-only file system be mounted";
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    ChooseOutputFolder(folder_.Windows("readonly"));
    program_.Click(c::kStartButton);
    const MessageBoxSeen box = program_.NextMessageBox();
    EXPECT_EQ(box.text, kReadOnly + "\n" + folder_.Windows("readonly"));
    EXPECT_EQ(program_.Text(c::kStartButton), kStart);
    EXPECT_EQ(CheckedRows(), 1);
    EXPECT_EQ(program_.Progress(), 0);
}

class FullDisk : public ProgramRun {
protected:
    // Four pictures whose BMP outputs take about 1 KB each, and one of about 750 KB.
    void MakePictures() {
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
            ASSERT_TRUE(Convert("-size 16x16 xc:'rgb(200,100,50)' " + Src(name)));
        ASSERT_TRUE(Convert("-size 500x500 plasma:fractal -seed 5 " + Src("big.jpg")));
    }

    // Converts the five to BMP into the folder, where the big one does not fit: the run stops
    // with the disk's message, the big one and those not reached stay checked, and the folder
    // holds only whole outputs of the others.
    void RunIntoAFullDisk(const std::string& unixFolder, const std::string& windowsFolder) {
        ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(5));
        ChooseOutputFolder(windowsFolder);
        ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatBmp));
        const MessageBoxSeen box = RunToTheEnd();
        EXPECT_EQ(box.text, kDiskFull + "\n" + windowsFolder + "\n" + kRunStopped);
        EXPECT_EQ(program_.Text(c::kStartButton), kStart);
        EXPECT_FALSE(FileExists(unixFolder + "/big.bmp"));
        EXPECT_EQ(CountFiles(unixFolder, "*.tmp"), 0) << "the partial temporary file is removed";
        int written = 0;
        for (int row = 0; row < program_.RowCount(); ++row) {
            const std::string name = program_.RowText(row);
            const std::string output = unixFolder + "/" + name.substr(0, name.find('.')) + ".bmp";
            if (name == "big.jpg") {
                EXPECT_EQ(program_.CheckState(row), 1);
            }
            if (program_.CheckState(row) == 1) {
                EXPECT_FALSE(FileExists(output)) << name;
                continue;
            }
            ++written;
            const PictureFacts facts = Identify(output);
            EXPECT_TRUE(facts.readable) << name;
            EXPECT_EQ(facts.width, 16) << name;
        }
        EXPECT_EQ(CountFiles(unixFolder, "*"), written);
    }
};

TEST_F(FullDisk, StopsTheRunLeavingOnlyWholeFilesAndTheRestIsWrittenOnceThereIsRoom) {
    ASSERT_NO_FATAL_FAILURE(MakePictures());
    folder_.MakeFolder("small");
    SmallDisk disk(folder_.Unix("small"), 256 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "this machine does not let a small file system be mounted";
    ASSERT_NO_FATAL_FAILURE(RunIntoAFullDisk(folder_.Unix("small"), folder_.Windows("small")));

    ASSERT_TRUE(disk.Grow(8 << 20));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    EXPECT_EQ(Identify(folder_.Unix("small") + "/big.bmp").width, 500);
    EXPECT_EQ(CountFiles(folder_.Unix("small"), "*.bmp"), 5);
    EXPECT_EQ(CheckedRows(), 0);
}

// The same through the file layer's own limit on what the program writes, which works on every
// machine; the program takes it from the environment it starts with.
TEST_F(FullDisk, AWriteRefusedByTheFileLayerStopsTheRunTheSameWay) {
    ASSERT_NO_FATAL_FAILURE(MakePictures());
    struct Limit {
        Limit() { SetEnvironmentVariableA("RUVELTO_TEST_DISK_SPACE", "65536"); }
        ~Limit() { SetEnvironmentVariableA("RUVELTO_TEST_DISK_SPACE", nullptr); }
    } limit;
    ASSERT_NO_FATAL_FAILURE(RunIntoAFullDisk(Out(), folder_.Windows("out")));
}

TEST_F(OutputFolderProblem, PathsLongerThanThePlatformAllowsAreRefused) {
    const std::string longName(150, 'n');
    ASSERT_TRUE(Convert("-size 20x20 xc:white " + Src(longName + ".jpg")));
    ASSERT_TRUE(Convert("-size 20x20 xc:white " + Src("short.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));

    // A folder that leaves no room for file names is refused before the run.
    const std::string tooLong = folder_.Windows("out") + "\\" + std::string(240, 'f');
    ChooseOutputFolder(tooLong);
    program_.Click(c::kStartButton);
    EXPECT_EQ(program_.NextMessageBox().text, kTooLong + "\n" + tooLong);
    EXPECT_EQ(CheckedRows(), 2);

    // A folder that fits, in which one output's path would not: that picture fails, the other
    // is written.
    const std::string deep(100, 'd');
    folder_.MakeFolder("out/" + deep);
    ChooseOutputFolder(folder_.Windows("out") + "\\" + deep);
    const MessageBoxSeen box = RunToTheEnd();
    EXPECT_NE(box.text, kAllDone);
    EXPECT_NE(box.text.find(" 1 "), std::string::npos) << box.text;
    EXPECT_TRUE(Identify(Out(deep + "/short.jpg")).readable);
    EXPECT_EQ(CountFiles(Out(deep), "*"), 1);
    for (int row = 0; row < program_.RowCount(); ++row)
        EXPECT_EQ(program_.RowText(row, 1), program_.RowText(row) == "short.jpg" ? "" : kFailedPathTooLong) << row;
}

}  // namespace
}  // namespace ruvelto::testing

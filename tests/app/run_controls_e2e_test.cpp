// A run and the controls that stay live during it, end to end: the options it started with hold
// to its end, a click on "停止" always stops it, rows checked meanwhile wait for the next run, and
// Esc ends the program as cleanly as the close box, during a run and with a dialog open.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/program_run.h"
#include "tests/app/e2e/ruvelto_driver.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

constexpr ClientRect kOutputFolderButton{606, 478, 28, 24};  // 输出文件夹按钮

// Presses Esc where the program's keyboard input goes: its focused window, else the main window.
void PressEscape(RuveltoDriver& program) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(program.MainWindow(), nullptr);
    HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : program.MainWindow();
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

// Whether the program's thread answers a message within a second.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

TEST_F(ProgramRun, TheOptionsARunStartedWithHoldToItsEnd) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 8));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(8));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatBmp));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    // Mid-run: the output box emptied, another format chosen, resizing on at 10 %.
    program_.Type(c::kOutputFolder, "");
    program_.Click(c::kFormatPng);
    program_.Click(c::kResizeSwitch);
    program_.Type(c::kPercentage, "10");
    EXPECT_EQ(program_.NextMessageBox(180000).text, kAllDone);
    EXPECT_EQ(CountFiles(Out(), "*.bmp"), 8);
    EXPECT_EQ(CountFiles(Out(), "*.png"), 0);
    for (int i = 0; i < 8; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%02d.bmp", i);
        const PictureFacts facts = Identify(Out(name));
        EXPECT_EQ(facts.width, 2400) << name;
    }
}

TEST_F(ProgramRun, StopStopsWithTheOutputBoxEmptied) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 12));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(12));
    ChooseOutputFolder(folder_.Windows("out"));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    program_.Type(c::kOutputFolder, "");
    program_.Click(c::kStartButton);
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Text(c::kStartButton) == kStart; }, 20000));
    Sleep(3000);  // the picture under way finishes
    EXPECT_FALSE(program_.MessageBoxShown()) << "stopping checks nothing and says nothing";
    const int written = CountFiles(Out(), "*.jpg");
    EXPECT_LT(written, 12);
    Sleep(2000);
    EXPECT_EQ(CountFiles(Out(), "*.jpg"), written) << "the run went on";
    EXPECT_EQ(CheckedRows(), 12 - written);
}

TEST_F(ProgramRun, RowsCheckedDuringARunWaitForTheNextOne) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 16));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(16));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatBmp));
    for (int row = 8; row < 16; ++row) program_.SetCheck(row, false);
    ASSERT_EQ(CheckedRows(), 8);
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    for (int row = 8; row < 16; ++row) program_.SetCheck(row, true);
    int highest = 0;
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] {
        highest = std::max(highest, program_.Progress());
        return program_.MessageBoxShown();
    }, 180000));
    EXPECT_LE(highest, 100);
    EXPECT_EQ(program_.NextMessageBox().text, kAllDone);
    EXPECT_EQ(program_.Text(c::kStartButton), kStart);
    EXPECT_EQ(CountFiles(Out(), "*.bmp"), 8);
    for (int row = 0; row < 16; ++row)
        EXPECT_EQ(program_.CheckState(row), row >= 8 ? 1 : 0) << "row " << row << ": rows checked during the run wait";
    EXPECT_EQ(program_.Progress(), 0);
    // The next run converts them, and only them once more.
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    EXPECT_EQ(CountFiles(Out(), "*.bmp"), 16);
}

TEST_F(ProgramRun, EscDuringARunEndsTheProgramAsTheCloseBoxDoes) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 12));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(12));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    PressEscape(program_);
    EXPECT_EQ(program_.WaitForExit(120000), 0u);
    EXPECT_EQ(CountFiles(Out(), "*.tmp"), 0);
    EXPECT_LT(CountFiles(Out(), "*.png"), 12) << "the run stopped";
    ExpectWrittenOutputsReadable(12);
}

TEST_F(ProgramRun, EscInAnOpenDialogClosesTheDialogAndEscThenEndsTheProgram) {
    const struct {
        const char* what;
        ClientRect opener;
    } dialogs[] = {{"file dialog", kAddFileButton}, {"folder browser", kOutputFolderButton}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.what);
        RuveltoDriver program;
        ASSERT_TRUE(program.Start());
        program.Type(c::kOutputFolder, "C:\\kept");
        program.Click(d.opener);
        HWND dialog = nullptr;
        ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return (dialog = program.VisibleDialog()) != nullptr; }, 20000));
        Sleep(500);
        PressEscape(program);
        ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return !IsWindow(dialog); }, 10000));
        Sleep(500);
        EXPECT_TRUE(program.Running());
        EXPECT_TRUE(Answers(program.MainWindow()));
        EXPECT_EQ(program.RowCount(), 0);
        PressEscape(program);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
}

}  // namespace
}  // namespace ruvelto::testing

// ruvelto.exe started under Wine and driven from this process as a person drives it: pick a
// folder in the tree, check rows, set options, type the output folder, start and stop runs, read
// and close the message boxes; then the written files are checked with ImageMagick.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/program_run.h"
#include "tests/app/e2e/ruvelto_driver.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;

using namespace program_texts;
constexpr UINT kAboutMenuCommand = 20013;  // the fourteenth menu record

TEST_F(ProgramRun, RefusesInOrderWithoutPicturesChecksOutputFolderOrFormat) {
    ASSERT_TRUE(Convert("-size 40x30 xc:red " + Src("a.jpg")));
    ASSERT_TRUE(program_.Start());
    const struct {
        std::string message;
    } refusals[] = {{kImport}, {kSelect}, {kOutput}, {kFormat}};
    // No rows yet.
    program_.Click(c::kStartButton);
    MessageBoxSeen box = program_.NextMessageBox();
    EXPECT_EQ(box.text, refusals[0].message);
    EXPECT_EQ(box.title, kPromptTitle);
    // Rows, none checked.
    ASSERT_TRUE(program_.SelectFolder(folder_.Windows("src")));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == 1; }, 20000));
    program_.Click(c::kInvert);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.CheckState(0) == 0; }, 5000));
    program_.Click(c::kStartButton);
    EXPECT_EQ(program_.NextMessageBox().text, refusals[1].message);
    // Checked, no output folder.
    program_.Click(c::kCheckAll);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.CheckState(0) == 1; }, 5000));
    program_.Click(c::kStartButton);
    EXPECT_EQ(program_.NextMessageBox().text, refusals[2].message);
    // Format conversion on with its one checked format unchecked.
    ChooseOutputFolder(folder_.Windows("out"));
    program_.Click(c::kConvertSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(c::kFormatJpg)); }, 5000));
    program_.Click(c::kFormatJpg);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return !program_.IsChecked(c::kFormatJpg); }, 5000));
    program_.Click(c::kStartButton);
    EXPECT_EQ(program_.NextMessageBox().text, refusals[3].message);
    EXPECT_EQ(program_.Text(c::kStartButton), kStart);
    EXPECT_EQ(CountFiles(Out(), "*"), 0);
}

TEST_F(ProgramRun, OptionControlsCouple) {
    ASSERT_TRUE(program_.Start());
    auto enabled = [&](const ClientRect& control) { return IsWindowEnabled(program_.Control(control)) != FALSE; };
    // Resizing on: the two modes and the percentage, not the custom size; off: none of them.
    program_.Click(c::kResizeSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return enabled(c::kPercentage); }, 5000));
    EXPECT_TRUE(enabled(c::kPercentRadio));
    EXPECT_TRUE(enabled(c::kCustomRadio));
    EXPECT_FALSE(enabled(c::kCustomWidth));
    program_.Click(c::kCustomRadio);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return enabled(c::kCustomWidth); }, 5000));
    EXPECT_TRUE(enabled(c::kCustomHeight));
    EXPECT_FALSE(enabled(c::kPercentage));
    program_.Click(c::kResizeSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return !enabled(c::kPercentRadio); }, 5000));
    for (const ClientRect& control : {c::kCustomRadio, c::kPercentage, c::kCustomWidth, c::kCustomHeight})
        EXPECT_FALSE(enabled(control));
    // At most one output format.
    program_.Click(c::kConvertSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return enabled(c::kFormatPng); }, 5000));
    program_.Click(c::kFormatPng);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.IsChecked(c::kFormatPng); }, 5000));
    EXPECT_FALSE(program_.IsChecked(c::kFormatJpg));
}

TEST_F(ProgramRun, ConvertsUnderTheBaseNameAndReportsABrokenFileWithoutWritingIt) {
    ASSERT_TRUE(Convert("-size 101x33 xc:'rgb(200,40,40)' " + Src("a.b.jpg")));
    ASSERT_TRUE(Convert("-size 24x24 xc:'rgb(40,40,200)' " + Src("good.bmp")));
    WriteBytes(Src("broken.jpg"), std::string("\xFF\xD8\xFF\xE0 not really a JPEG, cut short", 32));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(3));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    MessageBoxSeen box = RunToTheEnd();
    ASSERT_TRUE(box.found);
    EXPECT_NE(box.text, kAllDone);
    EXPECT_NE(box.text.find(" 1 "), std::string::npos) << box.title << ": " << box.text;

    const PictureFacts a = Identify(Out("a.png"));
    ASSERT_TRUE(a.readable) << "a.b.jpg is written as a.png";
    EXPECT_EQ(a.format, "PNG");
    EXPECT_EQ(a.width, 101);
    EXPECT_EQ(a.height, 33);
    double got[3], want[3] = {200, 40, 40};
    ASSERT_TRUE(MeanColour(Out("a.png"), got));
    EXPECT_TRUE(Near(got, want, 8)) << got[0] << " " << got[1] << " " << got[2];
    EXPECT_TRUE(Identify(Out("good.png")).readable);
    EXPECT_FALSE(FileExists(Out("broken.png"))) << "a picture that cannot be read produces no file";
    EXPECT_EQ(CountFiles(Out(), "*.tmp"), 0);
    // The list and the status bar say which picture failed.
    EXPECT_NE(program_.StatusText().find("broken.jpg"), std::string::npos) << program_.StatusText();
    for (int row = 0; row < program_.RowCount(); ++row)
        EXPECT_EQ(program_.RowText(row, 1), program_.RowText(row) == "broken.jpg" ? kFailed : "") << row;
    EXPECT_EQ(CheckedRows(), 0);
    EXPECT_EQ(program_.Progress(), 0);
}

TEST_F(ProgramRun, ResizesByPercentageEveryReadableFormat) {
    ASSERT_TRUE(Convert("-size 101x33 xc:'rgb(30,160,60)' " + Src("a.jpg")));
    ASSERT_TRUE(Convert("-size 101x33 xc:'rgb(30,60,160)' " + Src("b.png")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    program_.Type(c::kPercentage, "50");
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    const struct {
        const char* name;
        double colour[3];
    } outputs[] = {{"a.jpg", {30, 160, 60}}, {"b.png", {30, 60, 160}}};
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.name);
        const PictureFacts facts = Identify(Out(output.name));
        ASSERT_TRUE(facts.readable);
        EXPECT_EQ(facts.width, 50);
        EXPECT_EQ(facts.height, 16);
        double got[3];
        ASSERT_TRUE(MeanColour(Out(output.name), got));
        EXPECT_TRUE(Near(got, output.colour, 10)) << got[0] << " " << got[1] << " " << got[2];
    }
}

// Clicks one arrow of the percentage box's spin buttons with the mouse.
void ClickSpinArrow(RuveltoDriver& program, bool up) {
    RECT r{};
    GetWindowRect(program.SpinButton(), &r);
    const POINT at{(r.left + r.right) / 2, up ? r.top + (r.bottom - r.top) / 4 : r.bottom - (r.bottom - r.top) / 4};
    SetForegroundWindow(program.MainWindow());
    forms_test::MouseAt(at, MOUSEEVENTF_LEFTDOWN);
    forms_test::MouseAt(at, MOUSEEVENTF_LEFTUP);
}

TEST_F(ProgramRun, ThePercentageSpinButtonsStepTheSizeTheRunWrites) {
    ASSERT_TRUE(Convert("-size 100x50 xc:'rgb(60,60,160)' " + Src("a.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.SpinButton()); }, 5000));
    ASSERT_EQ(program_.Text(c::kPercentage), "100");
    const struct {
        bool up;
        const char* shows;
    } clicks[] = {{false, "99"}, {false, "98"}, {false, "97"}, {true, "98"}};
    for (const auto& click : clicks) {
        ClickSpinArrow(program_, click.up);
        EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Text(c::kPercentage) == click.shows; }, 5000))
            << program_.Text(c::kPercentage) << " instead of " << click.shows;
    }
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    const PictureFacts facts = Identify(Out("a.jpg"));
    EXPECT_EQ(facts.width, 98);
    EXPECT_EQ(facts.height, 49);
    // Downward the spin stops at 0.
    program_.Type(c::kPercentage, "1");
    for (int i = 0; i < 2; ++i) ClickSpinArrow(program_, false);
    Sleep(500);
    EXPECT_EQ(program_.Text(c::kPercentage), "0");
}

TEST_F(ProgramRun, AZeroSizeWritesNothingAndIsReported) {
    ASSERT_TRUE(Convert("-size 101x33 xc:white " + Src("a.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    program_.Type(c::kPercentage, "0");
    MessageBoxSeen box = RunToTheEnd();
    EXPECT_NE(box.text, kAllDone);
    EXPECT_EQ(CountFiles(Out(), "*"), 0);
}

TEST_F(ProgramRun, TheCustomSizeWinsWhenBothRadioBoxesAreChecked) {
    ASSERT_TRUE(Convert("-size 101x33 xc:gray " + Src("a.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    program_.Type(c::kPercentage, "50");
    program_.Type(c::kCustomWidth, "40");
    program_.Type(c::kCustomHeight, "30");
    // Both checked at once, as a template could hold them.
    SendMessageA(program_.Control(c::kCustomRadio), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(program_.IsChecked(c::kPercentRadio));
    ASSERT_TRUE(program_.IsChecked(c::kCustomRadio));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    const PictureFacts facts = Identify(Out("a.jpg"));
    EXPECT_EQ(facts.width, 40);
    EXPECT_EQ(facts.height, 30);
}

// A photo-like picture with what resizing gets wrong: one-pixel stripes, thin lines and text.
std::string FineDetail(int width, int height) {
    return "-size " + std::to_string(width) + "x" + std::to_string(height) +
           " -seed 7 plasma:fractal -blur 0x1 \\( -size " + std::to_string(width / 3) + "x" + std::to_string(height / 3) +
           " pattern:vertical2 \\) -geometry +" + std::to_string(width / 2) + "+" + std::to_string(height / 2) +
           " -composite -stroke 'rgb(20,20,20)' -strokewidth 1 -draw 'line 0,0 " + std::to_string(width - 1) + "," +
           std::to_string(height - 1) + "' -stroke none -font DejaVu-Sans -fill white -pointsize 30 -annotate +20+60 "
           "'Ruvelto 0123' -fill black -pointsize 12 -annotate +20+" + std::to_string(height - 20) +
           " 'The quick brown fox jumps over the lazy dog' ";
}

// Every resized output against ImageMagick's own resize of the same source: by percentage and
// to a custom size, JPEG sources (shrunk in the decoder first) and PNG sources, shrinking and
// enlarging. Outputs are PNG, so only decoding and resizing count.
TEST_F(ProgramRun, ResizedPicturesStayCloseToImageMagicksResize) {
    ASSERT_TRUE(Convert(FineDetail(400, 300) + "-quality 95 " + Src("photo_j.jpg")));
    ASSERT_TRUE(Convert(FineDetail(400, 300) + Src("photo_p.png")));
    ASSERT_TRUE(Convert(FineDetail(100, 75) + Src("small.png")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(3));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    const struct {
        const char* what;
        int percent, width, height;
        struct {
            const char* source;
            int width, height;
        } outputs[3];
    } runs[] = {
        {"by percentage", 50, 0, 0, {{"photo_j", 200, 150}, {"photo_p", 200, 150}, {"small", 50, 37}}},
        {"custom size", 0, 150, 100, {{"photo_j", 150, 100}, {"photo_p", 150, 100}, {"small", 150, 100}}},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.what);
        if (run.percent) {
            program_.Type(c::kPercentage, std::to_string(run.percent));
        } else {
            program_.Click(c::kCustomRadio);
            ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(c::kCustomWidth)); }, 5000));
            program_.Type(c::kCustomWidth, std::to_string(run.width));
            program_.Type(c::kCustomHeight, std::to_string(run.height));
            program_.Click(c::kCheckAll);
            ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return CheckedRows() == 3; }, 5000));
        }
        EXPECT_EQ(RunToTheEnd().text, kAllDone);
        for (const auto& output : run.outputs) {
            SCOPED_TRACE(output.source);
            const std::string written = Out(std::string(output.source) + ".png");
            const PictureFacts facts = Identify(written);
            ASSERT_TRUE(facts.readable);
            EXPECT_EQ(facts.width, output.width);
            EXPECT_EQ(facts.height, output.height);
            const std::string source = Src(std::string(output.source) + (output.source == std::string("photo_j") ? ".jpg" : ".png"));
            const std::string reference = folder_.Unix(std::string(output.source) + "_reference.png");
            ASSERT_TRUE(Convert(source + " -resize " + std::to_string(output.width) + "x" + std::to_string(output.height) +
                                "! " + reference));
            EXPECT_GE(Psnr(reference, written), 35.0);
        }
    }
}

// A picture with transparent areas keeps them through a resize in every output format that has
// alpha (PNG, ICO), and the colours beside them are not darkened by the hidden colour of clear
// pixels; a format without alpha (JPG) shows them laid over white.
TEST_F(ProgramRun, TransparentAreasStayTransparentWhenResized) {
    // 64 x 48: opaque orange up to x = 32, clear (black underneath) from there on; the edge falls
    // inside an output pixel of the half-size picture.
    const std::string clear = "-size 64x48 xc:'rgba(0,0,0,0)' -fill 'rgb(250,140,20)' -draw 'rectangle 0,0 32,47' ";
    ASSERT_TRUE(Convert(clear + "PNG32:" + Src("clear.png")));
    ASSERT_TRUE(Convert(clear + Src("icon.ico")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    program_.Type(c::kPercentage, "50");
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const char* name : {"clear.png", "icon.ico"}) {
        SCOPED_TRACE(name);
        const PictureFacts facts = Identify(Out(name));
        ASSERT_TRUE(facts.readable);
        EXPECT_EQ(facts.width, 32);
        EXPECT_EQ(facts.height, 24);
        int opaque[4], edge[4], gone[4];
        ASSERT_TRUE(PixelAt(Out(name), 4, 12, opaque));
        ASSERT_TRUE(PixelAt(Out(name), 16, 12, edge));
        ASSERT_TRUE(PixelAt(Out(name), 28, 12, gone));
        EXPECT_EQ(opaque[3], 255);
        EXPECT_NEAR(opaque[0], 250, 2);
        EXPECT_EQ(gone[3], 0);
        // Half covered: half the alpha, the full colour.
        EXPECT_NEAR(edge[3], 128, 3);
        EXPECT_NEAR(edge[0], 250, 3);
        EXPECT_NEAR(edge[1], 140, 3);
    }

    // Again, written as JPG.
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatJpg));
    program_.Click(c::kCheckAll);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return CheckedRows() == 2; }, 5000));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const char* name : {"clear.jpg", "icon.jpg"}) {
        SCOPED_TRACE(name);
        int opaque[4], edge[4], gone[4];
        ASSERT_TRUE(PixelAt(Out(name), 4, 12, opaque));
        ASSERT_TRUE(PixelAt(Out(name), 16, 12, edge));
        ASSERT_TRUE(PixelAt(Out(name), 28, 12, gone));
        EXPECT_NEAR(opaque[0], 250, 8);
        EXPECT_NEAR(opaque[2], 20, 8);
        EXPECT_GE(gone[0], 245);
        EXPECT_GE(gone[1], 245);
        EXPECT_GE(gone[2], 245);
        EXPECT_NEAR(edge[2], (20 + 255) / 2, 10);  // half orange, half white
    }
}

TEST_F(ProgramRun, AnOutputFolderThatIsTheSourceFolderNeverDamagesASource) {
    ASSERT_TRUE(Convert("-size 101x33 xc:'rgb(90,90,200)' " + Src("a.jpg")));
    const std::string broken("\xFF\xD8\xFF\xE0 broken picture bytes kept as they are", 44);
    WriteBytes(Src("broken.jpg"), broken);
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ChooseOutputFolder(folder_.Windows("src"));
    program_.Click(c::kStartButton);
    EXPECT_TRUE(program_.NextMessageBox(20000, IDYES).found) << "replacing the sources is asked about";
    MessageBoxSeen box = program_.NextMessageBox(120000);
    EXPECT_NE(box.text, kAllDone);
    const PictureFacts a = Identify(Src("a.jpg"));
    ASSERT_TRUE(a.readable);
    EXPECT_EQ(a.width, 101);
    EXPECT_EQ(a.height, 33);
    EXPECT_EQ(FileBytes(Src("broken.jpg")), broken);
    EXPECT_EQ(CountFiles(Src(), "*.tmp"), 0);
}

TEST_F(ProgramRun, ARowAddedFromAnotherFolderConvertsItsOwnFile) {
    folder_.MakeFolder("other");
    ASSERT_TRUE(Convert("-size 30x30 xc:'rgb(220,30,30)' " + Src("x.jpg")));
    ASSERT_TRUE(Convert("-size 30x30 xc:'rgb(30,30,220)' " + folder_.Unix("other/x.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    ChooseOutputFolder(folder_.Windows("out"));
    program_.Click({33 + 6, 34 + 12, 48, 24});  // 添加 in 分组框4
    ASSERT_TRUE(ChooseInFileDialog(program_, folder_.Windows("other\\x.jpg")));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == 2; }, 20000));
    program_.SetCheck(0, false);
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    double got[3], blue[3] = {30, 30, 220};
    ASSERT_TRUE(MeanColour(Out("x.png"), got));
    EXPECT_TRUE(Near(got, blue, 10)) << got[0] << " " << got[1] << " " << got[2];
}

TEST_F(ProgramRun, StoppingMidRunLeavesTheRestCheckedAndTheProgressWhereItStood) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 16));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(16));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatBmp));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    forms_test::SaveWindowPicture(program_.MainWindow(), Artifact("main_window_run.bmp"));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Text(c::kStartButton) == kStart; }, 10000));
    Sleep(3000);  // the picture under way finishes
    const int progress = program_.Progress();
    Sleep(2000);
    EXPECT_FALSE(program_.MessageBoxShown());
    EXPECT_EQ(program_.Progress(), progress);
    const int done = 16 - CheckedRows();
    EXPECT_GT(done, 0);
    EXPECT_LT(done, 16);
    EXPECT_EQ(progress, done * 100 / 16);
    EXPECT_EQ(CountFiles(Out(), "*.bmp"), done);
    // Pictures converted ahead of the stop by the workers are not put in place, and leave nothing.
    EXPECT_EQ(CountFiles(Out(), "*.tmp"), 0);
}

TEST_F(ProgramRun, AFileCreatedBesideTheSelectedFolderLeavesTheListAlone) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 8));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(8));
    ChooseOutputFolder(folder_.Windows("out"));
    program_.SetCheck(0, false);  // the user's own choice
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    WriteBytes(folder_.Unix("created-during-the-run.txt"), "x");
    MessageBoxSeen box = program_.NextMessageBox(120000);
    EXPECT_EQ(box.text, kAllDone);
    WriteBytes(folder_.Unix("created-after-the-run.txt"), "x");
    Sleep(2000);
    ASSERT_EQ(program_.RowCount(), 8);
    EXPECT_EQ(CheckedRows(), 0) << "an import would have checked every row again";
    EXPECT_EQ(CountFiles(Out(), "*.jpg"), 7);
    EXPECT_FALSE(FileExists(Out(program_.RowText(0))));
}

TEST_F(ProgramRun, ClosingTheWindowDuringARunEndsTheProgramNormally) {
    ASSERT_NO_FATAL_FAILURE(MakeLargePictures(folder_, 12));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(12));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() > 0; }, 60000));
    PostMessageA(program_.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program_.WaitForExit(120000), 0u);
    EXPECT_EQ(CountFiles(Out(), "*.tmp"), 0);
    ExpectWrittenOutputsReadable(12);
}

TEST_F(ProgramRun, ClosingTheWindowWhileTheFileDialogIsOpenEndsTheProgramWhenItCloses) {
    ASSERT_TRUE(program_.Start());
    program_.Click({33 + 6, 34 + 12, 48, 24});  // 添加 in 分组框4
    HWND dialog = nullptr;
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return (dialog = program_.VisibleDialog()) != nullptr; }, 20000));
    PostMessageA(program_.MainWindow(), WM_CLOSE, 0, 0);
    Sleep(1000);
    ASSERT_TRUE(program_.Running()) << "the window stays while its dialog is open";
    EXPECT_TRUE(IsWindow(dialog));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(program_.WaitForExit(20000), 0u);
}

TEST_F(ProgramRun, PreviewingTwoHundredTimesLeavesMemoryFlat) {
    ASSERT_TRUE(Convert("-size 800x600 plasma:fractal -seed 3 -quality 75 " + Src("a.jpg")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    // A preview shows the image object's quality in the quality box (80 before any preview).
    bool previewed = false;
    // A click that arrives before the window has come to the front is lost; a person clicks again.
    for (int click = 0; click < 3 && !previewed; ++click) {
        program_.ClickRow(0);
        previewed = RuveltoDriver::WaitFor([&] { return program_.Text(c::kQualityText) != "80"; }, 4000);
    }
    ASSERT_TRUE(previewed);
    auto previews = [&](int times) {
        for (int i = 0; i < times; ++i) {
            program_.ClickRow(0);
            Sleep(40);
        }
        Sleep(500);
    };
    previews(20);
    const size_t before = program_.MemoryInUse();
    ASSERT_GT(before, 0u);
    previews(180);
    const size_t after = program_.MemoryInUse();
    EXPECT_LT(after, before + 48u * 1024 * 1024) << before << " -> " << after;
    EXPECT_TRUE(program_.Running());
}

TEST_F(ProgramRun, TheAboutWindowOpensFromTheHelpMenu) {
    ASSERT_TRUE(program_.Start());
    PostMessageA(program_.MainWindow(), WM_COMMAND, kAboutMenuCommand, 0);
    HWND about = nullptr;
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] {
        about = FindWindowA(nullptr, "\xB9\xD8\xD3\xDA\xB4\xB0\xBF\xDA");
        return about && IsWindowVisible(about);
    }, 10000));
    Sleep(500);
    forms_test::SaveWindowPicture(about, Artifact("about_window.bmp"));
    EXPECT_FALSE(IsWindowEnabled(program_.MainWindow())) << "the about window is modal";
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.MainWindow()); }, 10000));
}

}  // namespace
}  // namespace ruvelto::testing

#include "tests/app/e2e/program_run.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ruvelto::testing {

std::string Artifact(const std::string& name) {
    std::system("mkdir -p " RUVELTO_BINARY_DIR "/artifacts");
    return RUVELTO_BINARY_DIR "/artifacts/" + name;
}

bool Near(const double a[3], const double b[3], double tolerance) {
    for (int i = 0; i < 3; ++i)
        if (std::fabs(a[i] - b[i]) > tolerance) return false;
    return true;
}

ProgramRun::ProgramRun() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    folder_.MakeFolder("src");
    folder_.MakeFolder("out");
}

void ProgramRun::TearDown() {
    if (!program_.Running()) return;
    PostMessageA(program_.MainWindow(), WM_CLOSE, 0, 0);
    for (int i = 0; i < 5 && program_.WaitForExit(1000) == STILL_ACTIVE; ++i) program_.NextMessageBox(100);
}

void ProgramRun::StartWithSourceFolder(int rows) { StartWithSourceFolder(folder_.Windows("src"), rows); }

void ProgramRun::StartWithSourceFolder(const std::string& windowsFolder, int rows) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.SelectFolder(windowsFolder));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == rows; }, 20000))
        << program_.RowCount() << " rows";
}

void ProgramRun::ConvertTo(const ClientRect& format) {
    program_.Click(controls::kConvertSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(format)); }, 5000));
    if (!program_.IsChecked(format)) program_.Click(format);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.IsChecked(format); }, 5000));
}

void ProgramRun::ResizeOn() {
    program_.Click(controls::kResizeSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(controls::kPercentage)); }, 5000));
}

MessageBoxSeen ProgramRun::RunToTheEnd() {
    program_.Click(controls::kStartButton);
    return program_.NextMessageBox(120000);
}

void ProgramRun::ExpectWrittenOutputsReadable(int count) {
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%02d.png", i);
        if (FileExists(Out(name))) {
            EXPECT_TRUE(Identify(Out(name)).readable) << name;
        }
    }
}

int ProgramRun::CheckedRows() {
    int checked = 0;
    for (int row = 0; row < program_.RowCount(); ++row) checked += program_.CheckState(row) == 1;
    return checked;
}

// Waits for the open-file dialog, types the path into its file name box and presses OK.
bool ChooseInFileDialog(RuveltoDriver& program, const std::string& windowsPath) {
    HWND dialog = nullptr;
    RuveltoDriver::WaitFor([&] { return (dialog = program.VisibleDialog()) != nullptr; }, 20000);
    if (!dialog) return false;
    Sleep(500);
    // The file name box: a combo box (id 0x47C) on the newer dialog, an edit (0x480) on the older.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    if (!name) return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(windowsPath.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
}

// Pictures big enough that a run takes a few seconds.
void MakeLargePictures(const ScratchFolder& folder, int count) {
    ASSERT_TRUE(Convert("-size 2400x1800 plasma:fractal -seed 7 " + folder.Unix("src/p00.jpg")));
    for (int i = 1; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "src/p%02d.jpg", i);
        CopyFileA(folder.Windows("src\\p00.jpg").c_str(), folder.Windows(std::string(name).replace(3, 1, "\\")).c_str(),
                  FALSE);
    }
}

}  // namespace ruvelto::testing

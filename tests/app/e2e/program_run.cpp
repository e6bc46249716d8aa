#include "tests/app/e2e/program_run.h"

#include <cmath>
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

int ProgramRun::CheckedRows() {
    int checked = 0;
    for (int row = 0; row < program_.RowCount(); ++row) checked += program_.CheckState(row) == 1;
    return checked;
}

}  // namespace ruvelto::testing

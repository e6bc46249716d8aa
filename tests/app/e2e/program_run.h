// The fixture of the end-to-end tests: a scratch folder with src and out, the program started
// on it, and the steps a person takes in its main window.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/ruvelto_driver.h"

namespace ruvelto::testing {

// The program's texts (GBK).
namespace program_texts {
inline const std::string kImport = "\xC7\xEB\xB5\xBC\xC8\xEB\xD0\xE8\xD2\xAA\xB4\xA6\xC0\xED\xB5\xC4\xCD\xBC\xC6\xAC\xA3\xA1";
inline const std::string kSelect = "\xC7\xEB\xD1\xA1\xD4\xF1\xD0\xE8\xD2\xAA\xB4\xA6\xC0\xED\xB5\xC4\xCD\xBC\xC6\xAC\xA3\xA1";
inline const std::string kOutput = "\xC7\xEB\xD1\xA1\xD4\xF1\xCA\xE4\xB3\xF6\xC2\xB7\xBE\xB6\xA3\xA1";
inline const std::string kFormat = "\xC7\xEB\xD1\xA1\xD4\xF1\xCA\xE4\xB3\xF6\xB8\xF1\xCA\xBD\xA3\xA1";
inline const std::string kAllDone = "\xC4\xFA\xD1\xA1\xD4\xF1\xB5\xC4\xCD\xBC\xC6\xAC\xD2\xD1\xB4\xA6\xC0\xED\xCD\xEA\xB1\xCF\xA3\xA1";
inline const std::string kPromptTitle = "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE";
inline const std::string kStart = "\xBF\xAA\xCA\xBC";
inline const std::string kFailed = "\xCA\xA7\xB0\xDC";
}  // namespace program_texts

// Screenshots for a person to look at, in build/wine/artifacts.
std::string Artifact(const std::string& name);

// Each colour channel of a within tolerance of b's.
bool Near(const double a[3], const double b[3], double tolerance);

// Waits for the open-file dialog, types the path into its file name box and presses OK.
bool ChooseInFileDialog(RuveltoDriver& program, const std::string& windowsPath);

// Pictures big enough that a run on every core takes a few seconds: src/p00.jpg, src/p01.jpg...
// (2400 x 1800).
void MakeLargePictures(const ScratchFolder& folder, int count);

// The 添加 button in 分组框4.
constexpr ClientRect kAddFileButton{33 + 6, 34 + 12, 48, 24};

class ProgramRun : public ::testing::Test {
protected:
    ProgramRun();
    void TearDown() override;

    std::string Src(const std::string& name = "") const { return folder_.Unix(name.empty() ? "src" : "src/" + name); }
    std::string Out(const std::string& name = "") const { return folder_.Unix(name.empty() ? "out" : "out/" + name); }

    // Starts the program, picks src (or another folder of the scratch folder, as a Windows path)
    // in the tree and waits for its rows.
    void StartWithSourceFolder(int rows);
    void StartWithSourceFolder(const std::string& windowsFolder, int rows);

    void ChooseOutputFolder(const std::string& windowsPath) { program_.Type(controls::kOutputFolder, windowsPath); }
    void ConvertTo(const ClientRect& format);
    // Turns resizing on and waits for the percentage box to take input.
    void ResizeOn();

    // Starts a run and returns the message box that ends it.
    MessageBoxSeen RunToTheEnd();
    int CheckedRows();
    // Every out/pNN.png of the first `count` pictures that exists reads back as a picture (a run
    // ended early may have written only some).
    void ExpectWrittenOutputsReadable(int count);

    ScratchFolder folder_;
    RuveltoDriver program_;
};

}  // namespace ruvelto::testing

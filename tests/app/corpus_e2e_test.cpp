// Every file of the picture corpus, valid, questionable and broken, copied flat into one folder
// and converted to PNG by ruvelto.exe driven as a person drives it: once at full size, stopped a
// third of the way and started again, then once more halved. Each row must end converted or
// marked as failed as the manifest allows, every written file must be a complete picture of the
// right size, failures must write nothing, and no source file may change. The window answers
// while the thousand rows are listed. Where the build has the Windows release's PE program of its
// word size, that program converts the same files at full size too, to the same pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/e2e/answer_probe.h"
#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/ruvelto_driver.h"
#include "tests/corpus_exceptions.h"
#include "tests/corpus_manifest.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;

// The program's texts (GBK).
const std::string kAllDone = "\xC4\xFA\xD1\xA1\xD4\xF1\xB5\xC4\xCD\xBC\xC6\xAC\xD2\xD1\xB4\xA6\xC0\xED\xCD\xEA\xB1\xCF\xA3\xA1";
const std::string kStart = "\xBF\xAA\xCA\xBC";
const std::string kFailed = "\xCA\xA7\xB0\xDC";

// A whole run over the corpus takes minutes on a loaded machine.
constexpr DWORD kRunLimit = 40 * 60 * 1000;

std::string Lower(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return text;
}

std::string ExtensionOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? "" : Lower(name.substr(dot + 1));
}

// The name a PNG output of this source gets: the part before the first "." and ".png".
std::string OutputName(const std::string& name) { return name.substr(0, name.find('.')) + ".png"; }

// The extensions of the patterns the program scans a folder for.
bool ListedByTheProgram(const std::string& name) {
    const std::string e = ExtensionOf(name);
    return e == "jpg" || e == "jpeg" || e == "jpe" || e == "gif" || e == "bmp" || e == "png" || e == "ico";
}

struct SourceFile {
    std::string name;  // in the scratch folder
    std::string corpusPath;
    std::string expectation;
};

// Copies the corpus flat into the folder. File names stay as they are unless two would meet
// (the file system ignores case), or two outputs would: outputs are named after the part before
// the first ".", so that part gets a number where it repeats.
std::vector<SourceFile> CopyCorpusFlat(const std::string& unixFolder) {
    std::vector<SourceFile> files;
    std::set<std::string> bases;
    for (const corpus::CorpusFile& entry : corpus::CorpusFiles("")) {
        const std::string original = entry.path.substr(entry.path.rfind('/') + 1);
        const size_t dot = original.find('.');
        const std::string base = original.substr(0, dot), rest = dot == std::string::npos ? "" : original.substr(dot);
        std::string name = original;
        for (int n = 2; bases.count(Lower(name.substr(0, name.find('.')))); ++n)
            name = base + "-" + std::to_string(n) + rest;
        bases.insert(Lower(name.substr(0, name.find('.'))));
        WriteBytes(unixFolder + "/" + name, FileBytes(std::string(RUVELTO_CORPUS) + "/" + entry.path));
        files.push_back({name, entry.path, entry.expectation});
    }
    return files;
}


// Names and checksums of every file in the folder.
std::string Checksums(const std::string& unixFolder) {
    return CommandOutput("cd '" + unixFolder + "' && find . -type f -print0 | sort -z | xargs -0 md5sum");
}

// ImageMagick's size and format of each named picture of the folder that it reads whole: of the
// first image, on its page (the screen of a GIF), upright for a JPEG whose EXIF orientation turns
// it a quarter; names it cannot read are absent.
struct Facts {
    int width = 0, height = 0;
    std::string format;  // ImageMagick's name of it, or libvips's loader
};

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }
std::map<std::string, Facts> PictureFacts(const std::string& unixFolder, const std::vector<std::string>& names) {
    std::map<std::string, Facts> facts;
    for (size_t first = 0; first < names.size(); first += 200) {
        std::string command = "cd '" + unixFolder + "' && identify -format '%f|%W %H %m %[orientation]\\n'";
        for (size_t i = first; i < names.size() && i < first + 200; ++i) command += " '" + names[i] + "[0]'";
        const std::string lines = CommandOutput(command + " 2>/dev/null");
        for (size_t at = 0; at < lines.size();) {
            const size_t end = lines.find('\n', at);
            const std::string line = lines.substr(at, end - at);
            at = end == std::string::npos ? lines.size() : end + 1;
            const size_t bar = line.rfind('|');
            Facts picture;
            char format[32] = {}, orientation[32] = {};
            if (bar != std::string::npos &&
                std::sscanf(line.c_str() + bar + 1, "%d %d %31s %31s", &picture.width, &picture.height, format, orientation) >= 3) {
                picture.format = format;
                const std::string turn = orientation;
                if (picture.format == "JPEG" && (turn == "LeftTop" || turn == "RightTop" || turn == "RightBottom" || turn == "LeftBottom"))
                    std::swap(picture.width, picture.height);
                facts[line.substr(0, bar)] = picture;
            }
        }
    }
    return facts;
}

// The same for pictures the program wrote; those beyond ImageMagick's size limits (16,000 pixels
// a side here) go to libvips, told to fail on a truncated file.
std::map<std::string, Facts> OutputFacts(const std::string& unixFolder, const std::vector<std::string>& names) {
    std::map<std::string, Facts> facts = PictureFacts(unixFolder, names);
    for (const std::string& name : names) {
        if (facts.count(name)) continue;
        const std::string path = "'" + unixFolder + "/" + name + "'";
        Facts picture;
        if (std::sscanf(CommandOutput("vipsheader -f width " + path + " 2>/dev/null").c_str(), "%d", &picture.width) != 1 ||
            std::sscanf(CommandOutput("vipsheader -f height " + path + " 2>/dev/null").c_str(), "%d", &picture.height) != 1 ||
            CommandOutput("vips avg '" + unixFolder + "/" + name + "[fail_on=truncated]' 2>/dev/null").empty())
            continue;
        picture.format = CommandOutput("vipsheader -f vips-loader " + path + " 2>/dev/null") == "pngload\n" ? "PNG" : "?";
        facts[name] = picture;
    }
    return facts;
}

// Types the output folder and chooses conversion to PNG, as a person does before a run.
void ConvertToPngInto(RuveltoDriver& program, const std::string& windowsFolder) {
    program.Type(c::kOutputFolder, windowsFolder);
    program.Click(c::kConvertSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program.Control(c::kFormatPng)); }, 5000));
    program.Click(c::kFormatPng);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program.IsChecked(c::kFormatPng); }, 5000));
}

struct Row {
    std::string name;
    bool failed = false;
    int check = -1;
};

class CorpusRun : public ::testing::Test {
protected:
    CorpusRun() : folder_("corpus") {
        folder_.MakeFolder("src");
        folder_.MakeFolder("full");
        folder_.MakeFolder("half");
    }

    void TearDown() override {
        if (!program_.Running()) return;
        PostMessageA(program_.MainWindow(), WM_CLOSE, 0, 0);
        for (int i = 0; i < 5 && program_.WaitForExit(1000) == STILL_ACTIVE; ++i) program_.NextMessageBox(100);
    }

    std::vector<Row> Rows() {
        std::vector<Row> rows(static_cast<size_t>(program_.RowCount()));
        for (size_t i = 0; i < rows.size(); ++i) {
            const int row = static_cast<int>(i);
            rows[i] = {program_.RowText(row), program_.RowText(row, 1) == kFailed, program_.CheckState(row)};
        }
        return rows;
    }

    int CheckedRows() {
        int checked = 0;
        for (int row = 0; row < program_.RowCount(); ++row) checked += program_.CheckState(row) == 1;
        return checked;
    }

    // Waits until a stopped run has ended: the picture under way finishes, then the window
    // answers at once and the rows stay as they are.
    void WaitUntilTheRunEnds() {
        int agreeing = 0, before = -1;
        while (agreeing < 3) {
            Sleep(1000);
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(program_.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 200, &result)) {
                agreeing = 0;
                continue;
            }
            const int now = CheckedRows();
            agreeing = now == before ? agreeing + 1 : 0;
            before = now;
        }
    }

    // What a finished run told: every row unchecked and either marked failed with no output or
    // written; the message and the status bar count and name the failures of the last start.
    void ExpectTheRunReported(const MessageBoxSeen& box, const std::vector<std::string>& lastStarted,
                              const std::vector<Row>& rows, const std::string& outFolder) {
        ASSERT_TRUE(box.found) << "the run did not finish";
        std::set<std::string> failedNames;
        for (const Row& row : rows) {
            EXPECT_EQ(row.check, 0) << row.name;
            EXPECT_NE(FileExists(outFolder + "/" + OutputName(row.name)), row.failed) << row.name;
            if (row.failed) failedNames.insert(row.name);
        }
        int failedLastStart = 0;
        const std::string status = program_.StatusText();
        for (const std::string& name : lastStarted) {
            if (!failedNames.count(name)) continue;
            ++failedLastStart;
            EXPECT_NE(status.find(name), std::string::npos) << name << " is not named in the status bar: " << status;
        }
        if (failedLastStart == 0) {
            EXPECT_EQ(box.text, kAllDone);
        } else {
            EXPECT_NE(box.text.find(" " + std::to_string(failedLastStart) + " "), std::string::npos) << box.text;
        }
        EXPECT_EQ(program_.Progress(), 0);
        EXPECT_EQ(program_.Text(c::kStartButton), kStart);
        // Nothing but the outputs of the converted rows: no temporary file, no partial picture.
        EXPECT_EQ(CountFiles(outFolder, "*"), static_cast<int>(rows.size() - failedNames.size()));
    }

    // The PE program converts the folder at full size to PNG into pe/, failing exactly the rows the
    // winelib program failed and writing the same pixels for the others.
    void ExpectThePeProgramWritesTheSame(const std::string& peProgram, const std::vector<Row>& fullRows) {
        PostMessageA(program_.MainWindow(), WM_CLOSE, 0, 0);  // a second copy would only restore the first
        ASSERT_NE(program_.WaitForExit(30000), STILL_ACTIVE);
        folder_.MakeFolder("pe");
        RuveltoDriver pe;
        ASSERT_TRUE(pe.Start(peProgram)) << peProgram;
        ASSERT_TRUE(pe.SelectFolder(folder_.Windows("src")));
        ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return pe.RowCount() == static_cast<int>(fullRows.size()); }, 300000));
        ASSERT_NO_FATAL_FAILURE(ConvertToPngInto(pe, folder_.Windows("pe")));
        pe.Click(c::kStartButton);
        ASSERT_TRUE(pe.NextMessageBox(kRunLimit).found) << "the PE program's run did not finish";
        std::map<std::string, bool> peFailed;
        for (int row = 0; row < pe.RowCount(); ++row) peFailed[pe.RowText(row)] = pe.RowText(row, 1) == kFailed;
        PostMessageA(pe.MainWindow(), WM_CLOSE, 0, 0);
        pe.WaitForExit(30000);

        int compared = 0;
        for (const Row& row : fullRows) {
            SCOPED_TRACE(row.name + " in the PE program");
            ASSERT_TRUE(peFailed.count(row.name)) << "not listed";
            EXPECT_EQ(peFailed[row.name], row.failed);
            if (row.failed || peFailed[row.name]) continue;
            const std::string a = folder_.Unix("full/" + OutputName(row.name)), b = folder_.Unix("pe/" + OutputName(row.name));
            ++compared;
            if (FileBytes(a) == FileBytes(b)) continue;
            // Different bytes may still hold the same pixels; ImageMagick counts the pixels that differ.
            const std::string differing = CommandOutput("compare -metric AE '" + a + "' '" + b + "' null: 2>&1");
            EXPECT_EQ(differing, "0") << "pixels differ from the winelib program's output";
        }
        EXPECT_GT(compared, static_cast<int>(fullRows.size()) / 2);
    }

    ScratchFolder folder_;
    RuveltoDriver program_;
};

TEST_F(CorpusRun, EveryFileConvertsOrIsReportedAndNoSourceChanges) {
    const std::vector<SourceFile> files = CopyCorpusFlat(folder_.Unix("src"));
    const std::string checksums = Checksums(folder_.Unix("src"));
    std::map<std::string, const SourceFile*> listed;
    for (const SourceFile& file : files)
        if (ListedByTheProgram(file.name)) listed[file.name] = &file;

    ASSERT_TRUE(program_.Start());
    {
        // A thousand rows take a while to list: the window answers meanwhile.
        AnswerProbe probe(program_.MainWindow(), 2000);
        ASSERT_TRUE(program_.SelectFolder(folder_.Windows("src")));
        ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == static_cast<int>(listed.size()); },
                                           300000))
            << program_.RowCount() << " rows of " << listed.size();
        const Answers answers = probe.Take();
        EXPECT_EQ(answers.misses, 0) << "the window did not answer within 2 s while the folder was listed, "
                                     << answers.milliseconds.size() << " times asked";
    }
    std::vector<Row> rows = Rows();
    std::set<std::string> names;
    for (const Row& row : rows) names.insert(row.name);
    for (const auto& [name, file] : listed) EXPECT_TRUE(names.count(name)) << name << " is not listed";

    // Full size, to PNG, stopped a third of the way.
    ASSERT_NO_FATAL_FAILURE(ConvertToPngInto(program_, folder_.Windows("full")));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Progress() >= 33; }, kRunLimit));
    program_.Click(c::kStartButton);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Text(c::kStartButton) == kStart; }, 60000));
    WaitUntilTheRunEnds();
    EXPECT_FALSE(program_.MessageBoxShown());
    rows = Rows();
    std::vector<std::string> remaining;
    for (const Row& row : rows) {
        const bool written = FileExists(folder_.Unix("full/" + OutputName(row.name)));
        if (row.check == 1) {
            remaining.push_back(row.name);
            EXPECT_FALSE(written || row.failed) << row.name << ": a row still checked was done";
        } else {
            EXPECT_NE(written, row.failed) << row.name << ": a done row is either written or marked failed";
        }
    }
    EXPECT_GT(remaining.size(), 0u);
    EXPECT_LT(remaining.size(), rows.size() * 3 / 4);

    // Started again: the rows still checked go on.
    program_.Click(c::kStartButton);
    MessageBoxSeen box = program_.NextMessageBox(kRunLimit);
    rows = Rows();
    ASSERT_NO_FATAL_FAILURE(ExpectTheRunReported(box, remaining, rows, folder_.Unix("full")));

    // Valid files convert, broken ones fail, as the manifest and the library's known exceptions say;
    // every output is a whole PNG of the picture's size.
    std::vector<std::string> written, validSources;
    for (const Row& row : rows) {
        if (!row.failed) written.push_back(OutputName(row.name));
        if (listed.count(row.name) && listed[row.name]->expectation == "valid") validSources.push_back(row.name);
    }
    const std::map<std::string, Facts> fullFacts = OutputFacts(folder_.Unix("full"), written);
    const std::map<std::string, Facts> sourceFacts = PictureFacts(folder_.Unix("src"), validSources);
    for (const Row& row : rows) {
        if (!listed.count(row.name)) continue;
        const SourceFile& file = *listed[row.name];
        SCOPED_TRACE(row.name + " (" + file.corpusPath + ")");
        if (file.expectation == "valid" && !corpus::kRefusedValid.count(file.corpusPath)) {
            EXPECT_FALSE(row.failed) << "a valid file failed";
        }
        if (file.expectation == "invalid" && !corpus::kAcceptedInvalid.count(file.corpusPath)) {
            EXPECT_TRUE(row.failed) << "a broken file was converted";
        }
        if (row.failed) continue;
        const auto output = fullFacts.find(OutputName(row.name));
        if (output == fullFacts.end() || output->second.format != "PNG") {
            ADD_FAILURE() << "its output is no whole PNG";
            continue;
        }
        const auto source = sourceFacts.find(row.name);
        if (file.expectation == "valid" && source != sourceFacts.end()) {
            EXPECT_EQ(SizeText(output->second.width, output->second.height),
                      SizeText(source->second.width, source->second.height));
        }
    }

    // Halved: each picture converted at full size comes out at half its size, truncated; a side
    // that would be 0 pixels is a failure.
    program_.Click(c::kCheckAll);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return CheckedRows() == static_cast<int>(rows.size()); }, 20000));
    program_.Type(c::kOutputFolder, folder_.Windows("half"));
    program_.Click(c::kResizeSwitch);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(c::kPercentage)); }, 5000));
    program_.Type(c::kPercentage, "50");
    std::vector<std::string> all;
    for (const Row& row : rows) all.push_back(row.name);
    program_.Click(c::kStartButton);
    box = program_.NextMessageBox(kRunLimit);
    std::vector<Row> halved = Rows();
    ASSERT_NO_FATAL_FAILURE(ExpectTheRunReported(box, all, halved, folder_.Unix("half")));
    std::vector<std::string> halfWritten;
    for (const Row& row : halved)
        if (!row.failed) halfWritten.push_back(OutputName(row.name));
    const std::map<std::string, Facts> halfFacts = OutputFacts(folder_.Unix("half"), halfWritten);
    ASSERT_EQ(halved.size(), rows.size());
    for (size_t i = 0; i < halved.size(); ++i) {
        const Row& row = halved[i];
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.name, rows[i].name);
        const auto full = fullFacts.find(OutputName(row.name));
        const int width = full == fullFacts.end() ? 0 : full->second.width / 2;
        const int height = full == fullFacts.end() ? 0 : full->second.height / 2;
        EXPECT_EQ(row.failed, width == 0 || height == 0);
        if (row.failed) continue;
        const auto output = halfFacts.find(OutputName(row.name));
        if (output == halfFacts.end() || output->second.format != "PNG") {
            ADD_FAILURE() << "its output is no whole PNG";
            continue;
        }
        EXPECT_EQ(SizeText(output->second.width, output->second.height), SizeText(width, height));
    }

    EXPECT_TRUE(checksums == Checksums(folder_.Unix("src"))) << "a source file changed";

#ifdef RUVELTO_PE_PROGRAM
    ExpectThePeProgramWritesTheSame(RUVELTO_PE_PROGRAM, rows);
    EXPECT_TRUE(checksums == Checksums(folder_.Unix("src"))) << "the PE program changed a source file";
#endif
}

}  // namespace
}  // namespace ruvelto::testing

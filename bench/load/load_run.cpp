// The program under load: thousands of small pictures listed from one folder and converted to
// PNG in one run of ruvelto.exe, driven from this process as a person drives it. Meanwhile a
// second thread asks the main window for an answer every 50 ms, while the folder is listed and
// during the run (both let pending messages through between pictures), and the program's
// committed memory is read at the start, middle and end of the run. Prints the figures and ends
// with 0 when the window always answered within the bound, memory stayed flat and every picture
// was written.
//   load_run.exe [list] <count> <bound in ms> <allowed memory growth in MB>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/app/e2e/answer_probe.h"
#include "tests/app/e2e/clock.h"
#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/ruvelto_driver.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;

const std::string kAllDone = "\xC4\xFA\xD1\xA1\xD4\xF1\xB5\xC4\xCD\xBC\xC6\xAC\xD2\xD1\xB4\xA6\xC0\xED\xCD\xEA\xB1\xCF\xA3\xA1";

double Seconds() { return MillisecondsNow() / 1000.0; }

double Megabytes(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void PrintAnswers(const Answers& answers, const char* phase, DWORD boundMs) {
    std::printf("answers %s: %zu asked, median %.1f ms, 99th percentile %.1f ms, longest %.1f ms, %d beyond %lu ms\n",
                phase, answers.milliseconds.size(), answers.Percentile(0.5), answers.Percentile(0.99),
                answers.Percentile(1.0), answers.misses, static_cast<unsigned long>(boundMs));
}

// The pictures: one of each of four formats made with ImageMagick, linked under numbered names
// by one Perl process (ImageMagick takes minutes to write a long GIF sequence, and copying
// 100,000 files one call at a time through Wine takes a quarter of an hour).
bool MakePictures(const ScratchFolder& folder, int count) {
    const char* formats[] = {"jpg", "png", "bmp", "gif"};
    for (const char* format : formats) {
        if (!Convert("-size 96x72 plasma:fractal -seed 1 " + folder.Unix(std::string("first.") + format))) return false;
    }
    const int digits = count > 10000 ? 6 : 4;
    const std::string script = "my @f = qw(jpg png bmp gif); for my $i (0 .. " + std::to_string(count - 1) +
                               ") { my $e = $f[$i % 4]; link(\"first.$e\", sprintf(\"src/p%0" + std::to_string(digits) +
                               "d.%s\", $i, $e)) or die }";
    CommandOutput("cd " + Quoted(folder.Unix()) + " && perl -e " + Quoted(script));
    return CountFiles(folder.Unix("src"), "*") == count;
}

int Main(int count, DWORD boundMs, double allowedGrowthMb, bool listOnly) {
    ScratchFolder folder("load");
    folder.MakeFolder("src");
    folder.MakeFolder("out");
    std::printf("making %d pictures of 96 x 72 (JPEG, PNG, BMP, GIF in turn)\n", count);
    if (!MakePictures(folder, count)) return std::printf("could not make the pictures\n"), 2;

    RuveltoDriver program;
    if (!program.Start()) return std::printf("ruvelto.exe did not start\n"), 2;
    AnswerProbe probe(program.MainWindow(), boundMs);
    const size_t beforeListing = program.MemoryInUse();
    const double listStart = Seconds();
    if (!program.SelectFolder(folder.Windows("src"))) return std::printf("could not pick the folder\n"), 2;
    const double selected = Seconds() - listStart;
    if (!RuveltoDriver::WaitFor([&] { return program.RowCount() == count; }, 1800000))
        return std::printf("%d rows listed of %d\n", program.RowCount(), count), 1;
    const double listSeconds = Seconds() - listStart;
    const size_t listed = program.MemoryInUse();
    if (listOnly) {
        const Answers listing = probe.Take();
        std::printf("listing:   %d rows in %.1f s (the folder picked in the tree after %.1f s)\n", count, listSeconds,
                    selected);
        PrintAnswers(listing, "while listing", boundMs);
        std::printf("memory:    %.1f MB before listing, %.1f MB listed, %.0f bytes a row\n", Megabytes(beforeListing),
                    Megabytes(listed), (static_cast<double>(listed) - static_cast<double>(beforeListing)) / count);
        PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
        program.WaitForExit(60000);
        std::printf("%s\n", listing.misses == 0 ? "PASSED" : "FAILED");
        return listing.misses == 0 ? 0 : 1;
    }

    program.Type(c::kOutputFolder, folder.Windows("out"));
    program.Click(c::kConvertSwitch);
    RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program.Control(c::kFormatPng)); }, 5000);
    program.Click(c::kFormatPng);
    if (!RuveltoDriver::WaitFor([&] { return program.IsChecked(c::kFormatPng); }, 5000))
        return std::printf("could not choose PNG\n"), 2;

    const Answers listing = probe.Take();
    const double runStart = Seconds();
    program.Click(c::kStartButton);
    size_t atStart = 0, atMiddle = 0, peak = 0;
    RuveltoDriver::WaitFor([&] { return program.Progress() >= 1; }, 600000);
    atStart = program.MemoryInUse();
    RuveltoDriver::WaitFor([&] {
        peak = std::max(peak, program.MemoryInUse());
        return program.Progress() >= 50;
    }, 3600000);
    atMiddle = program.MemoryInUse();
    MessageBoxSeen box;
    while (!box.found && Seconds() - runStart < 3600) {
        peak = std::max(peak, program.MemoryInUse());
        box = program.NextMessageBox(1000);
    }
    const double runSeconds = Seconds() - runStart;
    const Answers run = probe.Take();
    Sleep(500);
    const size_t atEnd = program.MemoryInUse();
    peak = std::max(peak, atEnd);
    const int written = CountFiles(folder.Unix("out"), "*.png");

    std::printf("listing:   %d rows in %.1f s (the folder picked in the tree after %.1f s)\n", count, listSeconds,
                selected);
    std::printf("listed:    %.0f bytes a row (%.1f MB before listing)\n",
                (static_cast<double>(listed) - static_cast<double>(beforeListing)) / count, Megabytes(beforeListing));
    std::printf("run:       %d pictures in %.1f s, %.1f ms a picture, %d written, message %s\n", count, runSeconds,
                runSeconds * 1000.0 / count, written, box.text == kAllDone ? "all done" : "other or none");
    PrintAnswers(listing, "while listing", boundMs);
    PrintAnswers(run, "during the run", boundMs);
    std::printf("memory:    listed %.1f MB, run start %.1f MB, middle %.1f MB, end %.1f MB, peak %.1f MB\n",
                Megabytes(listed), Megabytes(atStart), Megabytes(atMiddle), Megabytes(atEnd), Megabytes(peak));
    const double growth = Megabytes(atEnd) - Megabytes(atStart);
    std::printf("growth:    %+.1f MB from start to end, %+.1f MB from middle to end (allowed %.0f MB)\n", growth,
                Megabytes(atEnd) - Megabytes(atMiddle), allowedGrowthMb);

    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    program.WaitForExit(30000);
    const bool ok = box.text == kAllDone && written == count && listing.misses == 0 && run.misses == 0 && growth <= allowedGrowthMb;
    std::printf("%s\n", ok ? "PASSED" : "FAILED");
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace ruvelto::testing

int main(int argc, char** argv) {
    // "list" first: the folder is listed and the program closed, without a run (a folder of
    // 100,000 pictures would take most of an hour to convert).
    const bool listOnly = argc > 1 && std::strcmp(argv[1], "list") == 0;
    if (listOnly) --argc, ++argv;
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const DWORD bound = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 1000;
    const double growth = argc > 3 ? std::atof(argv[3]) : 16.0;
    return ruvelto::testing::Main(count, bound, growth, listOnly);
}

#include "tests/app/e2e/picture_files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace ruvelto::testing {
std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        pclose(p);
    }
    return out;
}

// On the prefix's C: drive, whose root hardly changes: the folder tree watches every folder on
// the way down, and a busy folder such as /tmp keeps it refreshing.
ScratchFolder::ScratchFolder(const std::string& name) {
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string drive = prefix && *prefix ? std::string(prefix) + "/drive_c" : "/tmp";
    unix_ = drive + "/ruvelto-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    CommandOutput("rm -rf " + Quoted(unix_) + " && mkdir -p " + Quoted(unix_));
}

ScratchFolder::~ScratchFolder() { CommandOutput("rm -rf " + Quoted(unix_)); }

std::string ScratchFolder::Unix(const std::string& relative) const {
    return relative.empty() ? unix_ : unix_ + "/" + relative;
}

std::string ScratchFolder::Windows(const std::string& relative) const {
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string drive = prefix && *prefix ? std::string(prefix) + "/drive_c" : "";
    std::string path = Unix(relative);
    path = !drive.empty() && path.compare(0, drive.size(), drive) == 0 ? "C:" + path.substr(drive.size()) : "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void ScratchFolder::MakeFolder(const std::string& relative) const { CommandOutput("mkdir -p " + Quoted(Unix(relative))); }

bool Convert(const std::string& arguments) { return std::system(("convert " + arguments + " 2>/dev/null").c_str()) == 0; }

PictureFacts Identify(const std::string& unixPath) {
    PictureFacts facts;
    std::istringstream out(CommandOutput("identify -format '%w %h %m\\n' " + Quoted(unixPath) + "[0] 2>/dev/null"));
    if (out >> facts.width >> facts.height >> facts.format) facts.readable = true;
    return facts;
}

bool MeanColour(const std::string& unixPath, double rgb[3]) {
    std::istringstream out(CommandOutput("convert " + Quoted(unixPath) +
                                  "[0] -alpha off -resize 1x1! -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] "
                                  "%[fx:int(255*b)]' info: 2>/dev/null"));
    return static_cast<bool>(out >> rgb[0] >> rgb[1] >> rgb[2]);
}

double Psnr(const std::string& unixPathA, const std::string& unixPathB) {
    const std::string out = CommandOutput("compare -metric PSNR " + Quoted(unixPathA + "[0]") + " -alpha off " +
                                   Quoted(unixPathB + "[0]") + " -alpha off null: 2>&1");
    if (out.rfind("inf", 0) == 0) return 999;
    char* end = nullptr;
    const double db = std::strtod(out.c_str(), &end);
    return end != out.c_str() ? db : -1;
}

bool PixelAt(const std::string& unixPath, int x, int y, int rgba[4]) {
    const std::string at = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
    std::string format;
    for (const char* channel : {".r", ".g", ".b", ".a"}) format += "%[fx:int(255*" + at + channel + "+0.5)] ";
    std::istringstream out(CommandOutput("convert " + Quoted(unixPath + "[0]") + " -format '" + format + "' info: 2>/dev/null"));
    return static_cast<bool>(out >> rgba[0] >> rgba[1] >> rgba[2] >> rgba[3]);
}

bool FileExists(const std::string& unixPath) { return std::ifstream(unixPath).good(); }

std::string FileBytes(const std::string& unixPath) {
    std::ifstream in(unixPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& unixPath, const std::string& bytes) {
    std::ofstream(unixPath, std::ios::binary) << bytes;
}

int CountFiles(const std::string& unixFolder, const std::string& pattern) {
    return std::atoi(CommandOutput("cd " + Quoted(unixFolder) + " && ls -1 " + pattern + " 2>/dev/null | wc -l").c_str());
}

std::string Gbk(const std::string& utf8) {
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> text(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), wide);
    const int bytes = WideCharToMultiByte(936, 0, text.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(936, 0, text.data(), -1, gbk.data(), bytes, nullptr, nullptr);
    gbk.resize(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0));
    return gbk;
}

}  // namespace ruvelto::testing

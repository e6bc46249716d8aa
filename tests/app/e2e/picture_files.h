// Picture files for the end-to-end tests: a fresh folder under /tmp, pictures made and checked
// with ImageMagick (the reference we did not write).
#pragma once
#include <string>

namespace ruvelto::testing {

// A new empty folder ruvelto-e2e-<n>-<name> on the Wine prefix's C: drive, removed with everything
// in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    std::string Unix(const std::string& relative = "") const;
    std::string Windows(const std::string& relative = "") const;  // C:\ruvelto-e2e-...
    void MakeFolder(const std::string& relative) const;

private:
    std::string unix_;
};

// A path quoted for the Unix shell (no single quote inside).
std::string Quoted(const std::string& text);
// What a Unix shell command prints on its standard output.
std::string CommandOutput(const std::string& command);

// Runs ImageMagick's convert with these arguments (paths as Unix paths); true on success.
bool Convert(const std::string& arguments);

struct PictureFacts {
    bool readable = false;
    int width = 0, height = 0;
    std::string format;  // ImageMagick's name: JPEG, PNG, GIF, BMP3, ICO, ...
};
PictureFacts Identify(const std::string& unixPath);

// The picture's mean red, green and blue, 0-255 each; false when ImageMagick cannot read it.
bool MeanColour(const std::string& unixPath, double rgb[3]);

// ImageMagick's peak signal-to-noise ratio of b against a in dB (colour channels only; 999 for
// identical pictures); -1 when it cannot compare them (unreadable, different sizes).
double Psnr(const std::string& unixPathA, const std::string& unixPathB);

// Red, green, blue and alpha of pixel (x, y), 0-255 each (alpha 255 for a picture without
// alpha); false when ImageMagick cannot read it.
bool PixelAt(const std::string& unixPath, int x, int y, int rgba[4]);

// A UTF-8 text (names on the Unix side) in GBK (the same names on the program's side).
std::string Gbk(const std::string& utf8);

bool FileExists(const std::string& unixPath);
std::string FileBytes(const std::string& unixPath);
void WriteBytes(const std::string& unixPath, const std::string& bytes);
// Names in the folder matching a shell pattern.
int CountFiles(const std::string& unixFolder, const std::string& pattern);

}  // namespace ruvelto::testing

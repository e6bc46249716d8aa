// Build step: writes Ruvelto's program image as C++ source and header, and beside the source
// its code base (<out>_code_base.cpp).
//   ruvelto_image_gen [--low-memory] <out.cpp> <out.h> <header include path> [archiver installer] [browser installer]
// Without installer files, small placeholders stand in for them. --low-memory emits the image for
// a 64-bit program, which places it in low memory at start-up.
#include <cstdio>
#include <string>
#include <vector>

#include "image-data/cpp_emitter.h"
#include "image-data/ruvelto_image.h"

namespace {

bool ReadFile(const char* path, std::vector<uint8_t>& out) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
    std::fclose(f);
    return true;
}

bool WriteFile(const char* path, const std::string& text) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> Placeholder(const char* what) {
    std::string text = std::string("placeholder for the ") + what + " installer";
    return {text.begin(), text.end()};
}

}  // namespace

int main(int argc, char** argv) {
    auto flavour = ruvelto::image_data::ImageFlavour::kLinked;
    if (argc > 1 && std::string(argv[1]) == "--low-memory") {
        flavour = ruvelto::image_data::ImageFlavour::kPlacedInLowMemory;
        --argc, ++argv;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s out.cpp out.h include-path [archiver.exe browser.exe]\n", argv[0]);
        return 2;
    }
    ruvelto::image_data::EmbeddedInstallers installers;
    if (argc > 4 && !ReadFile(argv[4], installers.archiver)) return std::fprintf(stderr, "cannot read %s\n", argv[4]), 1;
    if (argc > 5 && !ReadFile(argv[5], installers.browser)) return std::fprintf(stderr, "cannot read %s\n", argv[5]), 1;
    if (installers.archiver.empty()) installers.archiver = Placeholder("archiver");
    if (installers.browser.empty()) installers.browser = Placeholder("browser");

    auto image = ruvelto::image_data::EmitCpp(ruvelto::image_data::RuveltoImageDescription(installers), argv[3], flavour);
    std::string codeBasePath = argv[1];
    codeBasePath = codeBasePath.substr(0, codeBasePath.rfind('.')) + "_code_base.cpp";
    if (!WriteFile(argv[1], image.source) || !WriteFile(argv[2], image.header) ||
        !WriteFile(codeBasePath.c_str(), image.codeBase)) {
        std::fprintf(stderr, "cannot write the image sources\n");
        return 1;
    }
    return 0;
}

// The Windows release as Windows will see it: each ruvelto.exe is a PE program of its machine
// that starts without a console, imports nothing but Windows' own DLLs (the C and C++ runtimes and
// the picture libraries are inside), carries its icon, its Chinese version and its manifest, and
// holds both companion installers in its program image. The x86_64 program sits at a fixed base
// below 4 GB, where its code and globals fit the runtime's 32-bit words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/release/pe_file.h"

namespace ruvelto::testing {
namespace {

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle) {
    return !needle.empty() && std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

std::vector<uint8_t> Utf16(const std::string& ascii) {
    std::vector<uint8_t> out;
    for (char c : ascii) out.insert(out.end(), {static_cast<uint8_t>(c), 0});
    return out;
}

const PeResource* Find(const PeFile& file, uint32_t type) {
    for (const PeResource& r : file.resources)
        if (r.type == type) return &r;
    return nullptr;
}

struct Release {
    const char* build;  // folder beside the host build
    uint16_t machine, magic;
};

// The output of a command (a file of a zip, read by unzip).
std::vector<uint8_t> CommandBytes(const std::string& command) {
    std::vector<uint8_t> out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.insert(out.end(), buffer, buffer + n);
        pclose(pipe);
    }
    return out;
}

class WindowsRelease : public ::testing::TestWithParam<Release> {
protected:
    std::string Path(const std::string& file) const { return std::string(RUVELTO_BUILDS) + "/" + GetParam().build + "/" + file; }
    std::string Zip() const { return std::string(RUVELTO_BUILDS) + "/dist/ruvelto-1.0-" + GetParam().build + ".zip"; }
    void ExpectAWholeProgram(const std::vector<uint8_t>& bytes);
};

TEST_P(WindowsRelease, IsASelfContainedGuiProgramWithItsResources) {
    const std::vector<uint8_t> bytes = Bytes(Path("app/ruvelto.exe"));
    ASSERT_FALSE(bytes.empty()) << Path("app/ruvelto.exe") << " is missing: scripts/build builds it";
    ExpectAWholeProgram(bytes);
}

// What scripts/package ships: the program, stripped but whole, and the read-me.
TEST_P(WindowsRelease, ZipHoldsTheProgramAndTheReadMe) {
    ASSERT_TRUE(!Bytes(Zip()).empty()) << Zip() << " is missing: scripts/package makes it";
    const std::vector<uint8_t> names = CommandBytes("unzip -Z1 '" + Zip() + "'");
    EXPECT_EQ(std::string(names.begin(), names.end()), "ruvelto.exe\nREADME.txt\n");
    const std::vector<uint8_t> program = CommandBytes("unzip -p '" + Zip() + "' ruvelto.exe");
    EXPECT_LT(program.size(), Bytes(Path("app/ruvelto.exe")).size()) << "not stripped";
    ExpectAWholeProgram(program);
    const std::vector<uint8_t> readMe = CommandBytes("unzip -p '" + Zip() + "' README.txt");
    const std::string text(readMe.begin(), readMe.end());
    EXPECT_EQ(text.rfind("\xEF\xBB\xBFRuvelto 1.0", 0), 0u) << "no byte-order mark or title";
    EXPECT_NE(text.find("\xE6\x89\xB9\xE9\x87\x8F"), std::string::npos) << "no Chinese part";  // 批量
    EXPECT_NE(text.find("batch picture converter\r\n"), std::string::npos) << "no English part or no Windows line ends";
}

void WindowsRelease::ExpectAWholeProgram(const std::vector<uint8_t>& bytes) {
    const std::optional<PeFile> pe = ReadPeFile(bytes);
    ASSERT_TRUE(pe);
    EXPECT_EQ(pe->machine, GetParam().machine);
    EXPECT_EQ(pe->magic, GetParam().magic);
    EXPECT_EQ(pe->subsystem, 2) << "not a Windows GUI program";

    // Windows' own DLLs only: these ship with every Windows the program runs on.
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
                                          "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "winmm.dll",
                                          "msvcrt.dll", "shlwapi.dll", "version.dll"};
    EXPECT_GE(pe->importedDlls.size(), 3u);
    for (std::string dll : pe->importedDlls) {
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_TRUE(system.count(dll)) << "imports " << dll << ", which a Windows machine need not have";
    }

    EXPECT_TRUE(Find(*pe, 14)) << "no icon group";
    const PeResource* version = Find(*pe, 16);
    ASSERT_TRUE(version) << "no version resource";
    EXPECT_EQ(version->language, 0x804u) << "the version is not in Simplified Chinese";
    EXPECT_TRUE(Contains(version->data, Utf16("080404B0")));
    EXPECT_TRUE(Contains(version->data, {0x79, 0x62, 0xCF, 0x91, 0xFE, 0x56, 0x47, 0x72}))  // 批量图片 in UTF-16
        << "the description is not the Chinese one";
    const PeResource* manifest = Find(*pe, 24);
    ASSERT_TRUE(manifest) << "no manifest";
    const std::string text(manifest->data.begin(), manifest->data.end());
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);

    for (const char* installer : {"installers/velmora_quillar_setup.exe", "installers/velmora_browser_setup.exe"}) {
        const std::vector<uint8_t> carried = Bytes(Path(installer));
        ASSERT_GT(carried.size(), 1000u) << installer;
        EXPECT_TRUE(Contains(bytes, carried)) << installer << " is not carried inside";
        const std::optional<PeFile> companion = ReadPeFile(carried);
        ASSERT_TRUE(companion) << installer;
        EXPECT_EQ(companion->machine, GetParam().machine) << installer;
    }

    if (pe->magic == 0x20B) {
        EXPECT_EQ(pe->imageBase, 0x10000000u);
        EXPECT_EQ(pe->dllCharacteristics & 0x0040, 0) << "the program may be moved above 4 GB (dynamic base)";
        EXPECT_EQ(pe->dllCharacteristics & 0x0020, 0) << "high-entropy addresses";
    } else {
        // Words are compared as signed numbers in places: addresses stay below 2 GB.
        EXPECT_EQ(pe->characteristics & 0x0020, 0) << "large-address-aware";
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, WindowsRelease,
                         ::testing::Values(Release{"win32", 0x14C, 0x10B}, Release{"win64", 0x8664, 0x20B}),
                         [](const auto& info) { return std::string(info.param.build); });

TEST(PeFileReader, RefusesWhatIsNoPeFile) {
    EXPECT_FALSE(ReadPeFile({}));
    EXPECT_FALSE(ReadPeFile({'M', 'Z'}));
    std::vector<uint8_t> noSignature(0x100, 0);
    noSignature[0] = 'M';
    noSignature[1] = 'Z';
    noSignature[0x3C] = 0x80;
    EXPECT_FALSE(ReadPeFile(noSignature));
    std::vector<uint8_t> farOffset = noSignature;
    farOffset[0x3F] = 0x7F;  // e_lfanew far beyond the file
    EXPECT_FALSE(ReadPeFile(farOffset));
}

}  // namespace
}  // namespace ruvelto::testing

// The outputs of a run planned before it starts: repeated targets, targets that are other listed
// pictures and targets that are their own source get the first free numbered name.
#include "app/output_plan.h"

#include <gtest/gtest.h>

#include <set>

#include "app/picture_formats.h"

namespace ruvelto::app {
namespace {

const std::vector<OutputFormat> kPng = {{kFormatPng, ".png"}};
const std::vector<OutputFormat> kKeepFormat = {};
// 图片, a GBK name.
const std::string kPicture = "\xCD\xBC\xC6\xAC";

struct Case {
    const char* what;
    std::vector<std::string> sources;  // every listed picture, all of them checked
    std::string folder;
    std::vector<OutputFormat> formats;
    bool replaceSources;
    std::set<std::string> onDisk;          // files that exist besides the sources
    std::vector<std::string> expected;     // every output path, in row order
    int32_t renamed, inPlace;
};

std::vector<PictureToPlan> Pictures(const std::vector<std::string>& sources) {
    std::vector<PictureToPlan> pictures;
    for (size_t i = 0; i < sources.size(); ++i)
        pictures.push_back({static_cast<int32_t>(i), sources[i], FileNameOf(sources[i]), ""});
    return pictures;
}

TEST(OutputPlan, EveryOutputGetsAPlaceOfItsOwn) {
    const Case cases[] = {
        {"distinct names", {"C:\\s\\a.jpg", "C:\\s\\b.bmp"}, "C:\\o", kPng, true, {},
         {"C:\\o\\a.png", "C:\\o\\b.png"}, 0, 0},
        {"a.b.jpg and a.b.png write a.png", {"C:\\s\\a.b.jpg", "C:\\s\\a.b.png"}, "C:\\o", kPng, true, {},
         {"C:\\o\\a.png", "C:\\o\\a (2).png"}, 1, 0},
        {"a.jpg and a.gif, names compared without case", {"C:\\s\\a.jpg", "C:\\s\\A.gif"}, "C:\\o", kPng, true, {},
         {"C:\\o\\a.png", "C:\\o\\A (2).png"}, 1, 0},
        {"one name from two folders", {"C:\\s\\x.jpg", "C:\\t\\x.jpg"}, "C:\\o", kPng, true, {},
         {"C:\\o\\x.png", "C:\\o\\x (2).png"}, 1, 0},
        {"a.jpg's output would be the listed a.png", {"C:\\s\\a.jpg", "C:\\s\\a.png"}, "C:\\S", kPng, true, {},
         {"C:\\S\\a (2).png", "C:\\S\\a.png"}, 1, 1},
        {"the same, the originals kept", {"C:\\s\\a.jpg", "C:\\s\\a.png"}, "C:\\s", kPng, false, {},
         {"C:\\s\\a (2).png", "C:\\s\\a (3).png"}, 2, 1},
        {"in place, replaced", {"C:\\s\\a.jpg", "C:\\s\\b.bmp"}, "C:\\s", kKeepFormat, true, {},
         {"C:\\s\\a.jpg", "C:\\s\\b.bmp"}, 0, 2},
        {"in place, kept: numbers skip existing files and listed pictures",
         {"C:\\s\\a.jpg", "C:\\s\\a (2).jpg", "C:\\s\\" + kPicture + ".bmp"}, "C:\\s", kKeepFormat, false,
         {"C:\\s\\a (3).jpg"},
         {"C:\\s\\a (4).jpg", "C:\\s\\a (2) (2).jpg", "C:\\s\\" + kPicture + " (2).bmp"}, 3, 3},
        {"one file listed twice, in place", {"C:\\s\\a.jpg", "C:\\s\\a.jpg"}, "C:\\s", kKeepFormat, true, {},
         {"C:\\s\\a.jpg", "C:\\s\\a (2).jpg"}, 1, 1},
        {"a name with dots keeps them before the number", {"C:\\s\\a.b.jpg", "C:\\t\\a.b.jpg"}, "C:\\o", kKeepFormat,
         true, {}, {"C:\\o\\a.b.jpg", "C:\\o\\a.b (2).jpg"}, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::set<std::string> disk;
        for (const std::string& path : c.onDisk) disk.insert(FoldedPath(path));
        for (const std::string& path : c.sources) disk.insert(FoldedPath(path));
        const PlanPlaces places{FoldedPath, [&](const std::string& path) { return disk.count(FoldedPath(path)) != 0; }};
        const std::vector<PictureToPlan> pictures = Pictures(c.sources);
        EXPECT_EQ(InPlaceCount(pictures, c.folder, c.formats, places), c.inPlace);
        const OutputPlan plan = PlanOutputs(pictures, c.sources, c.folder, c.formats, c.replaceSources, places);
        std::vector<std::string> paths;
        for (const PlannedPicture& picture : plan.pictures)
            for (const PlannedOutput& output : picture.outputs) paths.push_back(output.path);
        EXPECT_EQ(paths, c.expected);
        EXPECT_EQ(plan.renamed, c.renamed);
    }
}

TEST(OutputPlan, SeveralFormatsAndTheFormatOfEachOutput) {
    const std::vector<OutputFormat> formats = {{kFormatBmp, ".bmp"}, {kFormatPng, ".png"}};
    const PlanPlaces places{FoldedPath, [](const std::string&) { return false; }};
    const OutputPlan plan =
        PlanOutputs(Pictures({"C:\\s\\a.png", "C:\\s\\a.jpg", "C:\\s\\noextension"}),
                    {"C:\\s\\a.png", "C:\\s\\a.jpg", "C:\\s\\noextension"}, "C:\\s", formats, true, places);
    ASSERT_EQ(plan.pictures.size(), 3u);
    const std::vector<PlannedOutput>& first = plan.pictures[0].outputs;
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].path, "C:\\s\\a.bmp");
    EXPECT_EQ(first[0].format, kFormatBmp);
    EXPECT_EQ(first[1].path, "C:\\s\\a.png");  // its own source, replaced
    const std::vector<PlannedOutput>& second = plan.pictures[1].outputs;
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].path, "C:\\s\\a (2).bmp");
    EXPECT_EQ(second[1].path, "C:\\s\\a (2).png");
    EXPECT_EQ(second[1].format, kFormatPng);
    EXPECT_TRUE(plan.pictures[2].outputs.empty()) << "a name without extension writes nothing";
    EXPECT_EQ(plan.renamed, 2);
}

// A picture listed from a subfolder of the picked folder writes into the same subfolder of the
// output folder: one name in two subfolders is no clash, one name twice in one subfolder is.
TEST(OutputPlan, OutputsOfSubfoldersGoIntoTheSameRelativeFolders) {
    const PlanPlaces places{FoldedPath, [](const std::string&) { return false; }};
    const std::vector<PictureToPlan> pictures = {{0, "C:\\s\\a.jpg", "a.jpg", ""},
                                                 {1, "C:\\s\\l1\\a.jpg", "a.jpg", "l1"},
                                                 {2, "C:\\s\\l1\\l2\\a.jpg", "a.jpg", "l1\\l2"},
                                                 {3, "C:\\s\\l1\\l2\\a.gif", "a.gif", "l1\\l2"}};
    std::vector<std::string> listed;
    for (const PictureToPlan& p : pictures) listed.push_back(p.source);
    const OutputPlan plan = PlanOutputs(pictures, listed, "C:\\o", kPng, true, places);
    std::vector<std::string> paths;
    std::vector<bool> inSubfolder;
    for (const PlannedPicture& picture : plan.pictures) {
        for (const PlannedOutput& output : picture.outputs) paths.push_back(output.path);
        inSubfolder.push_back(picture.inSubfolder);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\o\\a.png", "C:\\o\\l1\\a.png", "C:\\o\\l1\\l2\\a.png",
                                               "C:\\o\\l1\\l2\\a (2).png"}));
    EXPECT_EQ(inSubfolder, (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(plan.renamed, 1);
}

TEST(OutputPlan, NumberedNamesAndFoldedPaths) {
    EXPECT_EQ(NumberedPath("C:\\o\\a.png", 2), "C:\\o\\a (2).png");
    EXPECT_EQ(NumberedPath("C:\\o.d\\a", 3), "C:\\o.d\\a (3)");
    // 運 ends in the backslash's byte: the file name starts after the real separator.
    EXPECT_EQ(NumberedPath("C:\\\xDF\x5C.x\\b.gif", 2), "C:\\\xDF\x5C.x\\b (2).gif");
    EXPECT_EQ(FoldedPath("C:\\ABC\\A.PNG"), "c:\\abc\\a.png");
    // A trail byte in the letter range belongs to its character: 獲 is 0xAB 0x41.
    EXPECT_EQ(FoldedPath("\xAB\x41" "B"), "\xAB\x41" "b");
}

}  // namespace
}  // namespace ruvelto::app

// DirTree's property data and the order of sibling items (portable).
#include <gtest/gtest.h>

#include "extui/dir_tree_order.h"
#include "image-data/dir_tree_type.h"
#include "image-data/windows/program_windows.h"

namespace ruvelto::extui {
namespace {

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
    forms::PropertyBlobWriter w;
    for (uint32_t word : words) w.U32(word);
    return w.Data();
}

DirTreeProperties Loaded(const std::vector<uint8_t>& blob, bool* ok) {
    DirTreeProperties p;
    forms::PropertyBlobReader reader(blob.data(), static_cast<uint32_t>(blob.size()));
    *ok = p.Load(reader);
    return p;
}

TEST(DirTreeProperties, RoundTripKeepsEveryField) {
    DirTreeProperties p;
    p.border = 5, p.textColor = 0x123456, p.backColor = 0xFF000000, p.hasButtons = 0, p.hasLines = 0;
    p.linesAtRoot = 0, p.showSelectionAlways = 0, p.itemHeight = 30, p.showFiles = 1, p.contextMenu = 1;
    p.hotTracking = 1, p.rootAtComputer = 1, p.fileSystemOnly = 1;
    p.font[0] = 0xF0;
    p.currentPath = "C:\\\xCD\xBC\xC6\xAC";
    const auto blob = image_data::DirTreeBlob(p);
    EXPECT_EQ(blob.size(), 4 + 13 * 4 + 4 + 60 + 4 + p.currentPath.size());
    bool ok = false;
    DirTreeProperties back = Loaded(blob, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(image_data::DirTreeBlob(back), blob);
    EXPECT_EQ(back.itemHeight, 30);
    EXPECT_EQ(back.currentPath, p.currentPath);
}

TEST(DirTreeProperties, DefaultsAndTheirFont) {
    DirTreeProperties p;
    EXPECT_EQ(p.border, 1u);
    EXPECT_EQ(p.backColor, 0xFFFFFFu);
    EXPECT_EQ(p.itemHeight, -1);
    ASSERT_EQ(p.font.size(), 60u);
    auto height = [](const std::vector<uint8_t>& f) { return static_cast<int32_t>(f[0] | f[1] << 8 | f[2] << 16 | f[3] << 24); };
    EXPECT_EQ(height(DefaultDirTreeFont(96)), -12);
    EXPECT_EQ(height(DefaultDirTreeFont(120)), -15);
    EXPECT_EQ(height(DefaultDirTreeFont(144)), -18);
    EXPECT_EQ(p.font[16] | p.font[17] << 8, 400);
    EXPECT_EQ(p.font[23], 134);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&p.font[28])), "\xCB\xCE\xCC\xE5");
}

TEST(DirTreeProperties, VersionsTruncationAndFontCounts) {
    const std::vector<uint32_t> thirteen = {0, 0xFF, 0xEE, 1, 1, 1, 1, static_cast<uint32_t>(-1), 0, 0, 0, 1, 0};
    auto blob = [&](uint32_t version, std::vector<uint8_t> font, const std::string& path) {
        forms::PropertyBlobWriter w;
        w.U32(version);
        for (uint32_t v : thirteen) w.U32(v);
        w.Bytes(font);
        w.Text(path);
        return w.Data();
    };
    bool ok = false;
    Loaded(blob(0, std::vector<uint8_t>(60, 1), "a"), &ok);
    EXPECT_TRUE(ok);
    Loaded(blob(2, std::vector<uint8_t>(60, 1), "a"), &ok);
    EXPECT_FALSE(ok) << "a newer version is refused";
    auto cut = blob(1, std::vector<uint8_t>(60, 1), "abc");
    cut.pop_back();
    Loaded(cut, &ok);
    EXPECT_FALSE(ok) << "truncated";
    Loaded(Words({1, 0, 0}), &ok);
    EXPECT_FALSE(ok);

    // A longer font record: its first 60 bytes are the font, the rest is passed over.
    std::vector<uint8_t> longFont(100, 7);
    DirTreeProperties p = Loaded(blob(1, longFont, "C:\\x"), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(p.font, std::vector<uint8_t>(60, 7));
    EXPECT_EQ(p.currentPath, "C:\\x");
    EXPECT_EQ(p.textColor, 0xFFu);
    EXPECT_EQ(p.rootAtComputer, 1u);
    // No font record: the default font stays.
    p = Loaded(blob(1, {}, ""), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(p.font, DefaultDirTreeFont(96));
}

TEST(DirTreeProperties, MainWindowTreeStartsAtTheComputerWithFileSystemItems) {
    for (const auto& c : image_data::MainWindow().components) {
        if (c.typeCode != image_data::type_code::kDirTree) continue;
        bool ok = false;
        DirTreeProperties p = Loaded(c.propertyBlock, &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(p.rootAtComputer, 1u);
        EXPECT_EQ(p.fileSystemOnly, 1u);
        EXPECT_EQ(p.font.size(), 60u);
        return;
    }
    FAIL() << "no DirTree in the main window";
}

TEST(SiblingOrder, Table) {
    const SiblingKey driveC{true, "C:\\", "(C:)", ItemKind::kOrdinary}, driveZ{true, "z:\\", "(Z:)", ItemKind::kOrdinary};
    const SiblingKey folderA{true, "C:\\apple", "apple", ItemKind::kOrdinary};
    const SiblingKey folderB{true, "C:\\Banana", "Banana", ItemKind::kOrdinary};
    const SiblingKey colon{true, ":odd", "odd", ItemKind::kOrdinary};
    const SiblingKey computer{false, "", "My Computer", ItemKind::kComputer};
    const SiblingKey bin{false, "", "Aaa bin", ItemKind::kRecycleBin};
    const SiblingKey network{false, "", "Network", ItemKind::kNetwork};
    const SiblingKey panel{false, "", "control", ItemKind::kOrdinary};
    struct Case {
        const SiblingKey& first;
        const SiblingKey& second;
    };
    // Each pair in its order: the first goes before the second, and never the other way.
    const Case cases[] = {
        {driveC, driveZ},   {driveZ, folderA},  {folderA, folderB}, {folderB, colon},   {colon, computer},
        {computer, panel},  {panel, network},   {network, bin},     {computer, bin},    {driveZ, computer},
    };
    for (const Case& c : cases) {
        EXPECT_LT(CompareSiblings(c.first, c.second), 0) << c.first.name << " / " << c.second.name;
        EXPECT_GT(CompareSiblings(c.second, c.first), 0) << c.second.name << " / " << c.first.name;
    }
    EXPECT_EQ(CompareSiblings(SiblingKey{true, "C:\\ABC", "ABC", ItemKind::kOrdinary}, SiblingKey{true, "c:\\abc", "abc", ItemKind::kOrdinary}), 0);
    EXPECT_TRUE(IsDriveRoot("d:\\"));
    EXPECT_FALSE(IsDriveRoot("d:"));
    EXPECT_FALSE(IsDriveRoot("1:\\"));
    EXPECT_FALSE(IsDriveRoot("C:\\x"));
}

TEST(SiblingOrder, KindsFromParsingNames) {
    EXPECT_EQ(KindOfParsingName("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), ItemKind::kComputer);
    EXPECT_EQ(KindOfParsingName("::{20d04fe0-3aea-1069-a2d8-08002b30309d}"), ItemKind::kComputer);
    EXPECT_EQ(KindOfParsingName("::{208D2C60-3AEA-1069-A2D7-08002B30309D}"), ItemKind::kNetwork);
    EXPECT_EQ(KindOfParsingName("::{645FF040-5081-101B-9F08-00AA002F954E}"), ItemKind::kRecycleBin);
    EXPECT_EQ(KindOfParsingName("C:\\"), ItemKind::kOrdinary);
}

}  // namespace
}  // namespace ruvelto::extui

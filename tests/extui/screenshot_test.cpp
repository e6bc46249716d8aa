// A window holding the extended components as the main window uses them (a checked picture list
// in report view, a status bar, transparent labels over a picture-like backdrop), captured under
// the build folder (build/wine/artifacts/extended_components.bmp) for a person to look at.
#include <gtest/gtest.h>

#include <string>

#include "tests/extui/extui_fixture.h"

namespace ruvelto::extui_test {
namespace {

using namespace image_data;

class ScreenshotTest : public ExtendedTest {};

TEST_F(ScreenshotTest, ExtendedComponentsAsTheMainWindowUsesThem) {
    ListViewProperties list;
    list.viewType = extui::kReport;
    list.checkBoxes = 1;
    list.columns = extui::ColumnData({{false, -1, extui::kAlignLeft, 150, "\xC3\xFB\xB3\xC6"},  // 名称
                                      {false, -1, extui::kAlignLeft, 60, "."},
                                      {false, -1, extui::kAlignRight, 80, "\xB4\xF3\xD0\xA1"},  // 大小
                                      {false, -1, extui::kAlignLeft, 130, "\xD0\xDE\xB8\xC4\xCA\xB1\xBC\xE4"}});  // 修改时间
    std::vector<extui::ListItemEntry> rows;
    extui::AppendRow(rows, {"\xCD\xBC\xC6\xAC" "1.jpg", "jpg", "52KB", "2026-12-10 13:20"});  // 图片1.jpg
    extui::AppendRow(rows, {"sunset.png", "png", "1204KB", "2026-11-02 08:05"});
    extui::AppendRow(rows, {"icon.ico", "ico", "9KB", "2025-01-17 22:41"});
    rows[4].stateImage = 1;  // sunset.png checked
    list.initialItems = extui::ItemData(rows);

    StatusBarProperties bar;
    bar.panels = extui::PanelData({{160, 0, -1, "\xBE\xCD\xD0\xF7", ""},  // 就绪
                                   {-1, 0, -1, "3 \xD5\xC5\xCD\xBC\xC6\xAC", ""}});  // 3 张图片
    LabelProperties backdrop;
    backdrop.caption = "";
    backdrop.gradientMode = 2;
    backdrop.gradientColors[0] = 0x804020, backdrop.gradientColors[1] = 0xFFD0A0, backdrop.gradientColors[2] = 0x804020;
    TransLabelProperties title;
    title.caption = "Ruvelto";
    title.font = FontProperty("Arial", -30, 700);
    title.effect = 3;
    title.textColor = 0xFFFFFF;
    TransLabelProperties path;
    path.caption = "\xCA\xE4\xB3\xF6\xC2\xB7\xBE\xB6\xA3\xBA";  // 输出路径：

    ASSERT_TRUE(ShowExtended(TestWindow(
        {
            Component(type_code::kTransLabel, "title").At(20, 12, 200, 44).Flags(kVisible).Properties(TransLabelBlob(title)),
            Component(type_code::kLabel, "backdrop").At(10, 8, 460, 52).Flags(kVisible).Properties(LabelBlob(backdrop)),
            Component(type_code::kListView, "list").At(10, 70, 460, 160).Flags(kVisible | kTabStop).Properties(ListViewBlob(list)),
            Component(type_code::kTransLabel, "path").At(10, 240, 70, 24).Flags(kVisible).Properties(TransLabelBlob(path)),
            Component(type_code::kStatusBar, "bar").At(0, 300, 480, 20).Flags(kVisible).Properties(StatusBarBlob(bar)),
        },
        480, 320)));
    Pump(300);
    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    EXPECT_TRUE(forms_test::SaveWindowPicture(WindowHandle(components_test::kWindow), folder + "/extended_components.bmp"));
}

}  // namespace
}  // namespace ruvelto::extui_test

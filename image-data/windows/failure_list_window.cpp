// The failure list window (0x52010270), "失败的图片": one row per picture the last run could not
// convert, with its folder and the reason, "复制" to take the rows to the clipboard and "重试" to
// check exactly those pictures again. Loaded modal over the main window.
#include "forms/window_properties.h"
#include "image-data/component_blobs.h"
#include "image-data/extended_ui_blobs.h"
#include "image-data/windows/program_windows.h"

namespace ruvelto::image_data {

using namespace type_code;

namespace {

std::vector<uint8_t> FailureListWindowProperties() {
    forms::WindowProperties p;
    p.caption = "\xCA\xA7\xB0\xDC\xB5\xC4\xCD\xBC\xC6\xAC";  // 失败的图片
    p.borderStyle = 2;
    p.position = 1;
    p.escCloses = true;
    return p.Save();
}

std::vector<uint8_t> Button(const char* caption) {
    ButtonProperties button;
    button.caption = caption;
    return ButtonBlob(button);
}

// Report view, whole rows selected: file name, folder, reason.
std::vector<uint8_t> FailureListBlob() {
    ListViewProperties list;
    list.viewType = extui::kReport;
    list.fullRowSelect = 1;
    list.showSelectionAlways = 1;
    list.columns = extui::ColumnData({
        {false, -1, extui::kAlignLeft, 150, "\xC3\xFB\xB3\xC6"},  // 名称
        {false, -1, extui::kAlignLeft, 230, "\xCE\xC4\xBC\xFE\xBC\xD0"},  // 文件夹
        {false, -1, extui::kAlignLeft, 120, "\xD4\xAD\xD2\xF2"},  // 原因
    });
    return ListViewBlob(list);
}

}  // namespace

WindowDescription FailureListWindow() {
    WindowDescription w;
    w.windowId = 0x52010270;
    w.window.At(80, 80, 540, 330).Flags(kVisible).Properties(FailureListWindowProperties())
        .On(0, "ruvelto_on_failure_list_created");
    w.components = {
        Component(kListView, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "1").At(8, 8, 518, 236).Flags(kVisible | kTabStop)  // 超级列表框1
            .Properties(FailureListBlob()),
        Component(kButton, "\xB0\xB4\xC5\xA5" "1").At(326, 254, 96, 30).Flags(kVisible | kTabStop)  // 按钮1
            .Properties(Button("\xB8\xB4\xD6\xC6"))  // 复制
            .On(0, "ruvelto_on_failure_list_copy"),
        Component(kButton, "\xB0\xB4\xC5\xA5" "2").At(430, 254, 96, 30).Flags(kVisible | kTabStop)  // 按钮2
            .Properties(Button("\xD6\xD8\xCA\xD4"))  // 重试
            .On(0, "ruvelto_on_failure_list_retry"),
    };
    return w;
}

}  // namespace ruvelto::image_data

// The main window (0x52010001): the window loaded at start-up, its menu and its forty
// components in design order. Each component's property block (caption, checked state, ...) is
// written by its type's serializer with .Properties(...); its handlers are bound with
// .On(event, "handler symbol").
#include "forms/window_properties.h"
#include "image-data/component_blobs.h"
#include "image-data/windows/main_window_units.h"
#include "image-data/windows/program_icon.h"
#include "image-data/windows/main_window_units.h"
#include "image-data/windows/program_windows.h"
#include "image-data/windows/window_pictures.h"

#include "image-data/dir_tree_type.h"
#include "image-data/extended_ui_blobs.h"

namespace ruvelto::image_data {

using namespace type_code;

namespace {

std::vector<uint8_t> MainWindowProperties() {
    forms::WindowProperties p;
    p.caption = "Ruvelto 1.0";
    p.borderStyle = 2;
    p.pictureMode = 1;
    p.minButton = true;
    p.position = 1;
    p.escCloses = true;
    p.showInTaskbar = true;
    p.icon = ProgramIcon();
    p.picture = MainWindowBackground();  // tiled
    return p.Save();
}

std::vector<uint8_t> CheckBox(const char* caption, bool checked = false) {
    auto box = CheckBoxDefaults();
    box.caption = caption;
    box.checked = checked ? 1 : 0;
    return CheckBoxBlob(box);
}

std::vector<uint8_t> RadioBox(const char* caption, bool checked) {
    auto box = RadioBoxDefaults();
    box.caption = caption;
    box.checked = checked ? 1 : 0;
    return RadioBoxBlob(box);
}

std::vector<uint8_t> Button(const char* caption) {
    ButtonProperties button;
    button.caption = caption;
    return ButtonBlob(button);
}

std::vector<uint8_t> Label(const char* caption) {
    LabelProperties label;
    label.caption = caption;
    return LabelBlob(label);
}

// The 1-pixel vertical dividers of the options group: a sunken line, no text.
std::vector<uint8_t> Divider() {
    LabelProperties label;
    label.caption = "";
    label.border = 1;
    return LabelBlob(label);
}

std::vector<uint8_t> GroupBox(const char* caption) {
    GroupBoxProperties group;
    group.caption = caption;
    return GroupBoxBlob(group);
}

// A numeric edit box in integer input mode, centred, holding its initial number.
std::vector<uint8_t> NumberBox(const char* text, uint32_t spinMode = components::kSpinNone) {
    EditBoxProperties edit;
    edit.text = text;
    edit.inputMode = components::kInputInteger;
    edit.alignment = 1;
    edit.spinMode = spinMode;
    edit.spinMax = 1000;
    return EditBoxBlob(edit);
}

std::vector<uint8_t> PathBox() { return EditBoxBlob(EditBoxProperties{}); }

// The quality starts at 80 on all three linked controls, on a scale of 1 to 100.
constexpr int32_t kInitialQuality = 80;

std::vector<uint8_t> QualitySlider() {
    SliderBarProperties slider;
    slider.tickStyle = 0;
    slider.tickFrequency = 10;
    slider.pageSize = 10;
    slider.minimum = 1;
    slider.maximum = 100;
    slider.position = kInitialQuality;
    return SliderBarBlob(slider);
}

std::vector<uint8_t> QualityStepper() {
    HScrollBarProperties stepper;
    stepper.minimum = 1;
    stepper.maximum = 100;
    stepper.position = kInitialQuality;
    return HScrollBarBlob(stepper);
}

std::vector<uint8_t> ProgressBar() {
    ProcessBarProperties bar;
    bar.smooth = 1;
    return ProcessBarBlob(bar);
}

DrawPanelProperties AutoRedrawPanel() {
    DrawPanelProperties panel;
    panel.autoRedraw = 1;
    return panel;
}

// The picture list: report view with check boxes, one row per file.
std::vector<uint8_t> PictureListBlob() {
    ListViewProperties list;
    list.viewType = extui::kReport;
    list.checkBoxes = 1;
    list.columns = extui::ColumnData({
        {false, -1, extui::kAlignLeft, 150, "\xC3\xFB\xB3\xC6"},                  // 名称
        {false, -1, extui::kAlignLeft, 100, "."},
        {false, -1, extui::kAlignLeft, 100, "\xB4\xF3\xD0\xA1"},                  // 大小
        {false, -1, extui::kAlignLeft, 100, "\xD0\xDE\xB8\xC4\xCA\xB1\xBC\xE4"},  // 修改时间
    });
    return ListViewBlob(list);
}

// Checked or not as the registry says, at start; off until then.
MenuItemDescription StripPhotoInfoItem() {
    MenuItemDescription item = MenuItem("\xC8\xA5\xB3\xFD\xD5\xD5\xC6\xAC\xD0\xC5\xCF\xA2\xA3\xA8" "EXIF/GPS\xA3\xA9", 1,
                                        HandlerRef::Named("ruvelto_on_strip_photo_info"));
    item.id = main_window::kStripPhotoInfoItem;
    return item;
}

constexpr uint32_t kMenuItemDisabled = 2;  // menu flags bit 1

// Greyed until a run has failures to list.
MenuItemDescription FailureListItem() {
    MenuItemDescription item = MenuItem("\xCA\xA7\xB0\xDC\xC1\xD0\xB1\xED", 1,  // 失败列表
                                        HandlerRef::Named("ruvelto_on_show_failure_list"));
    item.menuFlags = kMenuItemDisabled;
    item.id = main_window::kFailureListItem;
    return item;
}

}  // namespace

WindowDescription MainWindow() {
    WindowDescription w;
    w.windowId = 0x52010001;
    w.window.At(50, 50, 800, 580).Flags(kVisible).Properties(MainWindowProperties()).On(0, "ruvelto_on_main_window_created").On(1, "ruvelto_on_main_window_close").On(12, "ruvelto_on_files_dropped");
    w.menu = {
        MenuItem("\xCE\xC4\xBC\xFE", 0),  // 文件
        MenuItem("\xCC\xED\xBC\xD3\xCE\xC4\xBC\xFE", 1, HandlerRef::Named("ruvelto_on_add_file")),  // 添加文件 → add a picture file
        MenuItem("\xCA\xE4\xB3\xF6\xCE\xC4\xBC\xFE\xBC\xD0", 1, HandlerRef::Named("ruvelto_on_choose_output_folder")),  // 输出文件夹 → choose output folder
        MenuItem("-", 1),  // - → separator
        MenuItem("\xCD\xCB\xB3\xF6", 1, HandlerRef::Named("ruvelto_on_exit")),  // 退出 → exit program with code 0
        MenuItem("\xB2\xD9\xD7\xF7", 0),  // 操作
        MenuItem("\xC8\xAB\xB2\xBF\xD1\xA1\xD4\xF1", 1, HandlerRef::Named("ruvelto_on_check_all")),  // 全部选择 → check all
        MenuItem("\xB7\xB4\xCF\xF2\xD1\xA1\xD4\xF1", 1, HandlerRef::Named("ruvelto_on_invert_checks")),  // 反向选择 → invert checks
        MenuItem("-", 1),  // - → separator
        StripPhotoInfoItem(),  // 去除照片信息（EXIF/GPS） → outputs without EXIF, a check item
        MenuItem("\xD1\xB9\xCB\xF5", 1, HandlerRef::Named("ruvelto_on_start_or_stop")),  // 压缩 → start or stop
        FailureListItem(),  // 失败列表 → the failures of the last run
        MenuItem("\xB0\xEF\xD6\xFA", 0),  // 帮助
        MenuItem("\xB9\xD8\xD3\xDA", 1, HandlerRef::Named("ruvelto_on_about")),  // 关于 → load the about window, modal, no parent
    };
    w.components = {
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "5").At(441, 59, 40, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(CheckBox("ico")).On(0, "ruvelto_on_format_ico"),  // 选择框5: "ico"; event 0 → exclusive format choice
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "4").At(513, 59, 40, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(CheckBox("png")).On(0, "ruvelto_on_format_png"),  // 选择框4: "png"; event 0 → exclusive format choice
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "3").At(441, 32, 48, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(CheckBox("jpg", true)).On(0, "ruvelto_on_format_jpg"),  // 选择框3: "jpg", checked; event 0 → exclusive format choice
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "2").At(513, 32, 48, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(CheckBox("gif")).On(0, "ruvelto_on_format_gif"),  // 选择框2: "gif"; event 0 → exclusive format choice
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "1").At(585, 32, 40, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(CheckBox("bmp")).On(0, "ruvelto_on_format_bmp"),  // 选择框1: "bmp"; event 0 → exclusive format choice
        Component(kDrawPanel, "\xBB\xAD\xB0\xE5" "2").At(272, 216, 312, 216).Flags(0).Properties(DrawPanelBlob(AutoRedrawPanel())),  // 画板2: resizing surface, AutoRedraw true
        Component(kCommonDlg, "\xCD\xA8\xD3\xC3\xB6\xD4\xBB\xB0\xBF\xF2" "1").At(664, -8, 26, 26).Flags(0),  // 通用对话框1: file dialog
        Component(kCheckBox, "\xB8\xF1\xCA\xBD\xD7\xAA\xBB\xBB\xD1\xA1\xD4\xF1\xBF\xF2").At(427, 10, 70, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kTabStop).Properties(CheckBox("\xB8\xF1\xCA\xBD\xD7\xAA\xBB\xBB")).On(0, "ruvelto_on_convert_switch"),  // 格式转换选择框: "格式转换"; event 0 → format switch
        Component(kLabel, "\xB1\xEA\xC7\xA9" "5").At(409, 18, 1, 60).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(Divider()),  // 标签5: a 1-pixel vertical divider
        Component(kEditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "6").At(355, 59, 32, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(NumberBox("480")),  // 编辑框6: custom height
        Component(kLabel, "\xB1\xEA\xC7\xA9" "4").At(339, 59, 16, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(Label("\xB8\xDF")),  // 标签4: "高"
        Component(kLabel, "\xB1\xEA\xC7\xA9" "3").At(284, 59, 16, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(Label("\xBF\xED")),  // 标签3: "宽"
        Component(kEditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "5").At(301, 59, 32, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(NumberBox("640")),  // 编辑框5: custom width
        Component(kTransLabel, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9" "4").At(356, 32, 18, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(TransLabelBlob("%")),  // 透明标签4: "%"
        Component(kEditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "3").At(301, 32, 32, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled).Properties(NumberBox("100", components::kSpinReporting)).On(1, "ruvelto_on_percentage_spin"),  // 编辑框3: percentage, with spin buttons; event 1 → percentage spin
        Component(kRadioBox, "\xB5\xA5\xD1\xA1\xBF\xF2" "2").At(223, 59, 56, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(RadioBox("\xD7\xD4\xB6\xA8\xD2\xE5", false)).On(0, "ruvelto_on_custom_size_mode"),  // 单选框2: "自定义"; event 0 → size mode
        Component(kRadioBox, "\xB5\xA5\xD1\xA1\xBF\xF2" "1").At(223, 32, 56, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(RadioBox("\xB0\xB4\xB1\xC8\xC0\xFD", true)).On(0, "ruvelto_on_percent_size_mode"),  // 单选框1: "按比例", checked; event 0 → size mode
        Component(kCheckBox, "\xCB\xF5\xB7\xC5\xD1\xA1\xD4\xF1\xBF\xF2").At(224, 10, 48, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kTabStop).Properties(CheckBox("\xCB\xF5\xB7\xC5")).On(0, "ruvelto_on_resize_switch"),  // 缩放选择框: "缩放"; event 0 → resize switch
        Component(kLabel, "\xB1\xEA\xC7\xA9" "1").At(202, 18, 1, 60).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(Divider()),  // 标签1: a 1-pixel vertical divider
        Component(kTransLabel, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9" "3").At(123, 19, 15, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(TransLabelBlob("%")),  // 透明标签3: "%"
        Component(kProcessBar, "\xBD\xF8\xB6\xC8\xCC\xF5" "1").At(201, 112, 584, 16).Flags(kVisible).Properties(ProgressBar()),  // 进度条1: run progress
        Component(kButton, "\xCC\xED\xBC\xD3\xCE\xC4\xBC\xFE\xB0\xB4\xC5\xA5").At(33, 34, 48, 24).In("\xB7\xD6\xD7\xE9\xBF\xF2" "4").Flags(kVisible | kTabStop).Properties(Button("\xCC\xED\xBC\xD3")).On(0, "ruvelto_on_add_file"),  // 添加文件按钮: "添加"; event 0 → add a picture file
        Component(kTransLabel, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9" "1").At(329, 478, 58, 24).Flags(kVisible).Properties(TransLabelBlob("\xCA\xE4\xB3\xF6\xC2\xB7\xBE\xB6\xA3\xBA")),  // 透明标签1: "输出路径："
        Component(kStatusBar, "\xD7\xB4\xCC\xAC\xCC\xF5" "1").At(0, 517, 797, 20).Flags(kVisible),  // 状态条1: empty property data, a plain bar at the bottom
        Component(kButton, "\xD6\xB4\xD0\xD0\xB0\xB4\xC5\xA5").At(705, 472, 80, 32).Flags(kVisible | kTabStop).Properties(Button("\xBF\xAA\xCA\xBC")).On(0, "ruvelto_on_start_or_stop"),  // 执行按钮: "开始"; event 0 → start or stop
        Component(kGroupBox, "\xB7\xD6\xD7\xE9\xBF\xF2" "4").At(6, 12, 112, 88).Flags(kVisible).Properties(GroupBox("\xCC\xED\xBC\xD3\xCD\xBC\xC6\xAC")),  // 分组框4: "添加图片"
        Component(kButton, "\xB7\xB4\xD1\xA1").At(263, 478, 56, 24).Flags(kVisible | kTabStop).Properties(Button("\xB7\xB4\xD1\xA1")).On(0, "ruvelto_on_invert_checks"),  // 反选: "反选"; event 0 → invert checks
        Component(kButton, "\xC8\xAB\xD1\xA1\xB0\xB4\xC5\xA5").At(202, 478, 56, 24).Flags(kVisible | kTabStop).Properties(Button("\xC8\xAB\xD1\xA1")).On(0, "ruvelto_on_check_all"),  // 全选按钮: "全选"; event 0 → check all
        Component(kButton, "\xCA\xE4\xB3\xF6\xCE\xC4\xBC\xFE\xBC\xD0\xB0\xB4\xC5\xA5").At(606, 478, 28, 24).Flags(kVisible | kTabStop).Properties(Button("...")).On(0, "ruvelto_on_choose_output_folder"),  // 输出文件夹按钮: "..."; event 0 → choose output folder
        Component(kEditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "1").At(389, 478, 208, 24).Flags(kVisible | kTabStop).Properties(PathBox()),  // 编辑框1: output folder path
        Component(kDirTree, "\xC4\xBF\xC2\xBC\xCA\xF7" "1").At(8, 16, 176, 186).In("\xB7\xD6\xD7\xE9\xBF\xF2" "1").Flags(kVisible | kTabStop).Properties(DirTreeBlob([] { DirTreeProperties t; t.rootAtComputer = t.fileSystemOnly = 1; return t; }())).On(0, "ruvelto_on_folder_selected"),  // 目录树1: rooted at the computer folder, so the drives show at once, file-system items only; event 0 → import a folder
        Component(kGroupBox, "\xB7\xD6\xD7\xE9\xBF\xF2" "1").At(6, 105, 192, 208).Flags(kVisible).Properties(GroupBox("\xCC\xED\xBC\xD3\xCE\xC4\xBC\xFE\xBC\xD0")),  // 分组框1: "添加文件夹"
        Component(kGroupBox, "\xB7\xD6\xD7\xE9\xBF\xF2" "3").At(127, 12, 659, 88).Flags(kVisible).Properties(GroupBox("")),  // 分组框3: (no caption)
        Component(kSliderBar, "\xBB\xAC\xBF\xE9\xCC\xF5" "1").At(13, 52, 170, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kTabStop).Properties(QualitySlider()).On(0, "ruvelto_on_quality_slider"),  // 滑块条1: quality; event 0 → quality from slider
        Component(kLabel, "\xB1\xEA\xC7\xA9" "2").At(23, 19, 59, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(Label("\xD1\xB9\xCB\xF5\xC6\xB7\xD6\xCA:")),  // 标签2: "压缩品质:"
        Component(kEditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "2").At(86, 19, 32, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(NumberBox("80")).On(0, "ruvelto_on_quality_text"),  // 编辑框2: quality as text; event 0 → quality from text
        Component(kHScrollBar, "\xBA\xE1\xCF\xF2\xB9\xF6\xB6\xAF\xCC\xF5" "1").At(146, 19, 25, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible).Properties(QualityStepper()).On(0, "ruvelto_on_quality_stepper"),  // 横向滚动条1: quality stepper; event 0 → quality from stepper
        Component(kListView, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "1").At(201, 136, 584, 333).Flags(kVisible | kTabStop).Properties(PictureListBlob()).On(4, "ruvelto_on_list_clicked"),  // 超级列表框1: the picture list, report view with check boxes; event 4 (Clicked) → preview
        Component(kGroupBox, "\xB7\xD6\xD7\xE9\xBF\xF2" "2").At(6, 318, 192, 184).Flags(kVisible).Properties(GroupBox("\xCD\xBC\xC6\xAC\xD4\xA4\xC0\xC0")),  // 分组框2: "图片预览"
        Component(kDrawPanel, "\xBB\xAD\xB0\xE5" "1").At(8, 16, 176, 160).In("\xB7\xD6\xD7\xE9\xBF\xF2" "2").Flags(kVisible).Properties(DrawPanelBlob(AutoRedrawPanel())),  // 画板1: preview surface, AutoRedraw true
        // Added after the roster, so that its components keep their ids. Both are set from the
        // registry when the window is created and written back when clicked.
        Component(kCheckBox, "\xB1\xA3\xB3\xD6\xB1\xC8\xC0\xFD\xD1\xA1\xD4\xF1\xBF\xF2").At(290, 10, 76, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "3").Flags(kVisible | kDisabled | kTabStop).Properties(CheckBox("\xB1\xA3\xB3\xD6\xB1\xC8\xC0\xFD")).On(0, "ruvelto_on_keep_proportions"),  // 保持比例选择框: "保持比例"; fits the custom size, enabled with it
        Component(kCheckBox, "\xB0\xFC\xBA\xAC\xD7\xD3\xCE\xC4\xBC\xFE\xBC\xD0\xD1\xA1\xD4\xF1\xBF\xF2").At(10, 62, 96, 20).In("\xB7\xD6\xD7\xE9\xBF\xF2" "4").Flags(kVisible | kTabStop).Properties(CheckBox("\xB0\xFC\xBA\xAC\xD7\xD3\xCE\xC4\xBC\xFE\xBC\xD0")).On(0, "ruvelto_on_include_subfolders"),  // 包含子文件夹选择框: "包含子文件夹"; a folder picked in the tree lists its subfolders too
    };
    return w;
}

}  // namespace ruvelto::image_data

// Unit ids of the main and about windows that application code addresses. The template writer
// gives ids by record order (the window's own record, then the menu items, then the components);
// these constants follow that order, and the builder refuses to emit an image whose ids differ.
#pragma once
#include <cstdint>

namespace ruvelto::main_window {

constexpr uint32_t kWindow = 0x52010001;
constexpr uint32_t kWindowRecord = 0x06010002;

// Components in template order, from the first component's id on.
enum Unit : uint32_t {
    kIcoBox = 0x1601000F,     // 选择框5
    kPngBox,                  // 选择框4
    kJpgBox,                  // 选择框3
    kGifBox,                  // 选择框2
    kBmpBox,                  // 选择框1
    kResizePanel,             // 画板2
    kFileDialog,              // 通用对话框1
    kConvertSwitch,           // 格式转换选择框
    kDivider2,                // 标签5
    kCustomHeight,            // 编辑框6
    kHeightLabel,             // 标签4
    kWidthLabel,              // 标签3
    kCustomWidth,             // 编辑框5
    kPercentSign2,            // 透明标签4
    kPercentage,              // 编辑框3
    kCustomSizeRadio,         // 单选框2
    kPercentRadio,            // 单选框1
    kResizeSwitch,            // 缩放选择框
    kDivider1,                // 标签1
    kPercentSign1,            // 透明标签3
    kProgressBar,             // 进度条1
    kAddFileButton,           // 添加文件按钮
    kOutputLabel,             // 透明标签1
    kStatusBar,               // 状态条1
    kStartButton,             // 执行按钮
    kAddGroup,                // 分组框4
    kInvertButton,            // 反选
    kCheckAllButton,          // 全选按钮
    kOutputFolderButton,      // 输出文件夹按钮
    kOutputFolder,            // 编辑框1
    kFolderTree,              // 目录树1
    kFolderGroup,             // 分组框1
    kOptionsGroup,            // 分组框3
    kQualitySlider,           // 滑块条1
    kQualityLabel,            // 标签2
    kQualityText,             // 编辑框2
    kQualityStepper,          // 横向滚动条1
    kPictureList,             // 超级列表框1
    kPreviewGroup,            // 分组框2
    kPreviewPanel,            // 画板1
    kKeepProportionsBox,      // 保持比例选择框
    kSubfoldersBox,           // 包含子文件夹选择框
};

// The menu item "去除照片信息（EXIF/GPS）", added after the others: its id is given, so that the
// components keep theirs.
constexpr uint32_t kStripPhotoInfoItem = 0x26010040;

// The menu item "失败列表", added after the others: its id is given, so that the components keep
// theirs. Greyed while the last run had no failure.
constexpr uint32_t kFailureListItem = 0x26010041;
constexpr int32_t kMenuDisabledProperty = 2;

// Property indexes the handlers use.
constexpr int32_t kDisabledProperty = 6;
constexpr int32_t kWidthProperty = 2;
constexpr int32_t kHeightProperty = 3;
constexpr int32_t kCheckedProperty = 18;       // CheckBox, RadioBox
constexpr int32_t kEditTextProperty = 8;       // EditBox
constexpr int32_t kButtonCaptionProperty = 10;  // Button
constexpr int32_t kSliderPositionProperty = 19;
constexpr int32_t kStepperPositionProperty = 12;
constexpr int32_t kProgressPositionProperty = 13;
constexpr int32_t kPanelPictureModeProperty = 11;  // DrawPanel
constexpr int32_t kListSelectionProperty = 35;     // ListView CurrentSelection
constexpr int32_t kStatusPanelsProperty = 13;      // StatusBar Panels
constexpr int32_t kDialogTypeProperty = 8;         // CommonDlg
constexpr int32_t kDialogFileNameProperty = 10;
constexpr int32_t kDialogFilterProperty = 11;

}  // namespace ruvelto::main_window

namespace ruvelto::about_window {
constexpr uint32_t kWindow = 0x52010258;
constexpr uint32_t kWindowRecord = 0x06010259;
}  // namespace ruvelto::about_window

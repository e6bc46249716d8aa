// The about window (0x52010258), opened from the help menu; it has no handlers.
#include "image-data/windows/program_windows.h"
#include "image-data/windows/window_pictures.h"

#include "image-data/component_blobs.h"
#include "image-data/extended_ui_blobs.h"

namespace ruvelto::image_data {

using namespace type_code;

namespace {

// The product name in large letters over the picture.
std::vector<uint8_t> AboutTitleBlob() {
    TransLabelProperties title;
    title.caption = "Ruvelto";
    title.font = FontProperty("Arial", -32, 700);
    title.effect = 1;
    return TransLabelBlob(title);
}

}  // namespace

WindowDescription AboutWindow() {
    PicBoxProperties banner;
    banner.picture = AboutWindowPicture();
    banner.displayMode = 1;  // stretched over the box
    WindowDescription w;
    w.windowId = 0x52010258;
    w.window.At(50, 50, 380, 250).Flags(kVisible);  // title "关于窗口"
    w.components = {
        Component(kPicBox, "\xCD\xBC\xC6\xAC\xBF\xF2" "1").At(1, 1, 372, 160).Flags(kVisible).Properties(PicBoxBlob(banner)),  // 图片框1: a JPEG picture
        Component(kTransLabel, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9" "1").At(16, 8, 176, 56).In("\xCD\xBC\xC6\xAC\xBF\xF2" "1").Flags(kVisible).Properties(AboutTitleBlob()),  // 透明标签1: "Ruvelto"
        Component(kShapeBox, "\xCD\xE2\xD0\xCE\xBF\xF2" "1").At(1, 163, 372, 53).Flags(kVisible),  // 外形框1
        Component(kLabel, "\xB1\xEA\xC7\xA9" "1").At(10, 4, 80, 20).In("\xCD\xE2\xD0\xCE\xBF\xF2" "1").Flags(kVisible),  // 标签1: "Ver; 1.0"
        Component(kLabel, "\xB1\xEA\xC7\xA9" "2").At(10, 26, 168, 20).In("\xCD\xE2\xD0\xCE\xBF\xF2" "1").Flags(kVisible),  // 标签2: a contact text
        Component(kLabel, "\xB1\xEA\xC7\xA9" "3").At(223, 26, 80, 20).In("\xCD\xE2\xD0\xCE\xBF\xF2" "1").Flags(kVisible),  // 标签3: a contact text
    };
    return w;
}

}  // namespace ruvelto::image_data

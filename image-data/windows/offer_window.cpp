// The companion offer window (0x52010261), loaded modal over the main window when neither
// companion program is installed.
#include "image-data/windows/program_windows.h"

namespace ruvelto::image_data {

using namespace type_code;

WindowDescription OfferWindow() {
    WindowDescription w;
    w.windowId = 0x52010261;
    w.window.At(50, 50, 315, 279).Flags(kVisible);  // title "Ruvelto", background 0xC0C0C0
    w.components = {
        Component(kTransLabel, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9" "1").At(16, 144, 272, 48).Flags(kVisible),  // 透明标签1: the recommendation text
        Component(kButton, "\xB0\xB4\xC5\xA5" "2").At(191, 200, 80, 32).Flags(kVisible | kTabStop),  // 按钮2: "跳过"; event 0 → skip
        Component(kButton, "\xB0\xB4\xC5\xA5" "1").At(40, 200, 80, 32).Flags(kVisible | kTabStop),  // 按钮1: "确定"; event 0 → install
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "2").At(8, 72, 288, 24).Flags(kVisible | kTabStop),  // 选择框2: the browser, checked
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "1").At(8, 40, 304, 24).Flags(kVisible | kTabStop),  // 选择框1: the archiver, checked
    };
    return w;
}

}  // namespace ruvelto::image_data

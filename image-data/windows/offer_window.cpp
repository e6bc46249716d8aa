// The companion offer window (0x52010261), loaded modal over the main window when neither
// companion program is installed. Its close box is refused; only "跳过" closes it.
#include "forms/window_properties.h"
#include "image-data/component_blobs.h"
#include "image-data/extended_ui_blobs.h"
#include "image-data/windows/program_windows.h"

namespace ruvelto::image_data {

using namespace type_code;

namespace {

std::vector<uint8_t> OfferWindowProperties() {
    forms::WindowProperties p;
    p.caption = "Ruvelto";
    p.backColor = 0xC0C0C0;
    p.borderStyle = 2;
    p.position = 1;
    p.escCloses = false;
    return p.Save();
}

std::vector<uint8_t> Button(const char* caption) {
    ButtonProperties button;
    button.caption = caption;
    return ButtonBlob(button);
}

std::vector<uint8_t> CheckedBox(const char* caption) {
    auto box = CheckBoxDefaults();
    box.caption = caption;
    box.checked = 1;
    return CheckBoxBlob(box);
}

std::vector<uint8_t> Recommendation() {
    TransLabelProperties label;
    // "  本人推荐的软件都是合法正规的精品软件，如果你不想每次运行都弹出此窗口，或者希望支持一下作者，请安装以上任意一款免费软件，谢谢！"
    label.caption =
        "  \xB1\xBE\xC8\xCB\xCD\xC6\xBC\xF6\xB5\xC4\xC8\xED\xBC\xFE\xB6\xBC\xCA\xC7\xBA\xCF\xB7\xA8\xD5\xFD\xB9\xE6"
        "\xB5\xC4\xBE\xAB\xC6\xB7\xC8\xED\xBC\xFE\xA3\xAC\xC8\xE7\xB9\xFB\xC4\xE3\xB2\xBB\xCF\xEB\xC3\xBF\xB4\xCE"
        "\xD4\xCB\xD0\xD0\xB6\xBC\xB5\xAF\xB3\xF6\xB4\xCB\xB4\xB0\xBF\xDA\xA3\xAC\xBB\xF2\xD5\xDF\xCF\xA3\xCD\xFB"
        "\xD6\xA7\xB3\xD6\xD2\xBB\xCF\xC2\xD7\xF7\xD5\xDF\xA3\xAC\xC7\xEB\xB0\xB2\xD7\xB0\xD2\xD4\xC9\xCF\xC8\xCE"
        "\xD2\xE2\xD2\xBB\xBF\xEE\xC3\xE2\xB7\xD1\xC8\xED\xBC\xFE\xA3\xAC\xD0\xBB\xD0\xBB\xA3\xA1";
    label.wordWrap = 1;
    return TransLabelBlob(label);
}

}  // namespace

WindowDescription OfferWindow() {
    WindowDescription w;
    w.windowId = 0x52010261;
    w.window.At(50, 50, 315, 279)
        .Flags(kVisible)
        .Properties(OfferWindowProperties())
        .On(0, "ruvelto_on_offer_created")
        .On(1, "ruvelto_on_offer_close");
    w.components = {
        Component(kTransLabel, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9" "1").At(16, 144, 272, 48).Flags(kVisible)  // 透明标签1
            .Properties(Recommendation()),
        Component(kButton, "\xB0\xB4\xC5\xA5" "2").At(191, 200, 80, 32).Flags(kVisible | kTabStop)  // 按钮2
            .Properties(Button("\xCC\xF8\xB9\xFD"))  // 跳过
            .On(0, "ruvelto_on_offer_skip"),
        Component(kButton, "\xB0\xB4\xC5\xA5" "1").At(40, 200, 80, 32).Flags(kVisible | kTabStop)  // 按钮1
            .Properties(Button("\xC8\xB7\xB6\xA8"))  // 确定
            .On(0, "ruvelto_on_offer_install"),
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "2").At(8, 72, 288, 24).Flags(kVisible | kTabStop)  // 选择框2
            // 安装Velmora浏览器--安全.快速.省心的浏览器
            .Properties(CheckedBox("\xB0\xB2\xD7\xB0Velmora\xE4\xAF\xC0\xC0\xC6\xF7--\xB0\xB2\xC8\xAB.\xBF\xEC\xCB\xD9."
                                   "\xCA\xA1\xD0\xC4\xB5\xC4\xE4\xAF\xC0\xC0\xC6\xF7")),
        Component(kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "1").At(8, 40, 304, 24).Flags(kVisible | kTabStop)  // 选择框1
            // VelmoraQuillar压缩王--赶超Winzip和Winrar的压缩工具
            .Properties(CheckedBox("VelmoraQuillar\xD1\xB9\xCB\xF5\xCD\xF5--\xB8\xCF\xB3\xACWinzip\xBA\xCDWinrar"
                                   "\xB5\xC4\xD1\xB9\xCB\xF5\xB9\xA4\xBE\xDF")),
    };
    return w;
}

}  // namespace ruvelto::image_data

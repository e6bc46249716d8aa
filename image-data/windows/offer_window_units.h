// Unit ids of the companion offer window, in template order (the window's own record, then its
// components); the builder refuses to emit an image whose ids differ.
#pragma once
#include <cstdint>

namespace ruvelto::offer_window {

constexpr uint32_t kWindow = 0x52010261;
constexpr uint32_t kWindowRecord = 0x06010262;

enum Unit : uint32_t {
    kRecommendation = 0x16010263,  // 透明标签1
    kSkipButton,                   // 按钮2
    kInstallButton,                // 按钮1
    kBrowserBox,                   // 选择框2
    kArchiverBox,                  // 选择框1
};

constexpr int32_t kCheckedProperty = 18;  // CheckBox

}  // namespace ruvelto::offer_window

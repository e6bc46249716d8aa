// Unit ids of the failure list window, in template order (the window's own record, then its
// components); the builder refuses to emit an image whose ids differ.
#pragma once
#include <cstdint>

namespace ruvelto::failure_list_window {

constexpr uint32_t kWindow = 0x52010270;
constexpr uint32_t kWindowRecord = 0x06010271;

enum Unit : uint32_t {
    kFailureList = 0x16010272,  // 超级列表框1
    kCopyButton,                // 按钮1
    kRetryButton,               // 按钮2
};

}  // namespace ruvelto::failure_list_window

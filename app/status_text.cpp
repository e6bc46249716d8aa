#include "app/status_text.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/runtime_facade.h"
#include "image-data/windows/main_window_units.h"

namespace ruvelto::app {
namespace {

constexpr auto kNoticeHeld = std::chrono::seconds(2);
std::chrono::steady_clock::time_point noticeUntil;

}  // namespace

void ShowStatusText(const std::string& text) {
    // Panel data: one panel, width and style words, then its text and its tip.
    std::vector<uint8_t> panels = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    panels.insert(panels.end(), text.begin(), text.end());
    panels.push_back(0);
    panels.insert(panels.end(), text.begin(), text.end());
    panels.push_back(0);
    auto* byteSet = static_cast<uint8_t*>(Allocate(static_cast<uint32_t>(8 + panels.size())));
    const uint32_t header[2] = {1, static_cast<uint32_t>(panels.size())};
    std::memcpy(byteSet, header, sizeof header);
    std::memcpy(byteSet + 8, panels.data(), panels.size());
    WriteBytesProperty(main_window::kWindow, main_window::kStatusBar, main_window::kStatusPanelsProperty, byteSet);
    Free(byteSet);
}

}  // namespace ruvelto::app

namespace ruvelto::app {

void ShowStatusNotice(const std::string& text) {
    ShowStatusText(text);
    noticeUntil = std::chrono::steady_clock::now() + kNoticeHeld;
}

bool StatusNoticeHeld() { return std::chrono::steady_clock::now() < noticeUntil; }

}  // namespace ruvelto::app

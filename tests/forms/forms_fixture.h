// A running forms engine for tests: an image made with the builder holding the test core library
// and the given windows, the runtime started on it, and real input through the system queue.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/event_record.h"
#include "image-data/memory_image.h"
#include "image-data/program_image_description.h"
#include "image-data/template_writer.h"
#include "image-data/window_description.h"
#include "runtime/address_word.h"

namespace ruvelto::forms_test {

// A handler bound by address (the test image's code base is 0).
template <class F>
image_data::HandlerRef Handler(F* function) {
    return image_data::HandlerRef::Offset(static_cast<int32_t>(CodeWordOf(function)));
}

// A window with a plain frame and the given caption, at (40, 40), not centred.
image_data::WindowDescription TestWindow(uint32_t windowId, const std::string& caption, int width = 360,
                                         int height = 240);

class FormsTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Assigns unit ids, writes the segment, starts the runtime with `core` as the core library
    // (the test core library when none is given).
    void Start(std::vector<image_data::WindowDescription> windows);
    void Start(std::vector<image_data::WindowDescription> windows, image_data::LibraryDescription core);
    uint32_t IdOf(uint32_t windowId, const std::string& name) const;
    uint32_t OwnIdOf(uint32_t windowId) const;

    bool Load(uint32_t windowId, bool modal = false, uint32_t parentWindowId = 0);
    HWND WindowHandle(uint32_t windowId) const;
    HWND UnitHandle(uint32_t windowId, const std::string& name) const;

    std::vector<image_data::WindowDescription> windows_;
    std::unique_ptr<image_data::MemoryImage> image_;
};

// Dispatches what arrives for `milliseconds` (through the engine's pre-translate walk).
void Pump(int milliseconds = 60);
// Dispatches until `done` holds, for at most `milliseconds` (a limit for a failing test, not a
// wait for a slow machine); returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 10000);
// Dispatches until no keyboard or mouse input waits in this thread's queue.
void PumpInput();
// Real keyboard input: keybd_event, then pumping.
void PressKey(BYTE vk, std::initializer_list<BYTE> modifiers = {});
void TypeText(const char* text);
std::string WindowText(HWND window);
// Brings a window to the front and gives the focus to `focus` (or leaves it to the window),
// waiting until the system says so.
void Activate(HWND window, HWND focus = nullptr);
// Captures a window as it stands on the screen into a 24-bit BMP file (a Unix path).
bool SaveWindowPicture(HWND window, const std::string& path);

// One mouse event at screen position p, with the button action `button` (0 for a move). Each event
// carries its own absolute position (button events take it only together with MOUSEEVENTF_MOVE),
// so that no pointer motion the display reports late can move it elsewhere.
void MouseAt(POINT p, DWORD button);

}  // namespace ruvelto::forms_test

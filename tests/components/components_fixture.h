// Windows holding the real standard components, loaded from builder templates and driven with
// real input; the events their handlers saw, and property access by index as handlers use it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "image-data/component_blobs.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::components_test {

using forms_test::Pump;

// One delivered event: the source unit, the event number, its first two arguments.
struct SeenEvent {
    uint32_t unit = 0;
    int32_t event = 0;
    uint32_t a = 0, b = 0;
};
extern std::vector<SeenEvent> seen;

// Handlers recording events 0 and 1 of any unit, and one answering 7 to a label's event 0.
image_data::HandlerRef RecordEvent0();
image_data::HandlerRef RecordEvent1();
image_data::HandlerRef AnswerSeven();

constexpr uint32_t kWindow = 0x52010001;

// Fills a test core library's slots of the standard component types, interfaces included.
void DescribeStandardTypes(image_data::LibraryDescription& core);

class ComponentsTest : public forms_test::FormsTest {
protected:

    void SetUp() override { seen.clear(); }
    // Starts the runtime with the standard components in the core library, then loads the
    // window and brings it to the front.
    void Show(image_data::WindowDescription window);

    HWND Unit(const std::string& name) const { return UnitHandle(kWindow, name); }
    uint32_t Id(const std::string& name) const { return IdOf(kWindow, name); }
    uint64_t Read(const std::string& name, int32_t index) const;
    std::string ReadText(const std::string& name, int32_t index) const;
    void Write(const std::string& name, int32_t index, uint32_t value) const;
    void WriteText(const std::string& name, int32_t index, const std::string& text) const;
    void WriteBytes(const std::string& name, int32_t index, const std::vector<uint8_t>& bytes) const;
    int Count(const std::string& name, int32_t event) const;
};

// A window 480 × 360 with the given components.
image_data::WindowDescription TestWindow(std::vector<image_data::ComponentDescription> components,
                                         int width = 480, int height = 360);

// Real mouse input at a point of a window's client area.
void ClickAt(HWND window, int x, int y);
void RightClickAt(HWND window, int x, int y);
void DragFromTo(HWND window, int x0, int y0, int x1, int y1);
// The colour of a pixel of a window's client area as painted.
COLORREF PixelAt(HWND window, int x, int y);

}  // namespace ruvelto::components_test

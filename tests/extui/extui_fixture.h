// Windows holding the extended UI components (next to the standard ones), loaded from builder
// templates and driven with real input; the list view's methods called as the application calls
// them, and handlers that record any event number.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "image-data/extended_ui_blobs.h"
#include "runtime/value_record.h"
#include "tests/components/components_fixture.h"
#include "runtime/address_word.h"

namespace ruvelto::extui_test {

using components_test::PixelAt;
using components_test::seen;
using components_test::SeenEvent;
using components_test::TestWindow;
using forms_test::Pump;

// A handler that records event `event` of any unit (with its first two arguments) and answers
// `answer` when answer >= 0, nothing otherwise.
image_data::HandlerRef Recorder(int32_t event);
// What the recording handlers answer (-1: nothing) and, when set, a property they read during the
// event (its text is kept in readDuringEvent).
extern int32_t answer;
extern int32_t propertyToRead;
extern std::string readDuringEvent;

class ExtendedTest : public components_test::ComponentsTest {
protected:
    void SetUp() override {
        components_test::ComponentsTest::SetUp();
        answer = -1, propertyToRead = -1, readDuringEvent.clear();
    }
    // Starts the runtime with the standard components in the core library and the extended UI
    // library as library 3, then loads the window and brings it to the front. False when the
    // window does not load.
    bool ShowExtended(image_data::WindowDescription window);

    // Calls list view method `command` (0-6) on unit `name` with the arguments after the list.
    ValueRecord Call(int command, const std::string& name, std::vector<ValueRecord> arguments = {}) const;
    std::string CallText(int command, const std::string& name, std::vector<ValueRecord> arguments = {}) const;
};

inline ValueRecord Int(int32_t value) { return {static_cast<uint32_t>(value), 0, kTypeInt}; }
// The text must outlive the call.
inline ValueRecord Text(const std::string& text) {
    return {AddressWord(text.c_str()), 0, kTypeText};
}
inline ValueRecord Omitted() { return {}; }

// A real click at a point of a window's client area, made apart from the click before it: the
// pointer is moved there first and the double-click time allowed to pass, so that two clicks in a
// row are never one double click.
void Click(HWND window, int x, int y);

// The texts a unit's type reports through type service 9 (`typeInterface` is the type's
// interface, the unit is found through its window), in their order.
std::vector<std::string> EnumeratedTexts(void* (*typeInterface)(int32_t), HWND unit);

// Image list data of `count` solid 16 x 16 images (colour i: red, green, blue, ...).
std::vector<uint8_t> SolidImageListData(int count);

}  // namespace ruvelto::extui_test

#include "tests/components/components_fixture.h"

#include "components/standard_types.h"
#include "forms/events.h"
#include "forms/property_access.h"
#include "image-data/component_types.h"
#include "runtime/heap.h"
#include "tests/forms/test_components.h"
#include "runtime/address_word.h"

namespace ruvelto::components_test {

std::vector<SeenEvent> seen;

namespace {

void Record(int32_t event, uint32_t a, uint32_t b) {
    uint32_t window = 0, unit = 0;
    forms::CurrentEventSource(window, unit);
    seen.push_back({unit, event, a, b});
}
uint64_t Event0(uint32_t a, uint32_t b) {
    Record(0, a, b);
    return forms::kReturnsNothing;
}
uint64_t Event1(uint32_t a, uint32_t b) {
    Record(1, a, b);
    return forms::kReturnsNothing;
}
uint64_t Seven(uint32_t a, uint32_t b) {
    Record(0, a, b);
    return forms::HandlerReturns(7);
}

void SetInterface(image_data::TypeDescription& type, void* (*entry)(int32_t)) {
    type.typeInterface.address = reinterpret_cast<const void*>(entry);
}

}  // namespace

image_data::HandlerRef RecordEvent0() { return forms_test::Handler(&Event0); }
image_data::HandlerRef RecordEvent1() { return forms_test::Handler(&Event1); }
image_data::HandlerRef AnswerSeven() { return forms_test::Handler(&Seven); }

image_data::WindowDescription TestWindow(std::vector<image_data::ComponentDescription> components, int width,
                                         int height) {
    image_data::WindowDescription w = forms_test::TestWindow(kWindow, "Components", width, height);
    w.components = std::move(components);
    return w;
}

void DescribeStandardTypes(image_data::LibraryDescription& core) {
    image_data::DescribeStandardComponents(core.types);
    using namespace components;
    SetInterface(core.types[4], &EditBoxInterface);
    SetInterface(core.types[5], &PicBoxInterface);
    SetInterface(core.types[6], &ShapeBoxInterface);
    SetInterface(core.types[7], &DrawPanelInterface);
    SetInterface(core.types[8], &GroupBoxInterface);
    SetInterface(core.types[9], &LabelInterface);
    SetInterface(core.types[10], &ButtonInterface);
    SetInterface(core.types[11], &CheckBoxInterface);
    SetInterface(core.types[12], &RadioBoxInterface);
    SetInterface(core.types[16], &HScrollBarInterface);
    SetInterface(core.types[18], &ProcessBarInterface);
    SetInterface(core.types[19], &SliderBarInterface);
    SetInterface(core.types[30], &CommonDlgInterface);
}

void ComponentsTest::Show(image_data::WindowDescription window) {
    image_data::LibraryDescription core = forms_test::TestCoreLibrary();
    DescribeStandardTypes(core);
    Start({std::move(window)}, std::move(core));
    ASSERT_TRUE(Load(kWindow));
    forms_test::Activate(WindowHandle(kWindow));
    seen.clear();
}

uint64_t ComponentsTest::Read(const std::string& name, int32_t index) const {
    return forms::ReadProperty(kWindow, Id(name), index, -1);
}

std::string ComponentsTest::ReadText(const std::string& name, int32_t index) const {
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(Read(name, index)));
    std::string result = text ? text : "";
    heap::Free(const_cast<char*>(text));
    return result;
}

void ComponentsTest::Write(const std::string& name, int32_t index, uint32_t value) const {
    forms::WriteProperty(kWindow, Id(name), index, -1, value, 0);
}

void ComponentsTest::WriteText(const std::string& name, int32_t index, const std::string& text) const {
    forms::WriteProperty(kWindow, Id(name), index, -1, AddressWord(text.c_str()), 0);
}

void ComponentsTest::WriteBytes(const std::string& name, int32_t index, const std::vector<uint8_t>& bytes) const {
    // A byte set value: a one-dimensional byte array block (dimension count, size, bytes).
    std::vector<uint8_t> block(8 + bytes.size());
    block[0] = 1;
    for (int i = 0; i < 4; ++i) block[4 + i] = static_cast<uint8_t>(bytes.size() >> (8 * i));
    std::copy(bytes.begin(), bytes.end(), block.begin() + 8);
    forms::WriteProperty(kWindow, Id(name), index, -1, AddressWord(block.data()), 0);
}

int ComponentsTest::Count(const std::string& name, int32_t event) const {
    int n = 0;
    for (const SeenEvent& e : seen) n += e.unit == Id(name) && e.event == event;
    return n;
}

namespace {

// Mouse input comes from a thread of its own while this thread keeps dispatching: controls such
// as scroll bars track the mouse in a loop of their own until the button is released.
struct MouseScript {
    std::vector<POINT> points;  // screen positions; the button goes down at the first, up at the last
    DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
};

using forms_test::MouseAt;

DWORD WINAPI PlayMouse(void* parameter) {
    const auto* script = static_cast<const MouseScript*>(parameter);
    const auto& points = script->points;
    MouseAt(points.front(), 0);
    Sleep(40);
    MouseAt(points.front(), script->down);
    Sleep(60);
    for (size_t i = 1; i < points.size(); ++i) {
        MouseAt(points[i], 0);
        Sleep(60);
    }
    MouseAt(points.back(), script->up);
    Sleep(40);
    return 0;
}

void Play(MouseScript script) {
    HANDLE thread = CreateThread(nullptr, 0, &PlayMouse, &script, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) != WAIT_OBJECT_0) Pump(5);
    CloseHandle(thread);
    forms_test::PumpInput();
}

POINT OnScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

}  // namespace

void ClickAt(HWND window, int x, int y) { Play({{OnScreen(window, x, y)}}); }

void RightClickAt(HWND window, int x, int y) {
    Play({{OnScreen(window, x, y)}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

void DragFromTo(HWND window, int x0, int y0, int x1, int y1) {
    MouseScript script;
    for (int step = 0; step <= 4; ++step)
        script.points.push_back(OnScreen(window, x0 + (x1 - x0) * step / 4, y0 + (y1 - y0) * step / 4));
    Play(script);
}

COLORREF PixelAt(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

}  // namespace ruvelto::components_test

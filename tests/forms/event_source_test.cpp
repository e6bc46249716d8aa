// The current event source (runtime service 2017) while handlers run inside other handlers: a
// handler that clicks another button, or raises a library's wide event, is still the source once
// the inner handler has returned, and nothing is the source after the outermost one returns.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "forms/event_record.h"
#include "runtime/services.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/test_components.h"

namespace ruvelto::forms_test {
namespace {

using namespace image_data;
constexpr uint32_t kMain = 0x52010001;

// (where, window id, unit id) as the service reports it; (where, 0, 0) when it reports none.
using Sighting = std::tuple<std::string, uint32_t, uint32_t>;

struct Scene {
    HWND inner = nullptr;
    uint32_t wideUnit = 0;
    std::vector<Sighting> seen;
} scene;

void Look(const std::string& where) {
    uint32_t source[2] = {0, 0};
    if (!runtime::RuntimeService(kServiceEventSource, reinterpret_cast<intptr_t>(source), 0)) source[0] = source[1] = 0;
    scene.seen.emplace_back(where, source[0], source[1]);
}

uint64_t Inner() {
    Look("inner");
    return forms::kReturnsNothing;
}

uint64_t Wide() {
    Look("wide");
    return forms::kReturnsNothing;
}

uint64_t Outer() {
    Look("outer");
    SendMessageA(scene.inner, BM_CLICK, 0, 0);
    Look("outer after the click");
    // A support library raising an event of another unit while this handler runs.
    forms::WideEventRecord record;
    record.windowId = kMain;
    record.unitId = scene.wideUnit;
    runtime::RuntimeService(kServiceRaiseEventWide, reinterpret_cast<intptr_t>(&record), 0);
    Look("outer after the wide event");
    return forms::kReturnsNothing;
}

ComponentDescription Button(const std::string& name, int y, uint64_t (*handler)()) {
    return Component(type_code::kButton, name)
        .At(20, y, 120, 26)
        .Flags(kVisible | kTabStop)
        .Properties(CaptionBlob(name))
        .On(0, Handler(handler));
}

class EventSourceTest : public FormsTest {
protected:
    void SetUp() override { scene = {}; }
};

TEST_F(EventSourceTest, NestedHandlersGiveTheSourceBackToTheOuterOne) {
    WindowDescription w = TestWindow(kMain, "sources");
    w.components = {Button("outer", 20, &Outer), Button("inner", 60, &Inner), Button("wide", 100, &Wide)};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    const uint32_t outer = IdOf(kMain, "outer"), inner = IdOf(kMain, "inner");
    scene.inner = UnitHandle(kMain, "inner");
    scene.wideUnit = IdOf(kMain, "wide");

    SendMessageA(UnitHandle(kMain, "outer"), BM_CLICK, 0, 0);
    Look("after");
    const std::vector<Sighting> expected = {
        {"outer", kMain, outer},
        {"inner", kMain, inner},
        {"outer after the click", kMain, outer},
        {"wide", kMain, scene.wideUnit},
        {"outer after the wide event", kMain, outer},
        {"after", 0, 0},
    };
    EXPECT_EQ(scene.seen, expected);
}

}  // namespace
}  // namespace ruvelto::forms_test

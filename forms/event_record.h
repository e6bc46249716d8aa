// Events as the runtime, the forms engine and the support libraries raise them, and the form of
// an application event handler.
#pragma once
#include <cstdint>

namespace ruvelto::forms {

// The record of the raise-event service: the source unit, the event number, up to five
// arguments, and after delivery the handler's result.
struct EventRecord {
    uint32_t windowId = 0;
    uint32_t unitId = 0;  // 0: the window itself
    int32_t event = 0;    // the type's event (0, 1, ...) or a common event (negative)
    int32_t argumentCount = 0;
    uint32_t arguments[5] = {};
    uint32_t returned = 0;     // 1 when the handler returned a value
    uint32_t returnValue = 0;  // that value
};
static_assert(sizeof(EventRecord) == 44);

// The wide form: up to 12 arguments of 16 bytes and a 64-bit result.
struct WideEventArgument {
    uint32_t lo = 0;
    uint32_t hi = 0;
    uint32_t type = 0;
    uint32_t flags = 0;  // bit 0: lo is an address; bit 1: pass both words
};
struct WideEventRecord {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
    int32_t event = 0;
    int32_t argumentCount = 0;
    WideEventArgument arguments[12];
    uint32_t returned = 0;
    uint32_t returnLo = 0;
    uint32_t returnHi = 0;
};

// An application event handler: a cdecl function taking the event's arguments as 32-bit words
// in order (it may declare fewer than it is passed). It answers in EDX:EAX: EDX 0 means it
// returned nothing; EDX 1 means it returned the value in EAX.
using EventHandler = uint64_t (*)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);

constexpr uint64_t kReturnsNothing = 0;
constexpr uint64_t HandlerReturns(uint32_t value) { return (uint64_t{1} << 32) | value; }

// Common events of every window component and of the window.
enum CommonEvent : int32_t {
    kLeftButtonDown = -1,
    kLeftButtonUp = -2,
    kDoubleClick = -3,
    kRightButtonDown = -4,
    kRightButtonUp = -5,
    kMouseMove = -6,
    kGotFocus = -7,
    kLostFocus = -8,
    kKeyDown = -9,
    kKeyUp = -10,
    kCharInput = -11,
    kMouseWheel = -12,
};

}  // namespace ruvelto::forms

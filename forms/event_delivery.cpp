// Delivering an event: find the window unit and the source record, follow the record's handler
// links, check that the unit is a window component or a menu item, and call the handler with the
// current event source set.
#include <cstring>

#include "forms/error_texts.h"
#include "forms/events.h"
#include "forms/type_flags.h"
#include "forms/unit_types.h"
#include "forms/window_unit.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

struct EventSource {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
};
EventSource current;

// The handler of the event, after the checks every raise makes; 0 when none is bound.
uint32_t HandlerFor(uint32_t windowId, uint32_t unitId, int32_t event) {
    WindowUnit* unit = WindowUnits().Find(windowId);
    if (!unit) RaiseRuntimeError(kEventWindowMissing, 0);
    ComponentTableView table = unit->Table();
    int32_t index = unitId == 0 ? 0 : table.IndexOf(unitId);
    if (index < 0) RaiseRuntimeError(kEventUnitMissing, 0);
    // Handler links only join records of one type, so the source's type stands for the chain's.
    uint32_t flags = TypeFlagsOf(table.TypeCodeAt(static_cast<uint32_t>(index)));
    if (!(flags & (kFlagWindowComponent | kFlagMenu))) RaiseRuntimeError(kEventUnitInvalid, 0);
    return table.FindHandler(unitId == 0 ? table.IdAt(0) : unitId, event);
}

}  // namespace

bool EventsSuppressed() { return runtime::State().eventSuppression > 0; }
void SuppressEvents() { ++runtime::State().eventSuppression; }
void ResumeEvents() {
    if (runtime::State().eventSuppression > 0) --runtime::State().eventSuppression;
}

bool CurrentEventSource(uint32_t& windowId, uint32_t& unitId) {
    if (!current.windowId) return false;
    windowId = current.windowId;
    unitId = current.unitId;
    return true;
}

bool RaiseEvent(EventRecord& record) {
    if (EventsSuppressed()) return false;
    uint32_t handler = HandlerFor(record.windowId, record.unitId, record.event);
    if (!handler) return false;
    uint32_t a[5] = {};
    int32_t count = record.argumentCount < 0 ? 0 : record.argumentCount > 5 ? 5 : record.argumentCount;
    std::memcpy(a, record.arguments, count * sizeof(uint32_t));

    const EventSource outer = current;
    current = {record.windowId, record.unitId};
    uint64_t answer = reinterpret_cast<EventHandler>(static_cast<uintptr_t>(handler))(a[0], a[1], a[2], a[3], a[4]);
    // A handler that raised further events has restored its own source already; this one ends.
    current = outer;
    if ((answer >> 32) != 0) {
        record.returned = 1;
        record.returnValue = static_cast<uint32_t>(answer);
    }
    return true;
}

bool RaiseEvent(uint32_t windowId, uint32_t unitId, int32_t event, std::initializer_list<uint32_t> arguments,
                EventRecord* result) {
    EventRecord record;
    record.windowId = windowId;
    record.unitId = unitId;
    record.event = event;
    for (uint32_t argument : arguments) {
        if (record.argumentCount == 5) break;
        record.arguments[record.argumentCount++] = argument;
    }
    bool delivered = RaiseEvent(record);
    if (result) *result = record;
    return delivered;
}

bool RaiseWideEvent(WideEventRecord& record) {
    if (EventsSuppressed()) return false;
    uint32_t handler = HandlerFor(record.windowId, record.unitId, record.event);
    if (!handler) return false;
    // Each argument becomes one or two stack words, as the handler declares it.
    uint32_t words[24] = {};
    int n = 0;
    int32_t count = record.argumentCount < 0 ? 0 : record.argumentCount > 12 ? 12 : record.argumentCount;
    for (int32_t i = 0; i < count; ++i) {
        const WideEventArgument& a = record.arguments[i];
        if (a.flags & 1) {
            words[n++] = AddressWord(&record.arguments[i].lo);
        } else if ((a.flags & 2) || a.type == 0x10003 || a.type == 0x80000003 || a.type == 0x80000401 ||
                   a.type == 0x80000601 || a.type == 0x80000008) {
            words[n++] = a.lo;
            words[n++] = a.hi;
        } else if (a.type == 0x80000201) {
            words[n++] = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(a.lo)));
        } else if (a.type == 0x80000101) {
            words[n++] = a.lo & 0xFF;
        } else {
            words[n++] = a.lo;
        }
    }
    using WideHandler = uint64_t (*)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                     uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                     uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
    const EventSource outer = current;
    current = {record.windowId, record.unitId};
    uint64_t answer = reinterpret_cast<WideHandler>(static_cast<uintptr_t>(handler))(
        words[0], words[1], words[2], words[3], words[4], words[5], words[6], words[7], words[8], words[9], words[10],
        words[11], words[12], words[13], words[14], words[15], words[16], words[17], words[18], words[19], words[20],
        words[21], words[22], words[23]);
    current = outer;
    // A wide handler answers its 64-bit value whole; it always counts as having returned one.
    record.returned = 1;
    record.returnLo = static_cast<uint32_t>(answer);
    record.returnHi = static_cast<uint32_t>(answer >> 32);
    return true;
}

}  // namespace ruvelto::forms

#include "forms/unit_commands.h"

#include <windows.h>

#include "forms/message_loop.h"
#include "forms/units.h"
#include "forms/window_loading.h"
#include "forms/window_unit.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

bool Given(int32_t count, const ValueRecord* args, int32_t i) { return i < count && args[i].type != kTypeNone; }

}  // namespace

void GetWindowHandleCommand(ValueRecord* result, int32_t count, ValueRecord* args) {
    if (count < 1) return;
    WindowObject* object = FindLoadedUnitOrFail(args[0].lo, args[0].hi);
    result->lo = HandleWord(object->Handle());
    result->type = kTypeInt;
}

void LoadWindowCommand(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeBool;
    result->lo = 0;
    if (count < 1) return;
    HWND parent = nullptr;
    if (Given(count, args, 1)) {
        WindowObject* owner = FindLoadedUnit(args[1].lo, 0);
        if (!owner) return;
        parent = owner->Handle();
    }
    const bool modal = Given(count, args, 2) && args[2].lo != 0;
    WindowUnit* unit = WindowUnits().Find(args[0].lo);
    result->lo = unit && LoadWindowUnit(*unit, false, modal, parent) ? 1 : 0;
}

void ProcessEventsCommand(ValueRecord*, int32_t, ValueRecord*) { ProcessPendingMessages(); }

void DestroyUnitCommand(ValueRecord*, int32_t count, ValueRecord* args) {
    if (count < 1) return;
    const bool atOnce = count >= 2 && args[1].type != kTypeNone && args[1].lo != 0;
    WindowUnit* unit = WindowUnits().Find(args[0].lo);
    if (!unit) return;
    // The window's own record id names the window.
    const uint32_t unitId = args[0].hi == unit->Table().IdAt(0) ? 0 : args[0].hi;
    DestroyUnit(args[0].lo, unitId, atOnce);
}

}  // namespace ruvelto::forms

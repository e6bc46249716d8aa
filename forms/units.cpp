// Units by id and by window, and what happens when a live object reports its window gone.
#include "forms/units.h"

#include "forms/error_texts.h"
#include "forms/form_window.h"
#include "forms/unit_record.h"
#include "forms/window_loading.h"
#include "forms/window_unit.h"
#include "runtime/runtime_error.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

int32_t IndexOfUnit(WindowUnit& unit, uint32_t unitId) {
    if (unitId == 0) return 0;
    return unit.Table().IndexOf(unitId);
}

}  // namespace

HWND UnitWindow(WindowUnit& unit, uint32_t index) {
    auto record = ComponentRecordAt(unit, index);
    if (!record || !record->LiveObject()) return nullptr;
    HWND w = reinterpret_cast<WindowObject*>(static_cast<uintptr_t>(record->LiveObject()))->Handle();
    return w && IsWindow(w) ? w : nullptr;
}

WindowObject* FindLoadedUnit(uint32_t windowId, uint32_t unitId) {
    WindowUnit* unit = WindowUnits().Find(windowId);
    if (!unit) return nullptr;
    int32_t index = IndexOfUnit(*unit, unitId);
    if (index < 0 || !UnitWindow(*unit, static_cast<uint32_t>(index))) return nullptr;
    return reinterpret_cast<WindowObject*>(static_cast<uintptr_t>(ComponentRecordAt(*unit, index)->LiveObject()));
}

WindowObject* FindLoadedUnitOrFail(uint32_t windowId, uint32_t unitId) {
    WindowObject* object = FindLoadedUnit(windowId, unitId);
    if (!object) RaiseRuntimeError(kUnitNotLoaded, 0);
    return object;
}

int32_t UnitOfWindow(WindowUnit& unit, HWND window, uint32_t* unitId) {
    HWND form = UnitWindow(unit, 0);
    for (HWND w = window; w; w = GetParent(w)) {
        for (uint32_t i = 0; i < unit.recordCount; ++i) {
            if (UnitWindow(unit, i) != w) continue;
            if (unitId) *unitId = i == 0 ? 0 : unit.Table().IdAt(i);
            return static_cast<int32_t>(i);
        }
        if (w == form) break;
    }
    return -1;
}

int32_t LoadedWindowCount() {
    int32_t count = 0;
    for (auto& unit : WindowUnits().units)
        if (LiveWindowOf(*unit)) ++count;
    return count;
}

void ReportUnitUnloaded(uint32_t windowId, uint32_t unitId) {
    if (RecreatingComponent()) return;
    WindowUnit* unit = WindowUnits().Find(windowId);
    if (!unit) return;
    int32_t index = IndexOfUnit(*unit, unitId);
    if (index < 0) return;
    if (index > 0) {
        auto record = ComponentRecordAt(*unit, static_cast<uint32_t>(index));
        if (!record) return;
        if (record->CursorHandle())
            DestroyCursor(WordHandle<HCURSOR>(record->CursorHandle()));
        record->SetCursorHandle(0);
        record->SetLiveObject(0);
        return;
    }
    // The window: the table goes back to what it was when this load began.
    if (unit->savedRecordCount == 0) return;
    unit->table.swap(unit->savedTable);
    unit->recordCount = unit->savedRecordCount;
    unit->savedTable.clear();
    unit->savedRecordCount = 0;
}

}  // namespace ruvelto::forms

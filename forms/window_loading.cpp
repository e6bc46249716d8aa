// Loading a window: events held back, the live table saved, menu and units created (window
// first, then the components from the last record down), containers, pages and z-order set up,
// cursors made, the units told that they exist, the window shown and, when modal, the others
// disabled. Unloading restores the saved table (units.cpp).
#include "forms/window_loading.h"

#include <vector>

#include "forms/engine_messages.h"
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/message_loop.h"
#include "forms/type_flags.h"
#include "forms/type_interface.h"
#include "forms/unit_cursor.h"
#include "forms/unit_record.h"
#include "forms/unit_types.h"
#include "forms/units.h"
#include "forms/window_menu.h"
#include "forms/window_unit.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

bool recreating = false;

WindowObject* LiveObject(uint32_t word) { return reinterpret_cast<WindowObject*>(static_cast<uintptr_t>(word)); }

uint32_t CreationStyle(const UnitRecord& record, uint32_t typeFlags) {
    if (typeFlags & kFlagInvisible) return 0;
    uint32_t style = 0;
    if (record.StateFlags() & kStateDisabled) style |= WS_DISABLED;
    if (record.StateFlags() & kStateTabStop) style |= WS_TABSTOP;
    return style;
}

// The index of the record with this unit id, or -1 (container 0 is the window's record 0).
int32_t ContainerIndex(WindowUnit& unit, uint32_t containerId) {
    return containerId == 0 ? 0 : unit.Table().IndexOf(containerId);
}

// Places record i directly after the nearest earlier record in the same container, or on top.
void PlaceInZOrder(WindowUnit& unit, uint32_t i) {
    HWND w = UnitWindow(unit, i);
    auto record = ComponentRecordAt(unit, i);
    if (!w || !record) return;
    HWND after = HWND_TOP;
    for (uint32_t j = i; j-- > 1;) {
        auto earlier = ComponentRecordAt(unit, j);
        if (!earlier || earlier->Container() != record->Container()) continue;
        if (HWND e = UnitWindow(unit, j)) {
            after = e;
            break;
        }
    }
    SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Undoes a load that failed while creating units.
void FailLoad(WindowUnit& unit, WindowMenu& menu, HWND window) {
    if (window) {
        // The window's unload report puts the table back as it was.
        DestroyWindow(window);
    } else {
        unit.savedTable.clear();
        unit.savedRecordCount = 0;
        if (menu.menu) DestroyMenu(menu.menu);
    }
    if (menu.accelerators) DestroyAcceleratorTable(menu.accelerators);
    unit.savedTable.clear();
    unit.savedRecordCount = 0;
    SetCreatingModal(false);
    ResumeEvents();
}

}  // namespace

bool RecreatingComponent() { return recreating; }

bool LoadWindowUnit(WindowUnit& unit, bool reactivate, bool modal, HWND parent) {
    if (!reactivate) {
        if (FormWindow* live = LiveWindowOf(unit)) {
            if (!live->PendingDestroy()) {
                if (IsIconic(live->Handle())) ShowWindow(live->Handle(), SW_RESTORE);
                else SetActiveWindow(live->Handle());
                return true;
            }
            live->UndoModalDisabling();  // before the window goes, so that activation can pass back
            DestroyWindow(live->Handle());
        }
    }
    if (modal) parent = nullptr;
    if (parent && !IsWindow(parent)) return false;

    SuppressEvents();
    unit.savedTable = unit.table;
    unit.savedRecordCount = unit.recordCount;
    WindowMenu menu = HasMenuRecords(unit) ? BuildWindowMenu(unit) : WindowMenu{};

    // The window first, then the components from the last record down.
    const uint32_t count = unit.recordCount;
    HWND window = nullptr;
    SetCreatingModal(modal);
    uint32_t controlId = 100;
    for (uint32_t step = 0; step < count; ++step) {
        const uint32_t i = step == 0 ? 0 : count - step;
        if (IsMenuRecord(unit, i)) continue;
        auto record = ComponentRecordAt(unit, i);
        if (!record) return FailLoad(unit, menu, window), false;
        const uint32_t typeFlags = TypeFlagsOf(record->TypeCode());
        auto create = reinterpret_cast<CreateUnitService>(TypeService(record->TypeCode(), kCreateUnit));
        if (!create) return FailLoad(unit, menu, window), false;
        const uint32_t style = CreationStyle(*record, typeFlags);
        void* live = i == 0 ? create(record->PropertyBlock(), record->PropertyBlockLength(), style, parent, 0, menu.menu,
                                     record->Rect(0), record->Rect(1), record->Rect(2), record->Rect(3),
                                     unit.windowId, unit.Table().IdAt(0), nullptr, 0)
                            : create(record->PropertyBlock(), record->PropertyBlockLength(), style, window, controlId,
                                     nullptr, record->Rect(0), record->Rect(1), record->Rect(2), record->Rect(3),
                                     unit.windowId, unit.Table().IdAt(i), nullptr, 0);
        if (!live) return FailLoad(unit, menu, window), false;
        // Creating may have moved the table's bytes: store through a fresh view.
        ComponentRecordAt(unit, i)->SetLiveObject(AddressWord(static_cast<WindowObject*>(live)));
        if (i == 0) window = static_cast<WindowObject*>(live)->Handle();
        else controlId += 10;
    }
    SetCreatingModal(false);

    // Visibility, containers and pages.
    std::vector<bool> visible(count, false);
    for (uint32_t i = 1; i < count; ++i) {
        auto record = ComponentRecordAt(unit, i);
        if (!record) continue;
        visible[i] = (record->StateFlags() & kStateVisible) && !(TypeFlagsOf(record->TypeCode()) & kFlagInvisible);
    }
    for (uint32_t i = 1; i < count; ++i) {
        auto record = ComponentRecordAt(unit, i);
        HWND w = UnitWindow(unit, i);
        if (!record || !w || record->Container() == 0) continue;
        int32_t container = ContainerIndex(unit, record->Container());
        if (HWND c = container > 0 ? UnitWindow(unit, static_cast<uint32_t>(container)) : nullptr) SetParent(w, c);
    }
    for (uint32_t i = 1; i < count; ++i) {
        auto record = ComponentRecordAt(unit, i);
        if (!record || !visible[i]) continue;
        bool laterPage = false;
        for (uint32_t child : record->Children()) {
            if (child == 0) {
                laterPage = true;
                continue;
            }
            int32_t c = unit.Table().IndexOf(child);
            if (laterPage && c > 0) visible[c] = false;
        }
    }
    for (uint32_t i = 1; i < count; ++i) PlaceInZOrder(unit, i);

    // Cursors of every unit.
    for (uint32_t i = 0; i < count; ++i) {
        auto record = ComponentRecordAt(unit, i);
        if (!record) continue;
        HCURSOR cursor = MakeUnitCursor(record->CursorData(), record->CursorDataLength());
        record->SetCursorHandle(HandleWord(cursor));
    }

    for (uint32_t i = count; i-- > 1;)
        if (HWND w = UnitWindow(unit, i)) SendMessageA(w, kUnitsExist, 0, 0);
    SendMessageA(window, kLayoutDocking, 0, 0);
    for (uint32_t i = 1; i < count; ++i)
        if (HWND w = UnitWindow(unit, i)) ShowWindow(w, visible[i] ? SW_SHOWNA : SW_HIDE);

    FormWindow* form = LiveWindowOf(unit);
    form->SetAccelerators(menu.accelerators);
    ResumeEvents();

    // Created, moved and resized: the application's first look at its window.
    HWND focusBefore = GetFocus();
    RaiseEvent(unit.windowId, 0, kWindowCreated);
    if (IsWindow(window)) {
        RaiseEvent(unit.windowId, 0, kWindowMoved);
        if (IsWindow(window)) RaiseEvent(unit.windowId, 0, kWindowResized);
    }
    form = LiveWindowOf(unit);
    if (form) {
        auto own = ComponentRecordAt(unit, 0);
        if (own && (own->StateFlags() & kStateVisible)) form->ShowOnLoad();
    }
    form = LiveWindowOf(unit);
    if (!form) return true;  // a handler closed it again: loading itself succeeded

    if (modal) form->BecomeModal();
    for (uint32_t i = unit.recordCount; i-- > 1;)
        if (HWND w = UnitWindow(unit, i)) SendMessageA(w, kLoadFinished, 0, 0);
    // The focus goes back to the window that held it before the created event and the show,
    // unless the window was shown and holds the focus now: taking it away then would send a
    // person's typing back into the window behind the one that just opened.
    HWND focusNow = GetFocus();
    const bool newWindowHasFocus =
        IsWindowVisible(window) && focusNow && (focusNow == window || IsChild(window, focusNow));
    if (focusBefore && IsWindow(focusBefore) && focusNow != focusBefore && !newWindowHasFocus) SetFocus(focusBefore);
    form->SetLoaded();

    if (modal && IsWindowVisible(window)) RunModalLoop(window);
    return true;
}

void RecreateComponent(WindowUnit& unit, uint32_t index) {
    auto record = ComponentRecordAt(unit, index);
    if (!record || index == 0) return;
    WindowObject* old = LiveObject(record->LiveObject());
    HWND oldWindow = old ? old->Handle() : nullptr;
    if (!oldWindow || !IsWindow(oldWindow)) return;
    const uint32_t typeCode = record->TypeCode();
    auto getAll = reinterpret_cast<GetAllPropertyDataService>(TypeService(typeCode, kGetAllPropertyData));
    auto create = reinterpret_cast<CreateUnitService>(TypeService(typeCode, kCreateUnit));
    if (!getAll || !create) return;

    SuppressEvents();
    recreating = true;
    HWND focus = GetFocus();
    const bool hadFocus = focus == oldWindow || IsChild(oldWindow, focus);
    HGLOBAL blob = getAll(old);
    const uint8_t* bytes = blob ? static_cast<const uint8_t*>(GlobalLock(blob)) : nullptr;
    const uint32_t length = blob ? static_cast<uint32_t>(GlobalSize(blob)) : 0;
    HWND parent = GetParent(oldWindow);
    RECT r;
    GetWindowRect(oldWindow, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const uint32_t style = CreationStyle(*record, TypeFlagsOf(typeCode));
    HWND form = UnitWindow(unit, 0);
    void* live = create(bytes, length, style, form, static_cast<uint32_t>(GetDlgCtrlID(oldWindow)), nullptr, r.left,
                        r.top, r.right - r.left, r.bottom - r.top, unit.windowId, unit.Table().IdAt(index), nullptr, 0);
    if (blob) GlobalUnlock(blob), GlobalFree(blob);
    if (live) {
        HWND newWindow = static_cast<WindowObject*>(live)->Handle();
        if (parent != form) SetParent(newWindow, parent);
        // The old window's children (a container's units) move over.
        std::vector<HWND> children;
        for (HWND c = GetWindow(oldWindow, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
        for (HWND c : children)
            if (UnitOfWindow(unit, c, nullptr) > 0) SetParent(c, newWindow);
        ComponentRecordAt(unit, index)->SetLiveObject(AddressWord(static_cast<WindowObject*>(live)));
        SetWindowPos(newWindow, oldWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageA(newWindow, kUnitsExist, 0, 0);
        SendMessageA(newWindow, kLoadFinished, 0, 0);
        if (TypeFlagsOf(typeCode) & kFlagDocking) SendMessageA(form, kLayoutDocking, 0, 0);
        if (IsWindowVisible(oldWindow)) ShowWindow(newWindow, SW_SHOWNA);
        DestroyWindow(oldWindow);
        if (hadFocus) SetFocus(newWindow);
        else if (focus && IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
    }
    recreating = false;
    ResumeEvents();
}

void DestroyUnit(uint32_t windowId, uint32_t unitId, bool atOnce) {
    WindowUnit* unit = WindowUnits().Find(windowId);
    if (!unit) return;
    int32_t index = unitId == 0 ? 0 : unit->Table().IndexOf(unitId);
    if (index < 0) return;
    if (index == 0) {
        FormWindow* form = LiveWindowOf(*unit);
        if (!form) return;
        form->SetPendingDestroy(true);
        if (atOnce) {
            form->UndoModalDisabling();
            DestroyWindow(form->Handle());
        }
        else PostMessageA(form->Handle(), kDestroyNow, 0, 0);
        return;
    }
    HWND w = UnitWindow(*unit, static_cast<uint32_t>(index));
    if (!w) return;
    const bool hadChildren = GetWindow(w, GW_CHILD) != nullptr;
    const uint32_t container = ComponentRecordAt(*unit, static_cast<uint32_t>(index))->Container();
    DestroyWindow(w);
    if (hadChildren) return;
    unit = WindowUnits().Find(windowId);
    index = unit ? unit->Table().IndexOf(unitId) : -1;
    if (index <= 0) return;
    RemoveRecord(*unit, static_cast<uint32_t>(index));
    int32_t c = ContainerIndex(*unit, container);
    if (c < 0) return;
    auto holder = ComponentRecordAt(*unit, static_cast<uint32_t>(c));
    if (!holder) return;
    std::vector<uint32_t> children = holder->Children();
    std::erase(children, unitId);
    if (children.size() != holder->Children().size()) ReplaceChildList(*unit, static_cast<uint32_t>(c), children);
}

void ReleaseAllWindows() {
    for (auto& unit : WindowUnits().units)
        if (FormWindow* form = LiveWindowOf(*unit)) DestroyWindow(form->Handle());
}

}  // namespace ruvelto::forms

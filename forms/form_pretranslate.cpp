// The window's pre-translate step: disabled targets, accelerators, the types' own hooks, dragging
// by the client area, keyboard navigation and the common mouse and keyboard events, whose
// handlers may swallow or alter the message.
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/keyboard_navigation.h"
#include "forms/type_flags.h"
#include "forms/type_interface.h"
#include "forms/unit_record.h"
#include "forms/unit_types.h"
#include "forms/units.h"
#include "forms/window_unit.h"

namespace ruvelto::forms {
namespace {

bool IsKeyMessage(UINT message) { return message >= WM_KEYDOWN && message <= 0x108; }

// The unit a message counts for: the window itself (unit id 0), the component whose window it
// is addressed to, or a component whose type takes its inner windows' messages as its own.
bool SourceOf(WindowUnit& unit, HWND form, HWND target, uint32_t& unitId) {
    if (target == form) {
        unitId = 0;
        return true;
    }
    for (HWND w = target; w && w != form; w = GetParent(w)) {
        for (uint32_t i = 1; i < unit.recordCount; ++i) {
            if (UnitWindow(unit, i) != w) continue;
            if (w != target && !(TypeFlagsOf(unit.Table().TypeCodeAt(i)) & (kFlagOwnsChildWindows | kFlagHostsEmbedded)))
                return false;
            unitId = unit.Table().IdAt(i);
            return true;
        }
    }
    return false;
}

// For key events the modifiers leave out the key's own.
uint32_t KeyModifiers(uint32_t vk) {
    uint32_t m = Modifiers();
    if (vk == VK_CONTROL) m &= ~1u;
    if (vk == VK_SHIFT) m &= ~2u;
    if (vk == VK_MENU) m &= ~4u;
    return m;
}

}  // namespace

bool FormWindow::RaiseCommonEvent(MSG* m) {
    WindowUnit* unit = Unit();
    uint32_t unitId = 0;
    if (!unit || !SourceOf(*unit, Handle(), m->hwnd, unitId)) return false;
    const uint32_t x = LOWORD(m->lParam), y = HIWORD(m->lParam);
    EventRecord r;
    bool raised = false;
    switch (m->message) {
        case WM_LBUTTONDOWN: raised = RaiseEvent(windowId_, unitId, kLeftButtonDown, {x, y, Modifiers()}, &r); break;
        case WM_LBUTTONUP: raised = RaiseEvent(windowId_, unitId, kLeftButtonUp, {x, y, Modifiers()}, &r); break;
        case WM_LBUTTONDBLCLK: raised = RaiseEvent(windowId_, unitId, kDoubleClick, {x, y, Modifiers()}, &r); break;
        case WM_RBUTTONDOWN: raised = RaiseEvent(windowId_, unitId, kRightButtonDown, {x, y, Modifiers()}, &r); break;
        case WM_RBUTTONUP: raised = RaiseEvent(windowId_, unitId, kRightButtonUp, {x, y, Modifiers()}, &r); break;
        case WM_MOUSEMOVE: raised = RaiseEvent(windowId_, unitId, kMouseMove, {x, y, Modifiers()}, &r); break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const uint32_t vk = static_cast<uint32_t>(m->wParam);
            const bool down = m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN;
            raised = RaiseEvent(windowId_, unitId, down ? kKeyDown : kKeyUp, {FoldKey(vk), KeyModifiers(vk)}, &r);
            break;
        }
        case WM_CHAR: raised = RaiseEvent(windowId_, unitId, kCharInput, {static_cast<uint32_t>(m->wParam)}, &r); break;
        case WM_MOUSEWHEEL: {
            const int32_t steps = static_cast<int16_t>(HIWORD(m->wParam)) / 120;
            raised = RaiseEvent(windowId_, unitId, kMouseWheel, {static_cast<uint32_t>(steps), Modifiers()}, &r);
            break;
        }
        default: return false;
    }
    if (!raised) return false;
    if (!r.returned) return false;  // a handler that answers nothing changes nothing
    if (r.returnValue == 0) return true;
    if (m->message == WM_CHAR) m->wParam = r.returnValue;
    return false;
}

bool FormWindow::PreTranslateMessage(MSG* m) {
    HWND self = Handle();
    const bool key = IsKeyMessage(m->message);
    if (key && m->hwnd && !IsWindowEnabled(m->hwnd)) return true;
    if (m->message == WM_LBUTTONDOWN || m->message == WM_NCLBUTTONDOWN) {
        // Open menus and drop-downs close when the mouse goes down elsewhere.
        if (HWND capture = GetCapture(); capture && capture != m->hwnd) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    }
    if (key && accelerators_ && TranslateAcceleratorA(self, accelerators_, m)) return true;
    if (!IsWindow(self)) return true;
    if (m->hwnd != self && !IsChild(self, m->hwnd)) return false;
    WindowUnit* unit = Unit();
    if (!unit) return false;

    for (uint32_t i = 1; i < unit->recordCount; ++i) {
        const uint32_t typeCode = unit->Table().TypeCodeAt(i);
        if (!(TypeFlagsOf(typeCode) & kFlagPreTranslate)) continue;
        auto record = ComponentRecordAt(*unit, i);
        auto service = reinterpret_cast<PreTranslateService>(TypeService(typeCode, kPreTranslate));
        if (record && record->LiveObject() && service &&
            service(reinterpret_cast<void*>(static_cast<uintptr_t>(record->LiveObject())), m))
            return true;
        if (!IsWindow(self)) return true;
    }

    if (properties_.dragByClient && m->message == WM_LBUTTONDOWN) {
        if (m->hwnd == self) {
            PostMessageA(self, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(m->pt.x, m->pt.y));
        } else {
            int32_t index = UnitOfWindow(*unit, m->hwnd, nullptr);
            if (index > 0 && UnitWindow(*unit, index) == m->hwnd &&
                (TypeFlagsOf(unit->Table().TypeCodeAt(index)) & kFlagDragHandle)) {
                PostMessageA(self, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(m->pt.x, m->pt.y));
                return true;
            }
        }
    }

    if ((m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) && NavigateKey(*this, *unit, *m)) return true;
    if (!IsWindow(self)) return true;

    if (RaiseCommonEvent(m)) return true;
    return !IsWindow(self);
}

}  // namespace ruvelto::forms

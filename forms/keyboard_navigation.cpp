#include "forms/keyboard_navigation.h"

#include <string>
#include <vector>

#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/type_flags.h"
#include "forms/type_interface.h"
#include "forms/unit_record.h"
#include "forms/unit_types.h"
#include "forms/units.h"
#include "forms/window_unit.h"
#include "runtime/runtime_state.h"

namespace ruvelto::forms {
namespace {

struct Candidate {
    uint32_t index;
    int32_t tabOrder;
    HWND window;
};

uint32_t TypeFlagsAt(WindowUnit& unit, uint32_t index) { return TypeFlagsOf(unit.Table().TypeCodeAt(index)); }

void* LiveAt(WindowUnit& unit, uint32_t index) {
    auto record = ComponentRecordAt(unit, index);
    return record ? reinterpret_cast<void*>(static_cast<uintptr_t>(record->LiveObject())) : nullptr;
}

// Visible, enabled tab stops from the last record down, ordered by tab order; a unit goes behind
// every unit whose tab order is not greater, so among equal orders the higher record comes first.
std::vector<Candidate> TabCandidates(WindowUnit& unit, HWND radioParent, HWND inside) {
    std::vector<Candidate> list;
    for (uint32_t i = unit.recordCount; i-- > 1;) {
        auto record = ComponentRecordAt(unit, i);
        HWND w = UnitWindow(unit, i);
        if (!record || !w || !IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
        if (!(record->StateFlags() & kStateTabStop)) continue;
        const uint32_t flags = TypeFlagsOf(record->TypeCode());
        if (flags & (kFlagInvisible | kFlagNoFocus)) continue;
        if (radioParent && (!(flags & kFlagRadioBox) || GetParent(w) != radioParent)) continue;
        if (inside && !IsChild(inside, w)) continue;
        Candidate c{i, record->TabOrder(), w};
        auto at = list.begin();
        while (at != list.end() && at->tabOrder <= c.tabOrder) ++at;
        list.insert(at, c);
    }
    return list;
}

// The radio boxes under the target's parent are unchecked, the target checked, and it raises
// its event 0.
void CheckRadio(WindowUnit& unit, uint32_t target) {
    HWND t = UnitWindow(unit, target);
    if (!t) return;
    HWND parent = GetParent(t);
    for (uint32_t i = 1; i < unit.recordCount; ++i) {
        HWND w = UnitWindow(unit, i);
        if (w && w != t && GetParent(w) == parent && (TypeFlagsAt(unit, i) & kFlagRadioBox))
            SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(t, BM_SETCHECK, BST_CHECKED, 0);
    RaiseEvent(unit.windowId, unit.Table().IdAt(target), 0);
}

void Click(WindowUnit& unit, uint32_t index) { RaiseEvent(unit.windowId, unit.Table().IdAt(index), 0); }

// The record index of the unit holding the focus (0 for the window or none).
int32_t FocusedUnit(WindowUnit& unit) {
    HWND focus = GetFocus();
    if (!focus) return 0;
    int32_t index = UnitOfWindow(unit, focus, nullptr);
    return index < 0 ? 0 : index;
}

bool IsDefaultButton(WindowUnit& unit, uint32_t index) {
    if (!(TypeFlagsAt(unit, index) & kFlagPushButton)) return false;
    void* live = LiveAt(unit, index);
    auto service = reinterpret_cast<IsDefaultButtonService>(TypeService(unit.Table().TypeCodeAt(index), kIsDefaultButton));
    return live && UnitWindow(unit, index) && service && service(live) != 0;
}

bool WantsKey(WindowUnit& unit, uint32_t index, uint32_t key) {
    if (index == 0) return false;
    void* live = LiveAt(unit, index);
    auto service = reinterpret_cast<WantsKeyService>(TypeService(unit.Table().TypeCodeAt(index), kWantsKey));
    return live && service && service(live, key) == 1;
}

bool Enter(FormWindow& form, WindowUnit& unit, int32_t focused) {
    if (focused > 0 && IsDefaultButton(unit, focused)) {
        HWND w = UnitWindow(unit, focused);
        if (IsWindowVisible(w) && IsWindowEnabled(w)) {
            Click(unit, focused);
            return true;
        }
    }
    if (form.Properties().enterMovesFocus) {
        MoveFocus(form, unit, focused, true, false, nullptr);
        return true;
    }
    for (uint32_t i = 1; i < unit.recordCount; ++i) {
        if (IsDefaultButton(unit, i)) {
            Click(unit, i);
            return true;
        }
    }
    return false;
}

bool Help(FormWindow& form) {
    const WindowProperties& p = form.Properties();
    if (!p.f1Help) return false;
    std::string file = p.helpFile;
    if (file.empty()) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        file = path;
        size_t slash = file.find_last_of('\\'), dot = file.find_last_of('.');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
        file += ".hlp";
    }
    if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (p.helpContext) WinHelpA(form.Handle(), file.c_str(), HELP_CONTEXT, p.helpContext);
        else WinHelpA(form.Handle(), file.c_str(), HELP_FINDER, 0);
        form.NoteHelpUsed();
    }
    return true;
}

bool Mnemonic(FormWindow& form, WindowUnit& unit, uint32_t virtualKey) {
    std::string pairs[2];
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        pairs[0] = {'&', char(virtualKey)};
        pairs[1] = {'&', char(virtualKey - 'A' + 'a')};
    } else if (virtualKey >= '0' && virtualKey <= '9') {
        pairs[0] = {'&', char(virtualKey)};
    } else {
        return false;
    }
    for (uint32_t i = 0; i < unit.recordCount; ++i) {
        const uint32_t flags = TypeFlagsAt(unit, i);
        if (IsMenuRecord(unit, i) || (flags & kFlagInvisible) || !(flags & kMnemonicKinds)) continue;
        HWND w = UnitWindow(unit, i);
        if (!w || !IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
        char text[512] = {};
        GetWindowTextA(w, text, sizeof text);
        std::string caption = text;
        if (caption.find(pairs[0]) == std::string::npos &&
            (pairs[1].empty() || caption.find(pairs[1]) == std::string::npos))
            continue;
        if (flags & kFlagCheckBox) {
            LRESULT state = SendMessageA(w, BM_GETCHECK, 0, 0);
            SendMessageA(w, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
            Click(unit, i);
        } else if (flags & kFlagRadioBox) {
            CheckRadio(unit, i);
        } else if (flags & kFlagPushButton) {
            Click(unit, i);
        } else if (flags & kFlagCaptionLabel) {
            MoveFocus(form, unit, static_cast<int32_t>(i), true, false, nullptr);
        } else if (flags & kFlagGroupFrame) {
            std::vector<Candidate> inside = TabCandidates(unit, nullptr, w);
            if (!inside.empty()) SetFocus(inside.front().window);
        }
        return true;
    }
    return false;
}

}  // namespace

uint32_t FoldKey(uint32_t vk) {
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
    if (vk == VK_SUBTRACT) return 189;
    if (vk == VK_DECIMAL) return 190;
    if (vk == VK_DIVIDE) return 191;
    return vk;
}

uint32_t Modifiers() {
    return (GetKeyState(VK_CONTROL) < 0 ? 1 : 0) | (GetKeyState(VK_SHIFT) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

HWND FirstTabUnit(FormWindow& form) {
    WindowUnit* unit = form.Unit();
    if (!unit) return nullptr;
    std::vector<Candidate> list = TabCandidates(*unit, nullptr, nullptr);
    return list.empty() ? nullptr : list.front().window;
}

HWND MoveFocus(FormWindow& form, WindowUnit& unit, int32_t from, bool forward, bool radio, HWND inside) {
    (void)form;
    HWND fromWindow = from > 0 ? UnitWindow(unit, static_cast<uint32_t>(from)) : nullptr;
    HWND radioParent = radio && fromWindow ? GetParent(fromWindow) : nullptr;
    if (radio && !radioParent) return nullptr;
    std::vector<Candidate> list = TabCandidates(unit, radioParent, inside);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    int target = -1;

    const uint32_t fromFlags = from > 0 ? TypeFlagsAt(unit, static_cast<uint32_t>(from)) : 0;
    if (fromFlags & (kFlagCaptionLabel | kFlagGroupFrame)) {
        // Labels and group frames stand between units by their own tab order.
        int32_t reference = 0;
        if (!(fromFlags & kFlagGroupFrame)) {
            if (auto record = ComponentRecordAt(unit, static_cast<uint32_t>(from))) reference = record->TabOrder();
        }
        if (forward) {
            for (int i = 0; i < n && target < 0; ++i)
                if (list[i].tabOrder >= reference) target = i;
        } else {
            for (int i = n; i-- > 0 && target < 0;)
                if (list[i].tabOrder < reference) target = i;
        }
        if (target < 0) return nullptr;
    } else {
        int position = -1;
        bool atPosition = false;
        for (int i = 0; i < n; ++i)
            if (static_cast<int32_t>(list[i].index) == from) position = i, atPosition = true;
        if (position < 0)
            for (int i = 0; i < n && position < 0; ++i)
                if (static_cast<int32_t>(list[i].index) <= from) position = i;
        if (position < 0) target = forward ? 0 : n - 1;
        else if (forward) target = atPosition ? (position + 1) % n : position;
        else target = (position + n - 1) % n;
    }

    const Candidate& chosen = list[target];
    if (static_cast<int32_t>(chosen.index) == from) return nullptr;
    if (radio) CheckRadio(unit, chosen.index);
    if (IsWindow(chosen.window)) SetFocus(chosen.window);
    return chosen.window;
}

bool NavigateKey(FormWindow& form, WindowUnit& unit, const MSG& message) {
    const uint32_t vk = static_cast<uint32_t>(message.wParam);
    const uint32_t modifiers = Modifiers();
    const uint32_t key = FoldKey(vk) | (modifiers & 1 ? kKeyCtrl : 0) | (modifiers & 2 ? kKeyShift : 0) |
                         (modifiers & 4 ? kKeyAlt : 0);
    const int32_t focused = FocusedUnit(unit);

    // Arrow keys among radio boxes are never the focused unit's to keep.
    if ((vk == VK_LEFT || vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN) && focused > 0 &&
        (TypeFlagsAt(unit, static_cast<uint32_t>(focused)) & kFlagRadioBox) && (key & ~0xFFFu) == 0) {
        MoveFocus(form, unit, focused, vk == VK_RIGHT || vk == VK_DOWN, true, nullptr);
        return true;
    }

    const bool tab = key == VK_TAB, backTab = key == (VK_TAB | kKeyShift);
    const bool enter = key == VK_RETURN, escape = key == VK_ESCAPE, help = key == VK_F1;
    const bool mnemonic = (key & (kKeyAlt | kKeyCtrl | kKeyShift)) == kKeyAlt &&
                          ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'));
    if (!(tab || backTab || enter || escape || help || mnemonic)) return false;
    if (WantsKey(unit, static_cast<uint32_t>(focused), key)) return false;

    if (tab || backTab) {
        MoveFocus(form, unit, focused, tab, false, nullptr);
        return true;
    }
    if (enter) return Enter(form, unit, focused);
    if (escape) {
        if (!form.Properties().escCloses) return false;
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
        return true;
    }
    if (help) return Help(form);
    return Mnemonic(form, unit, vk);
}

}  // namespace ruvelto::forms

// Switching the skin on and off, subclassing windows, and the replacement window procedure that
// tracks each control's state and paints it.
#include "extui/xp_style.h"

#include <windows.h>

#include <commctrl.h>

#include "commands/command_values.h"
#include "extui/xp_style_kinds.h"
#include "extui/xp_style_paint.h"
#include "extui/xp_style_records.h"

namespace ruvelto::extui {
namespace {

using namespace skin_state;

int32_t currentScheme = 0;
HHOOK createHook = nullptr;

LRESULT CALLBACK SkinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- subclassing ----

void RedrawCompletely(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// An up-down control next to a skinned edit, aligned on its right or left, is drawn as part of
// the edit: both records learn the side.
void AttachUpDown(SkinRecord& upDown) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(upDown.window, GWL_STYLE));
    auto buddy = reinterpret_cast<HWND>(SendMessageA(upDown.window, UDM_GETBUDDY, 0, 0));
    SkinRecord* edit = buddy ? FindSkinRecord(buddy) : nullptr;
    if (!edit || edit->kind != kEdit) return;
    if (style & UDS_ALIGNRIGHT) {
        upDown.state |= kAttachedRight;
        edit->state |= kEditUpDownRight;
    } else if (style & UDS_ALIGNLEFT) {
        upDown.state |= kAttachedLeft;
        edit->state |= kEditUpDownLeft;
    }
}

void Subclass(HWND window) {
    if (FindSkinRecord(window)) return;
    const SkinKind kind = ClassifyWindow(window);
    if (!IsPaintedKind(kind)) return;
    SkinRecord* record = AddSkinRecord(window, kind, InitialSkinState(window, kind));
    if (!record) return;
    if (kind == kUpDown) AttachUpDown(*record);
    record->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinProcedure)));
    if (!record->previous) {  // the window would not take the procedure
        DeleteSkinRecord(record);
        return;
    }
    RedrawCompletely(window);
}

void RemoveSubclass(SkinRecord* record, bool redraw) {
    HWND window = record->window;
    WNDPROC previous = record->previous;
    DeleteSkinRecord(record);
    if (!IsWindow(window)) return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (redraw) RedrawCompletely(window);
}

BOOL CALLBACK SubclassChild(HWND window, LPARAM) {
    Subclass(window);
    return TRUE;
}

BOOL CALLBACK SubclassTree(HWND window, LPARAM) {
    Subclass(window);
    EnumChildWindows(window, &SubclassChild, 0);  // reaches every descendant
    return TRUE;
}

BOOL CALLBACK RemoveChild(HWND window, LPARAM) {
    if (SkinRecord* record = FindSkinRecord(window)) RemoveSubclass(record, true);
    return TRUE;
}

BOOL CALLBACK RemoveTree(HWND window, LPARAM) {
    RemoveChild(window, 0);
    EnumChildWindows(window, &RemoveChild, 0);
    return TRUE;
}

// Every window the thread makes from now on is skinned as it is created. A computer-based-
// training hook is called only for such events as a window's creation; a hook on sent messages
// would be called for every message the thread sends, and under Wine each such call costs round
// trips to the Wine server (listing a folder of 5,000 pictures took three times as long).
LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) Subclass(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(createHook, code, wParam, lParam);
}

bool SwitchOn() {
    EnumThreadWindows(GetCurrentThreadId(), &SubclassTree, 0);
    createHook = SetWindowsHookExA(WH_CBT, &CreateHook, nullptr, GetCurrentThreadId());
    return true;
}

bool SwitchOff() {
    ReleaseGradientLibrary();
    const bool wasOn = createHook != nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &RemoveTree, 0);
    // Windows the enumeration does not reach (message-only parents, say) are let go as well, so
    // that switching on again never finds a record left over.
    while (SkinRecord* record = FirstSkinRecord()) RemoveSubclass(record, true);
    if (!wasOn) return false;
    const bool removed = UnhookWindowsHookEx(createHook) != FALSE;
    createHook = nullptr;
    return removed;
}

// ---- the replacement window procedure ----

enum Action : uint32_t {
    kUpdateState = 0x1,
    kCallPrevious = 0x2,
    kCallDefault = 0x4,
    kPaint = 0x8,
    kPreviousAfterPaint = 0x10,
    kDefaultAfterPaint = 0x20,
    kFixedResult = 0x40,
};

struct Plan {
    uint32_t actions = kUpdateState | kCallPrevious;
    LRESULT fixed = 0;
};

// Messages after which a control may have drawn itself in its own look: the skin paints over.
bool RedrawnByControl(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_MOUSELEAVE:
        case WM_CAPTURECHANGED:
        case WM_UPDATEUISTATE:
        case WM_SETFONT:
        case WM_STYLECHANGED:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_LBUTTONUP: return true;
        default: return false;
    }
}

Plan PlanFor(SkinRecord& r, UINT message, WPARAM wParam) {
    Plan plan;
    const uint32_t general = kUpdateState | kCallPrevious;
    switch (r.kind) {
        case kPushButton:
        case kCheckBoxKind:
        case kRadioButton:
            switch (message) {
                case WM_PAINT:
                case WM_SETTEXT: plan.actions = kCallDefault | kPaint; break;
                case WM_ERASEBKGND: plan.actions = kCallPrevious; break;
                case BM_SETCHECK:
                    r.state = (r.state & ~(kChecked | kIndeterminate)) | CheckBits(wParam);
                    plan.actions = kCallPrevious | kPaint;
                    break;
                case BM_SETSTATE:
                    Turn(r.state, kPressed, wParam != 0);
                    plan.actions = kCallPrevious | kPaint;
                    break;
                case BM_SETSTYLE:
                    Turn(r.state, kDefaultButton, IsDefaultButtonStyle(wParam));
                    plan.actions = kCallPrevious | kPaint;
                    break;
                default:
                    if (RedrawnByControl(message)) plan.actions = general | kPaint;
                    break;
            }
            break;
        case kEdit:
            switch (message) {
                case WM_PAINT:
                case WM_NCPAINT:
                case WM_HSCROLL:
                case WM_VSCROLL: plan.actions = kCallPrevious | kPaint; break;
                case WM_NCMOUSEMOVE:
                    if (r.state & kHot) break;
                    r.state |= kHot;
                    plan.actions = kCallDefault | kPaint;
                    break;
                case WM_MOUSELEAVE:
                    r.state &= ~kHot;
                    plan.actions = kCallDefault | kPaint;
                    break;
                case WM_ENABLE:
                case WM_SIZE:
                case WM_STYLECHANGED: plan.actions = general | kPaint; break;
                default: break;
            }
            break;
        case kComboBox:
            switch (message) {
                case WM_PAINT:
                case WM_NCPAINT: plan.actions = kCallPrevious | kPaint; break;
                case WM_LBUTTONDOWN:
                    r.state |= kPressed;
                    plan.actions = kCallPrevious | kPaint;
                    break;
                case WM_LBUTTONUP:
                    r.state &= ~kPressed;
                    plan.actions = kCallPrevious | kPaint;
                    break;
                default:
                    if (RedrawnByControl(message) || message == CB_SHOWDROPDOWN) plan.actions = general | kPaint;
                    break;
            }
            break;
        case kUpDown:
            switch (message) {
                case WM_PAINT:
                case WM_NCPAINT: plan.actions = kCallDefault | kPaint; break;
                case WM_ERASEBKGND: plan.actions = kFixedResult, plan.fixed = 1; break;
                case WM_LBUTTONUP:
                    r.state &= ~kPressed;
                    plan.actions = kCallPrevious | kPaint;
                    break;
                default:
                    if (RedrawnByControl(message)) plan.actions = general | kPaint;
                    break;
            }
            break;
        case kGroupBoxKind:
            switch (message) {
                case WM_PAINT:
                case WM_NCPAINT: plan.actions = kCallDefault | kPaint; break;
                case WM_SETTEXT:
                case WM_ENABLE:
                case WM_SETFONT: plan.actions = general | kPaint; break;
                default: break;
            }
            break;
        case kComboList:
            // The list draws its items in WM_PAINT; the skin only puts its frame round them.
            if (message == WM_PAINT || message == WM_NCPAINT) plan.actions = kCallPrevious | kPaint;
            break;
        default: break;
    }
    return plan;
}

// Focus, enabled state and the mouse: true when the look changed.
bool UpdateGeneralState(SkinRecord& r, UINT message, WPARAM wParam, LPARAM lParam) {
    const uint32_t before = r.state;
    switch (message) {
        case WM_SETFOCUS: r.state |= kFocused; break;
        case WM_KILLFOCUS: r.state &= ~kFocused; break;
        case WM_ENABLE: Turn(r.state, kDisabled, wParam == 0); break;
        case WM_STYLECHANGED:
            if (wParam == static_cast<WPARAM>(GWL_STYLE) && lParam) {
                const DWORD style = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
                Turn(r.state, kDisabled, (style & WS_DISABLED) != 0);
                if (IsButtonKind(r.kind)) Turn(r.state, kDefaultButton, IsDefaultButtonStyle(style));
            }
            break;
        case WM_MOUSEMOVE:
            if (!(r.state & kHot)) {
                r.state |= kHot;
                if (!(wParam & MK_LBUTTON)) {
                    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, r.window, 0};
                    TrackMouseEvent(&track);
                }
            }
            if (r.kind == kUpDown) {
                RECT client;
                GetClientRect(r.window, &client);
                const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
                const bool upper = (r.state & kHorizontal) ? x < (client.right / 2) : y < (client.bottom / 2);
                Turn(r.state, kUpperHalfHot, upper);
            }
            break;
        case WM_MOUSELEAVE: r.state &= ~(kHot | kUpperHalfHot); break;
        default: break;
    }
    return r.state != before;
}

LRESULT CALLBACK SkinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinRecord* record = FindSkinRecord(window);
    if (!record) return 0;
    const WNDPROC previous = record->previous;

    if (message == WM_DESTROY) {
        const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        if (SkinRecord* still = FindSkinRecord(window)) RemoveSubclass(still, false);
        return result;
    }
    if (message == WM_LBUTTONDOWN && record->kind == kUpDown) {
        // The control captures the mouse and starts repeating from here: show it pressed first.
        record->state |= kPressed;
        PaintSkinned(*record, currentScheme);
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    if (message == EM_SETREADONLY && record->kind == kEdit) {
        Turn(record->state, kReadOnly, wParam != 0);
        const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        if ((record = FindSkinRecord(window))) PaintSkinned(*record, currentScheme);
        return result;
    }
    if (message == WM_ERASEBKGND) TakeParentColours(*record, reinterpret_cast<HDC>(wParam));

    const Plan plan = PlanFor(*record, message, wParam);
    bool changed = false;
    if (plan.actions & kUpdateState) changed = UpdateGeneralState(*record, message, wParam, lParam);
    LRESULT result = 0;
    if (plan.actions & kCallPrevious) result = CallWindowProcA(previous, window, message, wParam, lParam);
    if (plan.actions & kCallDefault) result = DefWindowProcA(window, message, wParam, lParam);
    // The calls above may have destroyed the window or switched the skin off.
    record = FindSkinRecord(window);
    const bool paint = (plan.actions & kPaint) || (changed && message == WM_MOUSEMOVE);
    if (record && paint) PaintSkinned(*record, currentScheme);
    if (plan.actions & kPreviousAfterPaint) result = CallWindowProcA(previous, window, message, wParam, lParam);
    if (plan.actions & kDefaultAfterPaint) result = DefWindowProcA(window, message, wParam, lParam);
    if (plan.actions & kFixedResult) result = plan.fixed;
    return result;
}

}  // namespace

bool ApplyXPStyle(int32_t scheme) {
    currentScheme = scheme;
    if (scheme >= 1 && scheme <= 3) {
        if (createHook) SwitchOff();
        return SwitchOn();
    }
    return SwitchOff();
}

int32_t CurrentXPScheme() { return currentScheme; }

void ApplyXPStyleCommand(ValueRecord* result, int32_t count, ValueRecord* args) {
    const bool on = ApplyXPStyle(commands::Arguments(count, args).Int(0));
    result->lo = on ? 1 : 0;
    result->hi = 0;
    result->type = kTypeBool;
}

}  // namespace ruvelto::extui

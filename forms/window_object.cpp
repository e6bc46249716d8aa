#include "forms/window_object.h"

#include <unordered_map>

#include "forms/engine_messages.h"

namespace ruvelto::forms {
namespace {

// All windows live on the one user-interface thread, so one plain map serves.
std::unordered_map<HWND, WindowObject*>& Bound() {
    static std::unordered_map<HWND, WindowObject*> bound;
    return bound;
}

WindowObject* creating = nullptr;  // the object whose window CreateEx is making
HHOOK creationHook = nullptr;

}  // namespace

WindowObject::~WindowObject() {
    if (hwnd_) Detach();
}

WindowObject* WindowObject::FromHandle(HWND window) {
    if (!window) return nullptr;
    auto it = Bound().find(window);
    return it == Bound().end() ? nullptr : it->second;
}

WindowObject* WindowObject::FromHandleOrAsk(HWND window) {
    if (!window) return nullptr;
    if (WindowObject* object = FromHandle(window)) return object;
    if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return nullptr;
    return reinterpret_cast<WindowObject*>(SendMessageA(window, kAskObject, 0, 0));
}

void WindowObject::Bind(HWND window) {
    hwnd_ = window;
    Bound()[window] = this;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowObject::Procedure)));
}

void WindowObject::Unbind() {
    if (!hwnd_) return;
    if (previous_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    Bound().erase(hwnd_);
    hwnd_ = nullptr;
    previous_ = nullptr;
}

LRESULT CALLBACK WindowObject::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && creating) {
        WindowObject* object = creating;
        creating = nullptr;  // windows made while this one is created are not its
        object->Bind(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(creationHook, code, wParam, lParam);
}

bool WindowObject::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menuOrId) {
    if (hwnd_) return false;
    WindowObject* outerCreating = creating;
    HHOOK outerHook = creationHook;
    creating = this;
    creationHook = SetWindowsHookExA(WH_CBT, &WindowObject::CreationHook, nullptr, GetCurrentThreadId());
    HWND window = CreateWindowExA(exStyle, className, text ? text : "", style, x, y, width, height, parent, menuOrId,
                                  GetModuleHandleA(nullptr), nullptr);
    if (creationHook) UnhookWindowsHookEx(creationHook);
    creationHook = outerHook;
    creating = outerCreating;
    if (!window) {
        // Creation failed after the hook bound us (WM_NCCREATE or WM_CREATE refused): the window
        // is gone, so is the binding.
        if (hwnd_) Bound().erase(hwnd_), hwnd_ = nullptr, previous_ = nullptr;
        return false;
    }
    if (!hwnd_) Bind(window);  // no hook call reached us: bind now
    return true;
}

bool WindowObject::Attach(HWND window) {
    if (hwnd_ || !window || FromHandle(window)) return false;
    Bind(window);
    return true;
}

HWND WindowObject::Detach() {
    HWND window = hwnd_;
    Unbind();
    return window;
}

LRESULT CALLBACK WindowObject::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* object = FromHandle(window);
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        object->Unbind();
        object->PostNcDestroy();  // may delete the object
    }
    return result;
}

LRESULT WindowObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Reflect(message, wParam, lParam, &result)) return result;
    return Default(message, wParam, lParam);
}

LRESULT WindowObject::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd_) return 0;
    if (!previous_) return DefWindowProcA(hwnd_, message, wParam, lParam);
    return CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
}

bool WindowObject::PreTranslateMessage(MSG*) { return false; }

bool WindowObject::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

HWND NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(lParam);
        case WM_NOTIFY: return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
        }
        case WM_COMPAREITEM: return lParam ? reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        case WM_DELETEITEM: return lParam ? reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        default: (void)wParam; return nullptr;
    }
}

bool WindowObject::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = NotifyingChild(message, wParam, lParam);
    if (!child) return false;
    WindowObject* object = FromHandleOrAsk(child);
    return object && object->OnChildNotify(message, wParam, lParam, result);
}

}  // namespace ruvelto::forms

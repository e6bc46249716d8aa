// FormWindow: creation, styles, the window's messages and events, activation, closing, modality,
// docking and destruction.
#include "forms/form_window.h"

#include <cstring>
#include <string>

#include "forms/engine_messages.h"
#include "forms/events.h"
#include "forms/form_window_look.h"
#include "forms/keyboard_navigation.h"
#include "forms/type_flags.h"
#include "forms/unit_cursor.h"
#include "forms/unit_record.h"
#include "forms/unit_types.h"
#include "forms/units.h"
#include "forms/window_menu.h"
#include "forms/window_unit.h"
#include "runtime/runtime_state.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

constexpr char kDefaultClassName[] = "RuveltoForm";
constexpr UINT kTrayIconId = 100;
constexpr DWORD kCaptionStyles = WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;

bool RegisterFormClass(const char* name) {
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &existing)) return true;
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

bool Resizable(uint32_t borderStyle) { return borderStyle == 1 || borderStyle == 3 || borderStyle == 5; }

// The frame and caption styles the properties ask for.
void FrameStyles(const WindowProperties& p, DWORD& style, DWORD& exStyle) {
    style = 0;
    exStyle = 0;
    if (p.borderStyle != 0) {
        style |= WS_DLGFRAME;
        if (!p.caption.empty() || p.controlBox) style |= WS_CAPTION | (p.controlBox ? WS_SYSMENU : 0);
        if (Resizable(p.borderStyle)) style |= WS_THICKFRAME;
        if (p.borderStyle == 3 || p.borderStyle == 4) exStyle |= WS_EX_TOOLWINDOW;
        if (p.borderStyle == 5 || p.borderStyle == 6) exStyle |= WS_EX_CLIENTEDGE;
    }
    if (p.maxButton) style |= WS_MAXIMIZEBOX;
    if (p.minButton) style |= WS_MINIMIZEBOX;
}

bool ProgramKindSet() { return runtime::State().programKind != 0; }

}  // namespace

WindowUnit* FormWindow::Unit() const { return WindowUnits().Find(windowId_); }

FormWindow* LiveWindowOf(WindowUnit& unit) {
    auto record = ComponentRecordAt(unit, 0);
    if (!record || !record->LiveObject()) return nullptr;
    auto* window = static_cast<FormWindow*>(reinterpret_cast<WindowObject*>(static_cast<uintptr_t>(record->LiveObject())));
    return window->Handle() && IsWindow(window->Handle()) ? window : nullptr;
}

bool FormWindow::RaiseWindowEvent(int32_t event, std::initializer_list<uint32_t> arguments, uint32_t* returned,
                                  uint32_t* value) {
    EventRecord record;
    bool delivered = RaiseEvent(windowId_, 0, event, arguments, &record);
    if (returned) *returned = record.returned;
    if (value) *value = record.returnValue;
    return delivered;
}

bool FormWindow::Create(uint32_t style, HWND parent, HMENU menu, int32_t x, int32_t y, int32_t width, int32_t height,
                        bool modal) {
    const WindowProperties& p = properties_;
    const char* className = p.className.empty() ? kDefaultClassName : p.className.c_str();
    if (!RegisterFormClass(className)) return false;

    DWORD frame, exStyle;
    FrameStyles(p, frame, exStyle);
    style |= WS_CLIPCHILDREN | frame;
    if (p.position == 1) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    } else if (p.position == 2) {
        style |= WS_MINIMIZE;
    } else if (p.position == 3 && Resizable(p.borderStyle)) {
        style |= WS_MAXIMIZE;
    }

    HWND owner = parent;
    hasParent_ = parent != nullptr;
    if (parent) {
        style |= WS_POPUP;
    } else if ((modal || !p.showInTaskbar) && ProgramKindSet()) {
        // An owned window stays off the taskbar; the runtime's hidden window owns it.
        owner = static_cast<HWND>(runtime::State().hiddenWindow);
    }
    if (!CreateEx(exStyle, className, p.caption.c_str(), style, x, y, width, height, owner, menu)) return false;

    CorrectCaptionStyles();
    RECT r;
    GetWindowRect(Handle(), &r);
    if (!(style & (WS_MINIMIZE | WS_MAXIMIZE)) && (r.right - r.left != width || r.bottom - r.top != height))
        MoveWindow(Handle(), x, y, width, height, FALSE);
    menu_ = menu;
    ApplyIcons();
    ApplyShape();
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (p.alwaysOnTop) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!p.movable) ApplySystemMenu();
    StartSound();
    return true;
}

void FormWindow::CorrectCaptionStyles() {
    DWORD frame, exStyle;
    FrameStyles(properties_, frame, exStyle);
    DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    DWORD corrected = (style & ~kCaptionStyles) | (frame & kCaptionStyles);
    if (corrected != style) {
        SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(corrected));
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::ApplyFrameStyles() {
    DWORD frame, exFrame;
    FrameStyles(properties_, frame, exFrame);
    DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
    style = (style & ~(WS_DLGFRAME | WS_THICKFRAME | WS_BORDER)) | (frame & (WS_DLGFRAME | WS_THICKFRAME | WS_BORDER));
    exStyle = (exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE)) | exFrame;
    SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongA(Handle(), GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CorrectCaptionStyles();
}

void FormWindow::ApplyIcons() {
    HICON bigMade = nullptr, smallMade = nullptr;
    if (!properties_.icon.empty()) {
        bigMade = IconFromIconFile(properties_.icon, 32);
        smallMade = IconFromIconFile(properties_.icon, 16);
    }
    HICON oldBig = bigIcon_, oldSmall = smallIcon_;
    bigIcon_ = bigMade, smallIcon_ = smallMade;
    HICON programIcons[2] = {};
    if (!bigMade || !smallMade) {
        // The program's own icon where the data gives none.
        programIcons[0] = LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON");
        programIcons[1] = programIcons[0];
    }
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigMade ? bigMade : programIcons[0]));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallMade ? smallMade : programIcons[1]));
    if (oldBig) DestroyIcon(oldBig);
    if (oldSmall) DestroyIcon(oldSmall);
}

void FormWindow::ApplyShape() {
    RECT r;
    GetWindowRect(Handle(), &r);
    HRGN region = MakeWindowShape(properties_.shape, r.right - r.left, r.bottom - r.top);
    SetWindowRgn(Handle(), region, TRUE);  // the system owns the region from here; null removes it
}

void FormWindow::ApplySystemMenu() {
    if (properties_.movable) {
        GetSystemMenu(Handle(), TRUE);  // restores the standard menu
    } else if (HMENU system = GetSystemMenu(Handle(), FALSE)) {
        DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
    }
}

void FormWindow::ApplyPosition() {
    HWND w = Handle();
    if (!IsWindowVisible(w)) return;
    switch (properties_.position) {
        case 0: ShowWindow(w, SW_SHOWNORMAL); break;
        case 1: {
            if (IsIconic(w) || IsZoomed(w)) ShowWindow(w, SW_RESTORE);
            RECT r;
            GetWindowRect(w, &r);
            int width = r.right - r.left, height = r.bottom - r.top;
            SetWindowPos(w, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            break;
        }
        case 2: ShowWindow(w, SW_MINIMIZE); break;
        case 3: ShowOnLoad(); break;
        default: break;
    }
}

void FormWindow::ShowOnLoad() {
    HWND w = Handle();
    uint32_t position = ProgramKindSet() ? properties_.position : 0;
    if (position == 3) {
        if (Resizable(properties_.borderStyle)) {
            ShowWindow(w, SW_SHOWMAXIMIZED);
        } else {
            MoveWindow(w, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), TRUE);
            ShowWindow(w, SW_SHOW);
        }
    } else if (position == 2) {
        ShowWindow(w, SW_SHOWMINIMIZED);
    } else {
        ShowWindow(w, SW_SHOW);
    }
    if (!IsWindow(w)) return;
    // Focus events were suppressed while loading: the unit holding the focus hears of it now.
    HWND focus = GetFocus();
    if (focus == w) {
        RaiseWindowEvent(kGotFocus);
    } else if (focus && IsChild(w, focus)) {
        uint32_t unitId = 0;
        if (UnitOfWindow(*Unit(), focus, &unitId) >= 0) RaiseEvent(windowId_, unitId, kGotFocus);
    }
}

void FormWindow::SetAccelerators(HACCEL accelerators) {
    if (accelerators_ && accelerators_ != accelerators) DestroyAcceleratorTable(accelerators_);
    accelerators_ = accelerators;
}

void FormWindow::RebuildMenu() {
    WindowUnit* unit = Unit();
    if (!unit) return;
    WindowMenu built = BuildWindowMenu(*unit);
    HMENU old = GetMenu(Handle());
    SetMenu(Handle(), built.menu);
    if (old) DestroyMenu(old);
    menu_ = built.menu;
    SetAccelerators(built.accelerators);
    DrawMenuBar(Handle());
}

void FormWindow::LayoutDocking() {
    WindowUnit* unit = Unit();
    if (!unit) return;
    RECT client;
    GetClientRect(Handle(), &client);
    std::vector<HWND> docked;
    for (uint32_t i = 1; i < unit->recordCount; ++i) {
        auto record = ComponentRecordAt(*unit, i);
        if (!record || !record->LiveObject() || !(TypeFlagsOf(record->TypeCode()) & kFlagDocking)) continue;
        HWND w = reinterpret_cast<WindowObject*>(static_cast<uintptr_t>(record->LiveObject()))->Handle();
        if (!w) continue;
        SendMessageA(w, kDockToClient, 0, 0);
        docked.push_back(w);
    }
    int top = client.top, bottom = client.bottom;
    for (auto it = docked.rbegin(); it != docked.rend(); ++it) {  // the last found is placed first
        DWORD side = static_cast<DWORD>(GetWindowLongA(*it, GWL_STYLE)) & 3;
        RECT r;
        GetWindowRect(*it, &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        int height = r.bottom - r.top;
        if (side == 1) {
            SetWindowPos(*it, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            top += height;
        } else if (side == 3) {
            bottom -= height;
            SetWindowPos(*it, nullptr, r.left, bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void FormWindow::SetTrayIcon(HICON icon, const char* tip) {
    NOTIFYICONDATAA data{};
    data.cbSize = 88;  // the original layout: window, id, flags, callback, icon and a 64-byte tip
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayNotify;
    data.hIcon = icon;
    if (tip) lstrcpynA(data.szTip, tip, 63);
    if (!icon) {
        if (trayShown_) Shell_NotifyIconA(NIM_DELETE, &data);
        trayShown_ = false;
    } else {
        trayShown_ = Shell_NotifyIconA(trayShown_ ? NIM_MODIFY : NIM_ADD, &data) || trayShown_;
    }
    if (trayIcon_ && trayIcon_ != icon) DestroyIcon(trayIcon_);
    trayIcon_ = icon;
}

void FormWindow::BecomeModal() {
    modal_ = true;
    for (auto& unit : WindowUnits().units) {
        FormWindow* other = LiveWindowOf(*unit);
        if (!other || other == this || other->HasParent()) continue;
        HWND w = other->Handle();
        disabledWindows_.push_back({w, IsWindowEnabled(w) != FALSE});
        EnableWindow(w, FALSE);
    }
}

void FormWindow::UndoModalDisabling() {
    auto disabled = std::move(disabledWindows_);
    disabledWindows_.clear();
    for (auto& [w, wasEnabled] : disabled)
        if (IsWindow(w)) EnableWindow(w, wasEnabled);
}

void FormWindow::OnMenuCommand(uint32_t id) {
    WindowUnit* unit = Unit();
    if (!unit) return;
    int32_t index = MenuRecordOfCommand(*unit, id);
    if (index >= 0) RaiseEvent(windowId_, unit->Table().IdAt(static_cast<uint32_t>(index)), 0);
}

void FormWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    HWND self = Handle();
    if (LOWORD(wParam) != WA_INACTIVE) {
        if (activatedBefore_ && !IsWindowEnabled(self) && !(GetWindowLongA(self, GWL_STYLE) & WS_CHILD) && ProgramKindSet()) {
            // A window disabled by a modal one hands the activation to that modal window.
            for (auto& unit : WindowUnits().units) {
                FormWindow* other = LiveWindowOf(*unit);
                if (!other || !other->IsModal() || other->HasParent()) continue;
                HWND m = other->Handle();
                if (IsWindowVisible(m) && IsWindowEnabled(m)) {
                    SetForegroundWindow(m);
                    SetActiveWindow(m);
                    return;
                }
            }
        }
        Default(WM_ACTIVATE, wParam, lParam);
        UpdateWindow(self);
        inActivateEvent_ = true;
        if (!activatedBefore_) {
            activatedBefore_ = true;
            RaiseWindowEvent(kWindowFirstActivated);
            if (!IsWindow(self)) return;
        }
        RaiseWindowEvent(kWindowActivated);
        if (IsWindow(self)) inActivateEvent_ = false;
    } else {
        HWND focus = GetFocus();
        if (focus && IsChild(self, focus)) focusMemory_ = focus;
        Default(WM_ACTIVATE, wParam, lParam);
        inActivateEvent_ = true;
        RaiseWindowEvent(kWindowDeactivated);
        if (IsWindow(self)) inActivateEvent_ = false;
    }
}

void FormWindow::OnSetFocus() {
    HWND self = Handle();
    RaiseWindowEvent(kGotFocus);
    if (!IsWindow(self) || GetFocus() != self) return;
    if (focusMemory_ && IsWindow(focusMemory_) && IsChild(self, focusMemory_)) {
        SetFocus(focusMemory_);
        return;
    }
    if (HWND first = FirstTabUnit(*this)) SetFocus(first);
}

bool FormWindow::OnSetCursor(HWND over, UINT hitTest) {
    WindowUnit* unit = Unit();
    if (!unit) return false;
    uint32_t cursor = 0;
    if (over == Handle()) {
        if (hitTest != HTCLIENT) return false;
        if (auto record = ComponentRecordAt(*unit, 0)) cursor = record->CursorHandle();
    } else {
        int32_t index = UnitOfWindow(*unit, over, nullptr);
        if (index < 0) return false;
        if (auto record = ComponentRecordAt(*unit, static_cast<uint32_t>(index))) cursor = record->CursorHandle();
    }
    if (!cursor) return false;
    SetCursor(WordHandle<HCURSOR>(cursor));
    return true;
}

void FormWindow::ReleasePicture() {
    components::ReleasePicture(picture_);
    picture_ = nullptr;
    pictureDecoded_ = false;
}

void FormWindow::Redraw() {
    InvalidateRect(Handle(), nullptr, TRUE);
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
            InvalidateRect(child, nullptr, TRUE);
}

void FormWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (!pictureDecoded_) {
        pictureDecoded_ = true;
        const auto& bytes = properties_.picture;
        picture_ = bytes.empty() ? nullptr : components::DecodePicture(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    RECT client;
    GetClientRect(Handle(), &client);
    components::PictureDrawable drawable;
    const bool drawn = picture_ && components::MakeDrawable(dc, *picture_, &drawable);
    PaintBackground(dc, client, ps.rcPaint, drawn ? &drawable : nullptr, properties_.pictureMode, properties_.backColor);
    if (drawn) components::DeleteDrawable(&drawable);
    EndPaint(Handle(), &ps);
}

void FormWindow::StartSound() {
    if (properties_.soundMode <= 1) PlayBackgroundSound(properties_.sound, properties_.soundMode == 0);
}

void FormWindow::StopSound() { StopBackgroundSound(); }

LRESULT FormWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = Handle();
    switch (message) {
        case WM_ERASEBKGND: return 1;  // WM_PAINT draws the whole background
        case WM_PAINT: Paint(); return 0;
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) <= 1) {
                uint32_t id = LOWORD(wParam);
                WindowUnit* unit = Unit();
                if (unit && id >= kFirstMenuCommand && MenuRecordOfCommand(*unit, id) >= 0) {
                    OnMenuCommand(id);
                    return 0;
                }
                if (id >= 57600) return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
            break;
        case WM_CLOSE: {
            uint32_t returned = 0, value = 0;
            RaiseWindowEvent(kWindowClosing, {}, &returned, &value);
            if (!IsWindow(self)) return 0;
            if (returned && value == 0) return 0;  // the handler refused
            UndoModalDisabling();
            DestroyWindow(self);
            return 0;
        }
        case WM_QUERYENDSESSION: {
            if (!Default(message, wParam, lParam)) return FALSE;
            uint32_t returned = 0, value = 0;
            RaiseWindowEvent(kWindowClosing, {}, &returned, &value);
            return returned && value == 0 ? FALSE : TRUE;
        }
        case kDestroyNow:
            pendingDestroy_ = false;
            UndoModalDisabling();
            DestroyWindow(self);
            return 0;
        case WM_ACTIVATE:
            if (inActivateEvent_) break;
            OnActivate(wParam, lParam);
            return 0;
        case WM_NCACTIVATE:
            if (properties_.keepActiveCaption && !wParam)
                return Default(message, IsWindowEnabled(self) ? TRUE : FALSE, lParam);
            break;
        case WM_SETFOCUS: {
            LRESULT result = Default(message, wParam, lParam);
            OnSetFocus();
            return result;
        }
        case WM_KILLFOCUS: {
            LRESULT result = Default(message, wParam, lParam);
            RaiseWindowEvent(kLostFocus);
            return result;
        }
        case WM_SIZE: {
            LRESULT result = Default(message, wParam, lParam);
            if (properties_.shape) ApplyShape();
            LayoutDocking();
            RaiseWindowEvent(kWindowResized);
            return result;
        }
        case WM_MOVE: {
            LRESULT result = Default(message, wParam, lParam);
            RaiseWindowEvent(kWindowMoved);
            return result;
        }
        case WM_SHOWWINDOW: {
            LRESULT result = Default(message, wParam, lParam);
            RaiseWindowEvent(wParam ? kWindowShown : kWindowHidden);
            return result;
        }
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
            break;
        case kLayoutDocking: LayoutDocking(); return 0;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
        case kTrayNotify: {
            if (wParam != kTrayIconId) return 0;
            uint32_t what = lParam == WM_LBUTTONUP ? 1 : lParam == WM_LBUTTONDBLCLK ? 2
                            : (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ? 3 : 0;
            if (what) RaiseWindowEvent(kWindowTrayIcon, {what});
            return 0;
        }
        case WM_DESTROY: {
            // Whatever path destroys a modal window, the windows it disabled come back.
            UndoModalDisabling();
            RaiseWindowEvent(kWindowDestroyed);
            if (!IsWindow(self)) return 0;
            if (helpUsed_) WinHelpA(self, nullptr, HELP_QUIT, 0);
            if (HMENU menu = GetMenu(self)) {
                SetMenu(self, nullptr);
                DestroyMenu(menu);
            }
            menu_ = nullptr;
            SetTrayIcon(nullptr, nullptr);
            StopSound();
            break;
        }
        default: break;
    }
    return WindowObject::WindowProc(message, wParam, lParam);
}

void FormWindow::PostNcDestroy() {
    SetAccelerators(nullptr);
    ReleasePicture();
    if (bigIcon_) DestroyIcon(bigIcon_), bigIcon_ = nullptr;
    if (smallIcon_) DestroyIcon(smallIcon_), smallIcon_ = nullptr;
    if (WindowUnit* unit = Unit()) {
        for (uint32_t i = 0; i < unit->recordCount; ++i) {
            auto record = ComponentRecordAt(*unit, i);
            if (!record || !record->CursorHandle()) continue;
            DestroyCursor(WordHandle<HCURSOR>(record->CursorHandle()));
            record->SetCursorHandle(0);
        }
    }
    ReportUnitUnloaded(windowId_, unitId_);
    delete this;
    if (runtime::State().mainLoopEntered && LoadedWindowCount() == 0) PostQuitMessage(0);
}

}  // namespace ruvelto::forms

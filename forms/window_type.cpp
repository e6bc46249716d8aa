// The window type's interface: create, set and get properties, all property data and icon data.
#include <cstring>

#include "forms/form_window.h"
#include "forms/form_window_look.h"
#include "forms/window_unit.h"

namespace ruvelto::forms {
namespace {

// The window being created is modal: creation decides its owner by it.
bool creatingModal = false;

std::string Text(const PropertyData& v) {
    const char* text = reinterpret_cast<const char*>(v.value);
    return text ? text : "";
}

std::vector<uint8_t> Bytes(const PropertyData& v) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(v.value);
    return bytes && v.length ? std::vector<uint8_t>(bytes, bytes + v.length) : std::vector<uint8_t>{};
}

HGLOBAL ToGlobal(const std::vector<uint8_t>& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (memory && !bytes.empty()) {
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
    }
    return memory;
}

FormWindow* Window(void* object) { return static_cast<FormWindow*>(static_cast<WindowObject*>(object)); }

void* CreateEntry(const uint8_t* blob, uint32_t blobLength, uint32_t style, HWND parent, uint32_t, HMENU menu,
                  int32_t x, int32_t y, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId, HWND,
                  uint32_t) {
    auto* window = new FormWindow(windowId, unitId);
    if (!window->MutableProperties().Load(blob, blobLength) ||
        !window->Create(style, parent, menu, x, y, width, height, creatingModal)) {
        delete window;
        return nullptr;
    }
    return static_cast<WindowObject*>(window);
}

uint32_t SetEntry(void* object, HWND, int32_t index, PropertyData value, char**) {
    return object ? Window(object)->SetProperty(index, value) : 0;
}

uint32_t GetEntry(void* object, HWND, int32_t index, PropertyData* value) {
    return object && value && Window(object)->GetProperty(index, value) ? 1 : 0;
}

HGLOBAL GetAllEntry(void* object) { return object ? ToGlobal(Window(object)->Properties().Save()) : nullptr; }

HGLOBAL GetIconEntry(void* object) {
    if (!object || Window(object)->Properties().icon.empty()) return nullptr;
    return ToGlobal(Window(object)->Properties().icon);
}

}  // namespace

void SetCreatingModal(bool modal) { creatingModal = modal; }

void* WindowTypeInterface(int32_t code) {
    switch (code) {
        case kCreateUnit: return reinterpret_cast<void*>(&CreateEntry);
        case kSetProperty: return reinterpret_cast<void*>(&SetEntry);
        case kGetAllPropertyData: return reinterpret_cast<void*>(&GetAllEntry);
        case kGetProperty: return reinterpret_cast<void*>(&GetEntry);
        case kGetIconData: return reinterpret_cast<void*>(&GetIconEntry);
        default: return nullptr;
    }
}

uint32_t FormWindow::SetProperty(int32_t index, const PropertyData& v) {
    WindowProperties& p = properties_;
    HWND w = Handle();
    const uint32_t n = static_cast<uint32_t>(v.value);
    switch (index + 8) {
        case kCaption:
            p.caption = Text(v);
            SetWindowTextA(w, p.caption.c_str());
            CorrectCaptionStyles();
            break;
        case kBorderStyle:
            p.borderStyle = n > 6 ? 6 : n;
            ApplyFrameStyles();
            break;
        case kBackColor: p.backColor = n; Redraw(); break;
        case kPicture:
            p.picture = Bytes(v);
            ReleasePicture();
            Redraw();
            break;
        case kPictureMode: p.pictureMode = n > 3 ? 3 : n; Redraw(); break;
        case kSound:
        case kSoundMode:
            StopSound();
            if (index + 8 == kSound) p.sound = Bytes(v);
            else p.soundMode = n > 2 ? 2 : n;
            StartSound();
            break;
        case kControlBox: p.controlBox = n != 0; CorrectCaptionStyles(); break;
        case kMaxButton: p.maxButton = n != 0; CorrectCaptionStyles(); break;
        case kMinButton: p.minButton = n != 0; CorrectCaptionStyles(); break;
        case kPosition: p.position = n > 3 ? 3 : n; ApplyPosition(); break;
        case kMovable: p.movable = n != 0; ApplySystemMenu(); break;
        case kIcon: p.icon = Bytes(v); ApplyIcons(); break;
        case kEnterMovesFocus: p.enterMovesFocus = n != 0; break;
        case kEscCloses: p.escCloses = n != 0; break;
        case kF1Help: p.f1Help = n != 0; break;
        case kHelpFile: p.helpFile = Text(v); break;
        case kHelpContext: p.helpContext = n; break;
        case kShowInTaskbar: p.showInTaskbar = n != 0; break;
        case kDragByClient: p.dragByClient = n != 0; break;
        case kShape: p.shape = n > 29 ? 29 : n; ApplyShape(); break;
        case kAlwaysOnTop:
            p.alwaysOnTop = n != 0;
            SetWindowPos(w, p.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (!p.alwaysOnTop) {
                // Windows kept off the taskbar that are always on top come back on top.
                for (auto& unit : WindowUnits().units) {
                    FormWindow* other = LiveWindowOf(*unit);
                    if (other && other != this && other->properties_.alwaysOnTop && !other->properties_.showInTaskbar)
                        SetWindowPos(other->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                }
            }
            break;
        case kKeepActiveCaption: p.keepActiveCaption = n != 0; break;
        case kClassName: p.className = Text(v); break;
        default: break;
    }
    return 0;
}

bool FormWindow::GetProperty(int32_t index, PropertyData* v) {
    const WindowProperties& p = properties_;
    auto text = [v](const std::string& s) { *v = {reinterpret_cast<uintptr_t>(s.c_str()), 0}; };
    auto bytes = [v](const std::vector<uint8_t>& b) {
        *v = {reinterpret_cast<uintptr_t>(b.data()), static_cast<uint32_t>(b.size())};
    };
    auto number = [v](uint32_t n) { *v = {n, 0}; };
    switch (index + 8) {
        case kCaption: text(p.caption); break;
        case kBorderStyle: number(p.borderStyle); break;
        case kBackColor: number(p.backColor); break;
        case kPicture: bytes(p.picture); break;
        case kPictureMode: number(p.pictureMode); break;
        case kSound: bytes(p.sound); break;
        case kSoundMode: number(p.soundMode); break;
        case kControlBox: number(p.controlBox); break;
        case kMaxButton: number(p.maxButton); break;
        case kMinButton: number(p.minButton); break;
        case kPosition: number(IsIconic(Handle()) ? 2 : IsZoomed(Handle()) ? 3 : 0); break;
        case kMovable: number(p.movable); break;
        case kIcon: bytes(p.icon); break;
        case kEnterMovesFocus: number(p.enterMovesFocus); break;
        case kEscCloses: number(p.escCloses); break;
        case kF1Help: number(p.f1Help); break;
        case kHelpFile: text(p.helpFile); break;
        case kHelpContext: number(p.helpContext); break;
        case kShowInTaskbar: number(p.showInTaskbar); break;
        case kDragByClient: number(p.dragByClient); break;
        case kShape: number(p.shape); break;
        case kAlwaysOnTop: number(p.alwaysOnTop); break;
        case kKeepActiveCaption: number(p.keepActiveCaption); break;
        case kClassName: text(p.className); break;
        default: return false;
    }
    return true;
}

}  // namespace ruvelto::forms

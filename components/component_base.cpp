#include "components/component_base.h"

#include <cstring>

#include "forms/engine_messages.h"
#include "forms/events.h"
#include "forms/units.h"

namespace ruvelto::components {

void BorderStyles(uint32_t border, DWORD& exStyle, DWORD& style) {
    exStyle &= ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
    style &= ~WS_BORDER;
    switch (border) {
        case 1: exStyle |= WS_EX_CLIENTEDGE; break;
        case 2: exStyle |= WS_EX_DLGMODALFRAME; break;
        case 3: exStyle |= WS_EX_STATICEDGE; break;
        case 4: exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
        case 5: style |= WS_BORDER; break;
        default: break;
    }
}

std::string TextOf(const forms::PropertyData& v) {
    const char* text = reinterpret_cast<const char*>(v.value);
    return text ? std::string(text) : std::string();
}

std::vector<uint8_t> BytesOf(const forms::PropertyData& v) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(v.value);
    if (!bytes || v.length == 0) return {};
    return std::vector<uint8_t>(bytes, bytes + v.length);
}

void* ComponentBase::Create(ComponentBase* object, const CreateArguments& arguments) {
    if (!object) return nullptr;
    if (arguments.blob && arguments.blobLength > 0) {
        PropertyBlobReader blob(arguments.blob, arguments.blobLength);
        if (!object->LoadProperties(blob)) {
            delete object;
            return nullptr;
        }
    }
    object->windowId_ = arguments.windowId;
    object->unitId_ = arguments.unitId;
    DWORD style = arguments.style | WS_CHILD | WS_CLIPSIBLINGS;
    if (!object->CreateControl(arguments, style) || !object->Handle()) {
        // A window that was made and then refused is gone; the object never reported anything.
        if (object->Handle()) {
            object->unitId_ = 0;
            DestroyWindow(object->Handle());
        } else {
            delete object;
        }
        return nullptr;
    }
    object->ApplyProperties();
    return LiveObjectOf(object);
}

bool ComponentBase::CreateChild(DWORD exStyle, const char* className, const char* text, DWORD style,
                                const CreateArguments& arguments) {
    return CreateEx(exStyle, className, text, style, arguments.x, arguments.y, arguments.width, arguments.height,
                    arguments.parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(arguments.controlId)));
}

bool ComponentBase::RaiseEvent(int32_t event, std::initializer_list<uint32_t> arguments,
                               forms::EventRecord* result) const {
    return forms::RaiseEvent(windowId_, unitId_, event, arguments, result);
}

HGLOBAL ComponentBase::SavePropertiesToGlobal() const {
    PropertyBlobWriter blob;
    SaveProperties(blob);
    const auto& data = blob.Data();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, data.empty() ? 1 : data.size());
    if (!memory) return nullptr;
    if (!data.empty()) {
        std::memcpy(GlobalLock(memory), data.data(), data.size());
        GlobalUnlock(memory);
    }
    return memory;
}

bool ComponentBase::PaintsItself(UINT message, LRESULT* result) {
    if (message == WM_ERASEBKGND) {
        *result = 1;
        return true;
    }
    if (message != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    Paint(dc, ps.rcPaint);
    EndPaint(Handle(), &ps);
    *result = 0;
    return true;
}

LRESULT ComponentBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case forms::kAskObject: return reinterpret_cast<LRESULT>(LiveObjectOf(this));
        case forms::kUnitsExist: OnUnitsExist(); return 0;
        case forms::kLoadFinished: OnLoadFinished(); return 0;
        case WM_SETFOCUS: {
            LRESULT result = forms::WindowObject::WindowProc(message, wParam, lParam);
            RaiseEvent(forms::kGotFocus);
            return result;
        }
        case WM_KILLFOCUS: {
            LRESULT result = forms::WindowObject::WindowProc(message, wParam, lParam);
            RaiseEvent(forms::kLostFocus);
            return result;
        }
        case WM_DESTROY: ReleaseResources(); break;
        default: break;
    }
    return forms::WindowObject::WindowProc(message, wParam, lParam);
}

void ComponentBase::ReleaseResources() {
    if (font_) DeleteObject(font_), font_ = nullptr;
    if (brush_) DeleteObject(brush_), brush_ = nullptr;
}

void ComponentBase::PostNcDestroy() {
    if (unitId_) forms::ReportUnitUnloaded(windowId_, unitId_);
    delete this;
}

void ComponentBase::ApplyFont(const std::vector<uint8_t>& logFont) {
    bool stock = true;
    HFONT font = MakeControlFont(logFont, &stock);
    HFONT old = font_;
    font_ = stock ? nullptr : font;
    if (Handle()) SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (old) DeleteObject(old);
}

HFONT ComponentBase::Font() const {
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void ComponentBase::ApplyBorder(uint32_t border) {
    if (!Handle()) return;
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
    DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    BorderStyles(border, exStyle, style);
    SetWindowLongA(Handle(), GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(style));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH ComponentBase::BackgroundBrush(uint32_t color) {
    // The system colour may change between calls, so the brush is made for the resolved colour.
    COLORREF resolved = ResolveColor(color);
    if (brush_ && brushColor_ == resolved) return brush_;
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(resolved);
    brushColor_ = resolved;
    return brush_;
}

LRESULT ComponentBase::ControlColors(WPARAM dc, uint32_t textColor, uint32_t backColor) {
    SetTextColor(reinterpret_cast<HDC>(dc), ResolveColor(textColor));
    SetBkColor(reinterpret_cast<HDC>(dc), ResolveColor(backColor));
    return reinterpret_cast<LRESULT>(BackgroundBrush(backColor));
}

namespace {

ComponentBase* Component(void* object) { return object ? ComponentOf(object) : nullptr; }

uint32_t SetPropertyEntry(void* object, HWND, int32_t index, forms::PropertyData value, char**) {
    ComponentBase* c = Component(object);
    return c ? c->SetProperty(index, value) : 0;
}

HGLOBAL GetAllPropertyDataEntry(void* object) {
    ComponentBase* c = Component(object);
    return c ? c->SavePropertiesToGlobal() : nullptr;
}

uint32_t GetPropertyEntry(void* object, HWND, int32_t index, forms::PropertyData* value) {
    ComponentBase* c = Component(object);
    return c && value && c->GetProperty(index, value) ? 1 : 0;
}

uint32_t WantsKeyEntry(void* object, uint32_t key) {
    ComponentBase* c = Component(object);
    return c && c->WantsKey(key) ? 1 : 0;
}

uint32_t IsDefaultButtonEntry(void* object) {
    ComponentBase* c = Component(object);
    return c && c->IsDefaultButton() ? 1 : 0;
}

}  // namespace

void* ComponentServices(int32_t code) {
    switch (code) {
        case forms::kSetProperty: return reinterpret_cast<void*>(&SetPropertyEntry);
        case forms::kGetAllPropertyData: return reinterpret_cast<void*>(&GetAllPropertyDataEntry);
        case forms::kGetProperty: return reinterpret_cast<void*>(&GetPropertyEntry);
        case forms::kWantsKey: return reinterpret_cast<void*>(&WantsKeyEntry);
        case forms::kIsDefaultButton: return reinterpret_cast<void*>(&IsDefaultButtonEntry);
        default: return nullptr;
    }
}

}  // namespace ruvelto::components

// The frame every window component type shares: the live object bound to the component's
// Win32 window, remembering its window and unit ids; the property object loaded from and saved to
// the property blob; focus events; colour, font and border conventions; reflected child
// notifications; the load notifications; and unload reporting when the window goes.
//
// A type derives from ComponentBase, implements the property object (LoadProperties,
// SaveProperties, ResetProperties in its constructor), creates its window in CreateControl and
// answers SetProperty/GetProperty by its own index (property index minus 8). Its type interface
// returns &CreateUnitEntry<Type> for code 1 and ComponentServices(code) for the rest.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "forms/property_blob.h"
#include "forms/event_record.h"
#include "forms/gdi_values.h"
#include "forms/type_interface.h"
#include "forms/window_object.h"

namespace ruvelto::components {

using forms::PropertyBlobReader;
using forms::PropertyBlobWriter;

// What the create service receives, gathered.
struct CreateArguments {
    const uint8_t* blob = nullptr;
    uint32_t blobLength = 0;
    uint32_t style = 0;  // carries WS_DISABLED and WS_TABSTOP from the record
    HWND parent = nullptr;
    uint32_t controlId = 0;
    int32_t x = 0, y = 0, width = 0, height = 0;
    uint32_t windowId = 0;
    uint32_t unitId = 0;
};

using forms::kLogFontSize;
using forms::kSystemButtonFace;
using forms::MakeControlFont;
using forms::ResolveColor;

class ComponentBase : public forms::WindowObject {
public:
    uint32_t WindowId() const { return windowId_; }
    uint32_t UnitId() const { return unitId_; }

    // The property object. LoadProperties reads a non-empty blob (the object holds its defaults
    // before it is called) and fails on a version above the type's highest or truncated data.
    virtual bool LoadProperties(PropertyBlobReader& blob) = 0;
    virtual void SaveProperties(PropertyBlobWriter& blob) const = 0;

    // Creates the Win32 window at the arguments' rectangle, parent and control id; `style` is the
    // given style plus WS_CHILD and WS_CLIPSIBLINGS. Usually one CreateChild call.
    virtual bool CreateControl(const CreateArguments& arguments, DWORD style) = 0;
    // Applies font, colours, border and the remaining properties once the window exists.
    virtual void ApplyProperties() {}

    // Type interface services by the type's own property index (property index minus 8).
    // SetProperty answers 1 when the unit must be re-created to show the new value.
    virtual uint32_t SetProperty(int32_t index, const forms::PropertyData& value) { (void)index, (void)value; return 0; }
    virtual bool GetProperty(int32_t index, forms::PropertyData* value) { (void)index, (void)value; return false; }
    virtual bool WantsKey(uint32_t key) { (void)key; return false; }
    virtual bool IsDefaultButton() { return false; }

    // Raises one of this unit's events; true when a handler ran (*result then holds its answer).
    bool RaiseEvent(int32_t event, std::initializer_list<uint32_t> arguments = {},
                    forms::EventRecord* result = nullptr) const;

    // The blob of the current properties in a new movable global memory block (exact length).
    HGLOBAL SavePropertiesToGlobal() const;

    // Loads the blob (defaults when it is empty), remembers the ids and creates the window.
    // Deletes the object and returns null on failure.
    static void* Create(ComponentBase* object, const CreateArguments& arguments);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Reports the unit unloaded and deletes the object.
    void PostNcDestroy() override;
    // On WM_DESTROY: release pictures and other objects of the type. The base releases the font
    // and brush it made.
    virtual void ReleaseResources();
    // Called for 0x806F (the units of the window exist) and 0x8076 (the window finished loading).
    virtual void OnUnitsExist() {}
    virtual void OnLoadFinished() {}

    bool CreateChild(DWORD exStyle, const char* className, const char* text, DWORD style,
                     const CreateArguments& arguments);

    // Font property bytes: a 60-byte LOGFONT, applied with DEFAULT_CHARSET, default precisions,
    // PROOF_QUALITY and default pitch; anything else applies DEFAULT_GUI_FONT.
    void ApplyFont(const std::vector<uint8_t>& logFont);
    HFONT Font() const;
    // Border property 0-5 as extended styles (and WS_BORDER for 5), applied with SWP_FRAMECHANGED.
    void ApplyBorder(uint32_t border);
    // A solid brush of the colour, kept by the object until the next call or destruction.
    HBRUSH BackgroundBrush(uint32_t color);
    // The answer to a WM_CTLCOLOR... message: sets the text and back colours on `dc` and returns
    // the background brush.
    LRESULT ControlColors(WPARAM dc, uint32_t textColor, uint32_t backColor);
    // For components that draw themselves whole: WM_PAINT calls Paint with the paint area and
    // WM_ERASEBKGND is skipped, since Paint covers every pixel. True when it took the message.
    bool PaintsItself(UINT message, LRESULT* result);
    virtual void Paint(HDC, const RECT&) {}

private:
    uint32_t windowId_ = 0;
    uint32_t unitId_ = 0;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    uint32_t brushColor_ = 0;
};

// The style changes of a border value.
void BorderStyles(uint32_t border, DWORD& exStyle, DWORD& style);

// SetProperty's answer for a value shown only by re-creating the unit: 1 when it changed.
inline uint32_t Recreating(uint32_t* field, uint32_t value) {
    if (*field == value) return 0;
    *field = value;
    return 1;
}

// Property data helpers for SetProperty/GetProperty.
inline uint32_t IntegerOf(const forms::PropertyData& v) { return static_cast<uint32_t>(v.value); }
std::string TextOf(const forms::PropertyData& v);
std::vector<uint8_t> BytesOf(const forms::PropertyData& v);
inline forms::PropertyData IntegerData(uint32_t value) { return {value, 0}; }
inline forms::PropertyData TextData(const std::string& text) { return {reinterpret_cast<uintptr_t>(text.c_str()), 0}; }
inline forms::PropertyData BytesData(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<uintptr_t>(bytes.data()), static_cast<uint32_t>(bytes.size())};
}

// The services 4, 5, 6, 8 and 10 of every component type, forwarding to the virtuals above; null
// for any other code.
void* ComponentServices(int32_t code);

// Service 1 for a type: `return reinterpret_cast<void*>(&CreateUnitEntry<ButtonComponent>);`
template <class Type>
void* CreateUnitEntry(const uint8_t* blob, uint32_t blobLength, uint32_t style, HWND parent, uint32_t controlId, HMENU,
                      int32_t x, int32_t y, int32_t width, int32_t height, uint32_t windowId, uint32_t unitId, HWND,
                      uint32_t) {
    CreateArguments arguments{blob, blobLength, style, parent, controlId, x, y, width, height, windowId, unitId};
    return ComponentBase::Create(new Type(), arguments);
}

// The live object pointer that the engine keeps in a record, and back.
inline void* LiveObjectOf(ComponentBase* component) { return static_cast<forms::WindowObject*>(component); }
inline ComponentBase* ComponentOf(void* live) {
    return static_cast<ComponentBase*>(static_cast<forms::WindowObject*>(live));
}

}  // namespace ruvelto::components

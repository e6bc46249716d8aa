// Button (按钮): a push button, possibly the window's default button, showing a caption or a
// picture; a click is its event 0.
#include <windows.h>

#include "components/button_picture.h"
#include "components/button_properties.h"
#include "components/control_style.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum ButtonProperty : int32_t { kPicture, kButtonType, kCaption, kHorizontalAlign, kVerticalAlign, kFont };

class Button : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        style |= BS_MULTILINE | (p_.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                 HorizontalAlignStyle(p_.horizontalAlign) | VerticalAlignStyle(p_.verticalAlign);
        style |= picture_.Load(p_.picture);
        return CreateChild(0, "BUTTON", p_.caption.c_str(), style, a);
    }

    void ApplyProperties() override {
        ApplyFont(p_.font);
        picture_.Apply(Handle());
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        switch (index) {
            case kPicture:
                p_.picture = BytesOf(v);
                return 1;  // shown by re-creating the button
            case kButtonType:
                p_.buttonType = ClampChoice(IntegerOf(v), 1);
                ModifyStyle(Handle(), BS_DEFPUSHBUTTON, p_.buttonType == 1 ? BS_DEFPUSHBUTTON : 0);
                break;
            case kCaption:
                p_.caption = TextOf(v);
                SetWindowTextA(Handle(), p_.caption.c_str());
                return 0;
            case kHorizontalAlign:
                p_.horizontalAlign = ClampChoice(IntegerOf(v), 2);
                ModifyStyle(Handle(), kHorizontalAlignMask, HorizontalAlignStyle(p_.horizontalAlign));
                break;
            case kVerticalAlign:
                p_.verticalAlign = ClampChoice(IntegerOf(v), 2);
                ModifyStyle(Handle(), kVerticalAlignMask, VerticalAlignStyle(p_.verticalAlign));
                break;
            case kFont:
                p_.font = BytesOf(v);
                ApplyFont(p_.font);
                return 0;
            default: return 0;
        }
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kPicture: *v = BytesData(p_.picture); return true;
            case kButtonType: *v = IntegerData(p_.buttonType); return true;
            case kCaption: *v = TextData(p_.caption); return true;
            case kHorizontalAlign: *v = IntegerData(p_.horizontalAlign); return true;
            case kVerticalAlign: *v = IntegerData(p_.verticalAlign); return true;
            case kFont: *v = BytesData(p_.font); return true;
            default: return false;
        }
    }

    bool IsDefaultButton() override {
        return (static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & 0x1F) == BS_DEFPUSHBUTTON;
    }

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
        RaiseEvent(0);
        *result = 0;
        return true;
    }

protected:
    void ReleaseResources() override {
        picture_.Release();
        ComponentBase::ReleaseResources();
    }

private:
    ButtonProperties p_;
    ButtonPicture picture_;
};

}  // namespace

void* ButtonInterface(int32_t code) { return TypeInterfaceOf<Button>(code); }

}  // namespace ruvelto::components

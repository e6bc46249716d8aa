// GroupBox (分组框): the Win32 group frame with a caption, holding other components.
#include <windows.h>

#include "components/control_style.h"
#include "components/label_properties.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum GroupProperty : int32_t { kCaption, kHorizontalAlign, kTextColor, kBackColor, kFont };

class GroupBox : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        BackgroundBrush(p_.backColor);
        // Clipping its children keeps the frame's repaints from painting over them.
        style |= BS_GROUPBOX | WS_CLIPCHILDREN | HorizontalAlignStyle(p_.horizontalAlign);
        return CreateChild(0, "BUTTON", p_.caption.c_str(), style, a);
    }

    void ApplyProperties() override { ApplyFont(p_.font); }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        switch (index) {
            case kCaption:
                p_.caption = TextOf(v);
                SetWindowTextA(Handle(), p_.caption.c_str());
                break;
            case kHorizontalAlign:
                p_.horizontalAlign = ClampChoice(IntegerOf(v), 2);
                ModifyStyle(Handle(), kHorizontalAlignMask, HorizontalAlignStyle(p_.horizontalAlign));
                break;
            case kTextColor: p_.textColor = IntegerOf(v); break;
            case kBackColor:
                p_.backColor = IntegerOf(v);
                BackgroundBrush(p_.backColor);
                break;
            case kFont:
                p_.font = BytesOf(v);
                ApplyFont(p_.font);
                break;
            default: return 0;
        }
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kCaption: *v = TextData(p_.caption); return true;
            case kHorizontalAlign: *v = IntegerData(p_.horizontalAlign); return true;
            case kTextColor: *v = IntegerData(p_.textColor); return true;
            case kBackColor: *v = IntegerData(p_.backColor); return true;
            case kFont: *v = BytesData(p_.font); return true;
            default: return false;
        }
    }

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN) return false;
        *result = ControlColors(wParam, p_.textColor, p_.backColor);
        return true;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) {
            RECT client{};
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush(p_.backColor));
        }
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

private:
    GroupBoxProperties p_;
};

}  // namespace

void* GroupBoxInterface(int32_t code) { return TypeInterfaceOf<GroupBox>(code); }

}  // namespace ruvelto::components

// CheckBox (选择框) and RadioBox (单选框): the two auto-checking button kinds with a caption or
// picture, colours and a check state. A click is event 0; a radio box's own check on gaining
// the focus is not.
#include <windows.h>

#include "components/button_picture.h"
#include "components/button_properties.h"
#include "components/control_style.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum TickProperty : int32_t {
    kPicture,
    kPushLike,
    kFlat,
    kCaption,
    kTextOnLeft,
    kHorizontalAlign,
    kVerticalAlign,
    kTextColor,
    kBackColor,
    kFont,
    kChecked,
    kDataSource,  // CheckBox only
    kDataField,   // CheckBox only
};

template <TickKind kKind>
class TickBox : public ComponentBase {
public:
    TickBox() : p_(CheckBoxProperties::Defaults(kKind)) {}

    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob, kKind); }
    void SaveProperties(PropertyBlobWriter& blob) const override {
        CheckBoxProperties current = p_;
        if (Handle()) current.checked = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        current.Save(blob, kKind);
    }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        style |= BS_MULTILINE | (kKind == TickKind::kCheckBox ? BS_AUTOCHECKBOX : BS_AUTORADIOBUTTON) |
                 (p_.pushLike == 1 ? BS_PUSHLIKE : 0) | (p_.flat == 1 ? BS_FLAT : 0) |
                 (p_.textOnLeft == 1 ? BS_LEFTTEXT : 0) | HorizontalAlignStyle(p_.horizontalAlign) |
                 VerticalAlignStyle(p_.verticalAlign);
        BackgroundBrush(p_.backColor);
        style |= picture_.Load(p_.picture);
        return CreateChild(0, "BUTTON", p_.caption.c_str(), style, a);
    }

    void ApplyProperties() override {
        ApplyFont(p_.font);
        picture_.Apply(Handle());
        SendMessageA(Handle(), BM_SETCHECK, p_.checked == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        switch (index) {
            case kPicture:
                p_.picture = BytesOf(v);
                return 1;  // shown by re-creating the box
            case kPushLike: SetFlag(&p_.pushLike, value, BS_PUSHLIKE); break;
            case kFlat: SetFlag(&p_.flat, value, BS_FLAT); break;
            case kTextOnLeft: SetFlag(&p_.textOnLeft, value, BS_LEFTTEXT); break;
            case kCaption:
                p_.caption = TextOf(v);
                SetWindowTextA(Handle(), p_.caption.c_str());
                return 0;
            case kHorizontalAlign:
                p_.horizontalAlign = ClampChoice(value, 2);
                ModifyStyle(Handle(), kHorizontalAlignMask, HorizontalAlignStyle(p_.horizontalAlign));
                break;
            case kVerticalAlign:
                p_.verticalAlign = ClampChoice(value, 2);
                ModifyStyle(Handle(), kVerticalAlignMask, VerticalAlignStyle(p_.verticalAlign));
                break;
            case kTextColor: p_.textColor = value; break;
            case kBackColor:
                p_.backColor = value;
                BackgroundBrush(p_.backColor);
                break;
            case kFont:
                p_.font = BytesOf(v);
                ApplyFont(p_.font);
                return 0;
            case kChecked:
                p_.checked = value;
                SendMessageA(Handle(), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
                return 0;
            case kDataSource:
            case kDataField:
                if (kKind != TickKind::kCheckBox) return 0;
                // No data source is ever present here, so re-attaching finds nothing.
                (index == kDataSource ? p_.dataSource : p_.dataField) = TextOf(v);
                return 0;
            default: return 0;
        }
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kPicture: *v = BytesData(p_.picture); return true;
            case kPushLike: *v = IntegerData(p_.pushLike); return true;
            case kFlat: *v = IntegerData(p_.flat); return true;
            case kCaption: *v = TextData(p_.caption); return true;
            case kTextOnLeft: *v = IntegerData(p_.textOnLeft); return true;
            case kHorizontalAlign: *v = IntegerData(p_.horizontalAlign); return true;
            case kVerticalAlign: *v = IntegerData(p_.verticalAlign); return true;
            case kTextColor: *v = IntegerData(p_.textColor); return true;
            case kBackColor: *v = IntegerData(p_.backColor); return true;
            case kFont: *v = BytesData(p_.font); return true;
            case kChecked:
                p_.checked = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
                *v = IntegerData(p_.checked);
                return true;
            case kDataSource:
            case kDataField:
                if (kKind != TickKind::kCheckBox) return false;
                *v = TextData(index == kDataSource ? p_.dataSource : p_.dataField);
                return true;
            default: return false;
        }
    }

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        switch (message) {
            case WM_COMMAND:
                if (HIWORD(wParam) != BN_CLICKED) return false;
                // A radio box checks itself when the keyboard gives it the focus; that is not a click.
                if (kKind == TickKind::kCheckBox || focusChanging_ == 0) RaiseEvent(0);
                *result = 0;
                return true;
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORSTATIC: *result = ControlColors(wParam, p_.textColor, p_.backColor); return true;
            default: return false;
        }
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            ++focusChanging_;
            LRESULT result = ComponentBase::WindowProc(message, wParam, lParam);
            if (message == WM_SETFOCUS) CheckOnKeyboardFocus();
            --focusChanging_;
            return result;
        }
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

    void ReleaseResources() override {
        picture_.Release();
        ComponentBase::ReleaseResources();
    }

private:
    // An auto radio button that the keyboard (not a click) gives the focus checks itself and
    // unchecks the radio buttons beside it. Not every platform's button does this on its own.
    void CheckOnKeyboardFocus() {
        if (kKind != TickKind::kRadioBox || !Handle() || GetCapture() == Handle()) return;
        if (SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED) return;
        for (HWND sibling = GetWindow(GetParent(Handle()), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
            if (sibling != Handle() && IsAutoRadio(sibling)) SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        SendMessageA(Handle(), BM_SETCHECK, BST_CHECKED, 0);
    }

    static bool IsAutoRadio(HWND window) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        return lstrcmpiA(name, "BUTTON") == 0 && (GetWindowLongA(window, GWL_STYLE) & 0x0F) == BS_AUTORADIOBUTTON;
    }

    void SetFlag(uint32_t* field, uint32_t value, DWORD styleBit) {
        *field = value;
        ModifyStyle(Handle(), styleBit, value == 1 ? styleBit : 0);
    }

    CheckBoxProperties p_;
    ButtonPicture picture_;
    int focusChanging_ = 0;
};

}  // namespace

void* CheckBoxInterface(int32_t code) { return TypeInterfaceOf<TickBox<TickKind::kCheckBox>>(code); }
void* RadioBoxInterface(int32_t code) { return TypeInterfaceOf<TickBox<TickKind::kRadioBox>>(code); }

}  // namespace ruvelto::components

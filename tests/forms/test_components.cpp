#include "tests/forms/test_components.h"

#include <windows.h>

#include <string>

#include "components/component_base.h"
#include "forms/form_window.h"
#include "forms/unit_types.h"

namespace ruvelto::forms_test {
namespace {

using components::ComponentBase;
using components::CreateArguments;
using forms::PropertyData;

// A standard control with a caption; clicks raise event 0.
class CaptionControl : public ComponentBase {
public:
    explicit CaptionControl(DWORD controlStyle) : controlStyle_(controlStyle) {}

    bool LoadProperties(forms::PropertyBlobReader& blob) override {
        uint32_t version = blob.U32();
        caption_ = blob.Text();
        isDefault_ = blob.U32();
        return blob.Ok() && version <= 1;
    }
    void SaveProperties(forms::PropertyBlobWriter& blob) const override {
        blob.U32(1);
        blob.Text(caption_);
        blob.U32(isDefault_);
    }
    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(0, "BUTTON", caption_.c_str(), style | controlStyle_, a);
    }
    void ApplyProperties() override { ApplyFont({}); }
    uint32_t SetProperty(int32_t index, const PropertyData& v) override {
        if (index == 0) {
            caption_ = components::TextOf(v);
            SetWindowTextA(Handle(), caption_.c_str());
            return 0;
        }
        if (index == 1) {
            isDefault_ = components::IntegerOf(v);
            return 1;  // shown by re-creating the control
        }
        return 0;
    }
    bool GetProperty(int32_t index, PropertyData* v) override {
        if (index == 0) *v = components::TextData(caption_);
        else if (index == 1) *v = components::IntegerData(isDefault_);
        else return false;
        return true;
    }
    bool IsDefaultButton() override { return isDefault_ != 0; }
    const std::string& CaptionText() const { return caption_; }
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
        RaiseEvent(0);
        *result = 0;
        return true;
    }

private:
    DWORD controlStyle_;
    std::string caption_;
    uint32_t isDefault_ = 0;
};

struct TestButton : CaptionControl {
    TestButton() : CaptionControl(BS_PUSHBUTTON) {}
};
struct TestRadio : CaptionControl {
    TestRadio() : CaptionControl(BS_RADIOBUTTON) {}
};
struct TestCheck : CaptionControl {
    TestCheck() : CaptionControl(BS_CHECKBOX) {}
};

class TestLabel : public CaptionControl {
public:
    TestLabel() : CaptionControl(0) {}
    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(0, "STATIC", CaptionText().c_str(), style, a);
    }
};

class TestEdit : public ComponentBase {
public:
    bool LoadProperties(forms::PropertyBlobReader& blob) override {
        uint32_t version = blob.U32();
        text_ = blob.Text();
        font_ = blob.Bytes();
        wantsEnter_ = blob.U32();
        return blob.Ok() && version <= 1;
    }
    void SaveProperties(forms::PropertyBlobWriter& blob) const override {
        blob.U32(1);
        blob.Text(Text());
        blob.Bytes(font_);
        blob.U32(wantsEnter_);
    }
    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(WS_EX_CLIENTEDGE, "EDIT", text_.c_str(),
                           style | ES_AUTOHSCROLL | (wantsEnter_ ? ES_MULTILINE | ES_WANTRETURN : 0), a);
    }
    uint32_t SetProperty(int32_t index, const PropertyData& v) override {
        if (index == 0) SetWindowTextA(Handle(), components::TextOf(v).c_str());
        if (index == 1) {
            font_ = components::BytesOf(v);
            ApplyFont(font_);
        }
        return 0;
    }
    bool GetProperty(int32_t index, PropertyData* v) override {
        if (index == 0) {
            text_ = Text();
            *v = components::TextData(text_);
        } else if (index == 1) {
            *v = components::BytesData(font_);
        } else {
            return false;
        }
        return true;
    }
    bool WantsKey(uint32_t key) override { return wantsEnter_ && key == VK_RETURN; }
    // The edit box tells of changes to its text as its event 0.
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
        RaiseEvent(0);
        *result = 0;
        return true;
    }
    void ApplyProperties() override {
        ApplyFont(font_);
        SetWindowTextA(Handle(), text_.c_str());
    }

private:
    std::string Text() const {
        char buffer[1024] = {};
        if (Handle()) GetWindowTextA(Handle(), buffer, sizeof buffer);
        return Handle() ? buffer : text_;
    }
    std::string text_;
    std::vector<uint8_t> font_;
    uint32_t wantsEnter_ = 0;
};

template <class T>
void* Interface(int32_t code) {
    if (code == forms::kCreateUnit) return reinterpret_cast<void*>(&components::CreateUnitEntry<T>);
    return components::ComponentServices(code);
}

std::vector<image_data::PropertyDescription> Properties(std::initializer_list<uint16_t> own) {
    std::vector<image_data::PropertyDescription> p = {{1000, 0xE000}, {1000, 0xE000}, {1000, 0xE000}, {1000, 0xE000},
                                               {1005, 0xE000}, {1003, 0xE000}, {1003, 0xE000}, {1011, 0xE000}};
    for (uint16_t type : own) p.push_back({type, 0x8000});
    return p;
}

image_data::TypeDescription Type(const char* name, uint32_t flags, std::vector<image_data::PropertyDescription> properties,
                          void* (*typeInterface)(int32_t)) {
    image_data::TypeDescription t;
    t.chineseName = name;
    t.englishName = name;
    t.flags = flags;
    t.properties = std::move(properties);
    t.typeInterface.address = reinterpret_cast<const void*>(typeInterface);
    return t;
}

}  // namespace

void* TestButtonInterface(int32_t code) { return Interface<TestButton>(code); }
void* TestEditInterface(int32_t code) { return Interface<TestEdit>(code); }
void* TestRadioInterface(int32_t code) { return Interface<TestRadio>(code); }
void* TestCheckInterface(int32_t code) { return Interface<TestCheck>(code); }
void* TestLabelInterface(int32_t code) { return Interface<TestLabel>(code); }

std::vector<uint8_t> CaptionBlob(const std::string& caption, uint32_t isDefault) {
    forms::PropertyBlobWriter w;
    w.U32(1);
    w.Text(caption);
    w.U32(isDefault);
    return w.Data();
}

std::vector<uint8_t> EditBlob(const std::string& text, bool wantsEnter) {
    forms::PropertyBlobWriter w;
    w.U32(1);
    w.Text(text);
    w.Bytes({});
    w.U32(wantsEnter);
    return w.Data();
}

image_data::LibraryDescription TestCoreLibrary() {
    using namespace forms;
    image_data::LibraryDescription lib;
    lib.name = "core";
    lib.types.resize(20);
    lib.types[0] = Type("window", 0x800000D0,
                        Properties({kPropText, kPropChoice, kPropBackColor, kPropPicture, kPropChoice, kPropSound,
                                    kPropChoice, kPropLogical, kPropLogical, kPropLogical, kPropChoice, kPropLogical,
                                    kPropIcon, kPropLogical, kPropLogical, kPropLogical, kPropFileName, kPropInteger,
                                    kPropLogical, kPropLogical, kPropChoice, kPropLogical, kPropLogical, kPropText}),
                        &WindowTypeInterface);
    lib.types[2].chineseName = "menu", lib.types[2].englishName = "menu", lib.types[2].flags = 0x80000004;
    lib.types[4] = Type("EditBox", 0x80000040, Properties({kPropText, kPropFont, kPropLogical}), &TestEditInterface);
    lib.types[9] = Type("Label", 0x84012040, Properties({kPropText}), &TestLabelInterface);
    lib.types[10] = Type("Button", 0x80000840, Properties({kPropText, kPropLogical}), &TestButtonInterface);
    lib.types[11] = Type("CheckBox", 0x80001040, Properties({kPropText}), &TestCheckInterface);
    lib.types[12] = Type("RadioBox", 0x80000440, Properties({kPropText}), &TestRadioInterface);
    return lib;
}

}  // namespace ruvelto::forms_test

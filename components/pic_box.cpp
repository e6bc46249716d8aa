// PicBox (图片框): a window showing one picture at its natural size, stretched, or centred and
// shrunk to fit, on its background colour; GIF pictures animate on a thread of their own.
#include <windows.h>

#include <memory>
#include <new>

#include "components/control_style.h"
#include "components/gif_animation.h"
#include "components/panel_class.h"
#include "components/picture.h"
#include "components/picture_box_properties.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum PicBoxProperty : int32_t { kBorder, kBackColor, kPicture, kDisplayMode, kAnimate, kDataSource, kDataField };

class PicBox : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override {
        PicBoxProperties saved = p_;
        saved.displayMode = ClampChoice(saved.displayMode, 2);
        saved.Save(blob);
    }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        p_.displayMode = ClampChoice(p_.displayMode, 2);
        return CreateChild(0, PanelClassName(), "", style, a);
    }

    void ApplyProperties() override {
        BackgroundBrush(p_.backColor);
        LoadPicture();
        ApplyBorder(ClampChoice(p_.border, 5));
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        switch (index) {
            case kBorder:
                p_.border = ClampChoice(value, 5);
                ApplyBorder(p_.border);
                break;
            case kBackColor:
                p_.backColor = value;
                BackgroundBrush(p_.backColor);
                InvalidateRect(Handle(), nullptr, FALSE);
                break;
            case kPicture:
                p_.picture = BytesOf(v);
                LoadPicture();
                break;
            case kDisplayMode: {
                const uint32_t mode = ClampChoice(value, 2);
                if (mode == p_.displayMode) break;
                p_.displayMode = mode;
                if (animation_) animation_->SetMode(mode);
                InvalidateRect(Handle(), nullptr, FALSE);
                UpdateWindow(Handle());
                break;
            }
            case kAnimate:
                p_.animate = value;
                if (PictureFormatOf(p_.picture.data(), p_.picture.size()) == kPictureGif) LoadPicture();
                break;
            case kDataSource: p_.dataSource = TextOf(v); break;
            case kDataField: p_.dataField = TextOf(v); break;
            default: return 0;
        }
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kBorder: *v = IntegerData(p_.border); return true;
            case kBackColor: *v = IntegerData(p_.backColor); return true;
            case kPicture: *v = BytesData(p_.picture); return true;
            case kDisplayMode: *v = IntegerData(p_.displayMode); return true;
            case kAnimate: *v = IntegerData(p_.animate); return true;
            case kDataSource: *v = TextData(p_.dataSource); return true;
            case kDataField: *v = TextData(p_.dataField); return true;
            default: return false;
        }
    }

    const std::string* BindingText(int32_t which) const {
        return which == 0 ? &p_.dataSource : which == 1 ? &p_.dataField : nullptr;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (LRESULT painted; PaintsItself(message, &painted)) return painted;
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

    void ReleaseResources() override {
        ReleaseShown();
        ComponentBase::ReleaseResources();
    }

private:
    // The previous picture goes (its animation stopped and joined first); the new one is decoded
    // once and kept decoded.
    void LoadPicture() {
        ReleaseShown();
        const uint8_t* bytes = p_.picture.data();
        const uint32_t length = static_cast<uint32_t>(p_.picture.size());
        if (length > 0) {
            GifPicture gif;
            if (p_.animate && PictureFormatOf(bytes, length) == kPictureGif && DecodeGif(bytes, length, false, &gif)) {
                animation_.reset(new (std::nothrow) GifAnimation(std::move(gif), Handle(), p_.displayMode));
                if (animation_ && !animation_->Start()) animation_.reset();
            }
            // Not animated, or the animation could not start (no thread, no memory): the first
            // frame, still.
            if (!animation_) picture_ = DecodePicture(bytes, length);
        }
        InvalidateRect(Handle(), nullptr, FALSE);
    }

    void ReleaseShown() {
        animation_.reset();  // stops and joins the thread
        ReleasePicture(picture_);
        picture_ = nullptr;
    }

    void Paint(HDC dc, const RECT&) override {
        RECT client{};
        GetClientRect(Handle(), &client);
        HGDIOBJ oldBrush = SelectObject(dc, BackgroundBrush(p_.backColor));
        PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);
        SelectObject(dc, oldBrush);
        if (animation_) {
            animation_->Paint(dc);
            return;
        }
        PictureDrawable drawable;
        if (!picture_ || !MakeDrawable(dc, *picture_, &drawable)) return;
        const RECT r = GifAnimation::Place(Handle(), p_.displayMode, picture_->width, picture_->height);
        DrawPicture(dc, drawable, r.left, r.top, r.right - r.left, r.bottom - r.top);
        DeleteDrawable(&drawable);
    }

    PicBoxProperties p_;
    DecodedPicture* picture_ = nullptr;
    std::unique_ptr<GifAnimation> animation_;
};

// Service 9: the two binding texts.
const char* EnumerateTextsEntry(void* object, int32_t which) {
    if (!object) return nullptr;
    auto* box = static_cast<PicBox*>(ComponentOf(object));
    const std::string* text = box->BindingText(which);
    return text ? text->c_str() : nullptr;
}

}  // namespace

void* PicBoxInterface(int32_t code) {
    if (code == forms::kEnumerateTexts) return reinterpret_cast<void*>(&EnumerateTextsEntry);
    return TypeInterfaceOf<PicBox>(code);
}

}  // namespace ruvelto::components

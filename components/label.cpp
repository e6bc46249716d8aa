// Label (标签): an owner-painted text panel with a background colour, picture or gradient, an
// optional gradient frame and text effects. Message 0x8075 raises its event 0 and answers with
// the handler's value.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "components/control_style.h"
#include "components/gradient.h"
#include "components/label_properties.h"
#include "components/label_text.h"
#include "components/panel_class.h"
#include "components/picture.h"
#include "components/standard_types.h"
#include "forms/engine_messages.h"

namespace ruvelto::components {
namespace {

enum LabelProperty : int32_t {
    kCaption,
    kTextEffect,
    kBorder,
    kFrameWidth,
    kFrameColor1,
    kFrameColor2,
    kFrameColor3,
    kFont,
    kTextColor,
    kBackColor,
    kPicture,
    kPictureMode,
    kGradientMode,
    kGradientColor1,
    kGradientColor2,
    kGradientColor3,
    kHorizontalAlign,
    kWordWrap,
    kVerticalAlign,
    kDataSource,
    kDataField,
};

constexpr int kTile = 50;
constexpr UINT kLabelEventMessage = 0x8075;

// Draws pixels computed tile by tile (at most 50 × 50) into the part of `area` inside `clip`.
template <class PixelColor>
void DrawTiles(HDC dc, const RECT& area, const RECT& clip, PixelColor colorOf) {
    RECT target{};
    if (!IntersectRect(&target, &area, &clip)) return;
    std::vector<uint32_t> pixels(kTile * kTile);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    for (LONG top = target.top; top < target.bottom; top += kTile) {
        for (LONG left = target.left; left < target.right; left += kTile) {
            const int w = std::min<LONG>(kTile, target.right - left), h = std::min<LONG>(kTile, target.bottom - top);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    uint32_t c = colorOf(left + x, top + y);
                    pixels[y * w + x] = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
                }
            }
            info.bmiHeader.biWidth = w;
            info.bmiHeader.biHeight = -h;  // top-down
            SetDIBitsToDevice(dc, left, top, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
        }
    }
}

class Label : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(0, PanelClassName(), p_.caption.c_str(), style, a);
    }

    void ApplyProperties() override {
        ApplyFont(p_.font);
        ApplyBorder(p_.border == 6 ? 0 : p_.border);
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        switch (index) {
            case kCaption:
                p_.caption = TextOf(v);
                SetWindowTextA(Handle(), p_.caption.c_str());
                break;
            case kTextEffect: p_.textEffect = ClampChoice(value, 3); break;
            case kBorder:
                p_.border = ClampChoice(value, 6);
                ApplyBorder(p_.border == 6 ? 0 : p_.border);
                break;
            case kFrameWidth: p_.frameWidth = std::max<int32_t>(static_cast<int32_t>(value), 5); break;
            case kFrameColor1:
            case kFrameColor2:
            case kFrameColor3: p_.frameColors[index - kFrameColor1] = value; break;
            case kFont:
                p_.font = BytesOf(v);
                ApplyFont(p_.font);
                break;
            case kTextColor: p_.textColor = value; break;
            case kBackColor: p_.backColor = value; break;
            case kPicture:
                p_.picture = BytesOf(v);
                ReleaseDecoded();
                break;
            case kPictureMode: p_.pictureMode = ClampChoice(value, 2); break;
            case kGradientMode: p_.gradientMode = ClampChoice(value, 8); break;
            case kGradientColor1:
            case kGradientColor2:
            case kGradientColor3: p_.gradientColors[index - kGradientColor1] = value; break;
            case kHorizontalAlign: p_.horizontalAlign = ClampChoice(value, 2); break;
            case kWordWrap: p_.wordWrap = value; break;
            case kVerticalAlign: p_.verticalAlign = ClampChoice(value, 2); break;
            case kDataSource: p_.dataSource = TextOf(v); break;
            case kDataField: p_.dataField = TextOf(v); break;
            default: return 0;
        }
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kCaption: *v = TextData(p_.caption); return true;
            case kTextEffect: *v = IntegerData(p_.textEffect); return true;
            case kBorder: *v = IntegerData(p_.border); return true;
            case kFrameWidth: *v = IntegerData(static_cast<uint32_t>(p_.frameWidth)); return true;
            case kFrameColor1:
            case kFrameColor2:
            case kFrameColor3: *v = IntegerData(p_.frameColors[index - kFrameColor1]); return true;
            case kFont: *v = BytesData(p_.font); return true;
            case kTextColor: *v = IntegerData(p_.textColor); return true;
            case kBackColor: *v = IntegerData(p_.backColor); return true;
            case kPicture: *v = BytesData(p_.picture); return true;
            case kPictureMode: *v = IntegerData(p_.pictureMode); return true;
            case kGradientMode: *v = IntegerData(p_.gradientMode); return true;
            case kGradientColor1:
            case kGradientColor2:
            case kGradientColor3: *v = IntegerData(p_.gradientColors[index - kGradientColor1]); return true;
            case kHorizontalAlign: *v = IntegerData(p_.horizontalAlign); return true;
            case kWordWrap: *v = IntegerData(p_.wordWrap); return true;
            case kVerticalAlign: *v = IntegerData(p_.verticalAlign); return true;
            case kDataSource: *v = TextData(p_.dataSource); return true;
            case kDataField: *v = TextData(p_.dataField); return true;
            default: return false;
        }
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (LRESULT painted; PaintsItself(message, &painted)) return painted;
        switch (message) {
            case kLabelEventMessage: {
                forms::EventRecord record;
                RaiseEvent(0, {static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)}, &record);
                return record.returned ? static_cast<LRESULT>(record.returnValue) : 0;
            }
            default: return ComponentBase::WindowProc(message, wParam, lParam);
        }
    }

    void ReleaseResources() override {
        ReleaseDecoded();
        ComponentBase::ReleaseResources();
    }

private:
    void ReleaseDecoded() {
        ReleasePicture(picture_);
        picture_ = nullptr;
        pictureTried_ = false;
    }

    // The picture is decoded on first paint; bytes that do not decode leave none.
    DecodedPicture* Picture() {
        if (!pictureTried_ && !p_.picture.empty()) {
            pictureTried_ = true;
            picture_ = DecodePicture(p_.picture.data(), static_cast<uint32_t>(p_.picture.size()));
        }
        return picture_;
    }

    void Paint(HDC dc, const RECT& clip) override {
        RECT area{};
        GetClientRect(Handle(), &area);
        const int width = area.right, height = area.bottom;
        const int saved = SaveDC(dc);

        const GradientStops frame = UsedColors(p_.frameColors);
        if (p_.border == 6 && p_.frameWidth > 0 && frame.Drawable()) {
            const int fw = EffectiveFrameWidth(p_.frameWidth, width, height);
            if (fw > 0) {
                auto colorOf = [&](int x, int y) {
                    uint32_t c = 0;
                    FramePixelColor(frame, fw, x, y, width, height, &c);
                    return c;
                };
                const RECT bands[] = {{0, 0, width, fw},
                                      {0, height - fw, width, height},
                                      {0, fw, fw, height - fw},
                                      {width - fw, fw, width, height - fw}};
                for (const RECT& band : bands) DrawTiles(dc, band, clip, colorOf);
                InflateRect(&area, -fw, -fw);
                IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
            }
        }

        PaintBackground(dc, area, clip);
        DrawLabelText(dc, Handle(), Font(), area,
                      {p_.horizontalAlign, p_.verticalAlign, p_.wordWrap != 0, p_.textEffect, p_.textColor});
        RestoreDC(dc, saved);
    }

    void PaintBackground(HDC dc, const RECT& area, const RECT& clip) {
        HBRUSH back = CreateSolidBrush(ResolveColor(p_.backColor));
        const GradientStops gradient = UsedColors(p_.gradientColors);
        DecodedPicture* picture = Picture();
        PictureDrawable drawable;
        if (picture && MakeDrawable(dc, *picture, &drawable)) {
            FillRect(dc, &area, back);
            DrawBackgroundPicture(dc, area, drawable);
            DeleteDrawable(&drawable);
        } else if (p_.gradientMode >= 1 && p_.gradientMode <= 8 && gradient.Drawable()) {
            const int w = area.right - area.left, h = area.bottom - area.top;
            DrawTiles(dc, area, clip, [&](int x, int y) {
                int p = 0, s = 1;
                GradientPosition(p_.gradientMode, x - area.left, y - area.top, w, h, &p, &s);
                return GradientColorAt(gradient, p, s);
            });
        } else {
            FillRect(dc, &area, back);
        }
        DeleteObject(back);
    }

    void DrawBackgroundPicture(HDC dc, const RECT& area, const PictureDrawable& d) {
        const int W = area.right - area.left, H = area.bottom - area.top;
        switch (p_.pictureMode) {
            case 0: DrawPicture(dc, d, area.left, area.top, -1, -1); break;
            case 1:
                for (int y = 0; d.height > 0 && y < H; y += d.height)
                    for (int x = 0; d.width > 0 && x < W; x += d.width) DrawPicture(dc, d, area.left + x, area.top + y, -1, -1);
                break;
            default: {
                // Centred, and shrunk (never enlarged) to fit.
                const PictureRect r = FitCentred(W, H, d.width, d.height);
                DrawPicture(dc, d, area.left + r.x, area.top + r.y, r.width, r.height);
                break;
            }
        }
    }

    LabelProperties p_;
    DecodedPicture* picture_ = nullptr;
    bool pictureTried_ = false;
};

}  // namespace

void* LabelInterface(int32_t code) { return TypeInterfaceOf<Label>(code); }

}  // namespace ruvelto::components

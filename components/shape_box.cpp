// ShapeBox (外形框): a panel that draws one shape (rectangle, square, ellipse, circle, rounded
// rectangle or square, horizontal or vertical line), flat, raised or sunken, and holds other
// components.
#include <windows.h>

#include <algorithm>

#include "components/control_style.h"
#include "components/label_properties.h"
#include "components/panel_class.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum ShapeProperty : int32_t { kBackColor, kShape, kEffect, kLineStyle, kLineWidth, kLineColor, kFillColor };

int PenStyleOf(uint32_t lineStyle) {
    static const int styles[] = {PS_NULL, PS_INSIDEFRAME, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    return styles[std::min<uint32_t>(lineStyle, 5)];
}

class ShapeBox : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        // Clipping its children keeps the shape's repaints from painting over them.
        return CreateChild(0, PanelClassName(), "", style | WS_CLIPCHILDREN, a);
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        switch (index) {
            case kBackColor: p_.backColor = value; break;
            case kShape: p_.shape = ClampChoice(value, 7); break;
            case kEffect: p_.effect = ClampChoice(value, 2); break;
            case kLineStyle: p_.lineStyle = ClampChoice(value, 5); break;
            case kLineWidth: p_.lineWidth = std::max<int32_t>(static_cast<int32_t>(value), 0); break;
            case kLineColor: p_.lineColor = value; break;
            case kFillColor: p_.fillColor = value; break;
            default: return 0;
        }
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        const uint32_t values[] = {p_.backColor, p_.shape, p_.effect, p_.lineStyle,
                                   static_cast<uint32_t>(p_.lineWidth), p_.lineColor, p_.fillColor};
        if (index < 0 || index > kFillColor) return false;
        *v = IntegerData(values[index]);
        return true;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (LRESULT painted; PaintsItself(message, &painted)) return painted;
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

private:
    void Paint(HDC dc, const RECT& clip) override {
        HBRUSH back = CreateSolidBrush(ResolveColor(p_.backColor));
        FillRect(dc, &clip, back);
        DeleteObject(back);

        RECT client{};
        GetClientRect(Handle(), &client);
        RECT shape = client;
        if (p_.shape == kShapeSquare || p_.shape == kShapeCircle || p_.shape == kShapeRoundSquare) {
            const int side = std::min(client.right, client.bottom);
            shape.left = (client.right - side) / 2, shape.top = (client.bottom - side) / 2;
            shape.right = shape.left + side, shape.bottom = shape.top + side;
        }
        const int cornerW = client.right / 5, cornerH = client.bottom / 5;
        HBRUSH fill = p_.fillColor == kSystemColor ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                   : CreateSolidBrush(p_.fillColor);
        if (p_.effect == 0) {
            const int width = p_.lineStyle == 1 ? p_.lineWidth : 1;
            Pass(dc, shape, PenStyleOf(p_.lineStyle), width, p_.lineColor, fill, 0, cornerW, cornerH);
        } else {
            const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
            const COLORREF first = p_.effect == 1 ? white : black, second = p_.effect == 1 ? black : white;
            RECT one{shape.left + 1, shape.top + 1, shape.right, shape.bottom};
            RECT two{shape.left, shape.top, shape.right - 1, shape.bottom - 1};
            Pass(dc, one, PenStyleOf(p_.lineStyle), 1, first, fill, 1, cornerW, cornerH);
            Pass(dc, two, PenStyleOf(p_.lineStyle), 1, second, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), 0,
                 cornerW, cornerH);
        }
        if (p_.fillColor != kSystemColor) DeleteObject(fill);
    }

    // One outline pass; `lineOffset` moves the lines of shapes 6 and 7 down or right.
    void Pass(HDC dc, const RECT& r, int penStyle, int width, COLORREF color, HBRUSH brush, int lineOffset,
              int cornerW, int cornerH) {
        HPEN pen = CreatePen(penStyle, width, color);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        RECT client{};
        GetClientRect(Handle(), &client);
        switch (p_.shape) {
            case kShapeRectangle:
            case kShapeSquare: Rectangle(dc, r.left, r.top, r.right, r.bottom); break;
            case kShapeEllipse:
            case kShapeCircle: Ellipse(dc, r.left, r.top, r.right, r.bottom); break;
            case kShapeRoundRectangle:
            case kShapeRoundSquare: RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerW, cornerH); break;
            case kShapeHorizontalLine:
                MoveToEx(dc, client.left, client.top + lineOffset, nullptr);
                LineTo(dc, client.right, client.top + lineOffset);
                break;
            case kShapeVerticalLine:
                MoveToEx(dc, client.left + lineOffset, client.top, nullptr);
                LineTo(dc, client.left + lineOffset, client.bottom);
                break;
            default: break;
        }
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }

    ShapeBoxProperties p_;
};

}  // namespace

void* ShapeBoxInterface(int32_t code) { return TypeInterfaceOf<ShapeBox>(code); }

}  // namespace ruvelto::components

#include "extui/xp_style_paint.h"

#include <commctrl.h>

#include <algorithm>

#include "extui/xp_style_schemes.h"

namespace ruvelto::extui {
namespace {

using namespace skin_state;

// ---- gradients ----

using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
HMODULE gradientLibrary = nullptr;
GradientFillFunction gradientFill = nullptr;

GradientFillFunction GradientFunction() {
    if (!gradientLibrary) {
        gradientLibrary = LoadLibraryA("msimg32.dll");
        gradientFill = gradientLibrary
                           ? reinterpret_cast<GradientFillFunction>(reinterpret_cast<void*>(GetProcAddress(gradientLibrary, "GradientFill")))
                           : nullptr;
    }
    return gradientFill;
}

TRIVERTEX Vertex(int x, int y, COLORREF c) {
    TRIVERTEX v{};
    v.x = x, v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    return v;
}

COLORREF Mix(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

void FillSolid(HDC dc, const RECT& r, COLORREF c) {
    SetBkColor(dc, c);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A rectangle shaded from four corner colours (two triangles), the way the theme's faces shade
// from their top-left to their bottom-right.
void FourCornerGradient(HDC dc, const RECT& r, COLORREF topLeft, COLORREF topRight, COLORREF bottomLeft,
                        COLORREF bottomRight) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    GradientFillFunction fill = GradientFunction();
    if (!fill) {
        FillSolid(dc, r, Mix(topLeft, bottomRight));
        return;
    }
    TRIVERTEX v[4] = {Vertex(r.left, r.top, topLeft), Vertex(r.right, r.top, topRight),
                      Vertex(r.left, r.bottom, bottomLeft), Vertex(r.right, r.bottom, bottomRight)};
    GRADIENT_TRIANGLE t[2] = {{0, 1, 2}, {1, 3, 2}};
    fill(dc, v, 4, t, 2, GRADIENT_FILL_TRIANGLE);
}

// Top colour over the whole top edge, bottom colour over the bottom edge.
void VerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    FourCornerGradient(dc, r, top, top, bottom, bottom);
}

void Frame(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

void RoundFrame(HDC dc, const RECT& r, COLORREF c, int corner) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

RECT Inset(RECT r, int dx, int dy) {
    InflateRect(&r, -dx, -dy);
    return r;
}

// ---- the memory copy ----

class MemoryCopy {
public:
    MemoryCopy(HWND window, bool seed) : window_(window) {
        RECT r;
        GetWindowRect(window, &r);
        width_ = r.right - r.left, height_ = r.bottom - r.top;
        windowDc_ = GetDCEx(window, nullptr, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS | DCX_CLIPCHILDREN);
        if (!windowDc_ || width_ <= 0 || height_ <= 0) return;
        memory_ = CreateCompatibleDC(windowDc_);
        bitmap_ = CreateCompatibleBitmap(windowDc_, width_, height_);
        if (!memory_ || !bitmap_) return;
        oldBitmap_ = SelectObject(memory_, bitmap_);
        SetBkMode(memory_, TRANSPARENT);
        if (seed) BitBlt(memory_, 0, 0, width_, height_, windowDc_, 0, 0, SRCCOPY);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
        oldFont_ = SelectObject(memory_, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        ok_ = true;
    }
    ~MemoryCopy() {
        if (ok_) BitBlt(windowDc_, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY);
        if (memory_) {
            if (oldFont_) SelectObject(memory_, oldFont_);
            if (oldBitmap_) SelectObject(memory_, oldBitmap_);
            DeleteDC(memory_);
        }
        if (bitmap_) DeleteObject(bitmap_);
        if (windowDc_) ReleaseDC(window_, windowDc_);
    }
    MemoryCopy(const MemoryCopy&) = delete;
    MemoryCopy& operator=(const MemoryCopy&) = delete;

    bool ok() const { return ok_; }
    HDC dc() const { return memory_; }
    HDC windowDc() const { return windowDc_; }
    RECT Whole() const { return {0, 0, width_, height_}; }
    // The client area in window coordinates.
    RECT Client() const {
        RECT client, outer;
        GetClientRect(window_, &client);
        GetWindowRect(window_, &outer);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -outer.left, -outer.top);
        return client;
    }

private:
    HWND window_;
    HDC windowDc_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    int width_ = 0, height_ = 0;
    bool ok_ = false;
};

// ---- shared pieces ----

void FillParentBackground(HDC dc, const SkinRecord& r, const RECT& area) {
    FillSolid(dc, area, r.coloursKnown ? r.brushColour : GetSysColor(COLOR_BTNFACE));
}

COLORREF TextColour(const SkinRecord& r) {
    if (r.state & kDisabled) return DisabledColours{}.text;
    return r.coloursKnown ? r.textColour : GetSysColor(COLOR_BTNTEXT);
}

UINT TextFormat(DWORD style, UINT defaultAlign) {
    UINT format = DT_WORDBREAK;
    switch (style & (BS_LEFT | BS_RIGHT | BS_CENTER)) {
        case BS_LEFT: format |= DT_LEFT; break;
        case BS_RIGHT: format |= DT_RIGHT; break;
        case BS_CENTER: format |= DT_CENTER; break;
        default: format |= defaultAlign; break;
    }
    if (!(style & BS_MULTILINE)) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE;
    return format;
}

// Draws the window's text in `area`, vertically placed by the button style; returns the rectangle
// the text took.
RECT DrawCaption(HDC dc, HWND window, const RECT& area, UINT align, COLORREF colour) {
    char text[512];
    const int length = GetWindowTextA(window, text, sizeof text);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const UINT format = TextFormat(style, align);
    RECT measured = area;
    DrawTextA(dc, text, length, &measured, format | DT_CALCRECT);
    const int textHeight = measured.bottom - measured.top;
    RECT placed = area;
    switch (style & (BS_TOP | BS_BOTTOM | BS_VCENTER)) {
        case BS_TOP: placed.bottom = placed.top + textHeight; break;
        case BS_BOTTOM: placed.top = placed.bottom - textHeight; break;
        default:
            placed.top = area.top + (area.bottom - area.top - textHeight) / 2;
            placed.bottom = placed.top + textHeight;
            break;
    }
    SetTextColor(dc, colour);
    if (length > 0) DrawTextA(dc, text, length, &placed, format & ~DT_CALCRECT);
    // The text's own extent, for the focus mark.
    const int textWidth = std::min<int>(measured.right - measured.left, area.right - area.left);
    if (format & DT_CENTER)
        placed.left = area.left + (area.right - area.left - textWidth) / 2;
    else if (format & DT_RIGHT)
        placed.left = area.right - textWidth;
    placed.right = placed.left + textWidth;
    return placed;
}

void FocusMark(HDC dc, RECT r) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &r);
}

// ---- push buttons ----

void PaintPushButton(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole) {
    FillParentBackground(dc, r, whole);
    const DisabledColours disabled;
    const bool pressed = (r.state & kPressed) || (r.state & kChecked);
    RECT face = Inset(whole, 1, 1);
    if (r.state & kDisabled) {
        FillSolid(dc, face, disabled.face);
        RoundFrame(dc, whole, disabled.border, 5);
    } else {
        if (pressed)
            FourCornerGradient(dc, face, s.pressedTop, s.pressedTop, Mix(s.pressedTop, s.pressedBottom), s.pressedBottom);
        else
            FourCornerGradient(dc, face, s.faceTop, s.faceTop, Mix(s.faceTop, s.faceBottom), s.faceBottom);
        // The rim: orange under the mouse, blue on the default or focused button.
        COLORREF rimTop = 0, rimBottom = 0;
        bool rim = false;
        if ((r.state & kHot) && !pressed)
            rimTop = s.hotTop, rimBottom = s.hotBottom, rim = true;
        else if ((r.state & (kDefaultButton | kFocused)) && !pressed)
            rimTop = s.defaultTop, rimBottom = s.defaultBottom, rim = true;
        if (rim) {
            RECT rimRect = Inset(whole, 1, 1);
            for (int i = 0; i < 2; ++i) {
                Line(dc, rimRect.left + 1, rimRect.top, rimRect.right - 1, rimRect.top, rimTop);
                Line(dc, rimRect.left + 1, rimRect.bottom - 1, rimRect.right - 1, rimRect.bottom - 1, rimBottom);
                RECT left = {rimRect.left, rimRect.top + 1, rimRect.left + 1, rimRect.bottom - 1};
                RECT right = {rimRect.right - 1, rimRect.top + 1, rimRect.right, rimRect.bottom - 1};
                VerticalGradient(dc, left, rimTop, rimBottom);
                VerticalGradient(dc, right, rimTop, rimBottom);
                rimRect = Inset(rimRect, 1, 1);
            }
        }
        RoundFrame(dc, whole, s.buttonBorder, 5);
    }
    RECT textArea = Inset(whole, 4, 3);
    if (pressed && !(r.state & kDisabled)) OffsetRect(&textArea, 1, 1);
    RECT text = DrawCaption(dc, r.window, textArea, DT_CENTER, TextColour(r));
    (void)text;
    if ((r.state & kFocused) && !(r.state & kDisabled)) FocusMark(dc, Inset(whole, 3, 3));
}

// ---- check boxes and radio buttons ----

constexpr int kBoxSize = 13;

RECT MarkRect(HWND window, const RECT& whole) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const int top = whole.top + (whole.bottom - whole.top - kBoxSize) / 2;
    const int left = (style & BS_LEFTTEXT) ? whole.right - kBoxSize : whole.left;
    return {left, top, left + kBoxSize, top + kBoxSize};
}

void MarkFace(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& inside) {
    if (r.state & kDisabled) {
        FillSolid(dc, inside, DisabledColours{}.face);
    } else if (r.state & kPressed) {
        FourCornerGradient(dc, inside, s.pressedBottom, s.pressedTop, s.pressedTop, s.pressedTop);
    } else if (r.state & kHot) {
        FourCornerGradient(dc, inside, s.hotTop, s.boxBottom, s.boxBottom, s.hotBottom);
    } else {
        FourCornerGradient(dc, inside, s.boxTop, Mix(s.boxTop, s.boxBottom), Mix(s.boxTop, s.boxBottom), s.boxBottom);
    }
}

void PaintCheckMark(HDC dc, const RECT& box, COLORREF c) {
    // A tick of three-pixel-thick strokes.
    for (int t = 0; t < 3; ++t) {
        Line(dc, box.left + 3, box.top + 5 + t, box.left + 5, box.top + 7 + t, c);
        Line(dc, box.left + 5, box.top + 7 + t, box.left + 10, box.top + 2 + t, c);
    }
}

void PaintTickControl(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole, bool radio) {
    FillParentBackground(dc, r, whole);
    const RECT mark = MarkRect(r.window, whole);
    const bool disabled = r.state & kDisabled;
    const COLORREF border = disabled ? DisabledColours{}.border : s.boxBorder;
    const COLORREF glyph = disabled ? DisabledColours{}.text : s.glyph;
    if (radio) {
        HRGN round = CreateEllipticRgn(mark.left, mark.top, mark.right + 1, mark.bottom + 1);
        SelectClipRgn(dc, round);
        MarkFace(dc, r, s, mark);
        SelectClipRgn(dc, nullptr);
        DeleteObject(round);
        HPEN pen = CreatePen(PS_SOLID, 1, border);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, mark.left, mark.top, mark.right, mark.bottom);
        if (r.state & kChecked) {
            HBRUSH dot = CreateSolidBrush(glyph);
            HPEN dotPen = CreatePen(PS_SOLID, 1, glyph);
            SelectObject(dc, dot);
            SelectObject(dc, dotPen);
            Ellipse(dc, mark.left + 4, mark.top + 4, mark.right - 4, mark.bottom - 4);
            SelectObject(dc, pen);
            DeleteObject(dotPen);
            SelectObject(dc, GetStockObject(NULL_BRUSH));
            DeleteObject(dot);
        }
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    } else {
        MarkFace(dc, r, s, Inset(mark, 1, 1));
        Frame(dc, mark, border);
        if (r.state & kChecked) PaintCheckMark(dc, mark, glyph);
        if (r.state & kIndeterminate) FillSolid(dc, Inset(mark, 3, 3), glyph);
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongA(r.window, GWL_STYLE));
    RECT textArea = whole;
    if (style & BS_LEFTTEXT)
        textArea.right = mark.left - 4;
    else
        textArea.left = mark.right + 4;
    const RECT text = DrawCaption(dc, r.window, textArea, DT_LEFT, TextColour(r));
    if ((r.state & kFocused) && !disabled && text.right > text.left) FocusMark(dc, Inset(text, -1, -1));
}

// ---- edits, combo boxes and their lists ----

COLORREF EditFrameColour(const SkinRecord& r, const SkinScheme& s) {
    if (!(r.state & kDisabled)) return s.editFrame;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto less = [](int c) { return c >= 0x20 ? c - 0x20 : 0; };
    return RGB(less(GetRValue(face)), less(GetGValue(face)), less(GetBValue(face)));
}

// The two outermost pixel rings: the scheme frame and, inside it, the field's own colour.
void PaintFieldFrame(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole) {
    Frame(dc, whole, EditFrameColour(r, s));
    const bool grey = (r.state & kDisabled) || (r.state & kReadOnly);
    Frame(dc, Inset(whole, 1, 1), GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
}

// Whether the window has a frame of its own in its non-client area, which the skin redraws.
bool HasFrame(HWND window, const RECT& whole, const RECT& client) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    const bool framed = (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) ||
                        (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
    return framed && !EqualRect(&whole, &client);
}

void PaintEdit(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole, const RECT& client) {
    // An edit without a frame has nothing of the skin to show.
    if (!HasFrame(r.window, whole, client)) return;
    PaintFieldFrame(dc, r, s, whole);
}

// A two-pixel-thick chevron, 7 pixels across, pointing down (or right when horizontal) when
// `forward`, up (or left) otherwise.
void Chevron(HDC dc, int cx, int cy, bool forward, bool horizontal, COLORREF c) {
    for (int t = 0; t < 2; ++t) {
        for (int i = -3; i <= 3; ++i) {
            const int along = (forward ? 2 - (i < 0 ? -i : i) - t : -2 + (i < 0 ? -i : i) + t);
            if (horizontal)
                SetPixel(dc, cx + along, cy + i, c);
            else
                SetPixel(dc, cx + i, cy + along, c);
        }
    }
}

void PaintArrowButton(HDC dc, const SkinScheme& s, const RECT& button, bool hot, bool pressed, bool disabled) {
    const DisabledColours d;
    RECT face = Inset(button, 1, 1);
    if (disabled)
        FillSolid(dc, face, d.face);
    else if (pressed)
        FourCornerGradient(dc, face, s.arrowPressedTop, s.arrowPressedTop, Mix(s.arrowPressedTop, s.arrowPressedBottom),
                           s.arrowPressedBottom);
    else if (hot)
        FourCornerGradient(dc, face, s.arrowHotTop, s.arrowHotTop, Mix(s.arrowHotTop, s.arrowHotBottom), s.arrowHotBottom);
    else
        FourCornerGradient(dc, face, s.arrowTop, s.arrowTop, Mix(s.arrowTop, s.arrowBottom), s.arrowBottom);
    RoundFrame(dc, button, disabled ? d.border : s.arrowBorder, 3);
}

void PaintCombo(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole) {
    PaintFieldFrame(dc, r, s, whole);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    RECT button;
    if (GetComboBoxInfo(r.window, &info) && info.rcButton.right > info.rcButton.left) {
        button = info.rcButton;  // client coordinates; a combo box has no non-client frame of its own
    } else {
        const int w = GetSystemMetrics(SM_CXVSCROLL);
        button = {whole.right - 2 - w, whole.top + 2, whole.right - 2, whole.bottom - 2};
    }
    // The button area also covers the ring between it and the frame, so the old 3-D button is gone.
    FillSolid(dc, button, GetSysColor((r.state & kDisabled) ? COLOR_BTNFACE : COLOR_WINDOW));
    const RECT arrow = Inset(button, 0, 0);
    const bool disabled = r.state & kDisabled;
    PaintArrowButton(dc, s, arrow, (r.state & kHot) != 0, (r.state & kPressed) != 0, disabled);
    Chevron(dc, (arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2, true, false,
            disabled ? DisabledColours{}.text : s.arrowGlyph);
}

void PaintComboList(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole, const RECT& client) {
    if (!HasFrame(r.window, whole, client)) return;
    Frame(dc, whole, EditFrameColour(r, s));
}

// ---- up-down controls ----

void PaintUpDown(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole) {
    FillParentBackground(dc, r, whole);
    const bool horizontal = r.state & kHorizontal;
    RECT first = whole, second = whole;  // upper (or left) and lower (or right) halves
    if (horizontal)
        first.right = second.left = (whole.left + whole.right) / 2;
    else
        first.bottom = second.top = (whole.top + whole.bottom) / 2;
    const bool disabled = r.state & kDisabled;
    const bool hot = r.state & kHot;
    const bool upperHot = r.state & kUpperHalfHot;
    const bool pressed = r.state & kPressed;
    const COLORREF glyph = disabled ? DisabledColours{}.text : s.arrowGlyph;
    PaintArrowButton(dc, s, first, hot && upperHot, pressed && hot && upperHot, disabled);
    PaintArrowButton(dc, s, second, hot && !upperHot, pressed && hot && !upperHot, disabled);
    // Up-down arrows point up and down; horizontal ones left and right.
    Chevron(dc, (first.left + first.right) / 2, (first.top + first.bottom) / 2, false, horizontal, glyph);
    Chevron(dc, (second.left + second.right) / 2, (second.top + second.bottom) / 2, true, horizontal, glyph);
}

// ---- group boxes ----

void PaintGroupBox(HDC dc, const SkinRecord& r, const SkinScheme& s, const RECT& whole) {
    char text[256];
    const int length = GetWindowTextA(r.window, text, sizeof text);
    SIZE extent{};
    if (length > 0)
        GetTextExtentPoint32A(dc, text, length, &extent);
    else
        GetTextExtentPoint32A(dc, "Ag", 2, &extent);  // a sample text places the top edge
    const int top = extent.cy / 2;
    // The old etched frame is covered by a two-pixel band of the parent's background.
    RECT band = {whole.left, whole.top + top, whole.right, whole.bottom};
    HBRUSH background = CreateSolidBrush(r.coloursKnown ? r.brushColour : GetSysColor(COLOR_BTNFACE));
    FrameRect(dc, &band, background);
    RECT inner = Inset(band, 1, 1);
    FrameRect(dc, &inner, background);
    DeleteObject(background);
    RoundFrame(dc, band, (r.state & kDisabled) ? DisabledColours{}.border : s.groupFrame, 7);
    if (length <= 0) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(r.window, GWL_STYLE));
    const int width = whole.right - whole.left;
    int x = whole.left + 10;
    if ((style & (BS_LEFT | BS_RIGHT | BS_CENTER)) == BS_CENTER)
        x = whole.left + (width - extent.cx) / 2;
    else if ((style & (BS_LEFT | BS_RIGHT | BS_CENTER)) == BS_RIGHT)
        x = whole.right - 10 - extent.cx;
    RECT gap = {x - 2, whole.top, x + extent.cx + 2, whole.top + extent.cy};
    FillSolid(dc, gap, r.coloursKnown ? r.brushColour : GetSysColor(COLOR_BTNFACE));
    COLORREF colour = s.groupCaption;
    if (r.state & kDisabled)
        colour = DisabledColours{}.text;
    else if (r.coloursKnown && r.textColour != GetSysColor(COLOR_BTNTEXT))
        colour = r.textColour;  // a caption colour of the program's own choosing
    SetTextColor(dc, colour);
    TextOutA(dc, x, whole.top, text, length);
}

}  // namespace

void TakeParentColours(SkinRecord& record, HDC dc) {
    HWND parent = GetParent(record.window);
    if (!parent || !dc) return;
    const int saved = SaveDC(dc);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(record.window)));
    const COLORREF text = GetTextColor(dc);
    RestoreDC(dc, saved);
    LOGBRUSH logical{};
    const bool solid =
        brush && GetObjectA(brush, sizeof logical, &logical) == sizeof logical && logical.lbStyle == BS_SOLID;
    record.brushColour = solid ? logical.lbColor : GetSysColor(COLOR_BTNFACE);
    record.textColour = text;
    record.coloursKnown = true;
}

void PaintSkinned(SkinRecord& record, int scheme) {
    if (!IsWindow(record.window) || !IsWindowVisible(record.window)) return;
    const SkinScheme& s = SchemeColours(scheme);
    const bool seed = PaintsOverControl(record.kind);
    // Asked afresh at every paint: the parent's colours may have changed since the last erase.
    if (!seed) {
        HDC dc = GetDC(record.window);
        TakeParentColours(record, dc);
        ReleaseDC(record.window, dc);
    }
    MemoryCopy copy(record.window, seed);
    if (!copy.ok()) return;
    const RECT whole = copy.Whole();
    switch (record.kind) {
        case kPushButton: PaintPushButton(copy.dc(), record, s, whole); break;
        case kCheckBoxKind: PaintTickControl(copy.dc(), record, s, whole, false); break;
        case kRadioButton: PaintTickControl(copy.dc(), record, s, whole, true); break;
        case kEdit: PaintEdit(copy.dc(), record, s, whole, copy.Client()); break;
        case kComboBox: PaintCombo(copy.dc(), record, s, whole); break;
        case kUpDown: PaintUpDown(copy.dc(), record, s, whole); break;
        case kGroupBoxKind: PaintGroupBox(copy.dc(), record, s, whole); break;
        case kComboList: PaintComboList(copy.dc(), record, s, whole, copy.Client()); break;
        default: break;
    }
}

void ReleaseGradientLibrary() {
    if (gradientLibrary) FreeLibrary(gradientLibrary);
    gradientLibrary = nullptr;
    gradientFill = nullptr;
}

}  // namespace ruvelto::extui

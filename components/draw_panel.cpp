#include "components/draw_panel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "commands/command_values.h"
#include "components/control_style.h"
#include "components/panel_class.h"
#include "components/picture_registry.h"
#include "components/standard_types.h"
#include "forms/units.h"

namespace ruvelto::components {
namespace {

enum DrawPanelProperty : int32_t {
    kBorder, kBackColor, kPicture, kPictureMode, kAutoRedraw, kScaleMode, kPenStyle, kDrawMode, kPenWidth, kPenColor,
    kBrushStyle, kBrushColor, kTextColor, kTextBackColor, kFont, kScaleWidth, kScaleHeight,
};

// Twips, thousandths and hundredths of an inch, hundredths and tenths of a millimetre per pixel
// inch, by ScaleMode 1-5.
constexpr double kUnitsPerInch[6] = {0, 253.8071065989848, 2538.0710659898477, 100, 1000, 1440};
constexpr int kFixedModes[6] = {MM_TEXT, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS};

}  // namespace

bool DrawPanel::CreateControl(const CreateArguments& a, DWORD style) {
    MakeFont();
    MakePen();
    MakeBrush();
    return CreateChild(0, PanelClassName(), "", style, a);
}

void DrawPanel::ApplyProperties() {
    ApplyBorder(ClampChoice(p_.border, 5));
    if (p_.autoRedraw) MakeOffscreen(false);
}

void DrawPanel::ReleaseResources() {
    // Destroyed by a redraw handler: the paint DC gives back the pen, brush and font first, so
    // that they can really be deleted.
    if (paintDc_) RestoreDC(paintDc_, paintSaved_), paintDc_ = nullptr;
    DeleteOffscreen();
    ReleaseBackgroundPicture();
    for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&pen_), reinterpret_cast<HGDIOBJ*>(&brush_),
                            reinterpret_cast<HGDIOBJ*>(&patternBitmap_), reinterpret_cast<HGDIOBJ*>(&font_)})
        if (*object) DeleteObject(*object), *object = nullptr;
    ComponentBase::ReleaseResources();
}

void DrawPanel::MakePen() {
    if (pen_) DeleteObject(pen_);
    static const int styles[] = {PS_ALTERNATE, PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_INSIDEFRAME};
    const uint32_t style = std::min<uint32_t>(p_.penStyle, 6);
    pen_ = CreatePen(styles[style], style == 0 ? 0 : static_cast<int>(p_.penWidth), ResolveColor(p_.penColor));
}

void DrawPanel::MakeBrush() {
    if (brush_) DeleteObject(brush_), brush_ = nullptr;
    if (patternBitmap_) DeleteObject(patternBitmap_), patternBitmap_ = nullptr;
    const COLORREF color = ResolveColor(p_.brushColor);
    static const int hatches[] = {HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS, HS_FDIAGONAL, HS_HORIZONTAL, HS_VERTICAL};
    if (p_.brushStyle == 0) {
        LOGBRUSH hollow{BS_NULL, 0, 0};
        brush_ = CreateBrushIndirect(&hollow);
    } else if (p_.brushStyle == 1) {
        brush_ = CreateSolidBrush(color);
    } else if (p_.brushStyle <= 7) {
        brush_ = CreateHatchBrush(hatches[p_.brushStyle - 2], color);
    } else if (const uint8_t* pattern = BrushPattern(p_.brushStyle)) {
        uint16_t rows[8];  // monochrome bitmap rows are word-aligned
        for (int i = 0; i < 8; ++i) rows[i] = pattern[i];
        patternBitmap_ = CreateBitmap(8, 8, 1, 1, rows);
        if (patternBitmap_) brush_ = CreatePatternBrush(patternBitmap_);
    }
}

void DrawPanel::MakeFont() {
    face_ = forms::LogFontOf(p_.font.data(), static_cast<uint32_t>(p_.font.size()));
    LOGFONTA made = face_;
    const uint32_t k = std::min<uint32_t>(p_.scaleMode, 5);
    if (k != 0) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        made.lfHeight = static_cast<LONG>(-(std::abs(double(face_.lfHeight)) / dpi) * kUnitsPerInch[k]);
    }
    std::vector<uint8_t> bytes(sizeof made);
    std::memcpy(bytes.data(), &made, sizeof made);
    bool stock = true;
    HFONT font = MakeControlFont(bytes, &stock);
    if (font_) DeleteObject(font_);
    font_ = stock ? nullptr : font;
}

DecodedPicture* DrawPanel::Picture() {
    if (!pictureTried_ && !p_.picture.empty()) {
        pictureTried_ = true;
        picture_ = DecodePicture(p_.picture.data(), static_cast<uint32_t>(p_.picture.size()));
    }
    return picture_;
}

void DrawPanel::ReleaseBackgroundPicture() {
    ReleasePicture(picture_);
    picture_ = nullptr;
    pictureTried_ = false;
}

void DrawPanel::FillBackground(HDC dc, const RECT& client, const RECT& area) {
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    HBRUSH back = CreateSolidBrush(ResolveColor(p_.backColor));
    DecodedPicture* picture = Picture();
    PictureDrawable d;
    if (picture && MakeDrawable(dc, *picture, &d)) {
        const int W = client.right, H = client.bottom;
        RECT covered{0, 0, 0, 0};
        switch (std::min<uint32_t>(p_.pictureMode, 2)) {
            case 0:
                components::DrawPicture(dc, d, 0, 0, -1, -1);
                covered = {0, 0, d.width, d.height};
                break;
            case 1:
                for (int y = 0; y < H; y += d.height)
                    for (int x = 0; x < W; x += d.width) components::DrawPicture(dc, d, x, y, -1, -1);
                covered = client;
                break;
            default: {
                const PictureRect r = FitCentred(W, H, d.width, d.height);
                components::DrawPicture(dc, d, r.x, r.y, r.width, r.height);
                covered = {r.x, r.y, r.x + r.width, r.y + r.height};
                break;
            }
        }
        DeleteDrawable(&d);
        ExcludeClipRect(dc, covered.left, covered.top, covered.right, covered.bottom);
    }
    FillRect(dc, &area, back);
    DeleteObject(back);
    RestoreDC(dc, saved);
}

void DrawPanel::MakeOffscreen(bool keepContent) {
    if (!Handle()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = std::max<LONG>(client.right, 1), height = std::max<LONG>(client.bottom, 1);
    HDC windowDc = GetDC(Handle());
    HBITMAP made = CreateCompatibleBitmap(windowDc, width, height);
    if (made) {
        HDC dc = CreateCompatibleDC(windowDc);
        HGDIOBJ old = SelectObject(dc, made);
        const RECT all{0, 0, width, height};
        FillBackground(dc, all, all);
        // What was drawn stays in the top-left corner, unless a centred picture is the background.
        const bool centred = Picture() && p_.pictureMode == 2;
        if (keepContent && offscreen_ && !centred) {
            HDC previous = CreateCompatibleDC(windowDc);
            HGDIOBJ oldPrevious = SelectObject(previous, offscreen_);
            BitBlt(dc, 0, 0, std::min<LONG>(width, offscreenSize_.cx), std::min<LONG>(height, offscreenSize_.cy), previous,
                   0, 0, SRCCOPY);
            SelectObject(previous, oldPrevious);
            DeleteDC(previous);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    ReleaseDC(Handle(), windowDc);
    DeleteOffscreen();
    offscreen_ = made;
    offscreenSize_ = {width, height};
}

void DrawPanel::DeleteOffscreen() {
    if (offscreen_) DeleteObject(offscreen_);
    offscreen_ = nullptr;
}

void DrawPanel::ApplyScaleMode(HDC dc) const {
    const uint32_t k = std::min<uint32_t>(p_.scaleMode, 5);
    SetMapMode(dc, MM_TEXT);
    if (k == 0) return;
    SetMapMode(dc, kFixedModes[k]);
    SIZE extent{};
    GetWindowExtEx(dc, &extent);
    SIZE viewport{};
    GetViewportExtEx(dc, &viewport);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, extent.cx, -extent.cy, nullptr);
    SetViewportExtEx(dc, viewport.cx, viewport.cy, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
}

int DrawPanel::Prepare(HDC dc, bool forText) {
    const int saved = SaveDC(dc);
    ApplyScaleMode(dc);
    SelectObject(dc, pen_ ? static_cast<HGDIOBJ>(pen_) : GetStockObject(BLACK_PEN));
    SelectObject(dc, brush_ ? static_cast<HGDIOBJ>(brush_) : GetStockObject(WHITE_BRUSH));
    SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, ResolveColor(forText ? p_.textColor : p_.brushColor));
    if (p_.textBackColor == kSystemColor) {
        SetBkMode(dc, TRANSPARENT);
        SetBkColor(dc, ResolveColor(p_.backColor));
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ResolveColor(p_.textBackColor));
    }
    SetROP2(dc, static_cast<int>(std::min<uint32_t>(p_.drawMode, 15)) + 1);
    SetStretchBltMode(dc, PictureStretchMode(dc));
    SetPolyFillMode(dc, WINDING);
    return saved;
}

void DrawPanel::Unprepare(HDC dc, int saved) {
    // Restoring the DC selects the stock pen, brush and font back before the objects may change.
    RestoreDC(dc, saved);
}

template <class Draw>
void DrawPanel::DrawOnTargets(Draw draw) {
    if (offscreen_) {
        HDC windowDc = GetDC(Handle());
        HDC dc = CreateCompatibleDC(windowDc);
        HGDIOBJ old = SelectObject(dc, offscreen_);
        draw(dc);
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(Handle(), windowDc);
    }
    if (paintDc_) {
        draw(paintDc_);
    } else if (Handle()) {
        HDC dc = GetDC(Handle());
        draw(dc);
        ReleaseDC(Handle(), dc);
    }
}

void DrawPanel::ClearPanel(std::optional<int32_t> left, std::optional<int32_t> top, std::optional<int32_t> width,
                           std::optional<int32_t> height) {
    RECT client{};
    GetClientRect(Handle(), &client);
    RECT r = client;
    if (left) r.left = *left;
    if (top) r.top = *top;
    if (width) r.right = r.left + *width;
    if (height) r.bottom = r.top + *height;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    DrawOnTargets([&](HDC dc) {
        FillBackground(dc, client, r);
        MoveToEx(dc, r.left, r.top, nullptr);
    });
    textPosition_ = {r.left, r.top};
}

void DrawPanel::DrawPicture(const DecodedPicture& picture, int32_t x, int32_t y, std::optional<int32_t> width,
                            std::optional<int32_t> height, std::optional<int32_t> mode) {
    int32_t operation = SRCCOPY;
    switch (mode.value_or(1)) {
        case 1: operation = SRCCOPY; break;
        case 2: operation = NOTSRCCOPY; break;
        case 3: operation = SRCINVERT; break;
        case 4: operation = SRCPAINT; break;
        case 5: operation = SRCAND; break;
        default: operation = *mode; break;
    }
    DrawOnTargets([&](HDC dc) {
        const int saved = Prepare(dc, false);
        POINT at{x, y}, size{width.value_or(0), height.value_or(0)};
        LPtoDP(dc, &at, 1);
        LPtoDP(dc, &size, 1);
        SetMapMode(dc, MM_TEXT);
        PictureDrawable d;
        if (MakeDrawable(dc, picture, &d)) {
            components::DrawPicture(dc, d, at.x, at.y, width ? size.x : -1, height ? size.y : -1, operation);
            DeleteDrawable(&d);
        }
        Unprepare(dc, saved);
    });
}

std::vector<uint8_t> DrawPanel::GetPicture(int32_t width, int32_t height) {
    std::vector<uint8_t> bmp;
    if (!Handle()) return bmp;
    HDC screen = GetDC(nullptr);
    HBITMAP source = offscreen_;
    HBITMAP copied = nullptr;
    int sourceWidth = offscreenSize_.cx, sourceHeight = offscreenSize_.cy;
    if (!source) {
        // What the screen shows over the client area, overlapping windows included.
        RECT client{};
        GetClientRect(Handle(), &client);
        POINT origin{0, 0};
        ClientToScreen(Handle(), &origin);
        sourceWidth = client.right, sourceHeight = client.bottom;
        copied = sourceWidth > 0 && sourceHeight > 0 ? CreateCompatibleBitmap(screen, sourceWidth, sourceHeight) : nullptr;
        if (copied) {
            HDC dc = CreateCompatibleDC(screen);
            HGDIOBJ old = SelectObject(dc, copied);
            BitBlt(dc, 0, 0, sourceWidth, sourceHeight, screen, origin.x, origin.y, SRCCOPY);
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        source = copied;
    }
    auto outputSize = [](int32_t wanted, int sourceSize) {
        if (wanted == 0) return sourceSize;
        if (wanted < 0) return MulDiv(sourceSize, std::max(-wanted, 10), 100);
        return static_cast<int>(wanted);
    };
    const int w = outputSize(width, sourceWidth), h = outputSize(height, sourceHeight);
    if (source && w > 0 && h > 0) {
        HPALETTE palette = nullptr;
        if (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) {
            const int entries = std::min(GetDeviceCaps(screen, SIZEPALETTE), 255);
            std::vector<uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * 256);
            auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
            logical->palVersion = 0x300;
            logical->palNumEntries = static_cast<WORD>(entries);
            GetSystemPaletteEntries(screen, 0, entries, logical->palPalEntry);
            palette = CreatePalette(logical);
        }
        HBITMAP converted = source;
        HBITMAP stretched = nullptr;
        if (w != sourceWidth || h != sourceHeight) {
            stretched = CreateCompatibleBitmap(screen, w, h);
            if (stretched) {
                HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
                HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, stretched);
                SetStretchBltMode(to, PictureStretchMode(screen));
                SetBrushOrgEx(to, 0, 0, nullptr);
                StretchBlt(to, 0, 0, w, h, from, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
                SelectObject(from, oldFrom), SelectObject(to, oldTo);
                DeleteDC(from), DeleteDC(to);
            }
            converted = stretched;
        }
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = w;
        header.biHeight = h;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        const uint64_t imageBytes = uint64_t(DibRowBytes(w, 24)) * static_cast<uint32_t>(h);
        header.biSizeImage = static_cast<uint32_t>(imageBytes);
        // A size the memory (or a BMP's 32-bit size field) cannot hold gives the empty byte set
        // of a failed conversion.
        try {
            if (converted && imageBytes <= UINT32_MAX - 54) bmp.assign(14 + sizeof header + header.biSizeImage, 0);
        } catch (const std::bad_alloc&) {
            bmp.clear();
        }
        if (converted && !bmp.empty()) {
            HPALETTE oldPalette = palette ? SelectPalette(screen, palette, FALSE) : nullptr;
            if (palette) RealizePalette(screen);
            BITMAPINFOHEADER asked = header;
            const int lines = GetDIBits(screen, converted, 0, static_cast<UINT>(h), bmp.data() + 54,
                                        reinterpret_cast<BITMAPINFO*>(&asked), DIB_RGB_COLORS);
            if (palette) SelectPalette(screen, oldPalette, FALSE);
            if (lines != h) {
                bmp.clear();
            } else {
                const uint32_t fileSize = static_cast<uint32_t>(bmp.size());
                bmp[0] = 'B', bmp[1] = 'M';
                for (int i = 0; i < 4; ++i) bmp[2 + i] = uint8_t(fileSize >> (8 * i));
                bmp[10] = 54;
                std::memcpy(bmp.data() + 14, &header, sizeof header);
            }
        }
        if (stretched) DeleteObject(stretched);
        if (palette) DeleteObject(palette);
    }
    if (copied) DeleteObject(copied);
    ReleaseDC(nullptr, screen);
    return bmp;
}

void DrawPanel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT area = ps.rcPaint;
    if (offscreen_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, offscreen_);
        const RECT bitmap{0, 0, offscreenSize_.cx, offscreenSize_.cy};
        RECT copy{};
        if (IntersectRect(&copy, &area, &bitmap))
            BitBlt(dc, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, memory, copy.left, copy.top,
                   SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        EndPaint(Handle(), &ps);
        return;
    }
    RECT client{};
    GetClientRect(Handle(), &client);
    FillBackground(dc, client, area);
    const int saved = Prepare(dc, false);
    POINT corners[2] = {{area.left, area.top}, {area.right, area.bottom}};
    DPtoLP(dc, corners, 2);
    paintDc_ = dc;
    paintSaved_ = saved;
    const POINT kept = textPosition_;
    textPosition_ = {0, 0};
    HWND window = Handle();
    RaiseEvent(0, {static_cast<uint32_t>(corners[0].x), static_cast<uint32_t>(corners[0].y),
                   static_cast<uint32_t>(corners[1].x), static_cast<uint32_t>(corners[1].y)});
    // A handler may have destroyed the panel, and with it this object (which restored the DC
    // as it went); the paint still ends.
    if (!IsWindow(window)) {
        EndPaint(window, &ps);
        return;
    }
    paintDc_ = nullptr;
    textPosition_ = kept;
    Unprepare(dc, saved);
    EndPaint(window, &ps);
}

LRESULT DrawPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: Paint(); return 0;
        case WM_SIZE:
            if (p_.autoRedraw) MakeOffscreen(true);
            textPosition_ = {0, 0};
            break;
        case WM_MOUSEACTIVATE: {
            // A click on the panel itself (not on a child) gives it the focus when it is a tab stop.
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(Handle(), &at);
            if ((GetWindowLongA(Handle(), GWL_STYLE) & WS_TABSTOP) && ChildWindowFromPoint(Handle(), at) == Handle())
                SetFocus(Handle());
            break;
        }
        default: break;
    }
    return ComponentBase::WindowProc(message, wParam, lParam);
}

uint32_t DrawPanel::SetProperty(int32_t index, const forms::PropertyData& v) {
    const uint32_t value = IntegerOf(v);
    auto changed = [](uint32_t* field, uint32_t newValue) {
        if (*field == newValue) return false;
        *field = newValue;
        return true;
    };
    switch (index) {
        case kBorder:
            if (changed(&p_.border, ClampChoice(value, 5))) ApplyBorder(p_.border);
            break;
        case kBackColor:
            if (!changed(&p_.backColor, value)) break;
            if (p_.autoRedraw) MakeOffscreen(false);
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case kPicture: {
            // The same picture again changes nothing: remaking the copy would wipe the drawing.
            std::vector<uint8_t> bytes = BytesOf(v);
            if (bytes == p_.picture) break;
            p_.picture = std::move(bytes);
            ReleaseBackgroundPicture();
            if (p_.autoRedraw) MakeOffscreen(false);
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        }
        case kPictureMode:
            if (changed(&p_.pictureMode, ClampChoice(value, 2))) InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case kAutoRedraw:
            if (!changed(&p_.autoRedraw, value != 0)) break;
            if (p_.autoRedraw) MakeOffscreen(false);
            else DeleteOffscreen();
            break;
        case kScaleMode:
            if (changed(&p_.scaleMode, ClampChoice(value, 5))) MakeFont();
            break;
        case kPenStyle:
            if (changed(&p_.penStyle, ClampChoice(value, 6))) MakePen();
            break;
        case kDrawMode: p_.drawMode = ClampChoice(value, 15); break;
        case kPenWidth:
            if (changed(&p_.penWidth, static_cast<uint32_t>(ClampInt(static_cast<int32_t>(value), 0, 32767)))) MakePen();
            break;
        case kPenColor:
            if (changed(&p_.penColor, value)) MakePen();
            break;
        case kBrushStyle:
            if (changed(&p_.brushStyle, ClampChoice(value, 55))) MakeBrush();
            break;
        case kBrushColor:
            if (changed(&p_.brushColor, value)) MakeBrush();
            break;
        case kTextColor: p_.textColor = value; break;
        case kTextBackColor: p_.textBackColor = value; break;
        case kFont: {
            std::vector<uint8_t> bytes = BytesOf(v);
            if (bytes == p_.font) break;
            p_.font = std::move(bytes);
            MakeFont();
            break;
        }
        default: break;
    }
    return 0;
}

bool DrawPanel::GetProperty(int32_t index, forms::PropertyData* v) {
    switch (index) {
        case kPicture: *v = BytesData(p_.picture); return true;
        case kFont: *v = BytesData(p_.font); return true;
        case kScaleWidth:
        case kScaleHeight: {
            RECT client{};
            GetClientRect(Handle(), &client);
            HDC dc = GetDC(Handle());
            const int saved = SaveDC(dc);
            ApplyScaleMode(dc);
            POINT size{client.right, client.bottom};
            DPtoLP(dc, &size, 1);
            RestoreDC(dc, saved);
            ReleaseDC(Handle(), dc);
            *v = IntegerData(static_cast<uint32_t>(index == kScaleWidth ? size.x : size.y));
            return true;
        }
        default: break;
    }
    const uint32_t values[] = {p_.border,   p_.backColor, 0,           p_.pictureMode, p_.autoRedraw,  p_.scaleMode,
                               p_.penStyle, p_.drawMode,  p_.penWidth, p_.penColor,    p_.brushStyle,  p_.brushColor,
                               p_.textColor, p_.textBackColor};
    if (index < 0 || index > kTextBackColor) return false;
    *v = IntegerData(values[index]);
    return true;
}

namespace {

DrawPanel* PanelOf(int32_t count, const ValueRecord* args) {
    if (count < 1) return nullptr;
    return dynamic_cast<DrawPanel*>(forms::FindLoadedUnitOrFail(args[0].lo, args[0].hi));
}

// Service 9: the one text, the font's face name.
const char* FaceNameEntry(void* object, int32_t which) {
    auto* panel = object && which == 0 ? dynamic_cast<DrawPanel*>(ComponentOf(object)) : nullptr;
    return panel ? panel->FaceName() : nullptr;
}

}  // namespace

void ClearPanelCommand(ValueRecord*, int32_t count, ValueRecord* args) {
    DrawPanel* panel = PanelOf(count, args);
    if (!panel) return;
    const commands::Arguments a(count, args);
    panel->ClearPanel(a.OptionalInt(1), a.OptionalInt(2), a.OptionalInt(3), a.OptionalInt(4));
}

void DrawPictureCommand(ValueRecord*, int32_t count, ValueRecord* args) {
    DrawPanel* panel = PanelOf(count, args);
    if (!panel) return;
    const commands::Arguments a(count, args);
    DecodedPicture* picture = RegisteredPicture(static_cast<uint32_t>(a.Int(1)));
    if (!picture) return;
    panel->DrawPicture(*picture, a.Int(2), a.Int(3), a.OptionalInt(4), a.OptionalInt(5), a.OptionalInt(6));
}

void GetPictureCommand(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeBytes;
    result->lo = 0;
    DrawPanel* panel = PanelOf(count, args);
    if (!panel) return;
    const commands::Arguments a(count, args);
    const std::vector<uint8_t> bmp = panel->GetPicture(a.Int(1), a.Int(2));
    commands::SetByteSet(result, bmp);
}

void* DrawPanelInterface(int32_t code) {
    if (code == forms::kEnumerateTexts) return reinterpret_cast<void*>(&FaceNameEntry);
    return TypeInterfaceOf<DrawPanel>(code);
}

}  // namespace ruvelto::components

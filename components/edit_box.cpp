// EditBox (编辑框): the Win32 edit control with border, colours, font, alignment, password and
// read-only modes, numeric input modes that filter keys and normalise the text when the focus
// leaves, case conversion, and an optional spin button at its right edge.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "components/control_style.h"
#include "components/edit_box_input.h"
#include "components/edit_box_properties.h"
#include "components/spin_button.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum EditProperty : int32_t {
    kText,
    kBorder,
    kTextColor,
    kBackColor,
    kFont,
    kHideSelection,
    kMaxLength,
    kMultiLine,
    kScrollBars,
    kAlignment,
    kInputMode,
    kPasswordChar,
    kCaseConversion,
    kSpinMode,
    kSpinMin,
    kSpinMax,
    kSelStart,
    kSelLength,
    kSelText,
    kDataSource,
    kDataField,
};

constexpr uint32_t kSpinIdOffset = 4;

class EditBox : public ComponentBase, private SpinButton::Owner {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override {
        EditBoxProperties current = p_;
        if (Handle()) current.text = WindowText();
        current.Save(blob);
    }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        if (p_.hideSelection != 1) style |= ES_NOHIDESEL;
        if (p_.multiLine == 1) {
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            if (p_.scrollBars == 1 || p_.scrollBars == 3) style |= ES_AUTOHSCROLL | WS_HSCROLL;
            if (p_.scrollBars == 2 || p_.scrollBars == 3) style |= WS_VSCROLL;
        } else {
            style |= ES_AUTOHSCROLL;
        }
        if (p_.alignment == 1) style |= ES_CENTER;
        if (p_.alignment == 2) style |= ES_RIGHT;
        if (p_.inputMode == kInputReadOnly) style |= ES_READONLY;
        if (p_.inputMode == kInputPassword) style |= ES_PASSWORD;
        if (p_.caseConversion == 1) style |= ES_LOWERCASE;
        if (p_.caseConversion == 2) style |= ES_UPPERCASE;
        BackgroundBrush(p_.backColor);
        controlId_ = a.controlId;
        return CreateChild(0, "EDIT", p_.text.c_str(), style, a);
    }

    void ApplyProperties() override {
        ApplyFontAndHeight();
        SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(p_.maxLength > 0 ? p_.maxLength : 0), 0);
        if (p_.inputMode == kInputPassword) SendMessageA(Handle(), EM_SETPASSWORDCHAR, p_.passwordChar, 0);
        if (p_.multiLine != 1 && p_.spinMode != kSpinNone) {
            spin_ = SpinButton::Create(Handle(), this, controlId_ + kSpinIdOffset, SpinHasStaticEdge());
            if (spin_) {
                spin_->SetRange(p_.spinMin, p_.spinMax);
                spin_->FollowBox(Handle());
            } else {
                p_.spinMode = kSpinNone;
            }
        }
        SelectBytes(p_.selStart, p_.selLength);
        ApplyBorder(ClampChoice(p_.border, 5));
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        const int32_t number = static_cast<int32_t>(value);
        switch (index) {
            case kText:
                p_.text = TextOf(v);
                ++suppressChange_;
                SetWindowTextA(Handle(), p_.text.c_str());
                --suppressChange_;
                RaiseEvent(0);
                return 0;
            case kBorder:
                p_.border = ClampChoice(value, 5);
                ApplyBorder(p_.border);
                if (spin_) spin_->SetStaticEdge(SpinHasStaticEdge());
                return 0;
            case kTextColor:
                p_.textColor = value;
                InvalidateRect(Handle(), nullptr, TRUE);
                return 0;
            case kBackColor:
                p_.backColor = value;
                BackgroundBrush(p_.backColor);
                RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
                return 0;
            case kFont:
                p_.font = BytesOf(v);
                ApplyFontAndHeight();
                return 0;
            case kHideSelection: return Recreating(&p_.hideSelection, value);
            case kMultiLine: return Recreating(&p_.multiLine, value);
            case kScrollBars: return Recreating(&p_.scrollBars, ClampChoice(value, 3));
            case kAlignment: return Recreating(&p_.alignment, ClampChoice(value, 2));
            case kCaseConversion: return Recreating(&p_.caseConversion, ClampChoice(value, 2));
            case kSpinMode: return Recreating(&p_.spinMode, ClampChoice(value, 2));
            case kMaxLength:
                p_.maxLength = number < 0 ? 0 : number;
                SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(p_.maxLength), 0);
                return 0;
            case kInputMode:
                p_.inputMode = ClampChoice(value, 11);
                SendMessageA(Handle(), EM_SETPASSWORDCHAR, p_.inputMode == kInputPassword ? p_.passwordChar : 0, 0);
                SendMessageA(Handle(), EM_SETREADONLY, p_.inputMode == kInputReadOnly, 0);
                InvalidateRect(Handle(), nullptr, TRUE);
                return 0;
            case kPasswordChar: {
                std::string text = TextOf(v);
                p_.passwordChar = static_cast<uint8_t>(text.empty() ? 0 : text[0]);
                if (p_.inputMode == kInputPassword) {
                    SendMessageA(Handle(), EM_SETPASSWORDCHAR, p_.passwordChar, 0);
                    InvalidateRect(Handle(), nullptr, TRUE);
                }
                return 0;
            }
            case kSpinMin:
            case kSpinMax:
                (index == kSpinMin ? p_.spinMin : p_.spinMax) = number;
                if (spin_) spin_->SetRange(p_.spinMin, p_.spinMax);
                return 0;
            case kSelStart:
            case kSelLength: {
                const int32_t length = static_cast<int32_t>(WindowText().size());
                Selection s = index == kSelStart ? SelectionForStart(number, p_.selLength, length)
                                                 : SelectionForLength(p_.selStart, number, length);
                p_.selStart = s.start, p_.selLength = s.length;
                SelectBytes(s.start, s.length);
                return 0;
            }
            case kSelText:
                SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(TextOf(v).c_str()));
                return 0;
            case kDataSource:
            case kDataField:
                // No data source is ever present here, so re-attaching finds nothing.
                (index == kDataSource ? p_.dataSource : p_.dataField) = TextOf(v);
                return 0;
            default: return 0;
        }
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        DWORD start = 0, end = 0;
        switch (index) {
            case kText:
                scratch_ = WindowText();
                *v = TextData(scratch_);
                return true;
            case kBorder: *v = IntegerData(p_.border); return true;
            case kTextColor: *v = IntegerData(p_.textColor); return true;
            case kBackColor: *v = IntegerData(p_.backColor); return true;
            case kFont: *v = BytesData(p_.font); return true;
            case kHideSelection: *v = IntegerData(p_.hideSelection); return true;
            case kMaxLength: *v = IntegerData(static_cast<uint32_t>(p_.maxLength)); return true;
            case kMultiLine: *v = IntegerData(p_.multiLine); return true;
            case kScrollBars: *v = IntegerData(p_.scrollBars); return true;
            case kAlignment: *v = IntegerData(p_.alignment); return true;
            case kInputMode: *v = IntegerData(p_.inputMode); return true;
            case kPasswordChar:
                scratch_ = p_.passwordChar ? std::string(1, static_cast<char>(p_.passwordChar)) : std::string();
                *v = TextData(scratch_);
                return true;
            case kCaseConversion: *v = IntegerData(p_.caseConversion); return true;
            case kSpinMode: *v = IntegerData(p_.spinMode); return true;
            case kSpinMin: *v = IntegerData(static_cast<uint32_t>(p_.spinMin)); return true;
            case kSpinMax: *v = IntegerData(static_cast<uint32_t>(p_.spinMax)); return true;
            case kSelStart:
            case kSelLength:
            case kSelText:
            {
                // The control counts characters; the properties count bytes of the GBK text.
                SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                const std::string text = WindowText();
                const int32_t from = BytePosition(text, static_cast<int32_t>(start));
                const int32_t to = BytePosition(text, static_cast<int32_t>(end));
                if (index == kSelStart) {
                    *v = IntegerData(static_cast<uint32_t>(from));
                } else if (index == kSelLength) {
                    *v = IntegerData(static_cast<uint32_t>(to - from));
                } else {
                    scratch_ = from < to ? text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)) : std::string();
                    *v = TextData(scratch_);
                }
                return true;
            }
            case kDataSource: *v = TextData(p_.dataSource); return true;
            case kDataField: *v = TextData(p_.dataField); return true;
            default: return false;
        }
    }

    bool WantsKey(uint32_t key) override {
        return key == VK_RETURN && p_.multiLine == 1 && p_.inputMode != kInputReadOnly;
    }

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        switch (message) {
            case WM_COMMAND:
                switch (HIWORD(wParam)) {
                    case EN_CHANGE:
                        if (!suppressChange_) {
                            KeepWithinMaxLength();
                            RaiseEvent(0);
                        }
                        break;
                    case EN_SETFOCUS: RaiseEvent(forms::kGotFocus); break;
                    case EN_KILLFOCUS:
                        NormaliseOnLeave();
                        RaiseEvent(forms::kLostFocus);
                        break;
                    default: return false;
                }
                *result = 0;
                return true;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC: *result = ControlColors(wParam, p_.textColor, p_.backColor); return true;
            default: return false;
        }
    }

protected:
    // Selects `length` bytes of the GBK text from byte `start`; a double-byte character that the
    // range only cuts into is selected whole.
    void SelectBytes(int32_t start, int32_t length) {
        const std::string text = WindowText();
        const int32_t from = CharacterPosition(text, start, false);
        const int32_t to = CharacterPosition(text, start + length, true);
        SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
        SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
    }

    // MaxLength counts bytes while the control's own limit counts characters: input that went
    // past it is taken back.
    void KeepWithinMaxLength() {
        if (p_.maxLength <= 0) return;
        const std::string text = WindowText();
        if (text.size() <= static_cast<size_t>(p_.maxLength)) return;
        DWORD end = 0;
        SendMessageA(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        int32_t caret = static_cast<int32_t>(end);
        const std::string kept = TextWithinByteLimit(text, p_.maxLength, &caret);
        ++suppressChange_;
        SetWindowTextA(Handle(), kept.c_str());
        --suppressChange_;
        SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            // The focus events come from the edit notifications, after the normalisation.
            case WM_SETFOCUS:
            case WM_KILLFOCUS: return forms::WindowObject::WindowProc(message, wParam, lParam);
            case WM_CHAR:
                if (!AcceptsCharacter(p_.inputMode, static_cast<uint32_t>(wParam) & 0xFF)) return 0;
                break;
            case WM_NCCALCSIZE:
                if (p_.multiLine != 1) return CalcSingleLineClient(wParam, lParam);
                break;
            case WM_NCPAINT:
                if (p_.multiLine != 1) {
                    LRESULT r = ComponentBase::WindowProc(message, wParam, lParam);
                    PaintAroundLine();
                    return r;
                }
                break;
            case WM_NCHITTEST:
                if (p_.multiLine != 1) {
                    LRESULT r = ComponentBase::WindowProc(message, wParam, lParam);
                    if (r == HTNOWHERE || r == HTCLIENT) {
                        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                        ScreenToClient(Handle(), &pt);
                        RECT client{};
                        GetClientRect(Handle(), &client);
                        if (!PtInRect(&client, pt)) return HTBORDER;
                    }
                    return r;
                }
                break;
            case WM_ERASEBKGND:
                if (p_.multiLine != 1) {
                    RECT client{};
                    GetClientRect(Handle(), &client);
                    FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush(p_.backColor));
                    return 1;
                }
                break;
            case WM_WINDOWPOSCHANGED:
            case WM_ENABLE:
            case WM_SHOWWINDOW: {
                LRESULT r = ComponentBase::WindowProc(message, wParam, lParam);
                FollowBoxOnce();
                return r;
            }
            case WM_DESTROY:
                if (spin_) {
                    spin_->Destroy();
                    spin_ = nullptr;
                }
                break;
            default: break;
        }
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

    void OnUnitsExist() override {
        if (spin_) spin_->FollowBox(Handle());
    }
    void OnLoadFinished() override {
        if (spin_) spin_->FollowBox(Handle());
    }

private:
    // Placing the spin button re-orders windows, which must not place it again meanwhile.
    void FollowBoxOnce() {
        if (!spin_ || following_) return;
        following_ = true;
        spin_->FollowBox(Handle());
        following_ = false;
    }

    bool SpinHasStaticEdge() const { return p_.border == 0 || p_.border == 1 || p_.border == 3; }

    std::string WindowText() const {
        int length = GetWindowTextLengthA(Handle());
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int got = GetWindowTextA(Handle(), text.data(), length + 1);
        text.resize(static_cast<size_t>(got > 0 ? got : 0));
        return text;
    }

    int TextHeight(const char* sample, int length) const {
        HDC dc = GetDC(Handle());
        HGDIOBJ old = SelectObject(dc, Font());
        SIZE size{};
        GetTextExtentPoint32A(dc, sample, length, &size);
        SelectObject(dc, old);
        ReleaseDC(Handle(), dc);
        return size.cy;
    }

    // A single-line box lower than the font's "国" plus two edges is made that tall.
    void ApplyFontAndHeight() {
        ApplyFont(p_.font);
        if (p_.multiLine == 1) return;
        const int needed = TextHeight("\xB9\xFA", 2) + 2 * GetSystemMetrics(SM_CYEDGE);
        RECT r{};
        GetWindowRect(Handle(), &r);
        if (r.bottom - r.top < needed) {
            SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, needed,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The client area becomes one line ("W" high) centred in what the border leaves.
    LRESULT CalcSingleLineClient(WPARAM wParam, LPARAM lParam) {
        LRESULT result = ComponentBase::WindowProc(WM_NCCALCSIZE, wParam, lParam);
        RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        inner_ = *rect;
        const int line = TextHeight("W", 1);
        const int height = rect->bottom - rect->top;
        if (line > 0 && height > line) {
            rect->top += (height - line) / 2;
            rect->bottom = rect->top + line;
        }
        return wParam ? 0 : result;
    }

    // The band between the border and the centred line takes the background colour.
    void PaintAroundLine() {
        RECT window{}, client{};
        GetWindowRect(Handle(), &window);
        GetClientRect(Handle(), &client);
        MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        // inner_ is in the parent's coordinates; make all three relative to the window.
        HWND parent = GetParent(Handle());
        RECT inner = inner_;
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&inner), 2);
        OffsetRect(&inner, -window.left, -window.top);
        OffsetRect(&client, -window.left, -window.top);
        HDC dc = GetWindowDC(Handle());
        HBRUSH brush = BackgroundBrush(p_.backColor);
        RECT above{inner.left, inner.top, inner.right, client.top};
        RECT below{inner.left, client.bottom, inner.right, inner.bottom};
        RECT left{inner.left, client.top, client.left, client.bottom};
        RECT right{client.right, client.top, inner.right, client.bottom};
        for (const RECT& band : {above, below, left, right}) {
            if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, brush);
        }
        ReleaseDC(Handle(), dc);
    }

    void NormaliseOnLeave() {
        if (p_.inputMode < kInputByte || p_.inputMode > kInputDateTime) return;
        const std::string text = WindowText();
        const std::string normal = NormalisedText(p_.inputMode, text);
        if (normal == text) return;
        DWORD start = 0;
        SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        SetWindowTextA(Handle(), normal.c_str());
        SendMessageA(Handle(), EM_SETSEL, start, start);
    }

    void OnSpin(int direction) override {
        if (!IsWindowEnabled(Handle()) || !IsWindowVisible(Handle())) return;
        if (p_.spinMode == kSpinReporting) {
            RaiseEvent(1, {static_cast<uint32_t>(direction)});
            return;
        }
        if (p_.spinMode != kSpinAutomatic) return;
        const int32_t lower = std::min(p_.spinMin, p_.spinMax), upper = std::max(p_.spinMin, p_.spinMax);
        char text[16];
        std::snprintf(text, sizeof text, "%d", SpinStep(LeadingInteger(WindowText()), direction, lower, upper));
        SetWindowTextA(Handle(), text);
        SendMessageA(Handle(), EM_SETSEL, 0, -1);
        SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
        SetFocus(Handle());
    }

    EditBoxProperties p_;
    SpinButton* spin_ = nullptr;
    uint32_t controlId_ = 0;
    int suppressChange_ = 0;
    bool following_ = false;
    RECT inner_{};
    std::string scratch_;
};

}  // namespace

void* EditBoxInterface(int32_t code) { return TypeInterfaceOf<EditBox>(code); }

}  // namespace ruvelto::components

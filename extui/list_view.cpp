// ListView (超级列表框): the platform list view with its four views, columns, item, state and
// header image lists, check boxes, hot tracking, label editing and per-row tips. A check box
// toggled by a click or the space key is reported after the control has toggled it: the click
// or key posts kCheckToggled to the control, and that message reads the new state.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/control_style.h"
#include "extui/component_texts.h"
#include "extui/enumerated_texts.h"
#include "extui/extended_types.h"
#include "extui/image_list_data.h"
#include "extui/list_view_data.h"
#include "extui/list_view_properties.h"
#include "forms/events.h"

namespace ruvelto::extui {
namespace {

using components::ClampChoice;
using components::CreateArguments;
using components::IntegerData;
using components::IntegerOf;
using components::Recreating;

enum ListViewProperty : int32_t {
    kBorder,
    kTextColor,
    kTextBackColor,
    kBackColor,
    kFont,
    kViewType,
    kIconAlign,
    kAutoArrange,
    kLabelWrap,
    kColumns,
    kHideHeader,
    kHeaderImages,
    kHeaderClickable,
    kFullRowSelect,
    kGridLines,
    kHeaderDragDrop,
    kImages,
    kStateImages,
    kHotTracking,
    kHandCursor,
    kUnderlineCold,
    kUnderlineHot,
    kEditLabels,
    kSortOrder,
    kCheckBoxes,
    kFlatScrollBars,
    kSingleSelection,
    kCurrentSelection,
    kShowSelectionAlways,
    kInitialItems,
    kEditedText,
};

enum ListViewEvent : int32_t {
    kCurrentItemChanged = 0,
    kItemActivated = 1,
    kColumnClicked = 2,
    kHotItemChanged = 3,
    kClicked = 4,
    kRightClicked = 5,
    kLabelEditStarting = 6,
    kLabelEditEnded = 7,
    kCheckStateChanged = 8,
};

constexpr UINT kCheckToggled = WM_USER + 1;  // wParam: the row whose state image changed
// wParam: a row; lParam: its tip text (GBK, zero-terminated), kept with the row as rows come and go.
constexpr UINT kSetRowTip = WM_USER + 2;
// The timer started by the first insert of a burst: the rows inserted since are drawn when it
// fires, at most a few times a second however fast rows come.
constexpr UINT_PTR kDrawInsertedRowsTimer = 0x5256;
constexpr UINT kDrawInsertedRowsMs = 200;
constexpr UINT kStateImageMask = LVIS_STATEIMAGEMASK;
constexpr int kHandCursorResource = 2008;

uint32_t Logical(uint32_t value) { return value != 0 ? 1 : 0; }

class ListView : public components::ComponentBase {
public:
    const char* EnumeratedText(int32_t which) {
        return texts_.At(which, [this] { return ListViewTexts(p_); });
    }

    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        style |= WS_CLIPCHILDREN | ViewStyle();
        const bool icons = p_.viewType == kLargeIcons || p_.viewType == kSmallIcons;
        if (icons) {
            if (p_.iconAlign == 1) style |= LVS_ALIGNLEFT;
            if (p_.autoArrange == 1) style |= LVS_AUTOARRANGE;
            if (p_.labelWrap != 1) style |= LVS_NOLABELWRAP;
        }
        DWORD extended = 0;
        if (p_.viewType == kReport) {
            if (p_.hideHeader == 1) {
                style |= LVS_NOCOLUMNHEADER;
            } else {
                if (p_.headerClickable != 1) style |= LVS_NOSORTHEADER;
                if (p_.headerDragDrop == 1) extended |= LVS_EX_HEADERDRAGDROP;
            }
            if (p_.fullRowSelect == 1) extended |= LVS_EX_FULLROWSELECT;
            if (p_.gridLines == 1) extended |= LVS_EX_GRIDLINES;
        }
        if (p_.editLabels == 1) style |= LVS_EDITLABELS;
        if (p_.sortOrder == 1) style |= LVS_SORTASCENDING;
        if (p_.sortOrder == 2) style |= LVS_SORTDESCENDING;
        if (p_.singleSelection == 1) style |= LVS_SINGLESEL;
        if (p_.showSelectionAlways == 1) style |= LVS_SHOWSELALWAYS;
        if (!CreateChild(0, WC_LISTVIEWA, "", style, a)) return false;

        if (p_.hotTracking == 1) {
            extended |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
            if (p_.underlineCold == 1) extended |= LVS_EX_UNDERLINECOLD;
            if (p_.underlineHot == 1) extended |= LVS_EX_UNDERLINEHOT;
        }
        if (p_.checkBoxes == 1) extended |= LVS_EX_CHECKBOXES;
        if (p_.flatScrollBars == 1) extended |= LVS_EX_FLATSB;
        extended |= LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES;
        SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(extended));
        return true;
    }

    void ApplyProperties() override {
        ApplyFont(p_.font);
        SetItemImages();
        SetStateImages();
        ApplyColors();
        ApplyBorder(ClampChoice(p_.border, 5));
        if (p_.hotTracking == 1) SetHotCursor();
        if (p_.viewType == kReport) InsertColumns();
        // After the columns: the header may only exist once there are columns, and it takes the
        // small item list until it is given a list of its own.
        SetHeaderImages();
        LoadItems();
        ApplySelection();
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        switch (index) {
            case kBorder:
                p_.border = ClampChoice(value, 5);
                ApplyBorder(p_.border);
                return 0;
            case kTextColor: p_.textColor = value; break;
            case kTextBackColor: p_.textBackColor = value; break;
            case kBackColor: p_.backColor = value; break;
            case kFont:
                p_.font = components::BytesOf(v);
                ApplyFont(p_.font);
                return 0;
            case kViewType: return Recreating(&p_.viewType, ClampChoice(value, 3));
            case kIconAlign: return Recreating(&p_.iconAlign, ClampIconAlign(value));
            case kAutoArrange: return Recreating(&p_.autoArrange, Logical(value));
            case kLabelWrap:
                p_.labelWrap = Logical(value);
                if (p_.viewType == kLargeIcons || p_.viewType == kSmallIcons)
                    components::ModifyStyle(Handle(), p_.labelWrap ? LVS_NOLABELWRAP : 0,
                                            p_.labelWrap ? 0 : LVS_NOLABELWRAP);
                return 0;
            case kColumns: {
                std::vector<uint8_t> columns = components::BytesOf(v);
                if (columns == p_.columns) return 0;
                p_.columns = std::move(columns);
                return p_.viewType == kReport ? 1 : 0;
            }
            case kHideHeader:
                p_.hideHeader = Logical(value);
                if (p_.viewType == kReport)
                    components::ModifyStyle(Handle(), p_.hideHeader ? 0 : LVS_NOCOLUMNHEADER,
                                            p_.hideHeader ? LVS_NOCOLUMNHEADER : 0);
                return 0;
            case kHeaderImages:
                p_.headerImages = components::BytesOf(v);
                SetHeaderImages();
                break;
            case kHeaderClickable: return Recreating(&p_.headerClickable, Logical(value));
            case kFullRowSelect: return Recreating(&p_.fullRowSelect, Logical(value));
            case kGridLines: return Recreating(&p_.gridLines, Logical(value));
            case kHeaderDragDrop: return Recreating(&p_.headerDragDrop, Logical(value));
            case kImages:
                p_.images = components::BytesOf(v);
                SetItemImages();
                SetHeaderImages();
                break;
            case kStateImages:
                p_.stateImages = components::BytesOf(v);
                SetStateImages();
                break;
            case kHotTracking: return Recreating(&p_.hotTracking, Logical(value));
            case kHandCursor: return HotTrackingStyle(&p_.handCursor, value);
            case kUnderlineCold: return HotTrackingStyle(&p_.underlineCold, value);
            case kUnderlineHot: return HotTrackingStyle(&p_.underlineHot, value);
            case kEditLabels: return Recreating(&p_.editLabels, Logical(value));
            case kSortOrder: return Recreating(&p_.sortOrder, ClampChoice(value, 2));
            case kCheckBoxes: return Recreating(&p_.checkBoxes, Logical(value));
            case kFlatScrollBars: return Recreating(&p_.flatScrollBars, Logical(value));
            case kSingleSelection: return Recreating(&p_.singleSelection, Logical(value));
            case kCurrentSelection:
                p_.currentSelection = ClampSelection(static_cast<int32_t>(value));
                ApplySelection();
                return 0;
            case kShowSelectionAlways: return Recreating(&p_.showSelectionAlways, Logical(value));
            case kInitialItems:
                p_.initialItems = components::BytesOf(v);
                LoadItems();
                return 0;
            default: return 0;  // EditedText is read-only
        }
        if (index == kTextColor || index == kTextBackColor || index == kBackColor) ApplyColors();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kBorder: *v = IntegerData(p_.border); return true;
            case kTextColor: *v = IntegerData(static_cast<uint32_t>(SendMessageA(Handle(), LVM_GETTEXTCOLOR, 0, 0))); return true;
            case kTextBackColor: *v = IntegerData(static_cast<uint32_t>(SendMessageA(Handle(), LVM_GETTEXTBKCOLOR, 0, 0))); return true;
            case kBackColor: *v = IntegerData(static_cast<uint32_t>(SendMessageA(Handle(), LVM_GETBKCOLOR, 0, 0))); return true;
            case kFont: *v = components::BytesData(p_.font); return true;
            case kViewType: *v = IntegerData(p_.viewType); return true;
            case kIconAlign: *v = IntegerData(p_.iconAlign); return true;
            case kAutoArrange: *v = IntegerData(p_.autoArrange); return true;
            case kLabelWrap: *v = IntegerData(p_.labelWrap); return true;
            case kColumns: *v = components::BytesData(p_.columns); return true;
            case kHideHeader: *v = IntegerData(p_.hideHeader); return true;
            case kHeaderImages: *v = components::BytesData(p_.headerImages); return true;
            case kHeaderClickable: *v = IntegerData(p_.headerClickable); return true;
            case kFullRowSelect: *v = IntegerData(p_.fullRowSelect); return true;
            case kGridLines: *v = IntegerData(p_.gridLines); return true;
            case kHeaderDragDrop: *v = IntegerData(p_.headerDragDrop); return true;
            case kImages: *v = components::BytesData(p_.images); return true;
            case kStateImages: *v = components::BytesData(p_.stateImages); return true;
            case kHotTracking: *v = IntegerData(p_.hotTracking); return true;
            case kHandCursor: *v = IntegerData(p_.handCursor); return true;
            case kUnderlineCold: *v = IntegerData(p_.underlineCold); return true;
            case kUnderlineHot: *v = IntegerData(p_.underlineHot); return true;
            case kEditLabels: *v = IntegerData(p_.editLabels); return true;
            case kSortOrder: *v = IntegerData(p_.sortOrder); return true;
            case kCheckBoxes: *v = IntegerData(p_.checkBoxes); return true;
            case kFlatScrollBars: *v = IntegerData(p_.flatScrollBars); return true;
            case kSingleSelection: *v = IntegerData(p_.singleSelection); return true;
            case kCurrentSelection: *v = IntegerData(static_cast<uint32_t>(FirstSelectedRow())); return true;
            case kShowSelectionAlways: *v = IntegerData(p_.showSelectionAlways); return true;
            case kInitialItems: *v = components::BytesData(p_.initialItems); return true;
            case kEditedText: *v = components::TextData(editedText_); return true;
            default: return false;
        }
    }

    // Enter and Escape belong to the label being edited.
    bool WantsKey(uint32_t key) override {
        return (key == VK_RETURN || key == VK_ESCAPE) && SendMessageA(Handle(), LVM_GETEDITCONTROL, 0, 0) != 0;
    }

    bool OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) override {
        if (message != WM_NOTIFY) return false;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        switch (header->code) {
            case LVN_ITEMCHANGED: {
                const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
                if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_FOCUSED) &&
                    !(change->uOldState & LVIS_FOCUSED))
                    RaiseEvent(kCurrentItemChanged);
                return false;
            }
            case LVN_ITEMACTIVATE: RaiseEvent(kItemActivated); return false;
            case LVN_COLUMNCLICK:
                RaiseEvent(kColumnClicked, {static_cast<uint32_t>(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem)});
                return false;
            case LVN_HOTTRACK:
                RaiseEvent(kHotItemChanged, {static_cast<uint32_t>(reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem)});
                *result = 0;
                return true;
            case NM_CLICK:
                RaiseEvent(kClicked);
                PostIfStateIcon(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction);
                return false;
            case NM_RCLICK:
                // The right button never toggles a check box, so no CheckStateChanged follows.
                RaiseEvent(kRightClicked);
                return false;
            case NM_DBLCLK: PostIfStateIcon(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction); return false;
            case LVN_BEGINLABELEDITA:
            case LVN_BEGINLABELEDITW: {
                const int row = reinterpret_cast<const NMLVDISPINFOA*>(lParam)->item.iItem;
                forms::EventRecord answer;
                const bool cancelled = row >= 0 && RaiseEvent(kLabelEditStarting, {static_cast<uint32_t>(row)}, &answer) &&
                                       answer.returned && answer.returnValue == 0;
                *result = cancelled ? TRUE : FALSE;
                return true;
            }
            case LVN_ENDLABELEDITA:
            case LVN_ENDLABELEDITW: *result = EndLabelEdit(header->code == LVN_ENDLABELEDITW, lParam); return true;
            case LVN_GETINFOTIPA:
            case LVN_GETINFOTIPW: SupplyTip(header->code == LVN_GETINFOTIPW, lParam); *result = 0; return true;
            // Tips given to rows follow their rows.
            case LVN_INSERTITEM: {
                const auto row = static_cast<size_t>(std::max(reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem, 0));
                if (row < rowTips_.size()) rowTips_.insert(rowTips_.begin() + static_cast<std::ptrdiff_t>(row), std::string());
                return false;
            }
            case LVN_DELETEITEM: {
                const auto row = static_cast<size_t>(std::max(reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem, 0));
                if (row < rowTips_.size()) rowTips_.erase(rowTips_.begin() + static_cast<std::ptrdiff_t>(row));
                return false;
            }
            case LVN_DELETEALLITEMS: rowTips_.clear(); *result = TRUE; return true;
            default: return false;
        }
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case kSetRowTip: {
                const auto row = static_cast<size_t>(wParam);
                const LRESULT rows = SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0);
                if (static_cast<LRESULT>(row) >= rows || !lParam) return 0;
                if (rowTips_.size() < static_cast<size_t>(rows)) rowTips_.resize(static_cast<size_t>(rows));
                rowTips_[row] = reinterpret_cast<const char*>(lParam);
                return 1;
            }
            // A folder of thousands of pictures comes as a stream of inserts. The control
            // redraws its scroll bar at every insert, and each drawing of the rows costs tens of
            // milliseconds under Wine (every check box and off-screen bitmap asks the display
            // for its settings): drawn after each row, the drawing took most of the listing's
            // time. Its redrawing is off while rows come; the timer turns it back on, which
            // draws the rows and the scroll bar once.
            case LVM_INSERTITEMA:
            case LVM_INSERTITEMW:
                if (!drawingDeferred_ && SetTimer(Handle(), kDrawInsertedRowsTimer, kDrawInsertedRowsMs, nullptr)) {
                    drawingDeferred_ = true;
                    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
                }
                break;
            case WM_TIMER:
                if (wParam != kDrawInsertedRowsTimer) break;
                KillTimer(Handle(), kDrawInsertedRowsTimer);
                if (drawingDeferred_) {
                    drawingDeferred_ = false;
                    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
                    InvalidateRect(Handle(), nullptr, TRUE);
                }
                return 0;
            case kCheckToggled: {
                const int row = static_cast<int>(wParam);
                const auto state = static_cast<uint32_t>(SendMessageA(Handle(), LVM_GETITEMSTATE, wParam, kStateImageMask));
                RaiseEvent(kCheckStateChanged, {static_cast<uint32_t>(row), (state >> 12) - 1});
                return 0;
            }
            case WM_KEYDOWN:
                if (wParam == VK_SPACE && p_.checkBoxes == 1) {
                    const LRESULT focused = SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
                    if (focused >= 0) PostMessageA(Handle(), kCheckToggled, static_cast<WPARAM>(focused), 0);
                }
                break;
            default: break;
        }
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

    void ReleaseResources() override {
        headerImages_.Reset();
        ComponentBase::ReleaseResources();
    }

private:
    DWORD ViewStyle() const {
        switch (p_.viewType) {
            case kSmallIcons: return LVS_SMALLICON;
            case kListOfNames: return LVS_LIST;
            case kReport: return LVS_REPORT;
            default: return LVS_ICON;
        }
    }

    // A hot-tracking style is shown by re-creating only while hot tracking is on.
    uint32_t HotTrackingStyle(uint32_t* field, uint32_t value) {
        const uint32_t changed = Recreating(field, Logical(value));
        return p_.hotTracking == 1 ? changed : 0;
    }

    void ApplyColors() {
        SendMessageA(Handle(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(components::ResolveColor(p_.textColor)));
        SendMessageA(Handle(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(components::ResolveColor(p_.textBackColor)));
        SendMessageA(Handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(components::ResolveColor(p_.backColor)));
    }

    // The control owns its item and state lists and destroys them with itself; a list replaced
    // here is destroyed at once.
    void ReplaceList(int which, HIMAGELIST list) {
        auto old = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle(), LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
        if (old && old != list) ImageList_Destroy(old);
    }

    void SetItemImages() {
        ReplaceList(p_.viewType == kLargeIcons ? LVSIL_NORMAL : LVSIL_SMALL, ReadImageListData(p_.images));
        InvalidateRect(Handle(), nullptr, TRUE);
    }

    void SetStateImages() {
        HIMAGELIST list = ReadImageListData(p_.stateImages);
        // With check boxes and no list of its own the control keeps the check box images.
        if (!list && p_.checkBoxes == 1) return;
        ReplaceList(LVSIL_STATE, list);
        InvalidateRect(Handle(), nullptr, TRUE);
    }

    // The header does not own its list: this object does.
    void SetHeaderImages() {
        if (p_.viewType != kReport) return;
        HWND header = reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
        HIMAGELIST list = ReadImageListData(p_.headerImages);
        if (list) ImageList_SetBkColor(list, GetSysColor(COLOR_BTNFACE));
        if (header) SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
        headerImages_.Reset(list);
        if (header) InvalidateRect(header, nullptr, TRUE);
    }

    void SetHotCursor() {
        HCURSOR cursor = nullptr;
        if (p_.handCursor == 1) {
            cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
            if (!cursor) cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursorResource));
        }
        if (!cursor) cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        SendMessageA(Handle(), LVM_SETHOTCURSOR, 0, reinterpret_cast<LPARAM>(cursor));
    }

    void InsertColumns() {
        int next = 0;
        for (ListColumn& c : ReadColumns(p_.columns)) {
            LVCOLUMNA column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
            column.fmt = c.align == kAlignCenter ? LVCFMT_CENTER : c.align == kAlignRight ? LVCFMT_RIGHT : LVCFMT_LEFT;
            if (c.imageOnRight) column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
            if (c.image != -1) {
                column.mask |= LVCF_IMAGE;
                column.fmt |= LVCFMT_IMAGE;
                column.iImage = c.image;
            }
            column.cx = c.width;
            column.pszText = c.title.data();
            SendMessageA(Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(next++), reinterpret_cast<LPARAM>(&column));
        }
    }

    int ListCount(int which) const {
        auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle(), LVM_GETIMAGELIST, which, 0));
        return list ? ImageList_GetImageCount(list) : 0;
    }

    void LoadItems() {
        SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
        tips_.clear();
        const int images = ListCount(p_.viewType == kLargeIcons ? LVSIL_NORMAL : LVSIL_SMALL);
        const int states = ListCount(LVSIL_STATE);
        int nextRow = 0, row = -1, column = 0;
        for (ListItemEntry& e : ReadItems(p_.initialItems)) {
            const int image = e.image >= 0 && e.image < images ? e.image : -1;
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.pszText = e.text.data();
            item.iImage = image;
            if (e.newRow) {
                item.mask |= LVIF_PARAM;
                item.iItem = nextRow++;
                item.lParam = static_cast<LPARAM>(e.data);
                const bool stateImage = e.stateImage >= 0 && e.stateImage < states;
                if (stateImage) {
                    item.mask |= LVIF_STATE;
                    item.state = INDEXTOSTATEIMAGEMASK(e.stateImage + 1);
                    item.stateMask = kStateImageMask;
                }
                if (p_.viewType == kReport) {
                    item.mask |= LVIF_INDENT;
                    item.iIndent = e.indent;
                }
                row = static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
                // A list with check boxes gives every new row the unchecked box whatever the
                // insert asked for: the state image is set again on the row.
                if (row >= 0 && stateImage)
                    SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
                column = 0;
                tips_.push_back(std::move(e.tip));
            } else if (row >= 0) {
                item.iItem = row;
                item.iSubItem = ++column;
                SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            }
        }
    }

    int FirstSelectedRow() const {
        return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    void ApplySelection() {
        if (p_.singleSelection != 1) return;
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        int row = p_.currentSelection;
        if (row >= 0) {
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
        } else {
            row = FirstSelectedRow();
            if (row < 0) return;
        }
        SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }

    void PostIfStateIcon(POINT at) {
        LVHITTESTINFO hit{};
        hit.pt = at;
        const LRESULT row = SendMessageA(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) PostMessageA(Handle(), kCheckToggled, static_cast<WPARAM>(row), 0);
    }

    std::string RowText(int row) const {
        std::vector<char> buffer(512);
        for (;;) {
            LVITEMA item{};
            item.pszText = buffer.data();
            item.cchTextMax = static_cast<int>(buffer.size());
            const LRESULT length = SendMessageA(Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            if (length < static_cast<LRESULT>(buffer.size()) - 1) return std::string(buffer.data(), static_cast<size_t>(std::max<LRESULT>(length, 0)));
            buffer.resize(buffer.size() * 2);
        }
    }

    LRESULT EndLabelEdit(bool wide, LPARAM lParam) {
        const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
        const int row = info->item.iItem;
        const bool abandoned = info->item.pszText == nullptr;
        if (abandoned) {
            editedText_ = row >= 0 ? RowText(row) : std::string();
        } else if (wide) {
            const auto* text = reinterpret_cast<const WCHAR*>(info->item.pszText);
            const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
            editedText_.assign(size > 0 ? static_cast<size_t>(size - 1) : 0, '\0');
            if (size > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, editedText_.data(), size, nullptr, nullptr);
        } else {
            editedText_ = info->item.pszText;
        }
        forms::EventRecord answer;
        const bool rejected = RaiseEvent(kLabelEditEnded, {static_cast<uint32_t>(row)}, &answer) && answer.returned &&
                              answer.returnValue == 0;
        editedText_.clear();
        return !abandoned && !rejected ? TRUE : FALSE;
    }

    void SupplyTip(bool wide, LPARAM lParam) {
        const auto* request = reinterpret_cast<const NMLVGETINFOTIPA*>(lParam);
        const int row = request->iItem;
        if (row < 0 || !request->pszText || request->cchTextMax <= 0) return;
        // A tip given to the row wins over the one of InitialItems.
        const bool given = static_cast<size_t>(row) < rowTips_.size() && !rowTips_[row].empty();
        if (!given && (static_cast<size_t>(row) >= tips_.size() || tips_[row].empty())) return;
        const std::string& tip = given ? rowTips_[row] : tips_[row];
        if (wide) {
            // Converted whole, then cut: a character is never split, and a surrogate pair is
            // not left half.
            const int size = MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, nullptr, 0);
            std::vector<WCHAR> text(static_cast<size_t>(std::max(size, 1)), 0);
            if (size > 0) MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, text.data(), size);
            size_t length = std::min(static_cast<size_t>(std::max(size - 1, 0)), static_cast<size_t>(request->cchTextMax - 1));
            if (length > 0 && length < static_cast<size_t>(size - 1) && IS_HIGH_SURROGATE(text[length - 1])) --length;
            auto* out = reinterpret_cast<WCHAR*>(request->pszText);
            std::copy_n(text.data(), length, out);
            out[length] = 0;
        } else {
            const size_t length = WholeCharacters(tip, static_cast<size_t>(request->cchTextMax - 1));
            std::copy_n(tip.data(), length, request->pszText);
            request->pszText[length] = 0;
        }
    }

    // The longest start of `text` of at most `limit` bytes that ends on a character boundary
    // of the ANSI code page (GBK: a lead byte and its trail byte stay together).
    static size_t WholeCharacters(const std::string& text, size_t limit) {
        if (text.size() <= limit) return text.size();
        size_t i = 0;
        while (i < limit) {
            const size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
            if (i + step > limit) break;
            i += step;
        }
        return i;
    }

    ListViewProperties p_;
    EnumeratedTexts texts_;
    OwnedImageList headerImages_;
    std::vector<std::string> tips_;  // the tip of each new-row entry of InitialItems
    bool drawingDeferred_ = false;  // redrawing is off until kDrawInsertedRowsTimer fires
    std::vector<std::string> rowTips_;  // tips given to rows (SetItemTip), by row; may be shorter than the list
    std::string editedText_;
};

}  // namespace

void* ListViewInterface(int32_t code) { return ExtendedInterfaceOf<ListView>(code); }

}  // namespace ruvelto::extui

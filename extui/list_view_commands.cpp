#include "extui/list_view_commands.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/command_values.h"
#include "forms/units.h"

namespace ruvelto::extui {
namespace {

using commands::Arguments;

// The list view control of argument 0; null when the unit is not a list view.
HWND ListOf(int32_t count, ValueRecord* args) {
    if (count < 1 || !args) return nullptr;
    forms::WindowObject* unit = forms::FindLoadedUnitOrFail(args[0].lo, args[0].hi);
    HWND window = unit ? unit->Handle() : nullptr;
    char name[32] = {};
    if (!window || !GetClassNameA(window, name, sizeof name) || lstrcmpiA(name, WC_LISTVIEWA) != 0) return nullptr;
    return window;
}

// (s + 1) << 12, where a negative s + 1 gives 0.
UINT CheckStateImage(int32_t state) {
    const int64_t image = int64_t{state} + 1;
    return image < 0 ? 0 : INDEXTOSTATEIMAGEMASK(static_cast<UINT>(std::min<int64_t>(image, 15)));
}

}  // namespace

void GetItemText(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeText;
    HWND list = ListOf(count, args);
    if (!list) return;
    Arguments a(count, args);
    const int32_t row = a.Int(1);
    // The control copies at most the buffer less one byte: a text that fills it may be longer.
    std::vector<char> buffer(512);
    LRESULT length = 0;
    for (;;) {
        LVITEMA item{};
        item.iSubItem = a.Int(2);
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= (1u << 28)) break;
        buffer.assign(buffer.size() * 2, '\0');
    }
    if (length > 0) commands::SetText(result, std::string_view(buffer.data(), static_cast<size_t>(length)));
}

void GetItemCount(ValueRecord* result, int32_t count, ValueRecord* args) {
    HWND list = ListOf(count, args);
    commands::SetInt(result, list ? static_cast<int32_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0);
}

void SetCheckState(ValueRecord*, int32_t count, ValueRecord* args) {
    HWND list = ListOf(count, args);
    if (!list) return;
    Arguments a(count, args);
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = a.Given(2) ? CheckStateImage(a.Int(2)) : 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(a.Int(1)), reinterpret_cast<LPARAM>(&item));
}

void DeleteAllItems(ValueRecord*, int32_t count, ValueRecord* args) {
    if (HWND list = ListOf(count, args)) SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

void InsertItem(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetInt(result, -1);
    HWND list = ListOf(count, args);
    if (!list) return;
    Arguments a(count, args);
    const int32_t rows = static_cast<int32_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::string text(a.Given(2) ? a.Text(2) : std::string_view());
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = a.Given(1) && a.Int(1) >= 0 ? a.Int(1) : rows;
    item.pszText = text.data();
    item.iImage = a.Given(3) && a.Int(3) >= -1 ? a.Int(3) : -1;
    item.state = a.Given(4) ? CheckStateImage(a.Int(4)) : 0;
    item.iIndent = a.Given(5) ? std::max(a.Int(5), 0) : 0;
    item.lParam = a.Given(6) ? a.Int(6) : 0;
    const int32_t row = static_cast<int32_t>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    // The insert carries the state with a mask of 0, which the control may ignore: a check state
    // that was asked for is set on the new row explicitly.
    if (row >= 0 && a.Given(4)) {
        LVITEMA state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = item.state;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    commands::SetInt(result, row);
}

void SetItemText(ValueRecord*, int32_t count, ValueRecord* args) {
    HWND list = ListOf(count, args);
    if (!list) return;
    Arguments a(count, args);
    std::string text(a.Given(3) ? a.Text(3) : std::string_view());
    LVITEMA item{};
    item.iSubItem = a.Int(2);
    item.pszText = text.data();
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(a.Int(1)), reinterpret_cast<LPARAM>(&item));
}

void GetCheckState(ValueRecord* result, int32_t count, ValueRecord* args) {
    HWND list = ListOf(count, args);
    if (!list) {
        commands::SetInt(result, -1);
        return;
    }
    Arguments a(count, args);
    const auto state = static_cast<uint32_t>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(a.Int(1)), LVIS_STATEIMAGEMASK));
    commands::SetInt(result, static_cast<int32_t>(state >> 12) - 1);
}

void SetItemTip(ValueRecord*, int32_t count, ValueRecord* args) {
    HWND list = ListOf(count, args);
    if (!list) return;
    Arguments a(count, args);
    std::string text(a.Given(2) ? a.Text(2) : std::string_view());
    SendMessageA(list, WM_USER + 2, static_cast<WPARAM>(a.Int(1)), reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace ruvelto::extui

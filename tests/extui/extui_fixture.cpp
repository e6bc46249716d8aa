#include "tests/extui/extui_fixture.h"

#include <commctrl.h>

#include "components/standard_types.h"
#include "extui/extended_types.h"
#include "extui/image_list_data.h"
#include "extui/list_view_commands.h"
#include "forms/engine_messages.h"
#include "forms/events.h"
#include "forms/forms_engine.h"
#include "forms/property_access.h"
#include "forms/type_interface.h"
#include "forms/window_unit.h"
#include "image-data/component_types.h"
#include "image-data/extended_ui_types.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/startup.h"
#include "tests/forms/test_components.h"

namespace ruvelto::extui_test {

int32_t answer = -1;
int32_t propertyToRead = -1;
std::string readDuringEvent;

namespace {

template <int32_t Event>
uint64_t Record(uint32_t a, uint32_t b) {
    uint32_t window = 0, unit = 0;
    forms::CurrentEventSource(window, unit);
    seen.push_back({unit, Event, a, b});
    if (propertyToRead >= 0) {
        auto* text = reinterpret_cast<char*>(static_cast<uintptr_t>(forms::ReadProperty(window, unit, propertyToRead, -1)));
        readDuringEvent = text ? text : "";
        heap::Free(text);
    }
    return answer >= 0 ? forms::HandlerReturns(static_cast<uint32_t>(answer)) : forms::kReturnsNothing;
}

using Handler = uint64_t (*)(uint32_t, uint32_t);
constexpr Handler kRecorders[] = {&Record<0>, &Record<1>, &Record<2>, &Record<3>, &Record<4>,
                                  &Record<5>, &Record<6>, &Record<7>, &Record<8>};

template <class Entry>
void SetInterface(image_data::TypeDescription& type, Entry entry) {
    type.typeInterface.address = reinterpret_cast<const void*>(entry);
}

const CommandEntry kCommands[] = {&extui::GetItemText,    &extui::GetItemCount, &extui::SetCheckState,
                                  &extui::DeleteAllItems, &extui::InsertItem,   &extui::SetItemText,
                                  &extui::GetCheckState,  &extui::SetItemTip};

}  // namespace

image_data::HandlerRef Recorder(int32_t event) { return forms_test::Handler(kRecorders[event]); }

bool ExtendedTest::ShowExtended(image_data::WindowDescription window) {
    image_data::LibraryDescription core = forms_test::TestCoreLibrary();
    components_test::DescribeStandardTypes(core);

    image_data::LibraryDescription extended;
    extended.name = "extended";
    image_data::DescribeExtendedUiComponents(extended.types);
    SetInterface(extended.types[1], &extui::StatusBarInterface);
    SetInterface(extended.types[3], &extui::ListViewInterface);
    SetInterface(extended.types[4], &extui::TransLabelInterface);

    std::vector<image_data::WindowDescription> windows{std::move(window)};
    image_data::AssignUnitIds(windows);
    windows_ = windows;
    image_data::ProgramImageDescription description;
    image_data::LibraryDescription directoryTree;  // library 2, not used here
    directoryTree.name = "tree";
    description.libraries = {std::move(core), std::move(directoryTree), std::move(extended)};
    description.constants.AddText("Empty", "");
    description.templateSegment = image_data::WriteTemplateSegment(windows).bytes;
    image_ = std::make_unique<image_data::MemoryImage>(description);
    forms::WindowUnits().Clear();
    forms::InstallFormsEngine();
    runtime::UseProgramImage(&image_->Header());
    runtime::EntryRuntimeHelper(runtime::kHelperStartRuntime);
    if (!Load(components_test::kWindow)) return false;
    forms_test::Activate(WindowHandle(components_test::kWindow));
    seen.clear();
    return true;
}

ValueRecord ExtendedTest::Call(int command, const std::string& name, std::vector<ValueRecord> arguments) const {
    arguments.insert(arguments.begin(), ValueRecord{components_test::kWindow, Id(name), kTypeListView});
    ValueRecord result{};
    kCommands[command](&result, static_cast<int32_t>(arguments.size()), arguments.data());
    return result;
}

std::string ExtendedTest::CallText(int command, const std::string& name, std::vector<ValueRecord> arguments) const {
    ValueRecord result = Call(command, name, std::move(arguments));
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(result.lo));
    std::string copy = text ? text : "";
    heap::Free(const_cast<char*>(text));
    return copy;
}

void Click(HWND window, int x, int y) {
    POINT target{x, y};
    ClientToScreen(window, &target);
    SetCursorPos(target.x, target.y);
    const DWORD settled = GetTickCount() + GetDoubleClickTime() + 50;
    POINT at{};
    while (static_cast<int32_t>(settled - GetTickCount()) > 0 || (GetCursorPos(&at) && (at.x != target.x || at.y != target.y) &&
                                                                  static_cast<int32_t>(settled + 1000 - GetTickCount()) > 0))
        Pump(20);
    components_test::ClickAt(window, x, y);
}

std::vector<std::string> EnumeratedTexts(void* (*typeInterface)(int32_t), HWND unit) {
    auto enumerate = reinterpret_cast<forms::EnumerateTextsService>(typeInterface(forms::kEnumerateTexts));
    void* live = reinterpret_cast<void*>(SendMessageA(unit, forms::kAskObject, 0, 0));
    std::vector<std::string> texts;
    if (!enumerate || !live) return {"(no service 9 or no live object)"};
    for (int32_t which = 0; const char* text = enumerate(live, which); ++which) texts.push_back(text);
    return texts;
}

std::vector<uint8_t> SolidImageListData(int count) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, count, 0);
    HDC screen = GetDC(nullptr);
    const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int i = 0; i < count; ++i) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(colors[i % 4]);
        RECT r{0, 0, 16, 16};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        SelectObject(dc, old);
        DeleteDC(dc);
        ImageList_Add(list, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    std::vector<uint8_t> data = extui::ImageListData(list);
    ImageList_Destroy(list);
    return data;
}

}  // namespace ruvelto::extui_test

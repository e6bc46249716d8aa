// Window and component units from builder templates: loading and reloading, the records while
// unloaded and after an unload, property access with its clamps, conversions and fonts, modal
// windows, the main loop's end, and menus with shortcuts.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "forms/error_texts.h"
#include "forms/event_record.h"
#include "forms/form_window.h"
#include "forms/message_loop.h"
#include "forms/property_access.h"
#include "forms/unit_commands.h"
#include "forms/unit_record.h"
#include "forms/units.h"
#include "forms/window_unit.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/services.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/test_components.h"
#include "runtime/address_word.h"

namespace ruvelto::forms_test {
namespace {

using namespace image_data;
using forms::ReadProperty;
using forms::WriteProperty;
constexpr uint32_t kMain = 0x52010001;
constexpr uint32_t kOther = 0x52010100;

struct Counts {
    int created = 0;
    int saved = 0;
    bool modalChecked = false;
    bool otherDisabled = false;
    bool ownedByHiddenWindow = false;
    bool onTaskbar = true;
    bool quitWhileModal = false;
    bool gaveUp = false;
} counts;

uint64_t Created() {
    ++counts.created;
    return forms::kReturnsNothing;
}
uint64_t Saved() {
    ++counts.saved;
    return forms::kReturnsNothing;
}

ComponentDescription Edit(const std::string& name, int x, int y, uint32_t flags = kVisible | kTabStop) {
    return Component(type_code::kEditBox, name).At(x, y, 140, 24).Flags(flags).Properties(EditBlob(""));
}

std::string HeapText(uint64_t value) {
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<uint32_t>(value)));
    std::string s = text ? text : "";
    heap::Free(const_cast<char*>(text));
    return s;
}

std::vector<uint8_t> HeapBytes(uint64_t value) {
    auto* block = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(static_cast<uint32_t>(value)));
    if (!block) return {};
    uint32_t count;
    std::memcpy(&count, block + 4, 4);
    std::vector<uint8_t> bytes(block + 8, block + 8 + count);
    heap::Free(block);
    return bytes;
}

// A heap byte set the caller frees.
uint32_t NewByteSet(const std::vector<uint8_t>& bytes) {
    auto* block = static_cast<uint8_t*>(heap::Allocate(8 + static_cast<uint32_t>(bytes.size())));
    uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
    std::memcpy(block, header, 8);
    std::memcpy(block + 8, bytes.data(), bytes.size());
    return AddressWord(block);
}

// A text as a word. The program's literals may lie beyond a word's reach (in a 64-bit build), so
// the text is copied into memory that the test keeps to the end.
uint32_t Address(const char* text) {
    static std::deque<std::string> kept;
    kept.emplace_back(text);
    return AddressWord(kept.back().c_str());
}

class UnitsTest : public FormsTest {
protected:
    void SetUp() override { counts = {}; }
};

TEST_F(UnitsTest, LoadingALoadedWindowOnlyActivatesIt) {
    WindowDescription w = TestWindow(kMain, "once");
    w.window.On(0, Handler(&Created));
    w.components = {Edit("edit", 10, 10)};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HWND first = WindowHandle(kMain);
    HWND edit = UnitHandle(kMain, "edit");
    ASSERT_TRUE(Load(kMain));
    EXPECT_EQ(WindowHandle(kMain), first);
    EXPECT_EQ(UnitHandle(kMain, "edit"), edit);
    EXPECT_EQ(counts.created, 1);

    // Minimised, a second load restores it.
    ShowWindow(first, SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(IsIconic(first));
    ASSERT_TRUE(Load(kMain));
    Pump();
    EXPECT_FALSE(IsIconic(first));
    EXPECT_EQ(counts.created, 1);
}

TEST_F(UnitsTest, SizesAndPositionsAreClampedLiveAndInTheRecord) {
    WindowDescription w = TestWindow(kMain, "clamps");
    w.components = {Edit("edit", 10, 10)};
    Start({w});
    const uint32_t edit = IdOf(kMain, "edit");
    struct Case {
        int32_t index, written, stored;
    };
    const Case cases[] = {{2, 40000, 32627}, {2, -5, 0}, {3, 32627, 32627}, {0, -40000, -32627}, {1, 40000, 32627},
                          {0, 12, 12}};
    for (bool loaded : {false, true}) {
        if (loaded) {
            ASSERT_TRUE(Load(kMain));
        }
        for (const Case& c : cases) {
            WriteProperty(kMain, edit, c.index, -1, static_cast<uint32_t>(c.written), 0);
            EXPECT_EQ(static_cast<int32_t>(ReadProperty(kMain, edit, c.index, -1)), c.stored)
                << "index " << c.index << " written " << c.written << (loaded ? " loaded" : " unloaded");
        }
    }
    auto record = forms::ComponentRecordAt(*forms::WindowUnits().Find(kMain), 1);
    EXPECT_EQ(record->Rect(2), 0);
    EXPECT_EQ(record->Rect(3), 32627);
}

TEST_F(UnitsTest, UnloadedWindowsReadAndWriteTheRecords) {
    WindowDescription w = TestWindow(kMain, "records");
    w.components = {Edit("shown", 10, 10), Edit("hidden", 10, 40, kTabStop)};
    w.components[0].tag = "tag one";
    Start({w});
    const uint32_t shown = IdOf(kMain, "shown"), hidden = IdOf(kMain, "hidden");
    EXPECT_EQ(ReadProperty(kMain, shown, 5, -1), 1u);
    EXPECT_EQ(ReadProperty(kMain, hidden, 5, -1), 0u);
    EXPECT_EQ(HeapText(ReadProperty(kMain, shown, 4, -1)), "tag one");

    // Written while unloaded, the next load uses it.
    WriteProperty(kMain, hidden, 5, -1, 1, 0);
    WriteProperty(kMain, shown, 5, -1, 0, 0);
    ASSERT_TRUE(Load(kMain));
    EXPECT_TRUE(IsWindowVisible(UnitHandle(kMain, "hidden")));
    EXPECT_FALSE(IsWindowVisible(UnitHandle(kMain, "shown")));
}

TEST_F(UnitsTest, RecordsChangedDuringALoadAreRestoredAfterUnload) {
    WindowDescription w = TestWindow(kMain, "restore");
    w.components = {Edit("first", 10, 10), Edit("second", 10, 40), Edit("third", 10, 70)};
    w.components[0].tag = "original";
    Start({w});
    const uint32_t first = IdOf(kMain, "first"), second = IdOf(kMain, "second"), third = IdOf(kMain, "third");
    ASSERT_TRUE(Load(kMain));
    WriteProperty(kMain, first, 4, -1, Address("a much longer tag than before"), 0);
    WriteProperty(kMain, first, 0, -1, 77, 0);
    ValueRecord destroy[1] = {{kMain, second, type_code::kEditBox}};
    forms::DestroyUnitCommand(nullptr, 1, destroy);
    EXPECT_EQ(forms::WindowUnits().Find(kMain)->recordCount, 3u);
    // The records behind the rewritten tag still read right.
    EXPECT_EQ(HeapText(ReadProperty(kMain, first, 4, -1)), "a much longer tag than before");
    EXPECT_EQ(ReadProperty(kMain, third, 1, -1), 70u);

    DestroyWindow(WindowHandle(kMain));
    Pump();
    EXPECT_EQ(forms::WindowUnits().Find(kMain)->recordCount, 4u);
    EXPECT_EQ(HeapText(ReadProperty(kMain, first, 4, -1)), "original");
    EXPECT_EQ(ReadProperty(kMain, first, 0, -1), 10u);
    ASSERT_TRUE(Load(kMain));
    EXPECT_NE(UnitHandle(kMain, "second"), nullptr);
    EXPECT_EQ(HeapText(ReadProperty(kMain, first, 4, -1)), "original");
}

TEST_F(UnitsTest, AnUnloadReportWithoutASavedTableLeavesTheTableAlone) {
    WindowDescription w = TestWindow(kMain, "reports");
    w.components = {Edit("edit", 10, 10)};
    w.components[0].tag = "kept";
    Start({w});
    const uint32_t edit = IdOf(kMain, "edit");
    forms::WindowUnit& unit = *forms::WindowUnits().Find(kMain);
    const std::vector<uint8_t> described = unit.table;
    // A window never loaded, then one whose unload has already restored its table.
    runtime::RuntimeService(kServiceUnitUnloaded, kMain, 0);
    ASSERT_EQ(unit.table, described);
    ASSERT_TRUE(Load(kMain));
    WriteProperty(kMain, edit, 4, -1, Address("changed while loaded"), 0);
    DestroyWindow(WindowHandle(kMain));
    Pump();
    runtime::RuntimeService(kServiceUnitUnloaded, kMain, 0);
    EXPECT_EQ(unit.recordCount, 2u);
    EXPECT_EQ(unit.table, described);
    EXPECT_EQ(HeapText(ReadProperty(kMain, edit, 4, -1)), "kept");
    ASSERT_TRUE(Load(kMain));
    EXPECT_NE(UnitHandle(kMain, "edit"), nullptr);
}

TEST_F(UnitsTest, OwnPropertiesConvertByTypeAndFontsFallBackToSongTi) {
    WindowDescription w = TestWindow(kMain, "properties");
    w.components = {Edit("edit", 10, 10)};
    Start({w});
    const uint32_t edit = IdOf(kMain, "edit");
    ASSERT_TRUE(Load(kMain));

    WriteProperty(kMain, edit, 8, -1, Address("hello"), 0);
    EXPECT_EQ(HeapText(ReadProperty(kMain, edit, 8, -1)), "hello");
    WriteProperty(kMain, edit, 8, -1, 0, 0);  // an absent text is the empty text
    EXPECT_EQ(ReadProperty(kMain, edit, 8, -1), 0u);

    // Font sub-fields: size in points, bold, face name rules.
    WriteProperty(kMain, edit, 9, 5, 12, 0);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 5), 12u);
    WriteProperty(kMain, edit, 9, 1, 1, 0);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 1), 1u);
    WriteProperty(kMain, edit, 9, 0, static_cast<uint32_t>(-900), 0);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 0), 2700u);
    WriteProperty(kMain, edit, 9, 6, Address("Tahoma"), 0);
    EXPECT_EQ(HeapText(ReadProperty(kMain, edit, 9, 6)), "Tahoma");
    WriteProperty(kMain, edit, 9, 6, Address("0123456789012345678901234567890123"), 0);
    EXPECT_EQ(HeapText(ReadProperty(kMain, edit, 9, 6)), forms::kDefaultFaceName);
    WriteProperty(kMain, edit, 9, 6, Address(""), 0);
    EXPECT_EQ(HeapText(ReadProperty(kMain, edit, 9, 6)), forms::kDefaultFaceName);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 5), 12u);  // the other parts stay

    // A size in points becomes a height that is truncated, not rounded: at 96 DPI 11 pt is -14
    // and 14 pt -18. The edit box is re-created with the font that shows it.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int32_t points : {11, 14, 12, 1}) {
        SCOPED_TRACE(points);
        WriteProperty(kMain, edit, 9, 5, static_cast<uint32_t>(points), 0);
        LOGFONTA shown{};
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(UnitHandle(kMain, "edit"), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        ASSERT_EQ(GetObjectA(font, sizeof shown, &shown), static_cast<int>(sizeof shown));
        EXPECT_EQ(shown.lfHeight, -(points * dpi / 72));
    }

    // A whole font value: a negative size counts as 0.
    struct FontValue {
        int32_t angle;
        uint32_t bold, italic, strikeOut, underline;
        int32_t size;
        uint32_t face;
    } value{0, 0, 1, 0, 1, -3, Address("Tahoma")};
    WriteProperty(kMain, edit, 9, -1, AddressWord(&value), 0);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 2), 1u);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 1), 0u);
    EXPECT_EQ(ReadProperty(kMain, edit, 9, 5), 0u);
}

TEST_F(UnitsTest, CursorIndexesMapToSystemCodesInTheRecord) {
    WindowDescription w = TestWindow(kMain, "cursors");
    w.components = {Edit("edit", 10, 10)};
    Start({w});
    const uint32_t edit = IdOf(kMain, "edit");
    ASSERT_TRUE(Load(kMain));
    uint32_t data = NewByteSet({4, 0, 0, 0});
    WriteProperty(kMain, edit, 7, -1, data, 0);
    heap::Free(reinterpret_cast<void*>(static_cast<uintptr_t>(data)));
    auto record = forms::ComponentRecordAt(*forms::WindowUnits().Find(kMain), 1);
    ASSERT_EQ(record->CursorDataLength(), 4u);
    EXPECT_EQ(forms::LoadWord(record->CursorData()), 32514u);  // IDC_WAIT
    EXPECT_NE(record->CursorHandle(), 0u);
    EXPECT_EQ(HeapBytes(ReadProperty(kMain, edit, 7, -1)), (std::vector<uint8_t>{4, 0, 0, 0}));

    // The I-beam shows over the unit at once.
    data = NewByteSet({3});
    WriteProperty(kMain, edit, 7, -1, data, 0);
    heap::Free(reinterpret_cast<void*>(static_cast<uintptr_t>(data)));
    RECT r;
    GetWindowRect(UnitHandle(kMain, "edit"), &r);
    SetCursorPos(r.left + 5, r.top + 5);
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)));
}

TEST_F(UnitsTest, ARefusedPropertyBlobFailsTheLoadAndKeepsTheTable) {
    WindowDescription w = TestWindow(kMain, "refused");
    w.components = {Edit("good", 10, 10), Edit("bad", 10, 40)};
    w.components[1].propertyBlock = {9, 0, 0, 0};  // version 9: too new
    Start({w});
    const std::vector<uint8_t> before = forms::WindowUnits().Find(kMain)->table;
    EXPECT_FALSE(Load(kMain));
    EXPECT_EQ(WindowHandle(kMain), nullptr);
    EXPECT_EQ(forms::WindowUnits().Find(kMain)->table, before);
    EXPECT_TRUE(forms::WindowUnits().Find(kMain)->savedTable.empty());
}

TEST_F(UnitsTest, SettingAPropertyThatNeedsRecreationKeepsTheUnit) {
    WindowDescription w = TestWindow(kMain, "recreate");
    w.components = {Component(type_code::kButton, "button").At(10, 10, 100, 26).Flags(kVisible | kTabStop)
                        .Properties(CaptionBlob("Go"))};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    const uint32_t button = IdOf(kMain, "button");
    HWND before = UnitHandle(kMain, "button");
    WriteProperty(kMain, button, 9, -1, 1, 0);  // the default-button flag re-creates the control
    HWND after = UnitHandle(kMain, "button");
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(IsWindowVisible(after));
    EXPECT_EQ(ReadProperty(kMain, button, 9, -1), 1u);
    EXPECT_EQ(HeapText(ReadProperty(kMain, button, 8, -1)), "Go");
}

VOID CALLBACK CheckModal(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    forms::WindowObject* main = forms::FindLoadedUnit(kMain, 0);
    forms::WindowObject* modal = forms::FindLoadedUnit(kOther, 0);
    if (!main || !modal) return;
    counts.modalChecked = true;
    counts.otherDisabled = !IsWindowEnabled(main->Handle());
    counts.ownedByHiddenWindow = GetWindow(modal->Handle(), GW_OWNER) == runtime::State().hiddenWindow;
    counts.onTaskbar = (GetWindowLongA(modal->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0 ||
                       GetWindow(modal->Handle(), GW_OWNER) == nullptr;
    PostMessageA(modal->Handle(), WM_CLOSE, 0, 0);
}

TEST_F(UnitsTest, AModalWindowDisablesTheOthersAndStaysOffTheTaskbar) {
    WindowDescription main = TestWindow(kMain, "main");
    WindowDescription modal = TestWindow(kOther, "modal", 200, 120);
    Start({main, modal});
    ASSERT_TRUE(Load(kMain));
    SetTimer(nullptr, 0, 200, &CheckModal);
    ASSERT_TRUE(Load(kOther, true, kMain));  // returns when the modal window is gone
    EXPECT_TRUE(counts.modalChecked);
    EXPECT_TRUE(counts.otherDisabled);
    EXPECT_TRUE(counts.ownedByHiddenWindow);
    EXPECT_FALSE(counts.onTaskbar);
    EXPECT_EQ(WindowHandle(kOther), nullptr);
    EXPECT_TRUE(IsWindowEnabled(WindowHandle(kMain)));
}

// Ways a modal window goes without being closed: destroyed at once, or marked for destruction
// and then loaded again (which destroys it first).
enum class ModalEnd { kDestroyAtOnce, kReloadWhilePending };
ModalEnd modalEnd;
uint32_t modalOwnId = 0;

VOID CALLBACK EndModal(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    counts.modalChecked = forms::FindLoadedUnit(kOther, 0) != nullptr;
    ValueRecord args[2] = {{kOther, modalOwnId, 0x10001}, {modalEnd == ModalEnd::kDestroyAtOnce ? 1u : 0u, 0, kTypeBool}};
    ValueRecord result{};
    forms::DestroyUnitCommand(&result, 2, args);
    if (modalEnd == ModalEnd::kReloadWhilePending) {
        ValueRecord window[1] = {{kOther, modalOwnId, 0x10001}};
        forms::LoadWindowCommand(&result, 1, window);
    }
}

TEST_F(UnitsTest, EveryWayAModalWindowGoesEnablesTheOthersAgain) {
    for (ModalEnd end : {ModalEnd::kDestroyAtOnce, ModalEnd::kReloadWhilePending}) {
        SCOPED_TRACE(static_cast<int>(end));
        Start({TestWindow(kMain, "main"), TestWindow(kOther, "modal", 200, 120)});
        ASSERT_TRUE(Load(kMain));
        counts = {};
        modalEnd = end;
        modalOwnId = OwnIdOf(kOther);
        SetTimer(nullptr, 0, 100, &EndModal);
        ASSERT_TRUE(Load(kOther, true, kMain));  // returns when the modal window is gone
        EXPECT_TRUE(counts.modalChecked);
        EXPECT_TRUE(IsWindowEnabled(WindowHandle(kMain)));
        TearDown();
    }
}

// The focus after a load: a window that opens visibly keeps the focus it took; a window that
// stays hidden gives back the focus that its created handler moved into it.
constexpr uint32_t kHidden = 0x52010200;
uint32_t hiddenEditId = 0;
uint64_t FocusHiddenEdit() {
    if (forms::WindowObject* edit = forms::FindLoadedUnit(kHidden, hiddenEditId)) SetFocus(edit->Handle());
    return forms::kReturnsNothing;
}

TEST_F(UnitsTest, FocusAfterLoadingStaysInAShownWindowAndReturnsFromAHiddenOne) {
    WindowDescription main = TestWindow(kMain, "main");
    main.components = {Edit("edit", 10, 10)};
    WindowDescription shown = TestWindow(kOther, "shown", 200, 120);
    shown.window.At(420, 40, 200, 120);
    shown.components = {Edit("edit", 10, 10)};
    WindowDescription hidden = TestWindow(kHidden, "hidden", 200, 120);
    hidden.window.Flags(hidden.window.stateFlags & ~kVisible).On(forms::kWindowCreated, Handler(&FocusHiddenEdit));
    hidden.components = {Edit("edit", 10, 10)};
    Start({main, shown, hidden});
    ASSERT_TRUE(Load(kMain));
    Activate(WindowHandle(kMain), UnitHandle(kMain, "edit"));
    ASSERT_EQ(GetFocus(), UnitHandle(kMain, "edit"));

    ASSERT_TRUE(Load(kOther));
    Pump();
    EXPECT_EQ(GetActiveWindow(), WindowHandle(kOther));
    EXPECT_EQ(GetFocus(), UnitHandle(kOther, "edit"));

    Activate(WindowHandle(kMain), UnitHandle(kMain, "edit"));
    ASSERT_EQ(GetFocus(), UnitHandle(kMain, "edit"));
    hiddenEditId = IdOf(kHidden, "edit");
    ASSERT_TRUE(Load(kHidden));
    Pump();
    EXPECT_FALSE(IsWindowVisible(WindowHandle(kHidden)));
    EXPECT_EQ(GetFocus(), UnitHandle(kMain, "edit"));
}

VOID CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    counts.gaveUp = true;
    PostQuitMessage(99);
}

VOID CALLBACK QuitDuringModal(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    counts.quitWhileModal = forms::FindLoadedUnit(kOther, 0) != nullptr;
    PostQuitMessage(3);
}

TEST_F(UnitsTest, AQuitDuringAModalWindowEndsTheMainLoopToo) {
    Start({TestWindow(kMain, "main"), TestWindow(kOther, "modal", 200, 120)});
    ASSERT_TRUE(Load(kMain));
    SetTimer(nullptr, 0, 200, &QuitDuringModal);
    ASSERT_TRUE(Load(kOther, true, kMain));  // the nested loop gives way to the quit
    EXPECT_TRUE(counts.quitWhileModal);
    UINT_PTR safety = SetTimer(nullptr, 0, 5000, &GiveUp);
    runtime::EntryRunMainLoop();
    KillTimer(nullptr, safety);
    EXPECT_FALSE(counts.gaveUp) << "the quit never reached the main loop";
}

TEST_F(UnitsTest, ClosingTheLastWindowEndsTheMainLoop) {
    Start({TestWindow(kMain, "main"), TestWindow(kOther, "other")});
    ASSERT_TRUE(Load(kMain));
    ASSERT_TRUE(Load(kOther));
    PostMessageA(WindowHandle(kOther), WM_CLOSE, 0, 0);
    PostMessageA(WindowHandle(kMain), WM_CLOSE, 0, 0);
    UINT_PTR safety = SetTimer(nullptr, 0, 5000, &GiveUp);
    runtime::EntryRunMainLoop();
    KillTimer(nullptr, safety);
    EXPECT_EQ(WindowHandle(kMain), nullptr);
    EXPECT_EQ(WindowHandle(kOther), nullptr);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the loop gave up";
}

TEST_F(UnitsTest, AMenuShortcutShowsItsNameAndRaisesTheHandler) {
    WindowDescription w = TestWindow(kMain, "menu");
    MenuItemDescription file = MenuItem("File", 0), save = MenuItem("Save", 1, Handler(&Saved));
    save.shortcut = 19;
    w.menu = {file, save, MenuItem("-", 1), MenuItem("Quit", 1)};
    w.components = {Edit("edit", 10, 10)};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HMENU bar = GetMenu(WindowHandle(kMain));
    ASSERT_NE(bar, nullptr);
    char text[64] = {};
    GetMenuStringA(GetSubMenu(bar, 0), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Save\tCtrl+S");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 3);

    Activate(WindowHandle(kMain), UnitHandle(kMain, "edit"));
    PressKey('S', {VK_CONTROL});
    EXPECT_EQ(counts.saved, 1);

    // Menu item properties: checking and hiding rebuild the menu.
    const uint32_t saveId = windows_[0].menu[1].id;
    EXPECT_EQ(ReadProperty(kMain, saveId, 3, -1), 1u);
    WriteProperty(kMain, saveId, 1, -1, 1, 0);
    EXPECT_EQ(ReadProperty(kMain, saveId, 1, -1), 1u);
    bar = GetMenu(WindowHandle(kMain));
    EXPECT_EQ(GetMenuState(GetSubMenu(bar, 0), 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    WriteProperty(kMain, saveId, 3, -1, 0, 0);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(WindowHandle(kMain)), 0)), 2);
}

}  // namespace
}  // namespace ruvelto::forms_test

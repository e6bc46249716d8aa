#include "tests/forms/forms_fixture.h"

#include <cstdio>

#include "forms/forms_engine.h"
#include "forms/message_loop.h"
#include "forms/unit_commands.h"
#include "forms/units.h"
#include "forms/window_loading.h"
#include "forms/window_properties.h"
#include "forms/window_unit.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/startup.h"
#include "tests/forms/test_components.h"

namespace ruvelto::forms_test {

image_data::WindowDescription TestWindow(uint32_t windowId, const std::string& caption, int width, int height) {
    image_data::WindowDescription w;
    w.windowId = windowId;
    forms::WindowProperties p;
    p.caption = caption;
    p.position = 0;
    w.window.At(40, 40, width, height).Flags(image_data::kVisible).Properties(p.Save());
    return w;
}

void FormsTest::Start(std::vector<image_data::WindowDescription> windows) {
    Start(std::move(windows), TestCoreLibrary());
}

void FormsTest::Start(std::vector<image_data::WindowDescription> windows, image_data::LibraryDescription core) {
    image_data::AssignUnitIds(windows);
    windows_ = windows;
    image_data::ProgramImageDescription description;
    description.libraries = {std::move(core)};
    description.constants.AddText("Empty", "");
    description.templateSegment = image_data::WriteTemplateSegment(windows).bytes;
    image_ = std::make_unique<image_data::MemoryImage>(description);
    forms::WindowUnits().Clear();
    forms::InstallFormsEngine();
    runtime::UseProgramImage(&image_->Header());
    runtime::EntryRuntimeHelper(runtime::kHelperStartRuntime);
}

void FormsTest::TearDown() {
    forms::ReleaseAllWindows();
    Pump(20);
    forms::WindowUnits().Clear();
    heap::ClearReadOnlyRanges();
    runtime::UseProgramImage(nullptr);
    runtime::State().mainLoopEntered = false;
    runtime::State().eventSuppression = 0;
    // Whatever WM_QUIT a test left behind must not end the next one's loops.
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

uint32_t FormsTest::IdOf(uint32_t windowId, const std::string& name) const {
    for (const auto& w : windows_)
        if (w.windowId == windowId) return image_data::UnitIdOf(w, name);
    return 0;
}

uint32_t FormsTest::OwnIdOf(uint32_t windowId) const {
    for (const auto& w : windows_)
        if (w.windowId == windowId) return w.window.id;
    return 0;
}

bool FormsTest::Load(uint32_t windowId, bool modal, uint32_t parentWindowId) {
    ValueRecord args[3] = {{windowId, OwnIdOf(windowId), 0x10001}, {}, {modal ? 1u : 0u, 0, kTypeBool}};
    if (parentWindowId) args[1] = {parentWindowId, OwnIdOf(parentWindowId), 0x10001};
    ValueRecord result{};
    forms::LoadWindowCommand(&result, 3, args);
    return result.lo != 0;
}

HWND FormsTest::WindowHandle(uint32_t windowId) const {
    forms::WindowObject* w = forms::FindLoadedUnit(windowId, 0);
    return w ? w->Handle() : nullptr;
}

HWND FormsTest::UnitHandle(uint32_t windowId, const std::string& name) const {
    forms::WindowObject* w = forms::FindLoadedUnit(windowId, IdOf(windowId, name));
    return w ? w->Handle() : nullptr;
}

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        forms::ProcessPendingMessages();
        Sleep(5);
    } while (static_cast<int32_t>(end - GetTickCount()) > 0);
    forms::ProcessPendingMessages();
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    for (;;) {
        forms::ProcessPendingMessages();
        if (done()) return true;
        const auto left = static_cast<int32_t>(end - GetTickCount());
        if (left <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < 10 ? left : 10), QS_ALLINPUT);
    }
}

void PumpInput() {
    PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; });
}

void PressKey(BYTE vk, std::initializer_list<BYTE> modifiers) {
    for (BYTE m : modifiers) keybd_event(m, 0, 0, 0);
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    for (auto it = modifiers.end(); it != modifiers.begin();) keybd_event(*--it, 0, KEYEVENTF_KEYUP, 0);
    PumpInput();
}

void TypeText(const char* text) {
    for (const char* p = text; *p; ++p) {
        SHORT scan = VkKeyScanA(*p);
        const bool shift = (scan >> 8) & 1;
        if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(LOBYTE(scan), 0, 0, 0);
        keybd_event(LOBYTE(scan), 0, KEYEVENTF_KEYUP, 0);
        if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    }
    PumpInput();
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void Activate(HWND window, HWND focus) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    PumpUntil([window] { return GetForegroundWindow() == window && GetActiveWindow() == window; });
    if (focus) {
        SetFocus(focus);
        PumpUntil([focus] { return GetFocus() == focus; });
    }
    PumpInput();
}

bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const uint32_t rowBytes = (static_cast<uint32_t>(w) * 3 + 3) & ~3u, size = rowBytes * static_cast<uint32_t>(h);
    BITMAPFILEHEADER file{0x4D42, 54 + size, 0, 0, 54};
    bool ok = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        ok = std::fwrite(&file, 14, 1, out) == 1 && std::fwrite(&info.bmiHeader, 40, 1, out) == 1 &&
             std::fwrite(bits, size, 1, out) == 1;
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void MouseAt(POINT p, DWORD button) {
    const DWORD ax = static_cast<DWORD>(MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1));
    const DWORD ay = static_cast<DWORD>(MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1));
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button, ax, ay, 0, 0);
}

}  // namespace ruvelto::forms_test

// FormWindow: the live object of every loaded window (type 0x10001). It owns the window's
// properties, its menu and accelerators, icons, region, background picture, tray icon and the
// modal bookkeeping, and carries the window's events, activation and close rules and the
// pre-translate step through which the keyboard and mouse rules of its units run.
#pragma once
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "components/picture.h"
#include "forms/type_interface.h"
#include "forms/window_object.h"
#include "forms/window_properties.h"

namespace ruvelto::forms {

struct WindowUnit;

// Window events.
enum WindowEvent : int32_t {
    kWindowCreated = 0,
    kWindowClosing = 1,
    kWindowDestroyed = 2,
    kWindowMoved = 3,
    kWindowResized = 4,
    kWindowActivated = 5,
    kWindowDeactivated = 6,
    kWindowIdle = 7,
    kWindowFirstActivated = 8,
    kWindowTrayIcon = 9,
    kWindowShown = 10,
    kWindowHidden = 11,
    // Files dropped from the shell (a window that accepts drops): argument the text of their full
    // paths, one a line; the text is the engine's and lives until the handler returns.
    kWindowFilesDropped = 12,
};

class FormWindow : public WindowObject {
public:
    FormWindow(uint32_t windowId, uint32_t unitId) : windowId_(windowId), unitId_(unitId) {}

    uint32_t WindowId() const { return windowId_; }
    uint32_t UnitId() const { return unitId_; }
    WindowUnit* Unit() const;
    const WindowProperties& Properties() const { return properties_; }
    WindowProperties& MutableProperties() { return properties_; }

    // Creation (type interface code 1): the properties are loaded before.
    bool Create(uint32_t style, HWND parent, HMENU menu, int32_t x, int32_t y, int32_t width, int32_t height,
                bool modal);
    // Shows the window as loading shows it (Position decides the show state), then raises
    // GotFocus for the unit holding the focus.
    void ShowOnLoad();

    // Type interface services 4 and 6 by own index (property index minus 8).
    uint32_t SetProperty(int32_t index, const PropertyData& value);
    bool GetProperty(int32_t index, PropertyData* value);

    // The menu and accelerators made from the menu records (rebuilt when a menu item changes).
    void SetAccelerators(HACCEL accelerators);
    void RebuildMenu();

    // The docking components laid out again.
    void LayoutDocking();

    // The notification-area icon (one per window); null removes it.
    void SetTrayIcon(HICON icon, const char* tip);

    // Modal state: the windows disabled while this one is modal are re-enabled when it goes.
    void BecomeModal();
    bool IsModal() const { return modal_; }
    bool HasParent() const { return hasParent_; }
    bool PendingDestroy() const { return pendingDestroy_; }
    void SetPendingDestroy(bool pending) { pendingDestroy_ = pending; }
    void SetLoaded() { loaded_ = true; }
    bool Loaded() const { return loaded_; }
    void UndoModalDisabling();
    void NoteHelpUsed() { helpUsed_ = true; }
    void NoteHelpClosed() { helpUsed_ = false; }

    bool PreTranslateMessage(MSG* message) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    void CorrectCaptionStyles();
    void ApplyFrameStyles();
    void ApplyIcons();
    void ApplyShape();
    void ApplySystemMenu();
    void ApplyPosition();
    void StartSound();
    void StopSound();
    void Redraw();
    void Paint();
    void OnActivate(WPARAM wParam, LPARAM lParam);
    void OnSetFocus();
    bool OnSetCursor(HWND over, UINT hitTest);
    void OnMenuCommand(uint32_t id);
    void OnDropFiles(HDROP drop);
    void ReleasePicture();
    bool RaiseCommonEvent(MSG* message);
    bool RaiseWindowEvent(int32_t event, std::initializer_list<uint32_t> arguments = {}, uint32_t* returned = nullptr,
                          uint32_t* value = nullptr);

    uint32_t windowId_;
    uint32_t unitId_;
    WindowProperties properties_;
    HACCEL accelerators_ = nullptr;
    HMENU menu_ = nullptr;
    components::DecodedPicture* picture_ = nullptr;  // the decoded background picture
    bool pictureDecoded_ = false;
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;  // made from Icon data, destroyed when replaced
    HICON trayIcon_ = nullptr;
    bool trayShown_ = false;
    HWND focusMemory_ = nullptr;
    bool hasParent_ = false;
    bool pendingDestroy_ = false;
    bool loaded_ = false;
    bool modal_ = false;
    bool activatedBefore_ = false;
    bool inActivateEvent_ = false;
    bool helpUsed_ = false;
    std::vector<std::pair<HWND, bool>> disabledWindows_;
};

// The live window of a window unit, or null when it is not loaded.
FormWindow* LiveWindowOf(WindowUnit& unit);

// The window type's interface entry.
void* WindowTypeInterface(int32_t code);
// Whether the window the create service makes next is loaded modally (it decides the owner).
void SetCreatingModal(bool modal);

}  // namespace ruvelto::forms

// The thin window framework the forms engine and the components stand on: an object bound to one
// HWND, receiving that window's messages through one virtual message switch, with the
// pre-translate step of the message loop and reflection of child-control notifications back to
// the child that sent them.
//
// An object is bound from the window's very first message (a creation hook subclasses the new
// window), or later with Attach. It is unbound after WM_NCDESTROY, and then PostNcDestroy runs,
// where an object that owns itself deletes itself.
#pragma once
#include <windows.h>

namespace ruvelto::forms {

class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    virtual ~WindowObject();

    HWND Handle() const { return hwnd_; }

    // The object bound to a window, or null.
    static WindowObject* FromHandle(HWND window);
    // As FromHandle; for a window without a bound object the window itself is asked for its
    // object with the engine message 0x8002 (windows of other libraries answer it).
    static WindowObject* FromHandleOrAsk(HWND window);

    // Creates a window bound to this object from its first message. False when creation fails.
    bool CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId);
    // Binds an existing window (subclassing it); false when it already has an object.
    bool Attach(HWND window);
    // Unbinds and returns the window, restoring its own procedure.
    HWND Detach();

    // The message switch. The base passes child notifications back to the child (Reflect) and
    // everything else to the window's own procedure (Default).
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's procedure as it was before binding.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Offered every queued message addressed to this window or a descendant, before it is
    // translated and dispatched; true consumes it.
    virtual bool PreTranslateMessage(MSG* message);
    // A notification this window sent to its parent and got back; true with *result when handled.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Runs after the window is gone and the object unbound.
    virtual void PostNcDestroy() {}

protected:
    // Hands a notification from a child control back to the child's object; true when it handled it.
    static bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    void Bind(HWND window);
    void Unbind();

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
};

// The child control whose notification a message to its parent carries, or null.
HWND NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ruvelto::forms

// A GIF animated in a window by a thread of its own: the frames drawn in turn into an off-screen
// bitmap of the logical screen (disposal and transparency applied) and copied to the window. The
// thread never calls into the runtime; it shares a drawing flag with the window's paint handler,
// and Stop() waits until the thread has ended, so its state is never freed under it.
#pragma once
#include <windows.h>

#include "components/picture_decoder.h"

namespace ruvelto::components {

// How animation threads are started: CreateThread, unless a test puts a starter that fails in
// its place to see a picture whose thread cannot start (null restores CreateThread).
using GifThreadStarter = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
void SetGifThreadStarterForTesting(GifThreadStarter starter);

class GifAnimation {
public:
    GifAnimation(GifPicture gif, HWND window, uint32_t mode);
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;
    ~GifAnimation() { Stop(); }

    // False when the thread could not be started.
    bool Start();
    // Requests the stop and waits for the thread to end.
    void Stop();
    void SetMode(uint32_t mode) { mode_ = mode; }
    // Paints the current picture of the logical screen (called by the window's paint handler).
    void Paint(HDC dc);
    int32_t Width() const { return gif_.screenWidth; }
    int32_t Height() const { return gif_.screenHeight; }

    // Where a picture of this size goes in the window's client area: mode 0 at the origin,
    // natural size; 1 stretched to the client area; 2 centred and shrunk to fit.
    static RECT Place(HWND window, uint32_t mode, int32_t width, int32_t height);

private:
    static DWORD WINAPI ThreadEntry(void* self);
    void Run();
    void DrawFrame(const GifFrame& frame);
    void CopyToWindow();
    void BeginDrawing();
    void EndDrawing();

    GifPicture gif_;
    HWND window_;
    volatile uint32_t mode_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;     // 0 running, 1 stop requested, 2 stopped
    volatile LONG drawing_ = 0;  // 1 while the thread or the paint handler draws
    HDC screenDc_ = nullptr;     // the off-screen bitmap's DC, made and freed by the thread
    HBITMAP screen_ = nullptr;
    HGDIOBJ oldScreen_ = nullptr;
};

}  // namespace ruvelto::components

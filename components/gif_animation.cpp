#include "components/gif_animation.h"

#include <new>

#include "components/picture.h"

namespace ruvelto::components {
namespace {

GifThreadStarter threadStarter = &CreateThread;

}  // namespace

void SetGifThreadStarterForTesting(GifThreadStarter starter) { threadStarter = starter ? starter : &CreateThread; }

GifAnimation::GifAnimation(GifPicture gif, HWND window, uint32_t mode)
    : gif_(std::move(gif)), window_(window), mode_(mode) {}

bool GifAnimation::Start() {
    if (thread_ || gif_.frames.empty()) return false;
    stop_ = 0;
    thread_ = threadStarter(nullptr, 0, &GifAnimation::ThreadEntry, this, 0, nullptr);
    return thread_ != nullptr;
}

void GifAnimation::Stop() {
    if (!thread_) return;
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

RECT GifAnimation::Place(HWND window, uint32_t mode, int32_t width, int32_t height) {
    RECT client{};
    GetClientRect(window, &client);
    if (mode == 1) return client;
    if (mode == 2) {
        const PictureRect r = FitCentred(client.right, client.bottom, width, height);
        return {r.x, r.y, r.x + r.width, r.y + r.height};
    }
    return {0, 0, width, height};
}

void GifAnimation::BeginDrawing() {
    while (InterlockedCompareExchange(&drawing_, 1, 0) != 0) Sleep(1);
}

void GifAnimation::EndDrawing() { InterlockedExchange(&drawing_, 0); }

void GifAnimation::Paint(HDC dc) {
    BeginDrawing();
    if (screenDc_) {
        const RECT r = Place(window_, mode_, gif_.screenWidth, gif_.screenHeight);
        SetStretchBltMode(dc, PictureStretchMode(dc));
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, screenDc_, 0, 0, gif_.screenWidth,
                   gif_.screenHeight, SRCCOPY);
    }
    EndDrawing();
}

DWORD WINAPI GifAnimation::ThreadEntry(void* self) {
    auto* animation = static_cast<GifAnimation*>(self);
    try {
        animation->Run();
    } catch (const std::bad_alloc&) {
        // Run allocates nothing that throws; should that change, the thread still ends cleanly.
        InterlockedExchange(&animation->stop_, 2);
    }
    return 0;
}

void GifAnimation::CopyToWindow() {
    // A DC of the window as it is now: one taken while the window was still hidden may keep
    // clipping everything away after it is shown.
    HDC windowDc = GetDC(window_);
    SetStretchBltMode(windowDc, PictureStretchMode(windowDc));
    const RECT r = Place(window_, mode_, gif_.screenWidth, gif_.screenHeight);
    StretchBlt(windowDc, r.left, r.top, r.right - r.left, r.bottom - r.top, screenDc_, 0, 0, gif_.screenWidth,
               gif_.screenHeight, SRCCOPY);
    ReleaseDC(window_, windowDc);
}

void GifAnimation::DrawFrame(const GifFrame& frame) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(frame.dib.data());
    const uint8_t* bits = frame.dib.data() + kDibHeadBytes;
    if (!frame.transparent) {
        SetDIBitsToDevice(screenDc_, frame.left, frame.top, frame.width, frame.height, 0, 0, 0, frame.height, bits, info,
                          DIB_RGB_COLORS);
        return;
    }
    // The mask comes from the indices themselves: white where the transparent index is.
    const uint32_t maskRow = ((uint32_t(frame.width) + 15) / 16) * 2, row = DibRowBytes(frame.width, 8);
    PixelBlock maskBits;
    if (!maskBits.Allocate(size_t(maskRow) * frame.height)) return;  // the frame is skipped, not the program
    for (int32_t y = 0; y < frame.height; ++y)
        for (int32_t x = 0; x < frame.width; ++x)
            if (bits[size_t(row) * y + x] == frame.transparentIndex) maskBits[size_t(maskRow) * y + x / 8] |= 0x80 >> (x % 8);
    HBITMAP mask = CreateBitmap(frame.width, frame.height, 1, 1, maskBits.data());
    HBITMAP image = CreateDIBitmap(screenDc_, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    if (mask && image) {
        HDC maskDc = CreateCompatibleDC(screenDc_), imageDc = CreateCompatibleDC(screenDc_);
        HGDIOBJ oldMask = SelectObject(maskDc, mask), oldImage = SelectObject(imageDc, image);
        SetTextColor(screenDc_, RGB(0, 0, 0));
        SetBkColor(screenDc_, RGB(255, 255, 255));
        BitBlt(screenDc_, frame.left, frame.top, frame.width, frame.height, imageDc, 0, 0, SRCINVERT);
        BitBlt(screenDc_, frame.left, frame.top, frame.width, frame.height, maskDc, 0, 0, SRCAND);
        BitBlt(screenDc_, frame.left, frame.top, frame.width, frame.height, imageDc, 0, 0, SRCINVERT);
        SelectObject(maskDc, oldMask), SelectObject(imageDc, oldImage);
        DeleteDC(maskDc), DeleteDC(imageDc);
    }
    if (mask) DeleteObject(mask);
    if (image) DeleteObject(image);
}

void GifAnimation::Run() {
    HDC windowDc = GetDC(window_);
    BeginDrawing();
    screenDc_ = CreateCompatibleDC(windowDc);
    screen_ = CreateCompatibleBitmap(windowDc, gif_.screenWidth, gif_.screenHeight);
    if (screen_) {
        oldScreen_ = SelectObject(screenDc_, screen_);
        HBRUSH back = CreateSolidBrush(gif_.background);
        RECT all{0, 0, gif_.screenWidth, gif_.screenHeight};
        FillRect(screenDc_, &all, back);
        DeleteObject(back);
    }
    EndDrawing();

    // What a frame of disposal 2 or 3 covered, saved before it was drawn.
    HDC savedDc = CreateCompatibleDC(windowDc);
    HBITMAP saved = nullptr;
    HGDIOBJ oldSaved = nullptr;
    RECT savedArea{};
    size_t index = 0;
    while (screen_ && stop_ == 0) {
        const GifFrame& frame = gif_.frames[index];
        BeginDrawing();
        if (saved) {
            BitBlt(screenDc_, savedArea.left, savedArea.top, savedArea.right - savedArea.left,
                   savedArea.bottom - savedArea.top, savedDc, 0, 0, SRCCOPY);
            SelectObject(savedDc, oldSaved);
            DeleteObject(saved);
            saved = nullptr;
        }
        if (frame.disposal == 2 || frame.disposal == 3) {
            savedArea = {frame.left, frame.top, frame.left + frame.width, frame.top + frame.height};
            saved = CreateCompatibleBitmap(windowDc, frame.width, frame.height);
            if (saved) {
                oldSaved = SelectObject(savedDc, saved);
                BitBlt(savedDc, 0, 0, frame.width, frame.height, screenDc_, frame.left, frame.top, SRCCOPY);
            }
        }
        DrawFrame(frame);
        CopyToWindow();
        EndDrawing();
        GdiFlush();

        const DWORD wait = frame.delay ? frame.delay * 10 : 50;
        const DWORD start = GetTickCount();
        while (stop_ == 0 && GetTickCount() - start < wait) Sleep(10);
        index = (index + 1) % gif_.frames.size();
    }

    BeginDrawing();
    if (saved) SelectObject(savedDc, oldSaved), DeleteObject(saved);
    DeleteDC(savedDc);
    if (screen_) SelectObject(screenDc_, oldScreen_), DeleteObject(screen_);
    DeleteDC(screenDc_);
    screenDc_ = nullptr, screen_ = nullptr;
    EndDrawing();
    ReleaseDC(window_, windowDc);
    InterlockedExchange(&stop_, 2);
}

}  // namespace ruvelto::components

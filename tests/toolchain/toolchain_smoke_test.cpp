#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolchain/codec_roundtrip.h"

extern const unsigned char exit_with_exe[];
extern const unsigned int exit_with_exe_size;

namespace {

// "宋体" and "中文" in GBK: the runtime's default face and a sample to draw.
const char kSongTi[] = "\xcb\xce\xcc\xe5";
const char kChinese[] = "\xd6\xd0\xce\xc4";

std::string TempFolder()
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "ruvelto-toolchain-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

TEST(Toolchain, AnsiCodePageIsGbk)
{
    EXPECT_EQ(GetACP(), 936u);
    // A GBK text survives the round trip through UTF-16, as every ...A call relies on.
    WCHAR wide[8];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, kChinese, -1, wide, 8), 3);
    EXPECT_EQ(wide[0], 0x4E2D);
    EXPECT_EQ(wide[1], 0x6587);
}

TEST(Toolchain, RealWindowOnTheDisplayWithChineseTitle)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RuveltoToolchainTest";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND w = CreateWindowExA(0, wc.lpszClassName, kChinese, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                             120, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    Pump();
    EXPECT_TRUE(IsWindowVisible(w));
    char title[32] = {};
    GetWindowTextA(w, title, sizeof title);
    EXPECT_STREQ(title, kChinese);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    DestroyWindow(w);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(Toolchain, SongTiDrawsChineseGlyphs)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 64;
    bi.bmiHeader.biHeight = -32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    SelectObject(dc, bmp);
    PatBlt(dc, 0, 0, 64, 32, WHITENESS);
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, kSongTi);
    SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    EXPECT_EQ(tm.tmCharSet, GB2312_CHARSET);
    SIZE size{};
    GetTextExtentPoint32A(dc, kChinese, 4, &size);
    EXPECT_GE(size.cx, 24);  // two full-width glyphs
    TextOutA(dc, 0, 0, kChinese, 4);
    GdiFlush();
    // The two glyphs must differ: a missing font draws the same box twice.
    auto ink = [&](int x0) {
        std::vector<int> v;
        for (int y = 0; y < 32; ++y)
            for (int x = x0; x < x0 + size.cx / 2; ++x) v.push_back(static_cast<const DWORD*>(bits)[y * 64 + x] != 0xFFFFFF);
        return v;
    };
    auto first = ink(0), second = ink(size.cx / 2);
    int inked = 0;
    for (int v : first) inked += v;
    EXPECT_GT(inked, 10);
    EXPECT_NE(first, second);
    DeleteDC(dc);
    DeleteObject(bmp);
    DeleteObject(font);
}

TEST(Toolchain, PictureLibrariesRoundTrip)
{
    EXPECT_EQ(RoundTripJpeg(), "");
    EXPECT_EQ(RoundTripPng(), "");
    EXPECT_EQ(RoundTripZlib(), "");
    EXPECT_EQ(RoundTripTiff("/tmp/ruvelto-toolchain-" + std::to_string(GetCurrentProcessId()) + ".tif"), "");
    EXPECT_EQ(RoundTripOpenJpeg(), "");
}

TEST(Toolchain, WritesStartsAndWaitsForAPeProgram)
{
    std::string dir = TempFolder();
    std::string exe = dir + "\\exit_with.exe";
    HANDLE f = CreateFileA(exe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(f, exit_with_exe, exit_with_exe_size, &written, nullptr));
    CloseHandle(f);
    ASSERT_EQ(written, exit_with_exe_size);
    ASSERT_EQ(memcmp(exit_with_exe, "MZ", 2), 0);

    std::string cmd = "\"" + exe + "\" 42";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 42u);
    EXPECT_NE(GetFileAttributesA((exe + ".ran").c_str()), INVALID_FILE_ATTRIBUTES);

    DeleteFileA((exe + ".ran").c_str());
    DeleteFileA(exe.c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

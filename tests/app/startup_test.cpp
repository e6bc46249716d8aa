// ruvelto.exe started as a person starts it, and the icon it carries. While the main window's
// component types are not part of the program, loading the start-up window fails, and the
// program must say so in the runtime error box and end with -1 rather than crash.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

TEST(ProgramStart, UnloadableStartUpWindowEndsWithTheErrorBox) {
    ChildProcess program;
    ASSERT_TRUE(program.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), ""));
    MessageBoxSeen box = DismissMessageBox(program.info.dwProcessId, 20000);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, "\xB4\xED\xCE\xF3");
    EXPECT_EQ(box.text, "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
                        "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n");
    EXPECT_EQ(program.WaitForExit(20000), 0xFFFFFFFFu);
}

// The program file carries its own icon as the resource "DEFAULT_ICON", in the sizes a window
// caption and the task bar ask for.
TEST(ProgramFile, CarriesItsIcon) {
    // Loaded as a module: a program file built by Wine's toolchain cannot be mapped as data.
    HMODULE program = LoadLibraryA(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so").c_str());
    ASSERT_NE(program, nullptr) << GetLastError();
    EXPECT_NE(FindResourceA(program, "DEFAULT_ICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(LoadImageA(program, "DEFAULT_ICON", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(program);
}

}  // namespace
}  // namespace ruvelto::testing

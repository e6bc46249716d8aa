// ruvelto.exe started as a person starts it. While the main window's component types are not
// part of the program, loading the start-up window fails, and the program must say so in the
// runtime error box and end with -1 rather than crash.
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

}  // namespace
}  // namespace ruvelto::testing

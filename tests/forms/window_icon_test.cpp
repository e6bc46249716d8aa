// The window's icons as the caption, the task bar and the window switcher ask for them
// (WM_GETICON): the big and the small image chosen from the window's icon data, answered to the
// window's own thread and to another one alike.
#include <gtest/gtest.h>

#include "forms/window_properties.h"
#include "image-data/windows/program_icon.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::forms_test {
namespace {

constexpr uint32_t kWindow = 0x52010001;

// The width of an icon's image; 0 for no icon.
int IconWidth(LRESULT handle) {
    ICONINFO info{};
    if (!handle || !GetIconInfo(reinterpret_cast<HICON>(handle), &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// An icon file of one 32 x 32 image in 16 colours.
std::vector<uint8_t> OnlyBigIcon() {
    std::vector<uint8_t> file = {0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0};
    const uint32_t imageSize = 40 + 16 * 4 + 32 * 16 + 32 * 4;
    for (uint32_t v : {imageSize, 22u}) for (int i = 0; i < 4; ++i) file.push_back(uint8_t(v >> (8 * i)));
    const uint8_t header[40] = {40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 4, 0};
    file.insert(file.end(), header, header + 40);
    file.resize(file.size() + imageSize - 40, 0);
    return file;
}

// WM_GETICON asked from a thread of its own, the way a task bar asks.
struct IconQuestion {
    HWND window = nullptr;
    WPARAM kind = ICON_SMALL;
    DWORD_PTR answer = 0;
};
DWORD WINAPI AskForIcon(void* parameter) {
    auto* question = static_cast<IconQuestion*>(parameter);
    SendMessageTimeoutA(question->window, WM_GETICON, question->kind, 0, SMTO_BLOCK, 5000, &question->answer);
    return 0;
}

class WindowIconTest : public FormsTest {
protected:
    HWND ShowWith(std::vector<uint8_t> icon) {
        image_data::WindowDescription w = TestWindow(kWindow, "Icon");
        forms::WindowProperties p;
        p.caption = "Icon";
        p.position = 0;
        p.icon = std::move(icon);
        w.window.Properties(p.Save());
        Start({w});
        EXPECT_TRUE(Load(kWindow));
        Pump();
        return WindowHandle(kWindow);
    }
};

TEST_F(WindowIconTest, TheProgramIconGivesItsBigAndSmallImages) {
    HWND window = ShowWith(image_data::ProgramIcon());  // 16, 24, 32 and 48 pixels, twice each
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(IconWidth(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), 32);
    EXPECT_EQ(IconWidth(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), 16);
    EXPECT_EQ(IconWidth(SendMessageA(window, WM_GETICON, ICON_SMALL2, 0)), 16);

    IconQuestion question{window, ICON_SMALL, 0};
    HANDLE asker = CreateThread(nullptr, 0, &AskForIcon, &question, 0, nullptr);
    ASSERT_NE(asker, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(asker, 0) == WAIT_OBJECT_0; }));
    CloseHandle(asker);
    EXPECT_EQ(IconWidth(static_cast<LRESULT>(question.answer)), 16);
}

TEST_F(WindowIconTest, WithoutASmallImageTheLastImageServesForBoth) {
    HWND window = ShowWith(OnlyBigIcon());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(IconWidth(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), 32);
    EXPECT_EQ(IconWidth(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), 32);
}

}  // namespace
}  // namespace ruvelto::forms_test

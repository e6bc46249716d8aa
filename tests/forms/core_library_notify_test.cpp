// The core library's notify entry as another library or the runtime calls it: pre-translation of
// a message by a window object (2), data objects (10, 12), deleting a window object (11), sound
// data (13), and -1 for every message it does not answer.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "forms/forms_engine.h"
#include "forms/units.h"
#include "runtime/services.h"
#include "runtime/sound_playback.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/test_components.h"

namespace ruvelto::forms_test {
namespace {

using namespace image_data;
using forms::CoreLibraryNotify;
constexpr uint32_t kMain = 0x52010001;

class CoreLibraryNotifyTest : public FormsTest {};

TEST_F(CoreLibraryNotifyTest, PreTranslatesAMessageForAWindowObject) {
    WindowDescription w = TestWindow(kMain, "notify");
    w.components = {Component(type_code::kEditBox, "first").At(10, 10, 140, 24).Flags(kVisible | kTabStop).Properties(EditBlob("")),
                    Component(type_code::kEditBox, "second").At(10, 50, 140, 24).Flags(kVisible | kTabStop).Properties(EditBlob(""))};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    Activate(WindowHandle(kMain), UnitHandle(kMain, "first"));
    ASSERT_EQ(GetFocus(), UnitHandle(kMain, "first"));
    const intptr_t window = reinterpret_cast<intptr_t>(forms::FindLoadedUnit(kMain, 0));

    // Tab is the window's to handle: it moves the focus on and the message goes no further.
    MSG tab{UnitHandle(kMain, "first"), WM_KEYDOWN, VK_TAB, 0, GetTickCount(), {}};
    EXPECT_EQ(CoreLibraryNotify(2, window, reinterpret_cast<intptr_t>(&tab)), 1);
    EXPECT_EQ(GetFocus(), UnitHandle(kMain, "second"));
    // A message for a window outside it is not.
    MSG elsewhere{GetDesktopWindow(), WM_KEYDOWN, 'A', 0, GetTickCount(), {}};
    EXPECT_EQ(CoreLibraryNotify(2, window, reinterpret_cast<intptr_t>(&elsewhere)), 0);
    EXPECT_EQ(CoreLibraryNotify(2, 0, reinterpret_cast<intptr_t>(&tab)), 0);
    EXPECT_EQ(CoreLibraryNotify(2, window, 0), 0);
}

TEST_F(CoreLibraryNotifyTest, AnswersItsMessagesAndMinusOneToOthers) {
    Start({TestWindow(kMain, "notify")});
    // 11 deletes a window object a library was given (service 1007); its window stays.
    HWND plain = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR procedure = GetWindowLongPtrA(plain, GWLP_WNDPROC);
    intptr_t object = runtime::RuntimeService(kServiceWrapWindow, reinterpret_cast<intptr_t>(plain), 0);
    ASSERT_NE(object, 0);
    EXPECT_EQ(CoreLibraryNotify(11, object, 0), 0);
    EXPECT_TRUE(IsWindow(plain));
    EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_WNDPROC), procedure);
    DestroyWindow(plain);

    // 13 plays sound data as service 2015 does.
    const uint8_t midi[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                            'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
    runtime::SoundRequest sound{midi, sizeof midi, 0};
    EXPECT_EQ(CoreLibraryNotify(13, reinterpret_cast<intptr_t>(&sound), 0), 1);
    runtime::StopSoundPlayback();
    runtime::SoundRequest notSound{midi + 4, sizeof midi - 4, 0};
    EXPECT_EQ(CoreLibraryNotify(13, reinterpret_cast<intptr_t>(&notSound), 0), 0);

    EXPECT_EQ(CoreLibraryNotify(10, 0, 0), 0);
    EXPECT_EQ(CoreLibraryNotify(12, 0, 0), 0);
    for (int32_t message : {0, 3, 6, 8, 9, 14, -1}) EXPECT_EQ(CoreLibraryNotify(message, 0, 0), -1) << message;
}

}  // namespace
}  // namespace ruvelto::forms_test

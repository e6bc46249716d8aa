// Delay and ProcessEvents on the test's own thread: what each does with the messages waiting in
// the thread's queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/commands/command_arguments.h"

namespace ruvelto::testing {
namespace {

std::vector<UINT> handled;
// Messages of our own, far from any the platform might send the window itself.
constexpr UINT kFirst = WM_APP + 0x1230, kSecond = kFirst + 1, kThird = kFirst + 2, kFourth = kFirst + 3;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kFirst && message <= kFourth) handled.push_back(message);
    if (message == WM_PAINT) {
        handled.push_back(WM_PAINT);
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// One window for the suite: without a window manager Wine takes seconds to destroy a top-level one.
class ThreadCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Recorder;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RuveltoQueueRecorder";
        RegisterClassA(&wc);
        window = CreateWindowA("RuveltoQueueRecorder", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(window);
        Drain();
    }
    void SetUp() override {
        ASSERT_NE(window, nullptr);
        Drain();
    }
    void TearDown() override { Drain(); }
    static void Drain() {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        handled.clear();
    }
    static HWND window;
};
HWND ThreadCommands::window = nullptr;

TEST_F(ThreadCommands, ProcessEventsHandlesWhatWaitsAndLeavesAQuitForTheMainLoop) {
    PostMessageA(window, kFirst, 0, 0);
    InvalidateRect(window, nullptr, TRUE);
    PostMessageA(window, kSecond, 0, 0);
    CallCore(kProcessEvents, {});
    EXPECT_EQ(handled, (std::vector<UINT>{kFirst, kSecond, WM_PAINT}));

    handled.clear();
    PostMessageA(window, kThird, 0, 0);
    PostMessageA(nullptr, WM_QUIT, 5, 0);
    PostMessageA(window, kFourth, 0, 0);
    CallCore(kProcessEvents, {});
    EXPECT_EQ(handled, std::vector<UINT>{kThird});
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 5u);
}

TEST_F(ThreadCommands, DelaySleepsWithoutHandlingMessages) {
    PostMessageA(window, kFirst, 0, 0);
    const DWORD start = GetTickCount();
    CallCore(kDelay, {Int(300)});
    EXPECT_GE(GetTickCount() - start, 280u);
    EXPECT_TRUE(handled.empty());
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, window, kFirst, kFirst, PM_NOREMOVE)) << "the message is still waiting";

    // Nothing, zero and negative times do not sleep (a negative count read as unsigned would be weeks).
    for (std::vector<ValueRecord> call : {std::vector<ValueRecord>{Int(-5)}, std::vector<ValueRecord>{Int(0)},
                                          std::vector<ValueRecord>{}}) {
        const DWORD at = GetTickCount();
        CallCore(kDelay, call);
        EXPECT_LT(GetTickCount() - at, 2000u);
    }
}

}  // namespace
}  // namespace ruvelto::testing

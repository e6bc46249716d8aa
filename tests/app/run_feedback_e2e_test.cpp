// What a run tells and does beyond converting, through the real program: custom sizes fitted with
// their proportions, the list of pictures that failed (its rows and reasons, copying, trying
// again), and the time left of a long run in the status bar.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/e2e/option_registry.h"
#include "tests/app/e2e/program_run.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

constexpr UINT kFailureListMenuCommand = 20011;  // 操作 → 失败列表, the twelfth menu record
constexpr ClientRect kKeepProportionsBox{127 + 290, 12 + 10, 76, 20};  // 保持比例 in 分组框3
const std::string kFailureListCaption = "\xCA\xA7\xB0\xDC\xB5\xC4\xCD\xBC\xC6\xAC";  // 失败的图片
const std::string kCopy = "\xB8\xB4\xD6\xC6";   // 复制
const std::string kRetry = "\xD6\xD8\xCA\xD4";  // 重试
const std::string kUnreadable = "\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC";  // 无法读取图片
const std::string kProgressBefore = "\xD2\xD1\xB4\xA6\xC0\xED ";  // 已处理
const std::string kTimeLeft = "\xA3\xAC\xCA\xA3\xD3\xE0\xD4\xBC ";  // ，剩余约
const std::string kBusyTryLater = "\xD5\xFD\xD4\xDA\xB4\xA6\xC0\xED\xA3\xAC\xC7\xEB\xC9\xD4\xBA\xF3\xD4\xD9\xCC\xED\xBC\xD3";

std::string FailuresOffered(int count) {
    return "\xCD\xBC\xC6\xAC\xD2\xD1\xB4\xA6\xC0\xED\xCD\xEA\xB1\xCF\xA3\xAC\xC6\xE4\xD6\xD0 " + std::to_string(count) +
           " \xB8\xF6\xB4\xA6\xC0\xED\xCA\xA7\xB0\xDC\xA1\xA3\xCA\xC7\xB7\xF1\xB2\xE9\xBF\xB4\xCA\xA7\xB0\xDC\xB5\xC4\xCD\xBC\xC6\xAC\xA3\xBF";
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void ClearClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

// A screenshot for a person to look at, as a PNG in the artifacts folder.
void SavePicture(HWND window, const std::string& name) {
    const std::string bmp = Artifact(name + ".bmp");
    ASSERT_TRUE(forms_test::SaveWindowPicture(window, bmp));
    ASSERT_TRUE(Convert(bmp + " " + Artifact(name + ".png")));
}

class RunFeedback : public ProgramRun {
protected:
    OptionRegistry options_;
};

TEST_F(RunFeedback, KeptProportionsFitEachPictureInsideTheCustomSize) {
    ASSERT_TRUE(Convert("-size 3000x2000 gradient:red-blue " + Src("landscape.jpg")));
    ASSERT_TRUE(Convert("-size 2000x3000 gradient:red-blue " + Src("portrait.jpg")));
    ASSERT_TRUE(Convert("-size 200x100 gradient:red-blue " + Src("small.png")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(3));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ResizeOn());
    EXPECT_FALSE(IsWindowEnabled(program_.Control(kKeepProportionsBox))) << "only with the custom size";
    program_.Click(c::kCustomRadio);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return IsWindowEnabled(program_.Control(kKeepProportionsBox)) != 0; }, 5000));
    EXPECT_FALSE(program_.IsChecked(kKeepProportionsBox)) << "off by default";
    program_.Click(kKeepProportionsBox);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return options_.Get(kKeepProportionsValue) == 1; }, 5000));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    const struct {
        const char* name;
        int width, height;
    } expected[] = {{"landscape.jpg", 640, 427}, {"portrait.jpg", 320, 480}, {"small.png", 200, 100}};
    for (const auto& e : expected) {
        const PictureFacts facts = Identify(Out(e.name));
        ASSERT_TRUE(facts.readable) << e.name;
        EXPECT_EQ(facts.width, e.width) << e.name;
        EXPECT_EQ(facts.height, e.height) << e.name;
    }
}

TEST_F(RunFeedback, FailedPicturesAreListedCopiedAndCheckedAgain) {
    ASSERT_TRUE(Convert("-size 30x20 xc:green " + Src("good.jpg")));
    ASSERT_TRUE(Convert("-size 30x20 xc:green " + Src("fine.png")));
    WriteBytes(Src("broken.jpg"), "this is no JPEG at all");
    WriteBytes(Src("empty.png"), "");
    WriteBytes(Src("noise.gif"), std::string(300, '\x5A'));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(5));
    ChooseOutputFolder(folder_.Windows("out"));
    std::vector<std::string> failed;
    for (int r = 0; r < program_.RowCount(); ++r) {
        const std::string name = program_.RowText(r);
        if (name != "good.jpg" && name != "fine.png") failed.push_back(name);
    }
    ASSERT_EQ(failed.size(), 3u);

    program_.Click(c::kStartButton);
    const MessageBoxSeen box = program_.NextMessageBox(120000, IDYES);
    EXPECT_EQ(box.text, FailuresOffered(3));
    HWND window = nullptr;
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return (window = program_.ProgramWindow(kFailureListCaption)) != nullptr; }, 20000));
    HWND list = nullptr;
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] {
        list = RuveltoDriver::ChildOfClass(window, "SysListView32");
        return list && program_.ListRowCount(list) == 3;
    }, 20000));
    std::string expectedCopy;
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(program_.ListText(list, r, 0), failed[r]);
        EXPECT_EQ(program_.ListText(list, r, 1), folder_.Windows("src"));
        EXPECT_EQ(program_.ListText(list, r, 2), kUnreadable);
        expectedCopy += failed[r] + "\t" + folder_.Windows("src") + "\t" + kUnreadable + "\r\n";
    }
    Sleep(500);
    ASSERT_NO_FATAL_FAILURE(SavePicture(window, "failure_list"));

    ClearClipboard();
    PostMessageA(RuveltoDriver::ChildWithText(window, kCopy), BM_CLICK, 0, 0);
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return ClipboardText() == expectedCopy; }, 10000)) << ClipboardText();

    // Every row is unchecked after the run; trying again checks exactly the failed ones.
    EXPECT_EQ(CheckedRows(), 0);
    PostMessageA(RuveltoDriver::ChildWithText(window, kRetry), BM_CLICK, 0, 0);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return !IsWindow(window); }, 10000));
    for (int r = 0; r < program_.RowCount(); ++r) {
        const std::string name = program_.RowText(r);
        const bool wasFailed = name != "good.jpg" && name != "fine.png";
        EXPECT_EQ(program_.CheckState(r), wasFailed ? 1 : 0) << name;
    }
    // The menu item opens the list again, with the same rows.
    PostMessageA(program_.MainWindow(), WM_COMMAND, kFailureListMenuCommand, 0);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return (window = program_.ProgramWindow(kFailureListCaption)) != nullptr; }, 20000));
    list = RuveltoDriver::ChildOfClass(window, "SysListView32");
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return list && program_.ListRowCount(list) == 3; }, 20000));
    EXPECT_EQ(program_.ListText(list, 2, 0), failed[2]);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return !IsWindow(window); }, 10000));
    EXPECT_TRUE(program_.Running());
}

TEST_F(RunFeedback, ALongRunShowsTheTimeLeftAndRefusesDrops) {
    ASSERT_TRUE(Convert("-size 2400x1800 plasma:fractal -seed 5 -quality 90 " + Src("p0.jpg")));
    const std::string bytes = FileBytes(Src("p0.jpg"));
    constexpr int kPictures = 120;
    for (int i = 1; i < kPictures; ++i) WriteBytes(Src("p" + std::to_string(i) + ".jpg"), bytes);
    ASSERT_TRUE(Convert("-size 30x20 xc:green " + folder_.Unix("late.png")));
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(kPictures));
    ChooseOutputFolder(folder_.Windows("out"));
    ASSERT_NO_FATAL_FAILURE(ConvertTo(c::kFormatPng));
    program_.Click(c::kStartButton);

    // Quiet for 5 seconds, then "已处理 N/M，剩余约 T".
    std::string status;
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return (status = program_.StatusText()).rfind(kProgressBefore, 0) == 0; }, 120000))
        << program_.StatusText();
    const std::string total = "/" + std::to_string(kPictures) + kTimeLeft;
    EXPECT_NE(status.find(total), std::string::npos) << status;
    const std::string left = status.substr(status.find(kTimeLeft) + kTimeLeft.size());
    EXPECT_TRUE(left.size() > 3 && (left.substr(left.size() - 3) == " \xC3\xEB" || left.substr(left.size() - 5) == " \xB7\xD6\xD6\xD3"))
        << left;
    ASSERT_NO_FATAL_FAILURE(SavePicture(program_.MainWindow(), "status_bar_run"));
    // The count goes on.
    const std::string first = status;
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] {
        const std::string now = program_.StatusText();
        return now != first && now.rfind(kProgressBefore, 0) == 0;
    }, 30000));

    // A drop now is refused: the list stays as the run found it.
    ASSERT_TRUE(program_.DropFiles({folder_.Windows("late.png")}));
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return program_.StatusText() == kBusyTryLater; }, 20000)) << program_.StatusText();
    EXPECT_EQ(program_.RowCount(), kPictures);

    // Stopped, the run's own texts come back.
    program_.Click(c::kStartButton);
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return program_.Text(c::kStartButton) == kStart; }, 60000));
    EXPECT_TRUE(RuveltoDriver::WaitFor([&] { return program_.StatusText().rfind(kProgressBefore, 0) != 0; }, 20000))
        << program_.StatusText();
}

}  // namespace
}  // namespace ruvelto::testing

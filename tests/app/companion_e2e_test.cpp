// ruvelto.exe's start-up checks driven end to end from a separate process: the single-instance
// guard with two real processes, and the companion offer with the real installers it carries
// (they write a line to RUVELTO_COMPANION_LOG when they start and when they end). The registry
// values are the Wine prefix's own; what a test creates is removed again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/e2e/companion_registry.h"
#include "tests/app/e2e/ruvelto_driver.h"
#include "tests/forms/forms_fixture.h"
#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

const char kMainTitle[] = "Ruvelto 1.0";
const char kOfferTitle[] = "Ruvelto";
const char kSkip[] = "\xCC\xF8\xB9\xFD";     // 跳过
const char kInstall[] = "\xC8\xB7\xB6\xA8";  // 确定

struct TopSearch {
    DWORD processId;  // 0: any process but this one
    const char* title;
    const char* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (s->processId ? pid != s->processId : pid == GetCurrentProcessId()) return TRUE;
    if (!IsWindowVisible(window)) return TRUE;
    char title[256] = {}, name[64] = {};
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, name, sizeof name);
    if (s->className && std::strcmp(name, s->className) != 0) return TRUE;
    if (s->title && !std::strstr(title, s->title)) return TRUE;
    if (s->title && s->processId && std::strcmp(title, s->title) != 0) return TRUE;  // whole titles in the program
    s->found = window;
    return FALSE;
}

// A visible top-level window of the process with exactly this title (any title when null).
HWND VisibleWindow(DWORD processId, const char* title) {
    TopSearch s{processId, title, nullptr};
    EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// An installer's message box: a dialog of another process whose title contains `part`.
HWND InstallerBox(const char* part) {
    TopSearch s{0, part, "#32770"};
    EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct TextSearch {
    const char* text;
    HWND found = nullptr;
};

BOOL CALLBACK FindText(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<TextSearch*>(param);
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::strncmp(text, s->text, std::strlen(s->text)) != 0) return TRUE;
    s->found = child;
    return FALSE;
}

// The control of `window` whose caption starts with `text`.
HWND ControlCaptioned(HWND window, const char* text) {
    TextSearch s{text};
    EnumChildWindows(window, &FindText, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 30000) {
    return RuveltoDriver::WaitFor(condition, milliseconds);
}

std::string ProgramFolder() { return WindowsPath(RUVELTO_BINARY_DIR "/app"); }
std::string ArchiverInstallerFile() { return ProgramFolder() + "\\Velmora_r904173_quillar.exe"; }
std::string BrowserInstallerFile() { return ProgramFolder() + "\\Velmora_r904173_browser.exe"; }
bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The installers the program writes stay beside it by design; a test removes them.
struct InstallerFilesCleanup {
    ~InstallerFilesCleanup() {
        DeleteFileA(ArchiverInstallerFile().c_str());
        DeleteFileA(BrowserInstallerFile().c_str());
    }
};

class CompanionTest : public ::testing::Test {
protected:
    void SetUp() override { InstallerFilesCleanup{}; }

    // Starts the program and waits for the offer window; null when it does not come.
    HWND StartToOffer() {
        if (!program_.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), "")) return nullptr;
        HWND offer = nullptr;
        WaitFor([&] { return (offer = VisibleWindow(program_.info.dwProcessId, kOfferTitle)) != nullptr; });
        return offer;
    }
    HWND MainWindow() { return VisibleWindow(program_.info.dwProcessId, kMainTitle); }
    // Closes the main window once it shows and expects the program to end with 0.
    void CloseNormally() {
        HWND main = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (main = MainWindow()) != nullptr; }));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_.WaitForExit(20000), 0u);
    }

    CompanionRegistry registry_;
    InstallerFilesCleanup files_;
    ChildProcess program_;
};

TEST_F(CompanionTest, SecondStartRestoresTheFirstAndEndsWithZeroBeforeShowingAnything) {
    registry_.SetInstalled(kArchiverKey, true);
    RuveltoDriver first;
    ASSERT_TRUE(first.Start());
    HWND main = first.MainWindow();
    EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, kGuardKey, nullptr), static_cast<int64_t>(reinterpret_cast<uintptr_t>(main)));
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }, 10000));

    ChildProcess second;
    ASSERT_TRUE(second.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), ""));
    bool secondShowedAWindow = false;
    DWORD code = STILL_ACTIVE;
    for (int i = 0; i < 600 && code == STILL_ACTIVE; ++i) {
        secondShowedAWindow = secondShowedAWindow || VisibleWindow(second.info.dwProcessId, nullptr);
        code = second.WaitForExit(25);
    }
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }, 10000)) << "the first instance's window is restored";
    EXPECT_TRUE(first.Running());

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(first.WaitForExit(20000), 0u);
    // With the first one gone, a new start runs normally.
    RuveltoDriver third;
    ASSERT_TRUE(third.Start());
    EXPECT_TRUE(IsWindowVisible(third.MainWindow()));
    PostMessageA(third.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(third.WaitForExit(20000), 0u);
}

TEST_F(CompanionTest, TwoStartsAtTheSameMomentShowExactlyOneWindow) {
    registry_.SetInstalled(kArchiverKey, true);
    const std::string exe = WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so");
    for (int attempt = 0; attempt < 8; ++attempt) {
        SCOPED_TRACE(attempt);
        ChildProcess copies[2];
        ASSERT_TRUE(copies[0].Start(exe, ""));
        ASSERT_TRUE(copies[1].Start(exe, ""));
        HWND windows[2] = {};
        DWORD codes[2] = {STILL_ACTIVE, STILL_ACTIVE};
        // Settled: one copy has ended and the other shows its window, or both show one.
        WaitFor([&] {
            for (int i = 0; i < 2; ++i) {
                codes[i] = copies[i].WaitForExit(0);
                windows[i] = codes[i] == STILL_ACTIVE ? VisibleWindow(copies[i].info.dwProcessId, kMainTitle) : nullptr;
            }
            const int shown = (windows[0] != nullptr) + (windows[1] != nullptr);
            const int ended = (codes[0] != STILL_ACTIVE) + (codes[1] != STILL_ACTIVE);
            return shown == 2 || (shown == 1 && ended == 1);
        });
        EXPECT_EQ((windows[0] != nullptr) + (windows[1] != nullptr), 1) << "exactly one copy runs";
        for (int i = 0; i < 2; ++i) {
            if (codes[i] != STILL_ACTIVE) {
                EXPECT_EQ(codes[i], 0u) << "the second copy ends with 0";
            }
            if (windows[i]) PostMessageA(windows[i], WM_CLOSE, 0, 0);
        }
        for (int i = 0; i < 2; ++i) EXPECT_EQ(copies[i].WaitForExit(20000), 0u);
    }
}

TEST_F(CompanionTest, OfferShowsOnEveryStartUntilEitherCompanionIsInstalled) {
    struct Case {
        const char* name;
        bool archiver, browser, offered;
    };
    const Case cases[] = {
        {"neither installed", false, false, true},
        {"neither installed, again", false, false, true},
        {"only the archiver", true, false, false},
        {"only the browser", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry_.SetInstalled(kArchiverKey, c.archiver);
        registry_.SetInstalled(kBrowserKey, c.browser);
        ChildProcess program;
        ASSERT_TRUE(program.Start(WindowsPath(RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"), ""));
        const DWORD pid = program.info.dwProcessId;
        HWND seen = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (seen = VisibleWindow(pid, kOfferTitle)) || (seen = VisibleWindow(pid, kMainTitle)); }));
        char title[64] = {};
        GetWindowTextA(seen, title, sizeof title);
        EXPECT_EQ(std::strcmp(title, kOfferTitle) == 0, c.offered) << title;
        if (c.offered) {
            EXPECT_EQ(VisibleWindow(pid, kMainTitle), nullptr) << "the main window shows after the offer";
            PostMessageA(ControlCaptioned(seen, kSkip), BM_CLICK, 0, 0);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(seen); }));
        }
        HWND main = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (main = VisibleWindow(pid, kMainTitle)) != nullptr; }));
        EXPECT_EQ(VisibleWindow(pid, kOfferTitle), nullptr);
        EXPECT_FALSE(FileExists(ArchiverInstallerFile())) << "skipping writes nothing";
        EXPECT_FALSE(FileExists(BrowserInstallerFile()));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
}

TEST_F(CompanionTest, CloseBoxOfTheOfferDoesNothingAndOnlySkipClosesIt) {
    HWND offer = StartToOffer();
    ASSERT_TRUE(offer);
    PostMessageA(offer, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(offer, WM_CLOSE, 0, 0);
    PostMessageA(offer, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(800);
    EXPECT_TRUE(IsWindowVisible(offer));
    EXPECT_EQ(MainWindow(), nullptr);
    PostMessageA(ControlCaptioned(offer, kSkip), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(offer); }));
    CloseNormally();
}

TEST_F(CompanionTest, InstallWithNoBoxTickedAsksForOneAndWritesNothing) {
    HWND offer = StartToOffer();
    ASSERT_TRUE(offer);
    HWND archiver = ControlCaptioned(offer, "VelmoraQuillar");
    HWND browser = ControlCaptioned(offer, "\xB0\xB2\xD7\xB0Velmora");  // 安装Velmora
    ASSERT_TRUE(archiver && browser);
    EXPECT_EQ(SendMessageA(archiver, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(browser, BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageA(archiver, BM_CLICK, 0, 0);
    PostMessageA(browser, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] {
        return SendMessageA(archiver, BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
               SendMessageA(browser, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
    }));
    PostMessageA(ControlCaptioned(offer, kInstall), BM_CLICK, 0, 0);
    MessageBoxSeen box = DismissMessageBox(program_.info.dwProcessId, 20000);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE");  // 系统提示
    EXPECT_EQ(box.text, "\xC7\xEB\xB9\xB4\xD1\xA1\xD0\xE8\xD2\xAA\xB0\xB2\xD7\xB0\xB5\xC4\xC8\xED\xBC\xFE");  // 请勾选需要安装的软件
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(offer));
    EXPECT_FALSE(FileExists(ArchiverInstallerFile()));
    EXPECT_FALSE(FileExists(BrowserInstallerFile()));
    PostMessageA(ControlCaptioned(offer, kSkip), BM_CLICK, 0, 0);
    CloseNormally();
}

TEST_F(CompanionTest, InstallRunsTheArchiversInstallerToItsEndBeforeTheBrowsers) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "ruvelto_companion_order.log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("RUVELTO_COMPANION_LOG", log.c_str());  // inherited by the program and its installers
    HWND offer = StartToOffer();
    SetEnvironmentVariableA("RUVELTO_COMPANION_LOG", nullptr);
    ASSERT_TRUE(offer);
    PostMessageA(ControlCaptioned(offer, kInstall), BM_CLICK, 0, 0);

    // The archiver's installer asks first; while it waits, the browser's has not started.
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = InstallerBox("Quillar")) != nullptr; }));
    EXPECT_TRUE(FileExists(ArchiverInstallerFile()));
    Sleep(1500);
    EXPECT_EQ(ReadTextFile(log), "archiver started\n");
    EXPECT_EQ(InstallerBox("\xE4\xAF\xC0\xC0\xC6\xF7"), nullptr);  // 浏览器
    // Through the archiver's two boxes (ask, done), then the browser's.
    for (const char* part : {"Quillar", "Quillar", "\xE4\xAF\xC0\xC0\xC6\xF7", "\xE4\xAF\xC0\xC0\xC6\xF7"}) {
        ASSERT_TRUE(WaitFor([&] { return (box = InstallerBox(part)) != nullptr; })) << part;
        Sleep(100);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    }
    ASSERT_TRUE(WaitFor([&] { return ReadTextFile(log).size() >= 60; }));
    EXPECT_EQ(ReadTextFile(log), "archiver started\narchiver ended\nbrowser started\nbrowser ended\n");
    EXPECT_TRUE(FileExists(ArchiverInstallerFile()));
    EXPECT_TRUE(FileExists(BrowserInstallerFile()));
    EXPECT_TRUE(RegistryValueExists(HKEY_LOCAL_MACHINE, kArchiverKey, "Path"));
    EXPECT_TRUE(RegistryValueExists(HKEY_LOCAL_MACHINE, kBrowserKey, "Path"));

    // The offer stays open until it is skipped.
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(offer));
    PostMessageA(ControlCaptioned(offer, kSkip), BM_CLICK, 0, 0);
    CloseNormally();
    DeleteFileA(log.c_str());
}

// Whether the program's thread answers a message within a second.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

// The companion log the installers write, with the program started under it.
struct CompanionLog {
    CompanionLog() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "ruvelto_companion_held.log";
        DeleteFileA(path.c_str());
        SetEnvironmentVariableA("RUVELTO_COMPANION_LOG", path.c_str());
    }
    ~CompanionLog() { DeleteFileA(path.c_str()); }
    void Started() { SetEnvironmentVariableA("RUVELTO_COMPANION_LOG", nullptr); }
    std::string path;
};

TEST_F(CompanionTest, WhileAnInstallerRunsTheWindowsAnswerButTakeNoClicks) {
    CompanionLog log;
    HWND offer = StartToOffer();
    log.Started();
    ASSERT_TRUE(offer);
    HWND browser = ControlCaptioned(offer, "\xB0\xB2\xD7\xB0Velmora");  // 安装Velmora
    PostMessageA(browser, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(browser, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    HWND install = ControlCaptioned(offer, kInstall);
    PostMessageA(install, BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = InstallerBox("Quillar")) != nullptr; }));
    EXPECT_FALSE(IsWindowEnabled(offer)) << "the offer takes no input while the installer runs";
    EXPECT_TRUE(Answers(offer)) << "but it answers";
    // A person clicks "确定" again meanwhile.
    RECT r{};
    GetWindowRect(install, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    forms_test::MouseAt(at, MOUSEEVENTF_LEFTDOWN);
    forms_test::MouseAt(at, MOUSEEVENTF_LEFTUP);
    Sleep(500);
    for (int i = 0; i < 2; ++i) {  // the installer's question, then its last word
        ASSERT_TRUE(WaitFor([&] { return (box = InstallerBox("Quillar")) != nullptr; }));
        Sleep(100);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    }
    ASSERT_TRUE(WaitFor([&] { return ReadTextFile(log.path) == "archiver started\narchiver ended\n"; }));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(offer) != FALSE; }, 10000));
    Sleep(3000);
    EXPECT_EQ(ReadTextFile(log.path), "archiver started\narchiver ended\n") << "the click was not replayed";
    EXPECT_EQ(InstallerBox("Quillar"), nullptr);
    PostMessageA(ControlCaptioned(offer, kSkip), BM_CLICK, 0, 0);
    CloseNormally();
}

TEST_F(CompanionTest, AnInstallerThatCannotBeWrittenIsReportedAndNothingRuns) {
    // Another program under the installer's name, held open so that it cannot be overwritten but
    // could still be started.
    ASSERT_TRUE(CopyFileA(WindowsPath(RUVELTO_BROWSER_INSTALLER).c_str(), ArchiverInstallerFile().c_str(), FALSE));
    HANDLE held = CreateFileA(ArchiverInstallerFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CompanionLog log;
    HWND offer = StartToOffer();
    log.Started();
    ASSERT_TRUE(offer);
    HWND browser = ControlCaptioned(offer, "\xB0\xB2\xD7\xB0Velmora");  // 安装Velmora
    PostMessageA(browser, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(browser, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    PostMessageA(ControlCaptioned(offer, kInstall), BM_CLICK, 0, 0);
    MessageBoxSeen box = DismissMessageBox(program_.info.dwProcessId, 20000);
    ASSERT_TRUE(box.found);
    // "无法写入安装程序文件，未运行安装：" and the file.
    EXPECT_EQ(box.text, "\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xCE\xC4\xBC\xFE\xA3\xAC"
                        "\xCE\xB4\xD4\xCB\xD0\xD0\xB0\xB2\xD7\xB0\xA3\xBA\n" + ArchiverInstallerFile());
    Sleep(3000);
    EXPECT_EQ(ReadTextFile(log.path), "") << "the file under the installer's name was started";
    EXPECT_EQ(InstallerBox("\xE4\xAF\xC0\xC0\xC6\xF7"), nullptr);  // 浏览器
    CloseHandle(held);
    PostMessageA(ControlCaptioned(offer, kSkip), BM_CLICK, 0, 0);
    CloseNormally();
}

}  // namespace
}  // namespace ruvelto::testing

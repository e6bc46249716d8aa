// The companion installers exactly as the program image carries them: written to disk, started,
// and answered the way a person answers their boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "image-data/program_image_data.h"

namespace {

using ruvelto::ByteSetHeader;

struct Companion {
    const ByteSetHeader* installer;
    const WCHAR* title;
    const WCHAR* key;
};

// WCHAR is 2 bytes under winegcc while the C++ library's wide strings expect 4: wide texts stay in
// WCHAR buffers handled by Win32 functions.
struct WideText {
    WCHAR text[MAX_PATH] = {};
};

WideText Widen(const std::string& s)
{
    WideText w;
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.text, MAX_PATH);
    return w;
}

class CompanionInstaller : public ::testing::TestWithParam<Companion> {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ruvelto-installer-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        exe_ = folder_ + "\\setup.exe";
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, Key().text);
        const ByteSetHeader* bytes = GetParam().installer;
        HANDLE f = CreateFileA(exe_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(f, bytes + 1, bytes->count, &written, nullptr);
        CloseHandle(f);
        ASSERT_EQ(written, bytes->count);
    }
    void TearDown() override
    {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, Key().text);
        DeleteFileA(exe_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    WideText Key() const
    {
        WideText k;
        lstrcpyW(k.text, L"SOFTWARE\\");
        lstrcatW(k.text, GetParam().key);
        return k;
    }

    // Starts the installer and presses the given button in each box it shows, until it exits.
    DWORD RunAnswering(int button)
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string cmd = "\"" + exe_ + "\"";
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xDEAD;
        for (int i = 0; i < 300 && WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT; ++i) {
            HWND box = FindWindowW(L"#32770", GetParam().title);
            if (box) PostMessageW(box, WM_COMMAND, button, 0);
        }
        DWORD code = 0xDEAD;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
        else TerminateProcess(pi.hProcess, 0xDEAD);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    }

    std::string folder_, exe_;
};

TEST_P(CompanionInstaller, RecordsItsFolderWhenAccepted)
{
    ASSERT_EQ(RunAnswering(IDOK), 0u);
    WCHAR path[MAX_PATH] = {};
    DWORD size = sizeof path;
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, Key().text, L"Path", RRF_RT_REG_SZ, nullptr, path, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(lstrcmpiW(path, Widen(folder_).text), 0);
}

TEST_P(CompanionInstaller, LeavesNoTraceWhenDeclined)
{
    ASSERT_EQ(RunAnswering(IDCANCEL), 1u);
    HKEY key;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Key().text, 0, KEY_READ, &key), ERROR_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(Both, CompanionInstaller,
                         ::testing::Values(Companion{ruvelto::image_data::constant::ArchiverInstaller(),
                                                     L"VelmoraQuillar\u538b\u7f29\u738b \u5b89\u88c5\u7a0b\u5e8f", L"Quillar"},
                                           Companion{ruvelto::image_data::constant::BrowserInstaller(),
                                                     L"Velmora\u6d4f\u89c8\u5668 \u5b89\u88c5\u7a0b\u5e8f", L"Tessaline"}));

}  // namespace

// CommonDlg's file dialogs answered the way a person would: look at the filter the dialog shows,
// type a file name, press OK or Cancel. The dialog is modal, so a helper thread does the person's
// part while Open runs on this thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "components/standard_types.h"
#include "tests/components/components_fixture.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;

enum : int32_t { kDialogType = 8, kTitle = 9, kFileName = 10, kFileFilter = 11, kFilterIndex = 12, kFileMustExist = 16 };

// What the person does with the dialog, and what they saw.
struct Person {
    std::string typeName;  // typed into the file name box; empty: press Cancel
    std::string filterShown;
    std::string title;
    bool sawDialog = false;
};

BOOL CALLBACK IsTheDialog(HWND w, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid != GetCurrentProcessId() || std::string(cls) != "#32770" || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

HWND FindDialog() {
    HWND found = nullptr;
    EnumWindows(&IsTheDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

DWORD WINAPI Answer(void* parameter) {
    auto* person = static_cast<Person*>(parameter);
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i) Sleep(20), dialog = FindDialog();
    if (!dialog) return 0;
    person->sawDialog = true;
    Sleep(200);  // let it finish filling its lists
    char text[260] = {};
    GetWindowTextA(dialog, text, sizeof text);
    person->title = text;
    HWND filter = GetDlgItem(dialog, 0x470);  // the file type list
    const LRESULT selected = SendMessageA(filter, CB_GETCURSEL, 0, 0);
    if (selected >= 0) {
        SendMessageA(filter, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
        person->filterShown = text;
    }
    if (person->typeName.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    HWND name = GetDlgItem(dialog, 0x480);  // the file name box
    if (!name) name = GetDlgItem(dialog, 0x47C);
    SetWindowTextA(name, person->typeName.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

class CommonDialogTest : public ComponentsTest {
protected:
    void SetUp() override {
        ComponentsTest::SetUp();
        Show(TestWindow({Component(type_code::kCommonDlg, "dlg").At(10, 10, 26, 26).Flags(0)}));
    }
    // Runs Open while `person` answers; returns Open's result.
    bool Open(Person& person) {
        HANDLE thread = CreateThread(nullptr, 0, &Answer, &person, 0, nullptr);
        ValueRecord dialog{kWindow, Id("dlg"), type_code::kCommonDlg}, result{};
        components::OpenCommonDialogCommand(&result, 1, &dialog);
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
        return result.lo != 0;
    }
};

// Makes the file and returns its path as the dialog shows it.
std::string ScratchFile(const char* name) {
    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    std::filesystem::create_directories(folder);
    const std::string unixPath = folder + "/" + name;
    if (FILE* f = std::fopen(unixPath.c_str(), "wb")) std::fputs("x", f), std::fclose(f);
    std::string windowsPath = "Z:" + unixPath;
    for (char& c : windowsPath) c = c == '/' ? '\\' : c;
    return windowsPath;
}

TEST_F(CommonDialogTest, FilterIndexOneSelectsTheSecondPairAndOkGivesThePath) {
    const std::string file = ScratchFile("common_dialog_pick.bmp");
    // "图片|*.bmp|所有文件|*.*": no bars at the end, which Open adds.
    WriteText("dlg", kFileFilter, "\xCD\xBC\xC6\xAC|*.bmp|\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE|*.*");
    Write("dlg", kFilterIndex, 1);
    WriteText("dlg", kTitle, "Pick one");
    Person person;
    person.typeName = file;
    EXPECT_TRUE(Open(person));
    EXPECT_TRUE(person.sawDialog);
    EXPECT_EQ(person.filterShown, "\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE") << "FilterIndex 1: the second pair";
    EXPECT_EQ(person.title, "Pick one");
    EXPECT_EQ(ReadText("dlg", kFileName), file);
}

TEST_F(CommonDialogTest, CancelKeepsTheFileNameAndMissingFilesNeedFileMustExistOff) {
    WriteText("dlg", kFileName, "keep.txt");
    WriteText("dlg", kFileFilter, "Text|*.txt||");
    Person cancelling;
    EXPECT_FALSE(Open(cancelling));
    EXPECT_TRUE(cancelling.sawDialog);
    EXPECT_EQ(cancelling.filterShown, "Text");
    EXPECT_EQ(ReadText("dlg", kFileName), "keep.txt");

    // A name that does not exist is taken when FileMustExist is off.
    std::string missing = ScratchFile("common_dialog_seen.txt");
    missing.replace(missing.rfind("seen"), 4, "none");
    Write("dlg", kFileMustExist, 0);
    Person typing;
    typing.typeName = missing;
    EXPECT_TRUE(Open(typing));
    EXPECT_EQ(ReadText("dlg", kFileName), missing);
}

TEST_F(CommonDialogTest, DialogTypeSevenIsHelpAndAMissingHelpFileGivesFalse) {
    Write("dlg", kDialogType, 7);
    EXPECT_EQ(Read("dlg", kDialogType), 3u);
    WriteText("dlg", 27, "Z:\\no\\such\\help.hlp");
    ValueRecord dialog{kWindow, Id("dlg"), type_code::kCommonDlg}, result{};
    components::OpenCommonDialogCommand(&result, 1, &dialog);
    EXPECT_EQ(result.lo, 0u);
    EXPECT_EQ(result.type, static_cast<uint32_t>(kTypeBool));
}

}  // namespace
}  // namespace ruvelto::components_test

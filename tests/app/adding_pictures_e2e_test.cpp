// Filling the picture list the ways people expect of a converter, through the real program:
// files and folders dropped from the shell, several files chosen in one dialog, and a folder
// picked in the tree with its subfolders, whose outputs keep their relative folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/e2e/option_registry.h"
#include "tests/app/e2e/program_run.h"

namespace ruvelto::testing {
namespace {

namespace c = controls;
using namespace program_texts;

const std::string kAddedBefore = "\xD2\xD1\xCC\xED\xBC\xD3 ";  // 已添加
const std::string kAddedMiddle = " \xB8\xF6\xCD\xBC\xC6\xAC\xA3\xAC\xCC\xF8\xB9\xFD ";  // 个图片，跳过
const std::string kAddedAfter = " \xB8\xF6\xCE\xC4\xBC\xFE";  // 个文件
constexpr ClientRect kAddButton{6 + 33, 12 + 34, 48, 24};       // 添加 in 分组框4
constexpr ClientRect kSubfoldersBox{6 + 10, 12 + 62, 96, 20};    // 包含子文件夹 in 分组框4

std::string Added(int added, int skipped) {
    return kAddedBefore + std::to_string(added) + kAddedMiddle + std::to_string(skipped) + kAddedAfter;
}

class AddingPictures : public ProgramRun {
protected:
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int r = 0; r < program_.RowCount(); ++r) rows.push_back(program_.RowText(r));
        return rows;
    }
    void Picture(const std::string& relative, const char* size = "40x30") {
        ASSERT_TRUE(Convert(std::string("-size ") + size + " xc:'rgb(200,60,60)' " + folder_.Unix(relative)));
    }

    OptionRegistry options_;
};

TEST_F(AddingPictures, DroppedFilesAndFoldersAreAddedOnceEachInTheOrderDropped) {
    folder_.MakeFolder("drop");
    folder_.MakeFolder("drop/sub");
    for (const char* name : {"src/a.jpg", "src/b.png", "drop/c.jpeg", "drop/e.gif", "drop/sub/f.jpg"})
        ASSERT_NO_FATAL_FAILURE(Picture(name));
    // An upper-case ".JPE" is a JPEG too, read by its content.
    ASSERT_TRUE(Convert("-size 40x30 xc:blue jpg:" + folder_.Unix("drop/d.JPE")));
    WriteBytes(folder_.Unix("drop/notes.txt"), "not a picture");
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(2));
    ASSERT_TRUE(program_.AcceptsDrops());

    // A file, a file that is no picture, and a picture already listed.
    ASSERT_TRUE(program_.DropFiles({folder_.Windows("drop\\c.jpeg"), folder_.Windows("drop\\notes.txt"),
                                    folder_.Windows("src\\a.jpg")}));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.StatusText() == Added(1, 2); }, 20000))
        << program_.StatusText();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a.jpg", "b.png", "c.jpeg"}));

    // A folder brings its own pictures (its subfolder's stay out), c.jpeg is not listed twice,
    // and neither is the same file dropped again with its name in another case.
    ASSERT_TRUE(program_.DropFiles({folder_.Windows("drop"), folder_.Windows("DROP\\C.JPEG")}));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.StatusText() == Added(2, 2); }, 20000))
        << program_.StatusText();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a.jpg", "b.png", "c.jpeg", "d.JPE", "e.gif"}));
    EXPECT_EQ(CheckedRows(), 5);

    // The dropped rows convert their own files.
    ChooseOutputFolder(folder_.Windows("out"));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const char* name : {"a.jpg", "b.png", "c.jpeg", "d.JPE", "e.gif"}) EXPECT_TRUE(Identify(Out(name)).readable) << name;
    EXPECT_FALSE(FileExists(Out("f.jpg")));
}

TEST_F(AddingPictures, ThousandsOfDroppedFilesKeepTheWindowAnswering) {
    ASSERT_NO_FATAL_FAILURE(Picture("src/seed.png", "8x8"));
    const std::string bytes = FileBytes(Src("seed.png"));
    std::vector<std::string> paths;
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "p" + std::to_string(i) + ".png";
        WriteBytes(Src(name), bytes);
        paths.push_back(folder_.Windows("src\\" + name));
    }
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.DropFiles(paths));
    // While the rows go in, the window answers within a second.
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() > 0; }, 20000));
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(program_.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) != 0);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.StatusText() == Added(2000, 0); }, 240000))
        << program_.RowCount();
    EXPECT_EQ(program_.RowCount(), 2000);
    EXPECT_EQ(program_.RowText(1999), "p1999.png");
}

// Waits for the open-file dialog and types into its file name box, then presses OK.
bool TypeInFileDialog(RuveltoDriver& program, const std::string& text) {
    HWND dialog = nullptr;
    RuveltoDriver::WaitFor([&] { return (dialog = program.VisibleDialog()) != nullptr; }, 20000);
    if (!dialog) return false;
    Sleep(500);
    HWND name = GetDlgItem(dialog, 0x47C);  // the file name box: a combo box, or an edit on older dialogs
    if (!name) name = GetDlgItem(dialog, 0x480);
    if (!name) return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
}

TEST_F(AddingPictures, SeveralFilesChosenInOneDialog) {
    for (const char* name : {"src/a.jpg", "src/b.png", "src/c.gif"}) ASSERT_NO_FATAL_FAILURE(Picture(name));
    ASSERT_TRUE(program_.Start());
    program_.Click(kAddButton);
    // The folder first (the dialog opens it), then two of its files at once.
    ASSERT_TRUE(TypeInFileDialog(program_, folder_.Windows("src")));
    Sleep(1000);
    ASSERT_TRUE(TypeInFileDialog(program_, "\"a.jpg\" \"c.gif\""));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == 2; }, 20000)) << program_.RowCount();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a.jpg", "c.gif"}));
    EXPECT_EQ(program_.StatusText(), Added(2, 0));
}

TEST_F(AddingPictures, SubfoldersListedWhenAskedAndOutputsKeepTheirRelativeFolders) {
    folder_.MakeFolder("src/l1");
    folder_.MakeFolder("src/l1/l2");
    folder_.MakeFolder("src/l1/l2/l3");
    folder_.MakeFolder("src/empty");
    for (const char* name : {"src/a.jpg", "src/l1/b.jpg", "src/l1/l2/c.png", "src/l1/l2/l3/d.jpg", "src/l1/l2/l3/e.JPEG"})
        ASSERT_NO_FATAL_FAILURE(Picture(name));

    // Off (the default): the picked folder's own pictures only.
    ASSERT_NO_FATAL_FAILURE(StartWithSourceFolder(1));
    EXPECT_FALSE(program_.IsChecked(kSubfoldersBox));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a.jpg"}));

    // On: remembered in the registry, and picking the folder again lists the whole tree, each
    // folder after its parent.
    program_.Click(kSubfoldersBox);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return options_.Get(kSubfoldersValue) == 1; }, 5000));
    ASSERT_TRUE(program_.SelectFolder(folder_.Windows("out")));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == 0; }, 20000));
    ASSERT_TRUE(program_.SelectFolder(folder_.Windows("src")));
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return program_.RowCount() == 5; }, 20000)) << program_.RowCount();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.png", "d.jpg", "e.JPEG"}));

    ChooseOutputFolder(folder_.Windows("out"));
    EXPECT_EQ(RunToTheEnd().text, kAllDone);
    for (const char* name : {"a.jpg", "l1/b.jpg", "l1/l2/c.png", "l1/l2/l3/d.jpg", "l1/l2/l3/e.JPEG"})
        EXPECT_TRUE(Identify(Out(name)).readable) << name;
    for (const char* name : {"b.jpg", "c.png", "d.jpg", "l1/c.png", "l1/l2/d.jpg"}) EXPECT_FALSE(FileExists(Out(name))) << name;
    EXPECT_FALSE(FileExists(Out("empty")));
}

TEST_F(AddingPictures, TheSubfoldersBoxStartsAsTheRegistrySays) {
    options_.Set(kSubfoldersValue, true);
    ASSERT_TRUE(program_.Start());
    EXPECT_TRUE(program_.IsChecked(kSubfoldersBox));
    program_.Click(kSubfoldersBox);
    ASSERT_TRUE(RuveltoDriver::WaitFor([&] { return options_.Get(kSubfoldersValue) == 0; }, 5000));
}

}  // namespace
}  // namespace ruvelto::testing

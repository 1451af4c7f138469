#include <gtest/gtest.h>

#include <functional>

#include "MenuAnswer.h"
#include "Trash.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "fileops/ShellItemMenu.h"
#include "ui/Form.h"

using namespace fileops;
using testdriver::Exists;
using testdriver::TempDir;

namespace {

using fileopstest::MenuAnswer;

class ShellItemMenuTest : public testing::Test {
protected:
    void SetUp() override {
        owner.CreateForm(L"Owner", 300, 200, false);
        owner.Show();
        testdriver::Pump(20);
        name = fileopstest::UniqueName(L"zelvor-menu");
        file = dir.File(name, "alpha");
    }
    void TearDown() override { testdriver::ClearAnswers(); }

    ui::TForm owner;
    TempDir dir;
    std::wstring name, file;
};

TEST_F(ShellItemMenuTest, MenuClosedWithoutAChoiceGivesTrueAndDoesNothing) {
    MenuAnswer close([](HWND) { EndMenu(); });
    EXPECT_TRUE(ShowItemContextMenu(file, owner.Handle(), POINT{100, 100}));
    EXPECT_EQ(close.MenusSeen(), 1);
    EXPECT_TRUE(Exists(file));
}

TEST_F(ShellItemMenuTest, ChosenCommandIsCarriedOutByTheShell) {
    // "&Delete", then the shell's own confirmation.
    MenuAnswer choose([](HWND menu) { PostMessageW(menu, WM_CHAR, L'd', 0); });
    testdriver::AnswerWhenShown(L"Confirm file deletion", testdriver::PressButton(L"&Yes"));
    EXPECT_TRUE(ShowItemContextMenu(file, owner.Handle(), POINT{100, 100}));
    EXPECT_EQ(choose.MenusSeen(), 1);
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(fileopstest::TakeFromTrash(name), "alpha");
}

TEST_F(ShellItemMenuTest, PathTheShellCannotParseGivesFalseAndNoMenu) {
    MenuAnswer close([](HWND) { EndMenu(); });
    EXPECT_FALSE(ShowItemContextMenu(dir / L"missing.txt", owner.Handle(), POINT{100, 100}));
    EXPECT_FALSE(ShowItemProperties(dir / L"missing.txt", owner.Handle()));
    testdriver::Pump(100);
    EXPECT_EQ(close.MenusSeen(), 0);
}

TEST_F(ShellItemMenuTest, PropertiesOfAFileAndOfAFolderOpenTheShellsSheet) {
    std::wstring folder = dir.Folder(L"sub");
    struct Case {
        std::wstring path, caption;
    } cases[] = {{file, L"Properties for " + name}, {folder, L"Properties for sub"}};
    for (const Case &c : cases) {
        testdriver::AnswerWhenShown(c.caption, testdriver::PressButton(L"Cancel"));
        EXPECT_TRUE(ShowItemProperties(c.path, owner.Handle())) << c.path;
        ASSERT_EQ(testdriver::AnsweredCaptions().size(), 1u) << c.path;
        testdriver::ClearAnswers();
    }
}

} // namespace

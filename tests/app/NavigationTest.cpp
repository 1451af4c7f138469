#include "MainFormFixture.h"

#include "app/Side.h"
#include "driver/TempDir.h"

using testdriver::Captions;
using testdriver::PressKey;
using testdriver::SelectedRow;

namespace {

class NavigationTest : public MainFormTest {
protected:
    testdriver::TempDir dir;
};

TEST(ParentDirectory, CutsTheLastComponent) {
    EXPECT_EQ(app::ParentDirectory(L"C:\\A\\B\\") + L"\\", L"C:\\A\\");
    EXPECT_EQ(app::ParentDirectory(L"C:\\A\\") + L"\\", L"C:\\");
}

TEST_F(NavigationTest, DoubleClickEntersAFolderAndDotDotLeavesIt) {
    dir.Folder(L"Outer\\Inner\\Deepest");
    dir.File(L"Outer\\Inner\\file.txt");
    form->Left.SetDirectory(dir / L"Outer\\Inner");
    form->Left.FocusAndPlaceCursor();
    ASSERT_EQ(Captions(LeftView()), (std::vector<std::wstring>{L"..", L"Deepest", L"file.txt"}));

    form->LeftFileView.SetSelected(1);
    testdriver::DoubleClickRow(LeftView(), 1);
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"Outer\\Inner\\Deepest\\");
    EXPECT_EQ(form->LeftTitlePanel.Caption(), dir / L"Outer\\Inner\\Deepest\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"Outer\\Inner\\Deepest\\");
    EXPECT_EQ(SelectedRow(LeftView()), 0);

    testdriver::DoubleClickRow(LeftView(), 0); // ".."
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"Outer\\Inner\\");
    testdriver::DoubleClickRow(LeftView(), 0);
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"Outer\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"Outer\\");
    EXPECT_EQ(SelectedRow(LeftView()), 0) << "the cursor is on the parent's first row, not on the folder left";
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(NavigationTest, OpeningAFileGoesToTheShellAndChangesNoSide) {
    dir.File(L"readme.txt", "text");
    std::vector<std::wstring> opened;
    form->ShellExecuteVerb = [&](HWND, const std::wstring &verb, const std::wstring &file) {
        opened.push_back(verb + L" " + file);
    };
    form->Left.SetDirectory(dir.Path());
    form->Left.FocusAndPlaceCursor();
    form->LeftFileView.SetSelected(1);
    std::wstring right = form->RightFileView.Directory();
    PressKey(VK_NEXT, ui::ssCtrl);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], L"open " + (dir / L"readme.txt"));
    EXPECT_EQ(form->LeftFileView.Directory(), dir.Path());
    EXPECT_EQ(form->RightFileView.Directory(), right);
}

TEST_F(NavigationTest, TabClickAndTitleClickActivateASide) {
    dir.Folder(L"R");
    form->Right.SetDirectory(dir / L"R");
    PressKey(VK_TAB);
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kInactiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"R\\");
    EXPECT_EQ(GetFocus(), RightView());
    EXPECT_EQ(SelectedRow(RightView()), 0);

    testdriver::Click(form->LeftTitlePanel.Handle(), 5, 5);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), form->LeftFileView.Directory());
    EXPECT_EQ(GetFocus(), LeftView());

    testdriver::ClickRow(RightView(), 0);
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kInactiveTitleColor);
}

TEST_F(NavigationTest, TypedDriveLetterListsThatRootAndAMissingDriveIsEmpty) {
    form->Left.SetDirectory(dir.Path());
    form->LeftDriveCombo.SetFocus();
    PressKey('C');
    EXPECT_EQ(form->LeftFileView.Directory(), L"c:\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), L"c:\\");
    EXPECT_EQ(GetFocus(), LeftView());
    EXPECT_GT(form->LeftFileView.Count(), 0);

    form->LeftDriveCombo.SetFocus();
    PressKey('Q');
    EXPECT_EQ(form->LeftFileView.Directory(), L"q:\\");
    EXPECT_EQ(form->LeftTitlePanel.Caption(), L"q:\\");
    EXPECT_EQ(form->LeftFileView.Count(), 0);
    EXPECT_EQ(testdriver::FindVisibleWindow(L"Zelvor"), nullptr);
}

TEST_F(NavigationTest, DriveChosenInTheListActivatesItsSide) {
    form->RightDriveCombo.SetDrive(L'q');
    EXPECT_EQ(form->RightFileView.Directory(), L"q:\\");
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), L"q:\\");
}

} // namespace

namespace {

TEST_F(NavigationTest, TabGoesToTheOtherSidesQuickViewPaneWhenItShows) {
    form->RightFileView.SetVisible(false);
    form->Right.QMemo.SetVisible(true);
    testdriver::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form->Right.QMemo.Handle());
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), form->RightFileView.Directory());
    form->RightDriveCombo.SetDrive(L'q'); // a drive change shows the file view again
    EXPECT_FALSE(form->Right.QMemo.Visible());
    EXPECT_TRUE(form->RightFileView.Visible());
}

} // namespace

#include "MainFormFixture.h"

#include "app/CommandIds.h"
#include "app/Marking.h"
#include "driver/TempDir.h"

using testdriver::Captions;
using testdriver::PressKey;
using Names = std::vector<std::wstring>;

namespace {

class ShowMenuTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        dir.Folder(L"left\\tools");
        dir.File(L"left\\run.exe", std::string(300, 'x'));
        dir.File(L"left\\notes.txt", "x");
        dir.File(L"left\\setup.bat", std::string(20, 'x'));
        dir.Folder(L"right");
        dir.File(L"right\\z.txt", "xx");
        dir.File(L"right\\y.txt", "x");
        form->Left.SetDirectory(dir / L"left");
        form->Right.SetDirectory(dir / L"right");
        form->Left.Activate();
    }
    void TearDown() override {
        filelist::TFileList::SetReversed(false);
        MainFormTest::TearDown();
    }

    bool Checked(UINT id) { return GetMenuState(GetMenu(form->Handle()), id, MF_BYCOMMAND) & MF_CHECKED; }

    testdriver::TempDir dir;
};

TEST_F(ShowMenuTest, SortKeysAndReverse) {
    PressKey(VK_F6, ui::ssCtrl);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"setup.bat", L"run.exe"}));
    EXPECT_TRUE(Checked(IDM_SIZE1));
    PressKey(VK_F3, ui::ssCtrl);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"run.exe", L"setup.bat"}));
    PressKey(VK_F3, ui::ssCtrl);
    EXPECT_EQ(Captions(LeftView()), (Names{L"tools", L"..", L"setup.bat", L"run.exe", L"notes.txt"}));
    PressKey(VK_F3, ui::ssCtrl);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"run.exe", L"setup.bat"}));
    PressKey(VK_F7, ui::ssCtrl); // Unsorted changes nothing
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"run.exe", L"setup.bat"}));
    EXPECT_TRUE(Checked(IDM_UNSORTED1));
}

TEST_F(ShowMenuTest, ReversedOrderReachesTheOtherSideAtItsNextListing) {
    SendMessageW(form->Handle(), WM_COMMAND, IDM_REVERSEDORDER1, 0);
    EXPECT_EQ(Captions(LeftView()), (Names{L"tools", L"..", L"setup.bat", L"run.exe", L"notes.txt"}));
    EXPECT_EQ(Captions(RightView()), (Names{L"..", L"y.txt", L"z.txt"}));
    form->Right.SetDirectory(form->Right.Directory());
    EXPECT_EQ(Captions(RightView()), (Names{L"..", L"z.txt", L"y.txt"}));
}

TEST_F(ShowMenuTest, ProgramsListsOnlyProgramsOnTheActiveSide) {
    PressKey(VK_F11, ui::ssCtrl);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"run.exe", L"setup.bat"}));
    EXPECT_EQ(form->LeftFileView.Mask(), L"*.bat;*.cmd;*.com;*.exe;*.pif");
    EXPECT_EQ(Captions(RightView()), (Names{L"..", L"y.txt", L"z.txt"}));
    form->Show1Click();
    EXPECT_TRUE(Checked(IDM_PROGRAMS1));
    PressKey(VK_F10, ui::ssCtrl);
    EXPECT_EQ(form->LeftFileView.Mask(), L"*.*");
    form->Right.Activate();
    form->RightFileView.SetMask(L"*.txt");
    form->Show1Click();
    EXPECT_TRUE(Checked(IDM_CUSTOM1));
}

TEST_F(ShowMenuTest, BriefAndFullKeepTheRowOrder) {
    PressKey(VK_F1, ui::ssCtrl);
    EXPECT_EQ(GetWindowLongPtrW(LeftView(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    form->Show1Click();
    EXPECT_TRUE(Checked(IDM_BRIEF1));
    PressKey(VK_F6, ui::ssCtrl); // in the brief view: sorted at the next listing only
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"run.exe", L"setup.bat"}));
    PressKey('R', ui::ssCtrl);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"setup.bat", L"run.exe"}));
    PressKey(VK_F2, ui::ssCtrl);
    EXPECT_EQ(GetWindowLongPtrW(LeftView(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"tools", L"notes.txt", L"setup.bat", L"run.exe"}));
    EXPECT_FALSE(IsWindowVisible(form->RightFileView.Handle()) == FALSE);
}

TEST_F(ShowMenuTest, SwapTwiceRestoresAndDropsMarks) {
    app::MarkAll(form->LeftFileView);
    std::wstring a = form->LeftFileView.Directory(), b = form->RightFileView.Directory();
    PressKey('U', ui::ssCtrl);
    EXPECT_EQ(form->LeftFileView.Directory(), b);
    EXPECT_EQ(form->RightFileView.Directory(), a);
    EXPECT_EQ(form->LeftTitlePanel.Caption(), b);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), b);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kActiveTitleColor);
    PressKey('U', ui::ssCtrl);
    EXPECT_EQ(form->LeftFileView.Directory(), a);
    EXPECT_EQ(form->RightFileView.Directory(), b);
    for (const auto &row : testdriver::ReadRows(LeftView())) EXPECT_FALSE(row.marked);
    EXPECT_EQ(testdriver::SelectedRow(LeftView()), 0);
}

TEST_F(ShowMenuTest, TargetEqualsSourceChangesOnlyTheActiveSide) {
    app::MarkAll(form->LeftFileView);
    form->Right.Activate();
    SendMessageW(form->Handle(), WM_COMMAND, IDM_TARGETSOURCE1, 0);
    EXPECT_EQ(form->RightFileView.Directory(), dir / L"left\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"left\\");
    EXPECT_TRUE(testdriver::ReadRows(LeftView())[1].marked) << "the other side keeps its marks";
}

TEST_F(ShowMenuTest, MarkMenuActsOnTheActiveSide) {
    form->Right.Activate();
    SendMessageW(form->Handle(), WM_COMMAND, IDM_SELECTALL1, 0);
    auto right = testdriver::ReadRows(RightView());
    EXPECT_FALSE(right[0].marked);
    EXPECT_TRUE(right[1].marked && right[2].marked);
    EXPECT_FALSE(testdriver::ReadRows(LeftView())[1].marked);
    SendMessageW(form->Handle(), WM_COMMAND, IDM_INVERTSELECTION1, 0);
    for (const auto &row : testdriver::ReadRows(RightView())) EXPECT_FALSE(row.marked);
}

TEST_F(ShowMenuTest, MarkGroupUsesTheSystemSearchIgnoringCase) {
    dir.File(L"left\\README.TXT");
    form->Left.SetDirectory(form->Left.Directory());
    app::MarkGroup(form->LeftFileView, L"*.txt", true);
    std::vector<std::wstring> marked;
    for (const auto &row : testdriver::ReadRows(LeftView()))
        if (row.marked) marked.push_back(row.caption);
    EXPECT_EQ(marked, (Names{L"notes.txt", L"readme.txt"}));
    app::MarkGroup(form->LeftFileView, L"*.*", true);
    EXPECT_FALSE(testdriver::ReadRows(LeftView())[0].marked) << "the parent row is never marked";
    app::MarkGroup(form->LeftFileView, L"n*", false);
    EXPECT_FALSE(testdriver::ReadRows(LeftView())[2].marked);
    EXPECT_TRUE(testdriver::ReadRows(LeftView())[3].marked);
    app::MarkGroup(form->LeftFileView, L"nothing*.zz", false);
    EXPECT_TRUE(testdriver::ReadRows(LeftView())[3].marked);
}

} // namespace

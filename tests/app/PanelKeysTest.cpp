#include "MainFormFixture.h"

#include "app/CommandIds.h"
#include "driver/TempDir.h"

using testdriver::PressKey;
using testdriver::ReadRows;
using testdriver::SelectedRow;

namespace {

class PanelKeysTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        dir.Folder(L"sub");
        for (const wchar_t *name : {L"a.txt", L"b.txt", L"c.doc"}) dir.File(name, "x");
        form->Left.SetDirectory(dir.Path());
        form->Left.Activate();
        // Rows: .., sub, a.txt, b.txt, c.doc
    }

    std::vector<bool> Marks() {
        std::vector<bool> marks;
        for (const auto &row : ReadRows(LeftView())) marks.push_back(row.marked);
        return marks;
    }

    testdriver::TempDir dir;
};

using MarkList = std::vector<bool>;

TEST_F(PanelKeysTest, InsertTogglesAndMovesDown) {
    PressKey(VK_INSERT); // on ".."
    EXPECT_EQ(Marks(), (MarkList{false, false, false, false, false}));
    EXPECT_EQ(SelectedRow(LeftView()), 1);
    PressKey(VK_INSERT);
    PressKey(VK_BACK);
    EXPECT_EQ(Marks(), (MarkList{false, true, true, false, false}));
    EXPECT_EQ(SelectedRow(LeftView()), 3);
    PressKey(VK_END);
    PressKey(VK_INSERT);
    EXPECT_EQ(SelectedRow(LeftView()), 4) << "the cursor stays on the last row";
    EXPECT_TRUE(Marks()[4]);
}

TEST_F(PanelKeysTest, ShiftArrowsToggleTheFocusedRow) {
    PressKey(VK_DOWN);
    PressKey(VK_DOWN, ui::ssShift);
    PressKey(VK_DOWN, ui::ssShift);
    EXPECT_EQ(Marks(), (MarkList{false, true, true, false, false}));
    PressKey(VK_UP, ui::ssShift);
    EXPECT_EQ(Marks(), (MarkList{false, true, true, true, false}));
}

TEST_F(PanelKeysTest, GrayKeysMarkAllNoneAndInvert) {
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_ADD, ui::ssCtrl);
    EXPECT_EQ(Marks(), (MarkList{false, true, true, true, true}));
    PressKey(VK_MULTIPLY);
    EXPECT_EQ(Marks(), (MarkList{false, false, false, false, false}));
    PressKey(VK_MULTIPLY);
    PressKey(VK_SUBTRACT, ui::ssCtrl);
    EXPECT_EQ(Marks(), (MarkList{false, false, false, false, false}));
    EXPECT_EQ(SelectedRow(LeftView()), 3) << "marking moves no cursor";
}

TEST_F(PanelKeysTest, CtrlRightAndCtrlLeftCopyTheDirectoryAcross) {
    std::wstring right = form->RightFileView.Directory();
    PressKey(VK_RIGHT, ui::ssCtrl);
    EXPECT_EQ(form->RightFileView.Directory(), dir.Path());
    EXPECT_EQ(form->RightTitlePanel.Caption(), dir.Path());
    EXPECT_EQ(GetFocus(), LeftView());
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kActiveTitleColor);
    form->Right.SetDirectory(right);
    PressKey(VK_LEFT, ui::ssCtrl);
    EXPECT_EQ(form->LeftFileView.Directory(), right);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), right) << "the active side's prompt follows";
    EXPECT_EQ(SelectedRow(LeftView()), 0);
}

TEST_F(PanelKeysTest, AltF1InTheRightViewActivatesAndOpensTheLeftDriveList) {
    form->Right.Activate();
    PressKey(VK_F1, ui::ssAlt);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir.Path());
    EXPECT_TRUE(form->LeftDriveCombo.DroppedDown());
    PressKey('C');
    EXPECT_EQ(form->LeftFileView.Directory(), L"c:\\");
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(PanelKeysTest, F10AsksBeforeEnding) {
    HWND main = form->Handle();
    testdriver::AnswerWhenShown(L"Zelvor", testdriver::PressButton(L"Cancel"));
    PressKey(VK_F10);
    EXPECT_EQ(testdriver::AnsweredCaptions().size(), 1u);
    EXPECT_TRUE(IsWindow(main));
    testdriver::AnswerWhenShown(L"Zelvor", testdriver::PressButton(L"OK"));
    PressKey(VK_F10);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(PanelKeysTest, ShiftEscapeMinimises) {
    PressKey(VK_ESCAPE, ui::ssShift);
    EXPECT_TRUE(IsIconic(form->Handle()));
    ShowWindow(form->Handle(), SW_RESTORE);
}

TEST_F(PanelKeysTest, CtrlPgDnEntersTheFolder) {
    PressKey(VK_DOWN);
    PressKey(VK_NEXT, ui::ssCtrl);
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"sub\\");
}

} // namespace

namespace {

const wchar_t kOk[] = L"\u041E\u041A";        // the prompt's OK button
const wchar_t kCancel[] = L"\u041E\u0442\u043C\u0435\u043D\u0430";

TEST_F(PanelKeysTest, GrayPlusAndMinusMarkByTheTypedPattern) {
    testdriver::AnswerWhenShown(L"Expand Selection", testdriver::EnterTextAndPress(L"*.TXT", kOk));
    PressKey(VK_ADD);
    EXPECT_EQ(Marks(), (MarkList{false, false, true, true, false}));
    testdriver::AnswerWhenShown(L"Shrink Selection", testdriver::EnterTextAndPress(L"a*", kOk));
    PressKey(VK_SUBTRACT);
    EXPECT_EQ(Marks(), (MarkList{false, false, false, true, false}));
    testdriver::AnswerWhenShown(L"Expand Selection", testdriver::EnterTextAndPress(L"*.*", kCancel));
    PressKey(VK_ADD);
    EXPECT_EQ(Marks(), (MarkList{false, false, false, true, false}));
    testdriver::AnswerWhenShown(L"Expand Selection", testdriver::EnterTextAndPress(L"", kOk));
    PressKey(VK_ADD);
    EXPECT_EQ(Marks(), (MarkList{false, false, false, true, false}));
    EXPECT_EQ(testdriver::AnsweredCaptions().size(), 4u);
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(PanelKeysTest, CustomMaskListsMatchingFilesAndAllFoldersOfTheActiveSide) {
    testdriver::AnswerWhenShown(L"Expand Selection", testdriver::EnterTextAndPress(L"*.doc", kOk));
    PressKey(VK_F12, ui::ssCtrl);
    EXPECT_EQ(testdriver::Captions(LeftView()), (std::vector<std::wstring>{L"..", L"sub", L"c.doc"}));
    EXPECT_EQ(SelectedRow(LeftView()), 0);
    form->Show1Click();
    EXPECT_TRUE(GetMenuState(GetMenu(form->Handle()), IDM_CUSTOM1, MF_BYCOMMAND) & MF_CHECKED);
}

} // namespace

namespace {

std::wstring CommandLine(app::TMainForm &form) { return form.HistoryCmdBox.Text(); }

TEST_F(PanelKeysTest, LettersTypedInAPanelGoToTheCommandLine) {
    PressKey('D');
    EXPECT_EQ(CommandLine(*form), L"D");
    EXPECT_EQ(GetFocus(), form->HistoryCmdBox.EditHandle());
    testdriver::TypeText(L"ir");
    EXPECT_EQ(CommandLine(*form), L"Dir");
}

// The keys that type a character as well: the list view's own search for it must move nothing.
TEST_F(PanelKeysTest, TypedKeysLeaveTheCursorOnItsRow) {
    struct Case {
        const char *what;
        WORD key;
        ui::TShiftState shift;
        const wchar_t *dialog; // answered with Cancel
    };
    const Case cases[] = {
        {"gray *", VK_MULTIPLY, 0, nullptr},
        {"gray +", VK_ADD, 0, L"Expand Selection"},
        {"gray -", VK_SUBTRACT, 0, L"Shrink Selection"},
        {"Ctrl+gray +", VK_ADD, ui::ssCtrl, nullptr},
        {"Ctrl+gray -", VK_SUBTRACT, ui::ssCtrl, nullptr},
        {"keypad 1", VK_NUMPAD1, 0, nullptr},
        {"keypad 0", VK_NUMPAD0, 0, nullptr},
        {"letter A", 'A', 0, nullptr},
        {"letter S", 'S', 0, nullptr},
        {"digit 2", '2', 0, nullptr},
    };
    // Num Lock on, so that the keypad's digits type digits.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_NUMLOCK] |= 1;
    SetKeyboardState(keys);
    for (const Case &c : cases) {
        form->Left.FocusAndPlaceCursor();
        PressKey(VK_HOME);
        for (int i = 0; i < 3; ++i) PressKey(VK_DOWN);
        ASSERT_EQ(SelectedRow(LeftView()), 3) << c.what;
        if (c.dialog) testdriver::AnswerWhenShown(c.dialog, testdriver::PressButton(kCancel));
        PressKey(c.key, c.shift);
        EXPECT_EQ(SelectedRow(LeftView()), 3) << c.what;
        EXPECT_EQ(ListView_GetNextItem(LeftView(), -1, LVNI_FOCUSED), 3) << c.what;
        // A typed letter went to the command line; Escape there brings the focus back to the panel.
        if (GetFocus() != LeftView()) PressKey(VK_ESCAPE);
        EXPECT_EQ(GetFocus(), LeftView()) << c.what;
        EXPECT_EQ(SelectedRow(LeftView()), 3) << c.what;
    }
}

TEST_F(PanelKeysTest, KeypadDigitsStayInThePanel) {
    PressKey(VK_NUMPAD1);
    PressKey(VK_NUMPAD5);
    EXPECT_EQ(CommandLine(*form), L"");
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(PanelKeysTest, CtrlEnterInsertsRowNamesAndEscapeEmptiesTheLine) {
    form->LeftFileView.SetSelected(2); // a.txt
    PressKey(VK_RETURN, ui::ssCtrl);
    form->LeftFileView.SetSelected(3); // b.txt
    PressKey(VK_RETURN, ui::ssCtrl);
    EXPECT_EQ(CommandLine(*form), L"a.txt  b.txt ");
    EXPECT_EQ(GetFocus(), LeftView());
    PressKey(VK_ESCAPE);
    EXPECT_EQ(CommandLine(*form), L"");
    EXPECT_EQ(GetFocus(), LeftView());
}

} // namespace

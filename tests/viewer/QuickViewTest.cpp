#include "ViewerFixture.h"

#include <functional>
#include <utility>

#include "ViewTestFiles.h"
#include "ui/Text.h"

using testdriver::AnswerWhenShown;
using testdriver::PressKey;
using testdriver::SelectedRow;

namespace {

class QuickViewTest : public ViewerTest {
protected:
    std::wstring Pane(app::TSide &side) { return side.QMemo.Text(); }
    bool ShowsPane(app::TSide &side) { return side.QMemo.Visible() && !side.FileView.Visible(); }
    bool ShowsList(app::TSide &side) { return !side.QMemo.Visible() && side.FileView.Visible(); }
};

TEST_F(QuickViewTest, CtrlQShowsAFolderAsItsPathAndAFileAsItsTextAndCtrlQAgainBringsTheListBack) {
    dir.Folder(L"Sub");
    dir.File(L"a.txt", std::string("x\ny\rz\0hidden", 12));
    ListSides();
    PutCursor(L"Sub");
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(ShowsPane(form->Right));
    EXPECT_EQ(Pane(form->Right), dir / L"Sub" + L"\r\n") << "the full path and an empty line";
    EXPECT_EQ(GetFocus(), LeftView()) << "the focus stays in the active side's view";
    EXPECT_TRUE(ShowsList(form->Left));
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(ShowsList(form->Right));

    PutCursor(L"a.txt");
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(ShowsPane(form->Right));
    EXPECT_EQ(Pane(form->Right), L"x\r\ny\r\nz") << "line breaks made CR LF, the text ends at the zero byte";
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(ShowsList(form->Right));
}

TEST_F(QuickViewTest, ThePaneShowsTheWindowsCharacterSet) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs the Western code page 1252";
    dir.File(L"deg.txt", "20\xB0");
    ListSides();
    PutCursor(L"deg.txt");
    PressKey('Q', ui::ssCtrl);
    EXPECT_EQ(Pane(form->Right), L"20\u00B0");
}

TEST_F(QuickViewTest, WithTheRightSideActiveCtrlQTogglesTheLeftPane) {
    other.File(L"r.txt", "right side");
    ListSides();
    form->Right.Activate();
    form->RightFileView.SetSelected(Row(RightView(), L"r.txt"));
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(ShowsPane(form->Left));
    EXPECT_EQ(Pane(form->Left), L"right side");
    EXPECT_TRUE(ShowsList(form->Right));
    EXPECT_EQ(GetFocus(), RightView());
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(ShowsList(form->Left));
}

TEST_F(QuickViewTest, ThePaneFollowsTheCursorHoweverItMoves) {
    dir.Folder(L"A");
    for (int i = 1; i <= 40; ++i) dir.File(L"f" + std::to_wstring(100 + i) + L".txt", "text " + std::to_string(i));
    ListSides(); // rows: .., A, f101.txt ... f140.txt
    PressKey('Q', ui::ssCtrl);
    ASSERT_EQ(Pane(form->Right), dir / L".." + L"\r\n");
    const int last = 41;
    // The text of the file on row r (r >= 2).
    auto text = [](int row) { return "text " + std::to_string(row - 1); };
    struct Step {
        const char *what;
        std::function<void()> move;
        int cursorAfter; // -1: another row, neither end
    };
    const Step steps[] = {
        {"Down", [] { PressKey(VK_DOWN); }, 1},
        {"Down", [] { PressKey(VK_DOWN); }, 2},
        {"Up", [] { PressKey(VK_UP); }, 1},
        {"PgDn", [] { PressKey(VK_NEXT); }, -1},
        {"End", [] { PressKey(VK_END); }, last},
        {"Down on the last row", [] { PressKey(VK_DOWN); }, last},
        {"PgUp", [] { PressKey(VK_PRIOR); }, -1},
        {"Home", [] { PressKey(VK_HOME); }, 0},
        {"Insert", [] { PressKey(VK_INSERT); }, 1},
        {"a click", [&] { testdriver::ClickRow(LeftView(), 3); }, 3},
        {"a typed letter", [] { PressKey('F'); }, 3},
    };
    int row = 0;
    for (const Step &s : steps) {
        SCOPED_TRACE(s.what);
        s.move();
        testdriver::Pump(50);
        int before = row;
        row = SelectedRow(LeftView());
        if (s.cursorAfter >= 0) EXPECT_EQ(row, s.cursorAfter);
        else EXPECT_TRUE(row != before && row > 0 && row < last) << row;
        std::wstring want = row == 0   ? dir / L".." + L"\r\n"
                            : row == 1 ? dir / L"A" + L"\r\n"
                                       : ui::Widen(text(row));
        EXPECT_EQ(Pane(form->Right), want) << "the pane shows the cursor's row " << row;
    }
    // A re-read (Ctrl+R) puts the cursor's row in the pane.
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    dir.File(L"f100.txt", "new first");
    PressKey('R', ui::ssCtrl);
    testdriver::Pump(50);
    row = SelectedRow(LeftView());
    ASSERT_GE(row, 0);
    EXPECT_EQ(Pane(form->Right), form->LeftFileView.IsFolder(row)
                                     ? form->LeftFileView.PathOf(row) + L"\r\n"
                                     : ui::Widen(testdriver::ReadFileBytes(form->LeftFileView.PathOf(row))));
}

TEST_F(QuickViewTest, DownsQueuedFasterThanTheyAreHandledLeaveThePaneOnTheRowTheLastOneReached) {
    for (int i = 1; i <= 6; ++i) dir.File(L"f" + std::to_wstring(i) + L".txt", "text " + std::to_string(i));
    ListSides(); // rows: .., f1.txt ... f6.txt
    PressKey('Q', ui::ssCtrl);
    struct Burst {
        int downs;
        int cursorAfter;
        std::wstring pane;
    };
    const Burst bursts[] = {{3, 3, L"text 3"}, {2, 5, L"text 5"}, {4, 6, L"text 6"}};
    for (const Burst &b : bursts) {
        SCOPED_TRACE(b.downs);
        // A held key: the repeats wait in the queue while the first is handled.
        for (int i = 0; i < b.downs; ++i) {
            PostMessageW(LeftView(), WM_KEYDOWN, VK_DOWN, 1);
            PostMessageW(LeftView(), WM_KEYUP, VK_DOWN, 0xC0000001);
        }
        testdriver::PumpUntil([&] { return Pane(form->Right) == b.pane; }, 2000);
        EXPECT_EQ(SelectedRow(LeftView()), b.cursorAfter);
        EXPECT_EQ(Pane(form->Right), b.pane);
    }
    // Down quickly followed by Shift+Down: both wait in the queue, and Shift is down when the second is handled.
    form->LeftFileView.SetSelected(1);
    auto handler = form->LeftFileView.OnKeyDown;
    bool first = true;
    form->LeftFileView.OnKeyDown = [&](WORD &key, ui::TShiftState shift) {
        WORD pressed = key;
        handler(key, shift);
        if (pressed == VK_DOWN && std::exchange(first, false)) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
        }
    };
    PostMessageW(LeftView(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(LeftView(), WM_KEYDOWN, VK_DOWN, 1);
    testdriver::Pump(100);
    form->LeftFileView.OnKeyDown = handler;
    PressKey(VK_SHIFT); // lets Shift go again
    EXPECT_EQ(SelectedRow(LeftView()), 3);
    EXPECT_EQ(Pane(form->Right), L"text 3") << "the pane shows the row the cursor reached last";
}

TEST_F(QuickViewTest, TabInThePaneGivesTheFocusBackToTheSideItServes) {
    dir.File(L"a.txt", "a");
    ListSides();
    PressKey('Q', ui::ssCtrl);
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), form->Right.QMemo.Handle());
    ASSERT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    form->LeftFileView.SetSelected(-1);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), LeftView());
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kInactiveTitleColor);
    EXPECT_EQ(form->LeftTitlePanel.Caption(), dir.Path());
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir.Path());
    EXPECT_EQ(SelectedRow(LeftView()), 0) << "with no row selected the first one is";
    EXPECT_TRUE(ShowsPane(form->Right)) << "the pane stays";
}

TEST_F(QuickViewTest, F5WhileTheTargetShowsItsPaneBringsTheListBackFirstThenCopiesIntoIt) {
    dir.File(L"copied.txt", "payload");
    ListSides();
    PutCursor(L"copied.txt");
    PressKey('Q', ui::ssCtrl);
    ASSERT_TRUE(ShowsPane(form->Right));
    bool listBackWhenAsked = false;
    AnswerWhenShown(L"Copy", [&](HWND prompt) {
        listBackWhenAsked = ShowsList(form->Right);
        testdriver::PressButton(kPromptOk)(prompt);
    });
    PressKey(VK_F5);
    EXPECT_TRUE(listBackWhenAsked);
    EXPECT_EQ(testdriver::ReadFileBytes(other / L"copied.txt"), "payload");
    EXPECT_TRUE(ShowsList(form->Right));
    EXPECT_NE(Row(RightView(), L"copied.txt"), -1);
}

TEST_F(QuickViewTest, CtrlRightAndADriveChoiceHideThePane) {
    dir.File(L"a.txt", "a");
    ListSides();
    PressKey('Q', ui::ssCtrl);
    PressKey(VK_RIGHT, ui::ssCtrl);
    EXPECT_TRUE(ShowsList(form->Right));
    EXPECT_EQ(form->RightFileView.Directory(), dir.Path());

    PressKey('Q', ui::ssCtrl);
    ASSERT_TRUE(ShowsPane(form->Right));
    PressKey(VK_F2, ui::ssAlt);
    ASSERT_EQ(GetFocus(), form->RightDriveCombo.EditHandle() ? form->RightDriveCombo.EditHandle()
                                                               : form->RightDriveCombo.Handle());
    PressKey('C');
    EXPECT_TRUE(ShowsList(form->Right));
    EXPECT_EQ(form->RightFileView.Directory(), L"c:\\");
}

TEST_F(QuickViewTest, AFileThePaneCannotLoadShowsItsErrorInThePaneWithoutAMessageBox) {
    SizedFile(dir / L"b-disk.img", 3ull << 30);
    std::wstring held = dir.File(L"c-held.txt", "busy");
    dir.File(L"a.txt", "fine");
    ListSides(); // rows: .., a.txt, b-disk.img, c-held.txt
    HeldOpen holder(held);
    PutCursor(L"a.txt");
    PressKey('Q', ui::ssCtrl);
    AnswerWhenShown(L"Zelvor", testdriver::PressButton(L"OK"));
    PressKey(VK_DOWN);
    EXPECT_EQ(Pane(form->Right), L"") << "a disk image of gigabytes shows up to its first zero byte";
    PressKey(VK_DOWN);
    EXPECT_EQ(Pane(form->Right), L"Cannot open file " + held);
    PressKey(VK_UP);
    PressKey(VK_UP);
    EXPECT_EQ(Pane(form->Right), L"fine");
    testdriver::Pump(200);
    EXPECT_TRUE(testdriver::AnsweredCaptions().empty()) << "no message box came up";
    EXPECT_TRUE(ShowsPane(form->Right));
}

} // namespace

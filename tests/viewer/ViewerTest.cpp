#include "ViewerFixture.h"

#include "ViewTestFiles.h"
#include "ui/Text.h"

using testdriver::AnswerWhenShown;
using testdriver::PressKey;

namespace {

bool WesternCodePages() { return GetACP() == 1252 && GetOEMCP() == 437; }

void Close(viewer::TViewForm &viewer) {
    PostMessageW(viewer.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    testdriver::Pump(20);
}

void MenuCommand(viewer::TViewForm &viewer, int id) {
    PostMessageW(viewer.Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    testdriver::Pump(20);
}

using testdriver::ClipboardText;

TEST_F(ViewerTest, F3ShowsTheCursorRowsFileLineByLineAndEscapeClosesIt) {
    std::wstring path = dir.File(L"unix; lines.txt", "one\ntwo\nthree");
    ListSides();
    PutCursor(L"unix; lines.txt");
    std::wstring text;
    int lines = 0;
    bool focusInText = false, visible = false;
    ASSERT_TRUE(ViewWithF3(path, [&] {
        text = MemoText();
        lines = MemoLines();
        focusInText = GetFocus() == Viewer().ViewMemo.Handle();
        visible = IsWindowVisible(Viewer().Handle()) != 0;
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(text, L"one\r\ntwo\r\nthree");
    EXPECT_EQ(lines, 3);
    EXPECT_TRUE(focusInText);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(IsWindowVisible(Viewer().Handle())) << "Escape closed the viewer";
    EXPECT_EQ(GetFocus(), LeftView());
    EXPECT_EQ(MemoText(), text) << "the text stays until the next loading";

    std::wstring zero = dir.File(L"zero.txt", std::string("123456789\0abc\ndef", 17));
    ListSides();
    PutCursor(L"zero.txt");
    std::vector<std::wstring> rows;
    ASSERT_TRUE(ViewWithF3(zero, [&] {
        rows = Viewer().ViewMemo.ScreenRows();
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(rows, std::vector<std::wstring>{L"123456789"}) << "the text ends at the zero byte";
}

TEST_F(ViewerTest, TheMenuIsTheRussianOneWithItsStates) {
    struct Item {
        int id;
        const wchar_t *caption;
        bool enabled;
        bool checked;
    };
    const Item items[] = {
        {IDM_VIEWOPEN, L"Открыть", true, false},
        {IDM_VIEWNEXT, L"Следующий файл\tN", false, false},
        {IDM_VIEWPREV, L"Предыдущий файл\tP", false, false},
        {IDM_VIEWCLOSE, L"Закрыть\tEsc", true, false},
        {IDM_VIEWSELECTALL, L"Выделить все", true, false},
        {IDM_VIEWCOPY, L"Скопировать как текст\tCtrl+C", true, false},
        {IDM_VIEWFIND, L"Найти\tF7", false, false},
        {IDM_VIEWFINDNEXT, L"Найти следующий\tF5", false, false},
        {IDM_VIEWTEXT, L"1. Только текст\t1", false, true},
        {IDM_VIEWBIN, L"2. Двоичный (фиксированная длина строки)\t2", false, false},
        {IDM_VIEWHEX, L"3. Шестнадцатиричный\t3", false, false},
        {IDM_VIEWANSI, L"ANSI (Windows)\tA", true, true},
        {IDM_VIEWASCII, L"ASCII (DOS)\tS", true, false},
        {IDM_VIEWEXT, L"Переменная длина строки\tV", false, false},
        {IDM_VIEWWRAP, L"Заворачивать текст\tW", true, true},
        {IDM_VIEWREFRESH, L"Изменить ...", false, false},
        {IDM_VIEWHELPALL, L"Справка", false, false},
    };
    HMENU menu = GetMenu(Viewer().Handle());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(Viewer().Handle()), 15);
    wchar_t text[128] = {};
    const wchar_t *tops[] = {L"Файл", L"Редактирование", L"Установки", L"Справка"};
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    for (int i = 0; i < 4; ++i) {
        GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        EXPECT_STREQ(text, tops[i]);
    }
    EXPECT_TRUE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_GRAYED) << "the help menu is disabled";
    for (const Item &item : items) {
        SCOPED_TRACE(item.id);
        GetMenuStringW(menu, item.id, text, 128, MF_BYCOMMAND);
        EXPECT_STREQ(text, item.caption);
        EXPECT_EQ(Viewer().Enabled(item.id), item.enabled);
        EXPECT_EQ(Viewer().Checked(item.id), item.checked);
    }
}

TEST_F(ViewerTest, CharacterSetAndWrapChoicesLastForTheRunEscapeReturnsToAnsiTheTitleBarKeepsDos) {
    if (!WesternCodePages()) GTEST_SKIP() << "needs the Western code pages 1252 and 437";
    std::string longLine;
    for (int i = 0; i < 400; ++i) longLine += "word ";
    std::wstring path = dir.File(L"degrees.txt", "\xB0 C\n" + longLine);
    ListSides();
    PutCursor(L"degrees.txt");
    auto &v = Viewer();
    const wchar_t degree = L'\u00B0', shade = L'\u2591';

    ASSERT_TRUE(ViewWithF3(path, [&] {
        EXPECT_TRUE(v.Checked(IDM_VIEWANSI));
        EXPECT_FALSE(v.Checked(IDM_VIEWASCII));
        EXPECT_EQ(MemoText()[0], degree);
        EXPECT_TRUE(v.Checked(IDM_VIEWWRAP));
        EXPECT_GT(MemoLines(), 3) << "the first viewing of a run wraps the long line";
        PressKey('S');
        EXPECT_TRUE(v.Checked(IDM_VIEWASCII));
        EXPECT_FALSE(v.Checked(IDM_VIEWANSI));
        EXPECT_EQ(MemoText()[0], shade) << "the same byte in its DOS shape";
        PressKey('W');
        EXPECT_FALSE(v.Checked(IDM_VIEWWRAP));
        EXPECT_EQ(MemoLines(), 2) << "wrapping went off at once";
        EXPECT_EQ(MemoText().substr(1), L" C\r\n" + std::wstring(longLine.begin(), longLine.end()));
        PressKey(VK_ESCAPE);
    }));
    ASSERT_TRUE(ViewWithF3(path, [&] {
        EXPECT_TRUE(v.Checked(IDM_VIEWANSI)) << "Escape went back to ANSI";
        EXPECT_FALSE(v.Checked(IDM_VIEWASCII));
        EXPECT_EQ(MemoText()[0], degree);
        EXPECT_FALSE(v.Checked(IDM_VIEWWRAP)) << "the wrap choice holds for the run";
        EXPECT_EQ(MemoLines(), 2);
        PressKey('S');
        Close(v);
    }));
    ASSERT_TRUE(ViewWithF3(path, [&] {
        EXPECT_TRUE(v.Checked(IDM_VIEWASCII)) << "the title-bar close kept the DOS set";
        EXPECT_FALSE(v.Checked(IDM_VIEWANSI));
        EXPECT_EQ(MemoText()[0], shade);
        PressKey('W');
        EXPECT_TRUE(v.Checked(IDM_VIEWWRAP));
        EXPECT_GT(MemoLines(), 3);
        PressKey('A');
        EXPECT_TRUE(v.Checked(IDM_VIEWANSI));
        EXPECT_FALSE(v.Checked(IDM_VIEWASCII));
        EXPECT_EQ(MemoText()[0], degree);
        PressKey(VK_ESCAPE);
    }));
}

TEST_F(ViewerTest, SwitchingWrapKeepsTheSelectionAndTheTopLine) {
    std::string content;
    viewer::TPos line150 = 0;
    for (int i = 0; i < 300; ++i) {
        if (i == 150) line150 = content.size();
        content += "line " + std::to_string(i) + " " + std::string(150, 'a' + i % 26) + " end\n";
    }
    std::wstring path = dir.File(L"long.txt", content);
    ListSides();
    PutCursor(L"long.txt");
    // Whether the horizontal bar has anything to scroll.
    auto scrollsAcross = [&] {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(Viewer().ViewMemo.Handle(), SB_HORZ, &si);
        return si.nMax - si.nMin + 1 > static_cast<int>(si.nPage);
    };
    MenuCommand(Viewer(), IDM_VIEWWRAP); // wrapping off, as chosen in an earlier viewing of the run
    ASSERT_TRUE(ViewWithF3(path, [&] {
        auto &memo = Viewer().ViewMemo;
        EXPECT_TRUE(scrollsAcross()) << "lines wider than the window can be scrolled to at once";
        memo.SetSelection(20000, 20100);
        memo.ScrollTo(line150);
        ASSERT_EQ(memo.Top(), line150);
        for (int toggle = 0; toggle < 2; ++toggle) {
            PressKey('W');
            EXPECT_EQ(memo.SelStart(), 20000u);
            EXPECT_EQ(memo.SelEnd(), 20100u);
            EXPECT_EQ(memo.Top(), line150) << "the line that was on top is on top again";
            EXPECT_EQ(memo.ScreenRows()[0].substr(0, 9), L"line 150 ");
            EXPECT_EQ(GetFocus(), memo.Handle());
            EXPECT_EQ(scrollsAcross(), toggle == 1) << "wrapped lines have nothing to scroll across";
        }
        PressKey(VK_ESCAPE);
    }));
}

TEST_F(ViewerTest, SelectAllThenCtrlCCopiesTheWholeText) {
    std::wstring path = dir.File(L"copy.txt", "first\rsecond\n");
    ListSides();
    PutCursor(L"copy.txt");
    std::wstring copied;
    ASSERT_TRUE(ViewWithF3(path, [&] {
        MenuCommand(Viewer(), IDM_VIEWSELECTALL);
        PressKey('C', ui::ssCtrl);
        copied = ClipboardText();
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(copied, L"first\r\nsecond\r\n");
}

TEST_F(ViewerTest, ShiftArrowsSelectAcrossABlockEdgeAndCtrlCCopiesItOrSaysItIsTooLarge) {
    constexpr size_t B = viewer::TTextSource::kBlockSize;
    // The CR ends the first block of the file and its LF starts the second.
    std::wstring path = dir.File(L"edge.txt", std::string(B - 1, 'x') + "\r\nbcd\nef");
    std::wstring large = dir.File(L"large.txt", std::string(viewer::TTextView::kMaxCopy + 1, 'a'));
    ListSides();
    PutCursor(L"edge.txt");
    ASSERT_TRUE(ViewWithF3(path, [&] {
        auto &memo = Viewer().ViewMemo;
        memo.SetSelection(B - 4, B - 4);
        for (int i = 0; i < 7; ++i) PressKey(VK_RIGHT, ui::ssShift);
        PressKey('C', ui::ssCtrl);
        std::vector<std::wstring> rows = memo.ScreenRows();
        EXPECT_NE(std::find(rows.begin(), rows.end(), L"bcd"), rows.end()) << "the caret's row was scrolled into view";
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(ClipboardText(), L"xxx\r\nbcd") << "three x, the break as CR LF, and the next line";

    PutCursor(L"large.txt");
    std::wstring message;
    AnswerWhenShown(L"Zelvor", [&](HWND box) {
        message = MessageText(box);
        testdriver::PressButton(L"OK")(box);
    });
    ASSERT_TRUE(ViewWithF3(large, [&] {
        MenuCommand(Viewer(), IDM_VIEWSELECTALL);
        PressKey('C', ui::ssCtrl);
        testdriver::PumpUntil([&] { return !message.empty(); }, 3000);
        PressKey(VK_ESCAPE);
    }));
    EXPECT_NE(message.find(L"too large to copy"), std::wstring::npos) << ui::Narrow(message);
    EXPECT_EQ(ClipboardText(), L"xxx\r\nbcd") << "nothing was copied";
}

TEST_F(ViewerTest, AFileThatShrinksOrVanishesWhileShownShowsOnlyWhatIsThere) {
    std::string content;
    for (int i = 0; content.size() < 300 * 1024; ++i) content += "line " + std::to_string(i) + "\n";
    std::wstring path = dir.File(L"shrinking.log", content);
    ListSides();
    PutCursor(L"shrinking.log");
    std::vector<std::wstring> rows;
    std::wstring text;
    ASSERT_TRUE(ViewWithF3(path, [&] {
        auto &memo = Viewer().ViewMemo;
        ASSERT_EQ(memo.ScreenRows()[0], L"line 0");
        {
            // Another program cuts the file to its first two lines while the viewer shows it.
            ui::KernelHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(writer && writer.get() != INVALID_HANDLE_VALUE) << "the viewer locks nobody out";
            LARGE_INTEGER at{};
            at.QuadPart = 14;
            SetFilePointerEx(writer.get(), at, nullptr, FILE_BEGIN);
            ASSERT_TRUE(SetEndOfFile(writer.get()));
        }
        PressKey(VK_END, ui::ssCtrl);
        PressKey(VK_NEXT);
        rows = memo.ScreenRows();
        text = memo.Text();
        EXPECT_LE(memo.Caret(), 14u);
        EXPECT_TRUE(DeleteFileW(path.c_str())) << "the file can be deleted while it is shown";
        PressKey(VK_PRIOR);
        PressKey(VK_END, ui::ssCtrl);
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(text, L"line 0\r\nline 1\r\n");
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"line 0", L"line 1", L""}));
}

// A key pressed while a jump or Select all scans a long file for its end stops the scan where it got; the
// view then shows, or selects, only what the scan has seen.
TEST_F(ViewerTest, AKeyDuringALongScanStopsItWhereItGot) {
    std::string content;
    for (int i = 0; content.size() < (24u << 20); ++i) content += "line " + std::to_string(i) + "\n";
    std::wstring path = dir.File(L"long.log", content);
    const viewer::TPos distant = 20u << 20;
    ListSides();
    PutCursor(L"long.log");
    ASSERT_TRUE(ViewWithF3(path, [&] {
        auto &memo = Viewer().ViewMemo;
        auto withKeyWaiting = [&](const std::function<void()> &act) {
            PostMessageW(memo.Handle(), WM_KEYDOWN, VK_SHIFT, 1);
            act();
            MSG msg;
            while (PeekMessageW(&msg, memo.Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
            }
        };
        withKeyWaiting([&] { memo.ScrollTo(distant); });
        EXPECT_LT(memo.Top(), distant / 2) << "the jump went no farther than the scan";
        EXPECT_EQ(memo.ScreenRows()[0].substr(0, 5), L"line ");
        withKeyWaiting([&] { memo.SelectAll(); });
        EXPECT_LT(memo.SelEnd(), distant / 2) << "Select all took no more than the scan saw";
        memo.ScrollTo(distant);
        EXPECT_LE(memo.Top(), distant);
        EXPECT_GT(memo.Top() + 16, distant) << "with no key waiting the jump arrives";
        memo.SelectAll();
        EXPECT_EQ(memo.SelEnd(), content.size());
        PressKey(VK_ESCAPE);
    }));
}

TEST_F(ViewerTest, TheKeysOfTheDisabledItemsAreTakenAndDoNothing) {
    std::wstring path = dir.File(L"quiet.txt", "nothing happens\n");
    ListSides();
    PutCursor(L"quiet.txt");
    ASSERT_TRUE(ViewWithF3(path, [&] {
        const std::wstring caption = Viewer().Text();
        for (int key : {VK_F7, VK_F5, int('N'), int('P'), int('1'), int('2'), int('3'), int('V')}) {
            SCOPED_TRACE(key);
            PressKey(static_cast<WORD>(key));
            EXPECT_TRUE(IsWindowVisible(Viewer().Handle()));
            EXPECT_EQ(GetForegroundWindow(), Viewer().Handle()) << "no other window came up";
            EXPECT_EQ(Viewer().Text(), caption);
            EXPECT_EQ(MemoText(), L"nothing happens\r\n");
            EXPECT_TRUE(Viewer().Checked(IDM_VIEWTEXT));
            EXPECT_TRUE(Viewer().Checked(IDM_VIEWANSI));
            EXPECT_TRUE(Viewer().Checked(IDM_VIEWWRAP));
        }
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(form->HistoryCmdBox.Text(), L"") << "no key reached the command line";
}

TEST_F(ViewerTest, OpenLoadsAnotherFileAndCaptionsIt) {
    std::wstring first = dir.File(L"first.txt", "first");
    std::wstring second = other.File(L"second file.txt", "second\nfile");
    ListSides();
    PutCursor(L"first.txt");
    std::vector<std::wstring> asked;
    Viewer().ODView = [&](HWND owner, std::wstring &path) {
        asked.push_back(owner == Viewer().Handle() ? L"owned" : L"not owned");
        if (asked.size() == 2) return false;
        path = second;
        return true;
    };
    ASSERT_TRUE(ViewWithF3(first, [&] {
        MenuCommand(Viewer(), IDM_VIEWOPEN);
        EXPECT_EQ(Viewer().Text(), L"Просмотр : " + second);
        EXPECT_EQ(MemoText(), L"second\r\nfile");
        MenuCommand(Viewer(), IDM_VIEWOPEN); // cancelled
        EXPECT_EQ(Viewer().Text(), L"Просмотр : " + second);
        EXPECT_EQ(MemoText(), L"second\r\nfile");
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"owned", L"owned"}));
}

TEST_F(ViewerTest, TheFileDialogOffersTheThreeFilters) {
    std::wstring first = dir.File(L"first.txt", "first");
    ListSides();
    PutCursor(L"first.txt");
    Viewer().ODView = viewer::PickViewFile;
    std::vector<std::wstring> filters;
    ASSERT_TRUE(ViewWithF3(first, [&] {
        AnswerWhenShown(L"Open", [&](HWND dialog) {
            HWND combo = GetDlgItem(dialog, 0x470); // the file type box of the common dialog
            int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i) {
                wchar_t text[128] = {};
                SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                filters.push_back(text);
            }
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        MenuCommand(Viewer(), IDM_VIEWOPEN);
        testdriver::PumpUntil([&] { return !filters.empty(); }, 3000);
        EXPECT_EQ(Viewer().Text(), L"View file : " + first) << "cancelling changes nothing";
        PressKey(VK_ESCAPE);
    }));
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0], L"Все файлы (*.*)");
    EXPECT_EQ(filters[1], L"Текcтовые файлы (*.txt)");
    EXPECT_NE(filters[2].find(L"(*.pas)"), std::wstring::npos);
}

TEST_F(ViewerTest, AFileThatCannotBeLoadedShowsTheErrorAndNoViewer) {
    std::wstring good = dir.File(L"good.txt", "good");
    dir.Folder(L"folder");
    std::wstring held = dir.File(L"held.txt", "held");
    SizedFile(dir / L"disk.img", 3ull << 30);
    ListSides();
    PutCursor(L"good.txt");
    ASSERT_TRUE(ViewWithF3(good, [&] { PressKey(VK_ESCAPE); }));
    HeldOpen holder(held);
    struct Case {
        const wchar_t *row;
        std::wstring message;
    };
    const Case cases[] = {
        {L"folder", L"Cannot open file " + (dir / L"folder")},
        {L"held.txt", L"Cannot open file " + held},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        PutCursor(c.row);
        std::wstring message;
        AnswerWhenShown(L"Zelvor", [&](HWND box) {
            message = MessageText(box);
            testdriver::PressButton(L"OK")(box);
        });
        EXPECT_FALSE(ViewWithF3(dir / c.row, [&] { PressKey(VK_ESCAPE); })) << "the viewer is not shown";
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(MemoText(), L"good") << "the text control keeps its text";
        testdriver::ClearAnswers();
    }
    PutCursor(L"disk.img");
    EXPECT_TRUE(ViewWithF3(dir / L"disk.img", [&] { PressKey(VK_ESCAPE); })) << "a file of gigabytes is shown";
    EXPECT_EQ(MemoText(), L"") << "its first byte is a zero, where the text ends";
}

struct ShellCall {
    HWND owner;
    std::wstring verb, file, parameters, directory;
    int show;
};

class EditTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        form->ViewCommands.ShellExecuteProgram = [this](HWND owner, const std::wstring &verb, const std::wstring &file,
                                                        const std::wstring &parameters, const std::wstring &directory,
                                                        int show) {
            calls.push_back({owner, verb, file, parameters, directory, show});
        };
    }
    std::vector<ShellCall> calls;
};

TEST_F(EditTest, F4OpensTheCursorRowInNotepadAndListsNothingAgain) {
    dir.File(L"my notes.txt", "notes");
    dir.File(L"plain.txt", "plain");
    ListSides();
    dir.File(L"later.txt");
    PutCursor(L"my notes.txt");
    PressKey(VK_F4);
    PutCursor(L"plain.txt");
    PressKey(VK_F4);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].owner, form->Handle());
    EXPECT_EQ(calls[0].verb, L"open");
    EXPECT_EQ(calls[0].file, L"notepad.exe");
    EXPECT_EQ(calls[0].parameters, L"\"" + (dir / L"my notes.txt") + L"\"") << "a name with a space stays one name";
    EXPECT_EQ(calls[0].directory, L"");
    EXPECT_EQ(calls[0].show, 5);
    EXPECT_EQ(calls[1].parameters, dir / L"plain.txt");
    EXPECT_EQ(Row(LeftView(), L"later.txt"), -1) << "nothing was listed again";
}

TEST_F(EditTest, ShiftF4OpensTheTypedFileAndListsBothSidesAgain) {
    struct Case {
        const wchar_t *typed;
        std::wstring parameter;
    };
    const Case cases[] = {
        {L"D:\\elsewhere\\new.txt", L"D:\\elsewhere\\new.txt"},
        {L"new.txt", dir / L"new.txt"},
        {L"sub\\deeper.txt", dir / L"sub\\deeper.txt"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        calls.clear();
        ListSides();
        form->LeftFileView.SetSelected(1);
        std::wstring madeLeft = L"left " + std::to_wstring(&c - cases) + L".txt";
        std::wstring madeRight = L"right " + std::to_wstring(&c - cases) + L".txt";
        dir.File(madeLeft);
        other.File(madeRight);
        std::wstring labelFrom, label1, proposal;
        AnswerWhenShown(L"Edit", [&](HWND prompt) {
            auto &p = form->FileCommands.OperationForm();
            labelFrom = p.LabelFrom.Text();
            label1 = p.Label1.Text();
            proposal = p.EditTo.Text();
            testdriver::EnterTextAndPress(c.typed, kPromptOk)(prompt);
        });
        PressKey(VK_F4, ui::ssShift);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].verb, L"open");
        EXPECT_EQ(calls[0].file, L"notepad.exe");
        EXPECT_EQ(calls[0].parameters, c.parameter);
        EXPECT_EQ(calls[0].directory, L"");
        EXPECT_EQ(calls[0].show, 5);
        EXPECT_EQ(labelFrom, L"Enter file name for edit");
        EXPECT_EQ(label1, L"");
        EXPECT_EQ(proposal, L"");
        EXPECT_NE(Row(LeftView(), madeLeft), -1) << "the left side was listed again";
        EXPECT_NE(Row(RightView(), madeRight), -1) << "the right side was listed again";
        EXPECT_EQ(GetFocus(), LeftView());
        EXPECT_EQ(testdriver::SelectedRow(LeftView()), 0);
    }
}

TEST_F(EditTest, ShiftF4CancelledOrEmptyStartsNothingAndListsNothing) {
    ListSides();
    dir.File(L"later.txt");
    AnswerWhenShown(L"Edit", testdriver::PressButton(kPromptCancel));
    PressKey(VK_F4, ui::ssShift);
    AnswerWhenShown(L"Edit", testdriver::EnterTextAndPress(L"", kPromptOk));
    PressKey(VK_F4, ui::ssShift);
    EXPECT_EQ(testdriver::AnsweredCaptions(), (std::vector<std::wstring>{L"Edit", L"Edit"}));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Row(LeftView(), L"later.txt"), -1);
}

} // namespace

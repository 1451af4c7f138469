#include "FileCommandsFixture.h"

#include "MenuAnswer.h"
#include "Trash.h"
#include "fileops/FileCommandRunner.h"

using testdriver::AnswerWhenShown;
using testdriver::Captions;
using testdriver::EnterTextAndPress;
using testdriver::Exists;
using testdriver::PressButton;
using testdriver::ReadFileBytes;
using testdriver::TempDir;

namespace {


struct PromptSeen {
    std::wstring caption, labelFrom, label1, editTo;
    RECT bounds{};
};

TEST_F(FileCommandsTest, CopyTakesExactlyTheMarkedRowsIntoTheTargetThroughTheUnchangedProposal) {
    for (const wchar_t *name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"})
        source.File(name, "text");
    source.File(L"sub\\inner.txt", "inner");
    ListSides();
    Mark(L"a.txt");
    Mark(L"c.txt");
    Mark(L"sub");
    PutCursor(L"d.txt");
    PromptSeen seen;
    AnswerWhenShown(L"Copy", [&](HWND prompt) {
        seen = {Prompt().Text(), Prompt().LabelFrom.Text(), Prompt().Label1.Text(), Prompt().EditTo.Text()};
        GetWindowRect(prompt, &seen.bounds);
        PressButton(kOk)(prompt);
    });
    EXPECT_TRUE(Run(app::TFileCommand::Copy));

    EXPECT_EQ(Listing(target.Path()), (Names{L"a.txt", L"c.txt", L"sub"}));
    EXPECT_EQ(ReadFileBytes(target / L"sub\\inner.txt"), "inner");
    EXPECT_EQ(Listing(source.Path()), (Names{L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"sub"}));
    EXPECT_EQ(seen.caption, L"Copy");
    EXPECT_EQ(seen.labelFrom, L"");
    EXPECT_EQ(seen.label1, L"to :");
    EXPECT_EQ(seen.editTo, target.Path() + L"*.*");
    // Both sides listed again: the copies show on the right, no marks anywhere, the cursor on the first row.
    EXPECT_EQ(Captions(RightView()), (Names{L"..", L"sub", L"a.txt", L"c.txt"}));
    EXPECT_FALSE(AnyMarked(LeftView()));
    EXPECT_EQ(testdriver::SelectedRow(LeftView()), 0);
    EXPECT_EQ(GetFocus(), LeftView());
    // The prompt stood in the middle of the main window.
    RECT main{};
    GetWindowRect(form->Handle(), &main);
    EXPECT_NEAR((seen.bounds.left + seen.bounds.right) / 2, (main.left + main.right) / 2, 1);
    EXPECT_NEAR((seen.bounds.top + seen.bounds.bottom) / 2, (main.top + main.bottom) / 2, 1);
}

TEST_F(FileCommandsTest, WithNothingMarkedTheCursorRowIsCopied) {
    source.File(L"a.txt", "a");
    source.File(L"b.txt", "b");
    ListSides();
    PutCursor(L"b.txt");
    AnswerWhenShown(L"Copy", PressButton(kOk));
    EXPECT_TRUE(Run(app::TFileCommand::Copy));
    EXPECT_EQ(Listing(target.Path()), (Names{L"b.txt"}));
}

TEST_F(FileCommandsTest, CopyUnderATypedNameAndMoveIntoTheTarget) {
    source.File(L"a.txt", "alpha");
    source.File(L"b.txt", "beta");
    ListSides();
    PutCursor(L"a.txt");
    AnswerWhenShown(L"Copy", EnterTextAndPress(target / L"copy.txt", kOk));
    EXPECT_TRUE(Run(app::TFileCommand::Copy));
    EXPECT_EQ(ReadFileBytes(target / L"copy.txt"), "alpha");

    Mark(L"a.txt");
    Mark(L"b.txt");
    PromptSeen seen;
    AnswerWhenShown(L"Rename\\Move", [&](HWND prompt) {
        seen = {Prompt().Text(), Prompt().LabelFrom.Text(), Prompt().Label1.Text(), Prompt().EditTo.Text()};
        PressButton(kOk)(prompt);
    });
    EXPECT_TRUE(Run(app::TFileCommand::RenameMove));
    EXPECT_EQ(seen.label1, L"to :");
    EXPECT_EQ(seen.editTo, target.Path() + L"*.*");
    EXPECT_EQ(Listing(source.Path()), Names{});
    EXPECT_EQ(Listing(target.Path()), (Names{L"a.txt", L"b.txt", L"copy.txt"}));
    EXPECT_EQ(Captions(LeftView()), Names{L".."});
}

TEST_F(FileCommandsTest, RenameInPlaceByAFullPath) {
    source.File(L"old.txt", "kept");
    ListSides();
    PutCursor(L"old.txt");
    AnswerWhenShown(L"Rename\\Move", EnterTextAndPress(source / L"new.txt", kOk));
    EXPECT_TRUE(Run(app::TFileCommand::RenameMove));
    EXPECT_EQ(Listing(source.Path()), Names{L"new.txt"});
    EXPECT_EQ(ReadFileBytes(source / L"new.txt"), "kept");
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"new.txt"}));
}

TEST_F(FileCommandsTest, MakeDirectoryCreatesEveryLevelInThisSide) {
    source.File(L"z.txt");
    ListSides();
    PromptSeen seen;
    AnswerWhenShown(L"Create new dir", [&](HWND prompt) {
        seen = {Prompt().Text(), Prompt().LabelFrom.Text(), Prompt().Label1.Text(), Prompt().EditTo.Text()};
        EnterTextAndPress(L"a\\b", kOk)(prompt);
    });
    EXPECT_TRUE(Run(app::TFileCommand::MakeDir));
    EXPECT_EQ(seen.label1, L"");
    EXPECT_EQ(seen.editTo, L"");
    EXPECT_EQ(Listing(source / L"a\\"), Names{L"b"});
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"a", L"z.txt"}));
    EXPECT_EQ(testdriver::SelectedRow(LeftView()), 0);
}

TEST_F(FileCommandsTest, CancelEscapeAndAnEmptyNameChangeNothingAndListNothingAgain) {
    struct Case {
        app::TFileCommand command;
        std::wstring caption;
        std::function<void(HWND)> answer;
    } cases[] = {
        {app::TFileCommand::Copy, L"Copy", PressButton(kCancel)},
        {app::TFileCommand::RenameMove, L"Rename\\Move", PressButton(kCancel)},
        {app::TFileCommand::MakeDir, L"Create new dir", PressButton(kCancel)},
        {app::TFileCommand::MakeDir, L"Create new dir", EnterTextAndPress(L"", kOk)},
        {app::TFileCommand::Copy, L"Copy",
         [](HWND prompt) {
             HWND edit = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
             PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
         }},
    };
    source.File(L"a.txt", "a");
    ListSides();
    for (const Case &c : cases) {
        // A mark survives only when the side is not listed again.
        Mark(L"a.txt");
        AnswerWhenShown(c.caption, c.answer);
        EXPECT_FALSE(Run(c.command)) << c.caption;
        EXPECT_EQ(testdriver::AnsweredCaptions().back(), c.caption);
        EXPECT_TRUE(form->LeftFileView.Marked(Row(L"a.txt"))) << c.caption;
        EXPECT_EQ(Listing(target.Path()), Names{}) << c.caption;
        EXPECT_EQ(Listing(source.Path()), Names{L"a.txt"}) << c.caption;
    }
    // Escape left the prompt empty for the next user to fill.
    EXPECT_EQ(Prompt().Text(), L"");
    EXPECT_EQ(Prompt().Label1.Text(), L"");
    EXPECT_EQ(Prompt().EditTo.Text(), L"");
}

TEST_F(FileCommandsTest, DeleteKeysSendToTheRecycleBinOrDeleteForGoodAfterTheShellAsks) {
    std::wstring recycled = fileopstest::UniqueName(L"zelvor-recycled");
    std::wstring viaDelete = fileopstest::UniqueName(L"zelvor-recycled");
    std::wstring gone1 = fileopstest::UniqueName(L"zelvor-gone"), gone2 = fileopstest::UniqueName(L"zelvor-gone");
    for (const std::wstring &name : {recycled, viaDelete, gone1, gone2})
        source.File(name, "data");
    source.File(L"stays.txt");
    ListSides();
    // As a person does: the key in the file view, Enter on the shell's question.
    struct Case {
        std::vector<std::wstring> rows;
        WORD key;
        ui::TShiftState shift;
        bool trashed;
    } cases[] = {
        {{recycled}, VK_F8, 0, true},
        {{viaDelete}, VK_DELETE, 0, true},
        {{gone1, gone2}, VK_DELETE, ui::ssShift, false},
    };
    for (const Case &c : cases) {
        if (c.rows.size() == 1)
            PutCursor(c.rows[0]);
        else
            for (const std::wstring &row : c.rows)
                Mark(row);
        SetFocus(LeftView());
        AnswerWhenShown(L"Confirm file deletion", PressButton(L"&Yes"));
        AnswerWhenShown(L"Confirm multiple file deletion", PressButton(L"&Yes"));
        testdriver::PressKey(c.key, c.shift);
        for (const std::wstring &row : c.rows) {
            EXPECT_FALSE(Exists(source / row)) << row;
            EXPECT_EQ(fileopstest::TakeFromTrash(row), c.trashed ? "data" : "") << row;
        }
        EXPECT_EQ(testdriver::SelectedRow(LeftView()), 0);
        testdriver::ClearAnswers();
    }
    EXPECT_EQ(Listing(source.Path()), Names{L"stays.txt"});
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"stays.txt"}));
    EXPECT_FALSE(AnyMarked(LeftView()));
}

TEST(ResolveDestination, ADestinationIsReadFromThisSidesDriveAndFolder) {
    struct Case {
        std::wstring typed, side, other, resolved;
    } cases[] = {
        {L"bare.txt", L"c:\\side\\", L"", L"c:\\side\\bare.txt"},
        {L"sub\\new;name.txt", L"c:\\side\\", L"", L"c:\\side\\sub\\new;name.txt"},
        {L"..\\up.txt", L"c:\\side\\", L"", L"c:\\side\\..\\up.txt"},
        {L"d:\\other\\x.txt", L"c:\\side\\", L"", L"d:\\other\\x.txt"},
        // A drive without a folder: the folder a side shows there, this side first; else the drive's root.
        {L"C:x.txt", L"c:\\side\\", L"d:\\other\\", L"c:\\side\\x.txt"},
        {L"d:x.txt", L"c:\\side\\", L"d:\\other\\", L"d:\\other\\x.txt"},
        {L"d:x.txt", L"c:\\side\\", L"e:\\", L"d:\\x.txt"},
        // A leading "\": the root of this side's drive or share, never the process's drive.
        {L"\\root.txt", L"e:\\side\\deep\\", L"c:\\", L"e:\\root.txt"},
        {L"/root.txt", L"e:\\side\\", L"", L"e:\\root.txt"},
        {L"\\in\\x.txt", L"\\\\server\\share\\dir\\", L"", L"\\\\server\\share\\in\\x.txt"},
        {L"\\\\server\\share\\x.txt", L"c:\\side\\", L"", L"\\\\server\\share\\x.txt"},
        {L"", L"c:\\side\\", L"", L""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fileops::ResolveDestination(c.typed, c.side, c.other), c.resolved) << c.typed << L" from " << c.side;
}

// A row whose name holds ";" reaches the shell as one name: with the process's folder holding the halves
// a split would take, only the chosen row is acted on.
TEST_F(FileCommandsTest, ARowWithASemicolonIsActedOnAsOneExactPathByEveryKey) {
    const std::wstring name = L"precious;notes.txt";
    struct Case {
        WORD key;
        ui::TShiftState shift;
        std::wstring caption, button;
        bool typeTarget, stays, copied;
    } cases[] = {
        {VK_F5, 0, L"Copy", kOk, false, true, true},
        {VK_F6, 0, L"Rename\\Move", kOk, false, false, true},
        {VK_F6, 0, L"Rename\\Move", kOk, true, false, false},
        {VK_DELETE, ui::ssShift, L"Confirm file deletion", L"&Yes", false, false, false},
    };
    for (const Case &c : cases) {
        TempDir cwd;
        cwd.File(L"precious", "decoy");
        cwd.File(L"notes.txt", "decoy");
        source.File(L"precious", "decoy");
        source.File(L"notes.txt", "decoy");
        source.File(name, "kept");
        SetCurrentDirectoryW(cwd.Path().c_str());
        ListSides();
        PutCursor(name);
        SetFocus(LeftView());
        if (c.typeTarget)
            AnswerWhenShown(c.caption, EnterTextAndPress(target / L"new;name.txt", c.button));
        else
            AnswerWhenShown(c.caption, PressButton(c.button));
        testdriver::PressKey(c.key, c.shift);
        EXPECT_EQ(testdriver::AnsweredCaptions(), Names{c.caption});
        EXPECT_EQ(Exists(source / name), c.stays) << c.caption;
        EXPECT_EQ(ReadFileBytes(target / name), c.copied ? "kept" : "") << c.caption;
        if (c.typeTarget) {
            EXPECT_EQ(ReadFileBytes(target / L"new;name.txt"), "kept");
        }
        for (const TempDir *dir : {&source, &cwd}) {
            EXPECT_EQ(ReadFileBytes(*dir / L"precious"), "decoy") << c.caption;
            EXPECT_EQ(ReadFileBytes(*dir / L"notes.txt"), "decoy") << c.caption;
        }
        testdriver::ClearAnswers();
        DeleteFileW((target / name).c_str());
        DeleteFileW((target / L"new;name.txt").c_str());
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        SetCurrentDirectoryW(temp);
    }
    // The shell's own menu and Properties get the exact path too.
    source.File(name, "kept");
    ListSides();
    PutCursor(name);
    AnswerWhenShown(L"Properties for " + name, PressButton(L"Cancel"));
    form->FileCommands.ShowProperties(form->Left);
    EXPECT_EQ(testdriver::AnsweredCaptions(), Names{L"Properties for " + name});
    fileopstest::MenuAnswer choose([](HWND menu) { PostMessageW(menu, WM_CHAR, L'd', 0); });
    AnswerWhenShown(L"Confirm file deletion", PressButton(L"&Yes"));
    form->FileCommands.ShowContextMenu(form->Left, POINT{200, 200});
    EXPECT_EQ(fileopstest::TakeFromTrash(name), "kept");
    EXPECT_EQ(ReadFileBytes(source / L"precious"), "decoy");
    EXPECT_EQ(ReadFileBytes(source / L"notes.txt"), "decoy");
}

TEST_F(FileCommandsTest, TheTypedDestinationIsUsedUnchangedAndARelativeOneLandsInThisSide) {
    struct Case {
        app::TFileCommand command;
        std::wstring caption, typed, landed;
        bool sourceStays;
    } cases[] = {
        {app::TFileCommand::RenameMove, L"Rename\\Move", L"bare.txt", L"bare.txt", false},
        {app::TFileCommand::Copy, L"Copy", L"copy;1.txt", L"copy;1.txt", true},
        {app::TFileCommand::RenameMove, L"Rename\\Move", L"sub\\in;sub.txt", L"sub\\in;sub.txt", false},
    };
    for (const Case &c : cases) {
        source.File(L"a.txt", "alpha");
        source.Folder(L"sub");
        ListSides();
        PutCursor(L"a.txt");
        AnswerWhenShown(c.caption, EnterTextAndPress(c.typed, kOk));
        EXPECT_TRUE(Run(c.command));
        EXPECT_EQ(ReadFileBytes(source / c.landed), "alpha") << c.typed;
        EXPECT_EQ(Exists(source / L"a.txt"), c.sourceStays) << c.typed;
        DeleteFileW((source / c.landed).c_str());
        testdriver::ClearAnswers();
    }
    // A full path with ";" in the folder part is one destination.
    source.File(L"a.txt", "alpha");
    target.Folder(L"dir;x");
    ListSides();
    PutCursor(L"a.txt");
    AnswerWhenShown(L"Rename\\Move", EnterTextAndPress(target / L"dir;x\\*.*", kOk));
    EXPECT_TRUE(Run(app::TFileCommand::RenameMove));
    EXPECT_EQ(ReadFileBytes(target / L"dir;x\\a.txt"), "alpha");
}

TEST_F(FileCommandsTest, MarkedFilesMoveIntoAFolderThatDoesNotExistYet) {
    for (const wchar_t *name : {L"a.txt", L"b.txt", L"c.txt"})
        source.File(name, "text");
    ListSides();
    Mark(L"a.txt");
    Mark(L"c.txt");
    AnswerWhenShown(L"Rename\\Move", EnterTextAndPress(target / L"fresh", kOk));
    EXPECT_TRUE(Run(app::TFileCommand::RenameMove));
    EXPECT_EQ(Listing(target / L"fresh\\"), (Names{L"a.txt", L"c.txt"}));
    EXPECT_EQ(Listing(source.Path()), Names{L"b.txt"});
    EXPECT_EQ(Captions(RightView()), (Names{L"..", L"fresh"}));
}

TEST_F(FileCommandsTest, RenamingOntoAnExistingNameAsksAndAFailureIsReported) {
    source.File(L"file02.txt", "two");
    source.File(L"file03.txt", "three");
    ListSides();
    PutCursor(L"file02.txt");
    AnswerWhenShown(L"Rename\\Move", EnterTextAndPress(source / L"file03.txt", kOk));
    AnswerWhenShown(L"Confirm file overwrite", PressButton(L"&No"));
    EXPECT_TRUE(Run(app::TFileCommand::RenameMove));
    EXPECT_EQ(ReadFileBytes(source / L"file02.txt"), "two");
    EXPECT_EQ(ReadFileBytes(source / L"file03.txt"), "three");
    testdriver::ClearAnswers();

    // The row's file went away behind the program's back: the shell's refusal reaches the user.
    PutCursor(L"file02.txt");
    DeleteFileW((source / L"file02.txt").c_str());
    AnswerWhenShown(L"Rename\\Move", EnterTextAndPress(source / L"other.txt", kOk));
    AnswerWhenShown(L"Zelvor", PressButton(L"OK"));
    EXPECT_TRUE(Run(app::TFileCommand::RenameMove));
    EXPECT_EQ(testdriver::AnsweredCaptions(), (Names{L"Rename\\Move", L"Zelvor"}));
    EXPECT_FALSE(Exists(source / L"other.txt"));
}

TEST_F(FileCommandsTest, TheParentRowAloneIsRefusedAndAnEmptySideDoesNothing) {
    source.File(L"a.txt");
    ListSides();
    PutCursor(L"..");
    for (app::TFileCommand command : {app::TFileCommand::Copy, app::TFileCommand::DeleteForGood}) {
        AnswerWhenShown(L"Zelvor", PressButton(L"OK"));
        EXPECT_FALSE(Run(command));
        EXPECT_EQ(testdriver::AnsweredCaptions(), Names{L"Zelvor"});
        testdriver::ClearAnswers();
    }
    EXPECT_TRUE(Exists(source / L"a.txt"));

    // A directory that cannot be listed gives a side with only "..", and no cursor row: no prompt, no message.
    form->Left.SetDirectory(source / L"missing");
    ASSERT_EQ(Captions(LeftView()), Names{L".."});
    AnswerWhenShown(L"Copy", PressButton(kOk));
    AnswerWhenShown(L"Zelvor", PressButton(L"OK"));
    EXPECT_FALSE(Run(app::TFileCommand::Copy));
    testdriver::Pump(200);
    EXPECT_TRUE(testdriver::AnsweredCaptions().empty());
}

TEST_F(FileCommandsTest, TheTargetsQuickViewGivesWayToItsFileListFirst) {
    source.File(L"a.txt");
    ListSides();
    PutCursor(L"a.txt");
    form->Right.FileView.SetVisible(false);
    form->Right.QMemo.SetVisible(true);
    ASSERT_TRUE(form->Right.QuickViewShown());
    AnswerWhenShown(L"Copy", PressButton(kCancel));
    EXPECT_FALSE(Run(app::TFileCommand::Copy));
    EXPECT_FALSE(form->Right.QuickViewShown());
    EXPECT_TRUE(form->Right.FileView.Visible());
}

TEST_F(FileCommandsTest, ThePromptComesUpWithTheFocusInItsFieldAndEnterMeansOk) {
    ListSides();
    AnswerWhenShown(L"Create new dir", PressButton(kCancel));
    EXPECT_FALSE(Run(app::TFileCommand::MakeDir));
    HWND focusWhenShown = nullptr;
    AnswerWhenShown(L"Create new dir", [&](HWND) {
        focusWhenShown = GetFocus();
        SetWindowTextW(Prompt().EditTo.Handle(), L"typed");
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_TRUE(Run(app::TFileCommand::MakeDir));
    EXPECT_EQ(focusWhenShown, Prompt().EditTo.Handle());
    EXPECT_EQ(Listing(source.Path()), Names{L"typed"});
}

TEST_F(FileCommandsTest, ContextMenuAndPropertiesActOnTheCursorRowsPath) {
    source.File(L"a.txt");
    ListSides();
    PutCursor(L"a.txt");
    AnswerWhenShown(L"Properties for a.txt", PressButton(L"Cancel"));
    form->FileCommands.ShowProperties(form->Left);
    EXPECT_EQ(testdriver::AnsweredCaptions(), Names{L"Properties for a.txt"});

    fileopstest::MenuAnswer close([](HWND) { EndMenu(); });
    form->FileCommands.ShowContextMenu(form->Left, POINT{200, 200});
    EXPECT_EQ(close.MenusSeen(), 1);
    // A side without rows has no cursor row: no menu.
    form->Left.SetDirectory(source / L"missing");
    form->FileCommands.ShowContextMenu(form->Left, POINT{200, 200});
    testdriver::Pump(150);
    EXPECT_EQ(close.MenusSeen(), 1);
}

} // namespace

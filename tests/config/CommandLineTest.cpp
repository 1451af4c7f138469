#include "SettingsTestSupport.h"

#include "app/CommandIds.h"

using namespace settingstest;
using Lines = std::vector<std::wstring>;
using testdriver::PressKey;

namespace {

class CommandLineTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        SettingsWindowTest::SetUp();
        Start();
    }
    app::TSettingsCommands &commands() { return form->SettingsCommands; }
    HWND Edit() { return form->HistoryCmdBox.EditHandle(); }
};

TEST_F(CommandLineTest, CtrlEnterNamesAreSeparatedByBlanks) {
    commands().InsertIntoCommandLine(L"a");
    commands().InsertIntoCommandLine(L"b");
    EXPECT_EQ(commands().CommandLineText(), L"a  b ");
    EXPECT_EQ(GetFocus(), form->LeftFileView.Handle());
    commands().ClearCommandLine();
    EXPECT_EQ(commands().CommandLineText(), L"");
}

TEST_F(CommandLineTest, FirstLetterFromThePanelThenTypingGoesOn) {
    commands().TypeIntoCommandLine(L'D');
    EXPECT_EQ(GetFocus(), Edit());
    DWORD start = 0, end = 0;
    SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
    testdriver::TypeText(L"ir");
    EXPECT_EQ(commands().CommandLineText(), L"Dir");
}

TEST_F(CommandLineTest, RunningAddsEveryCommandToTheHistory) {
    for (int i = 0; i < 2; ++i) {
        form->HistoryCmdBox.SetText(L"notepad readme.txt");
        commands().RunCommandLineFromPanel();
    }
    EXPECT_EQ(form->HistoryCmdBox.Items(), (Lines{L"notepad readme.txt", L"notepad readme.txt"}));
    EXPECT_EQ(commands().CommandLineText(), L"");
    // From a panel the whole text is one file name; in the command line the first word is the program.
    form->HistoryCmdBox.SetText(L"notepad readme.txt");
    form->HistoryCmdBox.SetFocus();
    PressKey(VK_RETURN);
    ASSERT_EQ(shellCalls.size(), 3u);
    EXPECT_EQ(shellCalls[0], (ShellCall{L"notepad readme.txt", L""}));
    EXPECT_EQ(shellCalls[2], (ShellCall{L"notepad", L"readme.txt"}));
    EXPECT_EQ(form->HistoryCmdBox.Count(), 3);
    EXPECT_EQ(GetFocus(), form->LeftFileView.Handle());

    // Enter on an empty command line does nothing.
    form->HistoryCmdBox.SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(shellCalls.size(), 3u);
}

TEST_F(CommandLineTest, AFileInTheActiveDirectoryRunsFromThere) {
    temp.File(L"go.bat", "@echo off\r\n");
    form->Left.SetDirectory(temp.Path());
    form->Left.Activate();
    form->HistoryCmdBox.SetText(L"go.bat");
    commands().RunCommandLineFromPanel();
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0], (ShellCall{temp.Path() + L"go.bat", L""}));
}

TEST_F(CommandLineTest, CommandLineKeysReturnToTheActivePanel) {
    form->Right.Activate();
    struct Case {
        WORD key;
        ui::TShiftState shift;
        bool leaves;
        bool clears;
    };
    const Case cases[] = {{VK_ESCAPE, 0, true, true},
                          {VK_UP, 0, true, false},
                          {VK_DOWN, 0, true, false},
                          {VK_DOWN, ui::ssShift, false, false},
                          {VK_LEFT, 0, false, false}};
    for (const Case &c : cases) {
        form->HistoryCmdBox.SetText(L"abc");
        form->HistoryCmdBox.SetFocus();
        PressKey(c.key, c.shift);
        EXPECT_EQ(GetFocus() == form->RightFileView.Handle(), c.leaves) << c.key << " " << c.shift;
        EXPECT_EQ(commands().CommandLineText().empty(), c.clears) << c.key;
    }
}

TEST_F(CommandLineTest, UpAndDownRecallTheHistory) {
    form->HistoryCmdBox.SetItems({L"first", L"second"});
    form->HistoryCmdBox.SetFocus();
    PressKey(VK_DOWN);
    EXPECT_EQ(commands().CommandLineText(), L"first");
    EXPECT_EQ(GetFocus(), form->LeftFileView.Handle());
}

TEST_F(CommandLineTest, RunDosOpensTheInterpreterThatExists) {
    SendMessageW(form->Handle(), WM_COMMAND, IDM_RUNDOS1, 0);
    ASSERT_EQ(shellCalls.size(), 1u);
    wchar_t comspec[MAX_PATH] = {};
    GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH);
    bool dos = GetFileAttributesW(L"C:\\Command.com") != INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(shellCalls[0], (ShellCall{dos ? L"C:\\Command.com" : comspec, L""}));
    EXPECT_FALSE(shellCalls[0].file.empty());
}

} // namespace

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
    app::TCommandLineCommands &commands() { return form->CommandLine; }
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

TEST_F(CommandLineTest, RunDosOpensTheInterpreterThatComspecNames) {
    if (GetFileAttributesW(L"C:\\Command.com") != INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "this system has C:\\Command.com";
    std::wstring saved(GetEnvironmentVariableW(L"COMSPEC", nullptr, 0), L'\0');
    GetEnvironmentVariableW(L"COMSPEC", saved.data(), static_cast<DWORD>(saved.size()));
    SetEnvironmentVariableW(L"COMSPEC", L"C:\\Tools\\my shell.exe");
    SendMessageW(form->Handle(), WM_COMMAND, IDM_RUNDOS1, 0);
    SetEnvironmentVariableW(L"COMSPEC", saved.empty() ? nullptr : saved.c_str());
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0], (ShellCall{L"C:\\Tools\\my shell.exe", L""}));
}

TEST_F(CommandLineTest, ACommandTooLongForTheSystemGetsAMessageAndTheProgramGoesOn) {
    form->HistoryCmdBox.AddItem(L"earlier");
    struct Case {
        size_t length;
        bool fromPanel;
        const wchar_t *message;
    };
    const Case cases[] = {
        {980, false, L"Cannot open a name of 980 characters: the system takes at most 259."},
        {984, true, L"Cannot open a name of 984 characters: the system takes at most 259."},
        {988, false, L"Cannot open a name of 988 characters: the system takes at most 259."},
        {5000, true, L"Cannot open a name of 5,000 characters: the system takes at most 259."},
        {40000, false, L"Cannot open a name of 40,000 characters: the system takes at most 259."},
    };
    for (const Case &c : cases) {
        std::wstring command(c.length, L'a');
        std::wstring message;
        AnswerMessage(message);
        if (c.length == 988) {
            // Typed as a person does, after a click into the command line.
            form->HistoryCmdBox.SetFocus();
            testdriver::TypeText(command);
            ASSERT_EQ(commands().CommandLineText(), command);
        } else {
            form->HistoryCmdBox.SetText(command);
            SetFocus(c.fromPanel ? form->LeftFileView.Handle() : form->HistoryCmdBox.EditHandle());
        }
        PressKey(VK_RETURN);
        EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); })) << c.length;
        EXPECT_EQ(message, c.message);
        EXPECT_TRUE(shellCalls.empty()) << c.length;
        // Nothing ran: the text stays to be mended and the history does not grow.
        EXPECT_EQ(commands().CommandLineText(), command);
        EXPECT_EQ(form->HistoryCmdBox.Items(), Lines{L"earlier"});
        testdriver::ClearAnswers();
    }

    // Long parameters are the started program's business, up to what a command line holds.
    std::wstring parameters(5000 - 8, L'p');
    form->HistoryCmdBox.SetText(L"notepad " + parameters);
    form->HistoryCmdBox.SetFocus();
    PressKey(VK_RETURN);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0], (ShellCall{L"notepad", parameters}));
    std::wstring message;
    AnswerMessage(message);
    form->HistoryCmdBox.SetText(L"notepad " + std::wstring(40000 - 8, L'p'));
    form->HistoryCmdBox.SetFocus();
    PressKey(VK_RETURN);
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); }));
    EXPECT_EQ(message, L"Cannot run a command of 40,000 characters: the system takes at most 32,501.");
    EXPECT_EQ(shellCalls.size(), 1u);
    EXPECT_TRUE(IsWindow(form->Handle()));
}

// Puts text on the clipboard and pastes it into the window, as a person's Ctrl+V does.
void Paste(HWND edit, const std::wstring &text) {
    ASSERT_TRUE(OpenClipboard(edit));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(edit, WM_PASTE, 0, 0);
}

std::wstring ReadUtf16(const std::wstring &path) {
    std::string bytes = testdriver::ReadFileBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t *>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

TEST_F(CommandLineTest, APastedCommandRunsWholeOrIsRefusedWholeButNeverRunsCut) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring program = std::wstring(self).substr(0, std::wstring(self).rfind(L'\\') + 1) + L"echo_commandline.exe";
    ASSERT_TRUE(testdriver::Exists(program));
    const std::wstring output = temp / L"echo.txt";
    SetEnvironmentVariableW(L"ZELVOR_ECHO_FILE", output.c_str());
    form->CommandLine.ShellOpen = [](HWND owner, const std::wstring &file, const std::wstring &parameters) {
        ShellExecuteW(owner, L"open", file.c_str(), parameters.c_str(), nullptr, SW_SHOW);
    };
    // The program in quotes, a blank and the parameters fill the 32,767 characters of a command line with
    // its closing NUL when the command is 32,764 characters long.
    const struct {
        size_t length;
        const wchar_t *refusal;
    } cases[] = {{32764, nullptr},
                 {32765, L"Cannot run a command of 32,765 characters: the system takes at most 32,764."},
                 {40000, L"Cannot run a command of 40,000 characters: the system takes at most 32,764."}};
    for (const auto &c : cases) {
        DeleteFileW(output.c_str());
        const std::wstring parameters(c.length - program.size() - 1, L'p');
        const std::wstring command = program + L" " + parameters;
        form->HistoryCmdBox.SetText(L"");
        form->HistoryCmdBox.SetFocus();
        Paste(Edit(), command);
        ASSERT_EQ(commands().CommandLineText().size(), command.size()) << "the field cut the pasted command";
        std::wstring message;
        AnswerMessage(message);
        PressKey(VK_RETURN);
        if (!c.refusal) {
            const std::wstring expected = L"\"" + program + L"\" " + parameters;
            EXPECT_TRUE(testdriver::PumpUntil([&] { return ReadUtf16(output).size() >= expected.size(); }, 20000));
            testdriver::Pump(200);
            EXPECT_EQ(ReadUtf16(output), expected);
            EXPECT_EQ(message, L"");
        } else {
            EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); })) << c.length;
            EXPECT_EQ(message, c.refusal);
            EXPECT_EQ(commands().CommandLineText(), command);
            testdriver::Pump(500);
            EXPECT_FALSE(testdriver::Exists(output)) << c.length;
        }
        testdriver::ClearAnswers();
    }
    SetEnvironmentVariableW(L"ZELVOR_ECHO_FILE", nullptr);
}

TEST_F(CommandLineTest, AFileOfThreeHundredCharactersRunsByItsShortName) {
    std::wstring folder = temp.Folder(std::wstring(150, L'd')) + L"\\";
    std::wstring name = std::wstring(300 - folder.size() - 4, L'n') + L".bat";
    temp.File(folder.substr(temp.Path().size()) + name, "@echo off\r\n");
    ASSERT_EQ((folder + name).size(), 300u);
    form->Left.SetDirectory(folder);
    form->Left.Activate();
    form->HistoryCmdBox.SetText(name);
    form->LeftFileView.SetFocus();
    PressKey(VK_RETURN);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_LE(shellCalls[0].file.size(), 259u);
    WIN32_FILE_ATTRIBUTE_DATA a{}, b{};
    ASSERT_TRUE(GetFileAttributesExW(shellCalls[0].file.c_str(), GetFileExInfoStandard, &a));
    ASSERT_TRUE(GetFileAttributesExW((folder + name).c_str(), GetFileExInfoStandard, &b));
    EXPECT_EQ(a.nFileSizeLow, b.nFileSizeLow);
    EXPECT_EQ(form->HistoryCmdBox.Items(), Lines{name});

    // A name of that length that names nothing is refused.
    std::wstring message;
    AnswerMessage(message);
    form->HistoryCmdBox.SetText(std::wstring(300, L'x'));
    form->LeftFileView.SetFocus();
    PressKey(VK_RETURN);
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); }));
    EXPECT_EQ(message, L"Cannot open a name of 300 characters: the system takes at most 259.");
    EXPECT_EQ(shellCalls.size(), 1u);
}

} // namespace

#include "SettingsTestSupport.h"

#include "app/CommandIds.h"

#include <sddl.h>

using namespace settingstest;
using Lines = std::vector<std::wstring>;

namespace {

using SavedStateTest = SettingsWindowTest;

bool IsList(HWND view) {
    return (GetWindowLongPtrW(view, GWL_STYLE) & LVS_TYPEMASK) == LVS_LIST;
}

TEST_F(SavedStateTest, FirstStartCreatesTheKeyWithItsDefaults) {
    Start();
    RECT r = WindowRect();
    EXPECT_EQ(Snapshot().size(), 16u);
    EXPECT_EQ(Text(L"Top"), std::to_wstring(r.top));
    EXPECT_EQ(Text(L"Width"), std::to_wstring(r.right - r.left));
    EXPECT_EQ(Text(L"FileListFont"), L"MS Sans Serif");
    EXPECT_EQ(Dword(L"FontColor"), 0x80000008u);
    EXPECT_EQ(Dword(L"BackColor"), 0x80000005u);
    // "SaveDir" is on at first start: the panels show the stored "C:\".
    EXPECT_EQ(form->LeftFileView.Directory(), L"C:\\");
    EXPECT_EQ(form->RightFileView.Directory(), L"C:\\");
    EXPECT_FALSE(IsList(form->LeftFileView.Handle()));
    EXPECT_EQ(GetFocus(), form->LeftFileView.Handle());
}

TEST_F(SavedStateTest, OnlyExactVsListRestoresTheBriefView) {
    WriteDefaultKey();
    SetText(L"SavePanels", L"True");
    SetText(L"LeftPanelStyle", L"VSLIST");
    SetText(L"RightPanelStyle", L"vsList");
    Start();
    EXPECT_FALSE(IsList(form->LeftFileView.Handle()));
    EXPECT_TRUE(IsList(form->RightFileView.Handle()));
}

TEST_F(SavedStateTest, BadPositionIsReportedAndTheWindowKeepsItsPlace) {
    WriteDefaultKey();
    DeleteValue(L"Top");
    SetText(L"Left", L"5");
    std::wstring message;
    AnswerMessage(message);
    Create();
    RECT built = WindowRect();
    Show();
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); }));
    EXPECT_EQ(message, L"'' is not a valid integer value");
    RECT shown = WindowRect();
    EXPECT_EQ(shown.left, built.left);
    EXPECT_EQ(shown.top, built.top);
}

// A stored width of four million characters is reported in a box that stays on the screen, its OK button
// with it: the value shows its start and its end.
TEST_F(SavedStateTest, AHugeBadValueIsReportedInABoxThatFitsTheScreen) {
    WriteDefaultKey();
    SetText(L"Width", L"12" + std::wstring(4000000, L'x') + L"34");
    std::wstring message;
    RECT box{}, ok{};
    testdriver::AnswerWhenShown(L"Zelvor", [&](HWND shown) {
        message = MessageText(shown);
        GetWindowRect(shown, &box);
        if (HWND button = FindWindowExW(shown, nullptr, L"Button", L"OK"))
            GetWindowRect(button, &ok);
        testdriver::PressButton(L"OK")(shown);
    });
    Start();
    ASSERT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); }));
    EXPECT_EQ(message.substr(0, 6), L"'12xxx");
    EXPECT_NE(message.find(L"xxx\u2026xxx"), std::wstring::npos);
    EXPECT_EQ(message.substr(message.size() - 32), L"34' is not a valid integer value");
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_GE(box.left, screen.left);
    EXPECT_GE(box.top, screen.top);
    EXPECT_LE(box.right, screen.right) << "box " << box.right - box.left << " pixels wide";
    EXPECT_LE(box.bottom, screen.bottom) << "box " << box.bottom - box.top << " pixels high";
    EXPECT_TRUE(ok.right > ok.left && ok.left >= box.left && ok.right <= box.right && ok.top >= box.top &&
                ok.bottom <= box.bottom)
        << "the OK button at " << ok.left << "," << ok.top;
}

// A stored colour is an RGB colour or a system colour the system has; any other number is reported, and the
// panels keep their built-in colours, as with any other bad value.
TEST_F(SavedStateTest, AStoredColourIsAColourOrTheBuiltInOne) {
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT), window = GetSysColor(COLOR_WINDOW);
    struct Case {
        const char *what;
        DWORD text, back;
        COLORREF shownText, shownBack;
        const wchar_t *message;
    };
    const Case cases[] = {
        {"RGB colours", 0x0000FF, 0x00FFFF, RGB(255, 0, 0), RGB(255, 255, 0), nullptr},
        {"system colours", 0x80000008, 0x80000005, windowText, window, nullptr},
        {"the last system colour of XP", 0x8000001E, 0x80000000, GetSysColor(30), GetSysColor(COLOR_SCROLLBAR), nullptr},
        {"system colour 255", 0x800000FF, 0x80000005, windowText, window, L"Invalid colour value for 'FontColor'"},
        {"system colour 64", 0x80000008, 0x80000040, windowText, window, L"Invalid colour value for 'BackColor'"},
        {"no colour (a high byte)", 0x1FFFFFFF, 0x80000005, windowText, window, L"Invalid colour value for 'FontColor'"},
        {"a system colour with more bits", 0x80010008, 0x80000005, windowText, window,
         L"Invalid colour value for 'FontColor'"},
        {"an RGB colour with a high byte", 0x80000008, 0x01000000, windowText, window,
         L"Invalid colour value for 'BackColor'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RemoveSettingsKey();
        WriteDefaultKey();
        SetDword(L"FontColor", c.text);
        SetDword(L"BackColor", c.back);
        std::wstring message;
        AnswerMessage(message);
        Start();
        EXPECT_EQ(message, c.message ? c.message : L"");
        EXPECT_EQ(ListView_GetTextColor(form->LeftFileView.Handle()), c.shownText);
        EXPECT_EQ(ListView_GetBkColor(form->RightFileView.Handle()), c.shownBack);
        testdriver::ClearAnswers();
        Destroy();
    }
}

TEST_F(SavedStateTest, MissingColourIsReportedAndTheRestStillRestores) {
    WriteDefaultKey();
    DeleteValue(L"BackColor");
    SetText(L"SavePanels", L"True");
    SetText(L"LeftPanelStyle", L"vsList");
    std::wstring message;
    AnswerMessage(message);
    Start();
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); }));
    EXPECT_EQ(message, L"Failed to get data for 'BackColor'");
    EXPECT_TRUE(IsList(form->LeftFileView.Handle()));
}

TEST_F(SavedStateTest, SavedFolderOnAnotherDriveWinsOverTheDriveBox) {
    const std::wstring folder = L"z:\\tmp\\";
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no folder on drive z:";
    WriteDefaultKey();
    SetText(L"LeftDirectory", folder);
    Start();
    EXPECT_EQ(form->LeftFileView.Directory(), folder);
    EXPECT_EQ(form->LeftDriveCombo.Drive(), L'z');
    EXPECT_EQ(form->LeftTitlePanel.Caption(), folder);
    EXPECT_TRUE(form->Left.IsActive());
}

TEST_F(SavedStateTest, ExitWithAllOptionsOffStillSavesThePosition) {
    WriteDefaultKey();
    SetText(L"SaveDir", L"False");
    SetText(L"LeftDirectory", L"C:\\windows\\");
    Start();
    form->HistoryCmdBox.AddItem(L"dir");
    form->Right.SetDirectory(L"C:\\windows\\");
    SetWindowPos(form->Handle(), nullptr, 40, 30, 700, 380, SWP_NOZORDER);
    form->Close();
    EXPECT_EQ(Text(L"Top"), L"30");
    EXPECT_EQ(Text(L"Left"), L"40");
    EXPECT_EQ(Text(L"Width"), L"700");
    EXPECT_EQ(Text(L"Height"), L"380");
    EXPECT_EQ(Text(L"LeftDirectory"), L"C:\\windows\\");
    EXPECT_EQ(Text(L"RightDirectory"), L"C:\\");
    EXPECT_FALSE(testdriver::Exists(HistoryFile()));
}

TEST_F(SavedStateTest, ExitSavesWhatTheChoicesAsk) {
    WriteDefaultKey();
    SetText(L"SavePanels", L"True");
    SetText(L"SaveCommand", L"True");
    Start();
    form->Left.SetDirectory(L"C:\\windows\\");
    form->RightFileView.SetViewStyle(filelist::vsList);
    for (const wchar_t *command : {L"dir", L"notepad", L"dir"})
        form->HistoryCmdBox.AddItem(command);
    form->Close();
    EXPECT_EQ(Text(L"LeftDirectory"), L"C:\\windows\\");
    EXPECT_EQ(Text(L"LeftPanelStyle"), L"vsReport");
    EXPECT_EQ(Text(L"RightPanelStyle"), L"vsList");
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "dir\r\nnotepad\r\ndir\r\n");

    // The next start brings the history back.
    Destroy();
    Start();
    EXPECT_EQ(form->HistoryCmdBox.Items(), (Lines{L"dir", L"notepad", L"dir"}));
    EXPECT_TRUE(IsList(form->RightFileView.Handle()));
}

TEST_F(SavedStateTest, EmptyHistoryLeavesTheFileAlone) {
    WriteDefaultKey();
    SetText(L"SaveCommand", L"True");
    temp.File(L"cmd.his", "old\r\n");
    Create();
    form->SettingsCommands.HistoryFile = temp / L"none.his"; // nothing to load
    Show();
    form->SettingsCommands.HistoryFile = HistoryFile();
    form->Close();
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "old\r\n");
}

TEST_F(SavedStateTest, ShiftF9SavesThePositionAtOnce) {
    WriteDefaultKey();
    Start();
    SetWindowPos(form->Handle(), nullptr, 21, 22, 640, 400, SWP_NOZORDER);
    testdriver::PressKey(VK_F9, ui::ssShift);
    EXPECT_EQ(Text(L"Left"), L"21");
    EXPECT_EQ(Text(L"Top"), L"22");
    EXPECT_EQ(Text(L"Width"), L"640");
    EXPECT_EQ(Text(L"Height"), L"400");
}

// Answers every "Zelvor" message box (up to max) with OK and keeps their texts.
void AnswerMessages(std::vector<std::wstring> &texts, int max = 3) {
    for (int i = 0; i < max; ++i)
        testdriver::AnswerWhenShown(L"Zelvor", [&texts](HWND box) {
            texts.push_back(MessageText(box));
            testdriver::PressButton(L"OK")(box);
        });
}

TEST_F(SavedStateTest, OneBadValueNeitherStopsTheStartNorGetsTheOthersWrittenOver) {
    struct Case {
        const wchar_t *what;
        std::function<void()> spoil;
        const wchar_t *message;
        bool directoriesRestored;
    };
    const Case cases[] = {
        {L"FontColor as text", [] { SetText(L"FontColor", L"255"); }, L"Invalid data type for 'FontColor'", true},
        {L"BackColor missing", [] { DeleteValue(L"BackColor"); }, L"Failed to get data for 'BackColor'", true},
        {L"LeftDirectory as a number", [] { SetDword(L"LeftDirectory", 1); }, L"Invalid data type for 'LeftDirectory'",
         true},
        {L"SaveDir as a number", [] { SetDword(L"SaveDir", 1); }, L"Invalid data type for 'SaveDir'", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.what, c.what + wcslen(c.what)));
        RemoveSettingsKey();
        WriteDefaultKey();
        testdriver::TempDir right;
        SetText(L"LeftDirectory", L"C:\\windows\\");
        SetText(L"RightDirectory", right.Path());
        SetText(L"SavePanels", L"True");
        SetText(L"RightPanelStyle", L"vsList");
        SetText(L"SaveCommand", L"True");
        SetText(L"Left", L"40");
        SetText(L"Top", L"30");
        temp.File(L"cmd.his", "old\r\n");
        c.spoil();
        std::vector<std::wstring> messages;
        AnswerMessages(messages);
        Start();
        EXPECT_EQ(messages, std::vector<std::wstring>{c.message});
        // The rest of the start ran: the saved state is back and the left panel has the focus.
        EXPECT_EQ(GetFocus(), form->LeftFileView.Handle());
        EXPECT_EQ(form->Left.IsActive(), true);
        if (c.directoriesRestored) {
            EXPECT_EQ(form->RightFileView.Directory(), right.Path());
        }
        EXPECT_TRUE(IsList(form->RightFileView.Handle()));
        EXPECT_EQ(form->HistoryCmdBox.Items(), Lines{L"old"});
        EXPECT_EQ(WindowRect().left, 40);
        std::wstring leftShown = form->LeftFileView.Directory();

        // The first close ends the program, with no second message.
        testdriver::PressKey(VK_F4, ui::ssAlt);
        EXPECT_FALSE(IsWindow(form->Handle()));
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(Text(L"RightDirectory"), right.Path());
        // A bad value is mended; a good one keeps what it held.
        bool badLeft = std::wstring(c.what) == L"LeftDirectory as a number";
        EXPECT_EQ(Text(L"LeftDirectory"), badLeft ? leftShown : L"C:\\windows\\");
        EXPECT_EQ(Text(L"RightPanelStyle"), L"vsList");
        EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "old\r\n");
        testdriver::ClearAnswers();
        Destroy();
    }
}

TEST_F(SavedStateTest, ASavedPositionOffEveryMonitorIsBroughtBackOnScreen) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const wchar_t *left, *top, *width, *height;
    };
    const Case cases[] = {
        {L"-100000", L"30", L"700", L"380"},
        {L"40", L"100000", L"700", L"380"},
        {L"100000", L"-100000", L"700", L"380"},
        {L"40", L"30", L"0", L"0"},
    };
    for (const Case &c : cases) {
        RemoveSettingsKey();
        WriteDefaultKey();
        SetText(L"Left", c.left);
        SetText(L"Top", c.top);
        SetText(L"Width", c.width);
        SetText(L"Height", c.height);
        Start();
        RECT r = WindowRect();
        EXPECT_GE(r.left, work.left) << c.left << "," << c.top;
        EXPECT_LE(r.right, work.right) << c.left << "," << c.top;
        EXPECT_GE(r.top, work.top) << c.left << "," << c.top;
        EXPECT_LE(r.bottom, work.bottom) << c.left << "," << c.top;
        EXPECT_GE(r.right - r.left, 320) << c.width;
        EXPECT_GE(r.bottom - r.top, 200) << c.height;
        // Exit saves where it now stands, not where it was out of reach.
        form->Close();
        EXPECT_EQ(Text(L"Left"), std::to_wstring(r.left));
        EXPECT_EQ(Text(L"Top"), std::to_wstring(r.top));
        EXPECT_EQ(Text(L"Width"), std::to_wstring(r.right - r.left));
        Destroy();
    }
}

// The window is made where the restore will put it, so that showing it moves nothing; saved bounds off
// every monitor are brought back the same way before the window is made.
TEST_F(SavedStateTest, TheWindowIsMadeAtItsSavedPlace) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const char *what;
        const wchar_t *left, *top;
        bool onScreen;
    };
    const Case cases[] = {
        {"on the screen", L"40", L"30", true},
        {"off every monitor", L"-100000", L"30", false},
    };
    for (const Case &c : cases) {
        RemoveSettingsKey();
        WriteDefaultKey();
        SetText(L"Left", c.left);
        SetText(L"Top", c.top);
        SetText(L"Width", L"700");
        SetText(L"Height", L"380");
        Create();
        RECT made = WindowRect();
        if (c.onScreen) {
            EXPECT_EQ(made.left, 40) << c.what;
            EXPECT_EQ(made.top, 30) << c.what;
        } else {
            EXPECT_GE(made.left, work.left) << c.what;
        }
        EXPECT_EQ(made.right - made.left, 700) << c.what;
        EXPECT_EQ(made.bottom - made.top, 380) << c.what;
        form->Show();
        RECT shown = WindowRect();
        EXPECT_TRUE(EqualRect(&made, &shown)) << c.what;
        Destroy();
    }
}

TEST_F(SavedStateTest, AWindowClosedMinimisedSavesWhereItComesBack) {
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT original{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &original, 0);
    // A taskbar at the top, 40 pixels high.
    RECT work = screen;
    work.top = 40;
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    bool honoured = monitor.rcWork.top == 40;
    WriteDefaultKey();
    Start();
    SetWindowPos(form->Handle(), nullptr, 100, 120, 700, 380, SWP_NOZORDER);
    ShowWindow(form->Handle(), SW_MINIMIZE);
    testdriver::Pump(50);
    ASSERT_TRUE(IsIconic(form->Handle()));
    form->Close();
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &original, 0);
    if (!honoured)
        GTEST_SKIP() << "this system keeps no work area apart from the screen";
    EXPECT_EQ(Text(L"Left"), L"100");
    EXPECT_EQ(Text(L"Top"), L"120");
    EXPECT_EQ(Text(L"Width"), L"700");
    EXPECT_EQ(Text(L"Height"), L"380");
}

TEST_F(SavedStateTest, TheHistoryFileIsWrittenOnlyWhenTheHistoryChanged) {
    WriteDefaultKey();
    SetText(L"SaveCommand", L"True");
    const std::string old("before\0after\r\nr\xe9sum\xe9\r\n", 22);
    temp.File(L"cmd.his", old);
    Start();
    form->Close();
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), old);

    Destroy();
    Start();
    form->HistoryCmdBox.SetText(L"dir");
    form->CommandLine.RunCommandLineFromPanel();
    form->Close();
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), old + "dir\r\n");
}

TEST_F(SavedStateTest, ACommandTheCodePageCannotHoldStaysInTheSessionOnly) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "written for code page 1252";
    WriteDefaultKey();
    SetText(L"SaveCommand", L"True");
    Start();
    const std::wstring cyrillic = L"notepad \u043e\u0442\u0447\u0451\u0442.txt";
    for (const std::wstring &command : {std::wstring(L"dir"), cyrillic, std::wstring(L"calc")}) {
        form->HistoryCmdBox.SetText(command);
        form->CommandLine.RunCommandLineFromPanel();
    }
    EXPECT_EQ(form->HistoryCmdBox.Items(), (Lines{L"dir", cyrillic, L"calc"}));
    form->Close();
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "dir\r\ncalc\r\n");
    Destroy();
    Start();
    EXPECT_EQ(form->HistoryCmdBox.Items(), (Lines{L"dir", L"calc"}));
}

// A settings key that may be read but not written (a limited user on XP, the key made by an
// administrator): the settings are restored, the run goes on, and at exit the history is still saved
// and the key's refusal is said once.
TEST_F(SavedStateTest, AKeyThatCannotBeWrittenIsReadAndItsRefusalSaidOnce) {
    WriteDefaultKey();
    SetText(L"SaveDir", L"True");
    SetText(L"SaveCommand", L"True");
    SetText(L"LeftDirectory", temp.Path());
    // Everyone may read it, nobody write it; put back before the key is removed.
    auto setAccess = [](const wchar_t *descriptor) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, WRITE_DAC, &key), ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor, SDDL_REVISION_1, &sd, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        LocalFree(sd);
        RegCloseKey(key);
    };
    setAccess(L"D:P(A;;KR;;;WD)");
    std::wstring first, second;
    AnswerMessage(first);
    AnswerMessage(second);
    Start();
    EXPECT_EQ(form->Left.Directory(), temp.Path());
    EXPECT_EQ(first, L"") << "nothing to say at start";
    form->HistoryCmdBox.SetText(L"dir");
    form->CommandLine.RunCommandLineFromPanel();
    form->Left.SetDirectory(L"C:\\windows\\");
    form->Close();
    testdriver::Pump(200);
    setAccess(L"D:P(A;;KA;;;WD)");
    EXPECT_EQ(first.substr(0, first.find(L'\n')), L"Failed to set data for 'LeftDirectory'");
    EXPECT_EQ(second, L"") << "said once";
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "dir\r\n");
    EXPECT_EQ(Text(L"LeftDirectory"), temp.Path());
}

} // namespace

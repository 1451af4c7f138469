#include "SettingsTestSupport.h"

#include "app/CommandIds.h"

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

TEST_F(SavedStateTest, MissingColourStopsTheRestoreWithItsMessage) {
    WriteDefaultKey();
    DeleteValue(L"BackColor");
    SetText(L"SavePanels", L"True");
    SetText(L"LeftPanelStyle", L"vsList");
    std::wstring message;
    AnswerMessage(message);
    Start();
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !message.empty(); }));
    EXPECT_EQ(message, L"Failed to get data for 'BackColor'");
    EXPECT_FALSE(IsList(form->LeftFileView.Handle()));
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

} // namespace

#include "SettingsTestSupport.h"

#include "app/CommandIds.h"
#include "config/OptionForm.h"

using namespace settingstest;
using Lines = std::vector<std::wstring>;

namespace {

class OptionFormTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        SettingsWindowTest::SetUp();
        WriteDefaultKey();
    }

    // Opens the dialog from the menu; inside runs while it is shown and ends by pressing a button.
    void WithDialog(std::function<void(config::TOptionForm &)> inside) {
        bool ran = false;
        testdriver::AnswerWhenShown(L"Configuration", [&](HWND) {
            ran = true;
            config::TOptionForm &dialog = form->SettingsCommands.OptionForm;
            inside(dialog);
            if (dialog.ModalResult() == ui::mrNone) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog.SetModalResult(ui::mrCancel);
            }
        });
        SendMessageW(form->Handle(), WM_COMMAND, IDM_OPTIONS1, 0);
        EXPECT_TRUE(ran);
    }

    static void Click(ui::TWindow &control) { SendMessageW(control.Handle(), BM_CLICK, 0, 0); }
    static void Choose(ui::TComboBox &combo, int index) {
        SendMessageW(combo.Handle(), CB_SETCURSEL, index, 0);
        SendMessageW(GetParent(combo.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo.Handle()), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo.Handle()));
    }
    COLORREF ViewText(HWND view) { return ListView_GetTextColor(view); }
    COLORREF ViewBack(HWND view) { return ListView_GetBkColor(view); }
};

TEST_F(OptionFormTest, OpensWithTheStoredSettingsAndOkAloneWritesNothing) {
    Start();
    auto before = Snapshot();
    COLORREF text = ViewText(form->RightFileView.Handle());
    WithDialog([&](config::TOptionForm &d) {
        EXPECT_FALSE(d.ApplyEnabled());
        EXPECT_EQ(d.QSItemIndex(), 0);
        EXPECT_TRUE(d.Ch_Dir.Checked());
        EXPECT_FALSE(d.Ch_Pan.Checked());
        EXPECT_FALSE(d.Ch_Cmd.Checked());
        // The first start's system colours show as what they are, after the sixteen.
        EXPECT_EQ(d.FontColorCombo.Item(d.FontColorCombo.ItemIndex()), L"System: Window Text");
        EXPECT_EQ(d.BackColorCombo.Item(d.BackColorCombo.ItemIndex()), L"System: Window");
        EXPECT_EQ(d.FontColorCombo.Count(), 17);
        EXPECT_EQ(d.FontColorCombo.Item(15), L"White");
        EXPECT_EQ(d.ClientWidth(), 251);
        EXPECT_EQ(d.ClientHeight(), 339);
        const std::pair<ui::TWindow *, const wchar_t *> captions[] = {{&d.QS, L" Quick Search "},
                                                                      {&d.QSAltLetters, L" ALT + Letters "},
                                                                      {&d.QSCtrlAltLetters, L" CTRL + ALT + Letters"},
                                                                      {&d.SOE, L"Save on exit"},
                                                                      {&d.Ch_Dir, L" Directories"},
                                                                      {&d.Ch_Pan, L"Panels (brief/full, etc.)"},
                                                                      {&d.Ch_Cmd, L"Old command lines"},
                                                                      {&d.GroupColor, L" Color "},
                                                                      {&d.FontColorLabel, L"Font"},
                                                                      {&d.BackColorLabel, L"Background"},
                                                                      {&d.FontLabel, L"File List Font"},
                                                                      {&d.btn_Ok, L"OK"},
                                                                      {&d.btn_Cancel, L"Cancel"},
                                                                      {&d.btn_Apply, L"Apply"}};
        for (const auto &[control, caption] : captions)
            EXPECT_EQ(control->Text(), caption);
        Click(d.btn_Ok);
    });
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(form->SettingsCommands.PanelTextColor(), config::clWindowText);
    EXPECT_EQ(ViewText(form->RightFileView.Handle()), text);

    SetText(L"QSAltLetters", L"true");
    WithDialog([](config::TOptionForm &d) {
        EXPECT_EQ(d.QSItemIndex(), 1);
        Click(d.btn_Cancel);
    });
}

TEST_F(OptionFormTest, CancelAfterChangesWritesAndAppliesNothingAndTheNextOpeningShowsTheStore) {
    SetText(L"QSAltLetters", L"True");
    SetText(L"SavePanels", L"True");
    SetDword(L"BackColor", 0x800000); // Navy
    Start();
    auto before = Snapshot();
    COLORREF back = ViewBack(form->LeftFileView.Handle());
    // What the store holds, as the dialog must show it every time.
    auto showsTheStore = [](config::TOptionForm &d) {
        EXPECT_EQ(d.QSItemIndex(), 0);
        EXPECT_TRUE(d.Ch_Dir.Checked());
        EXPECT_TRUE(d.Ch_Pan.Checked());
        EXPECT_FALSE(d.Ch_Cmd.Checked());
        EXPECT_EQ(d.FontColorCombo.Item(d.FontColorCombo.ItemIndex()), L"System: Window Text");
        EXPECT_EQ(d.FontColorCombo.Value(), 0x80000008u);
        EXPECT_EQ(d.BackColorCombo.Item(d.BackColorCombo.ItemIndex()), L"Navy");
        bool listed = SendMessageW(d.FontCombo.Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(L"MS Sans Serif")) != CB_ERR;
        EXPECT_EQ(d.FontCombo.Value(), listed ? L"MS Sans Serif" : L"");
        EXPECT_FALSE(d.ApplyEnabled());
    };
    for (int round = 0; round < 2; ++round)
        WithDialog([&](config::TOptionForm &d) {
            showsTheStore(d);
            Click(d.QSCtrlAltLetters);
            Click(d.Ch_Dir);
            Click(d.Ch_Pan);
            Click(d.Ch_Cmd);
            Choose(d.FontColorCombo, 9);  // Red
            Choose(d.BackColorCombo, 14); // Aqua
            int other = d.FontCombo.ItemIndex() == 0 ? 1 : 0;
            Choose(d.FontCombo, other);
            EXPECT_TRUE(d.ApplyEnabled());
            Click(d.btn_Cancel);
        });
    WithDialog([&](config::TOptionForm &d) {
        showsTheStore(d);
        Click(d.btn_Cancel);
    });
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(form->SettingsCommands.PanelTextColor(), config::clWindowText);
    EXPECT_EQ(form->SettingsCommands.PanelBackColor(), 0x800000u);
    EXPECT_EQ(ViewBack(form->LeftFileView.Handle()), back);
}

TEST_F(OptionFormTest, SystemColoursAreKeptWhenOnlyTheFontChanges) {
    Start();
    WithDialog([](config::TOptionForm &d) {
        int other = d.FontCombo.ItemIndex() == 0 ? 1 : 0;
        Choose(d.FontCombo, other);
        Click(d.btn_Ok);
    });
    EXPECT_EQ(Dword(L"FontColor"), 0x80000008u);
    EXPECT_EQ(Dword(L"BackColor"), 0x80000005u);
    EXPECT_EQ(ViewText(form->LeftFileView.Handle()), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ViewBack(form->LeftFileView.Handle()), GetSysColor(COLOR_WINDOW));

    // A colour picked from the sixteen drops the system entry; any other colour gets it.
    WithDialog([](config::TOptionForm &d) {
        Choose(d.FontColorCombo, 9); // Red
        Click(d.btn_Ok);
    });
    EXPECT_EQ(Dword(L"FontColor"), 0x0000FFu);
    SetDword(L"FontColor", 0x123456);
    WithDialog([](config::TOptionForm &d) {
        EXPECT_EQ(d.FontColorCombo.Count(), 17);
        EXPECT_EQ(d.FontColorCombo.Item(d.FontColorCombo.ItemIndex()), L"Custom (123456)");
        EXPECT_EQ(d.FontColorCombo.Value(), 0x123456u);
        Click(d.btn_Cancel);
    });
    SetDword(L"FontColor", 0x0000FF);
    WithDialog([](config::TOptionForm &d) {
        EXPECT_EQ(d.FontColorCombo.Count(), 16);
        EXPECT_EQ(d.FontColorCombo.Item(d.FontColorCombo.ItemIndex()), L"Red");
        Click(d.btn_Cancel);
    });
}

TEST_F(OptionFormTest, ATickUndoneStillAppliesAndSavesEverythingOnOk) {
    Start();
    form->Left.SetDirectory(L"C:\\windows\\");
    WithDialog([](config::TOptionForm &d) {
        Click(d.Ch_Pan);
        Click(d.Ch_Pan);
        Choose(d.BackColorCombo, 4); // Navy
        Click(d.QSCtrlAltLetters);
        EXPECT_TRUE(d.ApplyEnabled());
        Click(d.btn_Ok);
    });
    EXPECT_EQ(Dword(L"FontColor"), 0x80000008u); // the system colour it showed
    EXPECT_EQ(Dword(L"BackColor"), 0x800000u);
    EXPECT_EQ(Text(L"QSAltLetters"), L"False");
    EXPECT_EQ(Text(L"QSCtrlAltLetters"), L"True");
    EXPECT_EQ(Text(L"SavePanels"), L"False");
    EXPECT_EQ(Text(L"LeftDirectory"), L"C:\\windows\\");
    for (HWND view : {form->LeftFileView.Handle(), form->RightFileView.Handle()}) {
        EXPECT_EQ(ViewText(view), GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(ViewBack(view), RGB(0, 0, 128));
    }
}

TEST_F(OptionFormTest, AStoredFontTheListLacksSelectsNone) {
    SetText(L"FileListFont", L"No Such Font");
    Start();
    WithDialog([](config::TOptionForm &d) {
        EXPECT_EQ(d.FontCombo.ItemIndex(), -1);
        EXPECT_EQ(d.FontCombo.Value(), L"");
        Click(d.Ch_Dir);
        Click(d.btn_Apply);
        EXPECT_FALSE(d.ApplyEnabled());
        Click(d.btn_Cancel);
    });
    EXPECT_EQ(Text(L"FileListFont"), L"");
    EXPECT_EQ(Text(L"SaveDir"), L"False");
    EXPECT_EQ(form->SettingsCommands.PanelFontName(), L"");
}

TEST_F(OptionFormTest, OkWritesAnEmptyHistoryApplyDoesNot) {
    SetText(L"SaveCommand", L"True");
    temp.File(L"cmd.his", "old\r\n");
    Create();
    form->SettingsCommands.HistoryFile = temp / L"none.his";
    Show();
    form->SettingsCommands.HistoryFile = HistoryFile();
    ASSERT_EQ(form->HistoryCmdBox.Count(), 0);
    WithDialog([&](config::TOptionForm &d) {
        Click(d.Ch_Pan);
        Click(d.btn_Apply);
        EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "old\r\n");
        Click(d.Ch_Pan);
        Click(d.btn_Ok);
    });
    EXPECT_TRUE(testdriver::Exists(HistoryFile()));
    EXPECT_EQ(testdriver::ReadFileBytes(HistoryFile()), "");
}

TEST_F(OptionFormTest, AFailingApplyIsReportedAndTheDialogStaysOpen) {
    Start();
    std::wstring message;
    AnswerMessage(message);
    WithDialog([&](config::TOptionForm &d) {
        RemoveSettingsKey();
        Click(d.Ch_Dir);
        Click(d.btn_Apply);
        EXPECT_EQ(message, L"Failed to set data for 'SaveDir'");
        EXPECT_TRUE(IsWindowVisible(d.Handle()));
        EXPECT_TRUE(d.ApplyEnabled());
        Click(d.btn_Cancel);
    });
    EXPECT_FALSE(KeyExists());
}

// The program's folder on a read-only medium: the run goes on, its commands stay in the command line
// for the rest of it, "cmd.his" keeps what it held, and that is said once, at the first save, not again
// at exit.
TEST_F(OptionFormTest, AHistoryThatCannotBeSavedIsSaidOnceAndKeptForTheRun) {
    const std::wstring folder = testdriver::ReadOnlyFolder();
    if (folder.empty())
        GTEST_SKIP() << "no read-only folder: the suite's fixture mounts one, which needs root";
    const std::wstring path = folder + L"cmd.his";
    SetText(L"SaveCommand", L"True");
    Create();
    form->SettingsCommands.HistoryFile = path;
    Show();
    ASSERT_EQ(form->HistoryCmdBox.Items(), Lines{L"old"});
    form->HistoryCmdBox.SetText(L"dir");
    form->CommandLine.RunCommandLineFromPanel();
    std::wstring first, second;
    AnswerMessage(first);
    AnswerMessage(second);
    WithDialog([&](config::TOptionForm &d) {
        Click(d.Ch_Pan);
        Click(d.btn_Apply);
        Click(d.btn_Cancel);
    });
    EXPECT_EQ(first.substr(0, first.find(L'\n')), L"Cannot create file " + path);
    EXPECT_EQ(form->HistoryCmdBox.Items(), (Lines{L"old", L"dir"}));
    form->Close();
    testdriver::Pump(200);
    EXPECT_EQ(second, L"") << "said again at exit";
    EXPECT_EQ(testdriver::ReadFileBytes(path), "old\r\n");
}

} // namespace

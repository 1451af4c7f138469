#include "MainFormFixture.h"

#include "app/Side.h"
#include "driver/TempDir.h"

using testdriver::Captions;
using testdriver::PressKey;
using testdriver::SelectedRow;

namespace {

using Names = std::vector<std::wstring>;

class NavigationTest : public MainFormTest {
protected:
    testdriver::TempDir dir;
};

TEST(ParentDirectory, CutsTheLastComponent) {
    EXPECT_EQ(app::ParentDirectory(L"C:\\A\\B\\") + L"\\", L"C:\\A\\");
    EXPECT_EQ(app::ParentDirectory(L"C:\\A\\") + L"\\", L"C:\\");
}

TEST_F(NavigationTest, DoubleClickEntersAFolderAndDotDotLeavesIt) {
    dir.Folder(L"Outer\\Inner\\Deepest");
    dir.File(L"Outer\\Inner\\file.txt");
    form->Left.SetDirectory(dir / L"Outer\\Inner");
    form->Left.FocusAndPlaceCursor();
    ASSERT_EQ(Captions(LeftView()), (std::vector<std::wstring>{L"..", L"Deepest", L"file.txt"}));

    form->LeftFileView.SetSelected(1);
    testdriver::DoubleClickRow(LeftView(), 1);
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"Outer\\Inner\\Deepest\\");
    EXPECT_EQ(form->LeftTitlePanel.Caption(), dir / L"Outer\\Inner\\Deepest\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"Outer\\Inner\\Deepest\\");
    EXPECT_EQ(SelectedRow(LeftView()), 0);

    testdriver::DoubleClickRow(LeftView(), 0); // ".."
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"Outer\\Inner\\");
    testdriver::DoubleClickRow(LeftView(), 0);
    EXPECT_EQ(form->LeftFileView.Directory(), dir / L"Outer\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"Outer\\");
    EXPECT_EQ(SelectedRow(LeftView()), 0) << "the cursor is on the parent's first row, not on the folder left";
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(NavigationTest, OpeningAFileGoesToTheShellAndChangesNoSide) {
    dir.File(L"readme.txt", "text");
    std::vector<std::wstring> opened;
    form->ShellExecuteVerb = [&](HWND, const std::wstring &verb, const std::wstring &file) {
        opened.push_back(verb + L" " + file);
    };
    form->Left.SetDirectory(dir.Path());
    form->Left.FocusAndPlaceCursor();
    form->LeftFileView.SetSelected(1);
    std::wstring right = form->RightFileView.Directory();
    PressKey(VK_NEXT, ui::ssCtrl);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], L"open " + (dir / L"readme.txt"));
    EXPECT_EQ(form->LeftFileView.Directory(), dir.Path());
    EXPECT_EQ(form->RightFileView.Directory(), right);
}

TEST_F(NavigationTest, TabClickAndTitleClickActivateASide) {
    dir.Folder(L"R");
    form->Right.SetDirectory(dir / L"R");
    PressKey(VK_TAB);
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kInactiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"R\\");
    EXPECT_EQ(GetFocus(), RightView());
    EXPECT_EQ(SelectedRow(RightView()), 0);

    testdriver::Click(form->LeftTitlePanel.Handle(), 5, 5);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), form->LeftFileView.Directory());
    EXPECT_EQ(GetFocus(), LeftView());

    testdriver::ClickRow(RightView(), 0);
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kInactiveTitleColor);
}

TEST_F(NavigationTest, TypedDriveLetterListsThatRootAndAMissingDriveIsEmpty) {
    form->Left.SetDirectory(dir.Path());
    form->LeftDriveCombo.SetFocus();
    PressKey('C');
    EXPECT_EQ(form->LeftFileView.Directory(), L"c:\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), L"c:\\");
    EXPECT_EQ(GetFocus(), LeftView());
    EXPECT_GT(form->LeftFileView.Count(), 0);

    form->LeftDriveCombo.SetFocus();
    PressKey('Q');
    EXPECT_EQ(form->LeftFileView.Directory(), L"q:\\");
    EXPECT_EQ(form->LeftTitlePanel.Caption(), L"q:\\");
    EXPECT_EQ(form->LeftFileView.Count(), 0);
    EXPECT_EQ(testdriver::FindVisibleWindow(L"Zelvor"), nullptr);
}

// The drive of the entry the list shows now, as a person reads it.
wchar_t ShownDrive(filelist::TDriveComboBox &box) {
    std::wstring entry = box.Item(box.ItemIndex());
    return entry.empty() ? 0 : entry[0];
}

TEST_F(NavigationTest, BrowsingTheDriveListAndCancellingChangesNothing) {
    if (form->LeftDriveCombo.Count() < 2) GTEST_SKIP() << "one drive only";
    form->Left.SetDirectory(dir.Path());
    form->Left.Activate();
    const wchar_t drive = form->LeftDriveCombo.Drive();
    int rowsListed = 0;
    form->LeftFileView.OnFileAdd = [&](filelist::TFileList &, int, const std::wstring &, const WIN32_FIND_DATAW &) {
        ++rowsListed;
    };
    struct Case {
        const char *what;
        std::vector<WORD> keys;
    };
    const Case cases[] = {
        {"Down, Up, Escape", {VK_DOWN, VK_UP, VK_ESCAPE}},
        {"Down, Escape", {VK_DOWN, VK_ESCAPE}},
        {"End, Home, End, Escape", {VK_END, VK_HOME, VK_END, VK_ESCAPE}},
    };
    for (const Case &c : cases) {
        form->Left.FocusAndPlaceCursor();
        PressKey(VK_F1, ui::ssAlt);
        ASSERT_TRUE(form->LeftDriveCombo.DroppedDown()) << c.what;
        for (WORD key : c.keys) PressKey(key);
        EXPECT_FALSE(form->LeftDriveCombo.DroppedDown()) << c.what;
        EXPECT_EQ(form->LeftFileView.Directory(), dir.Path()) << c.what;
        EXPECT_EQ(form->LeftTitlePanel.Caption(), dir.Path()) << c.what;
        EXPECT_EQ(rowsListed, 0) << c.what;
        EXPECT_EQ(form->LeftDriveCombo.Drive(), drive) << c.what;
        EXPECT_EQ(ShownDrive(form->LeftDriveCombo), drive) << c.what << ": the box shows the side's drive again";
    }
}

TEST_F(NavigationTest, DriveConfirmedWithEnterIsListedOnce) {
    if (form->LeftDriveCombo.Count() < 2) GTEST_SKIP() << "one drive only";
    form->Left.SetDirectory(dir.Path());
    form->Left.Activate();
    PressKey(VK_F1, ui::ssAlt);
    PressKey(VK_DOWN);
    const wchar_t chosen = ShownDrive(form->LeftDriveCombo);
    ASSERT_NE(chosen, form->LeftDriveCombo.Drive());
    const std::wstring root{chosen, L':', L'\\'};
    int rowsListed = 0;
    form->LeftFileView.OnFileAdd = [&](filelist::TFileList &, int, const std::wstring &, const WIN32_FIND_DATAW &) {
        ++rowsListed;
    };
    PressKey(VK_RETURN);
    EXPECT_FALSE(form->LeftDriveCombo.DroppedDown());
    EXPECT_EQ(form->LeftFileView.Directory(), root);
    EXPECT_EQ(form->LeftTitlePanel.Caption(), root);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), root);
    EXPECT_EQ(form->LeftDriveCombo.Drive(), chosen);
    EXPECT_EQ(rowsListed, form->LeftFileView.Count()) << "the new root is listed once";
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(NavigationTest, DriveClickedInTheListActivatesItsSideAndIsListedOnce) {
    if (form->RightDriveCombo.Count() < 2) GTEST_SKIP() << "one drive only";
    form->Right.SetDirectory(dir.Path());
    form->Left.Activate();
    HWND box = form->RightDriveCombo.Handle();
    RECT r;
    GetClientRect(box, &r);
    testdriver::Click(box, r.right - 5, r.bottom / 2); // the arrow
    ASSERT_TRUE(form->RightDriveCombo.DroppedDown());
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(box, &info));
    const int current = form->RightDriveCombo.ItemIndex();
    const int other = current == 0 ? 1 : 0;
    const wchar_t chosen = form->RightDriveCombo.Item(other)[0];
    const std::wstring root{chosen, L':', L'\\'};
    int rowsListed = 0;
    form->RightFileView.OnFileAdd = [&](filelist::TFileList &, int, const std::wstring &, const WIN32_FIND_DATAW &) {
        ++rowsListed;
    };
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, other, reinterpret_cast<LPARAM>(&item));
    testdriver::Click(info.hwndList, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    EXPECT_FALSE(form->RightDriveCombo.DroppedDown());
    EXPECT_EQ(form->RightFileView.Directory(), root);
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->LeftTitlePanel.Color(), app::kInactiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), root);
    EXPECT_EQ(rowsListed, form->RightFileView.Count()) << "the new root is listed once";
    EXPECT_EQ(GetFocus(), RightView());
}

// A folder whose name holds ";" is one folder wherever a side goes to it; the rows shown are always those
// of the folder in the title line, never those of the folder named by the text before the ";".
TEST_F(NavigationTest, AFolderNamedWithASemicolonIsOneFolderEverywhere) {
    dir.File(L"data\\victim.txt");
    dir.File(L"data;old\\inside.txt");
    dir.Folder(L"data;old\\deep");
    const std::wstring folder = dir / L"data;old\\";
    const Names rows{L"..", L"deep", L"inside.txt"};
    auto shows = [&](app::TSide &side, const char *step) {
        EXPECT_EQ(side.Directory(), folder) << step;
        EXPECT_EQ(side.TitlePanel.Caption(), folder) << step;
        EXPECT_EQ(Captions(side.FileView.Handle()), rows) << step;
    };
    form->Left.SetDirectory(dir.Path());
    form->Left.Activate();
    ASSERT_EQ(Captions(LeftView()), (Names{L"..", L"data", L"data;old"}));

    PressKey(VK_END);
    PressKey(VK_RETURN);
    shows(form->Left, "opened by Enter on its row");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), folder);

    PressKey(VK_DOWN);
    PressKey(VK_NEXT, ui::ssCtrl);
    EXPECT_EQ(form->LeftFileView.Directory(), folder + L"deep\\");
    PressKey(VK_HOME);
    PressKey(VK_RETURN);
    shows(form->Left, "back through ..");

    const std::wstring right = form->RightFileView.Directory();
    PressKey('U', ui::ssCtrl);
    shows(form->Right, "swapped to the right by Ctrl+U");
    EXPECT_EQ(form->LeftFileView.Directory(), right);
    PressKey('U', ui::ssCtrl);
    shows(form->Left, "swapped back");
    PressKey('R', ui::ssCtrl);
    shows(form->Left, "re-read by Ctrl+R");
    PressKey(VK_RIGHT, ui::ssCtrl);
    shows(form->Right, "copied across by Ctrl+Right");
    form->Left.SetDirectory(right);
    PressKey(VK_LEFT, ui::ssCtrl);
    shows(form->Left, "copied across by Ctrl+Left");
}

TEST_F(NavigationTest, ASavedFolderNamedWithASemicolonIsListedAtStart) {
    dir.File(L"data\\victim.txt");
    dir.File(L"data;old\\inside.txt");
    const std::wstring folder = dir / L"data;old\\";
    // The first start has written the settings with saving of directories on; the next start reads them.
    form.reset();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    ASSERT_EQ(SHSetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kestrune\\Zelvor", L"LeftDirectory", REG_SZ,
                          folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
              static_cast<DWORD>(ERROR_SUCCESS));
    form = std::make_unique<app::TMainForm>();
    form->Create();
    form->Show();
    testdriver::Pump(50);
    EXPECT_EQ(form->LeftFileView.Directory(), folder);
    EXPECT_EQ(form->LeftTitlePanel.Caption(), folder);
    EXPECT_EQ(Captions(LeftView()), (Names{L"..", L"inside.txt"}));
}

// Screen readers and other tools read a panel's caption as its window text.
TEST_F(NavigationTest, TitleLinesAndThePromptAreWindowTexts) {
    dir.Folder(L"L");
    dir.Folder(L"R");
    form->Left.SetDirectory(dir / L"L");
    form->Left.Activate();
    form->Right.SetDirectory(dir / L"R");
    PressKey(VK_TAB);
    auto text = [](ui::TWindow &w) {
        wchar_t buffer[MAX_PATH] = {};
        GetWindowTextW(w.Handle(), buffer, MAX_PATH);
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(form->LeftTitlePanel), dir / L"L\\");
    EXPECT_EQ(text(form->RightTitlePanel), dir / L"R\\");
    EXPECT_EQ(text(form->CMDTitlePanel), dir / L"R\\");
}

TEST_F(NavigationTest, PromptAndTitleLineShowTheTailOfALongPath) {
    const std::wstring deep = L"a rather long folder name to fill the prompt\\another long folder in the way\\Innermost";
    dir.Folder(deep);
    const std::wstring full = dir / deep + L"\\";
    form->Left.SetDirectory(dir / deep);
    form->Left.Activate();
    ASSERT_EQ(form->CMDTitlePanel.Caption(), full);
    std::wstring shown = form->CMDTitlePanel.ShownCaption();
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(shown.substr(0, 3), L"...");
    EXPECT_TRUE(full.ends_with(shown.substr(3))) << "what shows is the path's end";
    EXPECT_TRUE(shown.ends_with(L"\\Innermost\\"));
    shown = form->LeftTitlePanel.ShownCaption();
    EXPECT_EQ(shown.substr(0, 3), L"...") << "the title line keeps the folder's own name in view too";
    EXPECT_TRUE(shown.ends_with(L"\\Innermost\\"));
    form->Left.SetDirectory(L"c:\\");
    form->Left.Activate();
    EXPECT_EQ(form->CMDTitlePanel.ShownCaption(), L"c:\\") << "a short path shows whole";
}

} // namespace

namespace {

TEST_F(NavigationTest, TabGoesToTheOtherSidesQuickViewPaneWhenItShows) {
    form->RightFileView.SetVisible(false);
    form->Right.QMemo.SetVisible(true);
    testdriver::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form->Right.QMemo.Handle());
    EXPECT_EQ(form->RightTitlePanel.Color(), app::kActiveTitleColor);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), form->RightFileView.Directory());
    form->Left.Activate();
    PressKey(VK_F2, ui::ssAlt); // the right drive box: a drive chosen there shows the file view again
    PressKey('Q');
    EXPECT_EQ(form->RightFileView.Directory(), L"q:\\");
    EXPECT_FALSE(form->Right.QMemo.Visible());
    EXPECT_TRUE(form->RightFileView.Visible());
}

} // namespace

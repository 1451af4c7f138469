#include "MainFormFixture.h"

#include <atomic>
#include <thread>

#include "driver/TempDir.h"
#include "ui/HistoryList.h"
#include "search/SearchForm.h"
#include "ui/BrowseSteps.h"

using testdriver::AnswerWhenShown;
using testdriver::PressButton;
using testdriver::PressKey;
using testdriver::ReadRows;

namespace {

using Rows = std::vector<std::vector<std::wstring>>; // name, size, directory

// The texts a message box shows.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM list) {
    wchar_t cls[32] = {}, text[64] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 64);
    if (_wcsicmp(cls, L"Static") == 0 && text[0]) reinterpret_cast<std::vector<std::wstring> *>(list)->push_back(text);
    return TRUE;
}

class SearchFormTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        dir.File(L"a.txt", "needle here");
        dir.File(L"b.doc", std::string(1025, 'x'));
        dir.File(L"s1\\a.txt", "x");
        dir.File(L"s1\\t\\a.txt", std::string(1024, 'y'));
        dir.File(L"s2\\a.txt", "");
        dir.File(L"s2\\Zed.txt", "no NEEDLE? yes: needle");
        form->Right.SetDirectory(dir.Path());
        form->Right.Activate();
    }

    search::TSearchForm &Dialog() { return form->SearchForm(); }

    // Opens Find Files with Alt+F7 from the active side, runs the steps inside the dialog, then closes it
    // with its Cancel button unless the steps closed it.
    void WithFindFiles(const std::function<void(search::TSearchForm &)> &steps) {
        bool shown = false;
        AnswerWhenShown(L"Find Files", [&](HWND window) {
            shown = true;
            steps(Dialog());
            if (Dialog().ModalResult() == ui::mrNone) PressButton(L"Cancel")(window);
        });
        PressKey(VK_F7, ui::ssAlt);
        EXPECT_TRUE(shown) << "Alt+F7 showed no Find Files dialog";
        EXPECT_FALSE(IsWindowVisible(Dialog().Handle()));
    }

    // Types the masks and presses Enter, as a person starts a search.
    static void Search(search::TSearchForm &d, const std::wstring &masks) {
        d.FindHistoryBox.SetFocus();
        d.FindHistoryBox.SetText(masks);
        PressKey(VK_RETURN);
    }

    static Rows Shown(search::TSearchForm &d) {
        Rows rows;
        for (const auto &r : ReadRows(d.FindListView.Handle())) {
            std::vector<std::wstring> row{r.caption};
            row.insert(row.end(), r.subItems.begin(), r.subItems.end());
            rows.push_back(row);
        }
        return rows;
    }

    // What the status line shows, read from the control.
    static std::wstring StatusLine(search::TSearchForm &d) {
        wchar_t text[256] = {};
        SendMessageW(d.stb.Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }

    static bool Enabled(ui::TWindow &w) { return IsWindowEnabled(w.Handle()) != FALSE; }

    testdriver::TempDir dir;
};

// Escape pressed and held a moment from another thread, as the keyboard sends it while the dialog is busy.
void HoldEscapeFromOutside() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &keys[0], sizeof(INPUT));
    Sleep(60);
    SendInput(1, &keys[1], sizeof(INPUT));
}

} // namespace

TEST_F(SearchFormTest, AltF7FromTheRightSideProposesItsDirectory) {
    WithFindFiles([&](search::TSearchForm &d) {
        EXPECT_EQ(d.FindDirEdit.Text(), dir.Path());
        EXPECT_EQ(d.Text(), L"Find Files");
        EXPECT_EQ(GetFocus(), d.FindHistoryBox.EditHandle()) << "typing goes into the mask box";
        EXPECT_FALSE(Enabled(d.View_Btn));
        EXPECT_FALSE(Enabled(d.NewFind_Btn));
        EXPECT_FALSE(Enabled(d.GoTo_Btn));
        EXPECT_EQ(testdriver::ColumnCaption(d.FindListView.Handle(), 0), L"Name");
        EXPECT_EQ(testdriver::ColumnCaption(d.FindListView.Handle(), 1), L"Size");
        EXPECT_EQ(testdriver::ColumnCaption(d.FindListView.Handle(), 2), L"Directory");
    });
}

TEST_F(SearchFormTest, MasksFindFilesInEverySubdirectorySortedByName) {
    const std::wstring root = dir.Path();
    WithFindFiles([&](search::TSearchForm &d) {
        Search(d, L"*.txt");
        EXPECT_EQ(Shown(d), (Rows{{L"a.txt", L"1 KB", root},
                                  {L"a.txt", L"1 KB", root + L"s1\\"},
                                  {L"a.txt", L"1 KB", root + L"s1\\t\\"},
                                  {L"a.txt", L"0 KB", root + L"s2\\"},
                                  {L"Zed.txt", L"1 KB", root + L"s2\\"}}));
        EXPECT_EQ(StatusLine(d), L"5 File(s) found");
        EXPECT_EQ(d.Text(), L"Find Files") << "the caption comes back after the search";
        EXPECT_TRUE(Enabled(d.View_Btn) && Enabled(d.NewFind_Btn) && Enabled(d.GoTo_Btn));

        Search(d, L"");
        Rows all = Shown(d);
        ASSERT_EQ(all.size(), 6u) << "an empty mask finds every file";
        EXPECT_EQ(all[4], (std::vector<std::wstring>{L"b.doc", L"2 KB", root}));
        EXPECT_EQ(StatusLine(d), L"6 File(s) found");

        Search(d, L"zed;b");
        EXPECT_EQ(Shown(d).size(), 2u) << "bare words match inside names";
    });
}

TEST_F(SearchFormTest, TextSearchAndATickedBoxWithoutText) {
    const std::wstring root = dir.Path();
    WithFindFiles([&](search::TSearchForm &d) {
        testdriver::Click(d.CheckTextSearch.Handle(), 5, 5);
        EXPECT_TRUE(d.CheckTextSearch.Checked());
        EXPECT_EQ(GetFocus(), d.FindTextHistoryBox.EditHandle()) << "ticking the box moves to the text";
        Search(d, L"*.txt");
        EXPECT_EQ(Shown(d).size(), 5u) << "an empty text searches by name only";

        d.FindTextHistoryBox.SetText(L"NEEDLE");
        Search(d, L"*.txt");
        EXPECT_EQ(Shown(d), (Rows{{L"a.txt", L"1 KB", root}, {L"Zed.txt", L"1 KB", root + L"s2\\"}}));

        testdriver::Click(d.CheckTextSearch.Handle(), 5, 5);
        Search(d, L"*.txt");
        EXPECT_EQ(Shown(d).size(), 5u) << "the text counts only while the box is ticked";
    });
}

TEST_F(SearchFormTest, EachStartListsTheMaskInItsOwnBoxOnly) {
    ui::SharedHistory().Clear();
    WithFindFiles([&](search::TSearchForm &d) {
        const int before = d.FindHistoryBox.Count();
        Search(d, L"*.txt");
        Search(d, L"*.txt");
        Search(d, L"");
        std::vector<std::wstring> items(d.FindHistoryBox.Items().begin(), d.FindHistoryBox.Items().end());
        ASSERT_EQ(items.size(), static_cast<size_t>(before) + 3);
        EXPECT_EQ(std::vector<std::wstring>(items.end() - 3, items.end()),
                  (std::vector<std::wstring>{L"*.txt", L"*.txt", L""}));
        EXPECT_EQ(d.FindTextHistoryBox.Count(), before);
    });
    EXPECT_EQ(ui::SharedHistory().Count(), 0) << "the shared history is untouched";
    EXPECT_EQ(form->HistoryCmdBox.Count(), 0);
}

TEST_F(SearchFormTest, TheBrowseButtonStartsAtTheProposedFolderAndFillsTheField) {
    std::vector<std::wstring> preselected;
    std::wstring title;
    const std::wstring root = dir.Path().substr(0, 3);
    WithFindFiles([&](search::TSearchForm &d) {
        d.BrowseFindFolder.OnInitialized = [&](ui::TBrowseFolder &tree, HWND) {
            preselected.push_back(tree.Directory);
            title = tree.Title;
        };
        bool findFilesEnabled = true;
        {
            BrowseSteps steps(d.BrowseFindFolder,
                              {BrowseSteps::Select(dir / L"s1"),
                               [&](HWND) { findFilesEnabled = IsWindowEnabled(d.Handle()) != FALSE; },
                               BrowseSteps::Press(IDOK)});
            testdriver::Click(d.FindDirEditButton.Handle(), 5, 5);
        }
        EXPECT_FALSE(findFilesEnabled) << "Find Files takes no input while its folder dialog is open";
        EXPECT_TRUE(Enabled(d)) << "and takes it again once the folder dialog is closed";
        EXPECT_EQ(_wcsicmp(d.FindDirEdit.Text().c_str(), (dir / L"s1").c_str()), 0);
        EXPECT_EQ(GetFocus(), d.FindHistoryBox.EditHandle());
        Search(d, L"*.txt");
        EXPECT_EQ(Shown(d).size(), 2u) << "the search starts in the chosen folder";
        d.FindDirEdit.SetText(root);
        {
            BrowseSteps steps(d.BrowseFindFolder, {BrowseSteps::Press(IDCANCEL)});
            testdriver::Click(d.FindDirEditButton.Handle(), 5, 5);
        }
        EXPECT_EQ(d.FindDirEdit.Text(), root) << "Cancel leaves the field";
    });
    EXPECT_EQ(preselected, (std::vector<std::wstring>{dir.Path().substr(0, dir.Path().size() - 1), root}));
    EXPECT_EQ(title, L"\u0412\u044B\u0431\u043E\u0440 \u043F\u0430\u043F\u043A\u0438 \u0434\u043B\u044F "
                     L"\u043F\u043E\u0438\u0441\u043A\u0430");
}

TEST_F(SearchFormTest, AMissingStartFolderFindsNothing) {
    WithFindFiles([&](search::TSearchForm &d) {
        Search(d, L"*.txt");
        d.FindDirEdit.SetText(dir / L"missing\\");
        Search(d, L"*.txt");
        EXPECT_TRUE(Shown(d).empty()) << "the rows of the last search go when a new one starts";
        EXPECT_EQ(StatusLine(d), L"0 File(s) found");
    });
}

TEST_F(SearchFormTest, ViewShowsTheFoundFileInTheProgramsViewer) {
    const std::wstring path = dir / L"s2\\Zed.txt";
    bool viewerShown = false;
    WithFindFiles([&](search::TSearchForm &d) {
        Search(d, L"zed.txt");
        ASSERT_EQ(Shown(d).size(), 1u);
        testdriver::ClickRow(d.FindListView.Handle(), 0);
        AnswerWhenShown(L"View file : " + path, [&](HWND viewer) {
            viewerShown = true;
            PostMessageW(viewer, WM_CLOSE, 0, 0);
        });
        PressButton(L"View")(d.Handle());
        testdriver::Pump(300);
        EXPECT_TRUE(IsWindowVisible(d.Handle())) << "the dialog stays open under the viewer";
    });
    EXPECT_TRUE(viewerShown) << "View showed no viewer with the found file";
}

TEST_F(SearchFormTest, ViewAndGotoDoNothingWithoutASelectedRow) {
    std::vector<std::wstring> viewed;
    const std::wstring before = form->Left.Directory();
    WithFindFiles([&](search::TSearchForm &d) {
        d.ViewFile = [&](const std::wstring &path) { viewed.push_back(path); };
        Search(d, L"*.doc");
        ASSERT_EQ(Shown(d).size(), 1u);
        ASSERT_EQ(testdriver::SelectedRow(d.FindListView.Handle()), -1);
        PressButton(L"View")(d.Handle());
        testdriver::Pump();
        PressKey(VK_F3);
        PressButton(L"Goto")(d.Handle());
        testdriver::Pump();
        EXPECT_TRUE(IsWindowVisible(d.Handle())) << "Goto without a row keeps the dialog open";
        Search(d, L"nothing matches this");
        PressButton(L"Goto")(d.Handle());
        testdriver::Pump();
        EXPECT_TRUE(IsWindowVisible(d.Handle()));
    });
    EXPECT_TRUE(viewed.empty());
    EXPECT_EQ(form->Right.Directory(), dir.Path());
    EXPECT_EQ(form->Left.Directory(), before);
}

TEST_F(SearchFormTest, ViewAndF3ShowTheSelectedFileAndGotoListsItsFolder) {
    std::vector<std::wstring> viewed;
    WithFindFiles([&](search::TSearchForm &d) {
        d.ViewFile = [&](const std::wstring &path) { viewed.push_back(path); };
        Search(d, L"a.txt");
        testdriver::ClickRow(d.FindListView.Handle(), 2);
        PressButton(L"View")(d.Handle());
        testdriver::Pump();
        d.FindHistoryBox.SetFocus();
        PressKey(VK_F3);
        PressKey(VK_F3, ui::ssShift);
        EXPECT_TRUE(IsWindowVisible(d.Handle()));
        PressButton(L"Goto")(d.Handle());
        testdriver::Pump();
        EXPECT_EQ(d.ModalResult(), ui::mrOk) << "Goto closes the dialog";
    });
    const std::wstring file = dir / L"s1\\t\\a.txt";
    EXPECT_EQ(viewed, (std::vector<std::wstring>{file, file}));
    EXPECT_EQ(form->Right.Directory(), dir / L"s1\\t\\");
    EXPECT_EQ(form->Right.TitlePanel.Caption(), dir / L"s1\\t\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), dir / L"s1\\t\\");
    EXPECT_EQ(testdriver::Captions(RightView()), (std::vector<std::wstring>{L"..", L"a.txt"}));
    EXPECT_EQ(testdriver::SelectedRow(RightView()), 0);
}

TEST_F(SearchFormTest, ReopeningShowsThePreviousRowsWithEmptyInputs) {
    WithFindFiles([&](search::TSearchForm &d) {
        testdriver::Click(d.CheckTextSearch.Handle(), 5, 5);
        d.FindTextHistoryBox.SetText(L"needle");
        Search(d, L"*.txt");
        PressButton(L"New Search")(d.Handle());
        testdriver::Pump();
        EXPECT_EQ(d.FindHistoryBox.Text(), L"");
        EXPECT_EQ(d.FindTextHistoryBox.Text(), L"");
        EXPECT_FALSE(d.CheckTextSearch.Checked());
        EXPECT_FALSE(Enabled(d.View_Btn) || Enabled(d.NewFind_Btn) || Enabled(d.GoTo_Btn));
        EXPECT_EQ(StatusLine(d), L"");
        EXPECT_EQ(Shown(d).size(), 2u) << "New Search keeps the rows";
        EXPECT_EQ(GetFocus(), d.FindHistoryBox.EditHandle());
        testdriver::Click(d.CheckTextSearch.Handle(), 5, 5);
        d.FindTextHistoryBox.SetText(L"needle");
        d.FindHistoryBox.SetText(L"*.txt");
    });
    form->Left.Activate();
    WithFindFiles([&](search::TSearchForm &d) {
        EXPECT_EQ(Shown(d).size(), 2u);
        EXPECT_EQ(d.FindHistoryBox.Text(), L"");
        EXPECT_EQ(d.FindTextHistoryBox.Text(), L"");
        EXPECT_FALSE(d.CheckTextSearch.Checked());
        EXPECT_FALSE(Enabled(d.View_Btn) || Enabled(d.GoTo_Btn));
        EXPECT_EQ(d.FindDirEdit.Text(), form->Left.Directory()) << "the now active side's folder";
        EXPECT_EQ(GetFocus(), d.FindHistoryBox.EditHandle());
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(d.Handle())) << "Escape never closes the dialog";
    });
}

// A person presses Escape while a search runs: the key comes as real keyboard input from outside the
// program, while the dialog's handler is busy searching and reads no window messages.
TEST_F(SearchFormTest, EscapeStopsARunningSearchAndKeepsWhatWasFound) {
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 5; ++j) dir.File(L"big\\d" + std::to_wstring(i) + L"\\f" + std::to_wstring(j) + L".dat", "k");
    std::vector<std::wstring> messages;
    WithFindFiles([&](search::TSearchForm &d) {
        d.FindDirEdit.SetText(dir / L"big\\");
        testdriver::Click(d.CheckTextSearch.Handle(), 5, 5);
        d.FindTextHistoryBox.SetText(L"k");
        // Each file read takes a while, so that the search of 200 files lasts some seconds.
        int scanned = 0;
        d.MyFF.OnScanFile = [&](const std::wstring &, bool &) {
            ++scanned;
            Sleep(20);
        };
        AnswerWhenShown(L"Zelvor", [&](HWND box) {
            EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&messages));
            PressButton(L"OK")(box);
        });
        std::thread person([] {
            Sleep(800);
            HoldEscapeFromOutside();
        });
        d.FindHistoryBox.SetFocus();
        d.FindHistoryBox.SetText(L"*.dat");
        PressKey(VK_RETURN);
        person.join();
        testdriver::Pump(100);
        const size_t found = Shown(d).size();
        EXPECT_GT(found, 0u);
        EXPECT_LT(found, 200u) << "the search ran to its end";
        EXPECT_LT(scanned, 200);
        EXPECT_EQ(StatusLine(d), std::to_wstring(found) + L" File(s) found");
        EXPECT_EQ(d.Text(), L"Find Files");
        EXPECT_TRUE(IsWindowVisible(d.Handle())) << "Escape stops the search, not the dialog";
        EXPECT_TRUE(Enabled(d.Find_Btn) && Enabled(d.Cancel_Btn) && Enabled(d.GoTo_Btn));
        d.MyFF.OnScanFile = nullptr;
    });
    EXPECT_EQ(messages, std::vector<std::wstring>{L"User abort!"});
}

// The walk waits on one slow file or folder (a share that does not answer); Escape still stops the search at
// once, and the dialog answers again without waiting for the walk to come back.
TEST_F(SearchFormTest, EscapeStopsASearchWhoseWalkIsStuck) {
    dir.File(L"slow\\a.dat", "k");
    dir.File(L"slow\\b.dat", "k");
    std::vector<std::wstring> messages;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> stuck{false}, leftStuck{false}, heldToTheEnd{false};
    WithFindFiles([&](search::TSearchForm &d) {
        d.FindDirEdit.SetText(dir / L"slow\\");
        testdriver::Click(d.CheckTextSearch.Handle(), 5, 5);
        d.FindTextHistoryBox.SetText(L"k");
        d.MyFF.OnScanFile = [&](const std::wstring &, bool &) {
            if (stuck.exchange(true)) return;
            heldToTheEnd = WaitForSingleObject(release, 30000) == WAIT_TIMEOUT;
            leftStuck = true;
        };
        AnswerWhenShown(L"Zelvor", [&](HWND box) {
            EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&messages));
            PressButton(L"OK")(box);
        });
        std::thread person([&] {
            while (!stuck) Sleep(10);
            HoldEscapeFromOutside();
        });
        d.FindHistoryBox.SetFocus();
        d.FindHistoryBox.SetText(L"*.dat");
        PressKey(VK_RETURN);
        person.join();
        EXPECT_FALSE(leftStuck) << "the search waited for the stuck walk";
        SetEvent(release);
        while (!leftStuck) Sleep(10);
        testdriver::Pump(100);
        EXPECT_EQ(StatusLine(d), L"0 File(s) found");
        EXPECT_EQ(d.Text(), L"Find Files");
        EXPECT_TRUE(Enabled(d.Find_Btn) && Enabled(d.Cancel_Btn));
        d.MyFF.OnScanFile = nullptr;
    });
    CloseHandle(release);
    EXPECT_FALSE(heldToTheEnd);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"User abort!"});
}

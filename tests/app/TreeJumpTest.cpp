#include "MainFormFixture.h"

#include "driver/TempDir.h"
#include "ui/BrowseSteps.h"

using testdriver::PressKey;
using testdriver::ReadRows;
using testdriver::SelectedRow;

namespace {

bool SamePath(const std::wstring &a, const std::wstring &b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }
std::string Utf8(const std::wstring &s) { return std::string(s.begin(), s.end()); }

class TreeJumpTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        dir.Folder(L"other");
        dir.Folder(L"sub");
        dir.File(L"sub\\in sub.txt", "x");
        for (const wchar_t *name : {L"a.txt", L"b.txt"}) dir.File(name, "x");
        form->Right.SetDirectory(dir.Path());
        form->Right.Activate();
        // Rows: .., other, sub, a.txt, b.txt
    }

    // Presses Alt+F10 and answers the folder tree step by step; the first step notes what the tree showed.
    void Jump(std::vector<BrowseSteps::Step> answer) {
        opened = false;
        form->BrowseFolderTree.OnInitialized = [&](ui::TBrowseFolder &tree, HWND) {
            opened = true;
            preselected = tree.Directory;
            title = tree.Title;
        };
        answer.insert(answer.begin(), [&](HWND) { selectedAtStart = form->BrowseFolderTree.CurrentFolder(); });
        BrowseSteps steps(form->BrowseFolderTree, answer);
        PressKey(VK_F10, ui::ssAlt);
        EXPECT_TRUE(opened) << "Alt+F10 showed no folder tree";
    }

    static BrowseSteps::Step Press(int id) { return BrowseSteps::Press(id); }
    static std::vector<BrowseSteps::Step> Choose(const std::wstring &folder) {
        return {BrowseSteps::Select(folder), BrowseSteps::Press(IDOK)};
    }

    testdriver::TempDir dir;
    bool opened = false;
    std::wstring preselected, selectedAtStart, title;
};

} // namespace

TEST_F(TreeJumpTest, PreselectsARootWholeAndASubdirectoryWithoutItsBackslash) {
    form->Left.Activate();
    ASSERT_EQ(form->Left.Directory().size(), 3u) << "the left side starts in a drive root";
    const std::wstring root = form->Left.Directory();
    Jump({Press(IDCANCEL)});
    EXPECT_EQ(title, L"Directory Tree");
    EXPECT_EQ(preselected, root);
    EXPECT_TRUE(SamePath(selectedAtStart, root)) << Utf8(selectedAtStart);

    form->Right.SetDirectory(dir / L"sub\\");
    form->Right.Activate();
    Jump({Press(IDCANCEL)});
    EXPECT_EQ(preselected, dir / L"sub");
    EXPECT_TRUE(SamePath(selectedAtStart, dir / L"sub")) << Utf8(selectedAtStart);
}

TEST_F(TreeJumpTest, CancelLeavesRowsMarksAndCursor) {
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_INSERT); // marks a.txt, the cursor goes to b.txt
    const auto before = ReadRows(RightView());
    ASSERT_TRUE(before[3].marked);
    ASSERT_EQ(SelectedRow(RightView()), 4);
    Jump({BrowseSteps::Select(dir / L"other"), Press(IDCANCEL)});
    const auto after = ReadRows(RightView());
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].caption, before[i].caption);
        EXPECT_EQ(after[i].marked, before[i].marked) << i;
        EXPECT_EQ(after[i].selected, before[i].selected) << i;
    }
    EXPECT_EQ(form->Right.Directory(), dir.Path());
}

TEST_F(TreeJumpTest, ChoosingTheSameFolderReadsItAgainAndClearsTheMarks) {
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_INSERT);
    dir.File(L"c.txt", "new");
    Jump({Press(IDOK)});
    const auto rows = ReadRows(RightView());
    std::wstring listed;
    for (const auto &row : rows) listed += row.caption + L" ";
    ASSERT_EQ(rows.size(), 6u) << "the new file is listed: " << Utf8(listed) << " in " << Utf8(form->Right.Directory())
                               << " preselected " << Utf8(preselected) << " at start " << Utf8(selectedAtStart);
    EXPECT_EQ(rows[5].caption, L"c.txt");
    for (const auto &row : rows) EXPECT_FALSE(row.marked) << Utf8(row.caption);
    EXPECT_EQ(SelectedRow(RightView()), 0);
    EXPECT_TRUE(SamePath(form->Right.Directory(), dir.Path())) << Utf8(form->Right.Directory());
}

TEST_F(TreeJumpTest, ChoosingAFolderListsItInTheActiveSide) {
    const std::wstring leftBefore = form->Left.Directory();
    Jump(Choose(dir / L"sub"));
    const std::wstring now = form->Right.Directory();
    EXPECT_TRUE(SamePath(now, dir / L"sub\\")) << Utf8(now);
    EXPECT_EQ(form->Right.TitlePanel.Caption(), now);
    EXPECT_EQ(form->CMDTitlePanel.Caption(), now);
    EXPECT_EQ(testdriver::Captions(RightView()), (std::vector<std::wstring>{L"..", L"in sub.txt"}));
    EXPECT_EQ(SelectedRow(RightView()), 0);
    EXPECT_EQ(GetFocus(), RightView());
    EXPECT_EQ(form->Left.Directory(), leftBefore);

    // A drive root comes back with its backslash, which is used as it is.
    const std::wstring root = dir.Path().substr(0, 3);
    Jump(Choose(root));
    EXPECT_TRUE(SamePath(form->Right.Directory(), root)) << Utf8(form->Right.Directory());
}

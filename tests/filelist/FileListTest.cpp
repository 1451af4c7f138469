#include "filelist/FileList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "ui/Form.h"

using namespace filelist;
using testdriver::TempDir;

namespace {

// A file list on a form of its own, read back through the list view's messages as a person's tools would.
class FileListTest : public testing::Test {
protected:
    void SetUp() override {
        form.CreateForm(L"File list test", 600, 400, false);
        list.Create(form.Handle(), 10);
        list.SetBounds(0, 0, 580, 360);
        list.SetFileTypes(kAllFileTypes);
    }

    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> names = testdriver::Captions(list.Handle());
        return names;
    }

    ui::TForm form;
    TFileList list;
    TempDir dir;
};

using Names = std::vector<std::wstring>;

// The user's short date and time formats, given back as they were.
class UserFormats {
public:
    UserFormats() {
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, date_, 80);
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, time_, 80);
    }
    ~UserFormats() { Set(date_, time_); }
    static void Set(const wchar_t *date, const wchar_t *time) {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, date);
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, time);
    }

private:
    wchar_t date_[80] = {}, time_[80] = {};
};

int TextWidth(HFONT font, const std::wstring &text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

// The widest values the columns are made for stand whole in them, in the view's font and the user's own
// formats: a size of twelve digits, and a late day of a late month at 22:58 as an English and a Russian
// user write it (the Russian date is the wider).
TEST_F(FileListTest, TheWidestSizeAndModifiedFitTheirColumnsInEnglishAndRussianFormats) {
    struct Format {
        const wchar_t *date, *time;
    } formats[] = {{L"M/d/yyyy", L"h:mm:ss tt"}, {L"dd.MM.yyyy", L"H:mm:ss"}};
    UserFormats keep;
    std::wstring file = dir.File(L"a.txt", "a");
    SYSTEMTIME late{2026, 12, 1, 28, 22, 58, 0, 0};
    FILETIME local{}, utc{};
    SystemTimeToFileTime(&late, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    // The margins a list view keeps on both sides of a cell's text.
    constexpr int kMargins = 12;
    for (const Format &f : formats) {
        UserFormats::Set(f.date, f.time);
        SYSTEMTIME shown{};
        FileTimeToSystemTime(&local, &shown);
        wchar_t date[80] = {}, time[80] = {};
        GetDateFormatW(LOCALE_USER_DEFAULT, 0, &shown, nullptr, date, 80);
        GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &shown, nullptr, time, 80);
        const std::wstring modified = std::wstring(date) + L"  " + time;
        TFileList view;
        view.Create(form.Handle(), 11);
        view.SetBounds(0, 0, 580, 360);
        view.SetFont(form.FormFont());
        view.SetDirectory(dir.Path());
        auto rows = testdriver::ReadRows(view.Handle());
        ASSERT_EQ(rows.size(), 2u) << f.date;
        EXPECT_EQ(rows[1].subItems[2], modified);
        EXPECT_GE(testdriver::ColumnWidth(view.Handle(), 1), TextWidth(form.FormFont(), L"999999999999") + kMargins);
        EXPECT_GE(testdriver::ColumnWidth(view.Handle(), 3), TextWidth(form.FormFont(), modified) + kMargins) << modified;
        // The table's widths stay the least.
        EXPECT_GE(testdriver::ColumnWidth(view.Handle(), 0), 120);
        EXPECT_GE(testdriver::ColumnWidth(view.Handle(), 2), 100);
    }
}

TEST_F(FileListTest, ListsFoldersFirstWithParentRowAndLowerCaseFiles) {
    dir.File(L"README.TXT", "hello");
    dir.File(L"b.bin", "12");
    dir.Folder(L"Program Files");
    list.SetDirectory(dir.Path());
    EXPECT_EQ(Shown(), (Names{L"..", L"Program Files", L"b.bin", L"readme.txt"}));
    auto rows = testdriver::ReadRows(list.Handle());
    EXPECT_EQ(rows[3].subItems[0], L"         5");
    EXPECT_EQ(rows[0].subItems[0], L"");
    EXPECT_TRUE(list.IsFolder(0));
    EXPECT_TRUE(list.IsFolder(1));
    EXPECT_FALSE(list.IsFolder(2));
    EXPECT_FALSE(list.IsFolder(-1));
    EXPECT_FALSE(list.IsFolder(99));
    EXPECT_EQ(list.Directory(), dir.Path());
}

TEST_F(FileListTest, ZeroLengthFileIsNotAFolder) {
    dir.File(L"empty.dat");
    list.SetDirectory(dir.Path());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.IsFolder(1));
}

TEST_F(FileListTest, FiltersByAttributesAndDisplayDirectory) {
    dir.File(L"arch.txt", "", FILE_ATTRIBUTE_ARCHIVE);
    std::wstring plain = dir.File(L"plain.txt", "", FILE_ATTRIBUTE_NORMAL);
    dir.Folder(L"hiddenfolder", FILE_ATTRIBUTE_HIDDEN);
    dir.Folder(L"shown");
    // Some file systems (Wine's among them) give every file the archive attribute.
    bool plainHasNoAttributes = !(GetFileAttributesW(plain.c_str()) & FILE_ATTRIBUTE_ARCHIVE);
    Names bare = plainHasNoAttributes ? Names{L"..", L"shown", L"plain.txt"} : Names{L"..", L"shown"};
    struct Case {
        const char *what;
        TFileTypes types;
        bool displayDirectory;
        Names expected;
    };
    const Case cases[] = {
        {"all", kAllFileTypes, true, {L"..", L"hiddenfolder", L"shown", L"arch.txt", L"plain.txt"}},
        {"empty types keep entries without attributes", 0, true, bare},
        {"hidden folder needs ftHidden", FileTypeBit(ftArchive) | FileTypeBit(ftHidden), true,
         {L"..", L"hiddenfolder", L"shown", L"arch.txt", L"plain.txt"}},
        {"no folders", kAllFileTypes, false, {L"arch.txt", L"plain.txt"}},
    };
    list.SetDirectory(dir.Path());
    for (const Case &c : cases) {
        list.SetFileTypes(c.types);
        list.SetDisplayDirectory(c.displayDirectory);
        list.SetDirectory(dir.Path());
        EXPECT_EQ(Shown(), c.expected) << c.what;
    }
}

TEST_F(FileListTest, MaskFiltersFilesButNeverFolders) {
    dir.File(L"a.txt");
    dir.File(L"b.doc");
    dir.File(L"makefile");
    dir.Folder(L"sub.d");
    list.SetDirectory(dir.Path());
    list.SetMask(L"*.txt");
    EXPECT_EQ(Shown(), (Names{L"..", L"sub.d", L"a.txt"}));
    list.SetMask(L"*.*");
    EXPECT_EQ(Shown(), (Names{L"..", L"sub.d", L"a.txt", L"b.doc", L"makefile"}));
    list.SetMask(L"*.EXE;*.bat");
    EXPECT_EQ(list.Mask(), L"*.bat;*.exe");
    list.SetMask(L"");
    EXPECT_EQ(list.Mask(), L"*");
    EXPECT_EQ(Shown(), (Names{L"..", L"sub.d", L"a.txt", L"b.doc", L"makefile"}));
    list.SetMask(L"*.txt");
    list.AddMask(L"*.doc");
    EXPECT_EQ(list.Mask(), L"*.doc;*.txt");
    EXPECT_EQ(Shown(), (Names{L"..", L"sub.d", L"a.txt"})) << "AddMask does not re-read";
}

TEST_F(FileListTest, OneDirectoryKeepsItsSemicolonAndTheListFormSplits) {
    dir.File(L"data\\victim.txt");
    dir.File(L"data;old\\inside.txt");
    dir.File(L"old\\other.txt");
    struct Case {
        const char *what;
        bool list;
        std::wstring value;
        std::wstring directory;
        Names rows;
    };
    const Case cases[] = {
        {"one folder named data;old", false, dir / L"data;old", dir / L"data;old\\", {L"..", L"inside.txt"}},
        {"with its backslash", false, dir / L"data;old\\", dir / L"data;old\\", {L"..", L"inside.txt"}},
        {"a written list: two folders", true, dir / L"old;" + dir / L"data", dir / L"data\\;" + dir / L"old\\",
         {L"..", L"..", L"other.txt", L"victim.txt"}},
    };
    for (const Case &c : cases) {
        if (c.list) list.SetDirectory(c.value);
        else list.SetOneDirectory(c.value);
        EXPECT_EQ(list.Directory(), c.directory) << c.what;
        EXPECT_EQ(Shown(), c.rows) << c.what;
    }
}

TEST_F(FileListTest, AnUnreadableDirectoryShowsOnlyTheWayOutAndKnowsWhy) {
    // A vanished folder keeps its ".." to leave by; a missing drive's root has none to give.
    list.SetDirectory(dir / L"vanished");
    EXPECT_EQ(Shown(), Names{L".."});
    EXPECT_TRUE(list.IsParent(0));
    EXPECT_NE(list.ReadFailure(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(list.Directory(), dir / L"vanished\\");
    list.SetDirectory(L"q:\\");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_NE(list.ReadFailure(), static_cast<DWORD>(ERROR_SUCCESS));
    // An empty folder is no failure.
    dir.Folder(L"empty");
    list.SetDirectory(dir / L"empty");
    EXPECT_EQ(Shown(), Names{L".."});
    EXPECT_EQ(list.ReadFailure(), static_cast<DWORD>(ERROR_SUCCESS));
    list.SetDirectory(L"");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Directory(), L"");
}

TEST_F(FileListTest, DriveRootHasNoParentRow) {
    list.SetDirectory(L"c:\\");
    ASSERT_GT(list.Count(), 0);
    EXPECT_NE(list.Caption(0), L"..");
}

TEST_F(FileListTest, ListingDropsMarksAndSelection) {
    dir.File(L"a.txt");
    dir.File(L"b.txt");
    list.SetDirectory(dir.Path());
    list.SetMarked(1, true);
    list.SetSelected(2);
    auto rows = testdriver::ReadRows(list.Handle());
    EXPECT_TRUE(rows[1].marked);
    EXPECT_TRUE(rows[2].selected);
    list.SetDirectory(list.Directory());
    rows = testdriver::ReadRows(list.Handle());
    EXPECT_TRUE(std::none_of(rows.begin(), rows.end(), [](auto &r) { return r.marked || r.selected; }));
}

TEST_F(FileListTest, SortColumnWrites) {
    dir.File(L"big.txt", std::string(500, 'x'));
    dir.File(L"small.txt", "x");
    dir.File(L"mid.txt", std::string(50, 'x'));
    list.SetDirectory(dir.Path());
    EXPECT_EQ(Shown(), (Names{L"..", L"big.txt", L"mid.txt", L"small.txt"}));
    list.SetSortColumn(fiSize);
    EXPECT_EQ(Shown(), (Names{L"..", L"small.txt", L"mid.txt", L"big.txt"}));
    list.SetSortColumn(fiSize);
    EXPECT_TRUE(TFileList::Reversed());
    EXPECT_EQ(Shown(), (Names{L"..", L"big.txt", L"mid.txt", L"small.txt"}));
    list.SetSortColumn(fiSize);
    EXPECT_EQ(Shown(), (Names{L"..", L"small.txt", L"mid.txt", L"big.txt"})) << "twice the same member restores";
    list.SetSortColumn(fiAll);
    list.SetSortColumn(fiAttributes); // not shown
    EXPECT_EQ(list.SortColumn(), fiSize);
    EXPECT_EQ(Shown(), (Names{L"..", L"small.txt", L"mid.txt", L"big.txt"}));
    TFileList::SetReversed(false);
}

TEST_F(FileListTest, SortingKeepsTheCursorOnItsRow) {
    dir.File(L"a.txt", std::string(500, 'x'));
    dir.File(L"b.txt", "x");
    list.SetDirectory(dir.Path());
    list.SetSelected(1); // a.txt
    list.SetSortColumn(fiSize);
    EXPECT_EQ(list.Caption(list.Selected()), L"a.txt");
}

TEST_F(FileListTest, ColumnsFollowViewColumns) {
    HWND lv = list.Handle();
    EXPECT_EQ(testdriver::ColumnCount(lv), 4);
    EXPECT_EQ(testdriver::ColumnCaption(lv, 3), L"Modified");
    list.SetViewColumns(FileInfoBit(fiAttributes) | FileInfoBit(fiPath));
    ASSERT_EQ(testdriver::ColumnCount(lv), 4);
    EXPECT_EQ(testdriver::ColumnWidth(lv, 0), 0);
    EXPECT_EQ(testdriver::ColumnWidth(lv, 1), 0);
    EXPECT_EQ(testdriver::ColumnCaption(lv, 2), L"Attributes");
    EXPECT_EQ(testdriver::ColumnCaption(lv, 3), L"Path");
    std::wstring readOnly = dir.File(L"r.txt", "", FILE_ATTRIBUTE_READONLY);
    list.SetDirectory(dir.Path());
    auto rows = testdriver::ReadRows(lv);
    ASSERT_EQ(rows.size(), 2u);
    // Some file systems (Wine's among them) give every file the archive attribute as well.
    bool archive = (GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_ARCHIVE) != 0;
    EXPECT_EQ(rows[1].subItems[1], archive ? L"AR" : L"R");
    EXPECT_EQ(rows[1].subItems[2], dir.Path());
}

// Column texts are made when the list view asks; the DOS columns keep the name's capitals.
TEST_F(FileListTest, DosColumnsShowTheNameAsTheFileSystemGivesIt) {
    dir.File(L"README.TXT", "hello");
    list.SetViewColumns(FileInfoBit(fiName) | FileInfoBit(fiSize) | FileInfoBit(fiDosName) | FileInfoBit(fiDosExt));
    list.SetDirectory(dir.Path());
    auto rows = testdriver::ReadRows(list.Handle());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].caption, L"readme.txt");
    EXPECT_EQ(rows[1].subItems, (Names{L"         5", L"README.TXT", L".TXT"}));
}

TEST_F(FileListTest, ClickOnHeaderSortsByThatColumn) {
    dir.File(L"a.zzz", "x");
    dir.File(L"b.aaa", "x");
    list.SetViewColumns(FileInfoBit(fiName) | FileInfoBit(fiSize) | FileInfoBit(fiDosExt));
    list.SetDirectory(dir.Path());
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list.Handle();
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 2;
    SendMessageW(form.Handle(), WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(list.SortColumn(), fiDosExt);
    EXPECT_EQ(Shown(), (Names{L"..", L"b.aaa", L"a.zzz"}));
}

TEST_F(FileListTest, SecondRequestDuringAListingWins) {
    for (int i = 0; i < 3000; ++i) dir.File(L"many\\f" + std::to_wstring(i) + L".txt");
    dir.File(L"few\\only.txt");
    bool asked = false;
    // A command handled while the big folder is being listed points the list elsewhere.
    UINT_PTR timer = SetTimer(form.Handle(), 77, 1, nullptr);
    list.OnFileAdd = [&](TFileList &, int, const std::wstring &, const WIN32_FIND_DATAW &) {
        if (!asked && list.Count() > 100) {
            asked = true;
            list.SetDirectory(dir / L"few");
        }
    };
    list.SetDirectory(dir / L"many");
    KillTimer(form.Handle(), timer);
    EXPECT_TRUE(asked);
    EXPECT_EQ(list.Directory(), dir / L"few\\");
    EXPECT_EQ(Shown(), (Names{L"..", L"only.txt"}));
}

// Several settings changed in a row read the folder once, with all of them in force.
TEST_F(FileListTest, PropertiesSetInsideAnUpdateReadOnce) {
    dir.File(L"a.txt");
    dir.File(L"b.exe");
    dir.Folder(L"sub");
    struct Case {
        const char *what;
        std::function<void(TFileList &)> change;
        int listings;
        Names expected;
    };
    const Case cases[] = {
        {"directory, mask, types and columns",
         [&](TFileList &l) {
             l.SetDirectory(dir.Path());
             l.SetMask(L"*.exe");
             l.SetFileTypes(static_cast<TFileTypes>(FileTypeBit(ftArchive) | FileTypeBit(ftReadonly)));
             l.SetViewColumns(static_cast<TFileInfos>(kDefaultViewColumns | FileInfoBit(fiAttributes)));
             l.SetDirectory(dir.Path());
         },
         1, {L"..", L"sub", L"b.exe"}},
        {"directory and no folders", [&](TFileList &l) {
             l.SetDirectory(dir.Path());
             l.SetDisplayDirectory(false);
         },
         1, {L"a.txt", L"b.exe"}},
        {"nested scopes read at the outermost end",
         [&](TFileList &l) {
             TListingScope inner(l);
             l.SetDirectory(dir.Path());
             l.SetMask(L"a*");
         },
         1, {L"..", L"sub", L"a.txt"}},
        {"style, sort order and an added mask read nothing",
         [&](TFileList &l) {
             l.SetViewStyle(vsList);
             l.SetSortColumn(fiSize);
             l.AddMask(L"*.exe");
         },
         0, {}},
    };
    for (const Case &c : cases) {
        TFileList fresh;
        fresh.Create(form.Handle(), 11);
        fresh.SetFileTypes(kAllFileTypes);
        int before = fresh.Listings();
        {
            TListingScope scope(fresh);
            c.change(fresh);
            EXPECT_EQ(fresh.Listings(), before) << c.what << ": read inside the update";
        }
        EXPECT_EQ(fresh.Listings() - before, c.listings) << c.what;
        EXPECT_EQ(testdriver::Captions(fresh.Handle()), c.expected) << c.what;
    }
}

} // namespace

// The keys and clicks that move the cursor leave exactly one row selected, the one with the focus; a key
// that cannot move it (Up on the first row, Down on the last) keeps it where it was.
TEST_F(FileListTest, CursorKeysAndClicksKeepOneSelectedRow) {
    for (int i = 0; i < 12; ++i) dir.File(L"f" + std::to_wstring(10 + i) + L".txt");
    list.SetDirectory(dir.Path()); // ".." and 12 files
    ShowWindow(form.Handle(), SW_SHOW);
    struct Move {
        int from;
        std::function<void()> act;
        int to;
        const char *what;
    } moves[] = {
        {1, [] { testdriver::PressKey(VK_DOWN); }, 2, "Down"},
        {5, [] { testdriver::PressKey(VK_UP); }, 4, "Up"},
        {0, [] { testdriver::PressKey(VK_UP); }, 0, "Up on the first row"},
        {12, [] { testdriver::PressKey(VK_DOWN); }, 12, "Down on the last row"},
        {3, [] { testdriver::PressKey(VK_END); }, 12, "End"},
        {7, [] { testdriver::PressKey(VK_HOME); }, 0, "Home"},
        {7, [] { testdriver::PressKey(VK_DOWN, ui::ssShift); }, 8, "Shift+Down"},
        {2, [&] { testdriver::ClickRow(list.Handle(), 6); }, 6, "a click on a row"},
    };
    for (const Move &m : moves) {
        list.SetSelected(m.from);
        list.SetFocus();
        m.act();
        testdriver::Pump();
        auto rows = testdriver::ReadRows(list.Handle());
        std::vector<int> selected;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].selected) selected.push_back(static_cast<int>(i));
        EXPECT_EQ(selected, std::vector<int>{m.to}) << m.what;
        EXPECT_EQ(ListView_GetNextItem(list.Handle(), -1, LVNI_FOCUSED), m.to) << m.what;
    }
}

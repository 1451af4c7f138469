#include "filelist/ReadAhead.h"
#include "filelist/ShellInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "filelist/FileList.h"
#include "ui/Form.h"

using namespace filelist;
using testdriver::TempDir;

namespace {

using Names = std::vector<std::wstring>;

Names AllTaken(TDirectoryReadAhead &ahead) {
    std::vector<TFoundEntry> found;
    TDirectoryReadAhead::TState state;
    do state = ahead.Take(found, 1000);
    while (state == TDirectoryReadAhead::TState::more);
    EXPECT_EQ(state, TDirectoryReadAhead::TState::done);
    Names names;
    for (const TFoundEntry &e : found) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DirectoryReadAheadTest, HandsOverEveryEntryWithItsDetails) {
    TempDir dir;
    // More entries than one batch, and names that must arrive exactly as they are.
    Names expected{L".", L"..", L"data;old", L"Отчёт 2026.txt", L"sub"};
    dir.File(L"data;old", "12345");
    dir.File(L"Отчёт 2026.txt");
    dir.Folder(L"sub");
    for (int i = 0; i < 1200; ++i) {
        std::wstring name = L"f" + std::to_wstring(i) + L".dat";
        dir.File(name);
        expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end());
    TDirectoryReadAhead ahead(dir.Path());
    EXPECT_EQ(AllTaken(ahead), expected);

    TDirectoryReadAhead again(dir.Path());
    std::vector<TFoundEntry> found;
    while (again.Take(found, 1000) == TDirectoryReadAhead::TState::more) {
    }
    auto file = std::find_if(found.begin(), found.end(), [](const TFoundEntry &e) { return e.name == L"data;old"; });
    ASSERT_NE(file, found.end());
    EXPECT_EQ(file->sizeLow, 5u);
    EXPECT_FALSE(file->attributes & FILE_ATTRIBUTE_DIRECTORY);
    auto folder = std::find_if(found.begin(), found.end(), [](const TFoundEntry &e) { return e.name == L"sub"; });
    ASSERT_NE(folder, found.end());
    EXPECT_TRUE(folder->attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(DirectoryReadAheadTest, MissingFolderEndsWithNothing) {
    TempDir dir;
    TDirectoryReadAhead ahead(dir.Path() + L"gone\\");
    EXPECT_EQ(AllTaken(ahead), Names{});
}

// Whether a folder read ahead is there in full, and small enough, to be listed before the window shows.
TEST(DirectoryReadAheadTest, ReadInFullOnlyOnceDoneAndWithinTheLimit) {
    TempDir dir;
    for (int i = 0; i < 10; ++i) dir.File(L"f" + std::to_wstring(i) + L".txt");
    // Ten files, "." and "..": twelve entries.
    StartReadAhead(dir.Path());
    for (int wait = 0; wait < 200 && !ReadAheadInFull(dir.Path(), SIZE_MAX); ++wait) Sleep(10);
    struct Case {
        const char *what;
        std::wstring dir;
        size_t most;
        bool inFull;
    };
    const Case cases[] = {
        {"within the limit", dir.Path(), 100, true},
        {"exactly at the limit", dir.Path(), 12, true},
        {"one entry over the limit", dir.Path(), 11, false},
        {"a folder nobody read ahead", dir.Path() + L"sub\\", 100, false},
        {"the name without its final backslash", dir.Path().substr(0, dir.Path().size() - 1), 100, false},
    };
    for (const Case &c : cases) EXPECT_EQ(ReadAheadInFull(c.dir, c.most), c.inFull) << c.what;
    // Claimed, it is no longer waiting to be listed.
    EXPECT_NE(ClaimReadAhead(dir.Path()), nullptr);
    EXPECT_FALSE(ReadAheadInFull(dir.Path(), 100));
    DropReadAheads();
}

// A read-ahead tells whether it holds folders only, and the first file it finds tells the shell to load its
// pictures: a folder of folders needs none of them to be shown.
TEST(DirectoryReadAheadTest, FirstFileFoundAsksForTheShellsPictures) {
    struct Case {
        const char *what;
        std::vector<std::wstring> folders, files;
        bool foldersOnly;
    };
    const Case cases[] = {
        {"an empty folder", {}, {}, true},
        {"folders only", {L"one", L"two; three", L"\u0414\u043e\u043a\u0438"}, {}, true},
        {"a file among folders", {L"one"}, {L"a.txt"}, false},
        {"files only", {}, {L"a.txt", L"b"}, false},
    };
    for (const Case &c : cases) {
        TempDir dir;
        for (const std::wstring &f : c.folders) dir.Folder(f);
        for (const std::wstring &f : c.files) dir.File(f);
        ForgetShellPicturesNeeded();
        StartReadAhead(dir.Path());
        for (int wait = 0; wait < 200 && !ReadAheadInFull(dir.Path(), SIZE_MAX); ++wait) Sleep(10);
        ASSERT_TRUE(ReadAheadInFull(dir.Path(), SIZE_MAX)) << c.what;
        EXPECT_EQ(ReadAheadFoldersOnly(dir.Path()), c.foldersOnly) << c.what;
        EXPECT_EQ(ShellPicturesNeeded(), !c.foldersOnly) << c.what;
        DropReadAheads();
    }
    EXPECT_FALSE(ReadAheadFoldersOnly(L"C:\\nobody read this ahead\\"));
    NeedShellPictures();
}

class ReadAheadListingTest : public testing::Test {
protected:
    void SetUp() override {
        form.CreateForm(L"Read-ahead test", 600, 400, false);
        list.Create(form.Handle(), 10);
        list.SetBounds(0, 0, 580, 360);
    }
    void TearDown() override { DropReadAheads(); }

    ui::TForm form;
    TFileList list;
    TempDir dir;
};

TEST_F(ReadAheadListingTest, ListingTakesTheReadAheadOnceAndShowsWhatADirectReadShows) {
    dir.File(L"b.TXT", "1234");
    dir.File(L"a;b.doc");
    dir.File(L"noext");
    dir.Folder(L"Folder");
    list.SetOneDirectory(dir.Path());
    Names direct = testdriver::Captions(list.Handle());
    auto directRows = testdriver::ReadRows(list.Handle());
    ASSERT_EQ(direct, (Names{L"..", L"Folder", L"a;b.doc", L"b.txt", L"noext"}));

    StartReadAhead(dir.Path());
    int before = list.Listings();
    list.SetOneDirectory(dir.Path());
    EXPECT_EQ(list.Listings(), before + 1);
    EXPECT_EQ(testdriver::Captions(list.Handle()), direct);
    auto rows = testdriver::ReadRows(list.Handle());
    ASSERT_EQ(rows.size(), directRows.size());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].subItems, directRows[i].subItems) << i;

    // Taken once: the next listing reads the folder as it is now.
    dir.File(L"c.txt");
    list.SetOneDirectory(dir.Path());
    EXPECT_EQ(testdriver::Captions(list.Handle()), (Names{L"..", L"Folder", L"a;b.doc", L"b.txt", L"c.txt", L"noext"}));
}

TEST_F(ReadAheadListingTest, DroppedOrOtherFolderReadAheadIsNeverShown) {
    TempDir other;
    dir.File(L"old.txt");
    other.File(L"x.txt");
    // Left to finish, so that what it holds is the old state of both folders.
    StartReadAhead(dir.Path());
    StartReadAhead(other.Path());
    Sleep(200);
    dir.File(L"new.txt");
    other.File(L"y.txt");
    DropReadAheads();
    list.SetOneDirectory(dir.Path());
    EXPECT_EQ(testdriver::Captions(list.Handle()), (Names{L"..", L"new.txt", L"old.txt"}));
    // A read-ahead is taken only by a listing of its own folder.
    StartReadAhead(other.Path());
    list.SetOneDirectory(dir.Path());
    EXPECT_EQ(testdriver::Captions(list.Handle()), (Names{L"..", L"new.txt", L"old.txt"}));
}

} // namespace

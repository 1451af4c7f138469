#include "filelist/DirectoryListing.h"

#include <gtest/gtest.h>

#include "driver/TempDir.h"

using namespace filelist;
using testdriver::TempDir;

namespace {

using Names = std::vector<std::wstring>;

// The process-wide reverse flag as it was before the test.
class KeepReversed {
public:
    ~KeepReversed() { TDirectoryListing::SetReversed(was_); }

private:
    bool was_ = TDirectoryListing::Reversed();
};

// A listing with no window: what a folder shows under each filter and order, in the order it shows it.
TEST(DirectoryListingTest, FiltersAndOrdersTheRowsOfAFolder) {
    TempDir dir;
    const std::wstring yolka = L"\u0401\u043b\u043a\u0430.txt"; // a non-ANSI name: its caption keeps its letters
    dir.File(L"README.TXT", "hello");
    dir.File(L"b.bin", "12345");
    dir.File(yolka, "1");
    dir.File(L"report;v2.doc", std::string(300, 'x'));
    dir.File(L"makefile", std::string(20, 'x'));
    dir.File(L"hidden.log", "1234", FILE_ATTRIBUTE_HIDDEN);
    dir.Folder(L"Program Files");
    dir.Folder(L"!bang");
    dir.File(L"sub.d\\inner.c", "x");
    const TFileTypes usual = FileTypeBit(ftArchive) | FileTypeBit(ftReadonly);
    struct Case {
        const char *what;
        TFileTypes types;
        const wchar_t *mask;
        bool folders;
        TFileInfo sortBy;
        bool reversed;
        std::wstring directory;
        Names rows;
    };
    const Case cases[] = {
        {"by name: folders first, '!' before the parent row, file names in lower case", usual, L"*.*", true, fiName,
         false, dir.Path(),
         {L"!bang", L"..", L"Program Files", L"sub.d", L"b.bin", L"makefile", L"readme.txt", L"report;v2.doc", yolka}},
        {"reversed: folders still first, from Z to A", usual, L"*.*", true, fiName, true, dir.Path(),
         {L"sub.d", L"Program Files", L"..", L"!bang", yolka, L"report;v2.doc", L"readme.txt", L"makefile", L"b.bin"}},
        {"by size: equal sizes by name, folders by name", usual, L"*.*", true, fiSize, false, dir.Path(),
         {L"!bang", L"..", L"Program Files", L"sub.d", yolka, L"b.bin", L"readme.txt", L"makefile", L"report;v2.doc"}},
        {"by size reversed", usual, L"*.*", true, fiSize, true, dir.Path(),
         {L"sub.d", L"Program Files", L"..", L"!bang", L"report;v2.doc", L"makefile", L"readme.txt", L"b.bin", yolka}},
        {"masks filter files, never folders, whatever the case", usual, L"*.TXT;*.doc", true, fiName, false,
         dir.Path(),
         {L"!bang", L"..", L"Program Files", L"sub.d", L"readme.txt", L"report;v2.doc", yolka}},
        {"no folders: no parent row either", usual, L"*.*", false, fiName, false, dir.Path(),
         {L"b.bin", L"makefile", L"readme.txt", L"report;v2.doc", yolka}},
        {"a hidden file needs its type", static_cast<TFileTypes>(usual | FileTypeBit(ftHidden)), L"*.*", false,
         fiName, false, dir.Path(),
         {L"b.bin", L"hidden.log", L"makefile", L"readme.txt", L"report;v2.doc", yolka}},
        {"two folders: the rows of both, sorted together", usual, L"*.*", true, fiName, false,
         dir / L"sub.d;" + dir / L"Program Files", {L"..", L"..", L"inner.c"}},
        {"a vanished folder: only the way out", usual, L"*.*", true, fiName, false, dir / L"gone", {L".."}},
    };
    KeepReversed keep;
    for (const Case &c : cases) {
        TDirectoryListing listing;
        listing.BeginUpdate();
        listing.SetFileTypes(c.types);
        listing.SetMask(c.mask);
        listing.SetDisplayDirectory(c.folders);
        if (c.sortBy != listing.SortColumn()) listing.SetSortColumn(c.sortBy);
        TDirectoryListing::SetReversed(c.reversed);
        listing.SetDirectory(c.directory);
        EXPECT_EQ(listing.Listings(), 0) << c.what << ": read before the update ended";
        listing.EndUpdate();
        Names rows;
        for (int i = 0; i < listing.Count(); ++i) rows.push_back(CaptionOf(listing.Row(i)));
        EXPECT_EQ(rows, c.rows) << c.what;
    }
}

} // namespace

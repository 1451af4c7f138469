#include "search/myff.h"
#include "search/FinderMask.h"
#include "search/Handles.h"

#include "TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

namespace {

using Names = std::set<std::wstring>;

// Runs the finder and returns what it reported, as paths relative to the tree's root.
Names Found(TMyFF &ff, const TempTree &tree, bool *result = nullptr) {
    Names names;
    ff.OnAddFile = [&](const std::wstring &path, const WIN32_FIND_DATAW &data, bool &) {
        names.insert(path.substr(tree.Root().size()) + data.cFileName);
    };
    const bool ok = ff.Execute(tree.Root());
    if (result)
        *result = ok;
    return names;
}

FILETIME FileTimeOf(int year, int month, int day) {
    SYSTEMTIME st{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day), 12, 0, 0, 0};
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

struct MaskCase {
    const wchar_t *mask;
    Names matched;
};

} // namespace

TEST(FinderMask, MasksSelectNamesOnARealTree) {
    const Names all = {L"a",         L"a.txt", L"a.txt.txt", L"abc.doc", L"ab.txt",
                       L"Mytxt.DOC", L"x.pas", L"Y.DFM",     L"readme",  L"b.c"};
    const MaskCase cases[] = {
        {L"", all},
        {L"txt", {L"a.txt", L"a.txt.txt", L"ab.txt", L"Mytxt.DOC"}},
        {L"a*", {L"a", L"a.txt", L"a.txt.txt", L"abc.doc", L"ab.txt"}},
        {L"*.*", {L"a.txt", L"a.txt.txt", L"abc.doc", L"ab.txt", L"Mytxt.DOC", L"x.pas", L"Y.DFM", L"b.c"}},
        {L"*.txt", {L"a.txt", L"ab.txt"}},
        {L"a*?", {L"a", L"a.txt", L"a.txt.txt", L"abc.doc", L"ab.txt"}},
        {L"*.pas;*.dfm", {L"x.pas", L"Y.DFM"}},
        {L" *.PAS , *.Dfm", {L"x.pas", L"Y.DFM"}},
        {L"*.txt;;", all},
        {L"*.txt; \t", all},
        {L"a?.txt", {L"ab.txt"}},
        {L"?.txt", {L"a.txt"}},
        {L"A.TXT", {L"a.txt"}},
        {L"*.doc", {L"abc.doc", L"Mytxt.DOC"}},
        {L"read", {L"readme"}},
    };
    TempTree tree;
    for (const std::wstring &name : all)
        tree.File(name, "x");
    TMyFF ff;
    for (const MaskCase &c : cases) {
        ff.SetFileMask(c.mask);
        EXPECT_EQ(Found(ff, tree), c.matched) << "mask \"" << std::string(c.mask, c.mask + wcslen(c.mask)) << '"';
    }
}

TEST(FinderMask, ListIsCompletedLowerCasedSortedAndWithoutDuplicates) {
    struct ListCase {
        const wchar_t *text;
        std::vector<std::wstring> entries;
    } cases[] = {
        {L"", {L"*"}},
        {L"*.pas;*.dfm;*.PAS", {L"*.dfm", L"*.pas"}},
        {L"*.dfm,*.pas", {L"*.dfm", L"*.pas"}},
        {L"a;*b;c.d", {L"*a*", L"*b*", L"c.d"}},
        {L"txt", {L"*txt*"}},
        {L"a*", {L"a*"}},
        {L"a?", {L"*a?*"}},
        {L"a*b", {L"a*b*"}},
        {L" Readme ;", {L"*readme*"}},
        {L"x;;", {L"**", L"*x*"}},
    };
    for (const ListCase &c : cases) {
        TFinderMask mask;
        mask.Assign(c.text);
        EXPECT_EQ(mask.Entries(), c.entries) << std::string(c.text, c.text + wcslen(c.text));
    }
}

struct FilterCase {
    const char *what;
    std::function<void(TMyFF &)> setUp;
    Names found;
};

TEST(MyFF, FiltersBySizeDateAttributesTextAndDepth) {
    TempTree tree;
    tree.File(L"a.txt", "Hello World");
    tree.File(L"big.dat", std::string(5000, 'z'));
    tree.File(L"empty.bin");
    tree.File(L"sub\\c.txt", "hello WORLD");
    tree.File(L"sub\\deep\\d.pas", "program d;");
    TempTree::SetWriteTime(tree.File(L"old.txt", "world"), FileTimeOf(1975, 5, 1));
    TempTree::SetWriteTime(tree.File(L"y2k.txt", "x"), FileTimeOf(2000, 6, 1));
    SetFileAttributesW(tree.File(L"ro.txt", "x").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(tree.File(L"hid.txt", "x").c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Sparse files past 2 GiB: 2 and 3 GiB have a low 32-bit half that is negative as a signed number, and
    // 5 GiB one of 1 GiB.
    for (const auto &[name, gib] : {std::pair{L"g2.dat", 2LL}, {L"g3.dat", 3LL}, {L"g5.dat", 5LL}}) {
        UniqueFileHandle huge(NullIfInvalid(
            CreateFileW(tree.File(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        LARGE_INTEGER at;
        at.QuadPart = gib << 30;
        ASSERT_TRUE(huge && SetFilePointerEx(huge.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(huge.get()));
    }
    const Names all = {L"a.txt",  L"big.dat", L"empty.bin", L"sub\\c.txt", L"sub\\deep\\d.pas", L"old.txt",
                       L"y2k.txt", L"ro.txt",  L"hid.txt",   L"g2.dat",     L"g3.dat",             L"g5.dat"};
    auto allBut = [&](std::initializer_list<const wchar_t *> left) {
        Names n = all;
        for (const wchar_t *name : left) n.erase(name);
        return n;
    };
    // The text cases leave the big files out: reading gigabytes of zeros proves nothing here.
    auto smallOnly = [](TMyFF &ff) { ff.SetMaxSize(1 << 20); };

    const FilterCase cases[] = {
        {"no bound set: every size and every date", [](TMyFF &) {}, all},
        {"a date before 1980 is clamped to 1980", [](TMyFF &ff) { ff.SetDateFrom(EncodeDateTime(1970, 1, 1)); },
         allBut({L"old.txt"})},
        {"upper date bound only", [](TMyFF &ff) { ff.SetDateTo(EncodeDateTime(2001, 1, 1)); },
         {L"old.txt", L"y2k.txt"}},
        {"swapped date bounds",
         [](TMyFF &ff) {
             ff.SetDateFrom(EncodeDateTime(2001, 1, 1));
             ff.SetDateTo(EncodeDateTime(1990, 1, 1));
         },
         {L"y2k.txt"}},
        {"size range",
         [](TMyFF &ff) {
             ff.SetMinSize(100);
             ff.SetMaxSize(10000);
         },
         {L"big.dat"}},
        {"swapped size bounds",
         [](TMyFF &ff) {
             ff.SetMinSize(10000);
             ff.SetMaxSize(100);
         },
         {L"big.dat"}},
        {"empty files only", [](TMyFF &ff) { ff.SetMaxSize(0); }, {L"empty.bin"}},
        {"from 2 GiB to 4 GiB",
         [](TMyFF &ff) {
             ff.SetMinSize(2LL << 30);
             ff.SetMaxSize(4LL << 30);
         },
         {L"g2.dat", L"g3.dat"}},
        {"past 4 GiB", [](TMyFF &ff) { ff.SetMinSize((4LL << 30) + 1); }, {L"g5.dat"}},
        {"a negative lower bound is none", [](TMyFF &ff) { ff.SetMinSize(-1); }, all},
        {"read-only excluded", [](TMyFF &ff) { ff.SetAttributes(63 & ~FILE_ATTRIBUTE_READONLY); }, allBut({L"ro.txt"})},
        {"hidden excluded", [](TMyFF &ff) { ff.SetAttributes(63 & ~FILE_ATTRIBUTE_HIDDEN); }, allBut({L"hid.txt"})},
        {"the dialog's attributes", [](TMyFF &ff) { ff.SetAttributes(39); }, all},
        {"text, case ignored",
         [&](TMyFF &ff) {
             smallOnly(ff);
             ff.SetFindString(L"WoRlD");
         },
         {L"a.txt", L"sub\\c.txt", L"old.txt"}},
        {"text and mask",
         [&](TMyFF &ff) {
             smallOnly(ff);
             ff.SetFindString(L"world");
             ff.SetFileMask(L"c");
         },
         {L"sub\\c.txt"}},
        {"no recursion", [](TMyFF &ff) { ff.SetRecurseDirs(false); }, allBut({L"sub\\c.txt", L"sub\\deep\\d.pas"})},
        {"a character the code page lacks is in no file", [](TMyFF &ff) { ff.SetFindString(L"W\u0436rld"); }, {}},
    };
    for (const FilterCase &c : cases) {
        TMyFF ff;
        c.setUp(ff);
        bool ok = false;
        EXPECT_EQ(Found(ff, tree, &ok), c.found) << c.what;
        EXPECT_TRUE(ok) << c.what;
    }
}

TEST(MyFF, DatesAreClampedAndKeptInTwoSecondSteps) {
    struct DateCase {
        TDateTime set, read;
    } cases[] = {
        {EncodeDateTime(1970, 1, 1), 29221},
        {EncodeDateTime(2150, 1, 1), 73050},
        // 2010-07-15 13:45:31 is kept as 13:45:30: day 40374 and 49530 seconds of 86400.
        {EncodeDateTime(2010, 7, 15, 13, 45, 31), 40374 + 49530.0 / 86400},
        {EncodeDateTime(2099, 12, 31), 73050},
    };
    TMyFF ff;
    EXPECT_DOUBLE_EQ(ff.DateFrom(), 29221);
    EXPECT_DOUBLE_EQ(ff.DateTo(), 73050);
    for (const DateCase &c : cases) {
        ff.SetDateFrom(c.set);
        EXPECT_NEAR(ff.DateFrom(), c.read, 1e-9) << c.set;
    }
}

TEST(MyFF, StartFolder) {
    TempTree tree;
    tree.File(L"a.txt", "x");
    TMyFF ff;
    int events = 0;
    ff.OnChDir = [&](const std::wstring &, bool &) { ++events; };
    EXPECT_FALSE(ff.Execute(tree.Root() + L"nowhere\\"));
    EXPECT_FALSE(ff.Execute(tree.Root() + L"a.txt"));
    EXPECT_FALSE(ff.Execute(L""));
    EXPECT_EQ(events, 0);

    std::vector<std::wstring> entered;
    ff.OnChDir = [&](const std::wstring &name, bool &) { entered.push_back(name); };
    const std::wstring noSlash = tree.Root().substr(0, tree.Root().size() - 1);
    EXPECT_TRUE(ff.Execute(noSlash));
    EXPECT_EQ(entered, std::vector<std::wstring>{tree.Root()});
}

TEST(MyFF, WalksADriveRootGivenWithItsBackslash) {
    // The temp folder's own drive: a file of a unique name placed at its root for the time of the test.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp, 3);
    const std::wstring name = L"zelvor-root-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    struct RootFile {
        std::wstring path;
        bool made;
        ~RootFile() { DeleteFileW(path.c_str()); }
    } file{root + name, false};
    {
        UniqueFileHandle h(NullIfInvalid(
            CreateFileW(file.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
        file.made = static_cast<bool>(h);
    }
    if (!file.made)
        GTEST_SKIP() << "no right to write at the drive's root";
    TMyFF ff;
    ff.SetRecurseDirs(false);
    ff.SetFileMask(name);
    std::vector<std::wstring> entered, files;
    ff.OnChDir = [&](const std::wstring &dir, bool &) { entered.push_back(dir); };
    ff.OnAddFile = [&](const std::wstring &path, const WIN32_FIND_DATAW &data, bool &) {
        files.push_back(path + data.cFileName);
    };
    EXPECT_TRUE(ff.Execute(root));
    EXPECT_EQ(entered, std::vector<std::wstring>{root});
    EXPECT_EQ(files, std::vector<std::wstring>{file.path});
}

TEST(MyFF, ReportsDepthFirstEachFolderBeforeItsSubfolders) {
    TempTree tree;
    for (const wchar_t *f : {L"f1", L"f2", L"s1\\f3", L"s1\\t1\\f4", L"s1\\t1\\u\\f5", L"s1\\t2\\f6", L"s2\\f7"})
        tree.File(f, "x");
    TMyFF ff;
    std::vector<std::wstring> entered;
    std::vector<std::pair<std::wstring, size_t>> files; // directory, number of folders entered by then
    ff.OnChDir = [&](const std::wstring &name, bool &) { entered.push_back(name); };
    ff.OnAddFile = [&](const std::wstring &path, const WIN32_FIND_DATAW &, bool &) {
        files.emplace_back(path, entered.size());
    };
    ASSERT_TRUE(ff.Execute(tree.Root()));
    ASSERT_EQ(entered.size(), 6u);
    ASSERT_EQ(files.size(), 7u);
    // Each file is reported while its own folder is the last one entered.
    for (const auto &[path, count] : files)
        EXPECT_EQ(entered[count - 1], path);
    // Once the walk leaves a folder it never comes back below it; a folder comes after its parent.
    for (size_t i = 0; i < entered.size(); ++i) {
        bool left = false;
        for (size_t j = i + 1; j < entered.size(); ++j) {
            const bool below = entered[j].starts_with(entered[i]);
            EXPECT_FALSE(left && below) << "came back below the folder entered as number " << i;
            left = left || !below;
        }
        if (i > 0) {
            const std::wstring parent = entered[i].substr(0, entered[i].rfind(L'\\', entered[i].size() - 2) + 1);
            EXPECT_NE(std::find(entered.begin(), entered.begin() + i, parent), entered.begin() + i);
        }
    }
}

TEST(MyFF, EachEventCanCancel) {
    enum Event { ChDir, ScanFile, AddFile };
    struct CancelCase {
        Event event;
        int onCall;
    } cases[] = {{ChDir, 1}, {ChDir, 2}, {ScanFile, 1}, {ScanFile, 3}, {AddFile, 1}, {AddFile, 2}};
    TempTree tree;
    for (const wchar_t *f : {L"a.txt", L"b.txt", L"s\\c.txt", L"s\\d.txt", L"t\\e.txt"})
        tree.File(f, "key");
    for (const CancelCase &c : cases) {
        TMyFF ff;
        ff.SetFindString(L"key");
        std::vector<Event> log;
        int reported = 0;
        auto handler = [&](Event e) {
            return [&, e](bool &cancel) {
                log.push_back(e);
                if (e == c.event && std::count(log.begin(), log.end(), e) == c.onCall)
                    cancel = true;
            };
        };
        auto chdir = handler(ChDir), scan = handler(ScanFile), add = handler(AddFile);
        ff.OnChDir = [&](const std::wstring &, bool &cancel) { chdir(cancel); };
        ff.OnScanFile = [&](const std::wstring &, bool &cancel) { scan(cancel); };
        ff.OnAddFile = [&](const std::wstring &, const WIN32_FIND_DATAW &, bool &cancel) {
            ++reported;
            add(cancel);
        };
        EXPECT_FALSE(ff.Execute(tree.Root())) << c.event << "/" << c.onCall;
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), c.event) << "an event came after the cancel";
        EXPECT_EQ(std::count(log.begin(), log.end(), c.event), c.onCall);
        if (c.event == ScanFile) {
            EXPECT_EQ(reported, c.onCall - 1) << "the cancelling file is not reported";
        }
    }
}

TEST(MyFF, AFileThatCannotBeOpenedDoesNotQualify) {
    TempTree tree;
    const std::wstring locked = tree.File(L"locked.txt", "needle");
    tree.File(L"open.txt", "needle");
    UniqueFileHandle lock(
        NullIfInvalid(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    ASSERT_TRUE(lock);
    TMyFF ff;
    ff.SetFindString(L"needle");
    EXPECT_EQ(Found(ff, tree), Names{L"open.txt"});
    ff.SetFindString(L"");
    EXPECT_EQ(Found(ff, tree), (Names{L"locked.txt", L"open.txt"}));
}

// A file of more than 4 GiB, its text at the very end: read in bounded blocks, it is still found. Its size's low
// 32 bits are small, so the default size range lets it through.
TEST(MyFF, FindsTextAtTheEndOfAFileLargerThanTheAddressSpace) {
    TempTree tree;
    const std::wstring path = tree.File(L"huge.bin");
    {
        UniqueFileHandle file(
            NullIfInvalid(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        ASSERT_TRUE(file);
        LARGE_INTEGER at;
        at.QuadPart = (4LL << 30) + 100;
        ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "the end", 7, &written, nullptr));
    }
    TMyFF ff;
    ff.SetFindString(L"THE END");
    EXPECT_EQ(Found(ff, tree), Names{L"huge.bin"});
}

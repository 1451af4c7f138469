#include "search/FoundFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

WIN32_FIND_DATAW Found(const wchar_t *name, uint64_t size = 0) {
    WIN32_FIND_DATAW data{};
    wcscpy(data.cFileName, name);
    data.nFileSizeLow = static_cast<DWORD>(size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    return data;
}

std::vector<std::wstring> Shown(const search::TFoundFiles &rows) {
    std::vector<std::wstring> shown;
    for (int i = 0; i < rows.Count(); ++i) shown.push_back(rows.Directory(i) + L"|" + rows.Name(i));
    return shown;
}

} // namespace

TEST(FoundFiles, SizeIsTheWholeSizeRoundedUpToKilobytes) {
    struct Case {
        uint64_t size;
        const wchar_t *shown;
    } cases[] = {
        {0, L"0 KB"},
        {1, L"1 KB"},
        {1024, L"1 KB"},
        {1025, L"2 KB"},
        {2048, L"2 KB"},
        {1048576, L"1024 KB"},
        {4294966273u, L"4194304 KB"}, // would wrap past 2^32 with 1023 added in 32 bits
        {3ULL << 30, L"3145728 KB"},
        {(5ULL << 30) + 1, L"5242881 KB"},
        {5ULL << 30, L"5242880 KB"},
        {UINT64_MAX, L"18014398509481984 KB"},
    };
    for (const Case &c : cases) EXPECT_EQ(search::SizeKBText(c.size), c.shown) << c.size;
}

TEST(FoundFiles, RowsJoinInNameOrderAtEachMergeAndEqualNamesGoByDirectory) {
    search::TFoundFiles rows;
    rows.Add(L"C:\\one\\", Found(L"cherry.txt", 1025));
    rows.Add(L"C:\\one\\", Found(L"Banana.txt", 1));
    EXPECT_EQ(rows.Count(), 0) << "found files show at the next merge";
    EXPECT_TRUE(rows.Merge());
    EXPECT_EQ(Shown(rows), (std::vector<std::wstring>{L"C:\\one\\|Banana.txt", L"C:\\one\\|cherry.txt"}));
    rows.Add(L"C:\\two\\", Found(L"Banana.txt"));
    rows.Add(L"C:\\one\\sub\\", Found(L"apple.txt"));
    rows.Add(L"C:\\two\\", Found(L"date.txt", 5ULL << 30));
    EXPECT_TRUE(rows.Merge());
    EXPECT_FALSE(rows.Merge()) << "nothing new";
    // Letter case does not put capitals first: the locale's order, as a person reads a list.
    EXPECT_EQ(Shown(rows), (std::vector<std::wstring>{L"C:\\one\\sub\\|apple.txt", L"C:\\one\\|Banana.txt",
                                                      L"C:\\two\\|Banana.txt", L"C:\\one\\|cherry.txt",
                                                      L"C:\\two\\|date.txt"}));
    EXPECT_EQ(rows.SizeText(3), L"2 KB");
    EXPECT_EQ(rows.SizeText(1), L"1 KB");
    EXPECT_EQ(rows.SizeText(4), L"5242880 KB") << "both halves of the size";

    struct FindCase {
        const wchar_t *prefix;
        int start, row;
    } finds[] = {{L"ch", 0, 3}, {L"BAN", 2, 2}, {L"ban", 3, 1}, {L"ap", 4, 0}, {L"zz", 0, -1}, {L"", 0, -1}};
    for (const FindCase &f : finds) EXPECT_EQ(rows.FindPrefix(f.prefix, f.start), f.row) << f.start;

    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_FALSE(rows.Merge());

    // Folders found later that sort before and between the earlier ones: their rows of the same name
    // take their places by folder, in a later merge too.
    rows.Add(L"C:\\b\\", Found(L"x.txt"));
    rows.Add(L"C:\\d\\", Found(L"x.txt"));
    EXPECT_TRUE(rows.Merge());
    rows.Add(L"C:\\c\\", Found(L"x.txt"));
    rows.Add(L"C:\\a\\", Found(L"x.txt"));
    EXPECT_TRUE(rows.Merge());
    EXPECT_EQ(Shown(rows), (std::vector<std::wstring>{L"C:\\a\\|x.txt", L"C:\\b\\|x.txt", L"C:\\c\\|x.txt",
                                                      L"C:\\d\\|x.txt"}));
}

// However the files come in batches, sorted between them and shown now and then, the rows end in the
// locale's order of the names, equal names by their folders' order: the order a single sort of them all by
// the locale's comparison gives.
TEST(FoundFiles, BatchesSortedAsTheyComeEndInTheLocalesOrder) {
    const std::vector<std::wstring> names = {L"b.txt", L"B.txt", L"a-b", L"ab", L"Zeta", L"\u0436\u0443\u043A",
                                             L"10.dat", L"9.dat", L"_x", L"x y", L"\u00E9t\u00E9", L"ete"};
    const std::vector<std::wstring> folders = {L"C:\\m\\", L"C:\\a\\", L"C:\\Z\\", L"C:\\b\\x\\"};
    auto compare = [](const std::wstring &x, const std::wstring &y) {
        return CompareStringW(LOCALE_USER_DEFAULT, 0, x.c_str(), -1, y.c_str(), -1) - CSTR_EQUAL;
    };
    struct Case {
        const char *what;
        std::vector<int> batches; // files per batch, sorted after each; a negative count is also shown
    } cases[] = {
        {"one batch", {48}},
        {"a file a batch", std::vector<int>(48, 1)},
        {"growing batches", {1, 2, 4, 8, 16, 17}},
        {"shrinking batches shown between", {20, -10, 9, 5, -2, 1, 1}},
        {"shown after every batch", {-3, -3, -30, -12}},
    };
    for (const Case &c : cases) {
        search::TFoundFiles rows;
        std::vector<std::pair<std::wstring, std::wstring>> added; // folder, name
        size_t next = 0;
        int shown = 0;
        for (int batch : c.batches) {
            for (int i = 0; i < std::abs(batch); ++i, ++next) {
                // Folders in a walk's order: each folder's files together.
                const std::wstring &folder = folders[next / 12 % folders.size()];
                const std::wstring &name = names[(next * 5) % names.size()];
                rows.Add(folder, Found(name.c_str()));
                added.emplace_back(folder, name);
            }
            rows.SortNew();
            EXPECT_EQ(rows.Count(), shown) << c.what << ": sorted files show only at a merge";
            if (batch < 0) {
                rows.Merge();
                shown = static_cast<int>(added.size());
                EXPECT_EQ(rows.Count(), shown) << c.what;
            }
        }
        rows.Merge();
        std::stable_sort(added.begin(), added.end(), [&](const auto &x, const auto &y) {
            int byName = compare(x.second, y.second);
            return byName != 0 ? byName < 0 : compare(x.first, y.first) < 0;
        });
        std::vector<std::wstring> expected;
        for (const auto &[folder, name] : added) expected.push_back(folder + L"|" + name);
        EXPECT_EQ(Shown(rows), expected) << c.what;
    }
}

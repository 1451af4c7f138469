#include "filelist/FileColumns.h"
#include "filelist/FileRows.h"

#include <gtest/gtest.h>

using namespace filelist;

namespace {

// A sample row with the texts its size, type and date columns (1, 2, 3) show.
struct Sample {
    const wchar_t *name;
    bool folder;
    std::wstring texts[3];
};
Sample Folder(const wchar_t *name) { return {name, true, {L"", L"Folder", L"01.01.2020  10:00"}}; }
Sample File(const wchar_t *name, unsigned long long size, const wchar_t *type, const wchar_t *date) {
    return {name, false, {SizeText(size), type, date}};
}

std::vector<std::wstring> Order(const std::vector<Sample> &samples, int column, bool reverse, bool date) {
    std::vector<TFileRow> rows;
    for (const Sample &s : samples) {
        TFileRow row;
        row.name = s.name;
        row.folder = s.folder;
        rows.push_back(row);
    }
    TColumnText text;
    if (column > 0)
        text = [&](const TFileRow &row) {
            for (const Sample &s : samples)
                if (row.name == s.name) return s.texts[column - 1];
            return std::wstring();
        };
    SortRows(rows, text, reverse, date);
    std::vector<std::wstring> names;
    for (const TFileRow &r : rows) names.push_back(r.name);
    return names;
}

std::vector<Sample> Samples() {
    return {File(L"b.txt", 300, L"Text", L"2021-01-01  10:00"),
            Folder(L"Zeta"),
            File(L"a.txt", 20, L"Text", L"2023-05-01  10:00"),
            Folder(L".."),
            File(L"c.bin", 20, L"Binary", L"2022-01-01  10:00"),
            Folder(L"!bang"),
            Folder(L"alpha")};
}

using Names = std::vector<std::wstring>;

struct SortCase {
    const char *what;
    int column;
    bool reverse;
    bool date;
    Names expected;
};

TEST(SortRows, OrdersOfTheSample) {
    const SortCase cases[] = {
        {"by name: folders first, '..' after '!' but before letters", 0, false, false,
         {L"!bang", L"..", L"alpha", L"Zeta", L"a.txt", L"b.txt", L"c.bin"}},
        {"by name reversed: folders still first, Z to A", 0, true, false,
         {L"Zeta", L"alpha", L"..", L"!bang", L"c.bin", L"b.txt", L"a.txt"}},
        {"by size: padded text is numeric order, ties by name", 1, false, false,
         {L"!bang", L"..", L"alpha", L"Zeta", L"a.txt", L"c.bin", L"b.txt"}},
        {"by type: ties by name", 2, false, false,
         {L"!bang", L"..", L"alpha", L"Zeta", L"c.bin", L"a.txt", L"b.txt"}},
        {"by date: newest first", 3, false, true,
         {L"Zeta", L"alpha", L"..", L"!bang", L"a.txt", L"c.bin", L"b.txt"}},
        {"by date reversed: oldest first", 3, true, true,
         {L"!bang", L"..", L"alpha", L"Zeta", L"b.txt", L"c.bin", L"a.txt"}},
    };
    for (const SortCase &c : cases) EXPECT_EQ(Order(Samples(), c.column, c.reverse, c.date), c.expected) << c.what;
}

TEST(SortRows, FolderFirstIsFinalInEveryDirection) {
    TSortKey folder{true, L"T", L"ZZZ"}, file{false, L"A", L"AAA"};
    for (bool byName : {false, true})
        for (bool reverse : {false, true})
            for (bool date : {false, true}) {
                EXPECT_EQ(CompareSortKeys(folder, file, byName, reverse, date), -1);
                EXPECT_EQ(CompareSortKeys(file, folder, byName, reverse, date), 1);
            }
}

// Put in order a few rows at a time (so that the message loop turns between the steps), rows end where the
// order says, whatever the cycles of the order and the size of a step.
TEST(OrderApplier, StepsEndInTheOrder) {
    const struct {
        const char *what;
        std::vector<int> order; // row i of the result is old row order[i]
    } cases[] = {
        {"no rows", {}},
        {"already in order", {0, 1, 2, 3, 4}},
        {"reversed: cycles of two", {5, 4, 3, 2, 1, 0}},
        {"one cycle through all rows", {1, 2, 3, 4, 5, 6, 0}},
        {"cycles of one, two and four", {0, 2, 1, 4, 5, 6, 3}},
    };
    for (const auto &c : cases)
        for (size_t step : {1u, 2u, 3u, 100u}) {
            std::vector<TFileRow> rows(c.order.size());
            std::vector<std::wstring> names;
            for (size_t i = 0; i < rows.size(); ++i) {
                // Longer than a string keeps inside itself: moved, the text changes hands.
                names.push_back(L"a row name long enough " + std::to_wstring(i));
                rows[i].name = names.back();
                rows[i].size = i;
            }
            TOrderApplier applier(rows, c.order);
            int steps = 0;
            while (!applier.Step(step)) ASSERT_LE(++steps, static_cast<int>(rows.size())) << c.what << ": never done";
            std::vector<int> moved = applier.TakeNewPositions();
            ASSERT_EQ(moved.size(), rows.size()) << c.what;
            for (size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].name, names[c.order[i]]) << c.what << ", " << step << " a step, row " << i;
                EXPECT_EQ(rows[i].size, static_cast<unsigned long long>(c.order[i])) << c.what;
                EXPECT_EQ(moved[c.order[i]], static_cast<int>(i)) << c.what;
            }
        }
}

TEST(Columns, NameAndSizeAlwaysPresent) {
    TColumnMap map = BuildColumnMap(FileInfoBit(fiType) | FileInfoBit(fiPath));
    EXPECT_EQ(map.count, 4);
    EXPECT_EQ(map.columnOf[fiName], 0);
    EXPECT_EQ(map.columnOf[fiSize], 1);
    EXPECT_EQ(map.columnOf[fiType], 2);
    EXPECT_EQ(map.columnOf[fiPath], 3);
    EXPECT_EQ(map.columnOf[fiModified], -1);
    TColumnMap all = BuildColumnMap(FileInfoBit(fiAll));
    EXPECT_EQ(all.count, 10);
}

TEST(Columns, Texts) {
    struct AttrCase {
        DWORD attributes;
        const wchar_t *letters;
    };
    const AttrCase attrs[] = {
        {0, L""},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, L"DA"},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, L"RSH"},
        {FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_COMPRESSED, L"T"},
        {0x13F, L"DARSHT"},
    };
    for (const AttrCase &c : attrs) EXPECT_EQ(AttributeLetters(c.attributes), c.letters) << c.attributes;

    EXPECT_EQ(SizeText(0), L"         0");
    EXPECT_EQ(SizeText(1234567890), L"1234567890");
    EXPECT_EQ(SizeText(12345678901ull), L"12345678901");
    EXPECT_EQ(FallbackTypeName(L"archive.Zvx"), L".ZVX File");
    EXPECT_EQ(FallbackTypeName(L"makefile"), L" File");
}

TEST(Columns, FileTypesFilter) {
    struct Case {
        DWORD attributes;
        TFileTypes types;
        bool passes;
    };
    const Case cases[] = {
        {FILE_ATTRIBUTE_ARCHIVE, 0, false},
        {FILE_ATTRIBUTE_NORMAL, 0, true},
        {FILE_ATTRIBUTE_DIRECTORY, 0, true},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, FileTypeBit(ftArchive), false},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, FileTypeBit(ftHidden), true},
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, FileTypeBit(ftAll), true},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, FileTypeBit(ftArchive), false},
        {FILE_ATTRIBUTE_TEMPORARY, FileTypeBit(ftTemporary), true},
    };
    for (const Case &c : cases) EXPECT_EQ(MatchesFileTypes(c.attributes, c.types), c.passes) << c.attributes;
}

} // namespace

#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace filelist {

// One listed entry of a file list: what the directory search gave. The column texts are made from it
// when the list view asks for them, so a row costs its name and a few numbers, not a string per column.
struct TFileRow {
    std::wstring name;    // the name exactly as the directory search returned it; the caption is made from it
    std::wstring dosName; // the short name (or the name), kept only while a DOS column is shown
    unsigned long long size = 0;
    FILETIME modified{}, created{}, lastAccess{};
    DWORD attributes = 0;
    int icon = 0;
    std::uint32_t typeIndex = 0;      // the file's type among the list's types
    std::uint16_t directoryIndex = 0; // which of the listed directories holds it
    bool folder = false;              // folder rows (".." included) have an empty size text
    bool iconPending = false;         // the icon lives in the file: ask the shell when the row is shown
    signed char stateIndex = -1;      // 0: marked (shows the mark image), -1: not marked

    bool IsFolder() const { return folder; }
    bool Marked() const { return stateIndex == 0; }
};

// A row's caption: a file's name with the letters A to Z in lower case, a folder's name as found.
// Only for showing and reading back: paths handed to the system are made from the row's name.
std::wstring CaptionOf(const TFileRow &row);
void LowerAscii(std::wstring &text);

// What a row is sorted by: folder rows first and final; then the upper-case column text (none when
// sorting by name), ties by the upper-case caption; negated by the reverse flag and again for dates.
struct TSortKey {
    bool folder = false;
    std::wstring column;
    std::wstring name;
};
int CompareSortKeys(const TSortKey &key1, const TSortKey &key2, bool byName, bool reverse, bool dateColumn);

// The text of the sorted column of a row; empty function: sort by name.
using TColumnText = std::function<std::wstring(const TFileRow &row)>;

// Sorts rows as CompareSortKeys orders them, stable, with the keys made once per row.
// Returns the new position of each old row.
std::vector<int> SortRows(std::vector<TFileRow> &rows, const TColumnText &columnText, bool reverse, bool dateColumn);
// The same in two steps: the order only reads the rows (so another thread may make it while the rows are
// shown), and putting the rows in that order returns the new position of each old row.
std::vector<int> SortOrder(const std::vector<TFileRow> &rows, const TColumnText &columnText, bool reverse,
                           bool dateColumn);
std::vector<int> ApplyOrder(std::vector<TFileRow> &rows, const std::vector<int> &order);

// ApplyOrder in steps, so that the message loop may turn between them: a million rows take a tenth of a
// second. Between two steps the rows are not in their places, and one of them is held aside: none may be
// read or shown until done.
class TOrderApplier {
public:
    TOrderApplier(std::vector<TFileRow> &rows, const std::vector<int> &order);
    // Moves at most `count` rows; true once every row is in its place.
    bool Step(size_t count);
    // The new position of each old row, once done.
    std::vector<int> TakeNewPositions() { return std::move(newPosition_); }

private:
    std::vector<TFileRow> &rows_;
    const std::vector<int> &order_;
    std::vector<int> newPosition_;
    std::vector<bool> placed_;
    size_t start_ = 0, at_ = 0; // the cycle being followed: where it began, where it has come to
    bool inCycle_ = false;
    TFileRow held_; // the row taken out of the cycle's first place
};

std::wstring UpperCase(const std::wstring &text);

} // namespace filelist

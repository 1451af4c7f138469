#pragma once
#include <string>
#include <vector>

namespace filelist {

// One listed entry of a file list.
struct TFileRow {
    std::wstring caption;
    std::vector<std::wstring> subItems; // size text first (empty for folders), then the optional columns
    int icon = 0;
    bool iconPending = false; // the icon lives in the file: ask the shell when the row is shown
    int stateIndex = -1;      // 0: marked (shows the mark image), -1: not marked

    bool IsFolder() const { return !subItems.empty() && subItems[0].empty(); }
    bool Marked() const { return stateIndex == 0; }
};

// The row order: folder rows first and final; then the upper-case column text (column 0: the caption),
// ties by the upper-case caption; negated by the reverse flag and again for date columns.
int CompareRows(const TFileRow &row1, const TFileRow &row2, int column, bool reverse, bool dateColumn);

// Sorts rows as CompareRows orders them, stable, with the upper-case keys computed once per row.
// Returns the new position of each old row.
std::vector<int> SortRows(std::vector<TFileRow> &rows, int column, bool reverse, bool dateColumn);

std::wstring UpperCase(const std::wstring &text);

} // namespace filelist

#include "filelist/FileRows.h"

#include <windows.h>

#include <algorithm>
#include <numeric>

namespace filelist {

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

const std::wstring &ColumnText(const TFileRow &row, int column) {
    static const std::wstring empty;
    size_t sub = static_cast<size_t>(column - 1);
    return sub < row.subItems.size() ? row.subItems[sub] : empty;
}

int CompareKeys(bool folder1, bool folder2, const std::wstring &key1, const std::wstring &key2,
                const std::wstring &name1, const std::wstring &name2, bool byName, bool reverse, bool dateColumn) {
    if (folder1 && !folder2) return -1;
    if (!folder1 && folder2) return 1;
    int result = byName ? 0 : Sign(key1.compare(key2));
    if (result == 0) result = Sign(name1.compare(name2));
    if (reverse) result = -result;
    if (dateColumn) result = -result;
    return result;
}

} // namespace

std::wstring UpperCase(const std::wstring &text) {
    std::wstring s = text;
    if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

int CompareRows(const TFileRow &row1, const TFileRow &row2, int column, bool reverse, bool dateColumn) {
    bool byName = column <= 0;
    return CompareKeys(row1.IsFolder(), row2.IsFolder(), byName ? std::wstring() : UpperCase(ColumnText(row1, column)),
                       byName ? std::wstring() : UpperCase(ColumnText(row2, column)), UpperCase(row1.caption),
                       UpperCase(row2.caption), byName, reverse, dateColumn);
}

std::vector<int> SortRows(std::vector<TFileRow> &rows, int column, bool reverse, bool dateColumn) {
    const bool byName = column <= 0;
    struct Key {
        bool folder;
        std::wstring name;
        std::wstring column;
    };
    std::vector<Key> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        keys[i].folder = rows[i].IsFolder();
        keys[i].name = UpperCase(rows[i].caption);
        if (!byName) keys[i].column = UpperCase(ColumnText(rows[i], column));
    }
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Key &ka = keys[a], &kb = keys[b];
        return CompareKeys(ka.folder, kb.folder, ka.column, kb.column, ka.name, kb.name, byName, reverse,
                           dateColumn) < 0;
    });
    std::vector<TFileRow> sorted;
    sorted.reserve(rows.size());
    std::vector<int> newPosition(rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newPosition[order[i]] = static_cast<int>(i);
        sorted.push_back(std::move(rows[order[i]]));
    }
    rows = std::move(sorted);
    return newPosition;
}

} // namespace filelist

#include "filelist/FileRows.h"

#include <algorithm>
#include <numeric>

namespace filelist {

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

void LowerAscii(std::wstring &text) {
    for (wchar_t &c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
}

std::wstring CaptionOf(const TFileRow &row) {
    std::wstring caption = row.name;
    if (!row.folder) LowerAscii(caption);
    return caption;
}

std::wstring UpperCase(const std::wstring &text) {
    std::wstring s = text;
    if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

int CompareSortKeys(const TSortKey &key1, const TSortKey &key2, bool byName, bool reverse, bool dateColumn) {
    if (key1.folder && !key2.folder) return -1;
    if (!key1.folder && key2.folder) return 1;
    int result = byName ? 0 : Sign(key1.column.compare(key2.column));
    if (result == 0) result = Sign(key1.name.compare(key2.name));
    if (reverse) result = -result;
    if (dateColumn) result = -result;
    return result;
}

std::vector<int> SortRows(std::vector<TFileRow> &rows, const TColumnText &columnText, bool reverse, bool dateColumn) {
    const bool byName = !columnText;
    std::vector<TSortKey> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        keys[i].folder = rows[i].IsFolder();
        keys[i].name = UpperCase(rows[i].name); // the same as the caption's: they differ only in A to Z
        if (!byName) keys[i].column = UpperCase(columnText(rows[i]));
    }
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareSortKeys(keys[a], keys[b], byName, reverse, dateColumn) < 0;
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

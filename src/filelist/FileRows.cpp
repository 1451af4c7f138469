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

namespace {

// The upper-case form of every UTF-16 unit, as CharUpperBuff gives it for the unit alone: names compare
// through it without an upper-case copy of each name.
const std::vector<wchar_t> &UpperTable() {
    static const std::vector<wchar_t> table = [] {
        std::vector<wchar_t> t(0x10000);
        for (size_t c = 0; c < t.size(); ++c) t[c] = static_cast<wchar_t>(c);
        // Surrogate halves stay themselves, as within a whole name.
        CharUpperBuffW(t.data(), 0xD800);
        CharUpperBuffW(t.data() + 0xE000, 0x10000 - 0xE000);
        return t;
    }();
    return table;
}

int CompareUpper(const std::wstring &a, const std::wstring &b, const wchar_t *upper) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = upper[static_cast<unsigned short>(a[i])], y = upper[static_cast<unsigned short>(b[i])];
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

std::vector<int> SortOrder(const std::vector<TFileRow> &rows, const TColumnText &columnText, bool reverse,
                           bool dateColumn) {
    const bool byName = !columnText;
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    if (byName) {
        // By name the rows need no keys of their own: a large folder is sorted without a copy of its names.
        const wchar_t *upper = UpperTable().data();
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const TFileRow &x = rows[a], &y = rows[b];
            if (x.IsFolder() != y.IsFolder()) return x.IsFolder();
            int result = CompareUpper(x.name, y.name, upper);
            return (reverse ? -result : result) < 0;
        });
        return order;
    }
    std::vector<TSortKey> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        keys[i].folder = rows[i].IsFolder();
        keys[i].name = UpperCase(rows[i].name); // the same as the caption's: they differ only in A to Z
        keys[i].column = UpperCase(columnText(rows[i]));
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareSortKeys(keys[a], keys[b], byName, reverse, dateColumn) < 0;
    });
    return order;
}

std::vector<int> ApplyOrder(std::vector<TFileRow> &rows, const std::vector<int> &order) {
    TOrderApplier applier(rows, order);
    while (!applier.Step(rows.size() + 1)) {
    }
    return applier.TakeNewPositions();
}

TOrderApplier::TOrderApplier(std::vector<TFileRow> &rows, const std::vector<int> &order)
    : rows_(rows), order_(order), newPosition_(rows.size()), placed_(rows.size()) {
    for (size_t i = 0; i < order.size(); ++i) newPosition_[order[i]] = static_cast<int>(i);
}

// In place, cycle by cycle: no second copy of a large listing's rows.
bool TOrderApplier::Step(size_t count) {
    for (; count > 0; --count) {
        if (!inCycle_) {
            while (start_ < rows_.size() && placed_[start_]) ++start_;
            if (start_ == rows_.size()) return true;
            held_ = std::move(rows_[start_]);
            at_ = start_;
            inCycle_ = true;
        }
        placed_[at_] = true;
        size_t from = static_cast<size_t>(order_[at_]);
        if (from == start_) {
            rows_[at_] = std::move(held_);
            inCycle_ = false;
        } else {
            rows_[at_] = std::move(rows_[from]);
            at_ = from;
        }
    }
    return false;
}

std::vector<int> SortRows(std::vector<TFileRow> &rows, const TColumnText &columnText, bool reverse, bool dateColumn) {
    return ApplyOrder(rows, SortOrder(rows, columnText, reverse, dateColumn));
}

} // namespace filelist

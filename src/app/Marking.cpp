#include "app/Marking.h"

#include <unordered_map>
#include <vector>

#include "ui/Handles.h"

namespace app {

namespace {

bool IsParentRow(const filelist::TFileList &list, int row) { return list.IsParent(row); }

std::wstring UpperAscii(std::wstring s) {
    for (wchar_t &c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
    return s;
}

} // namespace

void MarkAll(filelist::TFileList &list) {
    for (int i = 0; i < list.Count(); ++i) list.SetMarked(i, !IsParentRow(list, i));
}

void UnmarkAll(filelist::TFileList &list) {
    for (int i = 0; i < list.Count(); ++i) list.SetMarked(i, false);
}

void InvertMarks(filelist::TFileList &list) {
    for (int i = 0; i < list.Count(); ++i) list.SetMarked(i, !IsParentRow(list, i) && !list.Marked(i));
}

void ToggleMark(filelist::TFileList &list, int row) {
    if (row < 0 || row >= list.Count()) return;
    list.SetMarked(row, !IsParentRow(list, row) && !list.Marked(row));
}

void MarkGroup(filelist::TFileList &list, const std::wstring &pattern, bool mark) {
    // Rows by upper-case name, so that a large folder is not scanned once per name found.
    std::unordered_multimap<std::wstring, int> rows;
    for (int i = 0; i < list.Count(); ++i)
        if (!IsParentRow(list, i)) rows.emplace(UpperAscii(list.Caption(i)), i);
    ui::ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAW fd;
    ui::FindHandle find(FindFirstFileW((list.Directory() + pattern).c_str(), &fd));
    if (find.get() == INVALID_HANDLE_VALUE) return;
    do {
        auto range = rows.equal_range(UpperAscii(fd.cFileName));
        for (auto it = range.first; it != range.second; ++it) list.SetMarked(it->second, mark);
    } while (FindNextFileW(find.get(), &fd));
}

} // namespace app

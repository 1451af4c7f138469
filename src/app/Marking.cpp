#include "app/Marking.h"

#include <unordered_map>
#include <vector>

#include "ui/Handles.h"

namespace app {

namespace {

bool IsParentRow(const filelist::TFileList &list, int row) { return list.IsParent(row); }
bool IsParent(const filelist::TFileRow &row) { return row.folder && row.name == L".."; }

std::wstring UpperAscii(std::wstring s) {
    for (wchar_t &c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
    return s;
}

} // namespace

void MarkAll(filelist::TFileList &list) {
    list.MarkRows([](int, const filelist::TFileRow &row) { return !IsParent(row); });
}

void UnmarkAll(filelist::TFileList &list) {
    list.MarkRows([](int, const filelist::TFileRow &) { return false; });
}

void InvertMarks(filelist::TFileList &list) {
    list.MarkRows([](int, const filelist::TFileRow &row) { return !IsParent(row) && !row.Marked(); });
}

void ToggleMark(filelist::TFileList &list, int row) {
    if (row < 0 || row >= list.Count()) return;
    list.SetMarked(row, !IsParentRow(list, row) && !list.Marked(row));
}

void MarkGroup(filelist::TFileList &list, const std::wstring &pattern, bool mark) {
    // Rows by upper-case name, so that a large folder is not scanned once per name found.
    std::unordered_multimap<std::wstring, int> rows;
    for (int i = 0; i < list.Count(); ++i)
        if (!IsParent(list.Row(i))) rows.emplace(UpperAscii(list.Row(i).name), i);
    std::vector<bool> found(static_cast<size_t>(list.Count()));
    {
        ui::ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
        WIN32_FIND_DATAW fd;
        ui::FindHandle find(FindFirstFileW((list.Directory() + pattern).c_str(), &fd));
        if (find.get() == INVALID_HANDLE_VALUE) return;
        do {
            auto range = rows.equal_range(UpperAscii(fd.cFileName));
            for (auto it = range.first; it != range.second; ++it) found[static_cast<size_t>(it->second)] = true;
        } while (FindNextFileW(find.get(), &fd));
    }
    // The rows found change, the others keep their marks; one repaint for all.
    list.MarkRows([&](int i, const filelist::TFileRow &row) { return found[static_cast<size_t>(i)] ? mark : row.Marked(); });
}

} // namespace app

#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/FileColumns.h"
#include "filelist/FileRows.h"
#include "filelist/Masks.h"
#include "filelist/ShellInfo.h"
#include "ui/Window.h"

namespace filelist {

enum TViewStyle { vsList, vsReport };

class TFileList;
using TFlInsertEvent =
    std::function<void(TFileList &sender, int item, const std::wstring &path, const WIN32_FIND_DATAW &findData)>;
using TFileDropEvent = std::function<void(const std::vector<std::wstring> &files, int x, int y)>;

// One panel's listing: a list view whose rows are the entries of its directories, filtered by attributes
// and masks, sorted by one column, each row carrying a mark. The rows live in the list's own model and
// the list view shows them on demand, so large directories list fast; captions, sub-item texts and marks
// still read back through the list view's own messages.
class TFileList : public ui::TWindow {
public:
    TFileList();
    ~TFileList() override;
    void Create(HWND parent, int id);

    // Properties; writing Directory or Mask always re-reads, the others as noted.
    std::wstring Directory() const;
    // A list of directories separated by ";", for callers that really write a list.
    void SetDirectory(const std::wstring &value);
    // Exactly one directory: a ";" in it is part of a folder's name (data;old). Re-reads.
    void SetOneDirectory(const std::wstring &dir);
    TFileTypes FileTypes() const { return fileTypes_; }
    void SetFileTypes(TFileTypes value);         // re-reads when changed
    bool DisplayDirectory() const { return displayDirectory_; }
    void SetDisplayDirectory(bool value);        // re-reads when changed
    std::wstring Mask() const { return JoinList(masks_); }
    void SetMask(const std::wstring &value);
    void AddMask(const std::wstring &masks);     // does not re-read
    TFileInfo SortColumn() const { return sortColumn_; }
    void SetSortColumn(TFileInfo value);         // re-sorts at once in the report view
    TFileInfos ViewColumns() const { return viewColumns_; }
    void SetViewColumns(TFileInfos value);       // rebuilds and re-reads in the report view when changed
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);         // never re-reads
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);
    void SetStateImages(HIMAGELIST images);
    void SetColors(COLORREF text, COLORREF background);

    TFlInsertEvent OnFileAdd;
    TFileDropEvent OnFileDrop;
    ui::TNotifyEvent OnColumnClick;

    void Reread();
    void BuildColumns();

    // Rows.
    int Count() const { return static_cast<int>(rows_.size()); }
    const TFileRow &Row(int index) const { return rows_[index]; }
    std::wstring Caption(int index) const;
    bool IsFolder(int index) const;
    bool Marked(int index) const;
    void SetMarked(int index, bool marked);
    // The cursor row (the selected row), -1 when none.
    int Selected() const;
    void SetSelected(int index);
    // Makes the first row the selected and focused row when no row is selected.
    void PlaceCursor();
    // The process-wide reverse flag shared by all file lists.
    static bool Reversed();
    static void SetReversed(bool reversed);

    // The column order of the row model; true while a listing is running.
    const TColumnMap &ColumnMap() const { return columnMap_; }
    bool Reading() const { return reading_; }

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool ReadDirectory(const std::wstring &dir);
    // fileType is null for a folder row.
    void FillRow(TFileRow &row, const std::wstring &dir, const WIN32_FIND_DATAW &fd,
                 const TShellTypeCache::TTypeInfo *fileType);
    void SortNow();
    void Publish(bool invalidateAll);
    void ClearSelection();
    void GetDispInfo(NMLVDISPINFOW &info);
    void DropFiles(HDROP drop);

    std::vector<std::wstring> directories_;
    TFileTypes fileTypes_ = FileTypeBit(ftArchive) | FileTypeBit(ftReadonly);
    bool displayDirectory_ = true;
    TMaskList masks_{L"*.*"};
    TFileInfo sortColumn_ = fiName;
    TFileInfos viewColumns_ = kDefaultViewColumns;
    TViewStyle viewStyle_ = vsReport;
    bool acceptFiles_ = false;
    TColumnMap columnMap_;
    std::vector<TFileRow> rows_;
    TShellTypeCache types_;
    TFileTimeFormatter times_;
    bool reading_ = false;
    bool restartRequested_ = false;
    DWORD lastPump_ = 0;
    std::wstring readingDir_;
};

} // namespace filelist

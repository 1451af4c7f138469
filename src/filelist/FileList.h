#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/FileColumns.h"
#include "filelist/FileRows.h"
#include "filelist/Masks.h"
#include "filelist/ReadAhead.h"
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
    // A row became the cursor row, however the cursor got there (keys, clicks, typed letters, a listing).
    ui::TNotifyEvent OnCursorMove;

    void Reread();
    void BuildColumns();

    // Between BeginUpdate and the matching EndUpdate a property that would re-read only notes it; the
    // outermost EndUpdate then reads once with the final settings. Calls nest.
    void BeginUpdate() { ++updateDepth_; }
    void EndUpdate();
    bool Updating() const { return updateDepth_ > 0; }
    // Why the last listing could not read a directory (the system's code); ERROR_SUCCESS when it could.
    // Such a directory shows only its ".." row.
    DWORD ReadFailure() const { return readFailure_; }
    // How many times a directory has been read since creation (each pass over one directory counts).
    int Listings() const { return listings_; }

    // Rows.
    int Count() const { return static_cast<int>(rows_.size()); }
    const TFileRow &Row(int index) const { return rows_[index]; }
    // What the row shows (file names with A to Z in lower case); for showing and reading back only.
    std::wstring Caption(int index) const;
    // The name exactly as the directory listing returned it, and the row's full path made from it: every
    // path handed to the system is made this way, never from the caption.
    std::wstring Name(int index) const;
    std::wstring PathOf(int index) const;
    bool IsParent(int index) const; // the ".." row
    bool IsFolder(int index) const;
    bool Marked(int index) const;
    void SetMarked(int index, bool marked);
    // Sets the mark of every row to `marked(index, row)` in one pass over the rows, then repaints the rows
    // in sight once: a mark is a field of the row, so marking all of a large folder costs no more than that.
    template <class Marked> void MarkRows(Marked marked) {
        for (size_t i = 0; i < rows_.size(); ++i)
            rows_[i].stateIndex = marked(static_cast<int>(i), static_cast<const TFileRow &>(rows_[i])) ? 0 : -1;
        RepaintRows();
    }
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
    void AttachPictures();
    void AttachSystemImages();
    bool ReadDirectory(const std::wstring &dir, std::uint16_t directoryIndex);
    TDirectoryReadAhead::TState TakeReadAhead(TDirectoryReadAhead &ahead, const std::wstring &dir,
                                              std::uint16_t directoryIndex);
    bool AddEntry(const std::wstring &dir, std::uint16_t directoryIndex, const WIN32_FIND_DATAW &fd,
                  std::wstring name);
    bool ServeMessagesWhenDue();
    // The text of a row's column (1: size, 2 on: the optional columns), made when asked.
    std::wstring SubItemText(const TFileRow &row, int column);
    // Sorts now; with an order made beforehand, puts the rows in that order instead. The cursor stays on
    // its row. While a sort runs on its own thread, a request to sort waits for it.
    void SortNow(const std::vector<int> *order = nullptr);
    // The sort at the end of a listing: a large listing by name is sorted on a thread of its own while
    // the message loop goes on, so that keys and clicks are answered meanwhile.
    void SortServingMessages();
    // Puts the rows in a sorted order in steps with turns of the message loop between them; keys and clicks
    // wait meanwhile, and the list paints nothing, as its rows are not in their places yet.
    std::vector<int> ApplyOrderServingMessages(const std::vector<int> &order);
    void Publish(bool invalidateAll);
    void ClearSelection();
    // Takes the selection from the cursor row; returns that row, or -1 when it had none.
    int ReleaseCursorSelection();
    void RepaintRows();
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
    // Each column's width for the font it was measured in (BuildColumns).
    HFONT widthsFont_ = nullptr;
    std::array<int, fiAll> widths_{};
    std::vector<TFileRow> rows_;
    TShellTypeCache types_;
    TFileTimeFormatter times_;
    bool reading_ = false;
    bool restartRequested_ = false;
    bool sorting_ = false;        // a sort runs on its own thread: the rows must keep their places
    bool resortRequested_ = false;
    bool applying_ = false;       // the rows are being put in their sorted places: none may be read or shown
    DWORD lastPump_ = 0;
    DWORD nextPublish_ = 0;
    std::vector<std::wstring> listed_; // the directories the rows come from
    bool keepDosNames_ = false;
    // Which pictures the view has: none before the first listing, the quick ones while the shell loads
    // its own, then the shell's. Folder rows show `folderIcon_` of the list attached.
    enum class TPictures { none, quick, shell } pictures_ = TPictures::none;
    int folderIcon_ = 0;
    int updateDepth_ = 0;
    bool rereadHeld_ = false;
    int listings_ = 0;
    DWORD readFailure_ = ERROR_SUCCESS;
};

// Holds a file list's re-reads for the lifetime of the scope: several properties set in a row read once.
class TListingScope {
public:
    explicit TListingScope(TFileList &list) : list_(list) { list_.BeginUpdate(); }
    ~TListingScope() { list_.EndUpdate(); }
    TListingScope(const TListingScope &) = delete;
    TListingScope &operator=(const TListingScope &) = delete;

private:
    TFileList &list_;
};

} // namespace filelist

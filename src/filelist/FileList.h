#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/DirectoryListing.h"
#include "ui/Window.h"

namespace filelist {

enum TViewStyle { vsList, vsReport };

class TFileList;
using TFlInsertEvent =
    std::function<void(TFileList &sender, int item, const std::wstring &path, const WIN32_FIND_DATAW &findData)>;
using TFileDropEvent = std::function<void(const std::vector<std::wstring> &files, int x, int y)>;

// One panel's listing: a list view whose rows are the entries of its directories, filtered by attributes
// and masks, sorted by one column, each row carrying a mark. The rows live in the list's listing and
// the list view shows them on demand, so large directories list fast; captions, sub-item texts and marks
// still read back through the list view's own messages.
class TFileList : public ui::TWindow, private IListingObserver {
public:
    TFileList();
    ~TFileList() override;
    void Create(HWND parent, int id);

    // Properties; writing Directory or Mask always re-reads, the others as noted.
    std::wstring Directory() const { return listing_.Directory(); }
    // A list of directories separated by ";", for callers that really write a list.
    void SetDirectory(const std::wstring &value) { listing_.SetDirectory(value); }
    // Exactly one directory: a ";" in it is part of a folder's name (data;old). Re-reads.
    void SetOneDirectory(const std::wstring &dir) { listing_.SetOneDirectory(dir); }
    TFileTypes FileTypes() const { return listing_.FileTypes(); }
    void SetFileTypes(TFileTypes value) { listing_.SetFileTypes(value); }             // re-reads when changed
    bool DisplayDirectory() const { return listing_.DisplayDirectory(); }
    void SetDisplayDirectory(bool value) { listing_.SetDisplayDirectory(value); }     // re-reads when changed
    std::wstring Mask() const { return listing_.Mask(); }
    void SetMask(const std::wstring &value) { listing_.SetMask(value); }
    void AddMask(const std::wstring &masks) { listing_.AddMask(masks); }             // does not re-read
    TFileInfo SortColumn() const { return listing_.SortColumn(); }
    void SetSortColumn(TFileInfo value);         // re-sorts at once in the report view
    TFileInfos ViewColumns() const { return listing_.ViewColumns(); }
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

    void Reread() { listing_.Reread(); }
    void BuildColumns();

    // Between BeginUpdate and the matching EndUpdate a property that would re-read only notes it; the
    // outermost EndUpdate then reads once with the final settings. Calls nest.
    void BeginUpdate() { listing_.BeginUpdate(); }
    void EndUpdate() { listing_.EndUpdate(); }
    bool Updating() const { return listing_.Updating(); }
    // Why the last listing could not read a directory (the system's code); ERROR_SUCCESS when it could.
    // Such a directory shows only its ".." row.
    DWORD ReadFailure() const { return listing_.ReadFailure(); }
    // How many times a directory has been read since creation (each pass over one directory counts).
    int Listings() const { return listing_.Listings(); }

    // Rows.
    int Count() const { return listing_.Count(); }
    const TFileRow &Row(int index) const { return listing_.Row(index); }
    // What the row shows (file names with A to Z in lower case); for showing and reading back only.
    std::wstring Caption(int index) const;
    // The name exactly as the directory listing returned it, and the row's full path made from it: every
    // path handed to the system is made this way, never from the caption.
    std::wstring Name(int index) const;
    std::wstring PathOf(int index) const { return listing_.PathOf(index); }
    bool IsParent(int index) const; // the ".." row
    bool IsFolder(int index) const;
    bool Marked(int index) const;
    void SetMarked(int index, bool marked);
    // Sets the mark of every row to `marked(index, row)` in one pass over the rows, then repaints the rows
    // in sight once: a mark is a field of the row, so marking all of a large folder costs no more than that.
    template <class Marked> void MarkRows(Marked marked) {
        for (int i = 0; i < Count(); ++i) {
            TFileRow &row = listing_.Row(i);
            row.stateIndex = marked(i, static_cast<const TFileRow &>(row)) ? 0 : -1;
        }
        RepaintRows();
    }
    // The cursor row (the selected row), -1 when none.
    int Selected() const;
    void SetSelected(int index);
    // Makes the first row the selected and focused row when no row is selected.
    void PlaceCursor();
    // The process-wide reverse flag shared by all file lists.
    static bool Reversed() { return TDirectoryListing::Reversed(); }
    static void SetReversed(bool reversed) { TDirectoryListing::SetReversed(reversed); }

    // The column order of the row model; true while a listing is running.
    const TColumnMap &ColumnMap() const { return listing_.ColumnMap(); }
    bool Reading() const { return listing_.Reading(); }

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The listing's observer.
    bool Shown() const override { return Handle() != nullptr; }
    void ListingBegins() override;
    void ListingEnds() override;
    void DropRows(const std::function<void()> &drop) override;
    void MoveRows(const std::function<std::vector<int>()> &move) override;
    void RowsAdded() override { Publish(false); }
    void RowAdded(int index, const std::wstring &dir, const WIN32_FIND_DATAW &fd) override;
    bool FileRowsReady() override;
    bool ServeMessages(TServe what, HANDLE until) override;

    void AttachPictures();
    void AttachSystemImages();
    void Publish(bool invalidateAll);
    void ClearSelection();
    // Takes the selection from the cursor row; returns that row, or -1 when it had none.
    int ReleaseCursorSelection();
    void RepaintRows();
    void GetDispInfo(NMLVDISPINFOW &info);
    void DropFiles(HDROP drop);

    TDirectoryListing listing_{this};
    TViewStyle viewStyle_ = vsReport;
    bool acceptFiles_ = false;
    // Each column's width for the font it was measured in (BuildColumns).
    HFONT widthsFont_ = nullptr;
    std::array<int, fiAll> widths_{};
    HCURSOR cursorBeforeListing_ = nullptr;
    // Which pictures the view has: none before the first listing, the quick ones while the shell loads
    // its own, then the shell's. Folder rows show `folderIcon_` of the list attached.
    enum class TPictures { none, quick, shell } pictures_ = TPictures::none;
    int folderIcon_ = 0;
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

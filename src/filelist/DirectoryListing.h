#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "filelist/FileColumns.h"
#include "filelist/FileRows.h"
#include "filelist/Masks.h"
#include "filelist/ReadAhead.h"
#include "filelist/ShellInfo.h"

namespace filelist {

// What a busy listing lets the message loop serve.
enum class TServe {
    all,         // whatever is waiting, keys and clicks included
    allButInput, // paints, timers, posted and sent messages: keys and clicks stay queued
};

// Whoever shows a listing's rows. Every call comes on the thread that lists, in the middle of a listing.
class IListingObserver {
public:
    // Whether the rows are shown at all: a listing nobody sees serves no message loop and sorts in one go.
    virtual bool Shown() const = 0;
    // A listing begins (once, however often it starts over) and ends.
    virtual void ListingBegins() = 0;
    virtual void ListingEnds() = 0;
    // All rows go for a new pass: `drop` drops them. The view lets go of what it holds by row, then shows none.
    virtual void DropRows(const std::function<void()> &drop) = 0;
    // The rows take a new order: `move` puts them in it and returns each old row's new position, so that the
    // view's cursor can stay on its row.
    virtual void MoveRows(const std::function<std::vector<int>()> &move) = 0;
    // Rows were added at the end since the last call: time to show them.
    virtual void RowsAdded() = 0;
    // Row `index` was just added from `dir`'s search record (a folder row does not have its name yet).
    virtual void RowAdded(int index, const std::wstring &dir, const WIN32_FIND_DATAW &fd) = 0;
    // A file row is to be added: true once the view has what file rows need (the shell's pictures). Asked
    // before every file row until then; the time it takes does not count as reading time.
    virtual bool FileRowsReady() = 0;
    // Lets the message loop run once, or with `until` for as long as that event is not signalled. False
    // when the listing is to stop serving it: its view went, or the program is quitting.
    virtual bool ServeMessages(TServe what, HANDLE until) = 0;

protected:
    ~IListingObserver() = default;
};

// The rows of one or more directories, filtered by attributes and masks and sorted by one column: what a
// file list shows, with no window of its own. Reading and sorting tell the observer, which may let the
// message loop run meanwhile; a request to read again made from there starts the listing over.
class TDirectoryListing {
public:
    explicit TDirectoryListing(IListingObserver *observer = nullptr);
    TDirectoryListing(const TDirectoryListing &) = delete;
    TDirectoryListing &operator=(const TDirectoryListing &) = delete;

    // Properties; writing Directory or Mask always re-reads, the others as noted.
    std::wstring Directory() const;
    // A list of directories separated by ";".
    void SetDirectory(const std::wstring &value);
    // Exactly one directory: a ";" in it is part of a folder's name.
    void SetOneDirectory(const std::wstring &dir);
    TFileTypes FileTypes() const { return fileTypes_; }
    void SetFileTypes(TFileTypes value); // re-reads when changed
    bool DisplayDirectory() const { return displayDirectory_; }
    void SetDisplayDirectory(bool value); // re-reads when changed
    std::wstring Mask() const { return JoinList(masks_); }
    void SetMask(const std::wstring &value);
    void AddMask(const std::wstring &masks); // does not re-read
    TFileInfo SortColumn() const { return sortColumn_; }
    // Takes a shown member (the same one again flips the reverse flag); false, changing nothing, for fiAll
    // or a member not shown. Does not sort.
    bool SetSortColumn(TFileInfo value);
    TFileInfos ViewColumns() const { return viewColumns_; }
    // Notes the columns; true when they changed. Neither re-reads nor maps them (MapColumns).
    bool SetViewColumns(TFileInfos value);
    // The column order of the rows' texts: the view columns when last mapped.
    const TColumnMap &ColumnMap() const { return columnMap_; }
    void MapColumns() { columnMap_ = BuildColumnMap(viewColumns_); }
    // The process-wide reverse flag shared by all listings; false at start.
    static bool Reversed();
    static void SetReversed(bool reversed);

    void Reread();
    // Sorts now; the observer's cursor stays on its row. While a sort runs on its own thread, this waits for it.
    void Sort() { SortNow(); }
    // Between BeginUpdate and the matching EndUpdate a property that would re-read only notes it; the
    // outermost EndUpdate then reads once with the final settings. Calls nest.
    void BeginUpdate() { ++updateDepth_; }
    void EndUpdate();
    bool Updating() const { return updateDepth_ > 0; }
    bool Reading() const { return reading_; }
    // True while a sort puts the rows in their places: none may be read or shown.
    bool Rearranging() const { return applying_; }
    // Why the last listing could not read a directory (the system's code); ERROR_SUCCESS when it could.
    DWORD ReadFailure() const { return readFailure_; }
    // How many times a directory has been read since creation (each pass over one directory counts).
    int Listings() const { return listings_; }

    int Count() const { return static_cast<int>(rows_.size()); }
    const TFileRow &Row(int index) const { return rows_[index]; }
    TFileRow &Row(int index) { return rows_[index]; }
    // The row's full path: the directory it was listed from and its name as the listing returned it.
    std::wstring PathOf(int index) const;
    // The text of a row's column (1: size, 2 on: the optional columns of the column map).
    std::wstring ColumnText(const TFileRow &row, int column);
    // A file row's picture: its type's, or the file's own for a type whose picture lives in the file (asked
    // of the shell the first time).
    int FileIcon(int index);

private:
    bool Shown() const { return observer_ && observer_->Shown(); }
    bool ReadDirectory(const std::wstring &dir, std::uint16_t directoryIndex);
    TDirectoryReadAhead::TState TakeReadAhead(TDirectoryReadAhead &ahead, const std::wstring &dir,
                                              std::uint16_t directoryIndex);
    bool AddEntry(const std::wstring &dir, std::uint16_t directoryIndex, const WIN32_FIND_DATAW &fd,
                  std::wstring name);
    // Gives the message loop its turn when one is due, showing the rows found first when that is due too.
    // False when the listing is to stop: a new request came in, or the view went.
    bool ServeMessagesWhenDue();
    // Sorts now; with an order made beforehand, puts the rows in that order instead.
    void SortNow(const std::vector<int> *order = nullptr);
    // The sort at the end of a listing: a large listing by name is sorted on a thread of its own while
    // the message loop goes on, so that keys and clicks are answered meanwhile.
    void SortServingMessages();
    // Puts the rows in a sorted order in steps with turns of the message loop between them; keys and clicks
    // wait meanwhile, and the view shows nothing of the rows, as they are not in their places yet.
    std::vector<int> ApplyOrderServingMessages(const std::vector<int> &order);
    int SortedColumn() const { return columnMap_.columnOf[sortColumn_ < fiAll ? sortColumn_ : fiName]; }

    IListingObserver *observer_;
    std::vector<std::wstring> directories_;
    TFileTypes fileTypes_ = FileTypeBit(ftArchive) | FileTypeBit(ftReadonly);
    bool displayDirectory_ = true;
    TMaskList masks_{L"*.*"};
    TFileInfo sortColumn_ = fiName;
    TFileInfos viewColumns_ = kDefaultViewColumns;
    TColumnMap columnMap_;
    std::vector<TFileRow> rows_;
    std::vector<std::wstring> listed_; // the directories the rows come from
    bool keepDosNames_ = false;
    TShellTypeCache types_;
    TFileTimeFormatter times_;
    bool reading_ = false;
    bool restartRequested_ = false;
    bool sorting_ = false; // a sort runs on its own thread: the rows must keep their places
    bool resortRequested_ = false;
    bool applying_ = false; // the rows are being put in their sorted places
    bool fileRowsReady_ = false;
    DWORD lastPump_ = 0;
    DWORD nextPublish_ = 0;
    int updateDepth_ = 0;
    bool rereadHeld_ = false;
    int listings_ = 0;
    DWORD readFailure_ = ERROR_SUCCESS;
};

} // namespace filelist

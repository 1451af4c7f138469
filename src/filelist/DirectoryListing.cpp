#include "filelist/DirectoryListing.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "ui/Fallbacks.h"
#include "ui/Handles.h"
#include "ui/ScopedFlag.h"
#include "ui/Ticks.h"

namespace filelist {

namespace {

// One flag for the whole process: reversing one panel's order reverses the other's at its next sort.
bool g_reversed = false;

// How long a listing runs between two turns of the message loop; short enough to feel immediate,
// long enough that a large directory is not slowed down by the loop itself.
constexpr DWORD kPumpIntervalMs = 25;
// Rows found are handed to the view first after this long, then at this interval, not at every turn:
// each new row count redraws the scroll bar, which under Wine costs as much as listing a thousand files.
constexpr DWORD kFirstPublishMs = 100, kPublishIntervalMs = 250;

bool IsDotEntry(const wchar_t *name) { return name[0] == L'.' && name[1] == 0; }

// "C:\" or "\\server\share\": the file system gives no ".." there.
bool IsRoot(const std::wstring &dir) {
    if (dir.size() == 3 && dir[1] == L':') return true;
    if (dir.compare(0, 2, L"\\\\") != 0) return false;
    size_t server = dir.find(L'\\', 2);
    size_t share = server == std::wstring::npos ? server : dir.find(L'\\', server + 1);
    return share == std::wstring::npos || share + 1 == dir.size();
}

void SortDirectoryList(std::vector<std::wstring> &list) {
    SortCaseInsensitive(list);
    // Duplicates (compared without regard to case) are ignored.
    list.erase(std::unique(list.begin(), list.end(),
                           [](const std::wstring &a, const std::wstring &b) {
                               return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(),
                                                     -1) == CSTR_EQUAL;
                           }),
               list.end());
}

} // namespace

bool TDirectoryListing::Reversed() { return g_reversed; }
void TDirectoryListing::SetReversed(bool reversed) { g_reversed = reversed; }

TDirectoryListing::TDirectoryListing(IListingObserver *observer) : observer_(observer) { MapColumns(); }

std::wstring TDirectoryListing::Directory() const { return JoinList(directories_); }

void TDirectoryListing::SetDirectory(const std::wstring &value) {
    directories_.clear();
    if (!value.empty()) {
        size_t start = 0;
        while (start <= value.size()) {
            size_t semi = value.find(L';', start);
            std::wstring dir = value.substr(start, semi == std::wstring::npos ? std::wstring::npos : semi - start);
            // An empty piece names no directory.
            if (!dir.empty()) {
                if (dir.back() != L'\\') dir += L'\\';
                directories_.push_back(dir);
            }
            if (semi == std::wstring::npos) break;
            start = semi + 1;
        }
        SortDirectoryList(directories_);
    }
    Reread();
}

void TDirectoryListing::SetOneDirectory(const std::wstring &dir) {
    directories_.clear();
    if (!dir.empty()) directories_.push_back(dir.back() == L'\\' ? dir : dir + L'\\');
    Reread();
}

void TDirectoryListing::SetFileTypes(TFileTypes value) {
    if (value == fileTypes_) return;
    fileTypes_ = value;
    Reread();
}

void TDirectoryListing::SetDisplayDirectory(bool value) {
    if (value == displayDirectory_) return;
    displayDirectory_ = value;
    Reread();
}

void TDirectoryListing::SetMask(const std::wstring &value) {
    BuildMaskList(value, masks_, true, false);
    Reread();
}

void TDirectoryListing::AddMask(const std::wstring &masks) {
    BuildMaskList(Mask() + L";" + masks, masks_, true, false);
}

bool TDirectoryListing::SetSortColumn(TFileInfo value) {
    if (value == fiAll || !IsShown(viewColumns_, value)) return false;
    if (value == sortColumn_) g_reversed = !g_reversed;
    else sortColumn_ = value;
    return true;
}

bool TDirectoryListing::SetViewColumns(TFileInfos value) {
    if (value == viewColumns_) return false;
    viewColumns_ = value;
    return true;
}

void TDirectoryListing::EndUpdate() {
    if (updateDepth_ == 0 || --updateDepth_ > 0 || !rereadHeld_) return;
    rereadHeld_ = false;
    Reread();
}

void TDirectoryListing::Reread() {
    if (updateDepth_ > 0) {
        rereadHeld_ = true;
        return;
    }
    if (reading_) {
        // Asked again from inside the message loop of a running listing: that listing stops at its next
        // turn and starts over with the new request, so the last request wins.
        restartRequested_ = true;
        return;
    }
    ui::TScopedFlag flag(reading_);
    // Told before the clock of the loop's turns starts: at start-up the view may wait there for the shell's
    // load, and that wait must not count as a long read, or the loop would paint every window before the
    // first rows are in.
    if (observer_) observer_->ListingBegins();
    do {
        restartRequested_ = false;
        auto drop = [this] {
            rows_.clear();
            readFailure_ = ERROR_SUCCESS;
        };
        if (observer_) observer_->DropRows(drop);
        else drop();
        lastPump_ = GetTickCount();
        nextPublish_ = lastPump_ + kFirstPublishMs;
        listed_ = directories_;
        keepDosNames_ = IsShown(viewColumns_, fiDosName) || IsShown(viewColumns_, fiDosExt);
        for (size_t d = 0; d < listed_.size(); ++d) {
            if (!ReadDirectory(listed_[d], static_cast<std::uint16_t>(d)) || !ServeMessagesWhenDue()) break;
        }
        if (!restartRequested_ && Shown()) SortServingMessages();
    } while (restartRequested_ && Shown());
    if (!Shown()) SortNow();
    if (observer_) observer_->ListingEnds();
}

bool TDirectoryListing::ReadDirectory(const std::wstring &dir, std::uint16_t directoryIndex) {
    // A folder read ahead at start-up is taken as read, unless the short names are needed.
    if (!keepDosNames_) {
        if (std::unique_ptr<TDirectoryReadAhead> ahead = ClaimReadAhead(dir)) {
            size_t before = rows_.size();
            switch (TakeReadAhead(*ahead, dir, directoryIndex)) {
            case TDirectoryReadAhead::TState::done:
                return true;
            case TDirectoryReadAhead::TState::more:
                return false; // stopped for a new request
            case TDirectoryReadAhead::TState::failed:
                rows_.resize(before);
                --listings_;
                break;
            }
        }
    }
    ui::ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAW fd;
    // The short names are asked of the file system only while a column shows them.
    ui::FindHandle find(ui::FindFirstForListing(dir + L"*", fd, keepDosNames_));
    ++listings_;
    if (find.get() == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        // An empty root lists nothing and is no failure; any other folder lists at least "." and "..".
        if (code == ERROR_FILE_NOT_FOUND && IsRoot(dir)) return true;
        if (readFailure_ == ERROR_SUCCESS) readFailure_ = code == ERROR_SUCCESS ? ERROR_PATH_NOT_FOUND : code;
        // An unreadable or vanished folder still shows the way out.
        if (!IsRoot(dir) && displayDirectory_) {
            WIN32_FIND_DATAW parent{};
            parent.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
            lstrcpynW(parent.cFileName, L"..", MAX_PATH);
            return AddEntry(dir, directoryIndex, parent, parent.cFileName);
        }
        return true;
    }
    do {
        if (!AddEntry(dir, directoryIndex, fd, fd.cFileName)) return false;
    } while (FindNextFileW(find.get(), &fd));
    return true;
}

TDirectoryReadAhead::TState TDirectoryListing::TakeReadAhead(TDirectoryReadAhead &ahead, const std::wstring &dir,
                                                             std::uint16_t directoryIndex) {
    ++listings_;
    std::vector<TFoundEntry> batch;
    WIN32_FIND_DATAW fd{};
    for (;;) {
        DWORD waited = GetTickCount() - lastPump_;
        TDirectoryReadAhead::TState state = ahead.Take(batch, waited < kPumpIntervalMs ? kPumpIntervalMs - waited : 0);
        for (TFoundEntry &entry : batch) {
            entry.ToFindData(fd);
            if (!AddEntry(dir, directoryIndex, fd, std::move(entry.name))) return TDirectoryReadAhead::TState::more;
        }
        batch.clear();
        if (state != TDirectoryReadAhead::TState::more) return state;
        // Waiting on the reader serves the message loop as reading does.
        if (!ServeMessagesWhenDue()) return TDirectoryReadAhead::TState::more;
    }
}

// Adds the row of one search record that passes the filters; `name` is the record's file name, matched and
// then kept as the row's name. False when the listing is to stop.
bool TDirectoryListing::AddEntry(const std::wstring &dir, std::uint16_t directoryIndex, const WIN32_FIND_DATAW &fd,
                                 std::wstring name) {
    if (!MatchesFileTypes(fd.dwFileAttributes, fileTypes_)) return true;
    const bool folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folder && (IsDotEntry(fd.cFileName) || !displayDirectory_)) return true;
    if (!folder && !MatchesMaskList(name, masks_, true, false)) return true;
    TFileRow &row = rows_.emplace_back();
    row.folder = folder;
    row.directoryIndex = directoryIndex;
    row.size = folder ? 0 : (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    row.modified = fd.ftLastWriteTime;
    row.created = fd.ftCreationTime;
    row.lastAccess = fd.ftLastAccessTime;
    row.attributes = fd.dwFileAttributes;
    if (keepDosNames_) row.dosName = fd.cAlternateFileName[0] ? fd.cAlternateFileName : fd.cFileName;
    if (folder) {
        // The observer sees a folder row before it has its name.
        row.name = L"????";
        if (observer_) observer_->RowAdded(Count() - 1, dir, fd);
        rows_.back().name = std::move(name);
    } else {
        if (!fileRowsReady_ && observer_) {
            // As before the clock started: the view's wait for the shell's load is no reading time.
            DWORD before = GetTickCount();
            fileRowsReady_ = observer_->FileRowsReady();
            DWORD waited = GetTickCount() - before;
            lastPump_ += waited;
            nextPublish_ += waited;
        }
        row.name = std::move(name);
        row.typeIndex = static_cast<std::uint32_t>(types_.IndexFor(row.name));
        const auto &type = types_.Type(static_cast<int>(row.typeIndex));
        row.icon = type.icon;
        row.iconPending = type.iconPerFile;
        if (observer_) observer_->RowAdded(Count() - 1, dir, fd);
    }
    return ServeMessagesWhenDue();
}

bool TDirectoryListing::ServeMessagesWhenDue() {
    if (!observer_) return !restartRequested_;
    DWORD now = GetTickCount();
    if (now - lastPump_ < kPumpIntervalMs) return true;
    if (ui::TickReached(now, nextPublish_)) {
        observer_->RowsAdded();
        nextPublish_ = now + kPublishIntervalMs;
    }
    bool goOn = observer_->ServeMessages(TServe::all, nullptr);
    lastPump_ = GetTickCount();
    return goOn && !restartRequested_;
}

std::wstring TDirectoryListing::PathOf(int index) const {
    if (index < 0 || index >= Count()) return {};
    const TFileRow &row = rows_[index];
    const std::wstring &dir = row.directoryIndex < listed_.size() ? listed_[row.directoryIndex] : Directory();
    return dir + row.name;
}

std::wstring TDirectoryListing::ColumnText(const TFileRow &row, int column) {
    if (column == 1) return row.folder ? std::wstring() : SizeText(row.size);
    if (column < 2 || column >= columnMap_.count) return {};
    switch (columnMap_.memberAt[column]) {
    case fiType:
        if (row.folder) return FolderTypeName();
        if (const std::wstring &name = types_.Type(static_cast<int>(row.typeIndex)).typeName; !name.empty())
            return name;
        return FallbackTypeName(CaptionOf(row));
    case fiModified:
        return times_.Format(row.modified);
    case fiCreated:
        return times_.Format(row.created);
    case fiLastAccess:
        return times_.Format(row.lastAccess);
    case fiAttributes:
        return AttributeLetters(row.attributes);
    case fiDosName:
        return row.dosName;
    case fiDosExt:
        return ExtensionOf(row.dosName);
    case fiPath:
        return row.directoryIndex < listed_.size() ? listed_[row.directoryIndex] : std::wstring();
    default:
        return {};
    }
}

int TDirectoryListing::FileIcon(int index) {
    TFileRow &row = rows_[index];
    if (row.iconPending) {
        row.iconPending = false;
        int icon = TShellTypeCache::IconOfFile(PathOf(index));
        if (icon >= 0) row.icon = icon;
    }
    return row.icon;
}

void TDirectoryListing::SortServingMessages() {
    // Below this many rows the sort takes less than a turn of the message loop.
    constexpr size_t kRowsWorthAThread = 20000;
    if (SortedColumn() > 0 || rows_.size() < kRowsWorthAThread) {
        SortNow();
        return;
    }
    std::vector<int> order;
    ui::KernelHandle sorted(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!sorted.get()) {
        SortNow();
        return;
    }
    {
        // The thread only reads the names and kinds of the rows; meanwhile the message loop may change their
        // marks and pictures, never their number or places.
        ui::TScopedFlag flag(sorting_);
        std::thread sorter;
        try {
            sorter = std::thread([this, &order, reverse = g_reversed, done = sorted.get()] {
                try {
                    order = SortOrder(rows_, {}, reverse, false);
                } catch (...) {
                    order.clear(); // out of memory: sorted below on this thread
                }
                SetEvent(done);
            });
        } catch (const std::system_error &) {
        }
        if (sorter.joinable()) {
            observer_->ServeMessages(TServe::all, sorted.get());
            sorter.join();
        }
    }
    if (restartRequested_ || !Shown()) return;
    if (order.size() == rows_.size() && !resortRequested_) SortNow(&order);
    else SortNow();
}

void TDirectoryListing::SortNow(const std::vector<int> *order) {
    if (sorting_) {
        resortRequested_ = true;
        return;
    }
    resortRequested_ = false;
    auto move = [this, order] {
        if (order) return ApplyOrderServingMessages(*order);
        int column = SortedColumn();
        bool dateColumn = sortColumn_ == fiModified || sortColumn_ == fiCreated || sortColumn_ == fiLastAccess;
        TColumnText columnText;
        if (column > 0) columnText = [this, column](const TFileRow &row) { return ColumnText(row, column); };
        return SortRows(rows_, columnText, g_reversed, dateColumn && column > 0);
    };
    if (observer_) observer_->MoveRows(move);
    else move();
}

std::vector<int> TDirectoryListing::ApplyOrderServingMessages(const std::vector<int> &order) {
    // Rows moved between two looks at the clock: a few milliseconds' worth.
    constexpr size_t kRowsPerStep = 20000;
    TOrderApplier applier(rows_, order);
    ui::TScopedFlag flag(applying_);
    bool quit = !observer_;
    DWORD lastPump = GetTickCount();
    while (!applier.Step(kRowsPerStep)) {
        if (quit || GetTickCount() - lastPump < kPumpIntervalMs) continue;
        // Keys and clicks would act on rows not in their places: they stay queued.
        quit = !observer_->ServeMessages(TServe::allButInput, nullptr);
        lastPump = GetTickCount();
    }
    return applier.TakeNewPositions();
}

} // namespace filelist

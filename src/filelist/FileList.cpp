#include "filelist/FileList.h"

#include <shellapi.h>

#include <algorithm>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "filelist/ReadAhead.h"
#include "ui/Application.h"
#include "ui/Fallbacks.h"
#include "ui/Handles.h"
#include "ui/ScopedFlag.h"
#include "ui/ScreenScale.h"

namespace filelist {

namespace {

bool g_reversed = false;

bool IsTimeColumn(TFileInfo member) { return member == fiModified || member == fiCreated || member == fiLastAccess; }

// The texts a column shows whole, whatever the row: a size of twelve digits, and a date and time of every
// month at the hours that write widest, in the user's own formats (their width follows the locale).
std::vector<std::wstring> WidestTexts(TFileInfo member) {
    if (member == fiSize) return {SizeText(999'999'999'999ull)};
    std::vector<std::wstring> texts;
    if (!IsTimeColumn(member)) return texts;
    for (WORD month = 1; month <= 12; ++month)
        for (WORD hour : {10, 22}) {
            SYSTEMTIME t{};
            t.wYear = 2028;
            t.wMonth = month;
            t.wDay = 28;
            t.wDayOfWeek = 0;
            t.wHour = hour;
            t.wMinute = 58;
            texts.push_back(FormatLocalTime(t));
        }
    return texts;
}
// How long a listing runs between two turns of the message loop; short enough to feel immediate,
// long enough that a large directory is not slowed down by the loop itself.
constexpr DWORD kPumpIntervalMs = 25;
// Rows found are handed to the list view first after this long, then at this interval, not at every turn:
// each new row count redraws the scroll bar, which under Wine costs as much as listing a thousand files.
constexpr DWORD kFirstPublishMs = 100, kPublishIntervalMs = 250;

bool TickReached(DWORD now, DWORD tick) { return static_cast<LONG>(now - tick) >= 0; }

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

bool TFileList::Reversed() { return g_reversed; }
void TFileList::SetReversed(bool reversed) { g_reversed = reversed; }

TFileList::TFileList() {
    g_reversed = false;
    columnMap_ = BuildColumnMap(viewColumns_);
}

TFileList::~TFileList() = default;

void TFileList::Create(HWND parent, int id) {
    CreateStandard(WC_LISTVIEWW, parent,
                   WS_CHILD | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                       LVS_SHAREIMAGELISTS,
                   WS_EX_CLIENTEDGE, id);
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT);
    ListView_SetCallbackMask(Handle(), LVIS_STATEIMAGEMASK);
    BuildColumns();
    ShowWindow(Handle(), SW_SHOWNA);
}

// The pictures are attached at the first listing, not with the window: an empty list shows none. While
// the shell is still loading its lists, folders are shown with the same picture from the quick list, so
// that a list of folders waits for nothing; the first file row waits for the shell's lists, and the
// first listing after they are loaded takes them.
void TFileList::AttachPictures() {
    if (pictures_ == TPictures::shell || !Handle()) return;
    if (!ShellPicturesReady()) {
        if (pictures_ == TPictures::quick) return;
        int folder = QuickFolderPicture();
        if (folder >= 0) {
            ListView_SetImageList(Handle(), QuickPictureList(), LVSIL_SMALL);
            folderIcon_ = folder;
            pictures_ = TPictures::quick;
            return;
        }
    }
    AttachSystemImages();
}

void TFileList::AttachSystemImages() {
    if (pictures_ == TPictures::shell || !Handle()) return;
    folderIcon_ = FolderIcon();
    if (HIMAGELIST small = SystemImageList(true)) ListView_SetImageList(Handle(), small, LVSIL_SMALL);
    if (HIMAGELIST large = SystemImageList(false)) ListView_SetImageList(Handle(), large, LVSIL_NORMAL);
    pictures_ = TPictures::shell;
}

std::wstring TFileList::Directory() const { return JoinList(directories_); }

void TFileList::SetDirectory(const std::wstring &value) {
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

void TFileList::SetOneDirectory(const std::wstring &dir) {
    directories_.clear();
    if (!dir.empty()) directories_.push_back(dir.back() == L'\\' ? dir : dir + L'\\');
    Reread();
}

void TFileList::SetFileTypes(TFileTypes value) {
    if (value == fileTypes_) return;
    fileTypes_ = value;
    Reread();
}

void TFileList::SetDisplayDirectory(bool value) {
    if (value == displayDirectory_) return;
    displayDirectory_ = value;
    Reread();
}

void TFileList::SetMask(const std::wstring &value) {
    BuildMaskList(value, masks_, true, false);
    Reread();
}

void TFileList::AddMask(const std::wstring &masks) { BuildMaskList(Mask() + L";" + masks, masks_, true, false); }

void TFileList::SetSortColumn(TFileInfo value) {
    if (value == fiAll || !IsShown(viewColumns_, value)) return;
    if (value == sortColumn_) g_reversed = !g_reversed;
    else sortColumn_ = value;
    if (viewStyle_ == vsReport) SortNow();
}

void TFileList::SetViewColumns(TFileInfos value) {
    if (value == viewColumns_) return;
    viewColumns_ = value;
    if (viewStyle_ == vsReport) {
        BuildColumns();
        Reread();
    }
}

void TFileList::SetViewStyle(TViewStyle style) {
    viewStyle_ = style;
    if (!Handle()) return;
    LONG_PTR was = GetWindowLongPtrW(Handle(), GWL_STYLE);
    LONG_PTR s = (was & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | (style == vsReport ? LVS_REPORT : LVS_LIST);
    // A change of style makes the view lay itself out again; the start sets the style it already has.
    if (s == was) return;
    SetWindowLongPtrW(Handle(), GWL_STYLE, s);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TFileList::SetAcceptFiles(bool value) {
    acceptFiles_ = value;
    if (Handle()) DragAcceptFiles(Handle(), value);
}

void TFileList::SetStateImages(HIMAGELIST images) { ListView_SetImageList(Handle(), images, LVSIL_STATE); }

void TFileList::SetColors(COLORREF text, COLORREF background) {
    ListView_SetTextColor(Handle(), text);
    ListView_SetBkColor(Handle(), background);
    ListView_SetTextBkColor(Handle(), background);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TFileList::BuildColumns() {
    columnMap_ = BuildColumnMap(viewColumns_);
    if (!Handle()) return;
    // The table's widths are the least a column gets; values that would be cut get the room they need, in
    // the view's font. Measured again only when the font changes, in a memory context (a window's would
    // cost server calls at start-up).
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    if (font != widthsFont_ || widths_[fiName] == 0) {
        widthsFont_ = font;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        for (int m = 0; m < fiAll; ++m) {
            int width = ui::Scaled(kColumnTable[m].width);
            for (const std::wstring &text : WidestTexts(static_cast<TFileInfo>(m))) {
                SIZE size{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
                // Plus the margins a list view keeps on each side of a cell's text.
                width = std::max(width, static_cast<int>(size.cx) + ui::Scaled(14));
            }
            widths_[m] = width;
        }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    HWND header = ListView_GetHeader(Handle());
    while (header && Header_GetItemCount(header) > 0) ListView_DeleteColumn(Handle(), 0);
    for (int c = 0; c < columnMap_.count; ++c) {
        TFileInfo member = columnMap_.memberAt[c];
        const TColumnInfo &info = kColumnTable[member];
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.fmt = info.format;
        col.cx = IsShown(viewColumns_, member) ? widths_[member] : 0;
        col.pszText = const_cast<wchar_t *>(info.caption);
        col.iSubItem = c;
        SendMessageW(Handle(), LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
    }
}

void TFileList::EndUpdate() {
    if (updateDepth_ == 0 || --updateDepth_ > 0 || !rereadHeld_) return;
    rereadHeld_ = false;
    Reread();
}

void TFileList::Reread() {
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
    // The pictures are attached before the clock of the loop's turns starts: at start-up the first
    // listing may wait here for the shell's load, and that wait must not count as a long read, or the
    // loop would paint every window before the first rows are in.
    AttachPictures();
    HCURSOR oldCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    do {
        restartRequested_ = false;
        ClearSelection();
        rows_.clear();
        readFailure_ = ERROR_SUCCESS;
        // A view that shows no rows already is left alone: told so again, it would only repaint.
        if (Handle() && ListView_GetItemCount(Handle()) != 0) Publish(true);
        lastPump_ = GetTickCount();
        nextPublish_ = lastPump_ + kFirstPublishMs;
        listed_ = directories_;
        keepDosNames_ = IsShown(viewColumns_, fiDosName) || IsShown(viewColumns_, fiDosExt);
        for (size_t d = 0; d < listed_.size(); ++d) {
            if (!ReadDirectory(listed_[d], static_cast<std::uint16_t>(d)) || !ServeMessagesWhenDue()) break;
        }
        if (!restartRequested_ && Handle()) SortServingMessages();
    } while (restartRequested_ && Handle());
    if (!Handle()) SortNow();
    SetCursor(oldCursor);
}

bool TFileList::ReadDirectory(const std::wstring &dir, std::uint16_t directoryIndex) {
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

TDirectoryReadAhead::TState TFileList::TakeReadAhead(TDirectoryReadAhead &ahead, const std::wstring &dir,
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
bool TFileList::AddEntry(const std::wstring &dir, std::uint16_t directoryIndex, const WIN32_FIND_DATAW &fd,
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
        // The add event sees a folder row before it has its name.
        row.name = L"????";
        if (OnFileAdd) OnFileAdd(*this, Count() - 1, dir, fd);
        rows_.back().name = std::move(name);
    } else {
        if (pictures_ != TPictures::shell) {
            // As before the clock started: the wait for the shell's load is no reading time.
            DWORD before = GetTickCount();
            AttachSystemImages();
            DWORD waited = GetTickCount() - before;
            lastPump_ += waited;
            nextPublish_ += waited;
        }
        row.name = std::move(name);
        row.typeIndex = static_cast<std::uint32_t>(types_.IndexFor(row.name));
        const auto &type = types_.Type(static_cast<int>(row.typeIndex));
        row.icon = type.icon;
        row.iconPending = type.iconPerFile;
        if (OnFileAdd) OnFileAdd(*this, Count() - 1, dir, fd);
    }
    return ServeMessagesWhenDue();
}

// Gives the message loop its turn when one is due, showing the rows found first when that is due too.
// False when the listing is to stop: a new request came in, or the window went.
bool TFileList::ServeMessagesWhenDue() {
    DWORD now = GetTickCount();
    if (now - lastPump_ < kPumpIntervalMs) return true;
    if (TickReached(now, nextPublish_)) {
        Publish(false);
        nextPublish_ = now + kPublishIntervalMs;
    }
    ui::Application().ProcessMessages();
    lastPump_ = GetTickCount();
    return !restartRequested_ && Handle();
}

std::wstring TFileList::SubItemText(const TFileRow &row, int column) {
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

void TFileList::SortServingMessages() {
    // Below this many rows the sort takes less than a turn of the message loop.
    constexpr size_t kRowsWorthAThread = 20000;
    int column = columnMap_.columnOf[sortColumn_ < fiAll ? sortColumn_ : fiName];
    if (column > 0 || rows_.size() < kRowsWorthAThread) {
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
            ui::Application().ServeUntil(sorted.get(), ui::TApplication::svAll);
            sorter.join();
        }
    }
    if (restartRequested_ || !Handle()) return;
    if (order.size() == rows_.size() && !resortRequested_) SortNow(&order);
    else SortNow();
}

void TFileList::SortNow(const std::vector<int> *order) {
    if (sorting_) {
        resortRequested_ = true;
        return;
    }
    resortRequested_ = false;
    int column = columnMap_.columnOf[sortColumn_ < fiAll ? sortColumn_ : fiName];
    bool dateColumn = sortColumn_ == fiModified || sortColumn_ == fiCreated || sortColumn_ == fiLastAccess;
    std::vector<int> selected;
    int focused = -1;
    if (Handle()) {
        // A single-selection list: the one selected row, if any.
        if (int i = Selected(); i >= 0) selected.push_back(i);
        focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
        ClearSelection();
    }
    std::vector<int> moved;
    if (order) {
        moved = ApplyOrderServingMessages(*order);
    } else {
        TColumnText columnText;
        if (column > 0) columnText = [this, column](const TFileRow &row) { return SubItemText(row, column); };
        moved = SortRows(rows_, columnText, g_reversed, dateColumn && column > 0);
    }
    Publish(true);
    if (!Handle()) return;
    for (int old : selected)
        if (old < static_cast<int>(moved.size())) ListView_SetItemState(Handle(), moved[old], LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0 && focused < static_cast<int>(moved.size()))
        ListView_SetItemState(Handle(), moved[focused], LVIS_FOCUSED, LVIS_FOCUSED);
}

std::vector<int> TFileList::ApplyOrderServingMessages(const std::vector<int> &order) {
    // Rows moved between two looks at the clock: a few milliseconds' worth.
    constexpr size_t kRowsPerStep = 20000;
    TOrderApplier applier(rows_, order);
    ui::TScopedFlag flag(applying_);
    bool quit = false;
    DWORD lastPump = GetTickCount();
    while (!applier.Step(kRowsPerStep)) {
        if (quit || GetTickCount() - lastPump < kPumpIntervalMs) continue;
        // Keys and clicks would act on rows not in their places: they stay queued. Paints, timers, posted
        // and sent messages are served, so that the window answers.
        quit = !ui::Application().ServePending(ui::TApplication::svPaint | ui::TApplication::svPosted);
        lastPump = GetTickCount();
    }
    return applier.TakeNewPositions();
}

// Clears the selection and the focus of the one row that has them: asking the list view to change the
// state of every row at once, or to look for a second selected row, visits all rows of a large listing.
void TFileList::ClearSelection() {
    if (!Handle()) return;
    int focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
    if (focused >= 0 && (ListView_GetItemState(Handle(), focused, LVIS_SELECTED) & LVIS_SELECTED)) {
        ListView_SetItemState(Handle(), focused, 0, LVIS_SELECTED | LVIS_FOCUSED);
        return;
    }
    // A single-selection list: at most one row is selected. With none, the search would visit every row.
    if (ListView_GetSelectedCount(Handle()) == 0) {
        if (focused >= 0) ListView_SetItemState(Handle(), focused, 0, LVIS_FOCUSED);
        return;
    }
    int selected = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
    if (selected >= 0) ListView_SetItemState(Handle(), selected, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (focused >= 0) ListView_SetItemState(Handle(), focused, 0, LVIS_FOCUSED);
}

void TFileList::Publish(bool invalidateAll) {
    if (!Handle()) return;
    ListView_SetItemCountEx(Handle(), static_cast<int>(rows_.size()),
                            invalidateAll ? 0 : (LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL));
    if (invalidateAll) InvalidateRect(Handle(), nullptr, TRUE);
}

std::wstring TFileList::Caption(int index) const {
    return index >= 0 && index < Count() ? CaptionOf(rows_[index]) : std::wstring();
}

std::wstring TFileList::Name(int index) const {
    return index >= 0 && index < Count() ? rows_[index].name : std::wstring();
}

std::wstring TFileList::PathOf(int index) const {
    if (index < 0 || index >= Count()) return {};
    const TFileRow &row = rows_[index];
    const std::wstring &dir = row.directoryIndex < listed_.size() ? listed_[row.directoryIndex] : Directory();
    return dir + row.name;
}

bool TFileList::IsParent(int index) const { return IsFolder(index) && rows_[index].name == L".."; }

bool TFileList::IsFolder(int index) const { return index >= 0 && index < Count() && rows_[index].IsFolder(); }

bool TFileList::Marked(int index) const { return index >= 0 && index < Count() && rows_[index].Marked(); }

void TFileList::SetMarked(int index, bool marked) {
    if (index < 0 || index >= Count()) return;
    rows_[index].stateIndex = marked ? 0 : -1;
    if (Handle()) ListView_RedrawItems(Handle(), index, index);
}

void TFileList::RepaintRows() {
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

// Asking the list view for the selected row visits every row before it, all rows when there is none (a
// tenth of a second on a million rows under Wine): the count and the cursor row answer first.
int TFileList::Selected() const {
    if (!Handle() || ListView_GetSelectedCount(Handle()) == 0) return -1;
    int focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
    if (focused >= 0 && (ListView_GetItemState(Handle(), focused, LVIS_SELECTED) & LVIS_SELECTED)) return focused;
    return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

void TFileList::SetSelected(int index) {
    ClearSelection();
    if (index < 0 || index >= Count()) return;
    ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(Handle(), index, FALSE);
}

void TFileList::PlaceCursor() {
    if (Count() == 0 || Selected() >= 0) return;
    ListView_SetItemState(Handle(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TFileList::GetDispInfo(NMLVDISPINFOW &info) {
    LVITEMW &item = info.item;
    if (applying_) {
        // The row asked for is not in its place yet.
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
        return;
    }
    if (item.iItem < 0 || item.iItem >= Count()) return;
    TFileRow &row = rows_[item.iItem];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::wstring text = item.iSubItem > 0 ? SubItemText(row, item.iSubItem) : CaptionOf(row);
        size_t n = std::min<size_t>(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        if (n) std::copy_n(text.data(), n, item.pszText);
        item.pszText[n] = 0;
    }
    if (item.mask & LVIF_IMAGE) {
        if (row.iconPending) {
            row.iconPending = false;
            int icon = TShellTypeCache::IconOfFile(PathOf(item.iItem));
            if (icon >= 0) row.icon = icon;
        }
        item.iImage = row.folder ? folderIcon_ : row.icon;
    }
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(row.stateIndex + 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

void TFileList::DropFiles(HDROP drop) {
    std::vector<std::wstring> files;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT n = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(n + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), n + 1);
        name.resize(n);
        files.push_back(std::move(name));
    }
    POINT pt{};
    DragQueryPoint(drop, &pt);
    DragFinish(drop);
    if (OnFileDrop) OnFileDrop(files, pt.x, pt.y);
}

bool TFileList::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT &result) {
    if (msg != WM_NOTIFY) return false;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    result = 0;
    switch (hdr->code) {
    case LVN_GETDISPINFOW:
        GetDispInfo(*reinterpret_cast<NMLVDISPINFOW *>(lParam));
        return true;
    case LVN_COLUMNCLICK: {
        int column = reinterpret_cast<NMLISTVIEW *>(lParam)->iSubItem;
        if (column >= 0 && column < columnMap_.count) SetSortColumn(columnMap_.memberAt[column]);
        if (OnColumnClick) OnColumnClick();
        return true;
    }
    case LVN_ITEMCHANGED: {
        const auto *change = reinterpret_cast<const NMLISTVIEW *>(lParam);
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
            !(change->uOldState & LVIS_SELECTED) && OnCursorMove)
            OnCursorMove();
        return true;
    }
    case LVN_ODFINDITEMW:
    case LVN_ODFINDITEMA:
        // The list view's own search for typed letters: there is no quick search, so no row is found and
        // the cursor stays where the user put it (unanswered, the list view would take row 0).
        result = -1;
        return true;
    case NM_CLICK:
        if (OnClick) OnClick();
        return true;
    case NM_DBLCLK:
        if (OnDblClick) OnDblClick();
        return true;
    case NM_RCLICK:
        // The list view's own drag detection swallows the right button's release; this is that release.
        if (OnMouseUp) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(Handle(), &pt);
            OnMouseUp(ui::TMouseButton::mbRight, ui::KeyboardShiftState(), pt.x, pt.y);
        }
        return true;
    default:
        return false;
    }
}

namespace {

bool MovesCursor(WPARAM key) {
    switch (key) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
    case VK_SPACE:
        return true;
    default:
        return false;
    }
}

} // namespace

// The list view moves its cursor by selecting the new row while the old one is still selected, and in
// doing so visits every row of a virtual list (a tenth of a second a key on 300,000 rows under Wine);
// with no row selected the same move costs next to nothing. So the cursor row gives up its selection
// just before a key or click moves the cursor, and takes it back when the cursor did not move.
LRESULT TFileList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_PAINT:
        // While the rows are put in their places the list keeps what it shows; all of it is painted after.
        if (applying_) {
            ValidateRect(Handle(), nullptr);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (MovesCursor(wParam)) {
            int was = ReleaseCursorSelection();
            LRESULT result = DefaultProc(msg, wParam, lParam);
            // A move selects the row it reaches, which then has the focus too; asking for any selected row
            // would visit them all.
            if (was >= 0 && Handle()) {
                int now = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
                if (now < 0 || !(ListView_GetItemState(Handle(), now, LVIS_SELECTED) & LVIS_SELECTED))
                    ListView_SetItemState(Handle(), was, LVIS_SELECTED, LVIS_SELECTED);
            }
            return result;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // A click beside the rows leaves no row selected, as the list view does by itself. (The second
        // press of a double click, on the row the first one selected, moves nothing and is left alone.)
        ReleaseCursorSelection();
        break;
    default:
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

int TFileList::ReleaseCursorSelection() {
    if (!Handle()) return -1;
    int focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
    if (focused < 0 || !(ListView_GetItemState(Handle(), focused, LVIS_SELECTED) & LVIS_SELECTED)) return -1;
    ListView_SetItemState(Handle(), focused, 0, LVIS_SELECTED);
    return focused;
}

} // namespace filelist

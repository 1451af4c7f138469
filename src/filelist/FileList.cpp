#include "filelist/FileList.h"

#include <shellapi.h>

#include <algorithm>

#include "ui/Application.h"
#include "ui/ScreenScale.h"

namespace filelist {

namespace {

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

} // namespace

TFileList::TFileList() = default;

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

void TFileList::SetSortColumn(TFileInfo value) {
    if (listing_.SetSortColumn(value) && viewStyle_ == vsReport) listing_.Sort();
}

void TFileList::SetViewColumns(TFileInfos value) {
    if (!listing_.SetViewColumns(value)) return;
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
    listing_.MapColumns();
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
    const TColumnMap &columnMap = listing_.ColumnMap();
    for (int c = 0; c < columnMap.count; ++c) {
        TFileInfo member = columnMap.memberAt[c];
        const TColumnInfo &info = kColumnTable[member];
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.fmt = info.format;
        col.cx = IsShown(ViewColumns(), member) ? widths_[member] : 0;
        col.pszText = const_cast<wchar_t *>(info.caption);
        col.iSubItem = c;
        SendMessageW(Handle(), LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
    }
}

void TFileList::ListingBegins() {
    AttachPictures();
    cursorBeforeListing_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void TFileList::ListingEnds() { SetCursor(cursorBeforeListing_); }

void TFileList::DropRows(const std::function<void()> &drop) {
    ClearSelection();
    drop();
    // A view that shows no rows already is left alone: told so again, it would only repaint.
    if (Handle() && ListView_GetItemCount(Handle()) != 0) Publish(true);
}

void TFileList::MoveRows(const std::function<std::vector<int>()> &move) {
    std::vector<int> selected;
    int focused = -1;
    if (Handle()) {
        // A single-selection list: the one selected row, if any.
        if (int i = Selected(); i >= 0) selected.push_back(i);
        focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
        ClearSelection();
    }
    std::vector<int> moved = move();
    Publish(true);
    if (!Handle()) return;
    for (int old : selected)
        if (old < static_cast<int>(moved.size())) ListView_SetItemState(Handle(), moved[old], LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0 && focused < static_cast<int>(moved.size()))
        ListView_SetItemState(Handle(), moved[focused], LVIS_FOCUSED, LVIS_FOCUSED);
}

void TFileList::RowAdded(int index, const std::wstring &dir, const WIN32_FIND_DATAW &fd) {
    if (OnFileAdd) OnFileAdd(*this, index, dir, fd);
}

bool TFileList::FileRowsReady() {
    AttachSystemImages();
    return pictures_ == TPictures::shell;
}

// The one place where a busy listing lets the message loop run. False when the listing is to stop.
bool TFileList::ServeMessages(TServe what, HANDLE until) {
    if (until) {
        ui::Application().ServeUntil(until, ui::TApplication::svAll);
        return Handle() != nullptr;
    }
    if (what == TServe::all) {
        ui::Application().ProcessMessages();
        return Handle() != nullptr;
    }
    // Keys and clicks would act on rows not in their places: they stay queued. Paints, timers, posted
    // and sent messages are served, so that the window answers.
    return ui::Application().ServePending(ui::TApplication::svPaint | ui::TApplication::svPosted);
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
    ListView_SetItemCountEx(Handle(), Count(),
                            invalidateAll ? 0 : (LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL));
    if (invalidateAll) InvalidateRect(Handle(), nullptr, TRUE);
}

std::wstring TFileList::Caption(int index) const {
    return index >= 0 && index < Count() ? CaptionOf(Row(index)) : std::wstring();
}

std::wstring TFileList::Name(int index) const { return index >= 0 && index < Count() ? Row(index).name : std::wstring(); }

bool TFileList::IsParent(int index) const { return IsFolder(index) && Row(index).name == L".."; }

bool TFileList::IsFolder(int index) const { return index >= 0 && index < Count() && Row(index).IsFolder(); }

bool TFileList::Marked(int index) const { return index >= 0 && index < Count() && Row(index).Marked(); }

void TFileList::SetMarked(int index, bool marked) {
    if (index < 0 || index >= Count()) return;
    listing_.Row(index).stateIndex = marked ? 0 : -1;
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
    if (listing_.Rearranging()) {
        // The row asked for is not in its place yet.
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
        return;
    }
    if (item.iItem < 0 || item.iItem >= Count()) return;
    const TFileRow &row = Row(item.iItem);
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::wstring text = item.iSubItem > 0 ? listing_.ColumnText(row, item.iSubItem) : CaptionOf(row);
        size_t n = std::min<size_t>(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        if (n) std::copy_n(text.data(), n, item.pszText);
        item.pszText[n] = 0;
    }
    if (item.mask & LVIF_IMAGE) item.iImage = row.folder ? folderIcon_ : listing_.FileIcon(item.iItem);
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
        if (column >= 0 && column < ColumnMap().count) SetSortColumn(ColumnMap().memberAt[column]);
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
        if (listing_.Rearranging()) {
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

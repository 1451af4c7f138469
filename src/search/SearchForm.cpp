#include "search/SearchForm.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <vector>

#include "ui/Application.h"
#include "ui/ScreenScale.h"
#include "ui/Ticks.h"
#include "ui/Threads.h"

namespace search {

namespace {

// Control identifiers stay clear of IDOK and IDCANCEL, which the dialog keys send.
enum : int {
    kFindHistoryBoxId = 101,
    kFindDirEditId,
    kFindDirButtonId,
    kCheckTextSearchId,
    kFindTextHistoryBoxId,
    kFindBtnId,
    kCancelBtnId,
    kFindListViewId,
    kViewBtnId,
    kNewFindBtnId,
    kGoToBtnId,
    kStatusId,
};

// How often a running search looks at the keyboard and at least how often it shows where it is; the
// found rows show first at the first showing, then twice a second: each showing of the list redraws its
// scroll bar, which under a theme costs 10 to 15 ms of processor time.
constexpr DWORD kPollIntervalMs = 25, kShowIntervalMs = 100, kListIntervalMs = 500;
// After Escape, how long the dialog waits for the walk to notice; a walk stuck in a slow folder (a network
// share that does not answer, a drive that spins up) is left to end on its own.
constexpr DWORD kStopWaitMs = 1000;
constexpr int kAttributesSearched = 39; // read-only, hidden, system and archive

void CopyText(const std::wstring &text, wchar_t *buffer, int size) {
    if (!buffer || size <= 0) return;
    size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = L'\0';
}

} // namespace

// One search: the walk runs on a thread of its own with a copy of the dialog's finder, so that the dialog
// looks at the keyboard even while the walk waits on a slow folder. Shared with that thread, which may
// outlive the search it was given up by.
struct TSearchRun {
    TSearchRun(const TMyFF &settings, std::wstring startDirectory)
        : finder(settings), start(std::move(startDirectory)) {
        finder.SetStop(&stop);
    }

    struct TFound {
        uint32_t directory; // its number among the directories of found files, counted from 0
        std::wstring name;
        uint64_t size;
    };

    TMyFF finder;
    std::wstring start;
    bool threaded = true;
    std::atomic<bool> stop{false};

    // Handed over under the lock.
    std::mutex lock;
    std::condition_variable changed;
    bool ended = false;
    std::wstring status;
    std::vector<std::wstring> directories; // of the files found, each once, in the order met
    std::vector<TFound> found;

    // The walk's own side: what it found since it last handed over. A batch at a time spares both threads
    // a lock a file; each folder change hands it over, so that the name of a folder slow to list shows
    // while the walk waits on it, and so does a file found 20 ms or more after the last hand-over.
    struct TWalkSide {
        std::wstring lastDirectory;
        uint32_t directories = 0;
        std::vector<std::wstring> newDirectories;
        std::vector<TFound> found;
        std::wstring status;
        DWORD handedOver = GetTickCount();
    } walk;

    void FoundFile(const std::wstring &directory, const wchar_t *name, uint64_t size) {
        if (walk.directories == 0 || walk.lastDirectory != directory) {
            walk.lastDirectory = directory;
            walk.newDirectories.push_back(directory);
            ++walk.directories;
        }
        walk.found.push_back({walk.directories - 1, name, size});
        if (walk.found.size() >= kBatchRows || GetTickCount() - walk.handedOver >= kBatchMs) HandOver(false);
    }

    void HandOver(bool end) {
        {
            std::lock_guard<std::mutex> hold(lock);
            try {
                for (std::wstring &d : walk.newDirectories) directories.push_back(std::move(d));
                if (found.empty()) found.swap(walk.found);
                else std::move(walk.found.begin(), walk.found.end(), std::back_inserter(found));
                if (!walk.status.empty()) status.swap(walk.status);
            } catch (...) {
                // Out of memory: what was handed over stays found, and the end is still told.
            }
            if (end) {
                ended = true;
                changed.notify_one();
            }
        }
        walk.newDirectories.clear();
        walk.found.clear();
        walk.status.clear();
        walk.handedOver = GetTickCount();
    }

    static constexpr size_t kBatchRows = 4096;
    static constexpr DWORD kBatchMs = 20;
};

namespace {
// The search the calling thread walks for; none on the dialog's own thread.
thread_local TSearchRun *t_run = nullptr;
} // namespace

void TFoundFilesView::Create(HWND parent, int id, const TFoundFiles &rows) {
    rows_ = &rows;
    ui::TListView::Create(parent, id, LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
}

void TFoundFilesView::Publish() {
    ListView_SetItemCountEx(Handle(), rows_->Count(), LVSICF_NOSCROLL);
    InvalidateRect(Handle(), nullptr, TRUE);
    shown_.clear();
}

void TFoundFilesView::PublishGrowth() {
    HWND list = Handle();
    const int top = ListView_GetTopIndex(list), end = std::min(rows_->Count(), top + ListView_GetCountPerPage(list) + 1);
    std::vector<uint32_t> shown;
    for (int row = top; row < end; ++row) shown.push_back(rows_->Identity(row));
    // Only the scroll bar follows the count; the rows are drawn again only when they show other files.
    ListView_SetItemCountEx(list, rows_->Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    if (shown != shown_) {
        InvalidateRect(list, nullptr, TRUE);
        shown_.swap(shown);
    }
}

bool TFoundFilesView::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT &result) {
    if (msg != WM_NOTIFY) return false;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    result = 0;
    switch (hdr->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW &item = reinterpret_cast<NMLVDISPINFOW *>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < rows_->Count()) {
            switch (item.iSubItem) {
            case 0: CopyText(rows_->Name(item.iItem), item.pszText, item.cchTextMax); break;
            case 1: CopyText(rows_->SizeText(item.iItem), item.pszText, item.cchTextMax); break;
            case 2: CopyText(rows_->Directory(item.iItem), item.pszText, item.cchTextMax); break;
            default: CopyText(L"", item.pszText, item.cchTextMax); break;
            }
        }
        return true;
    }
    case LVN_ODFINDITEMW: {
        // Typing a name's first letters goes to that row; nothing found leaves the cursor where it is.
        auto *find = reinterpret_cast<NMLVFINDITEMW *>(lParam);
        result = -1;
        if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz)
            result = rows_->FindPrefix(find->lvfi.psz, find->iStart);
        return true;
    }
    case NM_CLICK:
        if (OnClick) OnClick();
        return true;
    case NM_DBLCLK:
        if (OnDblClick) OnDblClick();
        return true;
    default:
        return false;
    }
}

TSearchForm::TSearchForm() {
    BrowseFindFolder.Title = L"\u0412\u044B\u0431\u043E\u0440 \u043F\u0430\u043F\u043A\u0438 \u0434\u043B\u044F "
                             L"\u043F\u043E\u0438\u0441\u043A\u0430"; // "Выбор папки для поиска"
    BrowseFindFolder.Flags = ui::BrowseFlag(ui::bfFileSysDirsOnly) | ui::BrowseFlag(ui::bfStatusText);
    BrowseFindFolder.ShowPathInStatusArea = true;
    BrowseFindFolder.RootFolder = ui::foMyComputer;
}

void TSearchForm::Create() {
    CreateForm(L"Find Files", 508, 347, false, nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(508, 347);
    CenterOnScreen();
    BrowseFindFolder.OwnerWindow = Handle();
    HWND self = Handle();
    HFONT font = FormFont();

    // Created in tab order.
    Label1.Create(self, L"Search for : ");
    Label1.SetBounds(8, 12, 66, 13);
    FindHistoryBox.ID = 0;
    FindHistoryBox.Create(self, kFindHistoryBoxId);
    FindHistoryBox.SetBounds(76, 8, 324, 200);
    Label2.Create(self, L"Search in : ");
    Label2.SetBounds(8, 38, 66, 13);
    FindDirEdit.Create(self, kFindDirEditId, ES_AUTOHSCROLL | WS_CLIPCHILDREN);
    FindDirEdit.SetBounds(76, 34, 324, 21);
    FindDirEditButton.Create(FindDirEdit.Handle(), kFindDirButtonId, L"...");
    SetWindowLongPtrW(FindDirEditButton.Handle(), GWL_STYLE,
                      GetWindowLongPtrW(FindDirEditButton.Handle(), GWL_STYLE) & ~WS_TABSTOP);
    int inner = FindDirEdit.ClientWidth(), innerHeight = FindDirEdit.ClientHeight();
    FindDirEditButton.SetBounds(inner - 18, 0, 18, innerHeight);
    SendMessageW(FindDirEdit.Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, ui::Scaled(20)));
    CheckTextSearch.Create(self, kCheckTextSearchId, L"Text : ");
    CheckTextSearch.SetBounds(8, 62, 66, 17);
    FindTextHistoryBox.ID = 0;
    FindTextHistoryBox.Create(self, kFindTextHistoryBoxId);
    FindTextHistoryBox.SetBounds(76, 60, 324, 200);
    Find_Btn.Create(self, kFindBtnId, L"Start Search", BS_DEFPUSHBUTTON);
    Find_Btn.SetBounds(412, 8, 88, 25);
    Cancel_Btn.Create(self, kCancelBtnId, L"Cancel");
    Cancel_Btn.SetBounds(412, 38, 88, 25);

    FindListView.Create(self, kFindListViewId, rows_);
    FindListView.SetBounds(8, 92, 392, 228);
    FindListView.AddColumn(L"Name", 130);
    FindListView.AddColumn(L"Size", 80);
    FindListView.AddColumn(L"Directory", 150);
    View_Btn.Create(self, kViewBtnId, L"View");
    View_Btn.SetBounds(412, 92, 88, 25);
    NewFind_Btn.Create(self, kNewFindBtnId, L"New Search");
    NewFind_Btn.SetBounds(412, 122, 88, 25);
    GoTo_Btn.Create(self, kGoToBtnId, L"Goto");
    GoTo_Btn.SetBounds(412, 152, 88, 25);
    stb.Create(self, kStatusId);
    SendMessageW(stb.Handle(), WM_SIZE, 0, 0);
    int wholeWidth = -1;
    SendMessageW(stb.Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&wholeWidth));

    for (ui::TWindow *w : std::initializer_list<ui::TWindow *>{
             &Label1, &FindHistoryBox, &Label2, &FindDirEdit, &FindDirEditButton, &CheckTextSearch,
             &FindTextHistoryBox, &Find_Btn, &Cancel_Btn, &FindListView, &View_Btn, &NewFind_Btn, &GoTo_Btn, &stb}) {
        w->SetFont(font);
        // The dialog previews the keys: F3 views the selected row wherever the focus is.
        w->OnKeyDown = [this](WORD &key, ui::TShiftState shift) { FormKeyDown(key, shift); };
    }
    // The browse button is no tab stop: from the keyboard, Alt+Down in the field opens the folder tree.
    FindDirEdit.OnKeyDown = [this](WORD &key, ui::TShiftState shift) {
        if (key == VK_DOWN && (shift & ui::kModifierMask) == ui::ssAlt) {
            key = 0;
            FindDirEditButtonClick();
            return;
        }
        FormKeyDown(key, shift);
    };
    SetDefaultId(kFindBtnId);

    MyFF.SetAttributes(TMyFF::AllAttributes);
    MyFF.SetRecurseDirs(true);
    MyFF.OnChDir = [this](const std::wstring &name, bool &cancel) { MyFFChDir(name, cancel); };
    MyFF.OnAddFile = [this](const std::wstring &path, const WIN32_FIND_DATAW &data, bool &cancel) {
        MyFFAddFile(path, data, cancel);
    };
    OnShow = [this] { FormShow(); };
    // Escape stops a running search; it never closes the dialog.
    OnCancelKey = [] {};
    Find_Btn.OnClick = [this] { Find_BtnClick(); };
    Cancel_Btn.OnClick = [this] { Cancel_BtnClick(); };
    View_Btn.OnClick = [this] { View_BtnClick(); };
    NewFind_Btn.OnClick = [this] { NewFind_BtnClick(); };
    GoTo_Btn.OnClick = [this] { GoTo_BtnClick(); };
    FindDirEditButton.OnClick = [this] { FindDirEditButtonClick(); };
    CheckTextSearch.OnClick = [this] { CheckTextSearchClick(); };
    SetResultButtons(false);
}

void TSearchForm::SetResultButtons(bool enabled) {
    for (ui::TButton *b : {&View_Btn, &NewFind_Btn, &GoTo_Btn}) EnableWindow(b->Handle(), enabled);
}

void TSearchForm::ShowStatus() {
    SendMessageW(stb.Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(status_.c_str()));
    shownStatus_ = status_;
}

void TSearchForm::SetStatus(const std::wstring &text) {
    status_ = text;
    if (!searching_) ShowStatus();
}

void TSearchForm::FormShow() {
    FindHistoryBox.SetText(L"");
    FindTextHistoryBox.SetText(L"");
    CheckTextSearch.SetChecked(false);
    SetResultButtons(false);
    FindHistoryBox.SetFocus();
    focusOnActivate_ = true;
    SetStatus(L"");
}

void TSearchForm::FormKeyDown(WORD &key, ui::TShiftState shift) {
    if (key == VK_F3 && (shift & ui::kModifierMask) == 0) {
        View_BtnClick();
        key = 0;
    }
}

void TSearchForm::Find_BtnClick() {
    if (searching_) return;
    MyFF.SetAttributes(kAttributesSearched);
    MyFF.SetFindString(CheckTextSearch.Checked() ? FindTextHistoryBox.Text() : std::wstring());
    MyFF.SetFileMask(FindHistoryBox.Text());
    MyFF.SetRecurseDirs(true);
    // The walk starts first; the dialog gets ready for it while it runs.
    std::shared_ptr<TSearchRun> run = StartSearch(FindDirEdit.Text());
    FindHistoryBox.AddItem(FindHistoryBox.Text());
    SetResultButtons(false);
    {
        // The rows of the last search go while the walk runs.
        TFoundFiles last;
        last.Swap(rows_);
        FindListView.Publish();
    }

    // The search runs inside this handler; its buttons must not act meanwhile. A button losing the focus
    // to its disabling would leave the keyboard nowhere, so the focus waits on the list.
    HWND focus = GetFocus();
    if (focus == Find_Btn.Handle() || focus == Cancel_Btn.Handle()) FindListView.SetFocus();
    const std::wstring caption = Text();
    SetText(L"<ESC> to cancel...");
    struct SearchScope {
        TSearchForm &form;
        HWND focus;
        std::wstring caption;
        SearchScope(TSearchForm &f, HWND h, std::wstring c) : form(f), focus(h), caption(std::move(c)) {
            form.searching_ = true;
            EnableWindow(form.Find_Btn.Handle(), FALSE);
            EnableWindow(form.Cancel_Btn.Handle(), FALSE);
        }
        ~SearchScope() {
            form.searching_ = false;
            EnableWindow(form.Find_Btn.Handle(), TRUE);
            EnableWindow(form.Cancel_Btn.Handle(), TRUE);
            form.SetText(caption);
            form.SetResultButtons(true);
            if (focus && IsWindow(focus) && IsWindowEnabled(focus)) ::SetFocus(focus);
        }
    } scope(*this, focus, caption);

    WaitForSearch(*run);
    rows_.Merge();
    FindListView.Publish();
    status_ = std::to_wstring(rows_.Count()) + L" File(s) found";
    ShowStatus();
}

std::shared_ptr<TSearchRun> TSearchForm::StartSearch(const std::wstring &start) {
    auto run = std::make_shared<TSearchRun>(MyFF, start);
    run->threaded = ui::StartThread([run, start] {
        t_run = run.get();
        try {
            run->finder.Execute(start);
        } catch (...) {
            // Out of memory in the walk: what was found stays found.
        }
        t_run = nullptr;
        run->HandOver(true);
    });
    return run;
}

void TSearchForm::WaitForSearch(TSearchRun &run) {
    if (!run.threaded) {
        // No thread to be had: walk here, and look at the keyboard only when it ends.
        run.finder.Execute(run.start);
        return;
    }
    DWORD lastShow = GetTickCount(), showInterval = kShowIntervalMs, nextList = lastShow + kShowIntervalMs;
    for (;;) {
        if (TakeFound(run, kPollIntervalMs)) return;
        if (EscapePressed()) {
            run.stop = true;
            MessageBoxW(Handle(), L"User abort!", ui::Application().Title().c_str(), MB_OK);
            TakeFound(run, kStopWaitMs);
            return;
        }
        const DWORD now = GetTickCount();
        if (now - lastShow < showInterval) continue;
        // The status line shows where the walk is at each showing. The list, whose scroll bar alone costs
        // milliseconds to draw where the system draws it by a theme, follows less often: its showing
        // never takes more than a tenth of the time, so that the walk beside it keeps the processor. On a
        // slow display the showings come less often, so that they never take more than a fifth of the time;
        // the keyboard is looked at as often as ever.
        const bool list = ui::TickReached(now, nextList);
        Repaint(list);
        lastShow = GetTickCount();
        if (list) nextList = lastShow + std::max<DWORD>(kListIntervalMs, (lastShow - now) * 9);
        else showInterval = std::max<DWORD>(kShowIntervalMs, (lastShow - now) * 4);
    }
}

bool TSearchForm::TakeFound(TSearchRun &run, DWORD waitMs) {
    std::vector<TSearchRun::TFound> found;
    std::vector<std::wstring> directories;
    bool ended;
    {
        std::unique_lock<std::mutex> hold(run.lock);
        run.changed.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return run.ended; });
        ended = run.ended;
        found.swap(run.found);
        directories.swap(run.directories);
        if (!run.status.empty()) status_ = std::move(run.status);
        run.status.clear();
    }
    // The rows were emptied before the first files came, so the walk's numbers of the directories are
    // the rows' numbers too.
    for (const std::wstring &d : directories) rows_.AddDirectory(d);
    for (TSearchRun::TFound &f : found) rows_.Add(f.directory, std::move(f.name), f.size);
    // Sorted now, while the walk goes on beside, rather than all at once when it ends.
    rows_.SortNew();
    return ended;
}

// On the walk's thread: the events hand what they see to the dialog's thread.
void TSearchForm::MyFFChDir(const std::wstring &name, bool &cancel) {
    if (TSearchRun *run = t_run) {
        run->walk.status = L"Scanning " + name;
        run->HandOver(false);
        cancel = run->stop || ui::Ending();
        return;
    }
    status_ = L"Scanning " + name;
}

void TSearchForm::MyFFAddFile(const std::wstring &path, const WIN32_FIND_DATAW &data, bool &cancel) {
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (TSearchRun *run = t_run) {
        run->FoundFile(path, data.cFileName, size);
        cancel = run->stop || ui::Ending();
        return;
    }
    rows_.Add(path, data.cFileName, size);
}

void TSearchForm::Repaint(bool list) {
    if (list && rows_.Merge()) FindListView.PublishGrowth();
    if (status_ != shownStatus_) ShowStatus();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Escape counts when it is held down now, or when a press of it waits among the dialog's keyboard input.
// Reading that input is also what lets the key state change at all where the system updates it only while
// the program reads messages (so under Wine). The other keys typed during a search are dropped: no input
// of the dialog may act until it ends.
bool TSearchForm::EscapePressed() {
    bool pressed = false;
    for (const MSG &msg : ui::Application().DropKeys(nullptr))
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) pressed = true;
    if ((GetAsyncKeyState(VK_ESCAPE) & ~1) != 0) pressed = true;
    return pressed;
}

bool TSearchForm::SelectedRow(std::wstring &directory, std::wstring &name) const {
    int row = FindListView.Selected();
    if (row < 0 || row >= rows_.Count()) return false;
    directory = rows_.Directory(row);
    name = rows_.Name(row);
    return true;
}

void TSearchForm::View_BtnClick() {
    std::wstring directory, name;
    if (searching_ || !SelectedRow(directory, name)) return;
    if (ViewFile) ViewFile(directory + name);
}

void TSearchForm::NewFind_BtnClick() {
    FindHistoryBox.SetText(L"");
    FindTextHistoryBox.SetText(L"");
    CheckTextSearch.SetChecked(false);
    SetResultButtons(false);
    SetStatus(L"");
    FindHistoryBox.SetFocus();
}

void TSearchForm::GoTo_BtnClick() {
    std::wstring directory, name;
    if (searching_ || !SelectedRow(directory, name)) return;
    if (GotoDirectory) GotoDirectory(directory);
    SetModalResult(ui::mrOk);
}

void TSearchForm::Cancel_BtnClick() { SetModalResult(ui::mrCancel); }

void TSearchForm::FindDirEditButtonClick() {
    std::wstring start = FindDirEdit.Text();
    // A drive root ("C:\") is given whole; another folder without its last character, its trailing "\".
    if (start.size() != 3 && !start.empty()) start.pop_back();
    BrowseFindFolder.Directory = start;
    if (BrowseFindFolder.Execute()) FindDirEdit.SetText(BrowseFindFolder.Directory);
    FindHistoryBox.SetFocus();
}

void TSearchForm::CheckTextSearchClick() { FindTextHistoryBox.SetFocus(); }

LRESULT TSearchForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = ui::TForm::OnMessage(msg, wParam, lParam);
    // The form's activation puts the focus back where it was; a fresh showing starts in the mask box.
    if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && focusOnActivate_) {
        focusOnActivate_ = false;
        FindHistoryBox.SetFocus();
    }
    return result;
}

} // namespace search

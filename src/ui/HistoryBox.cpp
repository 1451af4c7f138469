#include "ui/HistoryBox.h"

#include <algorithm>

#include "ui/HistoryList.h"

namespace ui {

namespace {
constexpr UINT_PTR kListTimer = 1;
}

void THistoryBox::Create(HWND parent, int id, DWORD style) {
    // Unsorted whatever the caller asks: the history keeps its order.
    TComboBox::Create(parent, id, style & ~static_cast<DWORD>(CBS_SORT));
    TakeSharedHistory();
}

void THistoryBox::CreateOnFirstUse(HWND parent, int id, DWORD style) {
    TComboBox::CreateOnFirstUse(parent, id, style & ~static_cast<DWORD>(CBS_SORT));
    TakeSharedHistory();
}

void THistoryBox::TakeSharedHistory() {
    const THistoryList &shared = SharedHistory();
    for (int i = 0; i < shared.Count(); ++i)
        if (shared[i].id == ID)
            AddItem(shared[i].text);
}

// Until the window is made, the entries wait here and none is listed.
int THistoryBox::AddItem(const std::wstring &text) {
    entries_.push_back(text);
    if (!WindowMade()) return static_cast<int>(entries_.size()) - 1;
    return TComboBox::AddItem(text);
}

void THistoryBox::SetItems(THistoryEntries items) {
    if (!WindowMade()) {
        entries_ = std::move(items);
        loaded_ = entries_.size();
        listed_ = 0;
        return;
    }
    KillTimer(Handle(), kListTimer);
    // Clearing the list would also clear the edit field; the command being typed stays.
    std::wstring text = Text();
    Clear();
    entries_ = std::move(items);
    StartListing();
    SetText(text);
}

// Lists the whole history from its first entry, the first step at once and the rest as the loop runs.
void THistoryBox::StartListing() {
    loaded_ = entries_.size();
    listed_ = 0;
    // Room for every entry at once: the list would otherwise grow its storage again and again.
    SendMessageW(Handle(), CB_INITSTORAGE, loaded_, (entries_.Characters() + loaded_) * sizeof(wchar_t));
    ListNextStep();
    if (!ListComplete())
        SetTimer(Handle(), kListTimer, 0, nullptr);
}

// The made box lists the history that waited, and the command typed so far keeps its caret at its end.
void THistoryBox::AfterWindowMade() {
    StartListing();
    PlaceCaretAtEnd();
}

void THistoryBox::ListNextStep() {
    size_t end = std::min(loaded_, listed_ + kListStep);
    // The drop-down list would otherwise update its scroll bar for every entry.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    HWND list = GetComboBoxInfo(Handle(), &info) ? info.hwndList : nullptr;
    if (list)
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (; listed_ < end; ++listed_)
        SendMessageW(Handle(), CB_INSERTSTRING, listed_, reinterpret_cast<LPARAM>(entries_.CString(listed_)));
    if (list)
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

LRESULT THistoryBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kListTimer) {
        ListNextStep();
        if (ListComplete())
            KillTimer(Handle(), kListTimer);
        return 0;
    }
    return TComboBox::OnMessage(msg, wParam, lParam);
}

void THistoryBox::PlaceCaretAtEnd() {
    if (!WindowMade()) return; // the box places it when made
    int end = GetWindowTextLengthW(Handle());
    SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(end, end));
}

} // namespace ui

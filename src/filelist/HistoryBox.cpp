#include "filelist/HistoryBox.h"

#include "filelist/HistoryList.h"

namespace filelist {

void THistoryBox::Create(HWND parent, int id, DWORD style) {
    // Unsorted whatever the caller asks: the history keeps its order.
    ui::TComboBox::Create(parent, id, style & ~static_cast<DWORD>(CBS_SORT));
    const THistoryList &shared = SharedHistory();
    for (int i = 0; i < shared.Count(); ++i)
        if (shared[i].id == ID)
            AddItem(shared[i].text);
}

std::vector<std::wstring> THistoryBox::Items() const {
    std::vector<std::wstring> items;
    for (int i = 0, n = Count(); i < n; ++i)
        items.push_back(Item(i));
    return items;
}

void THistoryBox::SetItems(const std::vector<std::wstring> &items) {
    // Clearing the list would also clear the edit field; the command being typed stays.
    std::wstring text = Text();
    Clear();
    for (const std::wstring &item : items)
        AddItem(item);
    SetText(text);
}

void THistoryBox::PlaceCaretAtEnd() {
    int end = GetWindowTextLengthW(Handle());
    SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(end, end));
}

} // namespace filelist

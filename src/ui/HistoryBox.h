#pragma once
#include <string>

#include "ui/Controls.h"
#include "ui/HistoryEntries.h"

namespace ui {

// A drop-down combo box with an edit field whose list is a command history. When its window is created
// it takes every entry of the shared history that carries its ID.
//
// The entries are kept beside the list as well: they are the history as it is saved, exactly as added
// (the list itself cuts an entry at a NUL), and reading them costs no window message. A long history
// reaches the list in steps while the message loop runs, so that it never holds up the window.
class THistoryBox : public TComboBox {
public:
    int ID = 0;

    void Create(HWND parent, int id, DWORD style = CBS_DROPDOWN | CBS_AUTOHSCROLL);
    // The same box, its window made at first use (see TComboBox): the history waits beside it till then.
    void CreateOnFirstUse(HWND parent, int id, DWORD style = CBS_DROPDOWN | CBS_AUTOHSCROLL);

    const THistoryEntries &Items() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    // Appends an entry at the end of the history.
    int AddItem(const std::wstring &text);
    // Replaces the history; the text being typed stays.
    void SetItems(THistoryEntries items);
    // Whether the list shows every entry yet.
    bool ListComplete() const { return listed_ == loaded_; }
    // Puts the caret after the last character with nothing selected.
    void PlaceCaretAtEnd();

    // Entries put into the list at once by SetItems, and in each later step.
    static constexpr size_t kListStep = 500;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void AfterWindowMade() override;

private:
    void TakeSharedHistory();
    void ListNextStep();
    void StartListing();

    THistoryEntries entries_;
    // entries_[0, loaded_) came from SetItems; the list holds [0, listed_) of them and every entry added
    // after them.
    size_t loaded_ = 0;
    size_t listed_ = 0;
};

} // namespace ui

#pragma once
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace filelist {

// A drop-down combo box with an edit field whose list is a command history. When its window is created
// it takes every entry of the shared history that carries its ID.
class THistoryBox : public ui::TComboBox {
public:
    int ID = 0;

    void Create(HWND parent, int id, DWORD style = CBS_DROPDOWN | CBS_AUTOHSCROLL);

    std::vector<std::wstring> Items() const;
    void SetItems(const std::vector<std::wstring> &items);
    // Puts the caret after the last character with nothing selected.
    void PlaceCaretAtEnd();
};

} // namespace filelist

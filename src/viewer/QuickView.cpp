#include "viewer/QuickView.h"

#include "ui/Text.h"
#include "viewer/TextLoader.h"

namespace viewer {

void TQuickViewPane::Create(HWND parent, int id) {
    TTextView::Create(parent, id, 0);
    SetWordWrap(true);
}

void TQuickViewPane::Fill(const std::wstring &fullPath, bool isFolder) {
    if (isFolder) {
        ShowText(ui::ShownPath(fullPath) + L"\r\n");
        return;
    }
    try {
        OpenFile(fullPath);
    } catch (const EViewLoadError &e) {
        ShowText(ui::Widen(e.what()));
    }
}

} // namespace viewer

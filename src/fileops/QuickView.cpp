#include "fileops/QuickView.h"

#include "fileops/TextLoader.h"
#include "ui/Text.h"

namespace fileops {

void TQuickViewPane::Create(HWND parent, int id) { TTextMemo::Create(parent, id, ES_OEMCONVERT); }

void TQuickViewPane::Fill(const std::wstring &fullPath, bool isFolder) {
    Clear();
    if (isFolder) {
        ShowText(fullPath + L"\r\n");
        return;
    }
    std::wstring text;
    try {
        text = DecodeViewBytes(LoadViewBytes(fullPath), CP_ACP);
    } catch (const EViewLoadError &e) {
        ShowText(ui::Widen(e.what()));
        return;
    }
    if (!ShowText(text)) ShowText(ui::Widen(TextExceedsCapacity().what()));
}

} // namespace fileops

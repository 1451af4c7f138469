#include "ui/Controls.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

namespace {
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

TForm *FormOf(HWND hwnd) {
    return dynamic_cast<TForm *>(TWindow::FromHandle(GetAncestor(hwnd, GA_ROOT)));
}
} // namespace

void TButton::Create(HWND parent, int id, const std::wstring &caption, DWORD extraStyle) {
    CreateStandard(WC_BUTTONW, parent, kChild | WS_TABSTOP | BS_PUSHBUTTON | extraStyle, 0, id, caption.c_str());
}

bool TButton::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT &result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    if (OnClick) OnClick();
    if (ModalResult != 0)
        if (TForm *form = FormOf(Handle())) form->SetModalResult(ModalResult);
    result = 0;
    return true;
}

void TCheckBox::Create(HWND parent, int id, const std::wstring &caption) {
    CreateStandard(WC_BUTTONW, parent, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, id, caption.c_str());
}

bool TCheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT &result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    if (OnClick) OnClick();
    if (OnChange) OnChange();
    result = 0;
    return true;
}

void TLabel::Create(HWND parent, const std::wstring &caption, DWORD extraStyle) {
    CreateStandard(WC_STATICW, parent, kChild | SS_NOPREFIX | extraStyle, 0, -1, caption.c_str());
}

void TGroupBox::Create(HWND parent, const std::wstring &caption) {
    CreateStandard(WC_BUTTONW, parent, kChild | BS_GROUPBOX, 0, -1, caption.c_str());
}

void TEdit::Create(HWND parent, int id, DWORD extraStyle) {
    CreateStandard(WC_EDITW, parent, kChild | WS_TABSTOP | extraStyle, WS_EX_CLIENTEDGE, id);
}

void TEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

bool TEdit::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT &result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
    if (OnChange) OnChange();
    result = 0;
    return true;
}

void TMemo::Create(HWND parent, int id, DWORD extraStyle) {
    CreateStandard(WC_EDITW, parent, kChild | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | extraStyle, WS_EX_CLIENTEDGE,
                   id);
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

void TMemo::Clear() { SetWindowTextW(Handle(), L""); }

void TMemo::AppendLine(const std::wstring &line) {
    int end = GetWindowTextLengthW(Handle());
    SendMessageW(Handle(), EM_SETSEL, end, end);
    std::wstring text = (end > 0 ? L"\r\n" : L"") + line;
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TComboBox::Create(HWND parent, int id, DWORD style) {
    CreateStandard(WC_COMBOBOXW, parent, kChild | WS_VSCROLL | style, 0, id);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(Handle(), &info) && info.hwndItem && info.hwndItem != Handle()) {
        edit_ = info.hwndItem;
        AttachKeySource(edit_);
    }
}

void TComboBox::SetBounds(int x, int y, int width, int height) {
    RECT now = Bounds();
    if (height == droppedHeight_ && now.left == x && now.top == y && now.right - now.left == std::max(width, 0))
        return;
    droppedHeight_ = height;
    SetWindowPos(Handle(), nullptr, x, y, std::max(width, 0), std::max(height, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::Clear() { SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }

int TComboBox::AddItem(const std::wstring &text) {
    return static_cast<int>(SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int TComboBox::Count() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

std::wstring TComboBox::Item(int index) const {
    LRESULT n = SendMessageW(Handle(), CB_GETLBTEXTLEN, index, 0);
    if (n == CB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void TComboBox::SetItemIndex(int index) { SendMessageW(Handle(), CB_SETCURSEL, index, 0); }

bool TComboBox::DroppedDown() const { return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TComboBox::SetDroppedDown(bool dropped) { SendMessageW(Handle(), CB_SHOWDROPDOWN, dropped, 0); }

bool TComboBox::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    if (msg == WM_DRAWITEM && OnDrawItem) {
        OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT *>(lParam));
        result = TRUE;
        return true;
    }
    if (msg != WM_COMMAND) return false;
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
        if (OnChange) OnChange();
        break;
    case CBN_EDITCHANGE:
        if (OnChange) OnChange();
        break;
    case CBN_CLOSEUP:
        if (OnCloseUp) OnCloseUp();
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

void TListView::Create(HWND parent, int id, DWORD style) {
    CreateStandard(WC_LISTVIEWW, parent, kChild | WS_TABSTOP | style, WS_EX_CLIENTEDGE, id);
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT);
}

void TListView::AddColumn(const std::wstring &caption, int width, int format) {
    HWND header = ListView_GetHeader(Handle());
    int index = header ? Header_GetItemCount(header) : 0;
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<wchar_t *>(caption.c_str());
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col));
}

int TListView::AddItem(const std::wstring &caption, const std::vector<std::wstring> &subItems) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<wchar_t *>(caption.c_str());
    int index = static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 0; i < subItems.size(); ++i) {
        LVITEMW sub{};
        sub.iSubItem = static_cast<int>(i + 1);
        sub.pszText = const_cast<wchar_t *>(subItems[i].c_str());
        SendMessageW(Handle(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    }
    return index;
}

void TListView::Clear() { ListView_DeleteAllItems(Handle()); }

int TListView::Count() const { return ListView_GetItemCount(Handle()); }

int TListView::Selected() const { return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); }

std::wstring TListView::ItemText(int index, int subItem) const {
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(Handle(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

bool TListView::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT &result) {
    if (msg != WM_NOTIFY) return false;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    if (hdr->code == NM_CLICK && OnClick) OnClick();
    if (hdr->code == NM_DBLCLK && OnDblClick) OnDblClick();
    if (OnNotify) OnNotify(hdr);
    result = 0;
    return true;
}

void TTreeView::Create(HWND parent, int id, DWORD style) {
    CreateStandard(WC_TREEVIEWW, parent, kChild | WS_TABSTOP | style, WS_EX_CLIENTEDGE, id);
}

HTREEITEM TTreeView::AddItem(HTREEITEM parent, const std::wstring &text, LPARAM data) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent ? parent : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<wchar_t *>(text.c_str());
    ins.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TTreeView::Clear() { TreeView_DeleteAllItems(Handle()); }

bool TTreeView::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT &result) {
    if (msg != WM_NOTIFY) return false;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    if (hdr->code == TVN_SELCHANGEDW && OnSelChanged) OnSelChanged(reinterpret_cast<NMTREEVIEWW *>(lParam));
    result = 0;
    return true;
}

void TStatusBar::Create(HWND parent, int id) { CreateStandard(STATUSCLASSNAMEW, parent, kChild | SBARS_SIZEGRIP, 0, id); }

void TStatusBar::SetSimpleText(const std::wstring &text) {
    SendMessageW(Handle(), SB_SIMPLE, TRUE, 0);
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace ui

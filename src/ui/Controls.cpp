#include "ui/Controls.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/ScreenScale.h"

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

LRESULT TGroupBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return TWindow::OnMessage(msg, wParam, lParam);
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
    id_ = id;
    style_ = style;
    CreateBox(parent, kChild);
}

// The system's box, with the font and heights given so far.
void TComboBox::CreateBox(HWND parent, DWORD childStyle) {
    CreateStandard(WC_COMBOBOXW, parent, childStyle | WS_VSCROLL | style_, 0, id_);
    if (font_) SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (fieldHeight_ >= 0) SetItemHeights(fieldHeight_, itemHeight_);
    FindEdit();
    if (unlimitedText_) RemoveTextLimit();
}

void TComboBox::RemoveTextLimit() {
    unlimitedText_ = true;
    // 0: as long as the system lets a single-line edit be.
    if (!standIn_ && Handle()) SendMessageW(Handle(), CB_LIMITTEXT, 0, 0);
}

void TComboBox::CreateOnFirstUse(HWND parent, int id, DWORD style) {
    id_ = id;
    style_ = style;
    standIn_ = true;
    // Planned with its dropped-down height, the stand-in is made as high as the closed box.
    if (droppedHeight_ >= 0) {
        RECT planned = Bounds();
        TWindow::SetBounds(planned.left, planned.top, planned.right - planned.left, ClosedHeight());
    }
    CreateOwn(parent, kChild | WS_TABSTOP, 0, L"", reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TComboBox::FindEdit() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(Handle(), &info) && info.hwndItem && info.hwndItem != Handle()) {
        edit_ = info.hwndItem;
        AttachKeySource(edit_);
    }
}

void TComboBox::MakeWindow() {
    if (!standIn_ || !Handle()) return;
    HWND standIn = Handle();
    HWND parent = GetParent(standIn);
    RECT r = Bounds();
    bool visible = (GetWindowLongPtrW(standIn, GWL_STYLE) & WS_VISIBLE) != 0;
    bool focused = GetFocus() == standIn;
    std::wstring text = Text();
    standIn_ = false;
    ReleaseOwnWindow();
    TWindow::SetBounds(r.left, r.top, r.right - r.left, droppedHeight_ >= 0 ? droppedHeight_ : r.bottom - r.top);
    // The stand-in goes only once the box is in its place, so the box takes its place in the tab order too.
    struct DestroyLater {
        HWND window;
        ~DestroyLater() { DestroyWindow(window); }
    } standInGoes{standIn};
    CreateBox(parent, visible ? kChild : kChild & ~WS_VISIBLE);
    // Sized again after its heights are set: the box works out its list's height when it is sized.
    SetWindowPos(Handle(), standIn, r.left, r.top, r.right - r.left,
                 droppedHeight_ >= 0 ? droppedHeight_ : r.bottom - r.top, SWP_NOACTIVATE);
    if (edit_ && !text.empty()) SetWindowTextW(Handle(), text.c_str());
    AfterWindowMade();
    if (focused) ::SetFocus(edit_ ? edit_ : Handle());
}

HWND TComboBox::EditHandle() const {
    MakeWindowForQuery();
    return edit_;
}

void TComboBox::SetItemHeights(int field, int items) {
    fieldHeight_ = field;
    itemHeight_ = items;
    closedHeight_ = -1;
    if (!Handle()) return;
    if (standIn_) {
        FitStandIn();
        return;
    }
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scaled(field));
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, Scaled(items));
}

// The system's box: a sunken edge around a field as high as the font's line plus four, or as the field
// height set plus two. Measured once per font, in a memory context: a window's would cost server calls.
int TComboBox::ClosedHeight() const {
    if (closedHeight_ >= 0) return closedHeight_;
    int field = Scaled(fieldHeight_) + 2;
    if (fieldHeight_ < 0) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        DeleteDC(dc);
        field = tm.tmHeight + 4;
    }
    closedHeight_ = field + 2 * GetSystemMetrics(SM_CYEDGE);
    return closedHeight_;
}

void TComboBox::SetBounds(int x, int y, int width, int height) {
    RECT now = Bounds();
    if (height == droppedHeight_ && now.left == x && now.top == y && now.right - now.left == std::max(width, 0))
        return;
    droppedHeight_ = height;
    if (!Handle()) {
        TWindow::SetBounds(x, y, width, height);
        return;
    }
    int shown = standIn_ ? ClosedHeight() : std::max(height, 0);
    SetWindowPos(Handle(), nullptr, x, y, std::max(width, 0), shown, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::Clear() {
    MakeWindow();
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
}

int TComboBox::AddItem(const std::wstring &text) {
    MakeWindow();
    return static_cast<int>(SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int TComboBox::Count() const {
    MakeWindowForQuery();
    return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

std::wstring TComboBox::Item(int index) const {
    MakeWindowForQuery();
    LRESULT n = SendMessageW(Handle(), CB_GETLBTEXTLEN, index, 0);
    if (n == CB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

int TComboBox::ItemIndex() const {
    MakeWindowForQuery();
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    MakeWindow();
    SendMessageW(Handle(), CB_SETCURSEL, index, 0);
}

// A box not made yet has never dropped down.
bool TComboBox::DroppedDown() const { return !standIn_ && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TComboBox::SetDroppedDown(bool dropped) {
    if (standIn_ && !dropped) return;
    MakeWindow();
    SendMessageW(Handle(), CB_SHOWDROPDOWN, dropped, 0);
}

void TComboBox::FitStandIn() {
    RECT r = Bounds();
    if (r.bottom - r.top != ClosedHeight())
        SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, ClosedHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TComboBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (standIn_) return StandInMessage(msg, wParam, lParam);
    return TWindow::OnMessage(msg, wParam, lParam);
}

LRESULT TComboBox::StandInMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        PaintStandIn();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT: {
        font_ = reinterpret_cast<HFONT>(wParam);
        closedHeight_ = -1;
        FitStandIn();
        if (LOWORD(lParam)) Invalidate();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
        MakeWindow();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
        // The click goes on to the box in the stand-in's place: to its edit when it lands there, so the
        // caret goes where the user clicked, otherwise to the box, which drops its list. A right button's
        // release then reaches the edit itself, which offers its menu.
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        MakeWindow();
        HWND target = Handle();
        HWND inner = ChildWindowFromPointEx(Handle(), at, CWP_SKIPINVISIBLE);
        if (inner && inner != Handle()) {
            MapWindowPoints(Handle(), inner, &at, 1);
            target = inner;
        }
        return SendMessageW(target, msg, wParam, MAKELPARAM(at.x, at.y));
    }
    default:
        // Whoever talks to the box as a combo box gets the box.
        if (msg >= CB_GETEDITSEL && msg <= CB_MSGMAX) {
            MakeWindow();
            return SendMessageW(Handle(), msg, wParam, lParam);
        }
        return TWindow::OnMessage(msg, wParam, lParam);
    }
}

// The closed box as the system draws it: a sunken edge, the field, and the drop-down button.
void TComboBox::PaintStandIn() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r{};
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    RECT button = r;
    button.left = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
    DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    RECT field = r;
    field.right = button.left;
    InflateRect(&field, -1, -1);
    HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
    PaintField(dc, field);
    SelectObject(dc, old);
    EndPaint(Handle(), &ps);
}

void TComboBox::PaintField(HDC dc, const RECT &field) {
    std::wstring text = Text();
    RECT r = field;
    r.left += 1;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

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
    col.cx = Scaled(width);
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

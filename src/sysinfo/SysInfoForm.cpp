#include "sysinfo/SysInfoForm.h"

#include "sysinfo/SysInfoIds.h"
#include "sysinfo/SysInfoRows.h"
#include "ui/ScreenScale.h"

namespace sysinfo {

namespace {
constexpr int kClientWidth = 675, kClientHeight = 364, kButtonBarHeight = 36, kSplitterWidth = 3;
constexpr int kColumnWidth = 200, kButtonWidth = 72, kButtonHeight = 26, kExitMargin = 5;
constexpr int kTreeId = 101, kListId = 102, kStatusId = 103, kRefreshId = 104, kExitId = 105;
constexpr UINT_PTR kClockTimer = 1;
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr WORD kKeypad3 = 0x63, kKeypad9 = 0x69;

HFONT MakeFont(int points, int weight) {
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}
} // namespace

TSysInfoForm::~TSysInfoForm() {
    if (Handle())
        KillTimer(Handle(), kClockTimer);
    if (contextMenu_)
        DestroyMenu(contextMenu_);
}

void TSysInfoForm::Create() {
    CreateForm(L"System Info Manager", kClientWidth, kClientHeight, false, nullptr,
               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
    SetClientSize(kClientWidth, kClientHeight);
    treeWidth_ = ui::Scaled(treeWidth_);
    HWND self = Handle();
    HFONT font = FormFont();
    listFont_.Reset(MakeFont(9, FW_NORMAL));
    clockFont_.Reset(MakeFont(9, FW_BOLD));

    ButtonPanel.Create(self);
    ButtonPanel.SetFont(font);
    // The bar's buttons take part in the window's keyboard order: the window opens with the focus on
    // "Refresh", so the tree selects nothing by itself and the clock shows until a category is chosen.
    SetWindowLongPtrW(ButtonPanel.Handle(), GWL_EXSTYLE,
                      GetWindowLongPtrW(ButtonPanel.Handle(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    sbRefresh.Create(ButtonPanel.Handle(), kRefreshId, L"Refresh");
    sbRefresh.SetFont(font);
    sbRefresh.OnClick = [this] { cmRefresh(); };
    sbExit.Create(ButtonPanel.Handle(), kExitId, L"Close");
    sbExit.SetFont(font);
    sbExit.OnClick = [this] { cmExit(); };
    ButtonPanel.OnResize = [this] { ButtonPanelResize(); };

    tvSI.Create(self, kTreeId, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    tvSI.SetFont(listFont_.Get());
    tvSI.OnSelChanged = [this](NMTREEVIEWW *change) { cmGetItemData(change->itemNew.hItem); };
    tvSI.OnKeyDown = [this](WORD &key, ui::TShiftState shift) { cmExpCol(key, shift); };
    Splitter.Create(self);
    Splitter.OnMoved = [this](int delta) {
        treeWidth_ = std::max(ui::Scaled(20), std::min(tvSI.Width() + delta, ClientWidth() - ui::Scaled(40)));
        Layout();
    };
    EmptyPanel.Create(self);
    EmptyPanel.SetFont(clockFont_.Get());
    EmptyPanel.SetFontColor(kNavy);
    lvSI.Create(self, kListId, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    lvSI.SetFont(listFont_.Get());
    lvSI.AddColumn(L"Parameter", kColumnWidth);
    lvSI.AddColumn(L"Value", kColumnWidth);
    lvSI.SetVisible(false);

    StatusBar.Create(self, kStatusId);
    // The window keeps its size, so its status bar has no grip.
    SetWindowLongPtrW(StatusBar.Handle(), GWL_STYLE,
                      GetWindowLongPtrW(StatusBar.Handle(), GWL_STYLE) & ~SBARS_SIZEGRIP);
    StatusBar.SetFont(font);

    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, self, nullptr, GetModuleHandleW(nullptr), nullptr);
    AddHint(sbRefresh.Handle(), L"\u041E\u0431\u043D\u043E\u0432\u0438\u0442\u044C");
    AddHint(sbExit.Handle(), L"Close");

    HMENU menus = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_SYSINFOMENU));
    if (menus) {
        // The popup is kept alone; its bar is of no use.
        contextMenu_ = GetSubMenu(menus, 0);
        RemoveMenu(menus, 0, MF_BYPOSITION);
        DestroyMenu(menus);
    }
    OnCommand = [this](int id) {
        if (id == IDM_SI_REFRESH)
            cmRefresh();
        if (id == IDM_SI_EXIT)
            cmExit();
        // "About..." has no action.
    };
    OnShow = [this] { FormCreate(); };
    SetTimer(self, kClockTimer, 1000, nullptr);
    Layout();
    // Laid out again whenever sized: at another screen scale the form is sized once more when it first shows.
    OnResize = [this] { Layout(); };
}

void TSysInfoForm::AddHint(HWND control, const wchar_t *text) {
    if (!tooltip_)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t *>(text);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TSysInfoForm::Layout() {
    SendMessageW(StatusBar.Handle(), WM_SIZE, 0, 0);
    int statusHeight = StatusBar.Height();
    int top = ui::Scaled(kButtonBarHeight), height = ClientHeight() - top - statusHeight;
    ButtonPanel.SetBounds(0, 0, ClientWidth(), top);
    tvSI.SetBounds(0, top, treeWidth_, height);
    Splitter.SetBounds(treeWidth_, top, ui::Scaled(kSplitterWidth), height);
    int right = treeWidth_ + ui::Scaled(kSplitterWidth);
    lvSI.SetBounds(right, top, ClientWidth() - right, height);
    EmptyPanel.SetBounds(right, top, ClientWidth() - right, height);
}

void TSysInfoForm::ButtonPanelResize() {
    const int width = ui::Scaled(kButtonWidth), height = ui::Scaled(kButtonHeight);
    int top = (ui::Scaled(kButtonBarHeight) - height) / 2;
    sbRefresh.SetBounds(ui::Scaled(4), top, width, height);
    sbExit.SetBounds(ButtonPanel.ClientWidth() - width - ui::Scaled(kExitMargin), top, width, height);
}

int TSysInfoForm::ShowFor(TSysFacts &facts) {
    facts_ = &facts;
    CenterOnScreen();
    return ShowModal();
}

void TSysInfoForm::FormCreate() {
    EmptyPanel.SetCaption(DateTimeText());
    BuildTree();
}

void TSysInfoForm::BuildTree() {
    if (!facts_)
        return;
    building_ = true;
    try {
        tvSI.Clear();
        HTREEITEM computer = tvSI.AddItem(nullptr, L"Computer");
        tvSI.AddItem(computer, L"CPU");
        tvSI.AddItem(computer, L"Memory");
        HTREEITEM disks = tvSI.AddItem(computer, L"Disks");
        // Reading every drive leaves the last one as the collector's current drive.
        const std::wstring letters = facts_->diAvailableDisks();
        for (wchar_t letter : letters) {
            facts_->SetDiSign(letter);
            tvSI.AddItem(disks, DiskNodeText(letter, facts_->diVolumeLabel(),
                                             TSysFacts::GetDriveTypeName(letter, facts_->diMediaType())));
        }
        HTREEITEM display = tvSI.AddItem(computer, L"Display");
        tvSI.AddItem(display, L"Installed Fonts");
        for (const wchar_t *name : {L"Monitor", L"Sound Device", L"Mouse", L"Printer"})
            tvSI.AddItem(computer, name);
        tvSI.AddItem(nullptr, L"Operating System");
    } catch (...) {
        building_ = false;
        throw;
    }
    building_ = false;
}

std::wstring TSysInfoForm::NodeText(HTREEITEM node) const {
    wchar_t buffer[MAX_PATH + 64] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = ARRAYSIZE(buffer);
    SendMessageW(tvSI.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void TSysInfoForm::cmGetItemData(HTREEITEM node) {
    if (building_ || !node || !facts_)
        return;
    lvSI.Clear();
    const std::wstring text = NodeText(node);
    // The font list is long to gather: only the two nodes that show it ask for it.
    std::vector<std::wstring> fonts;
    if (text == L"Display" || text == L"Installed Fonts")
        fonts = ScreenFontNames();
    TCategoryRows category = CategoryRows(*facts_, text, fonts);
    SetColumnCaption(0, category.firstColumn);
    SetColumnCaption(1, category.secondColumn);
    SendMessageW(lvSI.Handle(), WM_SETREDRAW, FALSE, 0);
    for (const TInfoRow &row : category.rows)
        lvSI.AddItem(row.caption, {row.value});
    SendMessageW(lvSI.Handle(), WM_SETREDRAW, TRUE, 0);
    lvSI.Invalidate();
    SetListShown(category.success);
}

void TSysInfoForm::SetColumnCaption(int column, const std::wstring &caption) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<wchar_t *>(caption.c_str());
    SendMessageW(lvSI.Handle(), LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&col));
}

void TSysInfoForm::SetListShown(bool shown) {
    if (!shown)
        EmptyPanel.SetCaption(DateTimeText());
    EmptyPanel.SetVisible(!shown);
    lvSI.SetVisible(shown);
}

void TSysInfoForm::TimerTimer() {
    if (!ListShown())
        EmptyPanel.SetCaption(DateTimeText());
}

void TSysInfoForm::cmRefresh() {
    if (!facts_)
        return;
    facts_->Refresh();
    BuildTree();
    SetListShown(false);
}

void TSysInfoForm::cmExit() {
    if (IsModal())
        SetModalResult(ui::mrOk);
    else
        Close();
}

void TSysInfoForm::cmExpCol(WORD &key, ui::TShiftState shift) {
    if (!(shift & ui::ssCtrl))
        return;
    HTREEITEM root = TreeView_GetRoot(tvSI.Handle());
    if (key == VK_NEXT || key == kKeypad3) {
        ExpandAll(root, TVE_EXPAND);
        key = 0;
    } else if (key == VK_PRIOR || key == kKeypad9) {
        ExpandAll(root, TVE_COLLAPSE);
        key = 0;
    }
}

void TSysInfoForm::ExpandAll(HTREEITEM first, UINT action) {
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tvSI.Handle(), item)) {
        HTREEITEM child = TreeView_GetChild(tvSI.Handle(), item);
        if (!child)
            continue;
        TreeView_Expand(tvSI.Handle(), item, action);
        ExpandAll(child, action);
    }
}

LRESULT TSysInfoForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kClockTimer) {
        TimerTimer();
        return 0;
    }
    if (msg == WM_CONTEXTMENU && contextMenu_) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        // From the keyboard the menu opens at the mouse pointer.
        if (lParam == -1)
            GetCursorPos(&at);
        TrackPopupMenu(contextMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
        return 0;
    }
    return ui::TForm::OnMessage(msg, wParam, lParam);
}

} // namespace sysinfo

#include "viewer/ViewForm.h"

#include <commdlg.h>

#include "ui/LateBound.h"
#include "ui/ScreenScale.h"
#include "ui/Text.h"
#include "viewer/TextLoader.h"
#include "viewer/ViewIds.h"

namespace viewer {

namespace {

constexpr int kViewMemoId = 10;
constexpr int kMemoFontHeight = 13;

ui::FontHandle MemoFont(BYTE charSet, const wchar_t *face = L"MS Sans Serif") {
    return ui::FontHandle(CreateFontW(-ui::Scaled(kMemoFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charSet,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_DONTCARE, face));
}

// The size the system gives a new overlapped window of its own choosing.
SIZE DefaultWindowSize() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SIZE size{640, 480};
    if (probe) {
        RECT r{};
        GetWindowRect(probe, &r);
        if (r.right - r.left > 0 && r.bottom - r.top > 0) size = {r.right - r.left, r.bottom - r.top};
        DestroyWindow(probe);
    }
    return size;
}

UINT CodePageOf(TViewCharSet set) { return set == TViewCharSet::vcOem ? CP_OEMCP : CP_ACP; }

} // namespace

bool PickViewFile(HWND owner, std::wstring &path) {
    static const wchar_t filter[] = L"Все файлы (*.*)\0*.*\0"
                                    L"Текcтовые файлы (*.txt)\0*.txt\0"
                                    L"Исходные тексты (*.pas)\0*.pas\0";
    std::wstring buffer(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    static const auto GetOpenFileNameW = ui::LateBound<decltype(&::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!GetOpenFileNameW || !GetOpenFileNameW(&ofn)) return false;
    path = buffer.c_str();
    return true;
}

TViewForm::TViewForm() { ODView = PickViewFile; }

void TViewForm::Create() {
    menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_VIEWMENU));
    SIZE size = DefaultWindowSize();
    KeepPixelSize();
    CreateForm(L"Просмотр файлов", size.cx, size.cy, false, menu_);
    shortcuts_ = ui::TShortcutTable::FromResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_VIEWACCELERATORS));
    ansiFont_ = MemoFont(DEFAULT_CHARSET);
    oemFont_ = MemoFont(OEM_CHARSET);
    // The bitmap font holds one character set's letters; Unicode text needs the outline font of the same
    // shapes, which holds the letters of many.
    unicodeFont_ = MemoFont(DEFAULT_CHARSET, L"Microsoft Sans Serif");
    ViewMemo.Create(Handle(), kViewMemoId, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL);
    ViewMemo.SetFont(ansiFont_.Get());
    ViewMemo.SetWordWrap(Checked(IDM_VIEWWRAP));
    Layout();
    OnResize = [this] { Layout(); };
    OnShow = [this] { FormShow(); };
    OnCommand = [this](int id) { RunCommand(id); };
    OnCancelKey = [this] { ViewCloseClick(); };
    OnKeyDown = [this](WORD &key, ui::TShiftState shift) { MemoKeyDown(key, shift); };
    ViewMemo.OnKeyDown = OnKeyDown;
}

void TViewForm::Layout() {
    if (ViewMemo.Handle()) ViewMemo.SetBounds(0, 0, ClientWidth(), ClientHeight());
}

bool TViewForm::Checked(int itemId) const {
    return (GetMenuState(menu_, itemId, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool TViewForm::Enabled(int itemId) const {
    UINT state = GetMenuState(menu_, itemId, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void TViewForm::SetChecked(int itemId, bool checked) {
    CheckMenuItem(menu_, itemId, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void TViewForm::ViewFile(const std::wstring &path) {
    SetText(L"View file : " + ui::ShownPath(path));
    LoadFile(path);
    ShowModal();
    ViewMemo.ReleaseFile();
}

void TViewForm::LoadFile(const std::wstring &path) {
    ViewMemo.OpenFile(path);
    ShowReading();
}

void TViewForm::ShowReading() {
    charSet_ = IsUnicode(ViewMemo.CodePage()) ? TViewCharSet::vcUnicode : eightBit_;
    SetChecked(IDM_VIEWANSI, charSet_ == TViewCharSet::vcAnsi);
    SetChecked(IDM_VIEWASCII, charSet_ == TViewCharSet::vcOem);
    SetChecked(IDM_VIEWUNICODE, charSet_ == TViewCharSet::vcUnicode);
    HFONT font = charSet_ == TViewCharSet::vcUnicode ? unicodeFont_.Get()
                 : charSet_ == TViewCharSet::vcOem  ? oemFont_.Get()
                                                    : ansiFont_.Get();
    ViewMemo.SetCharacterSet(font, ViewMemo.CodePage());
}

void TViewForm::FormShow() { ViewMemo.SetWordWrap(Checked(IDM_VIEWWRAP)); }

void TViewForm::ViewWrapClick() {
    SetChecked(IDM_VIEWWRAP, !Checked(IDM_VIEWWRAP));
    FormShow();
}

void TViewForm::SetCharSet(TViewCharSet set) {
    if (set == TViewCharSet::vcUnicode) {
        UINT detected = ViewMemo.DetectedCodePage();
        ViewMemo.SetCharacterSet(unicodeFont_.Get(), detected ? detected : CP_UTF8);
    } else {
        eightBit_ = set;
        // The font's character set goes with the code page, so the DOS set is drawn in DOS shapes where a
        // font has them; either costs one screen's drawing.
        ViewMemo.SetCharacterSet(set == TViewCharSet::vcOem ? oemFont_.Get() : ansiFont_.Get(), CodePageOf(set));
    }
    ShowReading();
}

void TViewForm::ViewCloseClick() {
    SetCharSet(TViewCharSet::vcAnsi);
    if (IsModal()) SetModalResult(ui::mrCancel);
    else Close();
}

void TViewForm::ViewSelectAllClick() { ViewMemo.SelectAll(); }

void TViewForm::ViewCopyClick() { ViewMemo.CopySelection(); }

void TViewForm::ViewOpenClick() {
    std::wstring path;
    if (!ODView || !ODView(Handle(), path)) return;
    LoadFile(path);
    SetText(L"Просмотр : " + ui::ShownPath(path));
}

void TViewForm::MemoKeyDown(WORD &key, ui::TShiftState shift) {
    int id = shortcuts_.Find(key, shift);
    if (id == 0) return;
    // The menu takes its keys before the text does, also those of its disabled items.
    key = 0;
    RunCommand(id);
}

void TViewForm::RunCommand(int id) {
    if (!Enabled(id)) return;
    switch (id) {
    case IDM_VIEWOPEN:
        ViewOpenClick();
        break;
    case IDM_VIEWCLOSE:
        ViewCloseClick();
        break;
    case IDM_VIEWSELECTALL:
        ViewSelectAllClick();
        break;
    case IDM_VIEWCOPY:
        ViewCopyClick();
        break;
    case IDM_VIEWANSI:
        ViewAnsiClick();
        break;
    case IDM_VIEWASCII:
        ViewAsciiClick();
        break;
    case IDM_VIEWUNICODE:
        ViewUnicodeClick();
        break;
    case IDM_VIEWWRAP:
        ViewWrapClick();
        break;
    default:
        break;
    }
}

} // namespace viewer

#include "fileops/TextMemo.h"

#include <commctrl.h>

namespace fileops {

namespace {
constexpr DWORD kWrapBreakers = WS_HSCROLL | ES_AUTOHSCROLL;
} // namespace

void TTextMemo::Create(HWND parent, int id, DWORD style) {
    parent_ = parent;
    id_ = id;
    CreateControl(style);
}

void TTextMemo::CreateControl(DWORD style) {
    style_ = style;
    CreateStandard(WC_EDITW, parent_, WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | style,
                   WS_EX_CLIENTEDGE, id_);
    // The default limit of a multi-line edit (32K characters on older systems) would refuse ordinary files.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
}

bool TTextMemo::ShowText(const std::wstring &text) {
    outOfSpace_ = false;
    LRESULT ok = SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (ok && !outOfSpace_ && static_cast<size_t>(GetWindowTextLengthW(Handle())) == text.size()) return true;
    Clear();
    return false;
}

void TTextMemo::Clear() { SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }

void TTextMemo::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

void TTextMemo::CopySelection() { SendMessageW(Handle(), WM_COPY, 0, 0); }

bool TTextMemo::WordWrap() const { return (style_ & kWrapBreakers) == 0; }

TTextMemo::TPlace TTextMemo::Place() const {
    TPlace place;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&place.selStart),
                 reinterpret_cast<LPARAM>(&place.selEnd));
    LRESULT top = SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
    LRESULT first = SendMessageW(Handle(), EM_LINEINDEX, top, 0);
    place.topChar = first < 0 ? 0 : static_cast<DWORD>(first);
    return place;
}

void TTextMemo::SetWordWrap(bool wrap) {
    if (wrap == WordWrap()) return;
    DWORD style = wrap ? (style_ & ~kWrapBreakers) : (style_ | kWrapBreakers);
    HWND old = Handle();
    RECT bounds = Bounds();
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(old, WM_GETFONT, 0, 0));
    bool visible = Visible(), focused = Focused();
    // The old control's text goes first, so the two copies of a large text never live side by side.
    Clear();
    DestroyWindow(old);
    CreateControl(style);
    SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (visible) SetVisible(true);
    if (focused) SetFocus();
}

void TTextMemo::RestorePlace(const TPlace &place) {
    SendMessageW(Handle(), EM_SETSEL, place.selStart, place.selEnd);
    LRESULT line = SendMessageW(Handle(), EM_LINEFROMCHAR, place.topChar, 0);
    LRESULT top = SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(Handle(), EM_LINESCROLL, 0, line - top);
}

bool TTextMemo::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT &result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != EN_ERRSPACE) return false;
    outOfSpace_ = true;
    result = 0;
    return true;
}

} // namespace fileops

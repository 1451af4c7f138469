#include "ui/Panel.h"

#include <windowsx.h>

#include "ui/GdiScopes.h"

namespace ui {

namespace {
constexpr wchar_t kEllipsis[] = L"...";
} // namespace

std::wstring FitTail(const std::wstring &text, int width, const std::function<int(std::wstring_view)> &measure) {
    if (measure(text) <= width) return text;
    // The longest tail that fits behind the ellipsis; widths grow with the tail's length.
    size_t fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        size_t mid = (fits + tooLong) / 2;
        std::wstring candidate = kEllipsis + text.substr(text.size() - mid);
        if (measure(candidate) <= width) fits = mid;
        else tooLong = mid;
    }
    size_t start = text.size() - fits;
    // Never half a surrogate pair.
    if (start < text.size() && IS_LOW_SURROGATE(text[start])) ++start;
    return kEllipsis + text.substr(start);
}

void TPanel::Create(HWND parent, bool singleBorder) {
    CreateOwn(parent, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (singleBorder ? WS_BORDER : 0), 0);
}

void TPanel::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

void TPanel::SetFontColor(COLORREF color) {
    fontColor_ = color;
    Invalidate();
}

void TPanel::SetCaption(const std::wstring &caption) {
    if (Handle()) SetWindowTextW(Handle(), caption.c_str()); // WM_SETTEXT keeps caption_ and repaints
    else caption_ = caption;
}

void TPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

void TPanel::SetBevelInner(TBevel bevel) {
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetEllipsis(TEllipsis ellipsis) {
    ellipsis_ = ellipsis;
    Invalidate();
}

RECT TPanel::TextRect() const {
    RECT r;
    GetClientRect(Handle(), &r);
    if (bevelInner_ != TBevel::bvNone) InflateRect(&r, -1, -1); // the inner bevel's line
    InflateRect(&r, -2, 0);
    return r;
}

std::wstring TPanel::ShownCaption() const {
    if (ellipsis_ == TEllipsis::elEnd || caption_.empty()) return caption_;
    TWindowDC dc(Handle());
    HGDIOBJ old = font_ ? SelectObject(dc.Get(), font_) : nullptr;
    RECT r = TextRect();
    std::wstring shown = FitTail(caption_, r.right - r.left, [&](std::wstring_view s) {
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), s.data(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    });
    if (old) SelectObject(dc.Get(), old);
    return shown;
}

void TPanel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r;
    GetClientRect(Handle(), &r);
    HBRUSH brush = CreateSolidBrush(color_);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    if (bevelInner_ != TBevel::bvNone)
        DrawEdge(dc, &r, bevelInner_ == TBevel::bvLowered ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    if (!caption_.empty()) {
        std::wstring shown = ShownCaption();
        HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, fontColor_);
        r = TextRect();
        UINT align = alignment_ == TAlignment::taLeftJustify    ? DT_LEFT
                     : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                                : DT_CENTER;
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &r,
                  align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX |
                      (ellipsis_ == TEllipsis::elEnd ? DT_END_ELLIPSIS : 0));
        if (old) SelectObject(dc, old);
    }
    EndPaint(Handle(), &ps);
}

LRESULT TPanel::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        LRESULT stored = DefaultProc(msg, wParam, lParam);
        auto *text = reinterpret_cast<const wchar_t *>(lParam);
        caption_ = text ? text : L"";
        Invalidate();
        return stored;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
        Invalidate();
        if (OnResize) OnResize();
        return 0;
    case WM_LBUTTONUP:
        if (OnClick) OnClick();
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

void TSplitter::Create(HWND parent) {
    CreateOwn(parent, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0);
}

LRESULT TSplitter::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    case WM_LBUTTONDOWN:
        dragging_ = true;
        dragStartX_ = GET_X_LPARAM(lParam);
        SetCapture(Handle());
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            int delta = GET_X_LPARAM(lParam) - dragStartX_;
            if (delta != 0 && OnMoved) OnMoved(delta);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (msg == WM_LBUTTONUP) ReleaseCapture();
        }
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

} // namespace ui

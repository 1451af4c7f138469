#include "ui/Panel.h"

#include <windowsx.h>

namespace ui {

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
    caption_ = caption;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

void TPanel::SetBevelInner(TBevel bevel) {
    bevelInner_ = bevel;
    Invalidate();
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
        HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, fontColor_);
        InflateRect(&r, -2, 0);
        UINT align = alignment_ == TAlignment::taLeftJustify    ? DT_LEFT
                     : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                                : DT_CENTER;
        DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
                  align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
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

#include "caption/GradCap.h"

#include <exception>

#include "caption/CaptionFont.h"
#include "caption/Gradient.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Handles.h"

namespace caption {

namespace {

// Windows 95 and NT 4 and later draw title bars in the new style (icon, buttons, left-aligned text).
bool SystemDrawsNewStyle() { return LOBYTE(LOWORD(GetVersion())) >= 4; }

} // namespace

TGradientCaption::TGradientCaption() : systemFont_(LoadSystemCaptionFont()), newStyle_(SystemDrawsNewStyle()) {}

TGradientCaption::~TGradientCaption() {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    std::wstring caption = CaptionText.Caption();
    Unhook();
    if (ownerDestroying_ || !IsWindow(hwnd)) return;
    SetWindowTextW(hwnd, caption.c_str());
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TGradientCaption::Create(ui::TForm &owner) {
    owner_ = &owner;
    Hook(owner.Handle());
}

void TGradientCaption::Loaded() {
    if (!owner_ || owner_->Handle() == hwnd_) return;
    Unhook();
    Hook(owner_->Handle());
}

void TGradientCaption::Hook(HWND hwnd) {
    if (!hook_.Hook(hwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return HookProc(msg, wParam, lParam); }))
        return;
    hwnd_ = hwnd;
    CaptionText.StoreCaption(CaptionFromWindow());
    RecalculateFrame();
}

void TGradientCaption::Unhook() {
    if (!hwnd_) return;
    hook_.Unhook();
    hwnd_ = nullptr;
}

void TGradientCaption::SetColor(config::TColor color) {
    color_ = color;
    LooksChanged();
}

void TGradientCaption::SetEnabled(TGradEnabled enabled) {
    enabled_ = enabled;
    LooksChanged();
}

void TGradientCaption::SetJustification(TJustification justification) {
    justification_ = justification;
    LooksChanged();
}

void TGradientCaption::SetNumColors(int numColors) {
    numColors_ = ClampNumColors(numColors_, numColors);
    LooksChanged();
}

void TGradientCaption::TextChanged() {
    if (!hwnd_) return;
    std::wstring text = JoinWindowText(CompanyText.Part(), AppNameText.Part(), CaptionText.Part());
    // The system would draw the plain title bar for the new text before this one paints over it.
    bool locked = IsWindowVisible(hwnd_) && LockWindowUpdate(hwnd_);
    SetWindowTextW(hwnd_, text.c_str());
    if (locked) LockWindowUpdate(nullptr);
}

void TGradientCaption::LooksChanged() { PaintCaption(); }

std::wstring TGradientCaption::CaptionFromWindow() const {
    if (!hwnd_) return L"";
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return CaptionFromWindowText(text, CompanyText.Part(), AppNameText.Part());
}

bool TGradientCaption::Active() const {
    if (activeKnown_) return active_;
    HWND active = GetActiveWindow();
    if (active == hwnd_) return true;
    if (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_MDICHILD) return active == GetParent(GetParent(hwnd_));
    return false;
}

LRESULT TGradientCaption::HookProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) {
        // The hook goes with the window.
        hwnd_ = nullptr;
        return hook_.CallPrevious(msg, wParam, lParam);
    }
    try {
        return HandleMessage(msg, wParam, lParam);
    } catch (const std::exception &e) {
        ui::Application().HandleException(e);
        return 0;
    }
}

LRESULT TGradientCaption::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCPAINT:
        return NcPaint(wParam, lParam);
    case WM_NCACTIVATE:
        return NcActivate(wParam, lParam);
    case WM_SETCURSOR:
        return SetCursor(wParam, lParam);
    case WM_SHOWWINDOW:
        // An activation change reported while the window was hidden says nothing about the window being
        // shown now (the system may activate it on showing without telling the frame again).
        if (wParam) activeKnown_ = false;
        return hook_.CallPrevious(msg, wParam, lParam);
    case WM_SETTEXT: {
        // Also set from elsewhere: the caption follows, for painting and for the next joining.
        LRESULT result = hook_.CallPrevious(msg, wParam, lParam);
        CaptionText.StoreCaption(CaptionFromWindow());
        PaintCaption();
        return result;
    }
    // The system paints its own title bar when it sets the icon or the text and while it tracks a caption
    // button: ours goes back over it before the screen shows it.
    case WM_SETICON:
    case WM_NCLBUTTONDOWN: {
        LRESULT result = hook_.CallPrevious(msg, wParam, lParam);
        PaintCaption();
        return result;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE: {
        LRESULT result = hook_.CallPrevious(msg, wParam, lParam);
        SystemChanged();
        return result;
    }
    default:
        return hook_.CallPrevious(msg, wParam, lParam);
    }
}

LRESULT TGradientCaption::NcPaint(WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    PaintCaption();
    RECT window{};
    GetWindowRect(hwnd, &window);
    ui::GdiObject<HRGN> region(CreateRectRgnIndirect(&window));
    HRGN given = reinterpret_cast<HRGN>(wParam);
    if (wParam > 1 && GetObjectType(given) == OBJ_REGION) CombineRgn(region.Get(), given, nullptr, RGN_COPY);
    RECT caption = PaintedRect();
    if (!IsRectEmpty(&caption)) {
        OffsetRect(&caption, window.left, window.top);
        ui::GdiObject<HRGN> captionRegion(CreateRectRgnIndirect(&caption));
        CombineRgn(region.Get(), region.Get(), captionRegion.Get(), RGN_DIFF);
    }
    return hook_.CallPrevious(WM_NCPAINT, reinterpret_cast<WPARAM>(region.Get()), lParam);
}

LRESULT TGradientCaption::NcActivate(WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    active_ = wParam != 0;
    activeKnown_ = true;
    if (!newStyle_ || (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
        hook_.CallPrevious(WM_NCACTIVATE, wParam, lParam);
    else
        // The system keeps its own idea of the frame's activation for every later frame it draws (the text
        // and the icon are set with a direct paint); -1 asks it to take the state without painting.
        hook_.CallPrevious(WM_NCACTIVATE, wParam, -1);
    if (HWND client = FindWindowExW(hwnd, nullptr, L"MDICLIENT", nullptr))
        if (HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)))
            PostMessageW(child, WM_NCACTIVATE, wParam, lParam);
    // Only the frame: the client area has nothing that shows the activation.
    RECT window{}, client{};
    GetWindowRect(hwnd, &window);
    MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT *>(&window), 2);
    GetClientRect(hwnd, &client);
    ui::GdiObject<HRGN> frame(CreateRectRgnIndirect(&window));
    ui::GdiObject<HRGN> inside(CreateRectRgnIndirect(&client));
    CombineRgn(frame.Get(), frame.Get(), inside.Get(), RGN_DIFF);
    RedrawWindow(hwnd, nullptr, frame.Get(), RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return 1;
}

LRESULT TGradientCaption::SetCursor(WPARAM wParam, LPARAM lParam) {
    const wchar_t *cursor = nullptr;
    if (reinterpret_cast<HWND>(wParam) == hwnd_) {
        switch (LOWORD(lParam)) {
        case HTLEFT:
        case HTRIGHT:
            cursor = IDC_SIZEWE;
            break;
        case HTTOP:
        case HTBOTTOM:
            cursor = IDC_SIZENS;
            break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            cursor = IDC_SIZENWSE;
            break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            cursor = IDC_SIZENESW;
            break;
        }
    }
    if (!cursor) return hook_.CallPrevious(WM_SETCURSOR, wParam, lParam);
    ::SetCursor(LoadCursorW(nullptr, cursor));
    return TRUE;
}

void TGradientCaption::SystemChanged() {
    systemFont_ = LoadSystemCaptionFont();
    for (TCompanyText *text : {&CompanyText, static_cast<TCompanyText *>(&AppNameText),
                               static_cast<TCompanyText *>(&CaptionText)})
        text->ApplyFontKind();
    RecalculateFrame();
}

// A hidden window's frame is worked out and drawn when it shows.
void TGradientCaption::RecalculateFrame() {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace caption

#include "ui/Form.h"

#include "ui/Application.h"
#include "ui/ScreenScale.h"

namespace ui {

TForm::~TForm() {
    if (Application().MainForm() == this) Application().SetMainForm(nullptr);
    Application().EndModal(this);
}

void TForm::CreateForm(const std::wstring &caption, int width, int height, bool isMain, HMENU menu, DWORD style) {
    HWND owner = (!isMain && Application().MainForm()) ? Application().MainForm()->Handle() : nullptr;
    // Made at its size: a top-level window sized afterwards costs another round with the display.
    SIZE size = keepPixelSize_ ? SIZE{width, height} : SIZE{Scaled(width), Scaled(height)};
    CreateOwn(owner, style, WS_EX_CONTROLPARENT, caption.c_str(), menu, size);
    isMain_ = isMain;
    if (isMain) Application().SetMainForm(this);
    // A memory context has the screen's resolution, and costs no window's.
    HDC dc = CreateCompatibleDC(nullptr);
    int height8pt = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    DeleteDC(dc);
    font_.Reset(CreateFontW(height8pt, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    SetFont(font_.Get());
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, Scaled(width), Scaled(height)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnMainForm() {
    TForm *main = Application().MainForm();
    if (!main || !main->Handle() || main == this) {
        CenterOnScreen();
        return;
    }
    RECT m{}, own{};
    GetWindowRect(main->Handle(), &m);
    GetWindowRect(Handle(), &own);
    int top = m.top + (m.bottom - m.top) / 2 - (own.bottom - own.top) / 2;
    int left = m.left + (m.right - m.left) / 2 - (own.right - own.left) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    if (!shown_) {
        shown_ = true;
        ScaleChildren(Handle());
        // A failing step of the show handler is reported and skips the rest of it; the window still shows.
        try {
            if (OnShow) OnShow();
        } catch (const std::exception &e) {
            Application().HandleException(e);
        }
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
    } else if (OnShow && modal_) {
        OnShow();
    }
    if (IsWindowVisible(Handle())) {
        ShowWindow(Handle(), SW_SHOW);
    } else {
        // ShowWindow would also erase the form and every control at once, through a device context each
        // for the frame and the background; each erases in its first paint instead, with the context it
        // paints with. Under Wine that halves the round trips of showing a form full of controls.
        SendMessageW(Handle(), WM_SHOWWINDOW, TRUE, 0);
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_DEFERERASE);
    }
    SetForegroundWindow(Handle());
    if (lastFocus_ && IsWindow(lastFocus_)) ::SetFocus(lastFocus_);
    // A form whose show handler chose no control starts on its first tab stop, so typing goes somewhere.
    HWND focus = GetFocus();
    if (!focus || !IsChild(Handle(), focus))
        if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
}

void TForm::Close() {
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (OnClose) OnClose();
    if (isMain_) {
        DestroyWindow(Handle());
    } else {
        ShowWindow(Handle(), SW_HIDE);
    }
}

int TForm::ShowModal() {
    // A form opened from a modal form gives that form back, not the main window, which must stay disabled
    // until that form ends too.
    TForm *below = Application().ActiveModal();
    TForm *main = Application().MainForm();
    TForm *from = (below && below != this) ? below : (main && main != this ? main : nullptr);
    HWND owner = from ? from->Handle() : nullptr;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    modal_ = true;
    modalResult_ = mrNone;
    lastFocus_ = nullptr;
    Application().BeginModal(this);
    Show();
    MSG msg;
    while (modalResult_ == mrNone && Handle()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = mrCancel;
            break;
        }
        Application().DispatchOne(msg);
    }
    Application().EndModal(this);
    modal_ = false;
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    return modalResult_;
}

LRESULT TForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (OnResize) OnResize();
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        if (isMain_) PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_)) {
            ::SetFocus(lastFocus_);
            return 0;
        }
        return DefaultProc(msg, wParam, lParam);
    case DM_GETDEFID:
        return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    case WM_COMMAND:
        if (lParam == 0 || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            int id = LOWORD(wParam);
            if (id == IDCANCEL && lParam == 0 && modal_) {
                if (OnCancelKey) OnCancelKey();
                else modalResult_ = mrCancel;
                return 0;
            }
            if (OnCommand) OnCommand(id);
            return 0;
        }
        return DefaultProc(msg, wParam, lParam);
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

} // namespace ui

#include "ui/Window.h"


#include <algorithm>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <unordered_set>

#include "ui/Application.h"

namespace ui {
namespace {

const wchar_t kOwnClass[] = L"ZelvorWindow";

// Which object owns which window: the window's user data, read in the process without a call to the Wine
// server. A window of the program's own class is bound as it is made (at WM_NCCREATE, from the pointer it is
// made with), so its object sees every message from there on; a standard control is bound once made, before
// it is subclassed. The standard and common controls keep their own state in their class's extra bytes and
// leave the user data to whoever made the window.
//
// A window found by handle (a notification's sender, a root window, a child met while walking) may be one
// the system or the shell made, with its own pointer in the user data: the handles bound here are also kept
// in a set, which only FromHandle consults, so such a window is never taken for one of ours.
std::mutex boundLock;
// Never destroyed: a window may outlive the static objects at exit.
auto &bound = *new std::unordered_set<HWND>;

void Bind(HWND hwnd, TWindow *window) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    std::lock_guard<std::mutex> hold(boundLock);
    bound.insert(hwnd);
}

void Unbind(HWND hwnd) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    std::lock_guard<std::mutex> hold(boundLock);
    bound.erase(hwnd);
}

bool IsBound(HWND hwnd) {
    std::lock_guard<std::mutex> hold(boundLock);
    return bound.count(hwnd) != 0;
}

TWindow *BoundTo(HWND hwnd) { return reinterpret_cast<TWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void RegisterOwnClass(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    // The icon's own small picture: left to itself, the system would shrink the large one.
    wc.hIconSm = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = kOwnClass;
    RegisterClassExW(&wc);
    registered = true;
}

// Runs one message's handling; an error it raises is shown and the message counts as handled.
template <typename F> LRESULT Guarded(F &&handle) {
    try {
        return handle();
    } catch (const std::exception &e) {
        Application().HandleException(e);
        return 0;
    }
}

} // namespace

TWindow::~TWindow() {
    if (hwnd_ && IsWindow(hwnd_)) {
        // The window's last messages go to the system's default procedure, not to this object being destroyed.
        Unbind(hwnd_);
        keySource_.Unhook();
        if (control_.Window()) control_.Unhook();
        else SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        DestroyWindow(hwnd_);
    }
}

TWindow *TWindow::FromHandle(HWND hwnd) {
    return hwnd && IsBound(hwnd) ? BoundTo(hwnd) : nullptr;
}

void TWindow::CreateOwn(HWND parent, DWORD style, DWORD exStyle, const wchar_t *text, HMENU menuOrId, SIZE size) {
    RegisterOwnClass(OwnProc);
    bool child = (style & WS_CHILD) != 0;
    // A top-level window goes where the system puts it, at `size`, unless its bounds were set before.
    bool planned = child || boundsPlanned_;
    // The window binds itself to this object at its first message of its own (OwnProc).
    hwnd_ = CreateWindowExW(exStyle, kOwnClass, text, style, planned ? planned_.left : CW_USEDEFAULT,
                            planned ? planned_.top : CW_USEDEFAULT, planned ? planned_.right - planned_.left : size.cx,
                            planned ? planned_.bottom - planned_.top : size.cy, parent, menuOrId,
                            GetModuleHandleW(nullptr), this);
    if (!hwnd_) throw std::runtime_error("Cannot create a window");
}

void TWindow::CreateStandard(const wchar_t *className, HWND parent, DWORD style, DWORD exStyle, int id,
                             const wchar_t *text) {
    hwnd_ = CreateWindowExW(exStyle, className, text, style, planned_.left, planned_.top,
                            planned_.right - planned_.left, planned_.bottom - planned_.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw std::runtime_error("Cannot create a control");
    Bind(hwnd_, this);
    control_.Hook(hwnd_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCDESTROY) {
            Unbind(hwnd_);
            hwnd_ = nullptr;
            return control_.CallPrevious(msg, wParam, lParam);
        }
        return Guarded([&] { return Dispatch(msg, wParam, lParam); });
    });
}

void TWindow::AttachKeySource(HWND inner) {
    keySource_.Hook(inner, [this, inner](UINT msg, WPARAM wParam, LPARAM lParam) {
        return Guarded([&] {
            LRESULT result = 0;
            if (HandleKey(inner, msg, wParam, result)) return result;
            return keySource_.CallPrevious(msg, wParam, lParam);
        });
    });
}

HWND TWindow::ReleaseOwnWindow() {
    HWND released = hwnd_;
    if (!released) return nullptr;
    Unbind(released);
    SetWindowLongPtrW(released, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    hwnd_ = nullptr;
    return released;
}

LRESULT CALLBACK TWindow::OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The messages before WM_NCCREATE (a top-level window's WM_GETMINMAXINFO) find no object yet.
    if (msg == WM_NCCREATE) {
        if (auto *made = static_cast<TWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams)) {
            made->hwnd_ = hwnd;
            Bind(hwnd, made);
        }
    }
    TWindow *self = BoundTo(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        Unbind(hwnd);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return Guarded([&] { return self->Dispatch(msg, wParam, lParam); });
}

// Key events: the handler sees the key first and may replace it or clear it (0 = the control never sees it,
// nor the character the key would type).
bool TWindow::HandleKey(HWND source, UINT msg, WPARAM &wParam, LRESULT &result) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        swallowChar_ = false;
        WORD key = static_cast<WORD>(wParam);
        currentSource_ = source;
        KeyDown(key, KeyboardShiftState());
        if (key == 0) {
            swallowChar_ = true;
            result = 0;
            return true;
        }
        wParam = key;
        return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(wParam);
        KeyUp(key, KeyboardShiftState());
        if (key == 0) {
            result = 0;
            return true;
        }
        wParam = key;
        return false;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        if (swallowChar_) {
            swallowChar_ = false;
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TWindow::KeyDown(WORD &key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(key, shift);
}

void TWindow::KeyUp(WORD &key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(key, shift);
}

LRESULT TWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleKey(hwnd_, msg, wParam, result)) return result;
    if (ReflectToChild(msg, wParam, lParam, result)) return result;
    return OnMessage(msg, wParam, lParam);
}

bool TWindow::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR *>(lParam)->hwndFrom;
        break;
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<DRAWITEMSTRUCT *>(lParam)->hwndItem;
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    TWindow *target = FromHandle(child);
    // A combo box's list and edit report through the combo box that owns them.
    if (!target && child) target = FromHandle(GetParent(child));
    return target && target->OnReflect(msg, wParam, lParam, result);
}

bool TWindow::OnReflect(UINT, WPARAM, LPARAM, LRESULT &) { return false; }

LRESULT TWindow::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (control_.Window()) return control_.CallPrevious(msg, wParam, lParam);
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT TWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return DefaultProc(msg, wParam, lParam); }

void TWindow::SetBounds(int x, int y, int width, int height) {
    if (!hwnd_) {
        planned_ = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
        boundsPlanned_ = true;
        return;
    }
    // Placing a window where it already is still costs a round of position messages (and under Wine a
    // server call); a layout pass places most windows where they are.
    RECT now = Bounds();
    if (now.left == x && now.top == y && now.right - now.left == std::max(width, 0) &&
        now.bottom - now.top == std::max(height, 0))
        return;
    SetWindowPos(hwnd_, nullptr, x, y, width < 0 ? 0 : width, height < 0 ? 0 : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWindow::Bounds() const {
    if (!hwnd_) return planned_;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    HWND parent = GetParent(hwnd_);
    if (parent && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

int TWindow::Width() const {
    RECT r = Bounds();
    return r.right - r.left;
}

int TWindow::Height() const {
    RECT r = Bounds();
    return r.bottom - r.top;
}

// A window not made yet has the planned size; a border it is made with comes off once it is made.
int TWindow::ClientWidth() const {
    if (!hwnd_) return planned_.right - planned_.left;
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.right;
}

int TWindow::ClientHeight() const {
    if (!hwnd_) return planned_.bottom - planned_.top;
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.bottom;
}

bool TWindow::Visible() const { return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void TWindow::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

void TWindow::SetFocus() { ::SetFocus(hwnd_); }

bool TWindow::Focused() const { return GetFocus() == hwnd_; }

// A hidden window is painted when it shows anyway; asking for a redraw now only costs server calls.
void TWindow::SetFont(HFONT font) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(hwnd_));
}

std::wstring TWindow::Text() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(n + 1, L'\0');
    n = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(n > 0 ? n : 0);
    return s;
}

void TWindow::SetText(const std::wstring &text) { SetWindowTextW(hwnd_, text.c_str()); }

// A window not on the screen (its form not shown yet) is painted whole when it shows.
void TWindow::Invalidate() {
    if (IsWindowVisible(hwnd_)) InvalidateRect(hwnd_, nullptr, TRUE);
}

} // namespace ui

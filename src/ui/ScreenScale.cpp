#include "ui/ScreenScale.h"

#include <vector>

#include "ui/Controls.h"

namespace ui {

namespace {

constexpr int kDesignDpi = 96;

BOOL CALLBACK Collect(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
    return TRUE;
}

// Asked of the program's own objects: a window's class name would cost a call to the Wine server per window
// at every form's first showing.
bool IsGroupBox(HWND window) { return dynamic_cast<TGroupBox *>(TWindow::FromHandle(window)) != nullptr; }

bool IsOwnWindow(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return lstrcmpW(name, L"ZelvorWindow") == 0;
}

int ScaledEdge(int pixels96) { return MulDiv(pixels96, ScreenDpi(), kDesignDpi); }

} // namespace

int ScreenDpi() {
    // A memory context has the screen's resolution, and costs no window's.
    static const int dpi = [] {
        HDC dc = CreateCompatibleDC(nullptr);
        int found = dc ? GetDeviceCaps(dc, LOGPIXELSY) : kDesignDpi;
        if (dc) DeleteDC(dc);
        return found > 0 ? found : kDesignDpi;
    }();
    return dpi;
}

int Scaled(int pixels96) { return ScreenDpi() == kDesignDpi ? pixels96 : ScaledEdge(pixels96); }

void ScaleChildren(HWND form) {
    // Every descendant, parents before their children.
    std::vector<HWND> windows;
    EnumChildWindows(form, Collect, reinterpret_cast<LPARAM>(&windows));
    if (ScreenDpi() != kDesignDpi) {
        // Only the program's own windows: a control's inner windows (a list view's header, a box's edit)
        // follow their control. All bounds are read before any moves, since a panel lays out its children
        // whenever it is sized.
        struct Placed {
            TWindow *window;
            RECT bounds;
            int dropped;
        };
        std::vector<Placed> placed;
        for (HWND hwnd : windows)
            if (TWindow *window = TWindow::FromHandle(hwnd)) {
                auto *box = dynamic_cast<TComboBox *>(window);
                placed.push_back({window, window->Bounds(), box ? box->DroppedHeight() : -1});
            }
        for (const Placed &p : placed) {
            // Edges scaled, not lengths: neighbours that touch keep touching.
            int left = ScaledEdge(p.bounds.left), top = ScaledEdge(p.bounds.top);
            int width = ScaledEdge(p.bounds.right) - left, height = ScaledEdge(p.bounds.bottom) - top;
            if (auto *box = dynamic_cast<TComboBox *>(p.window)) {
                box->SetBounds(left, top, width, p.dropped >= 0 ? ScaledEdge(p.bounds.top + p.dropped) - top : height);
            } else if (p.window->Handle()) {
                SetWindowPos(p.window->Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    // A group box above the controls it frames hides them wherever their clipped siblings meet it.
    for (HWND hwnd : windows)
        if (IsGroupBox(hwnd)) SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (ScreenDpi() == kDesignDpi) return;
    // Layouts run in code (the main window's sides, a panel's rows) go again over the scaled sizes.
    RECT r{};
    GetClientRect(form, &r);
    SendMessageW(form, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    for (HWND hwnd : windows)
        if (IsWindow(hwnd) && IsOwnWindow(hwnd)) {
            GetClientRect(hwnd, &r);
            SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
        }
}

} // namespace ui

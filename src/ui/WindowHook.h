#pragma once
#include <windows.h>

#include <functional>

namespace ui {

// Puts a handler in front of another part's window procedure (as the painted title bar does with its
// form's). The chain is kept in the process: the common controls' subclass chain costs a call to the
// Wine server on every message the window gets.
class THookedWindow {
public:
    using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    THookedWindow() = default;
    THookedWindow(const THookedWindow &) = delete;
    THookedWindow &operator=(const THookedWindow &) = delete;
    ~THookedWindow() { Unhook(); }

    // False when the window is missing or already hooked (the program's own controls are: their objects
    // hook them). The handler sees every message, WM_NCDESTROY
    // included, after which the hook is gone.
    bool Hook(HWND hwnd, THandler handler);
    void Unhook();
    HWND Window() const { return hwnd_; }
    // The window's procedure as it was before the hook.
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    THandler handler_;
};

} // namespace ui

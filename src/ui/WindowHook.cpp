#include "ui/WindowHook.h"

#include <mutex>
#include <unordered_map>

namespace ui {

namespace {

struct THook {
    THookedWindow *owner; // null once the owner let go while another procedure sat in front of this one
    WNDPROC previous;
};
std::mutex hooksLock;
// Never destroyed: a window may outlive the static objects at exit.
auto &hooks = *new std::unordered_map<HWND, THook>;

THook Find(HWND hwnd) {
    std::lock_guard<std::mutex> hold(hooksLock);
    auto it = hooks.find(hwnd);
    return it == hooks.end() ? THook{nullptr, nullptr} : it->second;
}

} // namespace

bool THookedWindow::Hook(HWND hwnd, THandler handler) {
    if (!hwnd || hwnd_ || !IsWindow(hwnd)) return false;
    std::lock_guard<std::mutex> hold(hooksLock);
    if (hooks.count(hwnd)) return false;
    handler_ = std::move(handler);
    hwnd_ = hwnd;
    hooks[hwnd] = {this, reinterpret_cast<WNDPROC>(
                             SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)))};
    return true;
}

void THookedWindow::Unhook() {
    if (!hwnd_) return;
    std::lock_guard<std::mutex> hold(hooksLock);
    auto it = hooks.find(hwnd_);
    if (it != hooks.end()) {
        if (IsWindow(hwnd_) &&
            GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Proc)) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
            hooks.erase(it);
        } else {
            // A later procedure calls this one still: messages pass straight through from now on.
            it->second.owner = nullptr;
        }
    }
    hwnd_ = nullptr;
}

LRESULT THookedWindow::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    THook hook = Find(hwnd_);
    if (!hook.previous) return DefWindowProcW(hwnd_, msg, wParam, lParam);
    return CallWindowProcW(hook.previous, hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK THookedWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    THook hook = Find(hwnd);
    if (!hook.previous) return DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = hook.owner && hook.owner->handler_ ? hook.owner->handler_(msg, wParam, lParam)
                                                        : CallWindowProcW(hook.previous, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The owner may have let go inside its handler.
        std::lock_guard<std::mutex> hold(hooksLock);
        auto it = hooks.find(hwnd);
        if (it != hooks.end()) {
            if (it->second.owner) it->second.owner->hwnd_ = nullptr;
            hooks.erase(it);
        }
    }
    return result;
}

} // namespace ui

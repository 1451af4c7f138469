#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace ui {

// Owns one GDI object and deletes it on every path.
template <typename H> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    GdiObject(GdiObject &&o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject &operator=(GdiObject &&o) noexcept {
        Reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    ~GdiObject() { Reset(); }
    void Reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using BitmapHandle = GdiObject<HBITMAP>;

// Owns a kernel handle (file, process) and closes it on every path.
struct KernelHandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using KernelHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;

// Owns an icon made by extraction and destroys it on every path.
struct IconCloser {
    void operator()(HICON h) const {
        if (h) DestroyIcon(h);
    }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconCloser>;

// Owns a FindFirstFile search handle.
struct FindHandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindHandleCloser>;

// Sets the process error mode for a scope and restores the previous one on every path.
class ErrorModeScope {
public:
    explicit ErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
    ~ErrorModeScope() { SetErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope &) = delete;
    ErrorModeScope &operator=(const ErrorModeScope &) = delete;

private:
    UINT previous_;
};

} // namespace ui

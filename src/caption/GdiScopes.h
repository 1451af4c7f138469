#pragma once
#include <windows.h>

#include "ui/Handles.h"

namespace caption {

// A window's whole-window device context, released on every path.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An off-screen context compatible with another (the screen when none is given), deleted on every path.
class ScreenCompatibleDC {
public:
    explicit ScreenCompatibleDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
    ~ScreenCompatibleDC() {
        if (dc_) DeleteDC(dc_);
    }
    ScreenCompatibleDC(const ScreenCompatibleDC &) = delete;
    ScreenCompatibleDC &operator=(const ScreenCompatibleDC &) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects a GDI object into a context for a scope and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectScope() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectScope(const SelectScope &) = delete;
    SelectScope &operator=(const SelectScope &) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace caption

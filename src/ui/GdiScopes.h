#pragma once
#include <windows.h>


namespace ui {

// Which part of a window a device context draws on: the client area, or the whole window with its frame.
enum class TDCArea { client, whole };

// A window's device context (the screen's for no window), released on every path.
class TWindowDC {
public:
    explicit TWindowDC(HWND hwnd, TDCArea area = TDCArea::client)
        : hwnd_(hwnd), dc_(area == TDCArea::whole ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~TWindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    TWindowDC(const TWindowDC &) = delete;
    TWindowDC &operator=(const TWindowDC &) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An off-screen context compatible with another (the screen when none is given), deleted on every path.
class TCompatibleDC {
public:
    explicit TCompatibleDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
    ~TCompatibleDC() {
        if (dc_) DeleteDC(dc_);
    }
    TCompatibleDC(const TCompatibleDC &) = delete;
    TCompatibleDC &operator=(const TCompatibleDC &) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects a GDI object into a context for a scope and puts the previous one back.
class TSelectScope {
public:
    TSelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~TSelectScope() {
        if (previous_) SelectObject(dc_, previous_);
    }
    TSelectScope(const TSelectScope &) = delete;
    TSelectScope &operator=(const TSelectScope &) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace ui

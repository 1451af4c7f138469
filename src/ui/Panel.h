#pragma once
#include "ui/Window.h"

namespace ui {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBevel { bvNone, bvLowered, bvRaised };

// A plain container with a background colour, an optional inner bevel and a one-line caption.
class TPanel : public TWindow {
public:
    void Create(HWND parent, bool singleBorder = false);

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    COLORREF FontColor() const { return fontColor_; }
    void SetFontColor(COLORREF color);
    void SetCaption(const std::wstring &caption);
    const std::wstring &Caption() const { return caption_; }
    void SetAlignment(TAlignment a);
    void SetBevelInner(TBevel bevel);

    TNotifyEvent OnResize;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    COLORREF color_ = GetSysColor(COLOR_BTNFACE);
    COLORREF fontColor_ = GetSysColor(COLOR_WINDOWTEXT);
    std::wstring caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TBevel bevelInner_ = TBevel::bvNone;
    HFONT font_ = nullptr;
};

// A vertical bar the user drags to move the boundary between two neighbours.
class TSplitter : public TWindow {
public:
    void Create(HWND parent);
    // Raised while dragging with the horizontal distance from where the drag began.
    std::function<void(int delta)> OnMoved;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int dragStartX_ = 0;
    bool dragging_ = false;
};

} // namespace ui

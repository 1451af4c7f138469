#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "ui/Window.h"

namespace ui {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBevel { bvNone, bvLowered, bvRaised };
// Which end of a caption too long for its panel gives way to "...".
enum class TEllipsis { elEnd, elStart };

// The end of the text that fits the width, with "..." in front when its start had to go.
std::wstring FitTail(const std::wstring &text, int width, const std::function<int(std::wstring_view)> &measure);

// A plain container with a background colour, an optional inner bevel and a one-line caption. The caption
// is the window's text, so that WM_GETTEXT (and a screen reader) reads what the panel shows.
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
    void SetEllipsis(TEllipsis ellipsis);
    // The caption as painted now, shortened to the panel's width.
    std::wstring ShownCaption() const;

    TNotifyEvent OnResize;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    RECT TextRect() const;

    COLORREF color_ = GetSysColor(COLOR_BTNFACE);
    COLORREF fontColor_ = GetSysColor(COLOR_WINDOWTEXT);
    std::wstring caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TBevel bevelInner_ = TBevel::bvNone;
    TEllipsis ellipsis_ = TEllipsis::elEnd;
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

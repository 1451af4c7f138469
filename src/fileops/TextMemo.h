#pragma once
#include <windows.h>

#include <string>

#include "ui/Window.h"

namespace fileops {

// A read-only multi-line text control that shows whole texts: the viewer's text and the quick-view panes.
// Its text limit is raised from the control's small default, and a text the control cannot take is
// reported instead of being shown in part.
class TTextMemo : public ui::TWindow {
public:
    // style: the scroll bar and wrapping bits on top of a read-only multi-line child.
    void Create(HWND parent, int id, DWORD style);

    // Hands the whole text to the control; false when the control refused it (out of memory).
    bool ShowText(const std::wstring &text);
    void Clear();
    std::wstring Text() const { return ui::TWindow::Text(); }
    void SelectAll();
    void CopySelection();

    // Whether long lines wrap: fixed when a multi-line edit is created, so changing it creates the control
    // anew (the caller hands the text again and then restores the place it read before).
    bool WordWrap() const;
    struct TPlace {
        DWORD selStart = 0, selEnd = 0;
        // The first character of the top visible line; stays the same character across a change of wrapping.
        DWORD topChar = 0;
    };
    TPlace Place() const;
    void SetWordWrap(bool wrap);
    void RestorePlace(const TPlace &place);

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

private:
    void CreateControl(DWORD style);

    HWND parent_ = nullptr;
    int id_ = 0;
    DWORD style_ = 0;
    bool outOfSpace_ = false;
};

// The styles of the two kinds of text control.
constexpr DWORD kWrappedScrolling = WS_VSCROLL;
constexpr DWORD kUnwrappedScrolling = WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL;

} // namespace fileops

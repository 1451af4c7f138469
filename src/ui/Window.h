#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Keys.h"
#include "ui/WindowHook.h"

namespace ui {

using TNotifyEvent = std::function<void()>;
using TKeyEvent = std::function<void(WORD &key, TShiftState shift)>;
using TMouseEvent = std::function<void(TMouseButton button, TShiftState shift, int x, int y)>;

// Base of every window the program creates: its own windows (forms, panels, splitters) and the
// standard controls, which are subclassed. A window of its own is its object's from its first message
// (WM_NCCREATE) on, so the object sees its making and the sizes sent meanwhile. Every message runs inside a handler that catches errors
// and shows them, so no exception ever reaches the system. Notifications a parent receives from a
// child (WM_NOTIFY, WM_COMMAND, owner drawing) are handed back to the child object that owns the control.
class TWindow {
public:
    TWindow() = default;
    TWindow(const TWindow &) = delete;
    TWindow &operator=(const TWindow &) = delete;
    virtual ~TWindow();

    HWND Handle() const { return hwnd_; }
    static TWindow *FromHandle(HWND hwnd);

    // Set before the window is made, the bounds are where it is made: a window placed at its making costs
    // no move afterwards.
    void SetBounds(int x, int y, int width, int height);
    RECT Bounds() const; // in the parent's client coordinates
    int Width() const;
    int Height() const;
    int ClientWidth() const;
    int ClientHeight() const;
    bool Visible() const;
    void SetVisible(bool visible);
    void SetFocus();
    bool Focused() const;
    void SetFont(HFONT font);
    std::wstring Text() const;
    void SetText(const std::wstring &text);
    void Invalidate();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseUp;

protected:
    // A window of the program's own class (used by forms, panels and splitters). Its messages reach OnMessage
    // while it is being made: a handler must not count on what the caller sets up after this returns.
    void CreateOwn(HWND parent, DWORD style, DWORD exStyle, const wchar_t *text = L"", HMENU menuOrId = nullptr,
                   SIZE size = {0, 0});
    // A standard control, subclassed so that its messages reach OnMessage.
    void CreateStandard(const wchar_t *className, HWND parent, DWORD style, DWORD exStyle, int id,
                        const wchar_t *text = L"");
    // Subclasses an inner window (such as a combo box's edit) so its keys raise this object's key events.
    void AttachKeySource(HWND inner);
    // Lets go of a window of the program's own class without destroying it: its messages go to its class
    // from now on, and this object is free to create another window. Returns the window let go.
    HWND ReleaseOwnWindow();

    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A notification the parent received from this control; true when handled.
    virtual bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result);
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called for WM_KEYDOWN before the default processing; the key may be replaced or cleared.
    virtual void KeyDown(WORD &key, TShiftState shift);
    virtual void KeyUp(WORD &key, TShiftState shift);

private:
    static LRESULT CALLBACK OwnProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool HandleKey(HWND source, UINT msg, WPARAM &wParam, LRESULT &result);
    static bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result);

    HWND hwnd_ = nullptr;
    RECT planned_{}; // the bounds set before the window was made
    bool boundsPlanned_ = false;
    THookedWindow control_;   // a standard control's own procedure, called for what this object leaves
    THookedWindow keySource_; // an inner window whose keys raise this object's key events

    bool swallowChar_ = false;
    HWND currentSource_ = nullptr;
};

} // namespace ui

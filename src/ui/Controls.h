#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Window.h"

namespace ui {

// Thin wrappers over the standard controls. Each raises its events as std::function members.

class TButton : public TWindow {
public:
    void Create(HWND parent, int id, const std::wstring &caption, DWORD extraStyle = 0);
    // The modal result a click gives the form (0: none).
    int ModalResult = 0;

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

class TCheckBox : public TWindow {
public:
    void Create(HWND parent, int id, const std::wstring &caption);
    bool Checked() const;
    void SetChecked(bool checked);
    TNotifyEvent OnChange;

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

class TLabel : public TWindow {
public:
    void Create(HWND parent, const std::wstring &caption, DWORD extraStyle = 0);
};

// A frame with a caption around other controls. It lies beneath them (see ScaleChildren) and paints its own
// inside, which a form that clips its children leaves to it.
class TGroupBox : public TWindow {
public:
    void Create(HWND parent, const std::wstring &caption);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class TEdit : public TWindow {
public:
    void Create(HWND parent, int id, DWORD extraStyle = ES_AUTOHSCROLL);
    void SelectAll();
    TNotifyEvent OnChange;

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

class TMemo : public TWindow {
public:
    void Create(HWND parent, int id, DWORD extraStyle = 0);
    void Clear();
    void AppendLine(const std::wstring &line);
};

class TComboBox : public TWindow {
public:
    // style: CBS_DROPDOWN (with an edit) or CBS_DROPDOWNLIST, plus any owner-draw flags.
    void Create(HWND parent, int id, DWORD style);
    // The same box, whose window is made at its first use: until then a plain window of the program's own
    // class stands in its place and draws the closed box. Under Wine a drop-down box costs more to create
    // than any other control (its list is a top-level window of its own), and a box is often never opened
    // in a session. Focus, a click, or any call that needs the list makes the window (MakeWindow), in the
    // stand-in's place, tab order, font and text.
    void CreateOnFirstUse(HWND parent, int id, DWORD style);
    // Whether the box's own window exists (always, once made; a box made by Create is made at once).
    bool WindowMade() const { return !standIn_; }
    void MakeWindow();
    void Clear();
    int AddItem(const std::wstring &text);
    int Count() const;
    std::wstring Item(int index) const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool DroppedDown() const;
    void SetDroppedDown(bool dropped);
    HWND EditHandle() const;
    // Lifts the edit field's limit on the text's length (30,000 characters on some systems), so that a
    // longer text typed or pasted stays whole for its user to judge rather than being cut.
    void RemoveTextLimit();
    // The height of the selection field and of the list's entries (owner-drawn boxes), in 96-DPI pixels.
    void SetItemHeights(int field, int items);
    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    std::function<void(const DRAWITEMSTRUCT &)> OnDrawItem;
    // The height is the dropped-down height, which the box does not keep as its own: the last one set
    // is remembered, so that placing the box where it is costs nothing.
    void SetBounds(int x, int y, int width, int height);
    // The height of the closed box for its font and field height, as the system's box gives itself.
    int ClosedHeight() const;
    // The dropped-down height last set (-1: none).
    int DroppedHeight() const { return droppedHeight_; }

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Called once the window has been made in the stand-in's place: what the stand-in kept goes into it.
    virtual void AfterWindowMade() {}
    // Draws what the closed box shows into its field (the stand-in's): by default its text.
    virtual void PaintField(HDC dc, const RECT &field);

private:
    void CreateBox(HWND parent, DWORD childStyle);
    void FindEdit();
    void PaintStandIn();
    // The stand-in as high as the closed box.
    void FitStandIn();
    LRESULT StandInMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Makes the window from a const query: the answer needs the real list.
    void MakeWindowForQuery() const { const_cast<TComboBox *>(this)->MakeWindow(); }

    HWND edit_ = nullptr;
    int droppedHeight_ = -1;
    bool standIn_ = false;
    int id_ = 0;
    DWORD style_ = 0;
    bool unlimitedText_ = false;
    HFONT font_ = nullptr;
    int fieldHeight_ = -1, itemHeight_ = -1;
    mutable int closedHeight_ = -1; // measured at first need
};

class TListView : public TWindow {
public:
    void Create(HWND parent, int id, DWORD style);
    // The width in 96-DPI pixels.
    void AddColumn(const std::wstring &caption, int width, int format = LVCFMT_LEFT);
    int AddItem(const std::wstring &caption, const std::vector<std::wstring> &subItems = {});
    void Clear();
    int Count() const;
    int Selected() const;
    std::wstring ItemText(int index, int subItem) const;
    std::function<void(NMHDR *)> OnNotify;

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

class TTreeView : public TWindow {
public:
    void Create(HWND parent, int id, DWORD style = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    HTREEITEM AddItem(HTREEITEM parent, const std::wstring &text, LPARAM data = 0);
    void Clear();
    std::function<void(NMTREEVIEWW *)> OnSelChanged;

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

class TStatusBar : public TWindow {
public:
    void Create(HWND parent, int id);
    void SetSimpleText(const std::wstring &text);
};

} // namespace ui

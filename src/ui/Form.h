#pragma once
#include "ui/Handles.h"
#include "ui/Window.h"

namespace ui {

enum TModalResult : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

// A top-level window that owns its controls. Forms are created once and shown modally with a nested
// message loop; the first form created with isMain is the application's main window.
class TForm : public TWindow {
public:
    ~TForm() override;

    // Sizes and bounds a form is drawn up with are 96-DPI pixels: the form is made at its size scaled to the
    // screen, and its children are scaled when it first shows (ScaleChildren). Bounds set before the form is
    // made (a saved placement) are the user's own pixels and stay as they are.
    void CreateForm(const std::wstring &caption, int width, int height, bool isMain, HMENU menu = nullptr,
                    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    // Before CreateForm: the size given is already the screen's (a size the system chose).
    void KeepPixelSize() { keepPixelSize_ = true; }
    // The "MS Sans Serif" 8-point font every form and its controls use.
    HFONT FormFont() const { return font_.Get(); }

    void Show();
    void Close();
    // Shows the form and runs its loop until it has a result. The window it was opened from (the modal form
    // below it, else the main window) is disabled meanwhile and given back afterwards, enabled only if it
    // was enabled before, and active.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool IsModal() const { return modal_; }
    // In 96-DPI pixels.
    void SetClientSize(int width, int height);
    void CenterOnScreen();
    // top = main top + main height div 2 - own height div 2; left likewise (the screen without a main form).
    void CenterOnMainForm();
    // The button id pressed by Enter in a modal form (0: none).
    void SetDefaultId(int id) { defaultId_ = id; }

    TNotifyEvent OnShow;
    TNotifyEvent OnResize;
    TNotifyEvent OnClose;
    // Escape in a modal form; without a handler it closes the form with mrCancel.
    TNotifyEvent OnCancelKey;
    std::function<void(int id)> OnCommand;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    FontHandle font_;
    bool isMain_ = false;
    bool shown_ = false;
    bool keepPixelSize_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    int defaultId_ = 0;
    HWND lastFocus_ = nullptr;
};

} // namespace ui

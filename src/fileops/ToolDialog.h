#pragma once
#include "ui/Form.h"

namespace fileops {

// A small modal tool window with only a system menu, centred on the main window at every showing, with the
// focus on its first control.
class TToolDialog : public ui::TForm {
protected:
    void CreateToolDialog(const std::wstring &caption, int clientWidth, int clientHeight);
    // The control that takes the focus when the dialog comes up; the caller's show handler asks for it.
    void FocusOnShow(ui::TWindow &control) { focusOnShow_ = &control; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    ui::TWindow *focusOnShow_ = nullptr;
};

} // namespace fileops

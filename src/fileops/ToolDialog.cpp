#include "fileops/ToolDialog.h"

#include "ui/Application.h"

namespace fileops {

void TToolDialog::CreateToolDialog(const std::wstring &caption, int clientWidth, int clientHeight) {
    CreateForm(caption, clientWidth, clientHeight, false, nullptr,
               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(clientWidth, clientHeight);
}

LRESULT TToolDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = ui::TForm::OnMessage(msg, wParam, lParam);
    // The form's own activation gives the focus to the window itself when it has no control to return to.
    if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && focusOnShow_ && focusOnShow_->Handle()) {
        focusOnShow_->SetFocus();
        focusOnShow_ = nullptr;
    }
    return result;
}

} // namespace fileops

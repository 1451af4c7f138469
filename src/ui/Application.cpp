#include "ui/Application.h"

#include <algorithm>

#include "ui/ErrorText.h"
#include "ui/Form.h"
#include "ui/MessageBox.h"
#include "ui/Text.h"

namespace ui {

TApplication &TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::HandleException(const std::exception &error) {
    HWND owner = GetActiveWindow();
    ShowMessage(owner, ErrorText(error), title_, MB_OK | MB_ICONERROR);
}

void TApplication::EndModal(TForm *form) {
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), form), modalStack_.end());
}

bool TApplication::TakeShortcut(const MSG &msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!mainForm_ || !mainForm_->Handle() || ActiveModal() != nullptr) return false;
    HWND main = mainForm_->Handle();
    if (msg.hwnd != main && !IsChild(main, msg.hwnd)) return false;
    int command = shortcuts_.Find(static_cast<WORD>(msg.wParam), KeyboardShiftState());
    if (command == 0) return false;
    // The key belongs to the menu even when its item is disabled or runs nothing.
    if (msg.message == WM_SYSKEYDOWN) altShortcutTaken_ = true;
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return true;
}

void TApplication::DispatchOne(MSG &msg) {
    const bool altKey = msg.wParam == VK_MENU || msg.wParam == VK_LMENU || msg.wParam == VK_RMENU;
    if (altKey && msg.message == WM_SYSKEYDOWN && !(msg.lParam & (1 << 30))) altShortcutTaken_ = false;
    if (altKey && (msg.message == WM_SYSKEYUP || msg.message == WM_KEYUP) && altShortcutTaken_) {
        altShortcutTaken_ = false;
        return;
    }
    if (TakeShortcut(msg)) return;
    if (TForm *modal = ActiveModal(); modal && modal->Handle() &&
                                      (msg.hwnd == modal->Handle() || IsChild(modal->Handle(), msg.hwnd))) {
        if (IsDialogMessageW(modal->Handle(), &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

int TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
    return static_cast<int>(msg.wParam);
}

void TApplication::Minimize() {
    if (mainForm_ && mainForm_->Handle()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

} // namespace ui

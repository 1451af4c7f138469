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

bool TApplication::ServePending(unsigned kinds) {
    // All kinds: no filter, as the main loop takes them.
    UINT flags = PM_REMOVE;
    if ((kinds & svAll) != svAll) {
        flags |= PM_QS_SENDMESSAGE;
        if (kinds & svPaint) flags |= PM_QS_PAINT;
        if (kinds & svPosted) flags |= PM_QS_POSTMESSAGE;
        if (kinds & svInput) flags |= PM_QS_INPUT;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, flags)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        DispatchOne(msg);
    }
    return true;
}

void TApplication::ServeUntil(HANDLE event, unsigned kinds) {
    DWORD wakeOn = QS_ALLINPUT;
    if ((kinds & svAll) != svAll) {
        wakeOn = QS_SENDMESSAGE;
        if (kinds & svPaint) wakeOn |= QS_PAINT;
        if (kinds & svPosted) wakeOn |= QS_POSTMESSAGE | QS_TIMER | QS_HOTKEY;
        if (kinds & svInput) wakeOn |= QS_INPUT;
    }
    // Looked at again every so often: a wake-up lost between a look and the wait costs no more than that.
    constexpr DWORD kLookAgainMs = 100;
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &event, FALSE, kLookAgainMs, wakeOn);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
        ServePending(kinds);
    }
}

bool TApplication::Queued(HWND window, std::initializer_list<UINT> messages) {
    MSG msg;
    for (UINT message : messages)
        if (PeekMessageW(&msg, window, message, message, PM_NOREMOVE)) return true;
    return false;
}

std::vector<MSG> TApplication::DropKeys(HWND window, size_t most) {
    std::vector<MSG> dropped;
    MSG msg;
    while (dropped.size() < most && PeekMessageW(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        dropped.push_back(msg);
    return dropped;
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

#include "ui/Application.h"

namespace ui {

TApplication &TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::HandleException(const std::exception &error) {
    std::wstring text;
    const char *what = error.what();
    int n = MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
    if (n > 0) {
        text.resize(n - 1);
        MultiByteToWideChar(CP_UTF8, 0, what, -1, text.data(), n);
    }
    MessageBoxW(GetActiveWindow(), text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace ui

#pragma once
#include <windows.h>

#include <functional>

namespace fileopstest {

// Does something to the shell's popup menu as soon as it is up; counts the menus seen.
class MenuAnswer {
public:
    explicit MenuAnswer(std::function<void(HWND menu)> answer) {
        current_ = this;
        answer_ = std::move(answer);
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~MenuAnswer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    int MenusSeen() const { return seen_; }

private:
    static BOOL CALLBACK Find(HWND hwnd, LPARAM found) {
        wchar_t cls[16] = {};
        GetClassNameW(hwnd, cls, 16);
        if (!IsWindowVisible(hwnd) || wcscmp(cls, L"#32768") != 0)
            return TRUE;
        *reinterpret_cast<HWND *>(found) = hwnd;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&menu));
        if (!menu || !current_ || current_->answered_ == menu)
            return;
        current_->answered_ = menu;
        ++current_->seen_;
        current_->answer_(menu);
    }

    static inline MenuAnswer *current_ = nullptr;
    std::function<void(HWND)> answer_;
    UINT_PTR timer_ = 0;
    HWND answered_ = nullptr;
    int seen_ = 0;
};

} // namespace fileopstest

#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/BrowseFolder.h"

// Answers the shell's folder dialog of a TBrowseFolder as a person does, one step at a time: each step runs
// on a later turn of the dialog's own message loop (a thread timer, which every loop serves), so that it
// sees what the dialog made of the step before (the tree reports a new selection when it gets round to it).
class BrowseSteps {
public:
    using Step = std::function<void(HWND dialog)>;

    BrowseSteps(ui::TBrowseFolder &browser, std::vector<Step> steps) : browser_(browser), steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 100, Tick);
    }
    ~BrowseSteps() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    BrowseSteps(const BrowseSteps &) = delete;
    BrowseSteps &operator=(const BrowseSteps &) = delete;

    size_t Done() const { return next_; }

    static Step Press(int id) {
        return [id](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    }
    static Step Select(const std::wstring &path) {
        return [path](HWND dialog) {
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        };
    }
    // Holds the next step back (for at most three seconds) until the dialog has reported what the steps
    // before it did: a fast machine gets round to the next step before the tree has told its selection.
    static Step WaitFor(std::function<bool()> condition) { return Retry([](HWND) {}, std::move(condition)); }
    // Does the step again on the next turns (for at most three seconds) until the condition holds: a new
    // Wine prefix may pass over a selection asked for while its shell namespace is still being set up.
    static Step Retry(Step step, std::function<bool()> condition) {
        return [step, condition](HWND dialog) {
            BrowseSteps *self = current_;
            if (!self) return;
            step(dialog);
            if (!condition() && ++self->waited_ < 30) {
                self->repeat_ = true;
                return;
            }
            self->waited_ = 0;
        };
    }
    // The tree's root, My Computer, which is no folder of the file system.
    static Step SelectMyComputer() {
        return [](HWND dialog) {
            LPITEMIDLIST computer = nullptr;
            if (FAILED(SHGetSpecialFolderLocation(dialog, CSIDL_DRIVES, &computer))) return;
            SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
            CoTaskMemFree(computer);
        };
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        BrowseSteps *self = current_;
        if (!self || self->next_ >= self->steps_.size()) return;
        HWND dialog = self->browser_.DialogHandle();
        if (!dialog || !IsWindowVisible(dialog)) return;
        self->repeat_ = false;
        self->steps_[self->next_++](dialog);
        if (self->repeat_) --self->next_;
    }

    ui::TBrowseFolder &browser_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool repeat_ = false;
    int waited_ = 0;
    UINT_PTR timer_ = 0;
    static inline BrowseSteps *current_ = nullptr;
};

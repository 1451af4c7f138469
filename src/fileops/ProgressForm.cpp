#include "fileops/ProgressForm.h"

#include <exception>
#include <thread>

#include "ui/Application.h"
#include "ui/Handles.h"

namespace fileops {

namespace {

constexpr UINT kAskReadOnly = WM_APP + 1, kWorkDone = WM_APP + 2;
constexpr UINT_PTR kTimer = 1;

struct TReadOnlyRequest {
    std::wstring path;
    TReadOnlyAnswer answer = roCancel;
};

} // namespace

std::wstring Grouped(unsigned long long value) {
    std::wstring digits = std::to_wstring(value), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += L',';
        out += digits[i];
    }
    return out;
}

void TProgressForm::Build(const std::wstring &caption) {
    CreateToolDialog(caption, 420, 100);
    HWND self = Handle();
    item_.Create(self, L"", SS_NOPREFIX | SS_PATHELLIPSIS);
    item_.SetBounds(8, 8, 404, 18);
    item_.SetFont(FormFont());
    itemBytes_.Create(self, L"");
    itemBytes_.SetBounds(8, 28, 404, 18);
    itemBytes_.SetFont(FormFont());
    total_.Create(self, L"");
    total_.SetBounds(8, 48, 404, 18);
    total_.SetFont(FormFont());
    cancel_.Create(self, IDCANCEL, L"Cancel", BS_DEFPUSHBUTTON);
    cancel_.SetBounds(337, 70, 75, 25);
    cancel_.SetFont(FormFont());
    SetDefaultId(IDCANCEL);
    OnCancelKey = [this] { control_->cancel = true; };
    cancel_.OnClick = [this] { control_->cancel = true; };
    OnShow = [this] {
        CenterOnMainForm();
        FocusOnShow(cancel_);
    };
}

void TProgressForm::ShowProgress() {
    if (!control_)
        return;
    std::wstring current = control_->Current();
    item_.SetText(current.empty() ? L"" : L"\"" + current + L"\"");
    itemBytes_.SetText(Grouped(control_->itemDone) + L" of " + Grouped(control_->itemBytes) + L" bytes");
    std::wstring total = Grouped(control_->doneFiles) + L" of " + Grouped(files_) + L" items, " +
                         Grouped(control_->doneBytes) + L" of " + Grouped(bytes_) + L" bytes";
    if (control_->cancel)
        total += L" - cancelling";
    total_.SetText(total);
}

LRESULT TProgressForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kAskReadOnly: {
        auto *request = reinterpret_cast<TReadOnlyRequest *>(lParam);
        request->answer = control_->cancel ? roCancel : prompts_->AskReadOnly(request->path, false);
        return 0;
    }
    case kWorkDone:
        ShowProgress();
        SetModalResult(ui::mrOk);
        return 0;
    case WM_TIMER:
        if (wParam == kTimer) {
            ShowProgress();
            return 0;
        }
        break;
    case WM_CLOSE:
        control_->cancel = true;
        return 0;
    }
    return TToolDialog::OnMessage(msg, wParam, lParam);
}

void TProgressForm::Run(const std::wstring &caption, TWorkControl &control, unsigned long files,
                        unsigned long long bytes, IOperationPrompts &prompts, const std::function<void()> &work) {
    control_ = &control;
    prompts_ = &prompts;
    files_ = files;
    bytes_ = bytes;
    Build(caption);
    HWND self = Handle();
    control.askReadOnly = [self](const std::wstring &path) {
        TReadOnlyRequest request{path};
        SendMessageW(self, kAskReadOnly, 0, reinterpret_cast<LPARAM>(&request));
        return request.answer;
    };
    ui::KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE doneEvent = done.get();
    // An error on the work's thread (out of memory, say) is told on this one, as any handler's error is:
    // thrown out of the thread it would end the program.
    std::exception_ptr failure;
    std::thread worker([&work, &failure, self, doneEvent] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        SetEvent(doneEvent);
        PostMessageW(self, kWorkDone, 0, 0);
    });
    SetTimer(self, kTimer, 100, nullptr);
    ShowModal();
    // The loop may have ended before the work did (the program is quitting): the work is stopped, and its
    // questions are answered "Cancel" while it winds down.
    if (WaitForSingleObject(doneEvent, 0) == WAIT_TIMEOUT) {
        control.cancel = true;
        ui::Application().ServeUntil(doneEvent, ui::TApplication::svSentOnly);
    }
    worker.join();
    KillTimer(self, kTimer);
    control.askReadOnly = nullptr;
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace fileops

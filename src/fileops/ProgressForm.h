#pragma once
#include <functional>
#include <string>

#include "fileops/LongPathOps.h"
#include "fileops/OperationPrompts.h"
#include "fileops/ToolDialog.h"
#include "ui/Controls.h"

namespace fileops {

// The program's own progress window: the item at hand and its bytes, the whole set's count and bytes, and
// "Cancel" (Escape and the close box too). The work runs on a thread of its own while the window's loop
// keeps every window of the program answering; a read-only file the work meets is asked about here, on
// the window's thread.
class TProgressForm : public TToolDialog {
public:
    // Shows the window until the work has ended; the work's thread is joined before this returns, also
    // when the loop ends early (the program is quitting), in which case the work is cancelled first.
    void Run(const std::wstring &caption, TWorkControl &control, unsigned long files, unsigned long long bytes,
             IOperationPrompts &prompts, const std::function<void()> &work);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Build(const std::wstring &caption);
    void ShowProgress();

    ui::TLabel item_, itemBytes_, total_;
    ui::TButton cancel_;
    TWorkControl *control_ = nullptr;
    IOperationPrompts *prompts_ = nullptr;
    unsigned long files_ = 0;
    unsigned long long bytes_ = 0;
};

// "1,234,567": a count of bytes or items as a person reads it.
std::wstring Grouped(unsigned long long value);

} // namespace fileops

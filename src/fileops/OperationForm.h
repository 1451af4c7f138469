#pragma once
#include "fileops/ToolDialog.h"
#include "ui/Controls.h"
#include "ui/Handles.h"
#include "ui/Keys.h"

namespace fileops {

// The small prompt that asks for a destination or a name: a caption, a prompt line (LabelFrom), a short
// label before the edit field (Label1), the field (EditTo) and the buttons "ОК" and "Отмена". Created once
// and reused; it keeps the texts of its last use until the next caller sets them.
class TOperationForm : public TToolDialog {
public:
    void Create();

    ui::TLabel Label1;
    ui::TEdit EditTo;
    ui::TLabel LabelFrom;
    ui::TButton Cancel_Btn;
    ui::TButton Ok_Btn;

    // Sets the caption, both labels and the proposal, makes the field visible and shows the prompt
    // modally; returns the modal result (ui::mrOk or ui::mrCancel). The answer is EditTo's text.
    int Ask(const std::wstring &caption, const std::wstring &labelFrom, const std::wstring &label1,
            const std::wstring &proposal);

    void FormShow();
    // Escape with no modifier empties the labels, the field and the caption and closes with Cancel.
    void FormKeyDown(WORD &key, ui::TShiftState shift);

private:
    ui::FontHandle labelFont_;
};

} // namespace fileops

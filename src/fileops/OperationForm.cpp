#include "fileops/OperationForm.h"

#include "ui/ScreenScale.h"

namespace fileops {

namespace {
constexpr int kEditToId = 101, kOkId = 102, kCancelId = 103;
} // namespace

void TOperationForm::Create() {
    CreateToolDialog(L"", 313, 92);
    HWND self = Handle();
    labelFont_.Reset(CreateFontW(-ui::Scaled(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    Label1.Create(self, L"\u0412");
    Label1.SetBounds(8, 33, 30, 18);
    Label1.SetFont(labelFont_.Get());
    EditTo.Create(self, kEditToId);
    EditTo.SetBounds(42, 31, 263, 21);
    EditTo.SetFont(FormFont());
    LabelFrom.Create(self, L"LabelFrom");
    LabelFrom.SetBounds(8, 6, 297, 18);
    LabelFrom.SetFont(labelFont_.Get());
    Cancel_Btn.Create(self, kCancelId, L"\u041E\u0442\u043C\u0435\u043D\u0430");
    Cancel_Btn.SetBounds(230, 60, 75, 25);
    Cancel_Btn.SetFont(FormFont());
    Cancel_Btn.ModalResult = ui::mrCancel;
    Ok_Btn.Create(self, kOkId, L"\u041E\u041A", BS_DEFPUSHBUTTON);
    Ok_Btn.SetBounds(148, 60, 75, 25);
    Ok_Btn.SetFont(FormFont());
    Ok_Btn.ModalResult = ui::mrOk;
    SetDefaultId(kOkId);
    // Escape reaches the form before the field sees it.
    OnCancelKey = [this] {
        WORD key = VK_ESCAPE;
        FormKeyDown(key, ui::KeyboardShiftState());
    };
    OnShow = [this] { FormShow(); };
}

int TOperationForm::Ask(const std::wstring &caption, const std::wstring &labelFrom, const std::wstring &label1,
                        const std::wstring &proposal) {
    SetText(caption);
    LabelFrom.SetText(labelFrom);
    Label1.SetText(label1);
    EditTo.SetText(proposal);
    EditTo.SetVisible(true);
    return ShowModal();
}

void TOperationForm::FormShow() {
    CenterOnMainForm();
    EditTo.SelectAll();
    FocusOnShow(EditTo);
}

void TOperationForm::FormKeyDown(WORD &key, ui::TShiftState shift) {
    if (key != VK_ESCAPE || (shift & ui::kModifierMask) != 0)
        return;
    LabelFrom.SetText(L"");
    Label1.SetText(L"");
    EditTo.SetText(L"");
    SetText(L"");
    SetModalResult(ui::mrCancel);
}

} // namespace fileops

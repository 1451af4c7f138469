#include "config/OptionForm.h"

#include <initializer_list>

namespace config {

namespace {
enum : int { kQSAltId = 101, kQSCtrlAltId, kDirId, kPanId, kCmdId, kFontColorId, kBackColorId, kFontId };
// Not IDOK and IDCANCEL: no button of this dialog reacts to Enter or Escape.
enum : int { kOkId = 121, kCancelId, kApplyId };
} // namespace

void TOptionForm::Create() {
    CreateForm(L"Configuration", 257, 365, false, nullptr, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetClientSize(251, 339);
    HWND self = Handle();

    QS.Create(self, L" Quick Search ");
    QS.SetBounds(8, 4, 235, 58);
    QSAltLetters.Create(self, kQSAltId, L" ALT + Letters ", true);
    QSAltLetters.SetBounds(20, 20, 210, 17);
    QSCtrlAltLetters.Create(self, kQSCtrlAltId, L" CTRL + ALT + Letters", false);
    QSCtrlAltLetters.SetBounds(20, 38, 210, 17);

    SOE.Create(self, L"Save on exit");
    SOE.SetBounds(8, 66, 235, 76);
    Ch_Dir.Create(self, kDirId, L" Directories");
    Ch_Dir.SetBounds(20, 82, 210, 17);
    Ch_Pan.Create(self, kPanId, L"Panels (brief/full, etc.)");
    Ch_Pan.SetBounds(20, 100, 210, 17);
    Ch_Cmd.Create(self, kCmdId, L"Old command lines");
    Ch_Cmd.SetBounds(20, 118, 210, 17);

    // The colour boxes stand one above the other, each as wide as the frame, so that a name such as
    // "System: Info Background" shows whole.
    GroupColor.Create(self, L" Color ");
    GroupColor.SetBounds(8, 146, 235, 100);
    FontColorLabel.Create(self, L"Font");
    FontColorLabel.SetBounds(20, 162, 210, 14);
    FontColorCombo.Create(self, kFontColorId);
    FontColorCombo.SetBounds(20, 177, 211, 240);
    BackColorLabel.Create(self, L"Background");
    BackColorLabel.SetBounds(20, 202, 210, 14);
    BackColorCombo.Create(self, kBackColorId);
    BackColorCombo.SetBounds(20, 217, 211, 240);

    FontLabel.Create(self, L"File List Font");
    FontLabel.SetBounds(8, 252, 235, 14);
    FontCombo.Create(self, kFontId);
    FontCombo.SetBounds(8, 268, 235, 220);

    btn_Ok.Create(self, kOkId, L"OK");
    btn_Ok.SetBounds(8, 306, 75, 25);
    btn_Cancel.Create(self, kCancelId, L"Cancel");
    btn_Cancel.SetBounds(88, 306, 75, 25);
    btn_Apply.Create(self, kApplyId, L"Apply");
    btn_Apply.SetBounds(168, 306, 75, 25);

    for (ui::TWindow *w : std::initializer_list<ui::TWindow *>{
             &QS, &QSAltLetters, &QSCtrlAltLetters, &SOE, &Ch_Dir, &Ch_Pan, &Ch_Cmd, &GroupColor, &FontColorLabel,
             &BackColorLabel, &FontColorCombo, &BackColorCombo, &FontLabel, &FontCombo, &btn_Ok, &btn_Cancel,
             &btn_Apply})
        w->SetFont(FormFont());

    // As built: the first quick-search choice, Black text on White.
    QSAltLetters.SetChecked(true);
    FontColorCombo.SetValue(kStandardColors[0].value);
    BackColorCombo.SetValue(kStandardColors[15].value);

    for (ui::TWindow *w :
         std::initializer_list<ui::TWindow *>{&QSAltLetters, &QSCtrlAltLetters, &Ch_Dir, &Ch_Pan, &Ch_Cmd})
        w->OnClick = [this] { QSClick(); };
    for (ui::TComboBox *c : std::initializer_list<ui::TComboBox *>{&FontColorCombo, &BackColorCombo, &FontCombo})
        c->OnChange = [this] { QSClick(); };
    btn_Ok.OnClick = [this] { btn_OkClick(); };
    btn_Cancel.OnClick = [this] { btn_CancelClick(); };
    btn_Apply.OnClick = [this] { btn_ApplyClick(); };
    OnShow = [this] { FormShow(); };
    SetDefaultId(0);
    OnCancelKey = [] {};
}

void TOptionForm::SetQSItemIndex(int index) {
    QSAltLetters.SetChecked(index == 0);
    QSCtrlAltLetters.SetChecked(index != 0);
}

// Loading the controls before the showing counts as a change; the dialog always opens with Apply off.
void TOptionForm::FormShow() {
    SetApplyEnabled(false);
}

void TOptionForm::QSClick() {
    SetApplyEnabled(true);
}

void TOptionForm::btn_ApplyClick() {
    if (OnApplySettings)
        OnApplySettings(false);
    SetApplyEnabled(false);
}

void TOptionForm::btn_OkClick() {
    if (ApplyEnabled() && OnApplySettings)
        OnApplySettings(true);
    SetApplyEnabled(false);
    SetModalResult(ui::mrOk);
}

void TOptionForm::btn_CancelClick() {
    SetModalResult(ui::mrCancel);
}

} // namespace config

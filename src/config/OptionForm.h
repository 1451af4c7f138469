#pragma once
#include <functional>

#include "config/OptionControls.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace config {

// The Configuration dialog: quick-search keys, the save-on-exit choices, the panels' colours and font.
// Created once and shown modally again and again; the caller loads the controls before each showing
// (OptionLoadReg) and supplies what applying means (OnApplySettings).
class TOptionForm : public ui::TForm {
public:
    void Create();

    ui::TGroupBox QS;
    TRadioButton QSAltLetters;
    TRadioButton QSCtrlAltLetters;
    ui::TGroupBox SOE;
    ui::TCheckBox Ch_Dir;
    ui::TCheckBox Ch_Pan;
    ui::TCheckBox Ch_Cmd;
    ui::TGroupBox GroupColor;
    ui::TLabel FontColorLabel;
    ui::TLabel BackColorLabel;
    TColorComboBox FontColorCombo;
    TColorComboBox BackColorCombo;
    ui::TLabel FontLabel;
    TFontComboBox FontCombo;
    ui::TButton btn_Ok;
    ui::TButton btn_Cancel;
    ui::TButton btn_Apply;

    // The quick-search group's choice: 0 for " ALT + Letters ", 1 for " CTRL + ALT + Letters".
    int QSItemIndex() const { return QSCtrlAltLetters.Checked() ? 1 : 0; }
    void SetQSItemIndex(int index);
    bool ApplyEnabled() const { return IsWindowEnabled(btn_Apply.Handle()) != FALSE; }

    // Applies and saves the dialog's settings; fromOk asks for the history file to be written even when
    // the history is empty. An error leaves the dialog open with Apply enabled.
    std::function<void(bool fromOk)> OnApplySettings;

    void FormShow();
    void QSClick();
    void btn_ApplyClick();
    void btn_OkClick();
    void btn_CancelClick();

private:
    void SetApplyEnabled(bool enabled) { EnableWindow(btn_Apply.Handle(), enabled); }
};

} // namespace config
